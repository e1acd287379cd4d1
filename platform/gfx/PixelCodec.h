#pragma once
// Reading and writing pixels of any DIB format as RGB colours, a row at a time. Used by the
// blits and fills; pixel loops go through row pointers, with the format switch outside them.
//
// Reading: 1, 4, 8 bits give the colour table entry of the index (black beyond the table);
// 16 and 32 bits split the word by the masks and widen each channel to 8 bits by repeating its
// bits (a 5-bit v becomes v × 8 + v div 4, a 6-bit one v × 4 + v div 16); 24 bits are blue,
// green, red. Writing: the nearest colour table entry by squared red-green-blue distance (ties
// to the lower index) for 1, 4, 8 bits; the top bits of each channel for masks; the bytes
// themselves for 24 and 32 bits.

#include <array>
#include <cstdint>

#include "platform/gfx/Dib.h"

namespace platform {

// Widens a channel value of the given width (0 ... 32 bits) to 8 bits.
std::uint8_t WidenChannel(std::uint32_t value, int width);

// Finds the nearest colour table entry for colours, remembering recent answers. Into the
// 256-level grey ramp the answer is round((r + g + b) / 3) without any search.
class ColorMatcher {
public:
    ColorMatcher(const RgbQuad* colors, int count);
    std::uint8_t IndexOf(Color color);

private:
    std::uint8_t Search(Color color) const;

    const RgbQuad* m_colors;
    int m_count;
    bool m_greyRamp;
    // The cache is cleared on first use: matchers for formats without a table (most drawing)
    // never pay for it.
    bool m_cacheReady = false;
    static constexpr std::size_t kCacheSize = 4096;
    std::array<std::uint32_t, kCacheSize> m_keys;
    std::array<std::uint8_t, kCacheSize> m_values{};
};

// Reads the pixels at columns cols[0 ... n-1] of one row into out.
void ReadColors(const PixelRows& rows, const std::uint8_t* row, const std::int64_t* cols,
                std::size_t n, Color* out);
// Writes n colours into one row from column x on (the caller keeps x ... x + n - 1 in the row).
void WriteColors(const PixelRows& rows, std::uint8_t* row, std::int32_t x, const Color* colors,
                 std::size_t n, ColorMatcher& matcher);

} // namespace platform
