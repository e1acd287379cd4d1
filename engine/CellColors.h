#pragma once
// The picture's colour at each text cell, for the exports that show it.
//
// A colour raster holds the same sampled pixels the grey copy was made from, before greying:
// cell (x, y) is the colour of the picture where grey pixel (x, y) came from. Lines of text
// carry one colour per character (code point); a symbol of several characters gives each of them
// its pixel's colour, an empty symbol gives none.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace engine {

struct TRgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const TRgb&) const = default;
};

// A read-only view of colour pixels, three bytes a pixel in red, green, blue order, row 0 at the
// top; stride is the distance in bytes from one row to the next one down. Does not own them.
class TColorRasterView {
public:
    TColorRasterView() = default;
    TColorRasterView(const std::uint8_t* topRow, int width, int height, std::ptrdiff_t stride)
        : m_top(topRow), m_width(width), m_height(height), m_stride(stride) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    TRgb At(int x, int y) const {
        const std::uint8_t* p = m_top + static_cast<std::ptrdiff_t>(y) * m_stride + 3 * x;
        return {p[0], p[1], p[2]};
    }

private:
    const std::uint8_t* m_top = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::ptrdiff_t m_stride = 0;
};

// One colour per character of a line.
using LineColors = std::vector<TRgb>;
using ColoredLineSink = std::function<void(std::string line, LineColors colors)>;

// The colour a symbol is drawn in on a white page: light colours are darkened, keeping their
// hue, until they stand out from the page (brightness at most kMaxInkLuma of 255), since a pale
// yellow symbol on white could not be read. Dark colours stay as they are.
inline constexpr int kMaxInkLuma = 150;
TRgb InkOnWhite(TRgb color);

// "#rrggbb".
std::string HexColor(TRgb color);

} // namespace engine
