#pragma once
// Internal to image/jpeg: grey rows reduced to a palette of evenly spread levels, as the JPEG
// library's own one-pass quantiser would, for the decoder's row-by-row path.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/Geometry.h"

namespace image::detail {

// How many colours the decoder asks of the library's quantiser, and the levels the dither uses.
constexpr int kColorsWanted = 236;

// The library's one-pass quantisation of grey output to kColorsWanted evenly spread levels with
// Floyd-Steinberg error diffusion, serpentine (odd rows right to left), errors kept in
// sixteenths, done here over rows decoded without it: the same indexes and levels, at a fraction
// of the library's cost, which is most of a grey picture's decoding.
class TGreyDither {
public:
    explicit TGreyDither(std::size_t width) : m_width(width), m_errors(width + 2, 0) {
        const int maxLevel = kColorsWanted - 1;
        // The level nearest each input value, and the value each level stands for.
        std::array<std::uint8_t, 256> index{};
        int level = 0;
        int largestInput = LargestInput(0, maxLevel);
        for (int v = 0; v <= 255; ++v) {
            while (v > largestInput) {
                largestInput = LargestInput(++level, maxLevel);
            }
            index[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(level);
        }
        std::array<std::uint8_t, kColorsWanted> levels{};
        for (int j = 0; j <= maxLevel; ++j) {
            const auto value = static_cast<std::uint8_t>((j * 255 + maxLevel / 2) / maxLevel);
            levels[static_cast<std::size_t>(j)] = value;
            m_palette.push_back(platform::RGB(value, value, value));
        }
        // A pixel plus its share of errors stays within half a level step of 0 ... 255, far
        // inside the margins.
        for (std::size_t slot = 0; slot < m_index.size(); ++slot) {
            const int v = std::clamp(static_cast<int>(slot) - kBelow, 0, 255);
            m_index[slot] = index[static_cast<std::size_t>(v)];
            m_error[slot] = static_cast<std::int16_t>(v - levels[m_index[slot]]);
        }
    }

    const std::vector<platform::Color>& Palette() const { return m_palette; }

    // The next row, in order from the top: grey samples in, level indexes out.
    void Apply(const std::uint8_t* input, std::uint8_t* output) {
        const bool leftward = m_oddRow;
        m_oddRow = !m_oddRow;
        if (m_width == 0) {
            return;
        }
        const std::ptrdiff_t dir = leftward ? -1 : 1;
        // errors[e] belongs to the column before the current one; e runs 0 ... width + 1 with
        // one spare entry at either end.
        std::ptrdiff_t e = leftward ? static_cast<std::ptrdiff_t>(m_width) + 1 : 0;
        std::ptrdiff_t x = leftward ? static_cast<std::ptrdiff_t>(m_width) - 1 : 0;
        int cur = 0;
        int below = 0;
        int belowPrevious = 0;
        for (std::size_t n = m_width; n > 0; --n, x += dir, e += dir) {
            cur = (cur + m_errors[static_cast<std::size_t>(e + dir)] + 8) >> 4;
            // One look-up, limiting to 0 ... 255 included, on the path from pixel to pixel,
            // which is what bounds this loop.
            const auto slot = static_cast<std::size_t>(cur + input[x] + kBelow);
            output[x] = m_index[slot];
            cur = m_error[slot];
            const int error = cur;
            const int twice = cur * 2;
            cur += twice; // 3/16
            m_errors[static_cast<std::size_t>(e)] = static_cast<std::int16_t>(belowPrevious + cur);
            cur += twice; // 5/16
            belowPrevious = below + cur;
            below = error;
            cur += twice; // 7/16, on along the row
        }
        m_errors[static_cast<std::size_t>(e)] = static_cast<std::int16_t>(belowPrevious);
    }

private:
    // The largest input value that level j of 0 ... maxLevel stands for.
    static int LargestInput(int j, int maxLevel) {
        return ((2 * j + 1) * 255 + maxLevel) / (2 * maxLevel);
    }

    std::size_t m_width;
    std::vector<std::int16_t> m_errors;
    // By pixel value plus error, from -kBelow on: the level index, and the value (limited to
    // 0 ... 255) less the level's value.
    static constexpr int kBelow = 256;
    std::array<std::uint8_t, 3 * 256> m_index{};
    std::array<std::int16_t, 3 * 256> m_error{};
    std::vector<platform::Color> m_palette;
    bool m_oddRow = false;
};

} // namespace image::detail
