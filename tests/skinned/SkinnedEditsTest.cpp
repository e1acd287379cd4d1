// The skinned text-entry controls with the internal skin: the edit's border from its section,
// the combo box's face and button glyph, the spin edit's button pair and its timing, and the
// plain look and colours coming back when the skin is removed.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Message.h"
#include "skin/InternalSkin.h"
#include "skin/SkinModel.h"
#include "skin/acFast24.h"
#include "skin/sSkinManager.h"
#include "skinned/TacScrollWnd.h"
#include "skinned/TsBitBtn.h"
#include "skinned/TsComboBox.h"
#include "skinned/TsEdit.h"
#include "skinned/TsMemo.h"
#include "skinned/TsPanel.h"
#include "skinned/TsSpeedButton.h"
#include "skinned/TsSpinEdit.h"
#include "tests/toolkit/StandardControlsSupport.h"
#include "toolkit/TBitmap.h"

namespace {

using namespace toolkit;
using platform::Color;
using platform::Point;
using platform::Rect;

// The internal skin's edit frame colour (its packed pictures may be off by a step or two).
constexpr Color kFrameSteel = platform::RGB(101, 155, 194);
bool Near(Color a, Color b) {
    const auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    return d(platform::GetRValue(a), platform::GetRValue(b)) < 6 &&
           d(platform::GetGValue(a), platform::GetGValue(b)) < 6 &&
           d(platform::GetBValue(a), platform::GetBValue(b)) < 6;
}

class SkinnedEdits : public toolkit::testing::StandardControlsTest {
protected:
    void SetUp() override {
        StandardControlsTest::SetUp();
        manager = std::make_unique<skin::TsSkinManager>();
        skin::AddInternalSkin(manager->InternalSkins());
        manager->SetSkinName(skin::kInternalSkinName);
        manager->SetActive(true);
        ShowForm();
    }
    void TearDown() override {
        manager.reset();
        StandardControlsTest::TearDown();
    }
    void Wait(int ms) {
        host->Advance(ms);
        Pump();
    }
    void Focus(TWinControl& c) {
        c.SetFocus();
        Pump();
    }
    void Keys(std::initializer_list<int> keys) {
        for (int k : keys)
            host->Key(k);
        Pump();
    }
    // The window's own corner lies outside its client area by the border's width.
    Color BorderPixel(TWinControl& c, int y) { return PixelAt(c, {-2, y}); }
    std::unique_ptr<skin::TsSkinManager> manager;
};

TEST_F(SkinnedEdits, EditAndMemoTakeTheirBorderAndColoursFromTheSectionUntilTheSkinGoes) {
    auto* edit = Add<skinned::TsEdit>(form, "sEdit1", {10, 10, 130, 31});
    auto* memo = Add<skinned::TsMemo>(form, "sMemo1", {10, 50, 200, 150});
    edit->SkinData().SetSkinSection("EDIT");
    edit->SetText("42");
    Pump();
    EXPECT_TRUE(Near(BorderPixel(*edit, 8), kFrameSteel));
    EXPECT_TRUE(Near(BorderPixel(*memo, 40), kFrameSteel));
    EXPECT_EQ(edit->Color(), clWhite);
    EXPECT_TRUE(DarkPixels(*edit, {0, 0, 30, 17}) > 0); // the text still shows

    manager->SetActive(false);
    Pump();
    EXPECT_EQ(edit->Color(), clWindow);
    EXPECT_EQ(memo->Font().Color(), clWindowText);
    EXPECT_FALSE(Near(BorderPixel(*edit, 8), kFrameSteel));
    EXPECT_FALSE(Near(BorderPixel(*memo, 40), kFrameSteel));
}

// A focused or hovered one-line edit takes the section's hot colours; the memo keeps the normal
// ones. Our dark skin keeps both dark, with light text.
TEST_F(SkinnedEdits, OnlyOneLineEditsTakeTheHotColours) {
    manager->SetSkinName("Nightfall");
    ASSERT_EQ(manager->SkinName(), "Nightfall");
    auto* edit = Add<skinned::TsEdit>(form, "sEdit1", {10, 10, 130, 31});
    auto* memo = Add<skinned::TsMemo>(form, "sMemo1", {10, 50, 200, 150});
    edit->SkinData().SetSkinSection("EDIT");
    Pump();
    const skin::TsGeneralData& section =
        manager->gd()[static_cast<std::size_t>(manager->FindSectionIndex("EDIT"))];
    ASSERT_NE(section.HotColor, section.Color);
    EXPECT_LT(platform::GetGValue(static_cast<Color>(section.HotColor)), 80);
    EXPECT_GT(platform::GetGValue(static_cast<Color>(section.HotFontColor[0])), 120);

    Focus(*memo);
    host->MouseMove(Screen(*memo, {20, 20}));
    Pump();
    EXPECT_EQ(memo->Color(), static_cast<TColor>(section.Color));
    EXPECT_EQ(memo->Font().Color(), static_cast<TColor>(section.FontColor[0]));
    Focus(*edit);
    EXPECT_EQ(edit->Color(), static_cast<TColor>(section.HotColor));
    EXPECT_EQ(edit->Font().Color(), static_cast<TColor>(section.HotFontColor[0]));
}

TEST_F(SkinnedEdits, ComboBoxPaintsItsGlyphAndChosenItemAndFallsBackToSystemColours) {
    auto* combo = Add<skinned::TsComboBox>(form, "sComboBox1", {10, 10, 150, 31});
    combo->SetStyle(csDropDownList);
    combo->Items().Add("Uniform");
    combo->SetItemIndex(0);
    Pump();
    const Rect button = combo->SkinButtonRect();
    ASSERT_FALSE(button.IsEmpty());
    EXPECT_GT(DarkPixels(*combo, button), 0); // the glyph's arrow, centred in the button
    int inkLeft = button.right, inkRight = button.left;
    for (int y = button.top; y < button.bottom; ++y)
        for (int x = button.left; x < button.right; ++x)
            if (IsDark(PixelAt(*combo, {x, y}))) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x + 1);
            }
    EXPECT_NEAR(inkLeft - button.left, button.right - inkRight, 1);
    EXPECT_GT(DarkPixels(*combo, {3, 3, button.left, combo->Height() - 3}), 0);
    const Color centre = PixelAt(*combo, {(button.left + button.right) / 2, 4});
    EXPECT_NE(centre, ColorToRGB(clBtnFace)); // the skin's button, not the plain one

    // While its skin state updates, a paint leaves the skinned face as it was.
    combo->SkinData().SetUpdating(true);
    combo->Invalidate();
    Pump();
    EXPECT_EQ(PixelAt(*combo, {(button.left + button.right) / 2, 4}), centre);
    combo->SkinData().SetUpdating(false);

    combo->SetEnabled(false);
    Pump();
    EXPECT_NE(PixelAt(*combo, {(button.left + button.right) / 2, 4}), centre);

    manager->SetActive(false);
    Pump();
    EXPECT_EQ(combo->Color(), clWindow);
    EXPECT_EQ(combo->Font().Color(), clWindowText);
}

