// charvane-glyphpreview [SHEET.ppm]
//
// Writes a sheet of every picture of app/Glyphs as a binary PPM (default "sheet.ppm"): one row
// per picture with the picture enlarged 8 times on the skin's light blue and on white, then at
// its real size on both, then on a plain mock of the control that carries it (the 39 x 22
// drop-down tool button for the icons, the 191 x 31 button for the glyphs). Transparent pixels
// show the background, as the image list and the buttons will show them.
//
//   charvane-glyphpreview sheet.ppm && convert sheet.ppm sheet.png

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/Glyphs.h"
#include "toolkit/Exceptions.h"

namespace {

using platform::Color;
using platform::RGB;

constexpr int kZoom = 8;
constexpr int kMargin = 12;
constexpr Color kSheet = RGB(0xB8, 0xC4, 0xD2);
constexpr Color kWinter = RGB(0xDD, 0xEA, 0xF8);
constexpr Color kWhite = RGB(0xFF, 0xFF, 0xFF);

class TSheet {
public:
    TSheet(int width, int height)
        : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height) {
        Fill(0, 0, width, height, kSheet);
    }

    void Put(int x, int y, Color color) {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            m_pixels[static_cast<std::size_t>(y) * m_width + x] = color;
    }
    void Fill(int x, int y, int w, int h, Color color) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                Put(i, j, color);
    }
    void Frame(int x, int y, int w, int h, Color color) {
        Fill(x, y, w, 1, color);
        Fill(x, y + h - 1, w, 1, color);
        Fill(x, y, 1, h, color);
        Fill(x + w - 1, y, 1, h, color);
    }
    // The picture at (x, y), each pixel a zoom x zoom block; transparent pixels left alone.
    void Draw(const app::TGlyphImage& image, int x, int y, int zoom) {
        for (int j = 0; j < image.height; ++j)
            for (int i = 0; i < image.width; ++i) {
                const Color color = image.Pixel(i, j);
                if (color != image.transparent)
                    Fill(x + i * zoom, y + j * zoom, zoom, zoom, color);
            }
    }

    bool WritePpm(const std::string& fileName) const {
        std::FILE* file = std::fopen(fileName.c_str(), "wb");
        if (!file)
            return false;
        std::fprintf(file, "P6\n%d %d\n255\n", m_width, m_height);
        std::vector<unsigned char> bytes;
        bytes.reserve(m_pixels.size() * 3);
        for (const Color color : m_pixels) {
            bytes.push_back(platform::GetRValue(color));
            bytes.push_back(platform::GetGValue(color));
            bytes.push_back(platform::GetBValue(color));
        }
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return std::fclose(file) == 0 && written;
    }

private:
    int m_width;
    int m_height;
    std::vector<Color> m_pixels;
};

// A light raised button face in the winter colours, with a caption stand-in of grey bars.
void DrawButton(TSheet& sheet, int x, int y, int w, int h, bool dropDown) {
    for (int j = 1; j < h - 1; ++j) {
        const int shade = 0xF6 - (j * 0x1C) / h;
        sheet.Fill(x + 1, y + j, w - 2, 1, RGB(shade - 0x10, shade - 0x06, shade));
    }
    sheet.Frame(x, y, w, h, RGB(0x7F, 0x9D, 0xC0));
    if (dropDown) {
        const int split = x + w - 16;
        sheet.Fill(split, y + 3, 1, h - 6, RGB(0x9F, 0xB8, 0xD6));
        const int cx = split + 8;
        const int cy = y + h / 2 - 1;
        for (int k = 0; k < 3; ++k)
            sheet.Fill(cx - 2 + k, cy + k, 5 - 2 * k, 1, RGB(0x1C, 0x2F, 0x4A));
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string fileName = argc > 1 ? argv[1] : "sheet.ppm";
    try {
        std::vector<app::TGlyphImage> images;
        for (const app::GlyphId id : app::AllGlyphs())
            images.push_back(app::Glyph(id));

        const int tile = app::kButtonGlyphSize * kZoom + 2 * kMargin;
        const int small = app::kButtonGlyphSize + 2 * kMargin;
        const int button = 191 + 2 * kMargin;
        const int width = kMargin + 2 * (tile + kMargin) + 2 * (small + kMargin) + button + kMargin;
        int height = kMargin;
        for (const app::TGlyphImage& image : images)
            height += image.height * kZoom + 2 * kMargin + kMargin;

        TSheet sheet(width, height);
        int y = kMargin;
        for (const app::TGlyphImage& image : images) {
            const int rowHeight = image.height * kZoom + 2 * kMargin;
            int x = kMargin;
            for (const Color background : {kWinter, kWhite}) {
                sheet.Fill(x, y, tile, rowHeight, background);
                sheet.Draw(image, x + kMargin, y + kMargin, kZoom);
                x += tile + kMargin;
            }
            for (const Color background : {kWinter, kWhite}) {
                sheet.Fill(x, y, small, rowHeight, background);
                sheet.Draw(image, x + kMargin, y + kMargin, 1);
                x += small + kMargin;
            }
            sheet.Fill(x, y, button, rowHeight, kWinter);
            if (image.width == app::kIconSize) {
                // As on the generator button: the icon at the left, the arrow zone at the right.
                DrawButton(sheet, x + kMargin, y + kMargin, 39, 22, true);
                sheet.Draw(image, x + kMargin + 4, y + kMargin + 3, 1);
            } else {
                DrawButton(sheet, x + kMargin, y + kMargin, 191, 31, false);
                const int gy = y + kMargin + (31 - image.height) / 2;
                sheet.Draw(image, x + kMargin + 40, gy, 1);
                sheet.Fill(x + kMargin + 40 + image.width + 8, gy + 6, 80, 7,
                           RGB(0x60, 0x6C, 0x7C));
            }
            y += rowHeight + kMargin;
        }
        if (!sheet.WritePpm(fileName)) {
            std::fprintf(stderr, "charvane-glyphpreview: cannot write %s\n", fileName.c_str());
            return 1;
        }
    } catch (const toolkit::Exception& e) {
        std::fprintf(stderr, "charvane-glyphpreview: %s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}
