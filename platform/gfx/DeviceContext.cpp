#include "platform/gfx/DeviceContext.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#include "platform/gfx/BlitClip.h"
#include "platform/gfx/PixelCodec.h"

namespace platform {

namespace {

// n pixels of three bytes (blue, green, red) to four with a zero fourth byte. Four pixels at a
// time as three words in, four words out; reads stay within the n × 3 source bytes.
void BgrToBgrxWords(const std::uint8_t* from, std::uint8_t* to, std::size_t n) {
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 4 <= n; i += 4, from += 12, to += 16) {
            std::uint32_t in[3];
            std::memcpy(in, from, 12);
            const std::uint32_t out[4] = {in[0] & 0xFFFFFF, (in[0] >> 24) | ((in[1] & 0xFFFF) << 8),
                                          (in[1] >> 16) | ((in[2] & 0xFF) << 16), in[2] >> 8};
            std::memcpy(to, out, 16);
        }
    }
    for (; i < n; ++i, from += 3, to += 4) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = 0;
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// The same with one byte shuffle per four pixels. Each step reads 16 bytes of which it uses 12,
// so it runs only while at least 18 source bytes (six pixels) are left.
__attribute__((target("ssse3"))) void BgrToBgrxShuffle(const std::uint8_t* from, std::uint8_t* to,
                                                       std::size_t n) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    std::size_t i = 0;
    for (; i + 6 <= n; i += 4, from += 12, to += 16) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_shuffle_epi8(in, spread));
    }
    BgrToBgrxWords(from, to, n - i);
}

void BgrToBgrx(const std::uint8_t* from, std::uint8_t* to, std::size_t n) {
    static const bool shuffle = __builtin_cpu_supports("ssse3");
    if (shuffle)
        BgrToBgrxShuffle(from, to, n);
    else
        BgrToBgrxWords(from, to, n);
}
#else
void BgrToBgrx(const std::uint8_t* from, std::uint8_t* to, std::size_t n) {
    BgrToBgrxWords(from, to, n);
}
#endif

// Draws the planned target pixels of target from source. Source rows are read before a target
// row is written, and a source that shares pixels with the target is copied first, so
// overlapping transfers within one section come out right.
// sourceRow(sy) gives source picture row sy; source describes the format.
template <typename SourceRow>
void Transfer(const PixelRows& target, const PixelRows& source, SourceRow sourceRow,
              const BlitPlan& plan) {
    // Same format, same table, one to one: rows copy as bytes.
    const bool oneToOne = !plan.x.mirror && plan.x.srcLength == plan.x.dstLength;
    const bool byteCopy =
        oneToOne && source.bitCount == target.bitCount && source.bitCount >= 8 &&
        source.masks == target.masks &&
        (source.bitCount > 8 ||
         (source.colorCount == target.colorCount &&
          std::equal(source.colors, source.colors + source.colorCount, target.colors)));
    const std::size_t pixelBytes = static_cast<std::size_t>(source.bitCount / 8);
    // The skinned controls' 24-bit caches going to a window's 32-bit surface one to one (and
    // back): the commonest copies of all, done without the detour through colours.
    const bool bgrToBgrx =
        oneToOne && source.bitCount == 24 && target.bitCount == 32 && target.masks == kMasks888;
    const bool bgrxToBgr =
        oneToOne && source.bitCount == 32 && source.masks == kMasks888 && target.bitCount == 24;
    const bool throughColors = !byteCopy && !bgrToBgrx && !bgrxToBgr;
    // Only colours need a matcher, and one is large to make: not even its storage is set up
    // for the copies above.
    std::unique_ptr<ColorMatcher> matcher;
    if (throughColors)
        matcher = std::make_unique<ColorMatcher>(target.colors, target.colorCount);
    // Row for row, the source row is found without the division of SourceOf.
    const bool rowsOneToOne = !plan.y.mirror && plan.y.srcLength == plan.y.dstLength;
    std::vector<std::int64_t> cols;
    std::vector<Color> colors;
    for (const Rect& r : plan.targets) {
        const auto n = static_cast<std::size_t>(r.Width());
        // One to one, the first source column gives all the others.
        const std::int64_t firstCol = plan.x.SourceOf(r.left);
        if (throughColors) {
            cols.resize(n);
            colors.resize(n);
            for (std::size_t i = 0; i < n; ++i)
                cols[i] = plan.x.SourceOf(r.left + static_cast<std::int64_t>(i));
        }
        std::int64_t lastRow = -1;
        for (std::int32_t y = r.top; y < r.bottom; ++y) {
            const std::int64_t sy =
                rowsOneToOne ? plan.y.srcStart + (y - plan.y.dstStart) : plan.y.SourceOf(y);
            const std::uint8_t* srcRow = sourceRow(sy);
            std::uint8_t* dstRow = target.Row(y);
            if (byteCopy) {
                std::copy_n(srcRow + firstCol * static_cast<std::int64_t>(pixelBytes),
                            n * pixelBytes, dstRow + std::int64_t{r.left} * pixelBytes);
                continue;
            }
            if (bgrToBgrx) {
                const std::uint8_t* from = srcRow + firstCol * 3;
                std::uint8_t* to = dstRow + std::int64_t{r.left} * 4;
                if (n >= 8) {
                    BgrToBgrx(from, to, n);
                    continue;
                }
                // Borders and edges come as many short rows: no call for those.
                for (std::size_t i = 0; i < n; ++i, from += 3, to += 4) {
                    to[0] = from[0];
                    to[1] = from[1];
                    to[2] = from[2];
                    to[3] = 0;
                }
                continue;
            }
            if (bgrxToBgr) {
                const std::uint8_t* from = srcRow + firstCol * 4;
                std::uint8_t* to = dstRow + std::int64_t{r.left} * 3;
                for (std::size_t i = 0; i < n; ++i, from += 4, to += 3) {
                    to[0] = from[0];
                    to[1] = from[1];
                    to[2] = from[2];
                }
                continue;
            }
            if (sy != lastRow) {
                ReadColors(source, srcRow, cols.data(), n, colors.data());
                lastRow = sy;
            }
            WriteColors(target, dstRow, r.left, colors.data(), n, *matcher);
        }
    }
}