TEST_F(SkinnedEdits, ComboBoxSkinsItsListOnlyBeyondDropDownCountAndReadOnlyKeepsItsChoice) {
    auto* few = Add<skinned::TsComboBox>(form, "sComboBox1", {10, 10, 150, 31});
    auto* many = Add<skinned::TsComboBox>(form, "sComboBox2", {10, 50, 150, 71});
    for (auto* combo : {few, many})
        combo->SetStyle(csDropDownList);
    for (int i = 0; i < 4; ++i)
        few->Items().Add("item " + std::to_string(i));
    for (int i = 0; i < 17; ++i)
        many->Items().Add("item " + std::to_string(i));
    EXPECT_EQ(many->DropDownCount(), 16);
    few->SetDroppedDown(true);
    few->SetDroppedDown(false);
    EXPECT_EQ(few->ListAdapter(), nullptr);
    many->SetDroppedDown(true);
    many->SetDroppedDown(false);
    const skinned::TacComboListWnd* adapter = many->ListAdapter();
    ASSERT_NE(adapter, nullptr);
    EXPECT_TRUE(adapter->Attached());
    many->SetDroppedDown(true);
    many->SetDroppedDown(false);
    EXPECT_EQ(many->ListAdapter(), adapter);
    manager->SetActive(false);
    EXPECT_EQ(many->ListAdapter(), nullptr);

    many->SetItemIndex(3);
    many->SetReadOnly(true);
    Focus(*many);
    Keys({platform::VK_DOWN, platform::VK_UP, platform::VK_F4});
    EXPECT_EQ(many->ItemIndex(), 3);
    EXPECT_FALSE(many->DroppedDown());
}

