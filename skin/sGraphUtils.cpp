#include "skin/sGraphUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Dib.h"
#include "toolkit/Colors.h"
#include "toolkit/TBitmap.h"

namespace skin {

namespace {

std::uint8_t Limit255(std::int64_t v) {
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255));
}
std::uint8_t Round255(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

// n ÷ d rounded, halves to even; n ≥ 0, d > 0.
std::int32_t DivRoundEven(std::int32_t n, std::int32_t d) {
    std::int32_t q = n / d;
    const std::int32_t twice = 2 * (n % d);
    if (twice > d || (twice == d && (q & 1)))
        ++q;
    return q;
}

bool Matches(const std::uint8_t* p, platform::Color key) {
    return key <= 0xFFFFFF && platform::RGB(p[2], p[1], p[0]) == key;
}

// A source rectangle clipped to its bitmap, as a blit description from (x, y) on.
bool ClipBlit(TacBlit& b, const TacRows24& dst, const TacRows24& src, std::int32_t x,
              std::int32_t y, const platform::Rect& sourceRect) {
    if (dst.Empty() || src.Empty())
        return false;
    b = TacBlit{x,
                y,
                sourceRect.left,
                sourceRect.top,
                std::int64_t{sourceRect.right} - sourceRect.left,
                std::int64_t{sourceRect.bottom} - sourceRect.top};
    return b.Clip(dst.width, dst.height, src.width, src.height);
}

// For every column (or row) of the clipped destination, the source column (row) it reads.
std::vector<std::int32_t> StretchMap(std::int64_t dstStart, std::int64_t dstLen, std::int64_t from,
                                     std::int64_t to, std::int32_t srcStart, std::int32_t srcLen) {
    std::vector<std::int32_t> map;
    map.reserve(static_cast<std::size_t>(std::max<std::int64_t>(to - from, 0)));
    for (std::int64_t i = from; i < to; ++i) {
        const auto offset = static_cast<std::int64_t>(static_cast<long double>(i - dstStart) *
                                                      srcLen / static_cast<long double>(dstLen));
        map.push_back(srcStart +
                      static_cast<std::int32_t>(std::clamp<std::int64_t>(offset, 0, srcLen - 1)));
    }
    return map;
}
std::vector<std::int32_t> TileMap(std::int64_t dstStart, std::int64_t from, std::int64_t to,
                                  std::int32_t srcStart, std::int32_t srcLen) {
    std::vector<std::int32_t> map;
    map.reserve(static_cast<std::size_t>(std::max<std::int64_t>(to - from, 0)));
    std::int64_t offset = (from - dstStart) % srcLen;
    for (std::int64_t i = from; i < to; ++i) {
        map.push_back(srcStart + static_cast<std::int32_t>(offset));
        if (++offset == srcLen)
            offset = 0;
    }
    return map;
}

// A tiled row repeats one period of the source, starting startBytes into it: the period is
// copied once and the row then copies its own beginning, twice as much each time.
void TileRow(std::uint8_t* d, std::size_t rowBytes, const std::uint8_t* period,
             std::size_t periodBytes, std::size_t startBytes) {
    std::size_t done = std::min(rowBytes, periodBytes - startBytes);
    std::memcpy(d, period + startBytes, done);
    const std::size_t wrapped = std::min(rowBytes - done, startBytes);
    std::memcpy(d + done, period, wrapped);
    done += wrapped;
    while (done < rowBytes) {
        const std::size_t n = std::min(done, rowBytes - done);
        std::memcpy(d + done, d, n);
        done += n;
    }
}

// Copies through column and row maps into the clipped destination area.
void MappedCopy(const TacRows24& dst, const platform::Rect& area, const TacRows24& src,
                const std::vector<std::int32_t>& cols, const std::vector<std::int32_t>& rows) {
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        std::uint8_t* d = dst.At(area.left, y);
        const std::uint8_t* sRow = src.At(0, rows[static_cast<std::size_t>(y - area.top)]);
        for (const std::int32_t sx : cols) {
            const std::uint8_t* s = sRow + std::ptrdiff_t{3} * sx;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            d += 3;
        }
    }
}

