// The skinned buttons' faces with the internal skin: states from their sections, the drop-down
// zone, the disabled look, the plain look without a skin, and the cached face kept while nothing
// changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "skin/InternalSkin.h"
#include "skin/acFast24.h"
#include "skin/sCommonPaint.h"
#include "skin/sGraphUtils.h"
#include "skin/sSkinManager.h"
#include "skinned/TsBitBtn.h"
#include "skinned/TsSpeedButton.h"
#include "tests/toolkit/StandardControlsSupport.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TImageList.h"

namespace {

using namespace toolkit;
using platform::Color;
using platform::Point;
using platform::Rect;

Color At(TBitmap& bitmap, int x, int y) {
    return skin::TacRows24(bitmap).PixelAt(x, y);
}

class SkinnedButtons : public toolkit::testing::StandardControlsTest {
protected:
    void SetUp() override {
        StandardControlsTest::SetUp();
        manager = std::make_unique<skin::TsSkinManager>();
        skin::AddInternalSkin(manager->InternalSkins());
    }
    void TearDown() override {
        manager.reset();
        StandardControlsTest::TearDown();
    }
    void ApplySkin() {
        manager->SetSkinName(skin::kInternalSkinName);
        manager->SetActive(true);
        Pump();
    }
    void Hover(TControl& c) {
        host->MouseMove(Screen(c, {2, c.Height() / 2}));
        Settle();
    }
    void Away() {
        host->MouseMove(Screen(*form, {400, 300}));
        Settle();
    }
    // Lets every cross-fade run to its end.
    void Settle() {
        Pump();
        for (int i = 0; i < 40; ++i) {
            host->Advance(10);
            Pump();
        }
    }
    // The section face alone for a state over the form's colour: what the skinned button shows
    // where neither glyph nor caption lies.
    std::unique_ptr<TBitmap> Face(TControl& c, std::int32_t state, Rect area) {
        skin::TsCommonData& data = *skin::SkinDataOf(&c);
        auto face = skin::NewBitmap24(c.Width(), c.Height());
        skin::FillRect24(*face, {0, 0, c.Width(), c.Height()}, ColorToRGB(form->Color()));
        skin::PaintControlSection(data, {}, true, 1, state, face.get(), {c.Left(), c.Top()}, area);
        return face;
    }
    std::unique_ptr<skin::TsSkinManager> manager;
};

// Points on the border and inside the face, away from the caption.
const Point kProbes[] = {{1, 1}, {3, 12}, {40, 2}, {78, 22}, {6, 6}};

TEST_F(SkinnedButtons, BitButtonPaintsNormalAndHotFacesFromItsSection) {
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    button->SetCaption("Go");
    ShowForm();
    ApplySkin();
    Away();
    ASSERT_EQ(button->SkinState(), skinned::kFaceNormal);
    const auto normal = Face(*button, 0, {0, 0, 80, 25});
    for (Point p : kProbes)
        EXPECT_EQ(PixelAt(*button, p), At(*normal, p.x, p.y)) << p.x << "," << p.y;

    Hover(*button);
    ASSERT_EQ(button->SkinState(), skinned::kFaceHot);
    const auto hot = Face(*button, 1, {0, 0, 80, 25});
    int differing = 0;
    for (Point p : kProbes) {
        EXPECT_EQ(PixelAt(*button, p), At(*hot, p.x, p.y)) << p.x << "," << p.y;
        differing += At(*hot, p.x, p.y) != At(*normal, p.x, p.y);
    }
    EXPECT_GT(differing, 0); // the hot face is a different picture
    // The caption is drawn in the section's font colour over the face.
    EXPECT_GT(DarkPixels(*button, {0, 0, 80, 25}), 0);

    Away();
    EXPECT_EQ(PixelAt(*button, {40, 2}), At(*normal, 40, 2));
}

// Held down, a bit button's caption and glyph move one pixel right and one down, as a pressed
// key does.
TEST_F(SkinnedButtons, APressedBitButtonsCaptionAndGlyphMoveOneDownAndRight) {
    auto* captioned = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    captioned->SetCaption("Go");
    auto* pictured = Add<skinned::TsBitBtn>(form, "Open", {10, 50, 90, 75});
    pictured->SetCaption("");
    pictured->SetGlyphPixels(8, 8, std::vector<std::uint8_t>(8 * 8 * 3, 0x40), 0xFF00FF);
    ShowForm();
    ApplySkin();
    for (skinned::TsBitBtn* button : {captioned, pictured}) {
        // Where the button differs from its bare section face: the content's top left corner.
        const auto contentAt = [&](std::int32_t state) {
            const auto face = Face(*button, state, {0, 0, 80, 25});
            Point first{1000, 1000};
            for (int y = 3; y < 22; ++y)
                for (int x = 3; x < 77; ++x)
                    if (PixelAt(*button, {x, y}) != At(*face, x, y)) {
                        first.x = std::min(first.x, x);
                        first.y = std::min(first.y, y);
                    }
            return first;
        };
        button->SetShowFocus(false); // a press focuses it; the dots would hide the content
        Hover(*button);
        const Point up = contentAt(skinned::kFaceHot);
        ASSERT_LT(up.x, 1000) << button->Name();
        host->MouseDown(Screen(*button, {2, 12}));
        Settle();
        ASSERT_EQ(button->SkinState(), skinned::kFacePressed);
        const Point down = contentAt(skinned::kFacePressed);
        EXPECT_EQ(down.x, up.x + 1) << button->Name();
        EXPECT_EQ(down.y, up.y + 1) << button->Name();
        host->MouseUp(Screen(*button, {2, 12}));
        Settle();
    }
}

// Aligned to the left or to the right, a glyph keeps the same margin from its own edge.
TEST_F(SkinnedButtons, LeftAndRightAlignedGlyphsStandAsFarFromTheirEdges) {
    auto* left = Add<skinned::TsBitBtn>(form, "Left", {10, 10, 90, 35});
    auto* right = Add<skinned::TsBitBtn>(form, "Right", {10, 50, 90, 75});
    for (skinned::TsBitBtn* button : {left, right}) {
        button->SetCaption("");
        button->SetGlyphPixels(8, 8, std::vector<std::uint8_t>(8 * 8 * 3, 0x40), 0xFF00FF);
        button->SetMargin(4);
    }
    left->SetAlignment(taLeftJustify);
    right->SetAlignment(taRightJustify);
    ShowForm();
    ApplySkin();
    Away();
    // The glyph's first column and the one after its last.
    const auto columns = [&](skinned::TsBitBtn& button) {
        const auto face = Face(button, 0, {0, 0, 80, 25});
        std::pair<int, int> span{1000, -1};
        for (int y = 3; y < 22; ++y)
            for (int x = 0; x < 80; ++x)
                if (PixelAt(button, {x, y}) != At(*face, x, y)) {
                    span.first = std::min(span.first, x);
                    span.second = std::max(span.second, x + 1);
                }
        return span;
    };
    const auto [leftFirst, leftEnd] = columns(*left);
    const auto [rightFirst, rightEnd] = columns(*right);
    EXPECT_EQ(leftEnd - leftFirst, 8);
    EXPECT_EQ(rightEnd - rightFirst, 8);
    EXPECT_GT(leftFirst, 4);
    EXPECT_EQ(80 - rightEnd, leftFirst);
}

TEST_F(SkinnedButtons, WithoutAnActiveSkinButtonsKeepThePlainLook) {
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    auto* tool = Add<skinned::TsSpeedButton>(form, "Tool", {10, 50, 40, 72});
    auto* plainButton = Add<TBitBtn>(form, "Plain", {100, 10, 180, 35});
    auto* plainTool = Add<TSpeedButton>(form, "PlainTool", {100, 50, 130, 72});
    ShowForm();
    for (Point p : kProbes) {
        EXPECT_EQ(PixelAt(*button, p), PixelAt(*plainButton, p));
        if (p.x < 30 && p.y < 22)
            EXPECT_EQ(PixelAt(*tool, p), PixelAt(*plainTool, p));
    }

    // Skinned and then unskinned again: back to the plain look.
    ApplySkin();
    EXPECT_NE(PixelAt(*button, {40, 2}), PixelAt(*plainButton, {40, 2}));
    manager->SetActive(false);
    Pump();
    form->Repaint();
    Pump();
    for (Point p : kProbes)
        EXPECT_EQ(PixelAt(*button, p), PixelAt(*plainButton, p));
    EXPECT_EQ(PixelAt(*tool, {1, 1}), PixelAt(*plainTool, {1, 1}));
}

// While a new skin arrives (the state is updating) a repaint shows the face kept from before,
// never the plain look in between.
TEST_F(SkinnedButtons, ButtonsKeepTheirFaceWhileTheSkinIsUpdating) {
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    auto* tool = Add<skinned::TsSpeedButton>(form, "Tool", {10, 50, 40, 72});
    ShowForm();
    ApplySkin();
    Away();
    const Color buttonFace = PixelAt(*button, {40, 2});
    const Color toolFace = PixelAt(*tool, {1, 1});
    for (TControl* c : {static_cast<TControl*>(button), static_cast<TControl*>(tool)}) {
        skin::SendCommand(*c, skin::kCmdNewSkin, 0,
                          reinterpret_cast<platform::LPARAM>(manager.get()));
        ASSERT_TRUE(skin::SkinDataOf(c)->Updating());
    }
    form->Repaint();
    Pump();
    EXPECT_EQ(PixelAt(*button, {40, 2}), buttonFace);
    EXPECT_EQ(PixelAt(*tool, {1, 1}), toolFace);
}

// A font change of the control's own (a colour written at paint, say) keeps the hot look.
TEST_F(SkinnedButtons, OwnFontChangesKeepTheHotLook) {
    auto* tool = Add<skinned::TsSpeedButton>(form, "Tool", {10, 50, 40, 72});
    ShowForm();
    ApplySkin();
    Hover(*tool);
    ASSERT_TRUE(tool->SkinData().MouseOver());
    tool->Font().SetColor(clRed);
    Pump();
    EXPECT_TRUE(tool->SkinData().MouseOver());
    EXPECT_EQ(tool->SkinState(), skinned::kFaceHot);
}

TEST_F(SkinnedButtons, DropDownZoneHasItsOwnFaceAndArrowAndShowsPressedWhileTheMenuIsOpen) {
    auto* tool = Add<skinned::TsSpeedButton>(form, "Generator", {10, 50, 33, 72});
    tool->SetButtonStyle(tbsDropDown);
    tool->OnClick = [](TObject*) {};
    ASSERT_EQ(tool->Width(), 39);
    std::unique_ptr<TBitmap> duringMenu;
    tool->OnDropDownClick = [&](TObject*) {
        tool->Repaint();
        duringMenu = skin::NewBitmap24(39, 22);
        skin::CopyBlock24(skin::TacRows24(*duringMenu), 0, 0,
                          skin::TacRows24(*tool->SkinData().CacheBmp()), {0, 0, 39, 22});
    };
    ShowForm();
    ApplySkin();
    Away();

    const Rect zone = tool->DropDownRect();
    const auto normal = Face(*tool, 0, zone);
    const auto pressed = Face(*tool, 2, zone);
    // Frame pixels of the zone, clear of the arrow in its middle.
    const Point edges[] = {{24, 1}, {37, 1}, {24, 20}, {37, 20}, {30, 2}};
    for (Point p : edges)
        EXPECT_EQ(PixelAt(*tool, p), At(*normal, p.x, p.y)) << p.x << "," << p.y;
    // The arrow: ink in the middle of the zone that the bare face does not have.
    int arrowInk = 0;
    for (int y = 8; y < 14; ++y)
        for (int x = 26; x < 37; ++x)
            arrowInk += PixelAt(*tool, {x, y}) != At(*normal, x, y);
    EXPECT_GT(arrowInk, 3);

    host->MouseMove(Screen(*tool, {30, 10}));
    host->Click(Screen(*tool, {30, 10}));
    Pump();
    ASSERT_NE(duringMenu, nullptr);
    int pressedLike = 0, normalLike = 0;
    for (Point p : edges) {
        pressedLike += At(*duringMenu, p.x, p.y) == At(*pressed, p.x, p.y);
        normalLike += At(*duringMenu, p.x, p.y) == At(*normal, p.x, p.y);
    }
    EXPECT_EQ(pressedLike, 5);
    EXPECT_LT(normalLike, 5);
    // With OnClick assigned only the zone is pressed, the button area is not.
    EXPECT_NE(At(*duringMenu, 1, 1), At(*Face(*tool, 2, tool->ContentRect()), 1, 1));
}

TEST_F(SkinnedButtons, DisabledButtonsFadeTowardWhatLiesBehind) {
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    auto* tool = Add<skinned::TsSpeedButton>(form, "Tool", {10, 50, 40, 72});
    ShowForm();
    ApplySkin();
    Away();
    const Color enabledButton = PixelAt(*button, {40, 2});
    const Color enabledTool = PixelAt(*tool, {15, 1});
    button->SetEnabled(false);
    tool->SetEnabled(false);
    Pump();
    const Color back = ColorToRGB(form->Color());
    for (auto [now, before] : {std::pair{PixelAt(*button, {40, 2}), enabledButton},
                               std::pair{PixelAt(*tool, {15, 1}), enabledTool}}) {
        ASSERT_NE(before, back);
        EXPECT_NE(now, before);
        // Each channel moved toward the form's colour.
        for (int shift : {0, 8, 16}) {
            const int n = (now >> shift) & 0xFF, b = (before >> shift) & 0xFF,
                      f = (back >> shift) & 0xFF;
            EXPECT_LE(std::abs(n - f), std::abs(b - f));
        }
    }
}

TEST_F(SkinnedButtons, CachedFaceIsReusedUntilSomethingChanges) {
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    auto* tool = Add<skinned::TsSpeedButton>(form, "Tool", {10, 50, 40, 72});
    int buttonBuilds = 0, toolBuilds = 0;
    button->OnPaint = [&](TObject*, TBitmap&) { ++buttonBuilds; };
    tool->OnPaint = [&](TObject*, TBitmap&) { ++toolBuilds; };
    ShowForm();
    ApplySkin();
    Away();
    const int afterShow = buttonBuilds, toolAfterShow = toolBuilds;
    ASSERT_GT(afterShow, 0);
    ASSERT_GT(toolAfterShow, 0);

    // A mark in the cache survives plain repaints: the face is copied, not rebuilt.
    skin::FillRect24(*button->SkinData().CacheBmp(), {40, 2, 41, 3}, 0x123456);
    button->Repaint();
    tool->Repaint();
    form->Repaint();
    Pump();
    EXPECT_EQ(buttonBuilds, afterShow);
    EXPECT_EQ(toolBuilds, toolAfterShow);
    EXPECT_EQ(PixelAt(*button, {40, 2}), 0x123456u);

    // Hot, caption, size and skin refresh each build it again.
    Hover(*button);
    EXPECT_EQ(buttonBuilds, afterShow + 1);
    EXPECT_NE(PixelAt(*button, {40, 2}), 0x123456u);
    button->SetCaption("Again");
    Pump();
    EXPECT_EQ(buttonBuilds, afterShow + 2);
    tool->SetBounds(10, 50, 34, 22);
    Pump();
    EXPECT_EQ(toolBuilds, toolAfterShow + 1);
    EXPECT_EQ(tool->SkinData().CacheBmp()->Width(), 34);
    skin::SendCommand(*tool, skin::kCmdSetHalfVisible); // only partly painted last time
    tool->Repaint();
    Pump();
    EXPECT_EQ(toolBuilds, toolAfterShow + 2);
    tool->Repaint();
    Pump();
    EXPECT_EQ(toolBuilds, toolAfterShow + 2);
    manager->RefreshControls();
    Pump();
    EXPECT_GT(buttonBuilds, afterShow + 2);
}

TEST_F(SkinnedButtons, FocusedBitButtonDotsAFrameAroundItsCaption) {
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    button->SetCaption("Go");
    button->SetAnimatEvents({});
    ShowForm();
    ApplySkin();
    button->SetFocus();
    Settle();
    ASSERT_TRUE(button->Focused());
    const Rect text = button->Placement(button->ClientRect()).text;
    const Rect mark{text.left - 2, text.top - 1, text.right + 3, text.bottom + 1};
    TBitmap& cache = *button->SkinData().CacheBmp();
    EXPECT_EQ(At(cache, mark.left, mark.top), 0u);
    EXPECT_EQ(At(cache, mark.left - 1, mark.top - 1), 0xFFFFFFu);
    EXPECT_EQ(At(cache, mark.left + 3, mark.bottom - 1), 0u);
    EXPECT_EQ(PixelAt(*button, {mark.right - 1, mark.top}), 0u);

    button->SetShowFocus(false);
    Settle();
    EXPECT_NE(At(cache, mark.left, mark.top), 0u);
}

// Hovering fades from the normal face to the hot one in the section's 20 steps of 10 ms.
TEST_F(SkinnedButtons, StateChangesCrossFadeOnTheTenMillisecondTimer) {
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    ShowForm();
    ApplySkin();
    Away();
    const Point probe{40, 2};
    const Color normal = PixelAt(*button, probe);
    const Color hot = At(*Face(*button, 1, {0, 0, 80, 25}), probe.x, probe.y);
    ASSERT_NE(normal, hot);

    host->MouseMove(Screen(*button, {2, 12}));
    Pump();
    ASSERT_NE(button->Fade(), nullptr);
    EXPECT_EQ(button->Fade()->Steps(), 20);
    for (int i = 0; i < 10; ++i) {
        host->Advance(10);
        Pump();
    }
    const Color halfway = PixelAt(*button, probe);
    EXPECT_NE(halfway, normal);
    EXPECT_NE(halfway, hot);
    for (int shift : {0, 8, 16}) { // between the two faces, channel by channel
        const int h = (halfway >> shift) & 0xFF, a = (normal >> shift) & 0xFF,
                  b = (hot >> shift) & 0xFF;
        EXPECT_LE(std::min(a, b), h);
        EXPECT_LE(h, std::max(a, b));
    }
    Settle();
    EXPECT_EQ(PixelAt(*button, probe), hot);

    // Pressing fades in half the steps; disabling ends a running fade at once.
    host->MouseDown(Screen(*button, {2, 12}));
    Pump();
    ASSERT_NE(button->Fade(), nullptr);
    EXPECT_EQ(button->Fade()->Steps(), 10);
    button->SetEnabled(false);
    Pump();
    EXPECT_EQ(button->Fade(), nullptr);
    host->MouseUp(Screen(*button, {2, 12}));
    button->SetEnabled(true);
    Settle();

    // Without the transition among its events the face changes at once.
    button->SetAnimatEvents({});
    Away();
    host->MouseMove(Screen(*button, {2, 12}));
    Pump();
    EXPECT_EQ(button->Fade(), nullptr);
    EXPECT_EQ(PixelAt(*button, probe), hot);
}

// Everything a face is drawn from is part of its key: a change of any of them builds it again,
// even when the state, size and caption stay as they were.
TEST_F(SkinnedButtons, FaceIsBuiltAgainWhenAnythingItIsDrawnFromChanges) {
    auto* images = new TImageList(form);
    images->SetSize(16, 16);
    const std::vector<std::uint8_t> red(16 * 16 * 3, 0), blue = [] {
        std::vector<std::uint8_t> b(16 * 16 * 3, 0);
        for (std::size_t i = 0; i < b.size(); i += 3)
            b[i] = 0xFF;
        return b;
    }();
    images->AddPixels(16, 16, red);
    images->AddPixels(16, 16, blue);
    auto* tool = Add<skinned::TsSpeedButton>(form, "Tool", {10, 50, 60, 76});
    tool->SetImages(images);
    tool->SetImageIndex(0);
    tool->SetCaption("T"); // spacing lies between glyph and caption
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {100, 10, 260, 41});
    int toolBuilds = 0, buttonBuilds = 0;
    tool->OnPaint = [&](TObject*, TBitmap&) { ++toolBuilds; };
    button->OnPaint = [&](TObject*, TBitmap&) { ++buttonBuilds; };
    ShowForm();
    ApplySkin();
    Away();