// The memo's own events and letter case: OnVScroll for every vertical scroll, OnScrollCaret
// for a request to bring the caret into view, CharCase on the text and on what is typed.
TEST_F(SkinnedEdits, MemoReportsItsScrollsAndKeepsItsLetterCase) {
    auto* memo = Add<skinned::TsMemo>(form, "sMemo1", {10, 50, 200, 150});
    for (int i = 0; i < 40; ++i)
        memo->Lines().Add("Строка " + std::to_string(i));
    int scrolls = 0, caretScrolls = 0;
    memo->OnVScroll = [&](TObject*) { ++scrolls; };
    memo->OnScrollCaret = [&](TObject*) { ++caretScrolls; };
    memo->Perform(platform::WM_VSCROLL, platform::SB_LINEDOWN, 0);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(memo->TopLine(), 1);
    memo->SetCaretPos({39, 0});
    memo->SetTopLine(0);
    memo->Perform(EM_SCROLLCARET, 0, 0);
    EXPECT_EQ(caretScrolls, 1);
    EXPECT_GT(memo->TopLine(), 0);

    memo->SetText("Ab Жё");
    memo->SetCharCase(skinned::TEditCharCase::ecUpperCase);
    EXPECT_EQ(memo->Text(), "AB ЖЁ");
    Focus(*memo);
    memo->SelectAll();
    host->Text("xя");
    Pump();
    EXPECT_EQ(memo->Text(), "XЯ");
    memo->SetCharCase(skinned::TEditCharCase::ecLowerCase);
    EXPECT_EQ(memo->Text(), "xя");
}

// A print request gives the skinned border and, inside it, the edit's own text.
TEST_F(SkinnedEdits, APrintedEditShowsItsSkinnedBorderAndItsText) {
    auto* edit = Add<skinned::TsEdit>(form, "sEdit1", {10, 10, 130, 31});
    edit->SkinData().SetSkinSection("EDIT");
    edit->SetText("4242");
    Pump();
    TBitmap printed;
    printed.SetPixelFormat(TPixelFormat::pf24bit);
    printed.SetSize(edit->Width(), edit->Height());
    platform::DeviceContext& dc = printed.Canvas().Handle();
    platform::FillRect(dc, {0, 0, edit->Width(), edit->Height()}, platform::RGB(255, 0, 0));
    edit->Perform(platform::WM_PRINT, reinterpret_cast<platform::WPARAM>(&dc), 0);
    EXPECT_TRUE(Near(printed.Canvas().Pixels(0, 8), kFrameSteel));
    int dark = 0, red = 0;
    for (int y = 0; y < edit->Height(); ++y)
        for (int x = 0; x < edit->Width(); ++x) {
            const Color c = printed.Canvas().Pixels(x, y);
            dark += IsDark(c);
            red += c == platform::RGB(255, 0, 0);
        }
    EXPECT_GT(dark, 0);
    EXPECT_EQ(red, 0);
}

