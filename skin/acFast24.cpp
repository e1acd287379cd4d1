#include "skin/acFast24.h"

#include <algorithm>

#include "skin/SkinPictures.h"
#include "toolkit/TBitmap.h"

namespace skin {

namespace {

platform::Color g_parentColor = kKeyColor;

std::int32_t Limit(std::int64_t v, std::int32_t low, std::int32_t high) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, low, high));
}

bool RowsApart(const std::uint8_t* d, const std::uint8_t* s, std::ptrdiff_t bytes) {
    const auto da = reinterpret_cast<std::uintptr_t>(d), sa = reinterpret_cast<std::uintptr_t>(s);
    const auto n = static_cast<std::uintptr_t>(bytes);
    return sa + n <= da || da + n <= sa;
}

// Rows that share no bytes blend in any order, which lets the compiler do many bytes at once.
void BlendApart(std::uint8_t* __restrict d, const std::uint8_t* __restrict s, std::ptrdiff_t bytes,
                std::uint32_t k) {
    const std::uint32_t ks = 255 - k;
    for (std::ptrdiff_t i = 0; i < bytes; ++i)
        d[i] = static_cast<std::uint8_t>((d[i] * k + s[i] * ks + 127) >> 8);
}

} // namespace

platform::Color ParentColor() {
    return g_parentColor;
}
void SetParentColor(platform::Color color) {
    g_parentColor = color;
}
void ResetParentColor() {
    g_parentColor = kKeyColor;
}

TacRows24::TacRows24(toolkit::TBitmap& bitmap) {
    if (bitmap.PixelFormat() != toolkit::TPixelFormat::pf24bit || bitmap.Empty())
        return;
    row0 = bitmap.ScanLine(0);
    stride = bitmap.ScanLineStride();
    width = bitmap.Width();
    height = bitmap.Height();
}

TacRows24::TacRows24(const TsSkinBitmap& bitmap) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return;
    row0 = const_cast<std::uint8_t*>(bitmap.ScanLine(0));
    stride = static_cast<std::ptrdiff_t>(bitmap.RowBytes());
    width = bitmap.Width();
    height = bitmap.Height();
}

TacRows24 TacRows24::Of(toolkit::TBitmap* bitmap) {
    return bitmap ? TacRows24(*bitmap) : TacRows24();
}
TacRows24 TacRows24::Of(const TsSkinBitmap* bitmap) {
    return bitmap ? TacRows24(*bitmap) : TacRows24();
}

platform::Rect ClipToSize(const platform::Rect& r, std::int32_t width, std::int32_t height) {
    const platform::Rect c{
        Limit(r.left, 0, std::max(width, 0)), Limit(r.top, 0, std::max(height, 0)),
        Limit(r.right, 0, std::max(width, 0)), Limit(r.bottom, 0, std::max(height, 0))};
    return c.IsEmpty() ? platform::Rect{} : c;
}

platform::Rect RectOf64(std::int64_t left, std::int64_t top, std::int64_t right,
                        std::int64_t bottom) {
    return {Limit(left, INT32_MIN, INT32_MAX), Limit(top, INT32_MIN, INT32_MAX),
            Limit(right, INT32_MIN, INT32_MAX), Limit(bottom, INT32_MIN, INT32_MAX)};
}

TacRows24 SubRows(const TacRows24& rows, const platform::Rect& area, platform::Point& origin) {
    const platform::Rect c = ClipToSize(area, rows.width, rows.height);
    origin = {c.left, c.top};
    if (rows.Empty() || c.IsEmpty())
        return {};
    TacRows24 sub = rows;
    sub.row0 = rows.At(c.left, c.top);
    sub.width = c.Width();
    sub.height = c.Height();
    return sub;
}

bool TacBlit::Clip(std::int32_t dstWidth, std::int32_t dstHeight, std::int32_t srcWidth,
                   std::int32_t srcHeight) {
    // Shift both origins together so that neither is negative, then cut what runs past either
    // right or bottom edge.
    const auto trim = [](std::int64_t& d, std::int64_t& s, std::int64_t& len) {
        const std::int64_t cut = std::max<std::int64_t>({0, -d, -s});
        d += cut;
        s += cut;
        len -= cut;
    };
    trim(x, sx, w);
    trim(y, sy, h);
    w = std::min({w, std::int64_t{dstWidth} - x, std::int64_t{srcWidth} - sx});
    h = std::min({h, std::int64_t{dstHeight} - y, std::int64_t{srcHeight} - sy});
    return w > 0 && h > 0;
}

bool TacFast24::Attach(const TacRows24& rows) {
    m_rows = TacRows24();
    if (rows.Empty() || rows.width < 2 || rows.height < 2)
        return false;
    m_rows = rows;
    return true;
}

platform::Color TacFast24::Pixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= m_rows.width || y >= m_rows.height)
        return kNoKeyColor;
    return m_rows.PixelAt(x, y);
}

void TacFast24::SetPixel(std::int32_t x, std::int32_t y, platform::Color color) {
    if (x < 0 || y < 0 || x >= m_rows.width || y >= m_rows.height)
        return;
    std::uint8_t* p = m_rows.At(x, y);
    p[0] = platform::GetBValue(color);
    p[1] = platform::GetGValue(color);
    p[2] = platform::GetRValue(color);
}

bool TacFastSum24::Attach(const TacRows24& dst, const TacRows24& src) {
    m_dst = m_src = TacRows24();
    m_width = m_height = 0;
    if (dst.Empty() || src.Empty() || dst.width < 2 || dst.height < 2 || src.width < 2 ||
        src.height < 2)
        return false;
    m_dst = dst;
    m_src = src;
    m_width = std::min(dst.width, src.width);
    m_height = std::min(dst.height, src.height);
    return true;
}

void TacFastSum24::Blend() const {
    if (m_dst.Empty() || m_src.Empty())
        return;
    TacBlit b{DstRect.left,
              DstRect.top,
              SrcOrigin.x,
              SrcOrigin.y,
              std::int64_t{DstRect.right} - DstRect.left,
              std::int64_t{DstRect.bottom} - DstRect.top};
    if (!b.Clip(m_dst.width, m_dst.height, m_src.width, m_src.height))
        return;
    const std::uint32_t k = static_cast<std::uint32_t>(std::clamp(Alpha, 0, 255));
    const std::uint32_t ks = 255 - k;
    const auto bytes = static_cast<std::ptrdiff_t>(b.w * 3);
    // Last row first, last byte first: a source that is the destination itself, shifted down or
    // right, is then read before it is overwritten.
    for (auto row = b.h - 1; row >= 0; --row) {
        std::uint8_t* d =
            m_dst.At(static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(b.y + row));
        const std::uint8_t* s =
            m_src.At(static_cast<std::int32_t>(b.sx), static_cast<std::int32_t>(b.sy + row));
        if (RowsApart(d, s, bytes))
            BlendApart(d, s, bytes, k);
        else
            for (auto i = bytes - 1; i >= 0; --i)
                d[i] = static_cast<std::uint8_t>((d[i] * k + s[i] * ks + 127) >> 8);
    }
}

TacFast24& acFast24Src() {
    static TacFast24 instance;
    return instance;
}
TacFast24& acFast24Dst() {
    static TacFast24 instance;
    return instance;
}
TacFastSum24& acFastSum24() {
    static TacFastSum24 instance;
    return instance;
}

} // namespace skin