    const std::vector<std::pair<const char*, std::function<void()>>> toolChanges = {
        {"image index", [&] { tool->SetImageIndex(1); }},
        {"spacing", [&] { tool->SetSpacing(9); }},
        {"margin", [&] { tool->SetMargin(2); }},
        {"layout", [&] { tool->SetLayout(blGlyphRight); }},
        {"font", [&] { tool->Font().SetHeight(-20); }},
        {"blend", [&] { tool->SetBlend(30); }},
        {"alignment", [&] { tool->SetAlignment(taLeftJustify); }},
    };
    for (const auto& [what, change] : toolChanges) {
        const int before = toolBuilds;
        change();
        Pump();
        EXPECT_GT(toolBuilds, before) << what;
    }
    const std::vector<std::pair<const char*, std::function<void()>>> buttonChanges = {
        {"glyph",
         [&] {
             const std::vector<std::uint8_t> pixels(8 * 8 * 3, 0x40);
             button->SetGlyphPixels(8, 8, pixels, 0xFF00FF);
         }},
        {"number of glyphs", [&] { button->SetNumGlyphs(2); }},
        {"font colour", [&] { button->Font().SetColor(clRed); }},
        {"text offset", [&] { button->SetTextOffset(5); }},
        {"show caption", [&] { button->SetShowCaption(false); }},
    };
    for (const auto& [what, change] : buttonChanges) {
        const int before = buttonBuilds;
        change();
        Pump();
        EXPECT_GT(buttonBuilds, before) << what;
    }
}