auto RowsOf(const PixelRows& rows) {
    return [&rows](std::int64_t y) -> const std::uint8_t* {
        return rows.Row(static_cast<std::int32_t>(y));
    };
}

// The drawable parts of a blit's target bounds, for PlanBlit.
auto DrawableIn(const DeviceContext& dc) {
    return [&dc](const Rect& bounds, std::vector<Rect>& out) { dc.DrawableRects(bounds, out); };
}

// Draws RLE data: only the source rows the plan samples are decoded, so drawing a large
// compressed picture small costs memory for the rows drawn, not for the whole picture.
bool BlitRle(DeviceContext& dst, const OriginSize& dstRange, const BitmapInfo& info,
             const std::uint8_t* data, std::size_t size, const OriginSize& srcRange,
             std::int32_t widthBytes) {
    const std::int32_t height = info.AbsHeight();
    PixelRows format;
    format.width = info.width;
    format.height = height;
    format.bitCount = info.bitCount;
    format.colors = info.colors.data();
    format.colorCount = info.ColorCount();
    if (!((info.compression == Compression::Rle8 && info.bitCount == 8) ||
          (info.compression == Compression::Rle4 && info.bitCount == 4)))
        return false;
    const auto plan = PlanBlit(dstRange, srcRange, {info.width, height}, DrawableIn(dst));
    if (!plan)
        return true;
    std::vector<std::int32_t> needed;
    std::vector<std::uint8_t> rows;
    try {
        for (const Rect& r : plan->targets)
            for (std::int32_t y = r.top; y < r.bottom; ++y)
                needed.push_back(static_cast<std::int32_t>(plan->y.SourceOf(y)));
        std::sort(needed.begin(), needed.end());
        needed.erase(std::unique(needed.begin(), needed.end()), needed.end());
        rows.resize(needed.size() * static_cast<std::size_t>(widthBytes));
    } catch (const std::bad_alloc&) {
        return false;
    }
    auto slot = [&](std::int64_t y) -> std::uint8_t* {
        const auto it = std::lower_bound(needed.begin(), needed.end(), y);
        if (it == needed.end() || *it != y)
            return nullptr;
        return rows.data() + (it - needed.begin()) * std::ptrdiff_t{widthBytes};
    };
    DecodeRleRows(data, size, info.compression, info.width, height, info.bitCount,
                  [&](std::int32_t y) { return slot(y); });
    Transfer(dst.Bitmap()->Rows(), format, slot, *plan);
    return true;
}

