// Painting a control from its skin state: the section into its cache, the corner repair, the
// copy to a context, and the internal skin's sections as controls use them.

#include "skin/sCommonPaint.h"

#include <gtest/gtest.h>

#include <utility>

#include "CommonDataTestSupport.h"
#include "PaintTestSupport.h"
#include "skin/InternalSkin.h"
#include "skin/sGraphUtils.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TPanel.h"

namespace {

using namespace commondatatest;
using painttest::At;
using toolkit::TForm;

using ControlPaint = CommonDataTest;

constexpr platform::Color kGrey = 0x808080;

TEST_F(ControlPaint, SectionGoesIntoTheCacheOverTheParentBackground) {
    ApplySkin();
    TForm* form = MakeForm();
    auto* parent = Make<TSkinBox>(form, {0, 0, 60, 60}, "BOX");
    auto* child = Make<TSkinBox>(parent, {10, 10, 30, 26}, "BOX");
    skin::FillRect24(*parent->data->PrepareCache(), {0, 0, 60, 60}, kGreen);
    toolkit::TBitmap* cache = child->data->PrepareCache();
    skin::FillRect24(*cache, {0, 0, 20, 16}, kWhite);

    const skin::TsBackdropInfo behind = skin::GetParentBackground(*child);
    skin::PaintControlSection(*child->data, behind, false, 1, 0, cache, {10, 10}, {0, 0, 20, 16});
    EXPECT_EQ(At(*cache, 0, 0), kGreen); // key corner shows the parent
    EXPECT_EQ(At(*cache, 19, 15), kGreen);
    EXPECT_EQ(At(*cache, 1, 1), kBlue); // frame
    EXPECT_EQ(At(*cache, 10, 0), kBlue);
    EXPECT_EQ(At(*cache, 10, 8), kRed); // no centre: the section colour
    EXPECT_EQ(skin::ParentColor(), skin::kKeyColor);

    // A rectangle reaching outside the cache paints nothing.
    skin::FillRect24(*cache, {0, 0, 20, 16}, kWhite);
    skin::PaintControlSection(*child->data, behind, false, 1, 0, cache, {10, 10}, {0, 0, 21, 16});
    EXPECT_EQ(At(*cache, 10, 8), kWhite);
}

TEST_F(ControlPaint, SeeThroughSectionOnAParentWithoutPictureShowsItsColour) {
    ApplySkin();
    TForm* form = MakeForm();
    form->SetColor(toolkit::clYellow);
    auto* clear = Make<TSkinBox>(form, {0, 0, 20, 20}, "CLEAR");
    auto* glass = Make<TSkinBox>(form, {30, 0, 50, 20}, "GLASS");
    for (TSkinBox* box : {clear, glass}) {
        toolkit::TBitmap* cache = box->data->PrepareCache();
        skin::FillRect24(*cache, {0, 0, 20, 20}, kGrey);
        skin::PaintControlSection(*box->data, {}, true, 1, 0, cache, {0, 0}, {0, 0, 20, 20});
    }
    // Not ready: the parent stands for a flat colour, which a see-through section shows.
    EXPECT_EQ(At(*clear->data->CacheBmp(), 10, 10), kYellow);
    EXPECT_EQ(At(*glass->data->CacheBmp(), 10, 10), kYellow);
    EXPECT_EQ(skin::ParentColor(), skin::kKeyColor);
}

TEST_F(ControlPaint, RepairFrameCornersTakesWhatLiesBehind) {
    ApplySkin();
    TForm* form = MakeForm();
    auto* parent = Make<TSkinBox>(form, {0, 0, 60, 60}, "BOX");
    auto* child = Make<TSkinBox>(parent, {10, 10, 30, 30}, "BOX");
    skin::FillRect24(*parent->data->PrepareCache(), {0, 0, 60, 60}, kGreen);
    skin::FillRect24(*parent->data->CacheBmp(), {10, 10, 12, 12}, kYellow);
    toolkit::TBitmap* cache = child->data->PrepareCache();
    skin::FillRect24(*cache, {0, 0, 20, 20}, kWhite);

    skin::RepairFrameCorners(*child->data, 0, skin::kCornerTopLeft);
    EXPECT_EQ(At(*cache, 0, 0), kYellow); // the parent's pixel behind the control
    EXPECT_EQ(At(*cache, 1, 1), kBlue);
    EXPECT_EQ(At(*cache, 2, 2), kWhite); // outside the corner
    EXPECT_EQ(At(*cache, 19, 19), kWhite);
    EXPECT_EQ(At(*cache, 19, 0), kWhite);

    skin::RepairFrameCorners(*child->data, 0, skin::kAllCorners);
    EXPECT_EQ(At(*cache, 19, 19), kGreen);
    EXPECT_EQ(At(*cache, 0, 19), kGreen);
    EXPECT_EQ(At(*cache, 18, 18), kBlue);
    EXPECT_EQ(At(*cache, 10, 10), kWhite);

    // A parent without a picture gives its colour.
    auto* plain = new toolkit::TPanel(form);
    plain->SetParent(form);
    plain->SetColor(toolkit::clAqua);
    auto* onPlain = Make<TSkinBox>(plain, {0, 0, 10, 10}, "BOX");
    skin::FillRect24(*onPlain->data->PrepareCache(), {0, 0, 10, 10}, kWhite);
    skin::RepairFrameCorners(*onPlain->data, 0, skin::kCornerBottomRight);
    EXPECT_EQ(At(*onPlain->data->CacheBmp(), 9, 9), platform::Color{0xFFFF00});
    EXPECT_EQ(At(*onPlain->data->CacheBmp(), 8, 8), kBlue);
}

TEST_F(ControlPaint, PutCacheOnDCCopiesAroundGraphicChildren) {
    ApplySkin();
    TForm* form = MakeForm();
    auto* box = Make<TSkinBox>(form, {0, 0, 20, 20}, "BOX");
    Make<TSkinGlyph>(box, {5, 5, 10, 10}, "BOX");
    skin::FillRect24(*box->data->PrepareCache(), {0, 0, 20, 20}, kRed);
    auto target = painttest::Filled(40, 40, kWhite);

    skin::PutCacheOnDC(*box, *box->data, {0, 0, 20, 20}, 0, 0, false, target->DC(), {0, 0, 20, 20});
    EXPECT_EQ(At(*target, 2, 2), kRed);
    EXPECT_EQ(At(*target, 19, 19), kRed);
    EXPECT_EQ(At(*target, 7, 7), kWhite); // the graphic child paints itself there
    EXPECT_EQ(At(*target, 20, 20), kWhite);

    skin::GraphicChildrenPaintSeparately() = true;
    skin::PutCacheOnDC(*box, *box->data, {0, 0, 20, 20}, 0, 0, false, target->DC(), {0, 0, 20, 20});
    skin::GraphicChildrenPaintSeparately() = false;
    EXPECT_EQ(At(*target, 7, 7), kRed);
    EXPECT_EQ(platform::GetClipBox(target->DC()), (platform::Rect{0, 0, 40, 40}));
}

// Counts the pixels of a colour inside and outside a rectangle.
std::pair<int, int> CountColor(toolkit::TBitmap& bitmap, platform::Color color,
                               const platform::Rect& inside) {
    int in = 0, out = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (At(bitmap, x, y) == color)
                (inside.Contains({x, y}) ? in : out) += 1;
    return {in, out};
}

TEST_F(ControlPaint, ContourTextUsesTheSectionFontColourUnlessCustom) {
    ApplySkin();
    TForm* form = MakeForm();
    auto* edit = Make<TSkinBox>(form, {0, 0, 60, 20}, "EDIT", skin::kTypeEdit);
    edit->Font().SetHeight(-16);
    auto target = painttest::Filled(80, 40, kWhite);
    const platform::Rect rect{4, 4, 40, 24};
    skin::DrawContourText(target->Canvas(), "WWW", true, false, *edit->data, 0, rect);
    const auto [in, out] = CountColor(*target, kRed, rect);
    EXPECT_GT(in, 10);
    EXPECT_EQ(out, 0);

    edit->data->SetCustomFont(true);
    edit->Font().SetColor(toolkit::clBlue);
    skin::FillRect24(*target, {0, 0, 80, 40}, kWhite);
    skin::DrawContourText(target->Canvas(), "WWW", true, false, *edit->data, 0, rect);
    EXPECT_GT(CountColor(*target, kBlue, rect).first, 10);
    EXPECT_EQ(CountColor(*target, kRed, rect).first, 0);
}

class InternalSkinPaint : public toolkit::testing::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        manager = std::make_unique<skin::TsSkinManager>();
        skin::AddInternalSkin(manager->InternalSkins());
        manager->SetSkinName(skin::kInternalSkinName);
    }
    void TearDown() override {
        manager.reset();
        ToolkitTest::TearDown();
    }
    std::unique_ptr<skin::TsSkinManager> manager;
};