void CrossFade(const TacRows24& a, const TacRows24& b, const TacRows24* weights, std::int32_t w,
               platform::DibSection& target) {
    if (a.Empty() || b.Empty() || a.width != b.width || a.height != b.height ||
        target.BitCount() != 32)
        return;
    const platform::PixelRows t = target.Rows();
    if (t.IsEmpty())
        return;
    std::int32_t width = std::min(a.width, t.width);
    std::int32_t height = std::min(a.height, t.height);
    if (weights) {
        if (weights->Empty())
            return;
        width = std::min(width, weights->width);
        height = std::min(height, weights->height);
    }
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* pa = a.At(0, y);
        const std::uint8_t* pb = b.At(0, y);
        const std::uint8_t* pw = weights ? weights->At(0, y) : nullptr;
        std::uint8_t* pt = t.Row(y);
        for (std::int32_t x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const std::int32_t weight = pw ? pw[c] : w;
                pt[c] = Limit255(((pa[c] - pb[c]) * std::int64_t{weight} + pb[c] * 256) / 256);
            }
            pa += 3;
            pb += 3;
            if (pw)
                pw += 3;
            pt += 4;
        }
    }
}

} // namespace

std::unique_ptr<toolkit::TBitmap> NewBitmap24(std::int32_t width, std::int32_t height) {
    auto bitmap = std::make_unique<toolkit::TBitmap>();
    bitmap->SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    if (width > 0 && height > 0)
        bitmap->SetSize(width, height);
    return bitmap;
}

void FillRectColor(platform::DeviceContext& dc, const platform::Rect& rect, platform::Color color) {
    platform::DcStateGuard guard(dc);
    platform::FillRect(dc, rect, toolkit::ColorToRGB(color));
}

void FillRect24(const TacRows24& bitmap, const platform::Rect& rect, platform::Color color) {
    if (bitmap.Empty())
        return;
    const platform::Rect r = ClipToSize(rect, bitmap.width, bitmap.height);
    if (r.IsEmpty())
        return;
    const std::uint8_t px[3] = {platform::GetBValue(color), platform::GetGValue(color),
                                platform::GetRValue(color)};
    std::uint8_t* first = bitmap.At(r.left, r.top);
    std::copy(px, px + 3, first);
    RepeatPixel24(first, r.Width());
    const auto bytes = static_cast<std::size_t>(r.Width()) * 3;
    for (std::int32_t y = r.top + 1; y < r.bottom; ++y)
        std::copy(first, first + bytes, bitmap.At(r.left, y));
}

void RepeatPixel24(std::uint8_t* row, std::int32_t count) {
    // Each copy doubles the filled part: a few block copies instead of one per pixel.
    const auto total = static_cast<std::size_t>(count) * 3;
    for (std::size_t filled = 3; filled < total; filled *= 2)
        std::memcpy(row + filled, row, std::min(filled, total - filled));
}

void MixColorInto(const TacRows24& bitmap, const platform::Rect& rect, std::int32_t percent,
                  platform::Color color) {
    if (bitmap.Empty())
        return;
    const platform::Rect r = ClipToSize(rect, bitmap.width, bitmap.height);
    const std::int32_t p = std::clamp(percent, 0, 100);
    // The colour's share is the same for every pixel.
    const std::int32_t c[3] = {platform::GetBValue(color) * (100 - p),
                               platform::GetGValue(color) * (100 - p),
                               platform::GetRValue(color) * (100 - p)};
    for (std::int32_t y = r.top; y < r.bottom; ++y) {
        std::uint8_t* d = bitmap.At(r.left, y);
        for (std::int32_t x = r.left; x < r.right; ++x, d += 3)
            for (int i = 0; i < 3; ++i)
                d[i] = static_cast<std::uint8_t>(DivRoundEven(d[i] * p + c[i], 100));
    }
}