// A copy of rows that refers to its own pixels (and colour table) instead of the section's.
struct OwnedRows {
    std::vector<std::uint8_t> bytes;
    std::vector<RgbQuad> colors;
    PixelRows rows;
};
OwnedRows CopyRows(const PixelRows& rows) {
    OwnedRows copy;
    const std::size_t stride = static_cast<std::size_t>(rows.step < 0 ? -rows.step : rows.step);
    copy.bytes.resize(stride * static_cast<std::size_t>(rows.height));
    for (std::int32_t y = 0; y < rows.height; ++y)
        std::copy_n(rows.Row(y), stride, copy.bytes.data() + stride * y);
    copy.colors.assign(rows.colors, rows.colors + rows.colorCount);
    copy.rows = rows;
    copy.rows.top = copy.bytes.data();
    copy.rows.step = static_cast<std::ptrdiff_t>(stride);
    copy.rows.colors = copy.colors.data();
    return copy;
}

bool Blit(DeviceContext& dst, const OriginSize& dstRange, const PixelRows& source,
          const OriginSize& srcRange, RasterOp rop, bool sourceIsTarget) {
    if (rop != RasterOp::SrcCopy || dst.Bitmap() == nullptr || source.IsEmpty())
        return false;
    const auto plan = PlanBlit(dstRange, srcRange, {source.width, source.height}, DrawableIn(dst));
    if (!plan)
        return true; // clipped away: nothing to draw is not a failure
    if (sourceIsTarget) {
        OwnedRows copy;
        try {
            copy = CopyRows(source);
        } catch (const std::bad_alloc&) {
            return false;
        }
        Transfer(dst.Bitmap()->Rows(), copy.rows, RowsOf(copy.rows), *plan);
    } else {
        Transfer(dst.Bitmap()->Rows(), source, RowsOf(source), *plan);
    }
    return true;
}

OriginSize DeviceRange(const DeviceContext& dc, std::int32_t x, std::int32_t y, std::int32_t w,
                       std::int32_t h) {
    const auto& s = dc.GetState();
    return {std::int64_t{x} - s.windowOrg.x + s.viewportOrg.x,
            std::int64_t{y} - s.windowOrg.y + s.viewportOrg.y, w, h};
}

// Device point of a logical one if it is drawable.
std::optional<Point> DrawablePoint(const DeviceContext& dc, std::int32_t x, std::int32_t y) {
    const OriginSize p = DeviceRange(dc, x, y, 1, 1);
    if (dc.Bitmap() == nullptr || p.x < INT32_MIN || p.x > INT32_MAX || p.y < INT32_MIN ||
        p.y > INT32_MAX)
        return std::nullopt;
    const Point device{static_cast<std::int32_t>(p.x), static_cast<std::int32_t>(p.y)};
    const auto& s = dc.GetState();
    const Rect section{0, 0, dc.Bitmap()->Width(), dc.Bitmap()->Height()};
    if (!section.Contains(device) || (s.visible && !s.visible->Contains(device)) ||
        (s.clip && !s.clip->Contains(device)))
        return std::nullopt;
    return device;
}

std::int32_t ClampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// A rectangle moved by the context's origin; coordinates wrap as Region::Offset wraps them.
Rect ShiftWrapped(const Rect& r, Point by) {
    auto add = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) +
                                         static_cast<std::uint32_t>(b));
    };
    return {add(r.left, by.x), add(r.top, by.y), add(r.right, by.x), add(r.bottom, by.y)};
}

// n pixel words set to word. The C library's wide-character fill is the same operation where a
// wide character is a 32-bit word, and is tuned for the processor: about twice as fast as a plain
// loop on the large fills of a repaint.
void FillWords(std::uint32_t* p, std::size_t n, std::uint32_t word) {
    if constexpr (sizeof(wchar_t) == sizeof(std::uint32_t))
        std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(word), n);
    else
        std::fill_n(p, n, word);
}