// An image-list glyph: plain when hot or without Blend, the face showing through by Blend
// percent, grey while not hot when Grayed, and blended at one half when the button is disabled.
TEST_F(SkinnedButtons, ImageListGlyphFollowsBlendGrayedAndTheDisabledHalfBlend) {
    auto* images = new TImageList(form);
    images->SetSize(16, 16);
    std::vector<std::uint8_t> red(16 * 16 * 3, 0);
    for (std::size_t i = 2; i < red.size(); i += 3)
        red[i] = 0xFF;
    images->AddPixels(16, 16, red);
    auto* tool = Add<skinned::TsSpeedButton>(form, "Tool", {10, 50, 60, 76});
    tool->SetImages(images);
    tool->SetImageIndex(0);
    ShowForm();
    ApplySkin();
    Away();
    const auto glyphPixel = [&] {
        Pump();
        const Rect g = tool->Placement().glyph;
        return At(*tool->SkinData().CacheBmp(), g.left + 8, g.top + 8);
    };
    EXPECT_EQ(glyphPixel(), 0x0000FFu);
    tool->SetBlend(50);
    const Color blended = glyphPixel();
    EXPECT_NE(blended, 0x0000FFu);
    EXPECT_GT(platform::GetGValue(blended) + platform::GetBValue(blended), 0x20); // the face
    tool->SetBlend(0);
    tool->SetGrayed(true);
    const Color grey = glyphPixel();
    EXPECT_EQ(platform::GetRValue(grey), platform::GetGValue(grey));
    EXPECT_EQ(platform::GetGValue(grey), platform::GetBValue(grey));
    Hover(*tool);
    EXPECT_EQ(glyphPixel(), 0x0000FFu); // hot: in colour again
    tool->SetGrayed(false);
    Away();
    tool->SetEnabled(false);
    const Color disabled = glyphPixel();
    EXPECT_NE(disabled, 0x0000FFu);
    EXPECT_GT(platform::GetRValue(disabled), platform::GetGValue(disabled)); // still reddish
}

