#include "skinned/TsBoundLabel.h"

#include <gtest/gtest.h>

#include "SkinnedPaintSupport.h"
#include "toolkit/TCustomEdit.h"

namespace {

using namespace toolkit;
using skinnedtest::Make;

class BoundLabel : public skinnedtest::SkinnedPaintTest {
protected:
    void SetUp() override {
        SkinnedPaintTest::SetUp();
        form = MakeForm();
        edit = Make<TEdit>(form, {100, 50, 180, 71});
        edit->SetName("Amount");
        data = std::make_unique<skin::TsCommonData>(edit, false);
        bound = std::make_unique<skinned::TsBoundLabel>(*data);
    }
    void TearDown() override {
        bound.reset();
        data.reset();
        SkinnedPaintTest::TearDown();
    }
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    std::unique_ptr<skin::TsCommonData> data;
    std::unique_ptr<skinned::TsBoundLabel> bound;
};

// Activation makes a label named after the control, captioned with its name when no caption was
// given, beside the control; each layout places it as its table says.
TEST_F(BoundLabel, StandsByItsControlAsTheLayoutSays) {
    bound->SetIndent(2);
    bound->SetActive(true);
    skinned::TsEditLabel* label = bound->Label();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Name(), "AmountLabel");
    EXPECT_EQ(label->Caption(), "Amount");
    EXPECT_EQ(bound->Caption(), "Amount");
    EXPECT_EQ(label->Parent(), form);
    EXPECT_EQ(label->FocusControl(), edit);
    const int w = label->Width(), h = label->Height();
    EXPECT_EQ(label->Left(), 100 - w - 2 - 4);
    EXPECT_EQ(label->Top(), 50 + (21 - h) / 2 - 1);

    bound->SetLayout(skinned::sclTopCenter);
    EXPECT_EQ(label->Left(), 100 + (80 - w) / 2);
    EXPECT_EQ(label->Top(), 50 - h - 2);
    bound->SetLayout(skinned::sclTopRight);
    EXPECT_EQ(label->Left(), 180 - w);
    EXPECT_EQ(label->Alignment(), taRightJustify);

    bound->SetMaxWidth(30);
    EXPECT_FALSE(label->AutoSize());
    EXPECT_TRUE(label->WordWrap());
    EXPECT_EQ(label->Width(), 30);
    EXPECT_EQ(label->Height(), std::max(h, 21));
}

// A larger font makes a larger label: it stands beside its control again at once.
TEST_F(BoundLabel, StandsBesideItsControlAgainAfterAFontChange) {
    bound->SetActive(true);
    skinned::TsEditLabel* label = bound->Label();
    ASSERT_NE(label, nullptr);
    const int before = label->Width();
    label->Font().SetHeight(-24);
    ASSERT_GT(label->Width(), before);
    EXPECT_EQ(label->Left(), 100 - label->Width() - 4);
    EXPECT_EQ(label->Top(), 50 + (21 - label->Height()) / 2 - 1);
}

// Deactivating frees the label; a label freed elsewhere leaves the bound label inactive.
TEST_F(BoundLabel, LetsGoOfItsLabel) {
    bound->SetActive(true);
    ASSERT_NE(bound->Label(), nullptr);
    bound->SetActive(false);
    EXPECT_EQ(bound->Label(), nullptr);
    EXPECT_EQ(form->ControlCount(), 1);

    bound->SetActive(true);
    delete bound->Label();
    EXPECT_FALSE(bound->Active());
    EXPECT_EQ(bound->Label(), nullptr);
    bound->SetCaption("Sum"); // inactive: only remembered
    EXPECT_EQ(bound->Caption(), "Sum");
}

} // namespace
