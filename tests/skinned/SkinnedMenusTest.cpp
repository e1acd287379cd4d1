// Skinned popup menus with the internal skin: item measures, the faded disabled item, check
// glyphs, separators, the background kept per menu, and a real menu on screen (its frame, and
// the drop-down button that opened it dropping its hot face).

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win/Menu.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "skin/InternalSkin.h"
#include "skin/acFast24.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sSkinManager.h"
#include "skinned/TacMnuWnd.h"
#include "skinned/TsSpeedButton.h"
#include "skinned/sSkinMenus.h"
#include "tests/toolkit/StandardControlsSupport.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TImageList.h"
#include "toolkit/TTimer.h"

namespace {

using namespace toolkit;
using platform::Color;
using platform::Point;
using platform::Rect;
using skinned::TsSkinableMenus;

Color At(TBitmap& bitmap, int x, int y) {
    return skin::TacRows24(bitmap).PixelAt(x, y);
}

bool SamePixels(TBitmap& a, TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (At(a, x, y) != At(b, x, y))
                return false;
    return true;
}

class SkinnedMenus : public toolkit::testing::StandardControlsTest {
protected:
    void SetUp() override {
        StandardControlsTest::SetUp();
        // The manager makes its own painter.
        skinned::UseSkinnedMenus();
        manager = std::make_unique<skin::TsSkinManager>();
        skin::AddInternalSkin(manager->InternalSkins());
        manager->SetSkinName(skin::kInternalSkinName);
        painter = dynamic_cast<TsSkinableMenus*>(manager->SkinnedMenus());
        ASSERT_NE(painter, nullptr);
        images = new TImageList(form);
        images->SetSize(16, 16);
        menu = new TPopupMenu(form);
        menu->SetImages(images);
    }
    void TearDown() override {
        manager.reset();
        skin::SetSkinnedMenusMaker({});
        StandardControlsTest::TearDown();
    }
    TMenuItem* Item(const std::string& caption, TPopupMenu* in = nullptr) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        (in ? in : menu)->Items()->Add(item);
        return item;
    }
    int Height(TMenuItem& item) {
        TCanvas canvas;
        int w = 0, h = 0;
        item.MeasureItem(canvas, w, h);
        return h;
    }
    // The item as the painter draws it without a menu window: the client bitmap of a window
    // laid out by MenuWindowSize, cut to the item's rectangle.
    std::unique_ptr<TBitmap> Draw(TMenuItem& item, TOwnerDrawState state = 0) {
        const platform::Size window = painter->MenuWindowSize(*item.Parent());
        const int border = painter->BorderWidth;
        auto client = skin::NewBitmap24(window.cx - 2 * border, window.cy - 2 * border);
        int top = 0;
        for (int k = 0; k < item.MenuIndex(); ++k)
            top += Height(*item.Parent()->Items(k));
        const Rect rect{0, top, client->Width(), top + Height(item)};
        item.AdvancedDrawItem(client->Canvas(), rect, state);
        auto cut = skin::NewBitmap24(rect.Width(), rect.Height());
        skin::CopyBlock24(skin::TacRows24(*cut), 0, 0, skin::TacRows24(*client), rect);
        return cut;
    }
    std::unique_ptr<skin::TsSkinManager> manager;
    TsSkinableMenus* painter = nullptr;
    TImageList* images = nullptr;
    TPopupMenu* menu = nullptr;
};