void BlendBitmaps(const TacRows24& dst, const TacRows24& src, std::int32_t k,
                  platform::Point dstPoint, const platform::Rect& sourceRect) {
    TacBlit b;
    if (!ClipBlit(b, dst, src, dstPoint.x, dstPoint.y, sourceRect))
        return;
    TacFastSum24 sum;
    if (!sum.Attach(dst, src))
        return;
    sum.Alpha = std::clamp(k, 0, 255);
    sum.DstRect = {static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(b.y),
                   static_cast<std::int32_t>(b.x + b.w), static_cast<std::int32_t>(b.y + b.h)};
    sum.SrcOrigin = {static_cast<std::int32_t>(b.sx), static_cast<std::int32_t>(b.sy)};
    sum.Blend();
}

void BlendWholeBitmaps(const TacRows24& dst, const TacRows24& src, std::int32_t k) {
    if (dst.width != src.width || dst.height != src.height)
        return;
    BlendBitmaps(dst, src, k, {0, 0}, src.Bounds());
}

void FadeCopyKeyed(const TacRows24& dst, std::int32_t x, std::int32_t y, platform::Color key,
                   double q, const platform::Rect& sourceRect, const TacRows24& src) {
    TacBlit b;
    if (!ClipBlit(b, dst, src, x, y, sourceRect))
        return;
    q = std::isnan(q) ? 0.0 : std::clamp(q, 0.0, 1.0);
    for (std::int64_t row = 0; row < b.h; ++row) {
        std::uint8_t* d =
            dst.At(static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(b.y + row));
        const std::uint8_t* s =
            src.At(static_cast<std::int32_t>(b.sx), static_cast<std::int32_t>(b.sy + row));
        for (std::int64_t col = 0; col < b.w; ++col, d += 3, s += 3) {
            if (Matches(s, key))
                continue;
            for (int i = 0; i < 3; ++i)
                d[i] = Round255(s[i] - q * (s[i] - d[i]));
        }
    }
}

void CopyKeyed(const TacRows24& dst, const TacRows24& src, std::int32_t x, std::int32_t y,
               bool useParent, const TsBackdropInfo& parent, platform::Color key,
               const platform::Rect& sourceRect) {
    TacBlit b;
    if (!ClipBlit(b, dst, src, x, y, sourceRect))
        return;
    const TacRows24 back = useParent && parent.Ready ? TacRows24::Of(parent.Bmp) : TacRows24();
    for (std::int64_t row = 0; row < b.h; ++row) {
        const std::int64_t dy = b.y + row;
        std::uint8_t* d = dst.At(static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(dy));
        const std::uint8_t* s =
            src.At(static_cast<std::int32_t>(b.sx), static_cast<std::int32_t>(b.sy + row));
        const std::int64_t py = std::int64_t{parent.Y} + dy;
        for (std::int64_t col = 0; col < b.w; ++col, d += 3, s += 3) {
            const std::uint8_t* from = s;
            if (Matches(s, key)) {
                const std::int64_t px = std::int64_t{parent.X} + b.x + col;
                if (back.Empty() || px < 0 || py < 0 || px >= back.width || py >= back.height)
                    continue;
                from = back.At(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py));
            }
            d[0] = from[0];
            d[1] = from[1];
            d[2] = from[2];
        }
    }
}

void CopyParentArea(const TacRows24& target, const platform::Rect& area,
                    const TsBackdropInfo& parent) {
    const TacRows24 back = parent.Ready ? TacRows24::Of(parent.Bmp) : TacRows24();
    const platform::Rect a = ClipToSize(area, target.width, target.height);
    if (back.Empty() || a.IsEmpty())
        return;
    TacBlit b{a.left,    a.top,     std::int64_t{parent.X} + a.left, std::int64_t{parent.Y} + a.top,
              a.Width(), a.Height()};
    if (!b.Clip(target.width, target.height, back.width, back.height))
        return;
    CopyBlock24(target, static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(b.y), back,
                RectOf64(b.sx, b.sy, b.sx + b.w, b.sy + b.h));
}

