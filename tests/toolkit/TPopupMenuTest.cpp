// Popup menus: choosing with the mouse and the keyboard, what cannot be chosen, radio groups and
// auto-check, the images and the owner-draw handlers, placement, and the drop-down speed button.

#include "toolkit/TMenu.h"

#include "StandardControlsSupport.h"
#include "platform/win/Menu.h"
#include "toolkit/TImageList.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TTimer.h"

namespace toolkit::testing {
namespace {

using platform::HWND;
using platform::Point;
using platform::Rect;
using platform::RGB;

HWND OpenMenuWindow() {
    for (HWND h : platform::GetTopLevelWindows())
        if (platform::GetClassName(h) == platform::kMenuClassName && platform::IsWindowVisible(h))
            return h;
    return {};
}

platform::Color SurfacePixel(HWND window, int x, int y) {
    const platform::DibSection* s = platform::GetWindowSurface(window);
    if (!s || x < 0 || y < 0 || x >= s->Width() || y >= s->Height())
        return 0xFFFFFFFF;
    const std::uint8_t* px = const_cast<platform::DibSection*>(s)->Row(y) + x * 4;
    return RGB(px[2], px[1], px[0]);
}

class PopupMenus : public StandardControlsTest {
protected:
    void SetUp() override {
        StandardControlsTest::SetUp();
        ShowForm();
        menu = new TPopupMenu(form);
        menu->OnPopup = [this](TObject*) { events.push_back("popup"); };
    }
    TMenuItem* Item(const std::string& caption, TMenuItem* parent = nullptr) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        (parent ? parent : menu->Items())->Add(item);
        item->OnClick = [this, item](TObject*) {
            events.push_back(item->Caption());
            menuOpenAtClick = static_cast<bool>(OpenMenuWindow());
        };
        return item;
    }
    // Runs probe on the open menu's window (from a timer inside the menu's loop), then closes
    // the menu without a choice.
    void PopupAndProbe(Point at, const std::function<void(HWND)>& probe) {
        TTimer timer(form);
        timer.SetInterval(10);
        timer.SetOnTimer([&](TObject*) {
            timer.SetEnabled(false);
            probe(OpenMenuWindow());
            platform::EndMenu();
        });
        menu->Popup(at.x, at.y);
    }
    // Centre of item k of a plain menu at (100, 100) whose items have these heights.
    static Point ItemCentre(std::vector<int> heights, int k) {
        int y = 103;
        for (int i = 0; i < k; ++i)
            y += heights[static_cast<std::size_t>(i)];
        return {130, y + heights[static_cast<std::size_t>(k)] / 2};
    }

    TPopupMenu* menu = nullptr;
    std::vector<std::string> events;
    bool menuOpenAtClick = true;
};

// Open, (hidden), separator, Disabled, Save: the hidden item takes no room.
class FileMenu : public PopupMenus {
protected:
    void SetUp() override {
        PopupMenus::SetUp();
        open = Item("&Open");
        Item("Hidden")->SetVisible(false);
        Item("-");
        disabled = Item("&Disabled");
        disabled->SetEnabled(false);
        save = Item("&Save");
    }
    Point At(int k) { return ItemCentre({18, 9, 18, 18}, k); }
    TMenuItem* open = nullptr;
    TMenuItem* disabled = nullptr;
    TMenuItem* save = nullptr;
};

TEST_F(FileMenu, AClickRunsTheItemOnceAfterTheMenuHasClosed) {
    host->MouseMove(At(3));
    host->Click(At(3), platform::MouseButton::Left, 10);
    menu->Popup(100, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "&Save"}));
    EXPECT_FALSE(menuOpenAtClick);
    EXPECT_EQ(menu->PopupPoint(), (Point{100, 100}));
    EXPECT_FALSE(OpenMenuWindow());
    Pump();
    EXPECT_EQ(events.size(), 2u) << "nothing is posted to run the item a second time";
}

