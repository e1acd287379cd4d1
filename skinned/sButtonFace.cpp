#include "skinned/sButtonFace.h"

#include <algorithm>

#include "skin/SkinModel.h"
#include "skin/sCommonData.h"
#include "skin/sCommonPaint.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sSkinManager.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TControl.h"
#include "toolkit/TWinControl.h"

namespace skinned {

namespace {

constexpr const char* kArrowSection = "SCROLLBTNBOTTOM";

platform::Color ParentRGB(const toolkit::TControl& control) {
    const toolkit::TWinControl* parent = control.Parent();
    return toolkit::ColorToRGB(parent ? parent->Color() : control.Color()) & 0xFFFFFF;
}

} // namespace

std::int32_t FaceStateIndex(bool pressed, bool hot) {
    if (pressed)
        return kFacePressed;
    return hot ? kFaceHot : kFaceNormal;
}

bool CommandRebuildsFace(std::uint16_t command) {
    switch (command) {
    case skin::kCmdNewSkin:
    case skin::kCmdSkinRemoved:
    case skin::kCmdRefresh:
    case skin::kCmdSectionChanged:
        return true;
    default:
        return false;
    }
}

void PaintButtonBackdrop(toolkit::TBitmap& cache, const toolkit::TControl& control,
                         const skin::TsBackdropInfo& parent) {
    const skin::TacRows24 rows(cache);
    const platform::Rect all{0, 0, cache.Width(), cache.Height()};
    if (parent.Ready && parent.Bmp) {
        skin::TsBackdropInfo behind = parent;
        behind.X += control.Left();
        behind.Y += control.Top();
        skin::CopyParentArea(rows, all, behind);
        return;
    }
    skin::FillRect24(rows, all, ParentRGB(control));
}

void PaintButtonContent(toolkit::TBitmap& cache, skin::TsCommonData& data,
                        toolkit::TButtonGlyph& glyph, toolkit::TButtonState glyphState,
                        toolkit::TButtonPlacement placement, const std::string& caption,
                        unsigned captionFlags, bool enabled, bool hot, bool pressed) {
    if (pressed) {
        placement.glyph = placement.glyph.Offset(1, 1);
        placement.text = placement.text.Offset(1, 1);
    }
    toolkit::TCanvas& canvas = cache.Canvas();
    if (!glyph.Empty())
        glyph.Draw(canvas, {placement.glyph.left, placement.glyph.top}, glyphState);
    if (caption.empty())
        return;
    if (const toolkit::TControl* control = data.OwnerControl())
        canvas.Font().Assign(&control->Font());
    // A little room on both sides keeps contour copies and italic overhangs inside.
    const platform::Rect text{placement.text.left - 1, placement.text.top, placement.text.right + 2,
                              placement.text.bottom};
    skin::DrawContourText(canvas, caption, enabled, hot, data, captionFlags, text);
}

void PaintDropDownArrow(toolkit::TBitmap& cache, skin::TsSkinManager& manager,
                        std::int32_t dropDownWidth, std::int32_t state) {
    const std::int32_t section = manager.FindSectionIndex(kArrowSection);
    const std::int32_t index = manager.FindPieceIndex(section, kArrowSection, "GLYPHMASK");
    if (index < 0 || static_cast<std::size_t>(index) >= manager.ma().size())
        return;
    const skin::TsMaskData& arrow = manager.ma()[static_cast<std::size_t>(index)];
    const std::int32_t frames = std::max<std::int32_t>(1, arrow.ImageCount);
    const std::int32_t w = skin::PieceWidth(arrow) / frames;
    const std::int32_t h = skin::PieceHeight(arrow) / (arrow.MaskType + 1);
    const std::int32_t x = cache.Width() - dropDownWidth + (dropDownWidth - w) / 2 + 1;
    const std::int32_t y = (cache.Height() - h) / 2;
    skin::DrawGlyphPiece(skin::TacRows24(cache), {x, y}, state, arrow, 1);
}

void PaintButtonDisabled(toolkit::TBitmap& cache, const toolkit::TControl& control,
                         const skin::TsBackdropInfo& parent) {
    skin::PaintDisabledLook(cache, skin::kDisabledFade, ParentRGB(control),
                            {control.Left(), control.Top()}, parent);
}

void PaintFocusDots(toolkit::TBitmap& cache, const platform::Rect& rect) {
    const skin::TacRows24 rows(cache);
    const auto dot = [&](std::int32_t x, std::int32_t y) {
        skin::FillRect24(rows, {x - 1, y - 1, x, y}, 0xFFFFFF);
        skin::FillRect24(rows, {x, y, x + 1, y + 1}, 0);
    };
    for (std::int32_t i = 0; i <= rect.Width() / 3; ++i) {
        dot(rect.left + i * 3, rect.top);
        dot(rect.left + i * 3, rect.bottom - 1);
    }
    for (std::int32_t j = 0; j <= rect.Height() / 3; ++j) {
        dot(rect.left, rect.top + j * 3);
        dot(rect.right - 1, rect.top + j * 3);
    }
}

} // namespace skinned