// The caption label moves, hides and greys out with its control.
TEST_F(SkinnedEdits, BoundLabelsFollowTheirControls) {
    auto* spin = Add<skinned::TsSpinEdit>(form, "sSpinEdit1", {100, 10, 146, 31});
    auto* combo = Add<skinned::TsComboBox>(form, "sComboBox1", {100, 50, 200, 71});
    for (skinned::TsBoundLabel* bound : {&spin->BoundLabel(), &combo->BoundLabel()}) {
        bound->SetCaption("N");
        bound->SetActive(true);
    }
    for (TWinControl* control : std::initializer_list<TWinControl*>{spin, combo}) {
        TControl* label = control == spin ? static_cast<TControl*>(spin->BoundLabel().Label())
                                          : combo->BoundLabel().Label();
        ASSERT_NE(label, nullptr);
        const int gap = control->Left() - label->Left();
        control->SetBounds(control->Left() + 60, control->Top() + 5, control->Width(),
                           control->Height());
        Pump();
        EXPECT_EQ(control->Left() - label->Left(), gap) << control->Name();
        control->SetEnabled(false);
        EXPECT_FALSE(label->Enabled()) << control->Name();
        control->SetVisible(false);
        EXPECT_FALSE(label->Visible()) << control->Name();
    }
}

class SkinnedSpinEdits : public SkinnedEdits {
protected:
    void SetUp() override {
        SkinnedEdits::SetUp();
        spin = Add<skinned::TsSpinEdit>(form, "sSpinEdit1", {10, 10, 56, 31});
        spin->OnChange = [this](TObject*) { ++changes; };
        Pump();
    }
    Point Centre(TControl& c) { return Screen(c, {c.Width() / 2, c.Height() / 2}); }
    skinned::TsSpinEdit* spin = nullptr;
    int changes = 0;
};

TEST_F(SkinnedSpinEdits, PlacesItsButtonPairAtTheRightAndShowsItsFaceBehindThem) {
    skinned::TsSpinButton* pair = spin->Button();
    ASSERT_NE(pair, nullptr);
    EXPECT_EQ(pair->Left(), 24); // 46 - 18 - 4
    EXPECT_EQ(pair->Top(), 0);
    EXPECT_EQ(pair->Height(), 17);
    EXPECT_EQ(pair->UpButton()->Height(), 8);
    EXPECT_EQ(pair->DownButton()->Top(), 8);
    EXPECT_EQ(pair->UpButton()->SkinData().SkinSection(), "SPEEDBUTTON_SMALL");
    // The triangles are drawn on the section's faces.
    EXPECT_GT(DarkPixels(*pair->UpButton(), {0, 0, 18, 8}), 0);
    EXPECT_GT(DarkPixels(*pair->DownButton(), {0, 0, 18, 9}), 0);
    const Color skinned = PixelAt(*pair->UpButton(), {1, 4});
    EXPECT_NE(skinned, ColorToRGB(clBtnFace));

    // Without the skin the pair stays, in the plain look, over the edit's plain face.
    manager->SetActive(false);
    Pump();
    EXPECT_NE(PixelAt(*pair->UpButton(), {1, 4}), skinned);
    EXPECT_GT(DarkPixels(*pair->DownButton(), {0, 0, 18, 9}), 0);
}

TEST_F(SkinnedSpinEdits, ButtonsStepOnReleaseOverTheHalfAndRepeatWhileHeld) {
    skinned::TsTimerSpeedButton* up = spin->Button()->UpButton();
    skinned::TsTimerSpeedButton* down = spin->Button()->DownButton();
    host->Click(Centre(*up));
    Pump();
    EXPECT_EQ(spin->Value(), 1);
    EXPECT_TRUE(spin->Focused());

    // A press dragged off and let go elsewhere does not step.
    host->MouseDown(Centre(*down));
    Pump();
    EXPECT_EQ(spin->Value(), 1);
    host->MouseMove(Screen(*form, {300, 300}));
    host->MouseUp(Screen(*form, {300, 300}));
    Pump();
    EXPECT_EQ(spin->Value(), 1);

    // Held: the first repeat 400 ms after the press, then every 100 ms; the release adds its own.
    host->MouseDown(Centre(*up));
    Pump();
    Wait(399);
    EXPECT_EQ(spin->Value(), 1);
    Wait(1);
    EXPECT_EQ(spin->Value(), 2);
    Wait(99);
    EXPECT_EQ(spin->Value(), 2);
    Wait(1);
    EXPECT_EQ(spin->Value(), 3);
    host->MouseUp(Centre(*up));
    Pump();
    EXPECT_EQ(spin->Value(), 4);
    EXPECT_FALSE(up->Repeating());
    Wait(500);
    EXPECT_EQ(spin->Value(), 4);
    EXPECT_EQ(changes, 4);
}

