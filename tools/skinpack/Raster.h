#pragma once
// A small 24-bit raster for drawing the skin's images at build time, with the file writers the
// tool needs: 8-bit bitmap files (colours reduced to the skin's palette) and JPEG.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace skinpack {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb kKey{255, 0, 255}; // transparent in every skin image
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

Rgb FromColorRef(std::uint32_t color); // red in the low byte
Rgb Mix(Rgb a, Rgb b, double t);       // t = 0 gives a

class Raster {
public:
    Raster(int width, int height, Rgb fill = kKey);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb Get(int x, int y) const { return m_pixels[Index(x, y)]; }
    void Set(int x, int y, Rgb c);
    // Rectangles are [x0, x1) × [y0, y1); everything is clipped to the raster.
    void Fill(int x0, int y0, int x1, int y1, Rgb c);
    void VerticalGradient(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom);
    // A rounded box with a one-pixel edge and a vertical gradient inside; outside stays.
    void RoundBox(int x0, int y0, int x1, int y1, double radius, Rgb edge, Rgb top, Rgb bottom);
    void Line(double x0, double y0, double x1, double y1, double width, Rgb c);
    void Triangle(double ax, double ay, double bx, double by, double cx, double cy, Rgb c);
    void Disc(double cx, double cy, double radius, Rgb c);
    void Blit(const Raster& source, int x, int y);
    // Draws count state images side by side at (x, y) with draw(cell, state); with a mask,
    // the mask half below holds black where the image is opaque and white where it is the key.
    void Piece(int x, int y, int cellWidth, int cellHeight, int count, bool withMask,
               const std::function<void(Raster&, int)>& draw);

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
               static_cast<std::size_t>(x);
    }
    int m_width, m_height;
    std::vector<Rgb> m_pixels;
};

// A skin palette: the key, a 64-step grey ramp (masks and neutral greys), 128 colours spread
// along the skin's main ramp and 63 along its accent ramp (each at least two stops).
std::array<Rgb, 256> MakePalette(const std::vector<Rgb>& ramp, const std::vector<Rgb>& accents);
std::vector<std::uint8_t> EncodeBitmap8(const Raster& raster, const std::array<Rgb, 256>& palette);
std::vector<std::uint8_t> EncodeJpeg(const Raster& raster, int quality);

} // namespace skinpack
