#include <climits>
#include <string>

#include "SkinnedPaintSupport.h"
#include "skin/InternalSkin.h"
#include "skin/sSkinManager.h"
#include "skinned/TsBitBtn.h"
#include "skinned/TsComboBox.h"
#include "skinned/TsLabel.h"
#include "skinned/TsLabelFX.h"
#include "skinned/TsMemo.h"
#include "skinned/TsPanel.h"
#include "skinned/TsSpeedButton.h"
#include "skinned/TsSpinEdit.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/TStringList.h"

namespace {

using namespace toolkit;
using toolkit::testing::ToolkitTest;

using skinnedtest::Make;

class SkinnedControls : public ToolkitTest {};

TEST_F(SkinnedControls, EachAnswersItsOwnClassNameAndKeepsItsSkinSection) {
    TForm* form = MakeForm();
    auto* panel = Make<skinned::TsPanel>(form, {0, 0, 100, 40});
    panel->SkinData().SetSkinSection("panel");
    EXPECT_EQ(panel->ClassName(), "TsPanel");
    EXPECT_EQ(panel->SkinData().SkinSection(), "PANEL");
    EXPECT_EQ(Make<skinned::TsBitBtn>(form, {0, 50, 80, 75})->ClassName(), "TsBitBtn");
    EXPECT_EQ(Make<skinned::TsSpeedButton>(form, {0, 80, 30, 100})->ClassName(), "TsSpeedButton");
    EXPECT_EQ(Make<skinned::TsComboBox>(form, {0, 110, 80, 130})->ClassName(), "TsComboBox");
    EXPECT_EQ(Make<skinned::TsLabelFX>(form, {0, 140, 80, 160})->ClassName(), "TsLabelFX");
    EXPECT_EQ(Make<skinned::TsMemo>(form, {100, 0, 200, 100})->ClassName(), "TsMemo");
    EXPECT_EQ(Make<skinned::TsSpinEdit>(form, {100, 110, 150, 131})->ClassName(), "TsSpinEdit");
}

class TNoteLabel : public skinned::TsCustomLabel {
public:
    using TsCustomLabel::TsCustomLabel;
    std::string ClassName() const override { return "TNoteLabel"; }
};

// A control whose type names no section paints from a section named after its own class, not
// after the base class its skin state was made in.
TEST_F(SkinnedControls, ASubclassWithoutASectionIsNamedAfterItsOwnClass) {
    skin::TsSkinManager manager;
    skin::AddInternalSkin(manager.InternalSkins());
    manager.SetSkinName(skin::kInternalSkinName);
    manager.SetCommonSections(TStringList{"[TNOTELABEL]", "COLOR=255"});
    TForm* form = MakeForm();
    auto* note = Make<TNoteLabel>(form, {0, 0, 80, 20});
    EXPECT_EQ(note->SkinData().SkinSection(), "TNOTELABEL");
    EXPECT_GE(note->SkinData().SectionIndex(), 0);
    EXPECT_EQ(Make<skinned::TsLabelFX>(form, {0, 30, 80, 50})->SkinData().SkinSection(),
              "TSLABELFX");
    // A section set by hand stays whatever the class.
    auto* named = new TNoteLabel(form);
    named->SkinData().SetSkinSection("panel");
    named->SetParent(form);
    EXPECT_EQ(named->SkinData().SkinSection(), "PANEL");
}

// The main window's controls with the internal skin: each knows its section once the manager
// applies the skin, answers the library's commands, and lets go of the skin when it goes.
TEST_F(SkinnedControls, FollowTheManagerThroughItsSkinChanges) {
    TForm* form = MakeForm();
    auto* panel = Make<skinned::TsPanel>(form, {0, 0, 300, 200});
    auto* button = Make<skinned::TsBitBtn>(panel, {10, 10, 100, 40});
    auto* tool = Make<skinned::TsSpeedButton>(panel, {10, 50, 40, 70});
    auto* list = Make<skinned::TsComboBox>(panel, {10, 80, 100, 100});
    auto* memo = Make<skinned::TsMemo>(form, {100, 110, 200, 190});
    auto* spin = Make<skinned::TsSpinEdit>(panel, {120, 10, 170, 31});
    list->SkinData().SetSkinSection("COMBOBOX");
    EXPECT_EQ(panel->SkinData().SkinSection(), "PANEL");
    EXPECT_EQ(button->SkinData().SkinSection(), "BUTTON");
    EXPECT_EQ(tool->SkinData().SkinSection(), "SPEEDBUTTON");
    EXPECT_EQ(memo->SkinData().SkinSection(), "EDIT");
    EXPECT_EQ(spin->SkinData().SkinSection(), "EDIT");

    skin::TsSkinManager manager;
    skin::AddInternalSkin(manager.InternalSkins());
    manager.SetSkinName(skin::kInternalSkinName);
    for (TControl* c : std::initializer_list<TControl*>{panel, button, tool, list, memo, spin}) {
        EXPECT_EQ(c->Perform(kLibraryCommandMessage, skin::MakeCommand(skin::kCmdAreYouSkinned), 0),
                  1)
            << c->ClassName();
        EXPECT_TRUE(skin::SkinDataOf(c)->Skinned(true)) << c->ClassName();
    }
    EXPECT_GE(button->SkinData().BorderIndex(), 0);
    EXPECT_EQ(memo->Color(), clWhite); // edits take the section's colour, not the system's

    manager.SetActive(false);
    EXPECT_EQ(panel->SkinData().SectionIndex(), -1);
    EXPECT_EQ(memo->Color(), clWindow);
    manager.SetActive(true);
    EXPECT_TRUE(tool->SkinData().Skinned(true));
}

// Entering a container takes the hot look from a speed button inside that missed its leave.
TEST_F(SkinnedControls, EnteringAContainerEndsTheHotLookOfItsSpeedButtons) {
    TForm* form = MakeForm();
    auto* panel = Make<skinned::TsPanel>(form, {0, 0, 200, 100});
    auto* tool = Make<skinned::TsSpeedButton>(panel, {10, 10, 40, 40});
    tool->Perform(CM_MOUSEENTER, 0, 0);
    ASSERT_TRUE(tool->SkinData().MouseOver());
    panel->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(tool->SkinData().MouseOver());
    EXPECT_FALSE(panel->SkinData().MouseOver()); // panels never look hot
}

class SkinnedSpinEdit : public SkinnedControls {
protected:
    void SetUp() override {
        SkinnedControls::SetUp();
        form = MakeForm();
        edit = Make<skinned::TsSpinEdit>(form, {10, 10, 60, 31});
        edit->OnChange = [this](TObject*) { changes.push_back(edit->Text()); };
        form->Show();
        edit->SetFocus();
        Pump();
    }
    TForm* form = nullptr;
    skinned::TsSpinEdit* edit = nullptr;
    std::vector<std::string> changes;
};

// Only digits may be typed; a sign is refused with the beep, although the plain spin edit
// takes it.
TEST_F(SkinnedSpinEdit, TypingTakesDigitsOnly) {
    edit->SelectAll();
    host->Text("-4x2");
    Pump();
    EXPECT_EQ(edit->Text(), "42");
    EXPECT_EQ(host->Beeps(), 2);
    EXPECT_EQ(changes, (std::vector<std::string>{"4", "42"}));

    auto* plain = Make<TSpinEdit>(form, {10, 40, 60, 61});
    plain->SetFocus();
    plain->SelectAll();
    host->Text("-4");
    Pump();
    EXPECT_EQ(plain->Text(), "-4");
}

TEST_F(SkinnedSpinEdit, TheWheelStepsByWholeNotches) {
    const platform::Point over = edit->ClientToScreen({5, 5});
    host->Wheel(120, over);
    Pump();
    EXPECT_EQ(edit->Value(), 1);
    host->Wheel(60, over);
    Pump();
    EXPECT_EQ(edit->Value(), 1); // half a notch adds nothing
    edit->SetIncrement(5);
    host->Wheel(-240, over);
    Pump();
    EXPECT_EQ(edit->Value(), -9);
    EXPECT_EQ(changes, (std::vector<std::string>{"1", "-9"}));
}

TEST_F(SkinnedSpinEdit, KeysAndButtonsStepAsInThePlainSpinEdit) {
    host->Key(platform::VK_DOWN);
    Pump();
    EXPECT_EQ(edit->Text(), "-1");
    const platform::Rect up = edit->UpButtonRect();
    host->Click(edit->ClientToScreen({up.left + 2, up.top + 2}));
    Pump();
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(changes, (std::vector<std::string>{"-1", "0"}));
}

// The up half shows an arrow pointing up (its widest row lowest), the down half one pointing
// down (the lines that edge and part the halves aside); once the edit is disabled, both arrows
// fade alike and neither half changes the number.
TEST_F(SkinnedSpinEdit, EachHalfPointsItsWayAndNeitherStepsWhileDisabled) {
    struct Arrow {
        int ink = 0, widestRow = 0, narrowestRow = 0;
    };
    auto arrowIn = [&](const platform::Rect& half) {
        Arrow a;
        int widest = 0, narrowest = INT_MAX;
        for (int y = half.top; y < half.bottom; ++y) {
            int ink = 0;
            for (int x = half.left + 2; x < half.right - 2; ++x) {
                const platform::Color c = PixelAt(*edit, {x, y});
                ink += platform::GetRValue(c) + platform::GetGValue(c) + platform::GetBValue(c) <
                       3 * 0x60;
            }
            if (ink >= half.Width() - 6)
                continue; // a line that parts the halves
            a.ink += ink;
            if (ink > widest)
                widest = ink, a.widestRow = y;
            if (ink > 0 && ink < narrowest)
                narrowest = ink, a.narrowestRow = y;
        }
        return a;
    };
    const platform::Rect up = edit->UpButtonRect(), down = edit->DownButtonRect();
    const Arrow upArrow = arrowIn(up), downArrow = arrowIn(down);
    ASSERT_GT(upArrow.ink, 4);
    EXPECT_GT(upArrow.widestRow, upArrow.narrowestRow);
    EXPECT_LT(downArrow.widestRow, downArrow.narrowestRow);

    edit->SetEnabled(false);
    Pump();
    EXPECT_LT(arrowIn(up).ink, upArrow.ink);
    EXPECT_EQ(arrowIn(down).ink, arrowIn(up).ink);
    for (const platform::Rect& half : {up, down}) {
        const platform::Point at = edit->ClientToScreen({half.left + 3, half.top + 3});
        host->MouseMove(at);
        host->Click(at);
        Pump();
        host->Advance(400);
        Pump();
    }
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_TRUE(changes.empty());
}

} // namespace

// A control freed by its own handler (a click that closes its panel, say) must not be touched
// afterwards by the skinned plumbing that ran the handler.
class SelfFreeingPanel : public skinned::TsPanel {
public:
    using TsPanel::TsPanel;

protected:
    void SkinnedWndProc(TMessage& message) override {
        if (message.Msg == CM_MOUSEENTER) {
            delete this;
            return;
        }
        TsPanel::SkinnedWndProc(message);
    }
};

TEST_F(SkinnedControls, AControlFreedByItsOwnHandlerIsLeftAlone) {
    TForm* form = MakeForm();
    auto* panel = Make<SelfFreeingPanel>(form, {0, 0, 100, 40});
    panel->OnMouseEnter = [](TObject*) { FAIL() << "an event raised on a freed control"; };
    panel->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(form->ControlCount(), 0);
}
