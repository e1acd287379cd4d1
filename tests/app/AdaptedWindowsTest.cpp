// The control adapter of the program's two windows, as their frame providers own it: what it
// skins there and what it leaves.

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "skin/sSkinManager.h"
#include "skinned/TacCtrlAdapter.h"
#include "skinned/sSkinProvider.h"

namespace {

using app::testing::ProgramTest;
using skinned::TacCtrlAdapter;

class AdaptedWindows : public ProgramTest {
protected:
    TacCtrlAdapter* AdapterOf(const toolkit::TCustomForm& f) {
        skinned::TsSkinProvider* provider = skinned::ProviderOf(f);
        return provider ? provider->Adapter() : nullptr;
    }
};

TEST_F(AdaptedWindows, SaveOptionsWindowGetsItsStandardWindowsSkinned) {
    saveOptions->Show();
    Pump();
    TacCtrlAdapter* adapter = AdapterOf(*saveOptions);
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(adapter->Count(), 5);
    for (toolkit::TWinControl* c : std::initializer_list<toolkit::TWinControl*>{
             saveOptions->SpinEdit1, saveOptions->SpinEdit3, saveOptions->Edit1,
             saveOptions->BitBtn1, saveOptions->BitBtn2})
        EXPECT_NE(adapter->Find(c), nullptr) << c->Name();
    skin::TsSkinManager& manager = *form->sSkinManager1;
    for (toolkit::TLabel* label : {saveOptions->Label1, saveOptions->Label2, saveOptions->Label4}) {
        EXPECT_TRUE(label->Transparent()) << label->Name();
        EXPECT_EQ(label->Font().Color(), manager.GetGlobalFontColor()) << label->Name();
    }
}

TEST_F(AdaptedWindows, MainWindowGetsOnlyItsGridAdaptedUntilTheSkinGoes) {
    TacCtrlAdapter* adapter = AdapterOf(*form);
    ASSERT_NE(adapter, nullptr);
    ASSERT_EQ(adapter->Count(), 1);
    EXPECT_EQ(adapter->Items(0).Ctrl(), form->StringGrid1);
    skin::TsSkinManager& manager = *form->sSkinManager1;
    const skin::TsGeneralData& edit =
        manager.gd()[static_cast<std::size_t>(manager.FindSectionIndex("EDIT"))];
    EXPECT_EQ(form->StringGrid1->Color(), static_cast<toolkit::TColor>(edit.Color));
    EXPECT_EQ(form->StringGrid1->FixedColor(), manager.GetGlobalColor());
    manager.SetActive(false);
    Pump();
    EXPECT_EQ(form->StringGrid1->Color(), toolkit::clCream);
    EXPECT_EQ(form->StringGrid1->FixedColor(), toolkit::clSilver);
}

} // namespace
