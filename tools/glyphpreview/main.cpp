// charvane-glyphpreview [SHEET.ppm]
//
// Writes a sheet of every picture of app/Glyphs as a binary PPM (default "sheet.ppm"): the
// image list icons, then the button glyphs, enlarged 8 times on the skin's light blue and on
// white; below them every picture at its real size on both backgrounds and on plain mocks of
// the controls that carry it (the 39 x 22 drop-down tool button, the 191 x 31 buttons), and
// that real-size strip once more, twice as large. Transparent pixels show the background,
// as the image list and the buttons will show them.
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

    Color Get(int x, int y) const {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            return m_pixels[static_cast<std::size_t>(y) * m_width + x];
        return kSheet;
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

int BandWidth(const std::vector<app::TGlyphImage>& images, int zoom) {
    int width = kMargin;
    for (const app::TGlyphImage& image : images)
        width += image.width * zoom + 2 * kMargin + kMargin;
    return width;
}

int BandHeight(const std::vector<app::TGlyphImage>& images, int zoom) {
    int height = 0;
    for (const app::TGlyphImage& image : images)
        height = std::max(height, image.height * zoom + 2 * kMargin);
    return height;
}

// One band: every picture of the set at the zoom, each on its own tile of the background.
void DrawBand(TSheet& sheet, int x, int y, const std::vector<app::TGlyphImage>& images, int zoom,
              Color background) {
    const int height = BandHeight(images, zoom);
    for (const app::TGlyphImage& image : images) {
        const int w = image.width * zoom + 2 * kMargin;
        sheet.Fill(x, y, w, height, background);
        sheet.Draw(image, x + kMargin,
                   y + kMargin + (height - 2 * kMargin - image.height * zoom) / 2, zoom);
        x += w + kMargin;
    }
}

// The pictures at their real size on both backgrounds, then on mocks of the controls that
// carry them: the icons on the 39 x 22 drop-down tool button, the glyphs on 191 x 31 buttons.
void DrawInPlace(TSheet& sheet, int x0, int y0, const std::vector<app::TGlyphImage>& icons,
                 const std::vector<app::TGlyphImage>& glyphs) {
    int x = x0;
    for (const Color background : {kWinter, kWhite}) {
        sheet.Fill(x, y0, 5 * 20 + 8, 2 * 24 + 8, background);
        int ix = x + 4;
        for (const app::TGlyphImage& icon : icons) {
            sheet.Draw(icon, ix, y0 + 4, 1);
            ix += 20;
        }
        ix = x + 4;
        for (const app::TGlyphImage& glyph : glyphs) {
            sheet.Draw(glyph, ix, y0 + 28, 1);
            ix += 24;
        }
        x += 5 * 20 + 8 + kMargin;
    }
    sheet.Fill(x, y0, 5 * 45 + 4, 3 * 33 + 6 + 30, kWinter);
    int bx = x + 4;
    for (const app::TGlyphImage& icon : icons) {
        DrawButton(sheet, bx, y0 + 4, 39, 22, true);
        sheet.Draw(icon, bx + 4, y0 + 7, 1);
        bx += 45;
    }
    int by = y0 + 32;
    for (const app::TGlyphImage& glyph : glyphs) {
        DrawButton(sheet, x + 4, by, 191, 31, false);
        const int gy = by + (31 - glyph.height) / 2;
        sheet.Draw(glyph, x + 4 + 40, gy, 1);
        sheet.Fill(x + 4 + 40 + glyph.width + 8, gy + 6, 80, 7, RGB(0x60, 0x6C, 0x7C));
        by += 33;
    }
}

// Copies a block of the sheet, enlarged, to another place on it.
void Magnify(TSheet& sheet, int sx, int sy, int w, int h, int dx, int dy, int zoom) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            sheet.Fill(dx + i * zoom, dy + j * zoom, zoom, zoom, sheet.Get(sx + i, sy + j));
}

} // namespace

int main(int argc, char** argv) {
    const std::string fileName = argc > 1 ? argv[1] : "sheet.ppm";
    try {
        std::vector<app::TGlyphImage> icons;
        std::vector<app::TGlyphImage> glyphs;
        for (const app::GlyphId id : app::AllGlyphs())
            (static_cast<int>(id) < app::kImageList1Count ? icons : glyphs)
                .push_back(app::Glyph(id));

        // The real-size strip is copied twice as large below itself: a screen shot of the
        // sheet gets scaled by whatever shows it, and the small sizes are the ones that matter.
        constexpr int kStripWidth = 2 * (5 * 20 + 8 + kMargin) + 5 * 45 + 4;
        constexpr int kStripHeight = 3 * 33 + 6 + 30;
        constexpr int kLoupe = 2;
        const int iconBand = BandHeight(icons, kZoom);
        const int glyphBand = BandHeight(glyphs, kZoom);
        const int width = std::max({BandWidth(icons, kZoom), BandWidth(glyphs, kZoom),
                                    kMargin + kStripWidth * kLoupe + kMargin});
        const int height = kMargin + 2 * (iconBand + kMargin) + 2 * (glyphBand + kMargin) +
                           kStripHeight + kMargin + kStripHeight * kLoupe + kMargin;

        TSheet sheet(width, height);
        int y = kMargin;
        DrawBand(sheet, kMargin, y, icons, kZoom, kWinter);
        y += iconBand + kMargin;
        DrawBand(sheet, kMargin, y, icons, kZoom, kWhite);
        y += iconBand + kMargin;
        DrawBand(sheet, kMargin, y, glyphs, kZoom, kWinter);
        y += glyphBand + kMargin;
        DrawBand(sheet, kMargin, y, glyphs, kZoom, kWhite);
        y += glyphBand + kMargin;
        DrawInPlace(sheet, kMargin, y, icons, glyphs);
        Magnify(sheet, kMargin, y, kStripWidth, kStripHeight, kMargin, y + kStripHeight + kMargin,
                kLoupe);

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