// Fills device rectangles of a section with one colour: whole pixel words for 32 bits, a byte
// pattern for 24, the colour codec for the rest.
void FillDeviceRects(DibSection& section, const std::vector<Rect>& rects, Color color) {
    const PixelRows rows = section.Rows();
    color &= 0xFFFFFF;
    if (rows.bitCount == 32 && rows.masks == kMasks888) {
        const std::uint32_t word = std::uint32_t{GetBValue(color)} |
                                   std::uint32_t{GetGValue(color)} << 8 |
                                   std::uint32_t{GetRValue(color)} << 16;
        for (const Rect& r : rects)
            for (std::int32_t y = r.top; y < r.bottom; ++y)
                FillWords(reinterpret_cast<std::uint32_t*>(rows.Row(y)) + r.left,
                          static_cast<std::size_t>(r.Width()), word);
        return;
    }
    if (rows.bitCount == 24) {
        // Four pixels are twelve bytes: the row is written in runs of that pattern.
        const std::uint8_t b = GetBValue(color), g = GetGValue(color), red = GetRValue(color);
        std::uint8_t pattern[12];
        for (int i = 0; i < 12; i += 3) {
            pattern[i] = b;
            pattern[i + 1] = g;
            pattern[i + 2] = red;
        }
        for (const Rect& r : rects)
            for (std::int32_t y = r.top; y < r.bottom; ++y) {
                std::uint8_t* p = rows.Row(y) + std::ptrdiff_t{r.left} * 3;
                std::int32_t x = r.left;
                for (; x + 4 <= r.right; x += 4, p += 12)
                    std::memcpy(p, pattern, 12);
                for (; x < r.right; ++x, p += 3)
                    std::memcpy(p, pattern, 3);
            }
        return;
    }
    ColorMatcher matcher(rows.colors, rows.colorCount);
    std::vector<Color> line;
    for (const Rect& r : rects) {
        line.assign(static_cast<std::size_t>(r.Width()), color);
        for (std::int32_t y = r.top; y < r.bottom; ++y)
            WriteColors(rows, rows.Row(y), r.left, line.data(), line.size(), matcher);
    }
}

// The bounds of the drawable area and the pixels it holds, from its pieces (which never overlap),
// without building the region.
struct DrawableExtent {
    Rect bounds;
    std::int64_t area = 0;
};
DrawableExtent DrawableBounds(const DeviceContext& dc) {
    DrawableExtent extent;
    if (!dc.Bitmap())
        return extent;
    std::vector<Rect> pieces;
    dc.DrawableRects({0, 0, dc.Bitmap()->Width(), dc.Bitmap()->Height()}, pieces);
    for (const Rect& r : pieces) {
        extent.bounds = extent.area == 0 ? r
                                         : Rect{std::min(extent.bounds.left, r.left),
                                                std::min(extent.bounds.top, r.top),
                                                std::max(extent.bounds.right, r.right),
                                                std::max(extent.bounds.bottom, r.bottom)};
        extent.area += std::int64_t{r.Width()} * r.Height();
    }
    return extent;
}

// What the drawable region is: pieces filling their bounds exactly make one rectangle.
RegionKind DrawableKind(const DeviceContext& dc) {
    const DrawableExtent e = DrawableBounds(dc);
    if (e.area == 0)
        return RegionKind::Null;
    return e.area == std::int64_t{e.bounds.Width()} * e.bounds.Height() ? RegionKind::Simple
                                                                        : RegionKind::Complex;
}

} // namespace

Point DeviceContext::ToDevice(Point logical) const {
    const OriginSize p = DeviceRange(*this, logical.x, logical.y, 0, 0);
    return {ClampToInt32(p.x), ClampToInt32(p.y)};
}

Rect DeviceContext::ToDevice(const Rect& logical) const {
    const Point a = ToDevice(Point{logical.left, logical.top});
    const Point b = ToDevice(Point{logical.right, logical.bottom});
    return {a.x, a.y, b.x, b.y};
}

Region DeviceContext::DrawableRegion() const {
    if (!m_state.bitmap)
        return {};
    Region region(Rect{0, 0, m_state.bitmap->Width(), m_state.bitmap->Height()});
    if (m_state.visible)
        region.IntersectWith(*m_state.visible);
    if (m_state.clip)
        region.IntersectWith(*m_state.clip);
    return region;
}

void DeviceContext::DrawableRects(const Rect& bounds, std::vector<Rect>& out) const {
    if (!m_state.bitmap)
        return;
    const Rect area = bounds.Intersect({0, 0, m_state.bitmap->Width(), m_state.bitmap->Height()});
    if (area.IsEmpty())
        return;
    const Region* one = m_state.visible ? &*m_state.visible : nullptr;
    const Region* two = m_state.clip ? &*m_state.clip : nullptr;
    if (!one)
        std::swap(one, two);
    if (!one) {
        out.push_back(area);
        return;
    }
    // Rectangles of one region never overlap, so the pieces of pairs never do either.
    for (const Rect& r : one->Rects()) {
        const Rect a = r.Intersect(area);
        if (a.IsEmpty())
            continue;
        if (!two) {
            out.push_back(a);
            continue;
        }
        for (const Rect& c : two->Rects()) {
            if (c.top >= a.bottom)
                break; // rectangles come sorted by top
            const Rect b = c.Intersect(a);
            if (!b.IsEmpty())
                out.push_back(b);
        }
    }
}