// While the left button is held on a skinned button no hint shows; releasing brings hints back.
TEST_F(SkinnedButtons, HintsStayHiddenWhileAButtonIsHeld) {
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    ShowForm();
    ApplySkin();
    app->SetShowHint(true);
    host->MouseDown(Screen(*button, {5, 5}));
    Pump();
    EXPECT_FALSE(app->ShowHint());
    host->MouseUp(Screen(*button, {5, 5}));
    Pump();
    EXPECT_TRUE(app->ShowHint());
}

// A 16 × 16 red glyph: where it shows is where the button put it.
void RedGlyph(TControl& c) {
    std::vector<std::uint8_t> red(16 * 16 * 3, 0);
    for (std::size_t i = 2; i < red.size(); i += 3)
        red[i] = 0xFF;
    if (auto* bit = dynamic_cast<TBitBtn*>(&c))
        bit->SetGlyphPixels(16, 16, red, 0xFF00FF);
    else
        dynamic_cast<TSpeedButton&>(c).SetGlyphPixels(16, 16, red, 0xFF00FF);
}

Rect RedArea(TControl& c, Rect within) {
    Rect found{1000, 1000, -1, -1};
    for (int y = within.top; y < within.bottom; ++y)
        for (int x = within.left; x < within.right; ++x)
            if (c.Visible() && At(*skin::SkinDataOf(&c)->CacheBmp(), x, y) == 0x0000FFu)
                found = {std::min(found.left, x), std::min(found.top, y),
                         std::max(found.right, x + 1), std::max(found.bottom, y + 1)};
    return found;
}

