#include "skinned/sButtonFace.h"

#include <algorithm>

#include "platform/gfx/DeviceContext.h"
#include "skin/SkinModel.h"
#include "skin/sCommonData.h"
#include "skin/sCommonPaint.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sSkinManager.h"
#include "skinned/sFade.h"
#include "toolkit/ControlText.h"
#include "toolkit/TApplication.h"
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

void KeyContent(TButtonFaceKey& key, const toolkit::TButtonGlyph& glyph,
                const toolkit::TButtonPlacement& placement, unsigned captionFlags,
                const toolkit::TFont& font) {
    key.glyphVersion = glyph.Version();
    key.glyphAt = placement.glyph;
    key.textAt = placement.text;
    key.captionFlags = captionFlags;
    key.fontName = font.Name();
    key.fontHeight = font.Height();
    key.fontStyle = font.Style();
    key.fontColor = font.Color();
}

void TacHintHold::Press() {
    toolkit::TApplication* app = toolkit::Application();
    if (m_held || !app)
        return;
    m_held = true;
    m_previous = app->ShowHint();
    app->SetShowHint(false);
}

void TacHintHold::Release() {
    if (!m_held)
        return;
    m_held = false;
    if (toolkit::TApplication* app = toolkit::Application())
        app->SetShowHint(m_previous);
}

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

void PaintButtonGlyph(toolkit::TBitmap& cache, toolkit::TButtonGlyph& glyph,
                      toolkit::TButtonState glyphState, platform::Point at, bool enabled, bool hot,
                      const TacButtonLook& look) {
    const platform::Size size = glyph.GlyphSize();
    if (glyph.Empty() || size.cx <= 0 || size.cy <= 0)
        return;
    // The glyph on the key colour first: what it leaves untouched stays the face.
    toolkit::TBitmap picture;
    picture.SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    picture.SetSize(size.cx, size.cy);
    const skin::TacRows24 rows(picture);
    skin::FillRect24(rows, rows.Bounds(), skin::kKeyColor);
    // An image-list glyph gets its disabled look here, from its enabled image.
    const bool fromList = glyph.Bitmap().Empty();
    glyph.Draw(picture.Canvas(), {0, 0},
               fromList && !enabled ? toolkit::TButtonState::bsUp : glyphState);
    const bool grey = enabled ? (look.Grayed && !hot)
                              : look.DisabledGlyphKind.Contains(TacDisabledGlyphKindItem::dgGrayed);
    if (grey)
        for (std::int32_t y = 0; y < rows.height; ++y) {
            std::uint8_t* d = rows.At(0, y);
            for (std::int32_t x = 0; x < rows.width; ++x, d += 3)
                if (platform::RGB(d[2], d[1], d[0]) != skin::kKeyColor)
                    d[0] = d[1] = d[2] = static_cast<std::uint8_t>((d[0] + d[1] + d[2]) / 3);
        }
    double showThrough = 0; // of the face, 0 … 1
    if (!enabled)
        showThrough =
            look.DisabledGlyphKind.Contains(TacDisabledGlyphKindItem::dgBlended) ? 0.5 : 0;
    else if (!hot && look.Blend >= 1)
        showThrough = std::clamp(look.Blend, 0, 100) / 100.0;
    const skin::TacRows24 target(cache);
    if (showThrough > 0)
        skin::FadeCopyKeyed(target, at.x, at.y, skin::kKeyColor, showThrough, rows.Bounds(), rows);
    else
        skin::CopyKeyed(target, rows, at.x, at.y, false, {}, skin::kKeyColor, rows.Bounds());
}