int SaveDC(DeviceContext& dc) {
    dc.SavedStates().push_back(dc.GetState());
    return static_cast<int>(dc.SavedStates().size());
}

bool RestoreDC(DeviceContext& dc, int level) {
    auto& saved = dc.SavedStates();
    const int count = static_cast<int>(saved.size());
    if (level < 0)
        level = count + 1 + level;
    if (level < 1 || level > count)
        return false;
    dc.SetState(std::move(saved[static_cast<std::size_t>(level - 1)]));
    saved.resize(static_cast<std::size_t>(level - 1));
    return true;
}

std::unique_ptr<DeviceContext> CreateCompatibleDC(const DeviceContext*) {
    return std::make_unique<DeviceContext>();
}

std::shared_ptr<DibSection> SelectObject(DeviceContext& dc, std::shared_ptr<DibSection> bitmap) {
    return std::exchange(dc.MutableState().bitmap, std::move(bitmap));
}

std::shared_ptr<GdiObject> SelectFont(DeviceContext& dc, std::shared_ptr<GdiObject> font) {
    return std::exchange(dc.MutableState().font, std::move(font));
}

std::shared_ptr<Palette> SelectPalette(DeviceContext& dc, std::shared_ptr<Palette> palette, bool) {
    return std::exchange(dc.MutableState().palette, std::move(palette));
}

std::uint32_t RealizePalette(DeviceContext& dc) {
    const auto& palette = dc.GetState().palette;
    return palette ? static_cast<std::uint32_t>(palette->Entries().size()) : 0;
}

StretchMode SetStretchBltMode(DeviceContext& dc, StretchMode mode) {
    return std::exchange(dc.MutableState().stretchMode, mode);
}

StretchMode GetStretchBltMode(const DeviceContext& dc) {
    return dc.GetState().stretchMode;
}

Point SetViewportOrgEx(DeviceContext& dc, Point origin) {
    return std::exchange(dc.MutableState().viewportOrg, origin);
}

Point SetWindowOrgEx(DeviceContext& dc, Point origin) {
    return std::exchange(dc.MutableState().windowOrg, origin);
}

Point OffsetViewportOrgEx(DeviceContext& dc, std::int32_t dx, std::int32_t dy) {
    Point& origin = dc.MutableState().viewportOrg;
    const Point old = origin;
    origin = {ClampToInt32(std::int64_t{origin.x} + dx), ClampToInt32(std::int64_t{origin.y} + dy)};
    return old;
}

void SetVisibleRegion(DeviceContext& dc, const Region* region) {
    if (region == nullptr)
        dc.MutableState().visible.reset();
    else
        dc.MutableState().visible = *region;
}

RegionKind SelectClipRgn(DeviceContext& dc, const Region* region) {
    if (region == nullptr)
        dc.MutableState().clip.reset();
    else
        dc.MutableState().clip = *region;
    return DrawableKind(dc);
}

RegionKind IntersectClipRect(DeviceContext& dc, const Rect& logical) {
    auto& clip = dc.MutableState().clip;
    const Rect device = dc.ToDevice(logical);
    if (!clip) {
        // No clip yet: the whole section (or nothing without one) is the start.
        clip = dc.Bitmap() ? Region(Rect{0, 0, dc.Bitmap()->Width(), dc.Bitmap()->Height()})
                           : Region();
    }
    clip->IntersectWith(device);
    return DrawableKind(dc);
}

RegionKind ExcludeClipRect(DeviceContext& dc, const Rect& logical) {
    auto& clip = dc.MutableState().clip;
    const Rect device = dc.ToDevice(logical);
    if (!clip) {
        clip = dc.Bitmap() ? Region(Rect{0, 0, dc.Bitmap()->Width(), dc.Bitmap()->Height()})
                           : Region();
    }
    clip->Subtract(device);
    return DrawableKind(dc);
}

Rect GetClipBox(const DeviceContext& dc) {
    const Rect device = DrawableBounds(dc).bounds;
    if (device.IsEmpty())
        return {};
    const auto& s = dc.GetState();
    return device.Offset(s.windowOrg.x - s.viewportOrg.x, s.windowOrg.y - s.viewportOrg.y);
}

Color SetTextColor(DeviceContext& dc, Color color) {
    return std::exchange(dc.MutableState().textColor, color);
}

Color SetBkColor(DeviceContext& dc, Color color) {
    return std::exchange(dc.MutableState().bkColor, color);
}