// Without DrawOverBorder a glyph reaching into the border lies under it, and the face looks as
// it does with nothing on it: the border over a face that keeps its middle.
TEST_F(SkinnedButtons, WithoutDrawOverBorderTheBorderLiesOverTheGlyph) {
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    button->SetCaption("");
    RedGlyph(*button);
    button->SetMargin(0); // the glyph starts at the left edge, on the border
    ShowForm();
    ApplySkin();
    Away();
    const Rect band{0, 0, 6, 25}; // the left border of the "BUTTON" piece
    ASSERT_LT(RedArea(*button, band).left, 3);
    button->SetDrawOverBorder(false);
    Pump();
    EXPECT_GE(RedArea(*button, band).left, 1000);
    EXPECT_LT(RedArea(*button, {6, 0, 20, 25}).left, 1000);
    const auto bare = Face(*button, 0, {0, 0, 80, 25});
    for (int y = 0; y < 25; ++y)
        for (int x = 20; x < 80; ++x)
            ASSERT_EQ(PixelAt(*button, {x, y}), At(*bare, x, y)) << x << "," << y;
}

// A caption too long for one line is measured as the lines it wraps into, so the block stays
// centred; without ShowCaption it takes no room and the glyph stands in the middle.
TEST_F(SkinnedButtons, CaptionsAreMeasuredWrappedAndTakeNoRoomWhenHidden) {
    auto* tool = Add<skinned::TsSpeedButton>(form, "Tool", {10, 50, 50, 110});
    tool->SetCaption("one two three four");
    auto* glyphed = Add<skinned::TsSpeedButton>(form, "Glyphed", {100, 50, 180, 74});
    glyphed->SetCaption("Generator");
    RedGlyph(*glyphed);
    glyphed->SetShowCaption(false);
    ShowForm();
    ApplySkin();
    Away();
    const auto bare = Face(*tool, 0, {0, 0, 40, 60});
    int first = 60, last = -1;
    for (int y = 3; y < 57; ++y)
        for (int x = 3; x < 37; ++x)
            if (PixelAt(*tool, {x, y}) != At(*bare, x, y)) {
                first = std::min(first, y);
                last = std::max(last, y);
            }
    const int lineHeight = tool->Canvas().TextHeight("Ag");
    EXPECT_GT(last - first, 2 * lineHeight);
    EXPECT_LE(std::abs((first + last) - 59), 3) << first << ".." << last;

    EXPECT_EQ(RedArea(*glyphed, {0, 0, 80, 24}), (Rect{32, 4, 48, 20}));
}

// A button hidden under the mouse is not hot when it shows again.
TEST_F(SkinnedButtons, HidingAHotButtonClearsItsHotState) {
    auto* tool = Add<skinned::TsSpeedButton>(form, "Tool", {10, 50, 40, 72});
    auto* button = Add<skinned::TsBitBtn>(form, "Convert", {10, 10, 90, 35});
    ShowForm();
    ApplySkin();
    for (TControl* c : {static_cast<TControl*>(tool), static_cast<TControl*>(button)}) {
        Hover(*c);
        ASSERT_TRUE(skin::SkinDataOf(c)->MouseOver());
        c->Hide();
        Pump();
        EXPECT_FALSE(skin::SkinDataOf(c)->MouseOver()) << c->Name();
        c->Show();
        Pump();
    }
    EXPECT_EQ(tool->SkinState(), skinned::kFaceNormal);
    EXPECT_FALSE(tool->MouseInControl());
    EXPECT_EQ(button->SkinState(), skinned::kFaceNormal);
}

} // namespace
