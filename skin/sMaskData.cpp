#include "skin/sMaskData.h"

#include <algorithm>

#include "skin/sGraphUtils.h"
#include "skin/sSkinManager.h"

namespace skin {

namespace {

using I64 = std::int64_t;

// Where a state image lies in the piece's source, in 64 bits: R may hold any 32-bit numbers.
// True when every pixel of part (inside src) is the key colour: drawn without a backdrop such a
// part leaves the target as it was.
bool AllKey(const TacRows24& src, const platform::Rect& part) {
    for (std::int32_t y = part.top; y < part.bottom; ++y) {
        const std::uint8_t* p = src.At(part.left, y);
        for (std::int32_t x = part.left; x < part.right; ++x, p += 3)
            if (p[0] != 0xFF || p[1] != 0x00 || p[2] != 0xFF)
                return false;
    }
    return true;
}

struct StateImage {
    I64 x = 0, y = 0, w = 0, h = 0;
    bool Empty() const { return w <= 0 || h <= 0; }
    platform::Rect Part(I64 dx, I64 dy, I64 width, I64 height) const {
        return RectOf64(x + dx, y + dy, x + dx + width, y + dy + height);
    }
};

StateImage StateOf(const TsMaskData& m, std::int32_t state) {
    const I64 count = std::max<I64>(m.ImageCount, 1);
    const I64 parts = std::max<I64>(m.MaskType, 0) + 1;
    StateImage s;
    s.w = I64{PieceWidth(m)} / count;
    s.h = I64{PieceHeight(m)} / parts;
    s.x = m.R.left + std::clamp<I64>(state, 0, count - 1) * s.w;
    s.y = m.R.top;
    return s;
}

// Pictures decode once and stay decoded while the picture lives.
struct DecodedPicture {
    std::weak_ptr<TsSkinPicture> picture;
    std::shared_ptr<TsSkinBitmap> bitmap;
};

std::shared_ptr<TsSkinBitmap> Decoded(const std::shared_ptr<TsSkinPicture>& picture) {
    static std::vector<DecodedPicture> cache;
    std::erase_if(cache, [](const DecodedPicture& d) { return d.picture.expired(); });
    for (const auto& d : cache)
        if (d.picture.lock() == picture)
            return d.bitmap;
    std::shared_ptr<TsSkinBitmap> bitmap = RenderSkinPicture(*picture);
    cache.push_back({picture, bitmap});
    return bitmap;
}

void MaskedTexture(const TacRows24& target, const platform::Rect& rect, std::int32_t mode,
                   const TsMaskData& mask, const TacRows24& src, const TsBackdropInfo& parent) {
    const StateImage s = StateOf(mask, 0);
    if (s.Empty())
        return;
    const platform::Rect tile = s.Part(0, 0, s.w, s.h);
    if (mode != 10) {
        MaskedTile24(target, rect, src, tile, static_cast<std::int32_t>(s.h), 1, &parent);
        return;
    }
    const I64 wholeW = (I64{rect.right} - rect.left) / s.w * s.w;
    const I64 wholeH = (I64{rect.bottom} - rect.top) / s.h * s.h;
    if (wholeW > 0 && wholeH > 0)
        MaskedTile24(target, RectOf64(rect.left, rect.top, rect.left + wholeW, rect.top + wholeH),
                     src, tile, static_cast<std::int32_t>(s.h), 1, &parent);
    const I64 right = I64{rect.left} + std::max<I64>(wholeW, 0);
    const I64 below = I64{rect.top} + std::max<I64>(wholeH, 0);
    CopyParentArea(target, RectOf64(right, rect.top, rect.right, rect.bottom), parent);
    CopyParentArea(target, RectOf64(rect.left, below, right, rect.bottom), parent);
}

// Draws into the part of target inside rect only; coordinates stay those of target.
template <typename Draw>
void Confined(const TacRows24& target, const platform::Rect& rect, Draw draw) {
    platform::Point origin;
    const TacRows24 view = SubRows(target, rect, origin);
    if (!view.Empty())
        draw(view, origin);
}

platform::Rect Shifted(I64 l, I64 t, I64 r, I64 b, platform::Point origin) {
    return RectOf64(l - origin.x, t - origin.y, r - origin.x, b - origin.y);
}

} // namespace

TacRows24 PieceSource(const TsMaskData& piece) {
    if (piece.Image)
        return TacRows24(*piece.Image);
    return piece.Manager ? TacRows24::Of(piece.Manager->MasterBitmap()) : TacRows24();
}

void DrawTexturePiece(const TacRows24& target, platform::Rect& rect,
                      const std::shared_ptr<TsSkinPicture>& picture, std::int32_t mode,
                      const TsMaskData* mask, const TsBackdropInfo& parent) {
    if (picture) {
        if (const auto bitmap = Decoded(picture))
            TileBlock24(target, rect, *bitmap, TacRows24(*bitmap).Bounds());
        rect = {};
        return;
    }
    if (!mask)
        return;
    const TacRows24 src = PieceSource(*mask);
    if (src.Empty())
        return;
    if (mask->MaskType > 0) {
        MaskedTexture(target, rect, mode, *mask, src, parent);
        rect = {};
        return;
    }
    const StateImage s = StateOf(*mask, 0);
    const platform::Rect tile = s.Part(0, 0, s.w, s.h);
    if (mask->Image || s.Empty()) {
        TileBlock24(target, rect, src, mask->Image ? src.Bounds() : tile);
        rect = {};
        return;
    }
    const I64 l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    const I64 bandBottom = std::min(t + s.h, b), bandRight = std::min(l + s.w, r);
    const I64 bandTop = std::max(b - s.h, t), bandLeft = std::max(r - s.w, l);
    platform::Rect rest;
    switch (mode) {
    case 1:
        StretchBlock24(target, rect, src, tile);
        break;
    case 2:
        TileBlock24(target, RectOf64(l, t, r, bandBottom), src, tile);
        rest = RectOf64(l, bandBottom, r, b);
        break;
    case 3:
        TileBlock24(target, RectOf64(l, t, bandRight, b), src, tile);
        rest = RectOf64(bandRight, t, r, b);
        break;
    case 4:
        Confined(target, rect, [&](const TacRows24& view, platform::Point o) {
            StretchBlock24(view, Shifted(l, t, r, t + s.h, o), src, tile);
        });
        rest = RectOf64(l, bandBottom, r, b);
        break;
    case 5:
        Confined(target, rect, [&](const TacRows24& view, platform::Point o) {
            StretchBlock24(view, Shifted(l, t, l + s.w, b, o), src, tile);
        });
        rest = RectOf64(bandRight, t, r, b);
        break;
    case 6:
        TileBlock24(target, RectOf64(l, bandTop, r, b), src, tile);
        rest = RectOf64(l, t, r, bandTop);
        break;
    case 7:
        TileBlock24(target, RectOf64(bandLeft, t, r, b), src, tile);
        rest = RectOf64(l, t, bandLeft, b);
        break;
    case 10: {
        const I64 whole = t + std::max<I64>(b - t, 0) / s.h * s.h;
        TileBlock24(target, RectOf64(l, t, r, whole), src, tile);
        rest = RectOf64(l, whole, r, b);
        break;
    }
    default:
        TileBlock24(target, rect, src, tile);
        break;
    }
    rect = rest.IsEmpty() ? platform::Rect{} : rest;
}

void DrawFramePiece(const TacRows24& target, const platform::Rect& rect, bool fillCentre,
                    std::int32_t copyMode, std::int32_t state, const TsMaskData& mask,
                    const TsBackdropInfo& parent) {
    DrawFramePiece(target, rect,
                   fillCentre ? TacFrameParts::kEdgesAndCentre : TacFrameParts::kEdges, copyMode,
                   state, mask, parent);
}

void DrawFramePiece(const TacRows24& target, const platform::Rect& rect, TacFrameParts which,
                    std::int32_t copyMode, std::int32_t state, const TsMaskData& mask,
                    const TsBackdropInfo& parent) {
    const bool fillCentre = which != TacFrameParts::kEdges;
    const I64 l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    if ((r - l <= 1 && b - t <= 1) || !mask.Manager)
        return;
    const TacRows24 src = PieceSource(mask);
    const StateImage s = StateOf(mask, state);
    if (src.Empty() || target.Empty() || s.Empty())
        return;
    // Corners of a small rectangle give up half the excess each.
    const auto reduce = [](I64& a, I64& c, I64 length) {
        if (length < a + c) {
            const I64 half = (a + c - length) / 2;
            a -= half;
            c -= half;
        }
        a = std::clamp<I64>(a, 0, std::max<I64>(length, 0));
        c = std::clamp<I64>(c, 0, std::max<I64>(length, 0));
    };
    I64 wl = mask.WL, wr = mask.WR, wt = mask.WT, wb = mask.WB;
    reduce(wl, wr, r - l);
    reduce(wt, wb, b - t);
    const I64 sl = std::max<I64>(mask.WL, 0), st = std::max<I64>(mask.WT, 0);
    const I64 mw = std::max<I64>(s.w - mask.WL - mask.WR, 0);
    const I64 mh = std::max<I64>(s.h - mask.WT - mask.WB, 0);

    struct Part {
        platform::Rect dst, src;
        bool corner;
    };
    std::vector<Part> parts{
        {RectOf64(l, t, l + wl, t + wt), s.Part(0, 0, wl, wt), true},
        {RectOf64(r - wr, t, r, t + wt), s.Part(s.w - wr, 0, wr, wt), true},
        {RectOf64(l, b - wb, l + wl, b), s.Part(0, s.h - wb, wl, wb), true},
        {RectOf64(r - wr, b - wb, r, b), s.Part(s.w - wr, s.h - wb, wr, wb), true},
        {RectOf64(l + wl, t, r - wr, t + wt), s.Part(sl, 0, mw, wt), false},
        {RectOf64(l + wl, b - wb, r - wr, b), s.Part(sl, s.h - wb, mw, wb), false},
        {RectOf64(l, t + wt, l + wl, b - wb), s.Part(0, st, wl, mh), false},
        {RectOf64(r - wr, t + wt, r, b - wb), s.Part(s.w - wr, st, wr, mh), false},
    };
    if (which == TacFrameParts::kCentre)
        parts.clear();
    const bool masked = mask.MaskType > 0;
    if (fillCentre && (masked || mask.BorderWidth == 0))
        parts.push_back({RectOf64(l + wl, t + wt, r - wr, b - wb), s.Part(sl, st, mw, mh), false});

    for (const Part& p : parts) {
        if (p.dst.IsEmpty() || p.src.IsEmpty())
            continue;
        if (masked) {
            // Open middles (panels, frames) are common and large: skip them whole.
            const platform::Rect inside = ClipToSize(p.src, src.width, src.height);
            if (!p.corner && AllKey(src, inside))
                continue;
            MaskedTile24(target, p.dst, src, p.src, static_cast<std::int32_t>(s.h), copyMode,
                         p.corner ? &parent : nullptr);
        } else if (p.corner)
            CopyKeyed(target, src, p.dst.left, p.dst.top, true, parent, kKeyColor, p.src);
        else if (mask.StretchMode != 0)
            StretchBlock24(target, p.dst, src, p.src);
        else
            TileBlock24(target, p.dst, src, p.src);
    }
}

void DrawGlyphPiece(const TacRows24& target, platform::Point topLeft, std::int32_t state,
                    const TsMaskData& mask, std::int32_t copyMode) {
    const TacRows24 src = PieceSource(mask);
    const StateImage s = StateOf(mask, state);
    if (src.Empty() || target.Empty() || s.Empty())
        return;
    const platform::Rect image = s.Part(0, 0, s.w, s.h);
    if (mask.MaskType > 0) {
        MaskedTile24(target,
                     RectOf64(topLeft.x, topLeft.y, I64{topLeft.x} + s.w, I64{topLeft.y} + s.h),
                     src, image, static_cast<std::int32_t>(s.h), copyMode, nullptr);
    } else if (copyMode == 1) {
        CopyKeyed(target, src, topLeft.x, topLeft.y, false, {}, kKeyColor, image);
    } else {
        FadeCopyKeyed(target, topLeft.x, topLeft.y, kKeyColor, 0.5, image, src);
    }
}

void CornerKeyRuns(std::vector<platform::Rect>& list, std::int32_t windowWidth,
                   const TsMaskData& piece, bool bottom, std::int32_t yOffset) {
    if (!piece.Manager)
        return;
    const TacRows24 src = PieceSource(piece);
    const StateImage s = StateOf(piece, 0);
    if (src.Empty() || s.w <= 0 || s.h <= 0)
        return;
    const I64 band = bottom ? piece.WB : piece.WT;
    const I64 firstRow = bottom ? s.h - band : 0;
    const I64 lastRow = bottom ? s.h - 1 : band - 1;
    if (band <= 0 || s.y + lastRow >= src.height)
        return;
    const auto keyAt = [&](I64 col, I64 row) {
        const I64 x = s.x + col, y = s.y + row;
        return x >= 0 && y >= 0 && x < src.width && y < src.height &&
               src.PixelAt(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)) == kKeyColor;
    };
    // Only the columns that lie in the source can hold key pixels.
    const auto scan = [&](I64 from, I64 to, I64 shift, I64 row, I64 y) {
        from = std::max(from, -s.x);
        to = std::min(to, I64{src.width} - s.x);
        I64 runStart = -1;
        for (I64 col = from; col <= to; ++col) {
            const bool key = col < to && keyAt(col, row);
            if (key && runStart < 0)
                runStart = col;
            if (!key && runStart >= 0) {
                list.push_back(RectOf64(runStart + shift, y, col + shift, y + 1));
                runStart = -1;
            }
        }
    };
    for (I64 row = firstRow; row <= lastRow; ++row) {
        const I64 y = I64{yOffset} + (row - firstRow);
        scan(0, piece.WL, 0, row, y);
        scan(s.w - piece.WR, s.w, I64{windowWidth} - s.w, row, y);
    }
}

} // namespace skin
