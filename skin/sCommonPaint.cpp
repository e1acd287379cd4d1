#include "skin/sCommonPaint.h"

#include <algorithm>
#include <optional>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/text/TextDraw.h"
#include "platform/win/Paint.h"
#include "skin/SkinModel.h"
#include "skin/sCommonData.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skin/sSkinManager.h"
#include "toolkit/Colors.h"
#include "toolkit/Int32.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TControl.h"
#include "toolkit/TWinControl.h"

namespace skin {
namespace {

using I64 = std::int64_t;

platform::Color Rgb(std::int32_t color) {
    return toolkit::ColorToRGB(static_cast<toolkit::TColor>(color)) & 0xFFFFFF;
}

TsBackdropInfo Shifted(const TsBackdropInfo& p, std::int32_t dx, std::int32_t dy) {
    return {p.Bmp, toolkit::int32::Add(p.X, dx), toolkit::int32::Add(p.Y, dy), p.Ready};
}

const TsMaskData* Piece(TsSkinManager& m, std::int32_t index) {
    return m.IsValidImgIndex(index) ? &m.ma()[static_cast<std::size_t>(index)] : nullptr;
}

// A state image's size as the glyph drawing measures it.
platform::Size GlyphSize(const TsMaskData& m) {
    const I64 count = std::max<I64>(m.ImageCount, 1);
    const I64 parts = std::max<I64>(m.MaskType, 0) + 1;
    return {static_cast<std::int32_t>(I64{PieceWidth(m)} / count),
            static_cast<std::int32_t>(I64{PieceHeight(m)} / parts)};
}

// Corner widths as the nine-part frame uses them before it shrinks them to a small target.
std::int32_t Width(std::int16_t explicitWidth, std::int16_t borderWidth, I64 fallback) {
    if (explicitWidth > 0)
        return explicitWidth;
    if (borderWidth > 0)
        return borderWidth;
    return static_cast<std::int32_t>(std::clamp<I64>(fallback, 0, INT32_MAX));
}

} // namespace

void PaintControlSection(TsCommonData& data, const TsBackdropInfo& parent, bool fillCentre,
                         std::int32_t copyMode, std::int32_t state, toolkit::TBitmap* target,
                         platform::Point position, const platform::Rect& rect) {
    PaintControlSection(data, parent,
                        fillCentre ? TacFrameParts::kEdgesAndCentre : TacFrameParts::kEdges,
                        copyMode, state, target, position, rect);
}

void PaintControlSection(TsCommonData& data, const TsBackdropInfo& parent, TacFrameParts border,
                         std::int32_t copyMode, std::int32_t state, toolkit::TBitmap* target,
                         platform::Point position, const platform::Rect& rect) {
    const bool fillCentre = border != TacFrameParts::kEdges;
    TsSkinManager* m = data.Manager();
    if (!target || !m || !m->IsValidSkinIndex(data.SectionIndex()))
        return;
    if (rect.left < 0 || rect.top < 0 || rect.right > target->Width() ||
        rect.bottom > target->Height())
        return;
    toolkit::TControl* control = data.OwnerControl();
    if (!parent.Ready) {
        if (control && control->Parent())
            SetParentColor(toolkit::ColorToRGB(control->Parent()->Color()) & 0xFFFFFF);
    } else if (control && !data.DependsOnParent() && ParentColor() == kKeyColor) {
        const platform::Color asked = GetParentColor(*control);
        if (asked != kKeyColor)
            SetParentColor(asked);
    }

    TsSectionPaint paint;
    paint.SectionIndex = data.SectionIndex();
    paint.SectionName = data.SkinSection();
    paint.Parent = parent;
    paint.CustomColor = data.CustomColor() && control
                            ? toolkit::ColorToRGB(control->Color()) & 0xFFFFFF
                            : kKeyColor;
    paint.HotTextureIndex = data.HotTextureIndex();
    paint.TextureIndex = data.TextureIndex();
    paint.Manager = m;
    paint.Position = position;
    paint.State = state;
    paint.FillCentre = fillCentre;
    PaintSectionBackground(paint, *target, rect);

    const TacRows24 rows(*target);
    if (const TsMaskData* piece = Piece(*m, data.BorderIndex()))
        DrawFramePiece(rows, rect, border, copyMode, state, *piece,
                       Shifted(parent, position.x, position.y));
    ResetParentColor();

    const std::string& name = data.SkinSection();
    const auto glyph = [&](const char* key, auto place) {
        const TsMaskData* piece = Piece(*m, m->FindPieceIndex(data.SectionIndex(), name, key));
        if (piece)
            DrawGlyphPiece(rows, place(GlyphSize(*piece)), state, *piece, 1);
    };
    glyph("IMGTOPLEFT", [&](platform::Size) { return platform::Point{rect.left, rect.top}; });
    glyph("IMGTOPRIGHT", [&](platform::Size s) {
        return platform::Point{rect.right - s.cx, rect.top};
    });
    glyph("IMGBTMLEFT", [&](platform::Size s) { return platform::Point{0, rect.bottom - s.cy}; });
    glyph("IMGBTMRIGHT", [&](platform::Size s) {
        return platform::Point{rect.right - s.cx, rect.bottom - s.cy};
    });
}

void RepairFrameCorners(TsCommonData& data, std::int32_t state, std::int32_t corners) {
    TsSkinManager* m = data.Manager();
    toolkit::TBitmap* cache = data.CacheBmp();
    if (!m || !cache || cache->Empty())
        return;
    const TsMaskData* found = Piece(*m, data.BorderIndex());
    if (!found)
        return;
    TsMaskData piece = *found;
    if (piece.Image && piece.ImageCount <= 0) {
        piece.ImageCount = 3;
        piece.MaskType = 1;
    }
    const platform::Size image = GlyphSize(piece);
    const I64 parts = std::max<I64>(piece.MaskType, 0) + 1;
    const std::int32_t wl = Width(piece.WL, piece.BorderWidth, I64{image.cx} / 3);
    const std::int32_t wr = Width(piece.WR, piece.BorderWidth, I64{image.cx} / 3);
    const std::int32_t wt = Width(piece.WT, piece.BorderWidth, I64{PieceHeight(piece)} / parts / 3);
    const std::int32_t wb = Width(piece.WB, piece.BorderWidth, I64{PieceHeight(piece)} / parts / 3);

    // What lies behind the control: the parent's cache at the control's place, else its colour.
    TsBackdropInfo parent;
    platform::Color parentColor = kKeyColor;
    if (toolkit::TControl* control = data.OwnerControl()) {
        parent = GetParentBackground(*control);
        if (parent.Ready && parent.Bmp && !parent.Bmp->Empty())
            parent = Shifted(parent, control->Left(), control->Top());
        else {
            parent = {};
            parentColor = GetParentColor(*control);
            if (parentColor == kKeyColor && control->Parent())
                parentColor = toolkit::ColorToRGB(control->Parent()->Color()) & 0xFFFFFF;
        }
    }

    const TacRows24 rows(*cache);
    const std::int32_t w = rows.width, h = rows.height;
    const platform::Rect areas[4] = {
        {0, 0, wl, wt},         // top left
        {0, h - wb, wl, h},     // bottom left
        {w - wr, 0, w, wt},     // top right
        {w - wr, h - wb, w, h}, // bottom right
    };
    const std::int32_t flags[4] = {kCornerTopLeft, kCornerBottomLeft, kCornerTopRight,
                                   kCornerBottomRight};
    for (int i = 0; i < 4; ++i) {
        if ((corners & flags[i]) == 0)
            continue;
        platform::Point origin;
        const TacRows24 corner = SubRows(rows, areas[i], origin);
        if (corner.Empty())
            continue;
        const TsBackdropInfo here = Shifted(parent, origin.x, origin.y);
        if (here.Ready)
            CopyParentArea(corner, corner.Bounds(), here);
        else if (parentColor != kKeyColor)
            FillRect24(corner, corner.Bounds(), parentColor);
        // The whole frame drawn into a view of just this corner leaves everything else alone.
        const platform::Rect whole{-origin.x, -origin.y, w - origin.x, h - origin.y};
        DrawFramePiece(corner, whole, false, 1, state, piece, here);
    }
}

void DrawContourText(toolkit::TCanvas& canvas, const std::string& text, bool enabled, bool hot,
                     TsCommonData& data, unsigned format, const platform::Rect& rect) {
    toolkit::TControl* control = data.OwnerControl();
    if (control)
        canvas.Font().Assign(&control->Font());
    const TsGeneralData* gd = data.Section();
    if (hot && gd && data.SkinSection() == "WEBBUTTON")
        canvas.Font().SetStyle(canvas.Font().Style() +
                               toolkit::TFontStyles{toolkit::TFontStyle::fsUnderline});
    platform::DeviceContext& dc = canvas.Handle();
    platform::DcStateGuard guard(dc);
    platform::IntersectClipRect(dc, rect);
    canvas.Brush().SetStyle(toolkit::TBrushStyle::bsClear);
    const auto draw = [&](platform::Color color, std::int32_t dx, std::int32_t dy, unsigned extra) {
        canvas.Font().SetColor(color);
        platform::Rect r = RectOf64(I64{rect.left} + dx, I64{rect.top} + dy, I64{rect.right} + dx,
                                    I64{rect.bottom} + dy);
        canvas.DrawText(text, r, format | extra);
    };
    const bool skinned = gd && data.Skinned();
    platform::Color color = canvas.Font().Color();
    if (!enabled) {
        // A font colour of -1 is one the skin does not define: the control's own stands in.
        const platform::Color font = gd && gd->FontColor[0] != -1 ? Rgb(gd->FontColor[0]) : color;
        draw(skinned ? MixColors(font, Rgb(gd->Color), 0.4)
                     : toolkit::ColorToRGB(toolkit::clGrayText) & 0xFFFFFF,
             0, 0, 0);
        return;
    }
    if (skinned && !data.CustomFont()) {
        const TsFontColors& colors = hot ? gd->HotFontColor : gd->FontColor;
        constexpr std::int32_t kShift[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
        for (int side = 0; side < 4; ++side)
            if (colors[side + 1] != -1)
                draw(Rgb(colors[side + 1]), kShift[side][0], kShift[side][1], 0);
        if (colors[0] != -1)
            color = Rgb(colors[0]);
    }
    draw(color, 0, 0, platform::DT_NOCLIP);
}

namespace {

// A windowed child shaped by a window region covers only its shape: what lies outside it (the
// corners of a rounded button) shows the container, so the container paints it.
void ExcludeChildShape(platform::DeviceContext& dc, const toolkit::TControl& child,
                       const platform::Rect& bounds) {
    const auto* windowed = dynamic_cast<const toolkit::TWinControl*>(&child);
    std::optional<platform::Region> shape;
    if (windowed && windowed->HandleAllocated())
        shape = platform::GetWindowRgn(windowed->HandleIfAllocated());
    if (!shape) {
        platform::ExcludeClipRect(dc, bounds);
        return;
    }
    shape->Offset(bounds.left, bounds.top);
    for (const platform::Rect& part : shape->Rects())
        platform::ExcludeClipRect(dc, part.Intersect(bounds));
}

} // namespace

void PutCacheOnDC(toolkit::TControl& control, TsCommonData& data, const platform::Rect& source,
                  std::int32_t dy, std::int32_t dx, bool repairCorners, platform::DeviceContext& dc,
                  const platform::Rect& dest) {
    if (repairCorners)
        RepairFrameCorners(data, 0, kAllCorners);
    toolkit::TBitmap* cache = data.CacheBmp();
    if (!cache || cache->Empty())
        return;
    platform::DcStateGuard guard(dc);
    platform::IntersectClipRect(dc, dest);
    if (auto* windowed = dynamic_cast<toolkit::TWinControl*>(&control)) {
        for (toolkit::TControl* child : windowed->ControlList()) {
            if (!child->Visible())
                continue;
            const bool graphic = dynamic_cast<toolkit::TWinControl*>(child) == nullptr;
            const bool designing = child->ComponentState().Contains(toolkit::csDesigning);
            const bool opaque = child->ControlStyle().Contains(toolkit::csOpaque);
            if (!((graphic && !GraphicChildrenPaintSeparately()) || opaque || designing))
                continue;
            const platform::Rect bounds = child->BoundsRect().Offset(dx, dy);
            if (!bounds.Intersect(dest).IsEmpty())
                ExcludeChildShape(dc, *child, bounds);
        }
    }
    platform::BitBlt(dc, dest.left, dest.top, dest.Width(), dest.Height(), cache->DC(), source.left,
                     source.top, platform::RasterOp::SrcCopy);
}

} // namespace skin