TEST_F(SkinnedMenus, ItemsMeasureFromTheMenuFontAndTheImageList) {
    TMenuItem* plain = Item("Равномерно");
    TMenuItem* line = Item("-");
    TMenuItem* title = Item("-Generators-");
    painter->InitMenuItems(true, *menu);
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_EQ(Height(*plain), 22);
    EXPECT_EQ(Height(*line), skinned::kSeparatorHeight);
    // An item added later (a menu rebuilt as it opens) is measured by the painter too, unless
    // it brings a handler of its own.
    TMenuItem* later = Item("-");
    TMenuItem* own = Item("-");
    own->OnMeasureItem = [](TObject*, TCanvas&, int&, int& h) { h = 5; };
    EXPECT_EQ(Height(*plain), 22);
    EXPECT_EQ(Height(*later), skinned::kSeparatorHeight);
    EXPECT_EQ(Height(*own), 5);
    TComponent::Free(later);
    TComponent::Free(own);
    EXPECT_EQ(Height(*title), 22);
    EXPECT_EQ(painter->IconColumnWidth(*plain), 25);
    images->SetSize(24, 24);
    EXPECT_EQ(Height(*plain), 30) << "a taller image makes the item taller";
    EXPECT_EQ(painter->IconColumnWidth(*plain), 33);
    // An item in a column after a break leaves room for the strip between the columns.
    TMenuItem* next = Item("Равномерно");
    TCanvas measure;
    int firstWidth = 0, nextWidth = 0, h = 0;
    plain->MeasureItem(measure, firstWidth, h);
    next->SetBreak(mbBreak);
    painter->InitMenuItems(true, *menu);
    next->MeasureItem(measure, nextWidth, h);
    EXPECT_EQ(nextWidth, firstWidth + skinned::kBreakStrip);
    // The extra line widens the first column only, unless the application switches it off.
    manager->MenuSupport().UseExtraLine = true;
    int lined = 0;
    plain->MeasureItem(measure, lined, h);
    EXPECT_EQ(lined, firstWidth + manager->MenuSupport().ExtraLineWidth);
    next->MeasureItem(measure, lined, h);
    EXPECT_EQ(lined, nextWidth);
    manager->OnGetMenuExtraLineData = [&](TMenuItem& first, std::string&, std::string&, TBitmap&,
                                          bool& visible) { visible = &first != plain; };
    plain->MeasureItem(measure, lined, h);
    EXPECT_EQ(lined, firstWidth);
    manager->MenuSupport().UseExtraLine = false;

    // Without a skin, and once given back, the toolkit measures again.
    TCanvas canvas;
    int w = 0, plainHeight = 0;
    plain->MeasureDefault(canvas, w, plainHeight);
    manager->SetActive(false);
    EXPECT_EQ(Height(*plain), plainHeight);
    manager->SetActive(true);
    painter->InitMenuItems(false, *menu);
    EXPECT_FALSE(menu->OwnerDraw()) << "the menu's own setting comes back";
    EXPECT_EQ(Height(*plain), plainHeight);
}

// Columns of ink: where the item's pixels differ from the menu background under them.
std::vector<int> InkColumns(TBitmap& item, TsSkinableMenus& painter, int top) {
    TBitmap& background = *const_cast<TBitmap*>(painter.Background());
    std::vector<int> columns;
    for (int x = 0; x < item.Width(); ++x)
        for (int y = 0; y < item.Height(); ++y)
            if (At(item, x, y) !=
                At(background, x + painter.BorderWidth, y + top + painter.BorderWidth)) {
                columns.push_back(x);
                break;
            }
    return columns;
}

int WidestGap(const std::vector<int>& columns) {
    int gap = 0;
    for (std::size_t k = 1; k < columns.size(); ++k)
        gap = std::max(gap, columns[k] - columns[k - 1] - 1);
    return gap;
}

TEST_F(SkinnedMenus, AShortcutIsMeasuredAfterATabAndDrawnRightAligned) {
    TMenuItem* close = Item("Close\tAlt+F4");
    painter->InitMenuItems(true, *menu);
    const auto drawn = Draw(*close);
    const std::vector<int> ink = InkColumns(*drawn, *painter, 0);
    ASSERT_FALSE(ink.empty());
    EXPECT_EQ(ink.back(), drawn->Width() - 8 - 1) << "8 pixels from the right edge";
    // The tab's room and the menu's own extra width stand between caption and shortcut.
    EXPECT_GT(WidestGap(ink), 20);
}

TEST_F(SkinnedMenus, AnItemsOwnBitmapIsItsGlyphBeforeTheImageList) {
    std::vector<std::uint8_t> blue;
    for (int i = 0; i < 16 * 16; ++i)
        blue.insert(blue.end(), {200, 0, 0});
    images->AddPixels(16, 16, blue);
    TMenuItem* item = Item("Равномерно");
    item->SetImageIndex(0);
    painter->InitMenuItems(true, *menu);
    const auto fromList = Draw(*item);
    EXPECT_EQ(At(*fromList, 3 + 8, 3 + 8), platform::RGB(0, 0, 200));

    // 24 × 24, red, with a green bottom-left pixel: green is the see-through colour.
    TBitmap& own = item->Bitmap();
    own.SetSize(24, 24);
    own.Canvas().Brush().SetColor(static_cast<TColor>(platform::RGB(255, 0, 0)));
    own.Canvas().FillRect({0, 0, 24, 24});
    own.Canvas().Brush().SetColor(static_cast<TColor>(platform::RGB(0, 255, 0)));
    own.Canvas().FillRect({0, 12, 12, 24});
    EXPECT_EQ(Height(*item), 24 + 2 * painter->Margin) << "the bitmap's size is the glyph's";
    EXPECT_EQ(painter->IconColumnWidth(*item), painter->Margin + 24 + painter->Spacing);
    const auto fromBitmap = Draw(*item);
    EXPECT_EQ(At(*fromBitmap, 3 + 18, 3 + 6), platform::RGB(255, 0, 0));
    const auto* background = painter->Background();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(At(*fromBitmap, 3 + 6, 3 + 18),
              At(*const_cast<TBitmap*>(background), 3 + 6 + painter->BorderWidth,
                 3 + 18 + painter->BorderWidth))
        << "the key colour shows the menu behind";
}