TEST_F(InternalSkinPaint, PanelAndEditSectionsPaintTheirLook) {
    TForm* form = MakeForm();
    auto* panel = new TSkinBox(form, "PANEL", skin::kTypePanel);
    panel->SetBoundsRect({0, 0, 100, 100});
    panel->SetParent(form);
    auto* edit = new TSkinBox(panel, "EDIT", skin::kTypeEdit);
    edit->SetBoundsRect({10, 10, 60, 31});
    edit->SetParent(panel);
    ASSERT_TRUE(panel->data->Skinned(true));
    ASSERT_TRUE(edit->data->Skinned(true));

    // The panel's vertical gradient (top 15984858 toward 13808000), unblended: no parent picture.
    toolkit::TBitmap* panelCache = panel->data->PrepareCache();
    skin::PaintControlSection(*panel->data, {}, true, 1, 0, panelCache, {0, 0}, {0, 0, 100, 100});
    const platform::Color top = At(*panelCache, 50, 3), middle = At(*panelCache, 50, 50);
    EXPECT_LE(painttest::Distance(top, 15984858), 12) << std::hex << top;
    EXPECT_LE(painttest::Distance(middle, skin::MixColors(15984858, 13808000, 0.5)), 12)
        << std::hex << middle;

    // The edit inside: white, its frame drawn, the panel showing nowhere in the middle.
    toolkit::TBitmap* editCache = edit->data->PrepareCache();
    skin::PaintControlSection(*edit->data, skin::GetParentBackground(*edit), false, 1, 0, editCache,
                              {10, 10}, {0, 0, 50, 21});
    EXPECT_EQ(At(*editCache, 25, 10), kWhite);
    EXPECT_NE(At(*editCache, 25, 0), kWhite);
}

