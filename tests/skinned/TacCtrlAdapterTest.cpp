// The control adapter on a form of standard controls with the internal skin: what it takes and
// skips, the colours it gives and gives back, and the button adapter's state index.

#include "skinned/TacCtrlAdapter.h"

#include <gtest/gtest.h>

#include <vector>

#include "SkinnedPaintSupport.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "skin/SkinModel.h"
#include "skin/sCommonData.h"
#include "skinned/TacBtnWnd.h"
#include "skinned/TsEdit.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TComboBox.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TLabel.h"
#include "toolkit/TPanel.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TSpinEdit.h"
#include "toolkit/TStringGrid.h"
#include "toolkit/TStringList.h"

namespace {

using namespace toolkit;
using platform::Point;
using skinned::TacCtrlAdapter;
using skinnedtest::Make;

bool AnswersSkinned(TWinControl& c) {
    return platform::SendMessage(c.HandleIfAllocated(), kLibraryCommandMessage,
                                 skin::MakeCommand(skin::kCmdAreYouSkinned), 0) != 0;
}

class CtrlAdapter : public skinnedtest::SkinnedPaintTest {
protected:
    void SetUp() override {
        SkinnedPaintTest::SetUp();
        manager->SetActive(true);
        providerSkin = std::make_unique<skin::TsCommonData>(nullptr, false);
        providerSkin->SetSkinManager(manager.get());
        form = MakeForm({100, 100, 500, 400});
        form->SetColor(0x336699);
        edit = Make<TEdit>(form, {10, 10, 130, 31});
        edit->SetColor(0x102030);
        edit->Font().SetColor(0x405060);
        spin = Make<TSpinEdit>(form, {10, 40, 130, 61});
        grid = Make<TStringGrid>(form, {140, 10, 380, 200});
        grid->SetColor(0x010203);
        grid->SetFixedColor(0x040506);
        button = Make<TButton>(form, {10, 220, 100, 245});
        button->SetCaption("Plain");
        bitBtn = Make<TBitBtn>(form, {110, 220, 200, 245});
        bitBtn->SetKind(bkOK);
        label = Make<TLabel>(form, {10, 260, 100, 275});
        label->SetCaption("Label");
        label->Font().SetColor(0x0A0B0C);
        skinnedEdit = Make<skinned::TsEdit>(form, {10, 300, 130, 321});
        speed = Make<TSpeedButton>(form, {140, 300, 170, 321});
        panel = Make<TPanel>(form, {200, 220, 380, 320});
        inPanel = Make<TEdit>(panel, {10, 10, 100, 31});
        panelLabel = Make<TLabel>(panel, {10, 40, 100, 55});
        form->Show();
        Pump();
        adapter = std::make_unique<TacCtrlAdapter>(*form, *providerSkin);
    }
    void TearDown() override {
        adapter.reset();
        providerSkin.reset();
        SkinnedPaintTest::TearDown();
    }
    const skin::TsGeneralData& Section(const char* name) {
        return manager->gd()[static_cast<std::size_t>(manager->FindSectionIndex(name))];
    }
    std::int32_t ButtonState(TWinControl& c) {
        auto* window = dynamic_cast<skinned::TacBtnWnd*>(adapter->Find(&c)->WindowAdapter());
        return window ? window->CtlState() : -1;
    }