toolkit::TButtonPlacement
SkinButtonPlacement(const toolkit::TFont& font, const std::string& caption,
                    const platform::Rect& content, const toolkit::TButtonGlyph& glyph,
                    const TacButtonLayout& layout, const TacButtonLook& look) {
    const platform::Size glyphSize = glyph.GlyphSize();
    platform::Size text;
    if (look.ShowCaption && !caption.empty()) {
        const bool beside =
            layout.layout == toolkit::blGlyphLeft || layout.layout == toolkit::blGlyphRight;
        std::int64_t room = std::int64_t{content.Width()} - 2 * std::int64_t{layout.margin};
        if (beside && glyphSize.cx > 0)
            room -= std::int64_t{glyphSize.cx} + layout.spacing;
        platform::Rect bounds = content;
        bounds.right = content.left + static_cast<std::int32_t>(std::clamp<std::int64_t>(
                                          room, 0, std::int64_t{INT32_MAX} - content.left));
        const platform::Rect measured = toolkit::MeasureText(
            font, caption, bounds,
            platform::DT_CENTER | platform::DT_WORDBREAK | platform::DT_EXPANDTABS);
        text = {measured.Width(), measured.Height()};
    }
    const toolkit::TButtonPlacement placement = toolkit::CalcButtonLayout(
        content, glyphSize, text, layout.layout, layout.margin, layout.spacing);
    return AlignPlacement(placement, content, layout.margin, look);
}

toolkit::TButtonPlacement AlignPlacement(toolkit::TButtonPlacement placement,
                                         const platform::Rect& content, std::int32_t margin,
                                         const TacButtonLook& look) {
    if (look.Alignment != toolkit::taCenter) {
        const bool hasGlyph = !placement.glyph.IsEmpty();
        const bool hasText = !placement.text.IsEmpty();
        std::int32_t left = content.right, right = content.left;
        if (hasGlyph) {
            left = std::min(left, placement.glyph.left);
            right = std::max(right, placement.glyph.right);
        }
        if (hasText) {
            left = std::min(left, placement.text.left);
            right = std::max(right, placement.text.right);
        }
        if (left < right) {
            const std::int32_t gap = std::max(margin, 0) + (margin >= 0 ? 3 : 0);
            const std::int32_t dx = look.Alignment == toolkit::taLeftJustify
                                        ? content.left + gap - left
                                        : content.right - gap - right;
            placement.glyph = placement.glyph.Offset(dx, 0);
            placement.text = placement.text.Offset(dx, 0);
        }
    }
    placement.text = placement.text.Offset(look.TextOffset, 0);
    return placement;
}

unsigned TextAlignmentFlags(unsigned flags, const TacButtonLook& look) {
    flags &= ~(platform::DT_CENTER | platform::DT_RIGHT);
    return flags | toolkit::AlignmentFlags(look.TextAlignment);
}

void PaintButtonContent(toolkit::TBitmap& cache, skin::TsCommonData& data,
                        toolkit::TButtonGlyph& glyph, toolkit::TButtonState glyphState,
                        toolkit::TButtonPlacement placement, const std::string& caption,
                        unsigned captionFlags, bool enabled, bool hot, bool pressed,
                        const TacButtonLook& look) {
    if (pressed) {
        placement.glyph = placement.glyph.Offset(1, 1);
        placement.text = placement.text.Offset(1, 1);
    }
    toolkit::TCanvas& canvas = cache.Canvas();
    PaintButtonGlyph(cache, glyph, glyphState, {placement.glyph.left, placement.glyph.top}, enabled,
                     hot, look);
    if (caption.empty() || !look.ShowCaption)
        return;
    if (const toolkit::TControl* control = data.OwnerControl())
        canvas.Font().Assign(&control->Font());
    // A little room on both sides keeps contour copies and italic overhangs inside.
    const platform::Rect text{placement.text.left - 1, placement.text.top, placement.text.right + 2,
                              placement.text.bottom};
    skin::DrawContourText(canvas, caption, enabled, hot, data,
                          TextAlignmentFlags(captionFlags, look), text);
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
    const std::int32_t h =
        skin::PieceHeight(arrow) / (std::clamp<std::int32_t>(arrow.MaskType, 0, 1) + 1);
    const std::int32_t x = cache.Width() - dropDownWidth + (dropDownWidth - w) / 2 + 1;
    const std::int32_t y = (cache.Height() - h) / 2;
    skin::DrawGlyphPiece(skin::TacRows24(cache), {x, y}, state, arrow, 1);
}

