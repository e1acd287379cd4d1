#include "skinned/TsPanel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "SkinnedPaintSupport.h"
#include "skin/sCommonPaint.h"
#include "skinned/TsLabelFX.h"
#include "toolkit/TPanel.h"

namespace {

using namespace toolkit;
using skinnedtest::BitmapPixel;
using skinnedtest::Make;
using skinnedtest::TDot;

class SkinnedPanel : public skinnedtest::SkinnedPaintTest {
protected:
    void SetUp() override {
        SkinnedPaintTest::SetUp();
        form = MakeForm();
        panel = Make<skinned::TsPanel>(form, {10, 10, 130, 80});
        panel->SetCaption("");
    }
    void Show() {
        form->Show();
        Pump();
    }
    // The panel's section painted afresh over the same (plain) parent, as the panel should look
    // without its caption.
    std::unique_ptr<TBitmap> Reference() {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetPixelFormat(TPixelFormat::pf24bit);
        bitmap->SetSize(panel->Width(), panel->Height());
        skin::PaintControlSection(panel->SkinData(), skin::GetParentBackground(*panel), true, 1, 0,
                                  bitmap.get(), {panel->Left(), panel->Top()},
                                  {0, 0, panel->Width(), panel->Height()});
        return bitmap;
    }
    TForm* form = nullptr;
    skinned::TsPanel* panel = nullptr;
};

// The screen shows the panel's cache, and the cache is the PANEL section of the internal skin:
// its vertical gradient and its borders, no classic bevel.
TEST_F(SkinnedPanel, ShowsThePanelSectionOfTheSkin) {
    Show();
    ASSERT_TRUE(panel->SkinData().Skinned(true));
    auto reference = Reference();
    for (platform::Point p :
         {platform::Point{0, 0}, {60, 2}, {60, 35}, {60, 68}, {119, 69}, {1, 35}, {118, 35}}) {
        EXPECT_EQ(PixelAt(*panel, p), BitmapPixel(*reference, p.x, p.y)) << p.x << "," << p.y;
        EXPECT_EQ(PixelAt(*panel, p), BitmapPixel(*panel->SkinData().CacheBmp(), p.x, p.y));
    }
    EXPECT_NE(PixelAt(*panel, {60, 5}), PixelAt(*panel, {60, 64})); // the gradient shows
    EXPECT_NE(PixelAt(*panel, {60, 35}), ColorToRGB(clBtnFace));
    EXPECT_FALSE(panel->SkinData().BackgroundChanged());
}

// The caption stands in one line's height centred vertically: a second line is cut off, and the
// rows outside that band keep the section's pixels.
TEST_F(SkinnedPanel, DrawsTheCaptionInOneCentredLine) {
    panel->Font().SetColor(clBlack);
    panel->SetCaption("WWW\nWWW");
    Show();
    auto reference = Reference();
    const int h = panel->SkinData().CacheBmp()->Canvas().TextHeight("W");
    const int top = panel->Height() / 2 - h / 2 - 1, bottom = top + h + 2;
    int inBand = 0, outside = 0;
    for (int y = 0; y < panel->Height(); ++y)
        for (int x = 0; x < panel->Width(); ++x) {
            const bool differs = PixelAt(*panel, {x, y}) != BitmapPixel(*reference, x, y);
            if (y >= top && y < bottom)
                inBand += differs;
            else
                outside += differs;
        }
    EXPECT_GT(inBand, 10);
    EXPECT_EQ(outside, 0);
}

// A caption, its alignment or its font changed after the panel was painted shows at once: the
// kept face is not reused, and the caption taken away leaves the bare section.
TEST_F(SkinnedPanel, ACaptionChangedAfterPaintingShowsAtOnce) {
    panel->Font().SetColor(clBlack);
    Show();
    auto reference = Reference();
    struct Ink {
        int count = 0, left = INT_MAX, right = -1;
    };
    const auto ink = [&] {
        Ink out;
        for (int y = 0; y < panel->Height(); ++y)
            for (int x = 0; x < panel->Width(); ++x)
                if (PixelAt(*panel, {x, y}) != BitmapPixel(*reference, x, y)) {
                    ++out.count;
                    out.left = std::min(out.left, x);
                    out.right = std::max(out.right, x);
                }
        return out;
    };
    ASSERT_EQ(ink().count, 0);
    panel->SetCaption("WWW");
    Pump();
    const Ink centred = ink();
    EXPECT_GT(centred.count, 10) << "the new caption does not show";
    EXPECT_NEAR(centred.left, panel->Width() - 1 - centred.right, 2);
    panel->SetAlignment(taLeftJustify);
    Pump();
    EXPECT_LT(ink().left, 4) << "the caption stays centred";
    panel->Font().SetSize(panel->Font().Size() * 2);
    Pump();
    EXPECT_GT(ink().count, 2 * centred.count) << "the caption keeps its old font";
    panel->SetCaption("");
    Pump();
    EXPECT_EQ(ink().count, 0) << "the old caption stays";
}

// OnPaint runs on the cache after the skin, once per rebuild; the next paint copies the cache.
TEST_F(SkinnedPanel, OnPaintDrawsIntoTheCache) {
    int calls = 0;
    panel->OnPaint = [&](TObject* sender, TCanvas& canvas) {
        ++calls;
        EXPECT_EQ(sender, panel);
        platform::FillRect(canvas.Handle(), {5, 5, 9, 9}, 0x00FF00);
    };
    Show();
    EXPECT_EQ(PixelAt(*panel, {6, 6}), 0x00FF00u);
    const int after = calls;
    EXPECT_GE(after, 1);
    panel->Invalidate();
    Pump();
    EXPECT_EQ(calls, after);
    EXPECT_EQ(PixelAt(*panel, {6, 6}), 0x00FF00u);
}

// Graphic children are composed over the cached background: what they leave alone shows the
// section, what they paint shows over it; an effect label draws over it too.
TEST_F(SkinnedPanel, PaintsGraphicChildrenOverTheSkinnedBackground) {
    auto* dot = Make<TDot>(panel, {20, 20, 40, 30});
    auto* label = Make<skinned::TsLabelFX>(panel, {60, 20, 100, 40});
    label->SetAutoSize(false);
    label->SetCaption("Hi");
    Show();
    auto reference = Reference();
    EXPECT_GE(dot->paints, 1);
    EXPECT_EQ(PixelAt(*panel, {30, 25}), 0x0000FFu);
    EXPECT_EQ(PixelAt(*panel, {21, 21}), BitmapPixel(*reference, 21, 21));
    EXPECT_EQ(PixelAt(*panel, {38, 28}), BitmapPixel(*reference, 38, 28));
    // The label's text shows, and beyond its text and shadow the panel's background (it is
    // transparent; the shadow's blend keeps 255/256 of what lies under the label).
    int differs = 0;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
        for (int x = label->Left(); x < label->Left() + label->Width(); ++x)
            differs += PixelAt(*panel, {x, y}) != BitmapPixel(*reference, x, y);
    EXPECT_GT(differs, 5);
    const platform::Color under = PixelAt(*panel, {99, 39}),
                          expected = BitmapPixel(*reference, 99, 39);
    for (int shift = 0; shift < 24; shift += 8)
        EXPECT_NEAR((under >> shift) & 0xFF, (expected >> shift) & 0xFF, 1) << std::hex << under;

    dot->SetVisible(false);
    Pump();
    EXPECT_EQ(PixelAt(*panel, {30, 25}), BitmapPixel(*reference, 30, 25));
}

// Without an active skin the panel is the plain panel, pixel for pixel, and OnPaint then paints
// instead of the plain look on the panel's own canvas.
TEST_F(SkinnedPanel, FallsBackToThePlainPanelWithoutASkin) {
    manager->SetActive(false);
    panel->SetCaption("Text");
    auto* plain = Make<TPanel>(form, {10, 100, 130, 170});
    plain->SetCaption("Text");
    Show();
    for (int y = 0; y < 70; y += 3)
        for (int x = 0; x < 120; x += 3)
            ASSERT_EQ(PixelAt(*panel, {x, y}), PixelAt(*plain, {x, y})) << x << "," << y;

    panel->OnPaint = [](TObject*, TCanvas& canvas) {
        platform::FillRect(canvas.Handle(), {0, 0, 120, 70}, 0x00FF00);
    };
    panel->Invalidate();
    Pump();
    EXPECT_EQ(PixelAt(*panel, {1, 1}), 0x00FF00u); // no bevel drawn over it

    panel->OnPaint = nullptr;
    manager->SetActive(true);
    Pump();
    EXPECT_TRUE(panel->SkinData().Skinned(true));
    EXPECT_EQ(PixelAt(*panel, {60, 60}), BitmapPixel(*Reference(), 60, 60));
}

// The mouse events fire for the panel's own enter and leave, not for a child's.
TEST_F(SkinnedPanel, ReportsItsOwnMouseEnterAndLeave) {
    int enters = 0, leaves = 0;
    panel->OnMouseEnter = [&](TObject*) { ++enters; };
    panel->OnMouseLeave = [&](TObject*) { ++leaves; };
    auto* dot = Make<TDot>(panel, {20, 20, 40, 30});
    panel->Perform(CM_MOUSEENTER, 0, 0);
    panel->Perform(CM_MOUSEENTER, 0, reinterpret_cast<platform::LPARAM>(dot));
    panel->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(panel->Perform(kLibraryCommandMessage, skin::MakeCommand(skin::kCmdAreYouSkinned), 0),
              1);
}

// The panel hands the manager's commands to its children itself; the manager's broadcast stops
// at the panel, so a child of nested panels hears each command once.
TEST_F(SkinnedPanel, PassesTheManagersCommandsToItsChildrenOnce) {
    class TListener : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;
        void WndProc(TMessage& m) override {
            if (m.Msg == kLibraryCommandMessage)
                heard.push_back(skin::CommandOf(m.WParam));
            TCustomControl::WndProc(m);
        }
        std::vector<std::uint16_t> heard;
    };
    auto* inner = Make<skinned::TsPanel>(panel, {5, 5, 60, 40});
    auto* child = Make<TListener>(inner, {2, 2, 20, 20});
    manager->SetActive(false);
    child->heard.clear();
    manager->SetActive(true);
    EXPECT_EQ(child->heard, (std::vector<std::uint16_t>{skin::kCmdNewSkin, skin::kCmdBeforeRefresh,
                                                        skin::kCmdRefresh}));
    manager->SetActive(false);
    EXPECT_EQ(child->heard.back(), skin::kCmdSkinRemoved);
    EXPECT_EQ(child->heard.size(), 4u);
}