    std::unique_ptr<skin::TsCommonData> providerSkin;
    std::unique_ptr<TacCtrlAdapter> adapter;
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TSpinEdit* spin = nullptr;
    TStringGrid* grid = nullptr;
    TButton* button = nullptr;
    TBitBtn* bitBtn = nullptr;
    TLabel* label = nullptr;
    skinned::TsEdit* skinnedEdit = nullptr;
    TSpeedButton* speed = nullptr;
    TPanel* panel = nullptr;
    TEdit* inPanel = nullptr;
    TLabel* panelLabel = nullptr;
};

TEST_F(CtrlAdapter, TakesStandardWindowsOnceAndLeavesSkinnedOnesAlone) {
    adapter->AddAllItems();
    adapter->AddAllItems();
    EXPECT_EQ(adapter->Count(), 7);
    for (TWinControl* c :
         std::initializer_list<TWinControl*>{edit, spin, grid, button, bitBtn, panel, inPanel}) {
        ASSERT_NE(adapter->Find(c), nullptr) << c->ClassName();
        EXPECT_TRUE(AnswersSkinned(*c)) << c->ClassName();
    }
    EXPECT_EQ(adapter->Find(skinnedEdit), nullptr);
    EXPECT_EQ(adapter->Find(speed), nullptr);
    EXPECT_EQ(adapter->Find(button)->SkinData()->SkinSection(), "BUTTON");
    EXPECT_EQ(adapter->Find(grid)->SkinData()->SkinSection(), "EDIT");
    EXPECT_EQ(adapter->Find(panel)->SkinData()->SkinSection(), "PANEL");
}

TEST_F(CtrlAdapter, GivesSkinColoursAndRestoresThemOnRemoval) {
    const platform::Rect upHalf = spin->UpButtonRect();
    const Point inSpinButton{upHalf.left + 3, upHalf.top + upHalf.Height() / 2};
    const platform::Color classicSpin = PixelAt(*spin, inSpinButton);
    adapter->AddAllItems();
    Pump();
    EXPECT_NE(PixelAt(*spin, inSpinButton), classicSpin);
    const skin::TsGeneralData& editSection = Section("EDIT");
    EXPECT_EQ(edit->Color(), static_cast<TColor>(editSection.Color));
    EXPECT_EQ(edit->Font().Color(), static_cast<TColor>(editSection.HotFontColor[0]));
    EXPECT_EQ(grid->Color(), static_cast<TColor>(editSection.Color));
    EXPECT_EQ(grid->FixedColor(), manager->GetGlobalColor());
    EXPECT_TRUE(label->Transparent());
    EXPECT_EQ(label->Font().Color(), manager->GetGlobalFontColor());

    // A new skin, or a window made again while skinned, takes the colours afresh; removal
    // still gives back those from before any skin.
    grid->SetFlat(true);
    adapter->AddAllItems();
    EXPECT_TRUE(AnswersSkinned(*grid));
    adapter->SkinCommand(skin::kCmdNewSkin);
    adapter->SkinCommand(skin::kCmdSkinRemoved);
    EXPECT_EQ(adapter->Count(), 0);
    EXPECT_EQ(edit->Color(), 0x102030u);
    EXPECT_EQ(edit->Font().Color(), 0x405060u);
    EXPECT_EQ(grid->Color(), 0x010203u);
    EXPECT_EQ(grid->FixedColor(), 0x040506u);
    EXPECT_FALSE(label->Transparent());
    EXPECT_EQ(label->Font().Color(), 0x0A0B0Cu);
    EXPECT_FALSE(AnswersSkinned(*edit));
    EXPECT_FALSE(AnswersSkinned(*grid));
    // What inherited its font from the panel inherits it again.
    EXPECT_TRUE(inPanel->ParentFont());
    EXPECT_TRUE(panelLabel->ParentFont());
    Pump();
    EXPECT_EQ(PixelAt(*spin, inSpinButton), classicSpin);
}

// A dark field whose section leaves the hot font colour at its default black keeps its text
// readable in the section's own font colour.
TEST_F(CtrlAdapter, TextStaysReadableOnADarkField) {
    manager->SetCommonSections(TStringList{"[EDIT]", "COLOR=2367004", "FONTCOLOR=15262174"});
    adapter->AddAllItems();
    EXPECT_EQ(edit->Color(), 2367004u);
    EXPECT_EQ(edit->Font().Color(), 15262174u);
    EXPECT_EQ(grid->Font().Color(), 15262174u);
}

TEST_F(CtrlAdapter, RefusedOrFreedControlsDropOut) {
    adapter->OnSkinItem = [this](TControl* item, bool& canBeAdded, std::string& section) {
        canBeAdded = item != edit;
        if (item == spin)
            section = "COMBOBOX";
    };
    adapter->AddAllItems();
    EXPECT_EQ(adapter->Find(edit), nullptr);
    EXPECT_EQ(adapter->Find(spin)->SkinData()->SkinSection(), "COMBOBOX");
    TComponent::Free(grid);
    adapter->SkinCommand(skin::kCmdRefresh);
    EXPECT_EQ(adapter->Count(), 5);
    adapter.reset(); // detaches what is left without touching the freed grid
    EXPECT_FALSE(AnswersSkinned(*button));
}

TEST_F(CtrlAdapter, ButtonStateFollowsHoverPressAndDisable) {
    edit->SetFocus();
    adapter->AddAllItems();
    const Point inside = ScreenOf(*button, {5, 5});
    const Point away = ScreenOf(*form, {300, 300});
    const Point middle{button->Width() / 2, button->Height() - 4};
    EXPECT_EQ(ButtonState(*button), 0);
    EXPECT_EQ(ButtonState(*bitBtn), 1) << "the default button";
    host->MouseMove(inside);
    Pump();
    EXPECT_EQ(ButtonState(*button), 1);
    EXPECT_EQ(manager->HotControl(), button);
    host->MouseMove(away);
    Pump();
    EXPECT_EQ(ButtonState(*button), 0);
    EXPECT_EQ(manager->HotControl(), nullptr);
    host->MouseMove(inside);
    host->MouseDown(inside);
    Pump();
    EXPECT_EQ(ButtonState(*button), 2);
    EXPECT_EQ(ButtonState(*bitBtn), 0) << "Enter presses the focused button now";
    const platform::Color pressed = PixelAt(*button, middle);
    host->MouseUp(inside);
    host->MouseMove(away);
    Pump();
    EXPECT_EQ(ButtonState(*button), 1) << "focused after the click";
    EXPECT_NE(PixelAt(*button, middle), pressed);
    // Disabled: state 0, and the face lies faded toward the form's colour.
    const platform::Color enabled = PixelAt(*bitBtn, middle);
    bitBtn->SetEnabled(false);
    Pump();
    EXPECT_EQ(ButtonState(*bitBtn), 0);
    const platform::Color faded = PixelAt(*bitBtn, middle);
    EXPECT_NE(faded, enabled);
    EXPECT_LE(std::abs(int(faded & 0xFF) - 0x99), std::abs(int(enabled & 0xFF) - 0x99));
}

TEST_F(CtrlAdapter, AnAdaptedEditIsHotWhileTheMouseIsOverIt) {
    // Our skins draw edits' borders alike in every state: this one takes the buttons' section.
    adapter->OnSkinItem = [this](TControl* item, bool&, std::string& section) {
        if (item == edit)
            section = "BUTTON";
    };
    adapter->AddAllItems();
    Pump();
    const auto frame = [this] {
        std::vector<platform::Color> pixels;
        for (int x = -2; x < edit->ClientWidth() + 2; ++x)
            for (const int y : {-2, -1, edit->ClientHeight(), edit->ClientHeight() + 1})
                pixels.push_back(PixelAt(*edit, {x, y}));
        return pixels;
    };
    const std::vector<platform::Color> normal = frame();
    host->MouseMove(ScreenOf(*edit, {20, 5}));
    Pump();
    EXPECT_EQ(manager->HotControl(), edit);
    EXPECT_NE(frame(), normal);
    // Straight onto another adapted control: the edit hears that it is no longer hot.
    host->MouseMove(ScreenOf(*spin, {20, 5}));
    Pump();
    EXPECT_EQ(manager->HotControl(), spin);
    EXPECT_EQ(frame(), normal);
    host->MouseMove(ScreenOf(*form, {300, 300}));
    Pump();
    EXPECT_EQ(manager->HotControl(), nullptr);
}

TEST_F(CtrlAdapter, AGridsInPlaceEditorIsAdaptedWhenItAppears) {
    grid->SetOptions(grid->Options().Include(goEditing));
    adapter->AddAllItems();
    grid->SetFocus();
    grid->SetEditorMode(true);
    Pump();
    TInplaceEdit* editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(AnswersSkinned(*editor));
    EXPECT_EQ(editor->Color(), static_cast<TColor>(Section("EDIT").Color));
    adapter->SkinCommand(skin::kCmdSkinRemoved);
    EXPECT_FALSE(AnswersSkinned(*editor));
    EXPECT_TRUE(editor->ParentColor());

    // A combo box's text part, made when it takes a style with one, stays the combo box's.
    auto* combo = Make<TComboBox>(form, {10, 330, 130, 351});
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    adapter->AddAllItems();
    combo->SetStyle(TComboBoxStyle::csDropDown);
    ASSERT_NE(combo->TextPart(), nullptr);
    EXPECT_TRUE(AnswersSkinned(*combo));
    EXPECT_FALSE(AnswersSkinned(*combo->TextPart()));
}

// An edit that shows a scroll bar whenever its colour changes.
class TRestlessEdit : public TEdit {
public:
    using TEdit::TEdit;
    void WndProc(TMessage& m) override {
        TEdit::WndProc(m);
        if (m.Msg == CM_COLORCHANGED && HandleAllocated()) {
            const platform::HWND h = HandleIfAllocated();
            platform::SetWindowLongPtr(h, platform::GWL_STYLE,
                                       platform::GetWindowLongPtr(h, platform::GWL_STYLE) |
                                           platform::WS_VSCROLL);
        }
    }
};

TEST_F(CtrlAdapter, AnEditKeepsItsStyleWhileTheSkinIsApplied) {
    auto* restless = Make<TRestlessEdit>(form, {140, 220, 190, 241});
    const platform::HWND h = restless->HandleIfAllocated();
    adapter->AddAllItems();
    ASSERT_TRUE(AnswersSkinned(*restless));
    EXPECT_FALSE(platform::GetWindowLongPtr(h, platform::GWL_STYLE) & platform::WS_VSCROLL);
    // Once the skin is on, the edit's own changes are its own again.
    restless->SetColor(0x123456);
    EXPECT_TRUE(platform::GetWindowLongPtr(h, platform::GWL_STYLE) & platform::WS_VSCROLL);
}

} // namespace