void PaintButtonBorder(toolkit::TBitmap& cache, skin::TsCommonData& data, std::int32_t state,
                       const platform::Rect& rect, const skin::TsBackdropInfo& parent) {
    skin::TsSkinManager* m = data.Manager();
    const std::int32_t index = data.BorderIndex();
    if (!m || !m->IsValidImgIndex(index))
        return;
    skin::DrawFramePiece(skin::TacRows24(cache), rect, false, 1, state,
                         m->ma()[static_cast<std::size_t>(index)], parent);
}

void PaintButtonDisabled(toolkit::TBitmap& cache, const toolkit::TControl& control,
                         const skin::TsBackdropInfo& parent, TacDisabledKind kind) {
    std::int32_t flags = 0;
    if (kind.Contains(TacDisabledKindItem::dkBlended))
        flags |= skin::kDisabledFade;
    if (kind.Contains(TacDisabledKindItem::dkGrayed))
        flags |= skin::kDisabledGrey;
    // Without a parent background the face is mixed with the button's own colour.
    skin::PaintDisabledLook(cache, flags, toolkit::ColorToRGB(control.Color()) & 0xFFFFFF,
                            {control.Left(), control.Top()}, parent);
}

TacKeptFace::TacKeptFace() = default;
TacKeptFace::~TacKeptFace() = default;

void PaintSkinnedFace(toolkit::TControl& control, skin::TsCommonData& data, TacKeptFace& kept,
                      const TButtonFaceKey& key, TacFaceRenewal renewal,
                      const TacAnimatEvents& events, const std::function<void()>& build,
                      platform::DeviceContext& dc) {
    if (kept.fade && kept.fade->Finished())
        kept.fade.reset();
    const toolkit::TBitmap* cache = data.CacheBmp();
    const bool stale =
        !cache || cache->Width() != control.Width() || cache->Height() != control.Height();
    const bool changed = data.BackgroundChanged() || !kept.builtFrom || *kept.builtFrom != key;
    if (stale ||
        (renewal != TacFaceRenewal::kFrozen && (changed || renewal == TacFaceRenewal::kAlways))) {
        std::unique_ptr<TsButtonFade> fade;
        if (!stale && kept.builtFrom)
            fade = StartFade(data, *kept.builtFrom, key, events, kept.fade.get(),
                             [&control] { control.Invalidate(); });
        kept.fade = std::move(fade);
        build();
    } else if (renewal == TacFaceRenewal::kQuietly) {
        build();
    }
    const platform::Rect whole{0, 0, control.Width(), control.Height()};
    if (kept.fade && kept.fade->Frame().Width() == control.Width() &&
        kept.fade->Frame().Height() == control.Height()) {
        platform::BitBlt(dc, 0, 0, whole.right, whole.bottom, kept.fade->Frame().DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
        return;
    }
    skin::PutCacheOnDC(control, data, whole, 0, 0, false, dc, whole);
}

void PaintUnskinnedFace(toolkit::TControl& control, skin::TsCommonData& data, TacKeptFace& kept,
                        const std::function<void()>& plain, platform::DeviceContext& dc) {
    kept.fade.reset();
    if (!data.Skinned(true)) {
        plain();
        return;
    }
    const toolkit::TBitmap* cache = data.CacheBmp();
    if (!cache || cache->Width() != control.Width() || cache->Height() != control.Height())
        return;
    const platform::Rect whole{0, 0, control.Width(), control.Height()};
    skin::PutCacheOnDC(control, data, whole, 0, 0, false, dc, whole);
}

void DrawGlyphFromImages(toolkit::TButtonGlyph& glyph) {
    if (glyph.Images() && glyph.Images()->Count() > 0 && !glyph.Bitmap().Empty())
        glyph.Clear();
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