TEST_F(FileMenu, KeysMoveChooseAndEscape) {
    // Down, Down: Open, then the disabled item (the separator is skipped); Return there does
    // nothing; Down, Return chooses Save.
    for (int vk : {platform::VK_DOWN, platform::VK_DOWN, platform::VK_RETURN, platform::VK_DOWN,
                   platform::VK_RETURN})
        host->Key(vk);
    menu->Popup(100, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "&Save"}));
    events.clear();

    host->Text("o"); // the accelerator letter
    menu->Popup(100, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "&Open"}));
    events.clear();

    host->Key(platform::VK_DOWN);
    host->Key(platform::VK_ESCAPE);
    menu->Popup(100, 100);
    host->Click({550, 420}); // outside: dismisses and is used up
    menu->Popup(100, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "popup"}));
    EXPECT_FALSE(OpenMenuWindow());
}

TEST_F(FileMenu, DisabledItemsAndLinesAreNotChosen) {
    host->Click(At(2));
    host->Click(At(1), platform::MouseButton::Left, 10);
    host->Text("d", 20);
    host->Key(platform::VK_ESCAPE, 30);
    menu->Popup(100, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"popup"}));
    // Click() itself refuses a disabled item too.
    disabled->Click();
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(FileMenu, SubMenusOpenAndTheirItemsRun) {
    TMenuItem* more = Item("&More");
    Item("&Inner", more);
    Item("Gone", more)->SetVisible(false);
    host->Text("m");
    host->Key(platform::VK_RETURN); // Inner, selected when the sub-menu opened from the keyboard
    menu->Popup(100, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "&Inner"}));
}

TEST_F(FileMenu, AlignmentPlacesTheMenuRelativeToX) {
    Rect left, right, centre;
    PopupAndProbe({300, 200}, [&](HWND h) { platform::GetWindowRect(h, left); });
    menu->SetAlignment(paRight);
    PopupAndProbe({300, 200}, [&](HWND h) { platform::GetWindowRect(h, right); });
    menu->SetAlignment(paCenter);
    PopupAndProbe({300, 200}, [&](HWND h) { platform::GetWindowRect(h, centre); });
    EXPECT_EQ(left.left, 300);
    EXPECT_EQ(left.top, 200);
    EXPECT_EQ(right.right, 300);
    EXPECT_EQ(centre.left, 300 - centre.Width() / 2);
    EXPECT_EQ(events.size(), 3u) << "closed without a choice";
}

TEST_F(PopupMenus, RadioGroupsAndAutoCheck) {
    TMenuItem* a = Item("A");
    TMenuItem* b = Item("B");
    TMenuItem* other = Item("Other group");
    TMenuItem* toggle = Item("Toggle");
    for (TMenuItem* r : {a, b, other}) {
        r->SetRadioItem(true);
        r->SetAutoCheck(true);
        r->SetGroupIndex(2);
    }
    other->SetGroupIndex(3);
    toggle->SetAutoCheck(true);
    a->SetChecked(true);
    other->SetChecked(true);
    auto choose = [&](int k) {
        const Point p = ItemCentre({18, 18, 18, 18}, k);
        host->MouseMove(p);
        host->Click(p, platform::MouseButton::Left, 10);
        menu->Popup(100, 100);
    };
    choose(1);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked()) << "another group is left alone";
    choose(1);
    EXPECT_TRUE(b->Checked()) << "choosing a checked radio item keeps it checked";
    choose(3);
    EXPECT_TRUE(toggle->Checked());
    choose(3);
    EXPECT_FALSE(toggle->Checked());
    EXPECT_TRUE(b->Checked()) << "a plain item is in no radio group";
}

// The generator menu's shape: images, a line, an auto-checking item, owner-drawn by the toolkit.
class ImageMenu : public PopupMenus {
protected:
    void SetUp() override {
        PopupMenus::SetUp();
        images = new TImageList(form);
        for (platform::Color c : {RGB(0, 160, 0), RGB(0, 0, 200)}) {
            std::vector<std::uint8_t> px;
            for (int i = 0; i < 16 * 16; ++i)
                px.insert(px.end(),
                          {platform::GetBValue(c), platform::GetGValue(c), platform::GetRValue(c)});
            images->AddPixels(16, 16, px);
        }
        menu->SetImages(images);
        green = Item("&Green");
        green->SetImageIndex(0);
        Item("-");
        blue = Item("&Blue");
        blue->SetImageIndex(1);
        blue->SetEnabled(false);
        plain = Item("&Plain");
    }
    TImageList* images = nullptr;
    TMenuItem* green = nullptr;
    TMenuItem* blue = nullptr;
    TMenuItem* plain = nullptr;
};