// A gradient panel is a background its see-through children depend on; an opaque edit depends
// on it only while disabled.
TEST_F(InternalSkinPaint, ChildrenDependOnAPanelWithAGradient) {
    TForm* form = MakeForm();
    auto* panel = new TSkinBox(form, "PANEL", skin::kTypePanel);
    panel->SetBoundsRect({0, 0, 100, 100});
    panel->SetParent(form);
    auto* button = new TSkinGlyph(panel, "BUTTON", skin::kTypeBitBtn);
    button->SetBoundsRect({10, 10, 60, 30});
    button->SetParent(panel);
    auto* edit = new TSkinBox(panel, "EDIT", skin::kTypeEdit);
    edit->SetBoundsRect({10, 40, 60, 60});
    edit->SetParent(panel);
    form->Show();
    Pump();

    EXPECT_EQ(skin::SendCommand(*panel, skin::kCmdDependsOnYou), 1);
    EXPECT_TRUE(button->data->DependsOnParent());
    EXPECT_FALSE(edit->data->DependsOnParent());
    edit->SetEnabled(false);
    EXPECT_TRUE(edit->data->DependsOnParent());

    button->data->SetBackgroundChanged(false);
    skin::SendCommand(*button, skin::kCmdBackgroundChanged);
    EXPECT_TRUE(skin::CommandFlag());
    EXPECT_TRUE(button->data->BackgroundChanged());
}

} // namespace
