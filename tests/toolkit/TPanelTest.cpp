// Panels: the client area inside bevels and border, the bevels' colours, the caption centred
// as one block of lines.

#include "toolkit/TPanel.h"
#include "StandardControlsSupport.h"

namespace toolkit::testing {
namespace {

class Panels : public StandardControlsTest {};

TEST_F(Panels, AlignedChildrenSitInsideBevelsAndBorder) {
    struct Case {
        int bevelWidth;
        TBevelCut inner;
        int border;
        int inset;
    };
    const Case cases[] = {
        {1, bvNone, 0, 1},    // the default raised outer bevel
        {4, bvNone, 0, 4},    // the program's picture panel
        {5, bvNone, 0, 5},    // the program's text pane panel
        {2, bvLowered, 3, 7}, // outer, border, inner
    };
    for (const Case& c : cases) {
        auto* panel = Add<TPanel>(form, "Panel1", {10, 10, 210, 110});
        panel->SetBevelWidth(c.bevelWidth);
        panel->SetBevelInner(c.inner);
        panel->SetBorderWidth(c.border);
        auto* child = Add<TPanel>(panel, "Child", {0, 0, 10, 10});
        child->SetAlign(alClient);
        EXPECT_EQ(child->BoundsRect(),
                  platform::Rect(c.inset, c.inset, 200 - c.inset, 100 - c.inset))
            << "bevel width " << c.bevelWidth;
        TComponent::Free(panel);
    }
}

TEST_F(Panels, BevelsAreLightAboveAndDarkBelowWhenRaisedAndTheOtherWayWhenLowered) {
    auto* raised = Add<TPanel>(form, "Raised", {10, 10, 110, 60});
    raised->SetBevelWidth(2);
    auto* lowered = Add<TPanel>(form, "Lowered", {120, 10, 220, 60});
    lowered->SetBevelOuter(bvLowered);
    ShowForm();
    const platform::Color light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow),
                          face = ColorToRGB(clBtnFace);
    EXPECT_EQ(PixelAt(*raised, {0, 20}), light);
    EXPECT_EQ(PixelAt(*raised, {1, 20}), light);
    EXPECT_EQ(PixelAt(*raised, {2, 20}), face);
    EXPECT_EQ(PixelAt(*raised, {99, 20}), dark);
    EXPECT_EQ(PixelAt(*raised, {50, 48}), dark);
    EXPECT_EQ(PixelAt(*lowered, {0, 20}), dark);
    EXPECT_EQ(PixelAt(*lowered, {1, 20}), face);
    EXPECT_EQ(PixelAt(*lowered, {50, 49}), light);
}

TEST_F(Panels, CaptionLinesAreCentredAsOneBlock) {
    auto* one = Add<TPanel>(form, "One", {10, 10, 210, 110});
    one->SetCaption("WWW");
    auto* two = Add<TPanel>(form, "Two", {220, 10, 420, 110});
    two->SetCaption("WWW\nWWW");
    auto* none = Add<TPanel>(form, "None", {10, 120, 210, 220});
    none->SetCaption("");
    ShowForm();
    // One line: ink in the middle band only, and about as much left and right of the centre.
    EXPECT_GT(DarkPixels(*one, {0, 40, 200, 60}), 10);
    EXPECT_EQ(DarkPixels(*one, {2, 2, 198, 38}), 0);
    EXPECT_EQ(DarkPixels(*one, {2, 62, 198, 98}), 0);
    const int left = DarkPixels(*one, {2, 40, 100, 60});
    const int right = DarkPixels(*one, {100, 40, 198, 60});
    EXPECT_NEAR(left, right, left / 4 + 2);
    // Two lines: one above the centre, one below, nothing far out.
    EXPECT_GT(DarkPixels(*two, {0, 35, 200, 50}), 10);
    EXPECT_GT(DarkPixels(*two, {0, 51, 200, 66}), 10);
    EXPECT_EQ(DarkPixels(*two, {2, 2, 198, 30}), 0);
    EXPECT_EQ(DarkPixels(*two, {2, 72, 198, 98}), 0);
    EXPECT_EQ(DarkPixels(*none, {2, 2, 198, 98}), 0);
    // The block the caption fills is what the panel reports.
    const platform::Rect block = two->CaptionRect();
    EXPECT_EQ(block.top - 1, 100 - 1 - block.bottom);
}

TEST_F(Panels, AlignmentMovesTheCaptionAndAnAmpersandShowsAsItself) {
    auto* panel = Add<TPanel>(form, "Panel1", {10, 10, 210, 60});
    panel->SetCaption("W&W");
    panel->SetAlignment(taLeftJustify);
    ShowForm();
    EXPECT_GT(DarkPixels(*panel, {1, 15, 40, 35}), 10);
    EXPECT_EQ(DarkPixels(*panel, {100, 1, 199, 49}), 0);
    panel->SetAlignment(taRightJustify);
    Pump();
    EXPECT_EQ(DarkPixels(*panel, {1, 1, 100, 49}), 0);
    EXPECT_GT(DarkPixels(*panel, {160, 15, 199, 35}), 10);
    // The ampersand is drawn as a character, not turned into an underline.
    const int withAmpersand = DarkPixels(*panel, {1, 1, 199, 49});
    panel->SetCaption("WW");
    Pump();
    EXPECT_GT(withAmpersand, DarkPixels(*panel, {1, 1, 199, 49}) + 5);
}

} // namespace
} // namespace toolkit::testing