void CopyBlock24(const TacRows24& dst, std::int32_t x, std::int32_t y, const TacRows24& src,
                 const platform::Rect& sourceRect) {
    TacBlit b;
    if (!ClipBlit(b, dst, src, x, y, sourceRect))
        return;
    const auto bytes = static_cast<std::size_t>(b.w) * 3;
    for (std::int64_t row = 0; row < b.h; ++row) {
        const std::uint8_t* s =
            src.At(static_cast<std::int32_t>(b.sx), static_cast<std::int32_t>(b.sy + row));
        // memmove: the parent background may be the target itself.
        std::memmove(dst.At(static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(b.y + row)),
                     s, bytes);
    }
}

void StretchBlock24(const TacRows24& dst, const platform::Rect& dstRect, const TacRows24& src,
                    const platform::Rect& sourceRect) {
    if (dst.Empty() || src.Empty())
        return;
    const platform::Rect s = ClipToSize(sourceRect, src.width, src.height);
    const platform::Rect area = ClipToSize(dstRect, dst.width, dst.height);
    if (s.IsEmpty() || area.IsEmpty() || dstRect.IsEmpty())
        return;
    const std::int64_t dw = std::int64_t{dstRect.right} - dstRect.left;
    const std::int64_t dh = std::int64_t{dstRect.bottom} - dstRect.top;
    MappedCopy(dst, area, src,
               StretchMap(dstRect.left, dw, area.left, area.right, s.left, s.Width()),
               StretchMap(dstRect.top, dh, area.top, area.bottom, s.top, s.Height()));
}

void TileBlock24(const TacRows24& dst, const platform::Rect& dstRect, const TacRows24& src,
                 const platform::Rect& sourceRect) {
    if (dst.Empty() || src.Empty())
        return;
    const platform::Rect s = ClipToSize(sourceRect, src.width, src.height);
    const platform::Rect area = ClipToSize(dstRect, dst.width, dst.height);
    if (s.IsEmpty() || area.IsEmpty())
        return;
    const auto rows = TileMap(dstRect.top, area.top, area.bottom, s.top, s.Height());
    if (dst.SameAs(src)) { // a bitmap tiled onto itself is read as it is written
        MappedCopy(dst, area, src, TileMap(dstRect.left, area.left, area.right, s.left, s.Width()),
                   rows);
        return;
    }
    const auto periodBytes = std::size_t{3} * static_cast<std::size_t>(s.Width());
    const auto startBytes =
        std::size_t{3} *
        static_cast<std::size_t>((std::int64_t{area.left} - dstRect.left) % s.Width());
    const auto rowBytes = std::size_t{3} * static_cast<std::size_t>(area.Width());
    for (std::int32_t y = area.top; y < area.bottom; ++y)
        TileRow(dst.At(area.left, y), rowBytes, src.At(s.left, rows[std::size_t(y - area.top)]),
                periodBytes, startBytes);
}