TEST_F(SkinnedMenus, ItemsOutliveThePainterInThePlainLook) {
    TMenuItem* plain = Item("Равномерно");
    painter->InitMenuItems(true, *menu);
    delete painter;
    EXPECT_EQ(manager->SkinnedMenus(), nullptr);
    EXPECT_FALSE(menu->OwnerDraw());
    TCanvas canvas;
    int w = 0, plainHeight = 0;
    plain->MeasureDefault(canvas, w, plainHeight);
    EXPECT_EQ(Height(*plain), plainHeight);
}

TEST_F(SkinnedMenus, DisabledItemIsFadedIntoTheBackgroundAndNeverHot) {
    TMenuItem* item = Item("Экспоненциально");
    painter->InitMenuItems(true, *menu);
    // A block of pure red over the item, so the fade is seen on a known colour.
    painter->OnDrawItem = [](TMenuItem&, TCanvas& canvas, skinned::TacMenuItemKind,
                             TOwnerDrawState) {
        canvas.Brush().SetColor(static_cast<TColor>(0x0000FF));
        canvas.FillRect({60, 2, 70, 10});
    };
    const auto enabled = Draw(*item);
    ASSERT_EQ(At(*enabled, 65, 5), 0x0000FFu);
    item->SetEnabled(false);
    const auto disabled = Draw(*item);
    const auto selected = Draw(*item, OwnerDrawBit(odSelected));
    EXPECT_TRUE(SamePixels(*disabled, *selected)) << "a disabled item takes no hot face";
    // Where the red block lies: 0.6 × background + 0.4 × red, per channel.
    const auto* background = painter->Background();
    ASSERT_NE(background, nullptr);
    const Color under =
        At(*const_cast<TBitmap*>(background), 65 + painter->BorderWidth, 5 + painter->BorderWidth);
    const Color faded = At(*disabled, 65, 5);
    EXPECT_NEAR(platform::GetRValue(faded), 0.6 * platform::GetRValue(under) + 0.4 * 255, 1.0);
    EXPECT_NEAR(platform::GetGValue(faded), 0.6 * platform::GetGValue(under), 1.0);
    EXPECT_NEAR(platform::GetBValue(faded), 0.6 * platform::GetBValue(under), 1.0);
}

TEST_F(SkinnedMenus, CheckedItemsShowTheSkinsCheckGlyph) {
    TMenuItem* radio = Item("По фибаначи");
    radio->SetRadioItem(true);
    painter->InitMenuItems(true, *menu);
    const auto unchecked = Draw(*radio);
    auto expect = [&](const char* glyphName) {
        const std::int32_t piece =
            manager->FindPieceIndex(manager->CachedIndexes().GlobalInfo, "GLOBALINFO", glyphName);
        EXPECT_GE(piece, 0) << glyphName;
        auto picture = skin::NewBitmap24(unchecked->Width(), unchecked->Height());
        skin::CopyBlock24(skin::TacRows24(*picture), 0, 0, skin::TacRows24(*unchecked),
                          {0, 0, picture->Width(), picture->Height()});
        const platform::Size size = manager->GetStateImageSize(piece);
        skin::DrawGlyphPiece(skin::TacRows24(*picture),
                             {painter->Margin, (picture->Height() - size.cy) / 2}, 0,
                             manager->ma()[piece], 1);
        return picture;
    };
    radio->SetChecked(true);
    EXPECT_TRUE(SamePixels(*Draw(*radio), *expect("RADIOCHECKED")));
    // The skin has no CHECK glyph: a plain item falls back to the checked box.
    radio->SetRadioItem(false);
    EXPECT_TRUE(SamePixels(*Draw(*radio), *expect("BOXCHECKED")));
}

TEST_F(SkinnedMenus, SeparatorIsTheDividerOrElseTheTrackBarChannel) {
    Item("В ручную");
    TMenuItem* line = Item("-");
    painter->InitMenuItems(true, *menu);
    const int left = painter->IconColumnWidth(*line) + painter->Margin + painter->Spacing;
    // The internal skin has no divider: the track bar's channel, a groove, draws the line.
    ASSERT_GE(manager->FindOwnPieceIndex("TRACKBAR", "SLIDERCHANNEL"), 0);
    const auto channel = Draw(*line);
    ASSERT_EQ(channel->Height(), skinned::kSeparatorHeight);
    EXPECT_NE(At(*channel, left + 20, 0), skinned::kEtchDark);
    EXPECT_NE(At(*channel, left + 20, 0), At(*channel, left + 20, 1));
    EXPECT_EQ(At(*channel, 10, 0), At(*channel, 10, 1)) << "the icon column is left alone";
    // A skin with a divider draws the line with the divider's frame instead.
    TStringList lines;
    lines.Add("[DIVIDERV]");
    lines.Add("BORDERSMASK=^0135^0060^0147^0072^0000^0000^0000^0000^1^0^1^0");
    manager->SetCommonSections(lines);
    ASSERT_GE(manager->FindOwnPieceIndex("DIVIDERV", "BORDERSMASK"), 0);
    const auto divider = Draw(*line);
    EXPECT_NE(At(*divider, left + 20, 0), At(*channel, left + 20, 0));
}

