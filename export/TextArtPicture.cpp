#include "export/TextArtPicture.h"

#include <algorithm>

#include "platform/gfx/Dib.h"
#include "toolkit/Exceptions.h"

namespace textexport {
namespace {

constexpr std::uint8_t kRuleGrey = 0x99;

struct TCellGeometry {
    int width = 1;
    int height = 1;
    int ascent = 0;
    int margin = 0;
};

class TPageCanvas {
public:
    TPageCanvas(TRgbPicture& picture) : m_picture(picture) {}

    // Blends a glyph's coverage at pen position (x, baseline).
    void DrawGlyph(const platform::Glyph& glyph, int x, int baseline, engine::TRgb ink) {
        const int left = x + glyph.left;
        const int top = baseline - glyph.top;
        const int firstRow = std::max(0, -top);
        const int lastRow = std::min(glyph.height, m_picture.height - top);
        const int firstCol = std::max(0, -left);
        const int lastCol = std::min(glyph.width, m_picture.width - left);
        for (int gy = firstRow; gy < lastRow; ++gy) {
            const std::uint8_t* coverage =
                glyph.coverage.data() + static_cast<std::size_t>(gy) * glyph.width;
            std::uint8_t* pixel = Row(top + gy) + 3 * (left + firstCol);
            for (int gx = firstCol; gx < lastCol; ++gx, pixel += 3) {
                const int alpha = coverage[gx];
                if (alpha == 0)
                    continue;
                pixel[0] = Blend(pixel[0], ink.r, alpha);
                pixel[1] = Blend(pixel[1], ink.g, alpha);
                pixel[2] = Blend(pixel[2], ink.b, alpha);
            }
        }
    }

    // A dashed grey line across the picture.
    void DrawRule(int y) {
        std::uint8_t* row = Row(y);
        for (int x = 0; x < m_picture.width; ++x)
            if (x / 4 % 2 == 0)
                std::fill_n(row + 3 * x, 3, kRuleGrey);
    }

private:
    static std::uint8_t Blend(int under, int ink, int alpha) {
        return static_cast<std::uint8_t>((ink * alpha + under * (255 - alpha) + 127) / 255);
    }
    std::uint8_t* Row(int y) {
        return m_picture.pixels.data() + static_cast<std::size_t>(y) * m_picture.width * 3;
    }

    TRgbPicture& m_picture;
};

} // namespace

TRgbPicture DrawTextArt(const engine::TInkSource& source, const std::vector<engine::TPage>& pages,
                        const platform::Font& font) {
    const platform::TEXTMETRIC& metrics = font.Metrics();
    TCellGeometry cell;
    cell.width = std::max(font.Advance(U'M'), 1);
    cell.height = std::max(metrics.tmHeight, 1);
    cell.ascent = metrics.tmAscent;
    cell.margin = cell.height;

    std::int64_t rows = 0;
    for (const engine::TPage& page : pages)
        rows += static_cast<std::int64_t>(page.size());
    const std::int64_t gaps = pages.empty() ? 0 : static_cast<std::int64_t>(pages.size()) - 1;
    const std::int64_t width =
        2 * std::int64_t{cell.margin} +
        std::int64_t{cell.width} *
            std::max<std::int64_t>(static_cast<std::int64_t>(engine::WidestRow(pages)), 1);
    const std::int64_t height = 2 * std::int64_t{cell.margin} + cell.height * (rows + gaps);
    if (width > platform::kMaxPicturePixels || height > platform::kMaxPicturePixels ||
        width * height > platform::kMaxPicturePixels)
        throw toolkit::EOutOfMemory();

    TRgbPicture picture;
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    picture.pixels.assign(static_cast<std::size_t>(width * height) * 3, 0xFF);
    TPageCanvas canvas(picture);
    int top = cell.margin;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) {
            canvas.DrawRule(top + cell.height / 2);
            top += cell.height;
        }
        for (const engine::TPageRow& row : pages[p]) {
            int x = cell.margin;
            engine::ForEachInkRun(source, row, [&](engine::TRgb ink, std::u32string_view text) {
                for (const char32_t c : text) {
                    if (c != U' ')
                        canvas.DrawGlyph(font.GlyphOf(c), x, top + cell.ascent, ink);
                    x += cell.width;
                }
            });
            top += cell.height;
        }
    }
    return picture;
}

} // namespace textexport