void MaskedTile24(const TacRows24& dst, const platform::Rect& dstRect, const TacRows24& src,
                  const platform::Rect& sourceRect, std::int32_t maskOffset, std::int32_t copyMode,
                  const TsBackdropInfo* keyParent) {
    if (dst.Empty() || src.Empty() || maskOffset < 0 || maskOffset >= src.height)
        return;
    const platform::Rect s = ClipToSize(sourceRect, src.width, src.height - maskOffset);
    const platform::Rect area = ClipToSize(dstRect, dst.width, dst.height);
    if (s.IsEmpty() || area.IsEmpty())
        return;
    const auto cols = TileMap(dstRect.left, area.left, area.right, s.left, s.Width());
    const auto rows = TileMap(dstRect.top, area.top, area.bottom, s.top, s.Height());
    const TacRows24 back =
        keyParent && keyParent->Ready ? TacRows24::Of(keyParent->Bmp) : TacRows24();
    const bool pale = copyMode != 1;
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        const std::int32_t sy = rows[static_cast<std::size_t>(y - area.top)];
        const std::uint8_t* sRow = src.At(0, sy);
        const std::uint8_t* mRow = src.At(0, sy + maskOffset);
        const std::int64_t py = std::int64_t{keyParent ? keyParent->Y : 0} + y;
        std::uint8_t* d = dst.At(area.left, y);
        for (std::size_t i = 0; i < cols.size(); ++i, d += 3) {
            const std::ptrdiff_t at = std::ptrdiff_t{3} * cols[i];
            const std::uint8_t* sp = sRow + at;
            if (Matches(sp, kKeyColor)) {
                if (back.Empty())
                    continue;
                const std::int64_t px = std::int64_t{keyParent->X} + area.left + std::int64_t(i);
                if (px < 0 || py < 0 || px >= back.width || py >= back.height)
                    continue;
                std::copy_n(back.At(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py)),
                            3, d);
                continue;
            }
            const std::uint8_t* mp = mRow + at;
            if (!pale && (mp[0] | mp[1] | mp[2]) == 0) { // opaque: the image as it is
                d[0] = sp[0], d[1] = sp[1], d[2] = sp[2];
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                const std::int32_t m = pale ? std::min(mp[c] + 100, 255) : mp[c];
                d[c] = Limit255((d[c] - sp[c]) * m / 256 + sp[c]);
            }
        }
    }
}

void MakeGrey(const TacRows24& bitmap) {
    if (bitmap.Empty())
        return;
    for (std::int32_t y = 0; y < bitmap.height; ++y) {
        std::uint8_t* d = bitmap.At(0, y);
        for (std::int32_t x = 0; x < bitmap.width; ++x, d += 3)
            d[0] = d[1] = d[2] = static_cast<std::uint8_t>((d[0] + d[1] + d[2]) / 3);
    }
}

platform::Color MixColors(platform::Color a, platform::Color b, double x) {
    const auto channel = [&](int shift) {
        const double ca = (a >> shift) & 0xFF;
        const double cb = (b >> shift) & 0xFF;
        return platform::Color{Round255(x * (ca - cb) + cb)} << shift;
    };
    return (a & 0xFF000000u) | channel(0) | channel(8) | channel(16);
}

void CrossFadeInto(const TacRows24& a, const TacRows24& b, std::int32_t w,
                   platform::DibSection& target) {
    CrossFade(a, b, nullptr, w, target);
}

void CrossFadeInto(const TacRows24& a, const TacRows24& b, const TacRows24& weights,
                   platform::DibSection& target) {
    CrossFade(a, b, &weights, 0, target);
}

void PaintDisabledLook(toolkit::TBitmap& bitmap, std::int32_t flags, platform::Color controlColor,
                       platform::Point position, const TsBackdropInfo& parent) {
    const TacRows24 rows(bitmap);
    if (rows.Empty())
        return;
    if (flags & kDisabledGrey)
        MakeGrey(rows);
    if (!(flags & kDisabledFade))
        return;
    const TacRows24 back = parent.Ready ? TacRows24::Of(parent.Bmp) : TacRows24();
    if (!back.Empty()) {
        const std::int64_t px = std::int64_t{parent.X} + position.x;
        const std::int64_t py = std::int64_t{parent.Y} + position.y;
        // The source rectangle starts at (px, py); FadeCopyKeyed clips what lies outside.
        TacBlit b{0, 0, px, py, rows.width, rows.height};
        if (b.Clip(rows.width, rows.height, back.width, back.height))
            FadeCopyKeyed(rows, static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(b.y),
                          kNoKeyColor, 0.4,
                          platform::Rect::FromSize(
                              static_cast<std::int32_t>(b.sx), static_cast<std::int32_t>(b.sy),
                              static_cast<std::int32_t>(b.w), static_cast<std::int32_t>(b.h)),
                          back);
        return;
    }
    const platform::Color mix = ParentColor() != kKeyColor ? ParentColor() : controlColor;
    MixColorInto(rows, rows.Bounds(), 50, toolkit::ColorToRGB(mix));
}

} // namespace skin