TEST_F(SkinnedMenus, BackgroundIsKeptForOneMenuAndBuiltAgainForAnother) {
    TMenuItem* first = Item("В ручную");
    TMenuItem* second = Item("Равномерно");
    TPopupMenu* other = new TPopupMenu(form);
    TMenuItem* elsewhere = Item("Экспоненциально", other);
    painter->InitMenuItems(true, *menu);
    painter->InitMenuItems(true, *other);

    Draw(*first);
    const TBitmap* built = painter->Background();
    EXPECT_EQ(painter->BackgroundItem(), first);
    Draw(*second);
    EXPECT_EQ(painter->Background(), built) << "the same menu reuses its background";

    Draw(*elsewhere);
    EXPECT_EQ(painter->BackgroundItem(), elsewhere);
    // The first item of the first menu changes: its next drawing builds a new background.
    Draw(*second);
    EXPECT_EQ(painter->BackgroundItem(), first);
    TMenuItem* newFirst = new TMenuItem(form);
    newFirst->SetCaption("По фибаначи");
    menu->Items()->Insert(0, newFirst);
    painter->InitMenuItems(true, *menu);
    Draw(*second);
    EXPECT_EQ(painter->BackgroundItem(), newFirst);
    // A freed first item is forgotten with its background, and a new skin drops it too.
    delete newFirst;
    EXPECT_EQ(painter->Background(), nullptr);
    Draw(*second);
    manager->SetSkinName(skin::kInternalSkinName);
    EXPECT_EQ(painter->Background(), nullptr);
}

// A real menu opened by a skinned drop-down button: while it is open the button is no longer
// hot, hints are back, and the adapted menu window shows the menu background in its frame.
TEST_F(SkinnedMenus, OpenMenuTakesOverFromItsButtonAndGetsASkinnedFrame) {
    Item("В ручную");
    Item("Равномерно");
    painter->InitMenuItems(true, *menu);
    auto* button = Add<skinned::TsSpeedButton>(form, "Generator", {10, 50, 33, 72});
    button->SetButtonStyle(tbsDropDown); // 16 pixels wider: the arrow's zone
    button->OnClick = [](TObject*) {};
    button->SetDropdownMenu(menu);
    app->SetShowHint(true);
    ShowForm();
    Pump();

    bool probed = false, hotWhileOpen = true, hintsWhileOpen = false;
    Color frame = 0, expected = 1;
    platform::HWND window;
    TTimer timer(form);
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        for (platform::HWND h : platform::GetTopLevelWindows())
            if (platform::GetClassName(h) == platform::kMenuClassName)
                window = h;
        probed = static_cast<bool>(window);
        hotWhileOpen = button->MouseInControl() || button->SkinData().MouseOver();
        hintsWhileOpen = app->ShowHint();
        skinned::AttachMenuWindowAdapter(window, *manager);
        skinned::AttachMenuWindowAdapter(window, *manager); // a second call changes nothing
        // The frame alone is painted again: what shows there is the adapter's work.
        platform::SendMessage(window, platform::WM_NCPAINT, 1, 0);
        if (const platform::DibSection* s = platform::GetWindowSurface(window)) {
            const std::uint8_t* px = const_cast<platform::DibSection*>(s)->Row(20) + 1 * 4;
            frame = platform::RGB(px[2], px[1], px[0]);
        }
        if (const TBitmap* bg = painter->Background())
            expected = At(*const_cast<TBitmap*>(bg), 1, 20);
        platform::EndMenu();
    });
    host->MouseMove(Screen(*button, {30, 10}));
    Pump();
    ASSERT_TRUE(button->MouseInControl());
    // Only the press: its release would land outside the menu and close it at once.
    host->MouseDown(Screen(*button, {30, 10}));
    Pump();
    host->MouseUp(Screen(*button, {30, 10}));
    Pump();
    ASSERT_TRUE(probed);
    EXPECT_FALSE(hotWhileOpen);
    EXPECT_TRUE(hintsWhileOpen);
    EXPECT_EQ(frame, expected);
    EXPECT_EQ(skinned::TacMnuWnd::Of(window), nullptr) << "the adapter goes with its window";
}

} // namespace