TEST_F(SkinnedSpinEdits, AFailingRepeatedStepStopsTheRepeating) {
    skinned::TsTimerSpeedButton* up = spin->Button()->UpButton();
    spin->OnChange = [](TObject*) { throw std::runtime_error("refused"); };
    host->MouseDown(Centre(*up));
    Pump();
    Wait(400);
    EXPECT_FALSE(up->Repeating());
    EXPECT_EQ(boxes.size(), 1u);
    host->MouseUp(Centre(*up));
    Pump();
}

// A handler may free the very control that runs it (a button closing its panel, say): nothing
// of the control is touched afterwards. ASan tells.
TEST_F(SkinnedEdits, HandlersMayFreeTheirOwnControl) {
    auto* bitBtn = Add<skinned::TsBitBtn>(form, "sBitBtn1", {10, 10, 90, 35});
    bitBtn->OnClick = [bitBtn](TObject*) { delete bitBtn; };
    host->Click(Screen(*bitBtn, {20, 10}));
    Pump();

    auto* speed = Add<skinned::TsSpeedButton>(form, "sSpeedButton1", {10, 40, 90, 65});
    speed->OnClick = [speed](TObject*) { delete speed; };
    host->Click(Screen(*speed, {20, 10}));
    Pump();

    auto* combo = Add<skinned::TsComboBox>(form, "sComboBox1", {10, 70, 150, 91});
    for (int i = 0; i < 20; ++i)
        combo->Items().Add("item " + std::to_string(i));
    combo->OnDropDown = [combo](TObject*) { delete combo; };
    combo->SetDroppedDown(true);
    Pump();

    // The repeated step, from the up button's own timer.
    auto* spin = Add<skinned::TsSpinEdit>(form, "sSpinEdit1", {10, 100, 56, 121});
    Pump();
    spin->OnChange = [spin](TObject*) {
        if (spin->Value() == 2)
            delete spin;
    };
    skinned::TsTimerSpeedButton* up = spin->Button()->UpButton();
    const Point held = Screen(*up, {up->Width() / 2, up->Height() / 2});
    host->MouseDown(held);
    Pump();
    Wait(400);
    host->MouseUp(held);
    Pump();

    // And one whose handler fails as it frees it.
    spin = Add<skinned::TsSpinEdit>(form, "sSpinEdit2", {10, 100, 56, 121});
    Pump();
    spin->OnChange = [spin](TObject*) {
        if (spin->Value() == 2) {
            delete spin;
            throw std::runtime_error("gone");
        }
    };
    host->MouseDown(held);
    Pump();
    Wait(400);
    host->MouseUp(held);
    Pump();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(form->ControlCount(), 0);
}

// Glyph counts of zero and below from a damaged skin: the combo box's chosen item and the spin
// edit's number and arrows still show exactly as before, and the list still opens and closes.
TEST_F(SkinnedEdits, HostileGlyphCountsLeaveTheTextAndTheSpinArrowsAsTheyWere) {
    auto* combo = Add<skinned::TsComboBox>(form, "sComboBox1", {10, 10, 150, 31});
    auto* spin = Add<skinned::TsSpinEdit>(form, "sSpinEdit1", {10, 50, 56, 71});
    combo->SetStyle(csDropDownList);
    combo->Items().Add("Uniform");
    combo->SetItemIndex(0);
    spin->SetValue(7);
    Pump();
    const Rect item{0, 0, combo->Width() - 20, combo->Height()}; // up to the button
    const Rect whole{0, 0, spin->Width(), spin->Height()};
    auto pixels = [&](TControl& c, const Rect& r) {
        std::vector<Color> out;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                out.push_back(PixelAt(c, {x, y}));
        return out;
    };
    const std::vector<Color> itemBefore = pixels(*combo, item), spinBefore = pixels(*spin, whole);
    ASSERT_GT(DarkPixels(*combo, item), 20);
    ASSERT_GT(DarkPixels(*spin, whole), 20);

    for (skin::TsMaskData& piece : manager->ma()) {
        piece.ImageCount = static_cast<std::int16_t>(piece.ImageCount == 3 ? 0 : -5);
        piece.MaskType = -1;
    }
    combo->SkinData().Refresh();
    spin->SkinData().Refresh();
    combo->SetDroppedDown(true);
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    combo->SetDroppedDown(false);
    Pump();
    EXPECT_EQ(pixels(*combo, item), itemBefore);
    EXPECT_EQ(pixels(*spin, whole), spinBefore);
}

