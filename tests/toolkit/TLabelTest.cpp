// Labels: sizing to the text, transparency, and the accelerator that focuses another control.

#include "toolkit/TLabel.h"
#include "StandardControlsSupport.h"
#include "toolkit/TButton.h"
#include "toolkit/TPanel.h"

namespace toolkit::testing {
namespace {

class Labels : public StandardControlsTest {};

TEST_F(Labels, AutoSizeFollowsTextAndFontKeepingTheAlignedEdge) {
    auto* label = Add<TLabel>(form, "Label1", {100, 20, 165, 37});
    label->SetCaption("Short");
    const int shortWidth = label->Width();
    const int lineHeight = label->Height();
    EXPECT_GT(shortWidth, 10);
    EXPECT_GT(lineHeight, 5);
    EXPECT_EQ(label->Left(), 100);
    label->SetCaption("A much longer caption");
    EXPECT_GT(label->Width(), 2 * shortWidth);
    label->Font().SetHeight(-24);
    EXPECT_GT(label->Height(), lineHeight);
    // Two lines are twice as high as one; an empty caption keeps one line.
    label->Font().SetHeight(-11);
    label->SetCaption("one\ntwo");
    EXPECT_EQ(label->Height(), 2 * lineHeight);
    label->SetCaption("");
    EXPECT_EQ(label->Height(), lineHeight);
    EXPECT_GT(label->Width(), 0);

    auto* right = Add<TLabel>(form, "Label2", {100, 60, 200, 77});
    right->SetAlignment(taRightJustify);
    right->SetCaption("Right");
    const int edge = right->Left() + right->Width();
    right->SetCaption("Right aligned and longer");
    EXPECT_EQ(right->Left() + right->Width(), edge);
}

TEST_F(Labels, WordWrapKeepsTheWidthAndGrowsDownwards) {
    auto* label = Add<TLabel>(form, "Label1", {10, 10, 90, 27});
    label->SetCaption("x");
    const int lineHeight = label->Height();
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 80, lineHeight);
    label->SetWordWrap(true);
    label->SetAutoSize(true);
    label->SetCaption("several words that cannot fit on one line");
    EXPECT_EQ(label->Width(), 80);
    EXPECT_GE(label->Height(), 3 * lineHeight);
    // Without AutoSize nothing moves.
    const int wrappedHeight = label->Height();
    label->SetAutoSize(false);
    label->SetCaption("x");
    EXPECT_EQ(label->Height(), wrappedHeight);
}

TEST_F(Labels, TransparentLabelsShowTheParentOpaqueOnesTheirColour) {
    auto* panel = Add<TPanel>(form, "Panel1", {0, 0, 300, 200});
    panel->SetColor(clYellow);
    auto* opaque = Add<TLabel>(panel, "Opaque", {10, 10, 100, 30});
    opaque->SetCaption("ab");
    opaque->SetAutoSize(false);
    opaque->SetBounds(10, 10, 100, 30);
    opaque->SetParentColor(false);
    opaque->SetColor(clAqua);
    auto* clear = Add<TLabel>(panel, "Clear", {10, 50, 100, 70});
    clear->SetCaption("ab");
    clear->SetAutoSize(false);
    clear->SetBounds(10, 50, 100, 30);
    clear->SetTransparent(true);
    ShowForm();
    EXPECT_EQ(PixelAt(*opaque, {90, 25}), ColorToRGB(clAqua));
    EXPECT_EQ(PixelAt(*clear, {90, 25}), ColorToRGB(clYellow));
    EXPECT_GT(DarkPixels(*clear, {0, 0, 30, 20}), 5);
}

TEST_F(Labels, AShrinkingOpaqueLabelGivesItsOldPlaceBackToTheForm) {
    auto* label = Add<TLabel>(form, "Label1", {10, 10, 100, 30});
    label->SetParentColor(false);
    label->SetColor(clAqua);
    label->SetCaption("A long caption that gets shorter");
    ShowForm();
    const int oldRight = label->Left() + label->Width();
    ASSERT_EQ(PixelAt(*form, {oldRight - 2, 12}), ColorToRGB(clAqua));
    label->SetCaption("Short");
    Pump();
    ASSERT_LT(label->Left() + label->Width(), oldRight - 2);
    EXPECT_EQ(PixelAt(*form, {oldRight - 2, 12}), ColorToRGB(form->Color()));
}

TEST_F(Labels, LayoutPutsTheTextAtTheTopMiddleOrBottom) {
    auto* label = Add<TLabel>(form, "Label1", {10, 10, 110, 70});
    label->SetCaption("WWW");
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 60);
    ShowForm();
    EXPECT_GT(DarkPixels(*label, {0, 0, 100, 20}), 5);
    EXPECT_EQ(DarkPixels(*label, {0, 21, 100, 60}), 0);
    label->SetLayout(tlBottom);
    Pump();
    EXPECT_EQ(DarkPixels(*label, {0, 0, 100, 40}), 0);
    EXPECT_GT(DarkPixels(*label, {0, 40, 100, 60}), 5);
    label->SetLayout(tlCenter);
    Pump();
    EXPECT_EQ(DarkPixels(*label, {0, 0, 100, 18}), 0);
    EXPECT_EQ(DarkPixels(*label, {0, 42, 100, 60}), 0);
}

class LabelAccelerators : public StandardControlsTest {
protected:
    void SetUp() override {
        StandardControlsTest::SetUp();
        first = Add<TButton>(form, "First", {10, 100, 85, 125});
        target = Add<TButton>(form, "Target", {100, 100, 175, 125});
        label = Add<TLabel>(form, "Label1", {10, 10, 75, 27});
        label->SetCaption("&Name:");
        label->SetFocusControl(target);
        ShowForm();
        first->SetFocus();
        Pump();
    }
    TButton* first = nullptr;
    TButton* target = nullptr;
    TLabel* label = nullptr;
};

TEST_F(LabelAccelerators, TheAcceleratorCharacterFocusesTheFocusControl) {
    host->Text("x");
    Pump();
    EXPECT_TRUE(first->Focused());
    host->Text("N");
    Pump();
    EXPECT_TRUE(target->Focused());
    first->SetFocus();
    host->Text("n");
    Pump();
    EXPECT_TRUE(target->Focused());
}

TEST_F(LabelAccelerators, NoFocusWithoutAnAcceleratorOrATargetThatCanTakeIt) {
    label->SetCaption("&&Name");
    host->Text("n");
    Pump();
    EXPECT_TRUE(first->Focused());
    label->SetCaption("&Name");
    label->SetShowAccelChar(false);
    host->Text("n");
    Pump();
    EXPECT_TRUE(first->Focused());
    label->SetShowAccelChar(true);
    target->SetEnabled(false);
    host->Text("n");
    Pump();
    EXPECT_TRUE(first->Focused());
    // A freed focus control is forgotten, not used.
    TComponent::Free(target);
    EXPECT_EQ(label->FocusControl(), nullptr);
    host->Text("n");
    Pump();
    EXPECT_TRUE(first->Focused());
}

} // namespace
} // namespace toolkit::testing
