// Blits between device contexts and from device-independent bits: BitBlt, StretchBlt and
// StretchDIBits, planned by BlitClip and carried out row by row in the target's format.

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#include "platform/gfx/BlitClip.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/DeviceRange.h"
#include "platform/gfx/PixelCodec.h"

namespace platform {

namespace {

using detail::DeviceRange;

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

} // namespace

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

} // namespace platform
