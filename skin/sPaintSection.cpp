#include "skin/sPaintSection.h"

#include <algorithm>
#include <memory>

#include "skin/sGradient.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sSkinManager.h"
#include "toolkit/Colors.h"
#include "toolkit/Int32.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"

namespace skin {

namespace {

platform::Color Rgb(std::int32_t color) {
    return toolkit::ColorToRGB(static_cast<platform::Color>(color)) & 0xFFFFFF;
}

// The values of one state of a section, with what its texture resolved to.
struct StateLook {
    platform::Color color = 0;
    std::int32_t imagePercent = 0;
    std::int32_t gradientPercent = 0;
    std::int32_t transparency = 0;
    const TsGradArray* gradient = nullptr;
    const TsMaskData* texture = nullptr;
    std::shared_ptr<TsSkinPicture> pattern;
};

TsSkinManager* ManagerOf(const TsSectionPaint& p) {
    TsSkinManager* m = p.Manager ? p.Manager : TsSkinManager::DefaultManager();
    if (!m || p.SectionIndex < 0 || static_cast<std::size_t>(p.SectionIndex) >= m->gd().size())
        return nullptr;
    return m;
}

const TsMaskData* Piece(TsSkinManager& m, std::int32_t index) {
    return m.IsValidImgIndex(index) ? &m.ma()[static_cast<std::size_t>(index)] : nullptr;
}

StateLook LookOf(const TsSectionPaint& p, TsSkinManager& m) {
    const TsGeneralData& gd = m.gd()[static_cast<std::size_t>(p.SectionIndex)];
    const bool hot = p.State != 0;
    StateLook look;
    look.color = p.CustomColor != kKeyColor ? Rgb(static_cast<std::int32_t>(p.CustomColor))
                                            : Rgb(hot ? gd.HotColor : gd.Color);
    look.imagePercent = hot ? gd.HotImagePercent : gd.ImagePercent;
    look.gradientPercent = hot ? gd.HotGradientPercent : gd.GradientPercent;
    look.transparency = std::clamp(hot ? gd.HotTransparency : gd.Transparency, 0, 100);
    if (look.gradientPercent != 0)
        look.gradient = hot ? &gd.HotGradient : &gd.Gradient;
    if (look.imagePercent > 0) {
        const char* key = hot ? "HOTPATTERN" : "PATTERN";
        const TsMaskData* given = Piece(m, hot ? p.HotTextureIndex : p.TextureIndex);
        look.texture = given && given->MaskType == 0
                           ? given
                           : Piece(m, m.FindTextureIndex(p.SectionIndex, p.SectionName, key));
        if (!look.texture) {
            const std::int32_t i = m.FindPatternIndex(p.SectionIndex, p.SectionName, key);
            if (i >= 0 && static_cast<std::size_t>(i) < m.pa().size())
                look.pattern = m.pa()[static_cast<std::size_t>(i)].Img;
        }
    }
    return look;
}

void GradientOrColor(const TacRows24& target, const platform::Rect& r, const StateLook& look) {
    const TsGradArray* g = look.gradient;
    // A gradient of a mode that paints nothing would leave the area as it was.
    if (!g || g->empty() || g->front().Mode < 0 || g->front().Mode > 2)
        FillRect24(target, r, look.color);
    else
        PaintGradientSteps(target, r, *g, 0);
}

// parent is addressed from target's own origin.
void PaintOpaque(const TacRows24& target, const platform::Rect& r, const StateLook& look,
                 const TsBackdropInfo& parent) {
    bool textured = false;
    if (look.imagePercent > 0 && (look.texture || look.pattern)) {
        platform::Rect rest = r;
        DrawTexturePiece(target, rest, look.pattern, look.texture ? look.texture->StretchMode : 0,
                         look.texture, parent);
        FillRect24(target, rest, look.color);
        textured = true;
    }
    const std::int32_t g = look.gradientPercent;
    if (g > 0) {
        if (textured) {
            const auto layer = NewBitmap24(r.Width(), r.Height());
            const TacRows24 rows(*layer);
            GradientOrColor(rows, rows.Bounds(), look);
            BlendBitmaps(target, rows, std::min(g, 100) * 255 / 100, {r.left, r.top},
                         rows.Bounds());
        } else {
            GradientOrColor(target, r, look);
        }
    }
    const std::int64_t sum = std::int64_t{textured ? look.imagePercent : 0} + std::max(g, 0);
    if (sum <= 0) {
        const bool flatParent = ParentColor() != kKeyColor && look.transparency != 0;
        FillRect24(target, r, flatParent ? ParentColor() : look.color);
    } else if (sum < 100) {
        MixColorInto(target, r, static_cast<std::int32_t>(sum), look.color);
    }
}

void ShowParent(toolkit::TBitmap& target, const platform::Rect& r, const TsBackdropInfo& here) {
    if (ParentColor() != kKeyColor)
        FillRect24(target, r, ParentColor());
    else if (here.Bmp != &target)
        CopyParentArea(target, r, here);
}

TsBackdropInfo Shift(const TsBackdropInfo& p, std::int32_t dx, std::int32_t dy) {
    return {p.Bmp, toolkit::int32::Add(p.X, dx), toolkit::int32::Add(p.Y, dy), p.Ready};
}

} // namespace

void PaintSectionBackground(const TsSectionPaint& paint, toolkit::TBitmap& target,
                            const platform::Rect& rect) {
    TsSkinManager* m = ManagerOf(paint);
    const TacRows24 rows(target);
    const platform::Rect r = ClipToSize(rect, rows.width, rows.height);
    if (!m || rows.Empty() || r.IsEmpty())
        return;
    const StateLook look = LookOf(paint, *m);
    const TsBackdropInfo here = Shift(paint.Parent, paint.Position.x, paint.Position.y);
    const std::int32_t t = look.transparency;
    if (!paint.Parent.Ready || t == 0) {
        PaintOpaque(rows, r, look, here);
    } else if (t == 100) {
        ShowParent(target, r, here);
    } else {
        const auto layer = NewBitmap24(r.Width(), r.Height());
        const TacRows24 layerRows(*layer);
        PaintOpaque(layerRows, layerRows.Bounds(), look, Shift(here, r.left, r.top));
        ShowParent(target, r, here);
        BlendBitmaps(rows, layerRows, t * 255 / 100, {r.left, r.top}, layerRows.Bounds());
    }
    if (paint.State != 0)
        return;
    const TsMaskData* overlay = Piece(*m, paint.TextureIndex);
    if (!overlay)
        overlay = Piece(*m, paint.HotTextureIndex);
    if (overlay && overlay->MaskType > 0 && overlay->StretchMode == 10) {
        platform::Rect area = r;
        DrawTexturePiece(rows, area, nullptr, 10, overlay, here);
    }
}

void PaintSection(const TsSectionPaint& paint, toolkit::TBitmap& target,
                  const platform::Rect& rect) {
    PaintSectionBackground(paint, target, rect);
    if (TsSkinManager* m = ManagerOf(paint)) {
        const std::int32_t i =
            m->FindPieceIndex(paint.SectionIndex, paint.SectionName, "BORDERSMASK");
        if (const TsMaskData* border = Piece(*m, i))
            DrawFramePiece(target, rect, paint.FillCentre, 1, paint.State, *border,
                           Shift(paint.Parent, paint.Position.x, paint.Position.y));
    }
    ResetParentColor();
}

void DrawContourText(toolkit::TCanvas& canvas, const std::string& text, bool enabled,
                     TsSkinManager* manager, bool hot, std::int32_t sectionIndex, unsigned format,
                     const platform::Rect& rect) {
    TsSkinManager* m = manager ? manager : TsSkinManager::DefaultManager();
    if (!m || sectionIndex < 0 || static_cast<std::size_t>(sectionIndex) >= m->gd().size())
        return;
    const TsGeneralData& gd = m->gd()[static_cast<std::size_t>(sectionIndex)];
    canvas.Brush().SetStyle(toolkit::TBrushStyle::bsClear);
    const auto draw = [&](platform::Color color, std::int32_t dx, std::int32_t dy) {
        canvas.Font().SetColor(color);
        platform::Rect r = RectOf64(std::int64_t{rect.left} + dx, std::int64_t{rect.top} + dy,
                                    std::int64_t{rect.right} + dx, std::int64_t{rect.bottom} + dy);
        canvas.DrawText(text, r, format);
    };
    // A font colour of -1 is one the skin does not define: the canvas's own stands in.
    const platform::Color own = canvas.Font().Color();
    if (!enabled) {
        draw(MixColors(gd.FontColor[0] != -1 ? Rgb(gd.FontColor[0]) : own, Rgb(gd.Color), 0.4), 0,
             0);
        return;
    }
    const TsFontColors& colors = hot ? gd.HotFontColor : gd.FontColor;
    constexpr std::int32_t kShift[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int side = 0; side < 4; ++side)
        if (colors[side + 1] != -1)
            draw(Rgb(colors[side + 1]), kShift[side][0], kShift[side][1]);
    draw(colors[0] != -1 ? Rgb(colors[0]) : own, 0, 0);
}

} // namespace skin