TEST_F(ImageMenu, ImagesSitLeftOfTheCaptionAndDisabledOnesAreGreyed) {
    plain->SetChecked(true);
    plain->SetRadioItem(true);
    platform::Color greenPixel = 0, bluePixel = 0, gutterOfPlain = 0, bulletOfPlain = 0;
    int itemHeight = 0;
    menu->Items()->Items(0)->OnMeasureItem = [&](TObject*, TCanvas&, int&, int& h) {
        itemHeight = h;
    };
    PopupAndProbe({100, 100}, [&](HWND h) {
        // Items are 20 high (16 + 4) below a 3-pixel frame; the separator 9.
        greenPixel = SurfacePixel(h, 3 + 11, 3 + 10);
        bluePixel = SurfacePixel(h, 3 + 11, 3 + 20 + 9 + 10);
        gutterOfPlain = SurfacePixel(h, 3 + 2, 3 + 20 + 9 + 20 + 10);
        bulletOfPlain = SurfacePixel(h, 3 + 8, 3 + 20 + 9 + 20 + 10);
    });
    EXPECT_EQ(itemHeight, 20);
    EXPECT_EQ(greenPixel, RGB(0, 160, 0));
    EXPECT_NE(bluePixel, RGB(0, 0, 200)) << "a disabled item shows its image greyed";
    EXPECT_EQ(bluePixel, ColorToRGB(clBtnShadow));
    EXPECT_EQ(gutterOfPlain, ColorToRGB(clMenu));
    EXPECT_EQ(bulletOfPlain, ColorToRGB(clMenuText)) << "the radio bullet of a checked item";
    EXPECT_EQ(events, (std::vector<std::string>{"popup"}));

    // Owner-drawn items keep their accelerator letters.
    host->Text("p");
    menu->Popup(100, 100);
    EXPECT_EQ(events.back(), "&Plain");
}

TEST_F(ImageMenu, AShortcutStandsApartAtTheRightAndLinesAreNineHigh) {
    TCanvas canvas;
    int w = 0, lineHeight = 0;
    menu->Items()->Items(1)->MeasureItem(canvas, w, lineHeight);
    EXPECT_EQ(lineHeight, 9);
    Item("&Close\tAlt+F4");
    std::vector<int> ink;
    int width = 0;
    PopupAndProbe({100, 100}, [&](HWND h) {
        Rect r;
        platform::GetWindowRect(h, r);
        width = r.Width();
        // The row through the text of the last item (below 20 + 9 + 20 + 20 and the frame).
        for (int x = 3 + 20; x < width - 3; ++x)
            for (int y = 3 + 69 + 6; y < 3 + 69 + 14; ++y)
                if (SurfacePixel(h, x, y) != ColorToRGB(clMenu)) {
                    ink.push_back(x);
                    break;
                }
    });
    ASSERT_FALSE(ink.empty());
    int gap = 0;
    for (std::size_t k = 1; k < ink.size(); ++k)
        gap = std::max(gap, ink[k] - ink[k - 1] - 1);
    EXPECT_GE(gap, 12) << "\"Close\" and \"Alt+F4\" apart";
    // Right-aligned before the sub-menu arrow's column and the frame.
    EXPECT_GE(ink.back(), width - 3 - 17 - 3);
    EXPECT_LT(ink.back(), width - 3 - 17);
}

TEST_F(ImageMenu, OwnerDrawHandlersMeasureAndPaintTheirItems) {
    menu->SetImages(nullptr);
    menu->SetOwnerDraw(true);
    std::vector<Rect> rects;
    std::vector<TOwnerDrawState> states;
    green->OnMeasureItem = [](TObject*, TCanvas& canvas, int& w, int& h) {
        EXPECT_GT(w, canvas.TextWidth("Green")) << "the toolkit's size comes in";
        EXPECT_GE(h, 17);
        w = 150;
        h = 30;
    };
    green->OnAdvancedDrawItem = [&](TObject* sender, TCanvas& canvas, Rect r, TOwnerDrawState s) {
        EXPECT_EQ(sender, green);
        rects.push_back(r);
        states.push_back(s);
        canvas.Brush().SetColor(RGB(10, 20, 30));
        canvas.FillRect(r);
    };
    int plainDraws = 0;
    plain->OnDrawItem = [&](TObject*, TCanvas&, Rect r, bool) {
        ++plainDraws;
        EXPECT_EQ(r.Width(), 150) << "items share the column's width";
    };
    platform::Color painted = 0;
    PopupAndProbe({100, 100}, [&](HWND h) { painted = SurfacePixel(h, 3 + 140, 3 + 25); });
    EXPECT_EQ(painted, RGB(10, 20, 30));
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects.front(), (Rect{0, 0, 150, 30}));
    EXPECT_FALSE(HasState(states.front(), odSelected));
    EXPECT_GE(plainDraws, 1);

    // Hovering draws the item selected; clicking it runs it.
    states.clear();
    host->MouseMove({110, 110});
    host->Click({110, 110}, platform::MouseButton::Left, 10);
    menu->Popup(100, 100);
    ASSERT_FALSE(states.empty());
    EXPECT_TRUE(HasState(states.back(), odSelected));
    EXPECT_EQ(events.back(), "&Green");
}

