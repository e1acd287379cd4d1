// The control adapter on the program's two windows: what it skins there and what it leaves.

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "skin/sCommonData.h"
#include "skin/sSkinManager.h"
#include "skinned/TacCtrlAdapter.h"
#include "skinned/sSkinProvider.h"

namespace {

using app::testing::ProgramTest;
using skinned::TacCtrlAdapter;

class AdaptedWindows : public ProgramTest {
protected:
    void TearDown() override {
        adapters.clear();
        ProgramTest::TearDown();
    }
    // The adapter of the form's skinned frame, which takes the form's windows as it is activated;
    // one of our own for a form that has no frame provider.
    TacCtrlAdapter& Adapt(toolkit::TCustomForm& f) {
        if (skinned::TsSkinProvider* provider = skinned::ProviderOf(f);
            provider && provider->Adapter())
            return *provider->Adapter();
        adapters.push_back(std::make_unique<TacCtrlAdapter>(f, skinState));
        adapters.back()->AddAllItems();
        return *adapters.back();
    }
    skin::TsCommonData skinState{nullptr, false};
    std::vector<std::unique_ptr<TacCtrlAdapter>> adapters;
};

TEST_F(AdaptedWindows, SaveOptionsWindowGetsItsStandardWindowsSkinned) {
    saveOptions->Show();
    Pump();
    TacCtrlAdapter& adapter = Adapt(*saveOptions);
    EXPECT_EQ(adapter.Count(), 5);
    for (toolkit::TWinControl* c : std::initializer_list<toolkit::TWinControl*>{
             saveOptions->SpinEdit1, saveOptions->SpinEdit3, saveOptions->Edit1,
             saveOptions->BitBtn1, saveOptions->BitBtn2})
        EXPECT_NE(adapter.Find(c), nullptr) << c->Name();
    skin::TsSkinManager& manager = *form->sSkinManager1;
    for (toolkit::TLabel* label : {saveOptions->Label1, saveOptions->Label2, saveOptions->Label4}) {
        EXPECT_TRUE(label->Transparent()) << label->Name();
        EXPECT_EQ(label->Font().Color(), manager.GetGlobalFontColor()) << label->Name();
    }
}

TEST_F(AdaptedWindows, MainWindowGetsOnlyItsGridAdapted) {
    // The grid's colours from the window definition, which the skin replaces while it is on.
    const toolkit::TColor color = toolkit::clCream;
    const toolkit::TColor fixed = toolkit::clSilver;
    TacCtrlAdapter& adapter = Adapt(*form);
    ASSERT_EQ(adapter.Count(), 1);
    EXPECT_EQ(adapter.Items(0).Ctrl(), form->StringGrid1);
    skin::TsSkinManager& manager = *form->sSkinManager1;
    const skin::TsGeneralData& edit =
        manager.gd()[static_cast<std::size_t>(manager.FindSectionIndex("EDIT"))];
    EXPECT_EQ(form->StringGrid1->Color(), static_cast<toolkit::TColor>(edit.Color));
    EXPECT_EQ(form->StringGrid1->FixedColor(), manager.GetGlobalColor());
    adapter.RemoveAllItems();
    EXPECT_EQ(form->StringGrid1->Color(), color);
    EXPECT_EQ(form->StringGrid1->FixedColor(), fixed);
}

} // namespace