// A container that cannot build its background (its section is missing, as in a damaged skin)
// must not keep the edits on it waiting: they paint their skinned frame and the window system
// goes idle, instead of the edit asking to be painted again for ever. An edit that does wait
// for a skinned panel is painted once the panel is done.
TEST_F(SkinnedEdits, AnEditWaitsForItsPanelOnlyWhileThePanelCanFinish) {
    auto* panel = Add<skinned::TsPanel>(form, "sPanel1", {0, 0, 300, 200});
    panel->SkinData().SetSkinSection("NO SUCH SECTION");
    auto* memo = Add<skinned::TsMemo>(panel, "sMemo1", {10, 50, 200, 150});
    memo->SetScrollBars(ssBoth);
    const auto settles = [] {
        platform::MSG msg;
        for (int handled = 0; handled < 1000; ++handled) {
            if (!platform::PeekMessage(msg, {}, 0, 0, platform::PM_REMOVE))
                return true;
            platform::DispatchMessage(msg);
        }
        return false;
    };
    EXPECT_TRUE(settles());
    EXPECT_TRUE(Near(BorderPixel(*memo, 40), kFrameSteel));

    panel->SkinData().SetSkinSection("PANEL");
    ASSERT_TRUE(settles());
    panel->SkinData().SetBackgroundChanged(true);
    platform::RedrawWindow(memo->HandleIfAllocated(), nullptr, nullptr,
                           platform::RDW_INVALIDATE | platform::RDW_FRAME);
    ASSERT_TRUE(settles());
    EXPECT_TRUE(memo->SkinData().Updating()) << "the memo waits for the panel";
    panel->Invalidate();
    EXPECT_TRUE(settles());
    EXPECT_FALSE(memo->SkinData().Updating());
    EXPECT_TRUE(Near(BorderPixel(*memo, 40), kFrameSteel));
}

// A drop-down combo box's text part shows the face it covers, text and all, while nobody types
// in it (unfocused or disabled); with the focus it shows itself.
TEST_F(SkinnedEdits, DropDownComboTextPartShowsTheFaceUnlessTypedIn) {
    auto* combo = Add<skinned::TsComboBox>(form, "sComboBox1", {10, 10, 150, 31});
    combo->SetStyle(csDropDown);
    combo->SetText("Exponential");
    auto* other = Add<skinned::TsEdit>(form, "sEdit1", {10, 50, 150, 71});
    Pump();
    TComboTextPart& part = *combo->TextPart();
    const auto showsFace = [&] {
        Pump();
        const skin::TacRows24 face(*combo->SkinData().CacheBmp());
        for (int y = part.Top(); y < part.Top() + part.Height(); ++y)
            for (int x = part.Left(); x < part.Left() + part.Width(); ++x)
                if (PixelAt(*combo, {x, y}) != face.PixelAt(x, y))
                    return false;
        return true;
    };
    EXPECT_TRUE(showsFace());
    EXPECT_GT(DarkPixels(*combo, part.BoundsRect()), 0); // the text is on the face
    Focus(*combo);
    EXPECT_FALSE(showsFace());
    Focus(*other);
    EXPECT_TRUE(showsFace());
    combo->SetEnabled(false);
    EXPECT_TRUE(showsFace());
}

} // namespace