TEST_F(ImageMenu, ThePlatformItemLeadsBackToTheMenuItem) {
    TMenuItem* seen = nullptr;
    HWND paintedIn, menuWindow;
    green->OnAdvancedDrawItem = [&](TObject*, TCanvas&, Rect, TOwnerDrawState) {
        seen = TMenuItem::FromCommand(green->Command());
        paintedIn = TMenuItem::PaintingWindow();
    };
    PopupAndProbe({100, 100}, [&](HWND h) { menuWindow = h; });
    EXPECT_EQ(seen, green);
    EXPECT_EQ(paintedIn, menuWindow);
    EXPECT_EQ(TMenuItem::PaintingWindow(), HWND{});
    const platform::UINT command = green->Command();
    EXPECT_NE(command, 0u);
    EXPECT_NE(command, blue->Command());
    TComponent::Free(green);
    EXPECT_EQ(TMenuItem::FromCommand(command), nullptr);
    EXPECT_EQ(menu->Items()->Count(), 3);
}

TEST_F(ImageMenu, AnItemFreedWhileTheMenuIsOpenIsNeitherDrawnNorRun) {
    TTimer timer(form);
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        TComponent::Free(green);
        platform::InvalidateRect(OpenMenuWindow(), nullptr, true);
    });
    host->MouseMove({110, 110}, 20);
    host->Click({110, 110}, platform::MouseButton::Left, 30);
    menu->Popup(100, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"popup"}));
    EXPECT_FALSE(OpenMenuWindow());
}

TEST_F(PopupMenus, TheDropDownButtonPopsItsMenuBelowItself) {
    Item("&One");
    auto* button = Add<TSpeedButton>(form, "Generator", {20, 30, 43, 52});
    button->SetButtonStyle(tbsDropDown);
    button->SetDropdownMenu(menu);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    bool openDuringPopup = false;
    menu->OnPopup = [&](TObject*) { openDuringPopup = button->MenuOpen(); };
    const Point zone = button->ClientToScreen({30, 10});
    host->MouseMove(zone);
    host->Click(zone);
    host->Key(platform::VK_ESCAPE, 10);
    Pump();
    EXPECT_TRUE(openDuringPopup);
    EXPECT_EQ(menu->PopupPoint(), button->ClientToScreen({0, 22}));
    EXPECT_EQ(menu->PopupComponent(), button);
    EXPECT_FALSE(button->MenuOpen());
    EXPECT_EQ(clicks, 0);

    // Outside the zone the button clicks; a freed menu is forgotten and the zone clicks too.
    const Point face = button->ClientToScreen({5, 10});
    host->Click(face);
    Pump();
    EXPECT_EQ(clicks, 1);
    TComponent::Free(menu);
    EXPECT_EQ(button->DropdownMenu(), nullptr);
    host->Click(zone);
    Pump();
    EXPECT_EQ(clicks, 2);
}

TEST(PopupMenuWithoutWindows, OnlyRaisesOnPopup) {
    ASSERT_FALSE(platform::WindowSystem::Running());
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(nullptr);
    menu.Items()->Add(item);
    int popups = 0, clicks = 0;
    menu.OnPopup = [&](TObject*) { ++popups; };
    item->OnClick = [&](TObject*) { ++clicks; };
    menu.Popup(10, 20);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(menu.PopupPoint(), (Point{10, 20}));
}

} // namespace
} // namespace toolkit::testing