BkMode SetBkMode(DeviceContext& dc, BkMode mode) {
    return std::exchange(dc.MutableState().bkMode, mode);
}

void GdiFlush() {}

bool BitBlt(DeviceContext& dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
            const DeviceContext& src, std::int32_t sx, std::int32_t sy, RasterOp rop) {
    return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

bool StretchBlt(DeviceContext& dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                const DeviceContext& src, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                std::int32_t sh, RasterOp rop) {
    if (src.Bitmap() == nullptr)
        return false;
    return Blit(dst, DeviceRange(dst, x, y, w, h), src.Bitmap()->Rows(),
                DeviceRange(src, sx, sy, sw, sh), rop, src.Bitmap() == dst.Bitmap());
}

std::int32_t StretchDIBits(DeviceContext& dst, std::int32_t x, std::int32_t y, std::int32_t w,
                           std::int32_t h, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                           std::int32_t sh, const void* bits, std::size_t bitsSize,
                           const BitmapInfo& info, RasterOp rop) {
    const auto geometry = DibGeometryOf(info.width, info.AbsHeight(), info.bitCount);
    if (!geometry || bits == nullptr)
        return 0;
    const bool rle = info.compression == Compression::Rle8 || info.compression == Compression::Rle4;
    if (rle) {
        // Decoded here, row by row; the caller's data stays compressed.
        if (dst.Bitmap() == nullptr || rop != RasterOp::SrcCopy)
            return 0;
        return BlitRle(dst, DeviceRange(dst, x, y, w, h), info,
                       static_cast<const std::uint8_t*>(bits), bitsSize, {sx, sy, sw, sh},
                       geometry->widthBytes)
                   ? info.AbsHeight()
                   : 0;
    }
    if (info.compression == Compression::BitFields && info.bitCount != 16 && info.bitCount != 32)
        return 0;
    if (bitsSize < static_cast<std::size_t>(geometry->imageSize))
        return 0;
    const PixelRows rows = MakePixelRows(info, bits);
    const bool sameMemory = dst.Bitmap() != nullptr && rows.top != nullptr &&
                            bits == static_cast<const void*>(dst.Bitmap()->Bits());
    return Blit(dst, DeviceRange(dst, x, y, w, h), rows, {sx, sy, sw, sh}, rop, sameMemory)
               ? info.AbsHeight()
               : 0;
}

bool FillRgn(DeviceContext& dc, const Region& logical, Color color) {
    DibSection* section = dc.Bitmap();
    if (section == nullptr)
        return false;
    const Point origin = dc.ToDevice(Point{0, 0});
    std::vector<Rect> rects;
    for (const Rect& r : logical.Rects())
        dc.DrawableRects(ShiftWrapped(r, origin), rects);
    FillDeviceRects(*section, rects, color);
    return true;
}

bool FillRect(DeviceContext& dc, const Rect& logical, Color color) {
    DibSection* section = dc.Bitmap();
    if (section == nullptr)
        return false;
    std::vector<Rect> rects;
    if (!logical.IsEmpty())
        dc.DrawableRects(ShiftWrapped(logical, dc.ToDevice(Point{0, 0})), rects);
    FillDeviceRects(*section, rects, color);
    return true;
}

bool FrameRect(DeviceContext& dc, const Rect& logical, Color color) {
    if (logical.IsEmpty())
        return dc.Bitmap() != nullptr;
    Region frame(logical);
    frame.Subtract(logical.Inflate(-1, -1));
    return FillRgn(dc, frame, color);
}

Color GetPixel(const DeviceContext& dc, std::int32_t x, std::int32_t y) {
    const auto device = DrawablePoint(dc, x, y);
    if (!device)
        return kInvalidColor;
    const PixelRows rows = dc.Bitmap()->Rows();
    const std::int64_t col = device->x;
    Color color = 0;
    ReadColors(rows, rows.Row(device->y), &col, 1, &color);
    return color;
}

Color SetPixel(DeviceContext& dc, std::int32_t x, std::int32_t y, Color color) {
    const auto device = DrawablePoint(dc, x, y);
    if (!device)
        return kInvalidColor;
    const PixelRows rows = dc.Bitmap()->Rows();
    ColorMatcher matcher(rows.colors, rows.colorCount);
    const Color rgb = color & 0xFFFFFF;
    WriteColors(rows, rows.Row(device->y), device->x, &rgb, 1, matcher);
    return GetPixel(dc, x, y);
}

} // namespace platform