// A refresh reaches the children before the panel repaints over them.
TEST_F(SkinnedPanel, RefreshReachesTheChildrenBeforeThePanelRepaints) {
    class TListener : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;
        void WndProc(TMessage& m) override {
            if (m.Msg == kLibraryCommandMessage && skin::CommandOf(m.WParam) == skin::kCmdRefresh)
                refreshed = true;
            TCustomControl::WndProc(m);
        }
        bool refreshed = false;
    };
    auto* child = Make<TListener>(panel, {5, 5, 60, 40});
    Show();
    std::vector<bool> childRefreshed;
    panel->OnPaint = [&](TObject*, TCanvas&) { childRefreshed.push_back(child->refreshed); };
    skin::SendCommand(*panel, skin::kCmdRefresh, 0,
                      reinterpret_cast<platform::LPARAM>(manager.get()));
    ASSERT_FALSE(childRefreshed.empty());
    EXPECT_TRUE(childRefreshed.front());
}

// A graphic child's paint may free a sibling that the same paint was about to compose: the
// freed one is skipped, the others still show.
TEST_F(SkinnedPanel, AChildFreedByAnotherChildsPaintIsSkipped) {
    class TFreeing : public TDot {
    public:
        using TDot::TDot;
        TControl* victim = nullptr;

    protected:
        void Paint() override {
            TDot::Paint();
            if (TControl* v = std::exchange(victim, nullptr))
                TComponent::Free(v);
        }
    };
    auto* first = Make<TFreeing>(panel, {5, 5, 25, 25});
    auto* second = Make<TDot>(panel, {30, 5, 50, 25});
    auto* third = Make<TDot>(panel, {55, 5, 75, 25});
    first->victim = second;
    Show();
    EXPECT_EQ(panel->ControlCount(), 2);
    EXPECT_GT(third->paints, 0);
    EXPECT_EQ(PixelAt(*third, {10, 10}), 0x0000FFu);
}

} // namespace
