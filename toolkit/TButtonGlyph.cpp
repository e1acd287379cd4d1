#include "toolkit/TButtonGlyph.h"

#include <algorithm>

#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

// Pixels at least this bright fade into the face in the engraved disabled look.
constexpr int kEngraveThreshold = 0xC0;

int Luminance(platform::Color c) {
    return (platform::GetRValue(c) * 30 + platform::GetGValue(c) * 59 +
            platform::GetBValue(c) * 11) /
           100;
}

} // namespace

TButtonPlacement CalcButtonLayout(const platform::Rect& client, platform::Size glyph,
                                  platform::Size text, TButtonLayout layout, int margin,
                                  int spacing) {
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const int avail = horizontal ? client.Width() : client.Height();
    const int across = horizontal ? client.Height() : client.Width();
    const int g = horizontal ? glyph.cx : glyph.cy;
    const int t = horizontal ? text.cx : text.cy;
    const int gAcross = horizontal ? glyph.cy : glyph.cx;
    const int tAcross = horizontal ? text.cy : text.cx;
    if (g == 0 || t == 0)
        spacing = 0;
    if (margin < 0) {
        if (spacing < 0) {
            margin = (avail - g - t) / 3;
            spacing = margin;
        } else {
            margin = (avail - g - spacing - t) / 2;
        }
    } else if (spacing < 0) {
        spacing = (avail - margin - g - t) / 2;
    }
    int gPos = margin;
    int tPos = margin + g + spacing;
    if (layout == blGlyphRight || layout == blGlyphBottom) {
        gPos = avail - margin - g;
        tPos = gPos - spacing - t;
    }
    const int gCross = (across - gAcross) / 2;
    const int tCross = (across - tAcross) / 2;
    TButtonPlacement p;
    if (horizontal) {
        p.glyph =
            platform::Rect::FromSize(client.left + gPos, client.top + gCross, glyph.cx, glyph.cy);
        p.text =
            platform::Rect::FromSize(client.left + tPos, client.top + tCross, text.cx, text.cy);
    } else {
        p.glyph =
            platform::Rect::FromSize(client.left + gCross, client.top + gPos, glyph.cx, glyph.cy);
        p.text =
            platform::Rect::FromSize(client.left + tCross, client.top + tPos, text.cx, text.cy);
    }
    return p;
}

TButtonGlyph::TButtonGlyph() {
    m_bitmap.OnChange = [this](TGraphic&) { Changed(); };
}

void TButtonGlyph::Changed() {
    Decode();
    Notify();
}

void TButtonGlyph::Notify() {
    ++m_version;
    if (OnChange)
        OnChange();
}

void TButtonGlyph::Assign(const TBitmap& bitmap, TColor transparent) {
    m_transparent = transparent;
    m_bitmap.Assign(&bitmap);
    Changed();
}

void TButtonGlyph::SetPixels(int width, int height, std::span<const std::uint8_t> bgr,
                             platform::Color transparent) {
    if (width <= 0 || height <= 0) {
        Clear();
        return;
    }
    const std::size_t need = std::size_t(width) * std::size_t(height) * 3;
    if (bgr.size() < need)
        throw EInvalidGraphic("Bitmap image is not valid");
    TBitmap picture;
    picture.SetPixelFormat(TPixelFormat::pf24bit);
    picture.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        std::copy_n(bgr.data() + std::size_t(y) * width * 3, std::size_t(width) * 3,
                    picture.ScanLine(y));
    Assign(picture, transparent);
}

void TButtonGlyph::Clear() {
    m_bitmap.SetSize(0, 0);
    Changed();
}

platform::Color TButtonGlyph::TransparentRGB() const {
    if (m_transparent != clDefault)
        return ColorToRGB(m_transparent);
    if (m_pixels.empty())
        return kImageListMask;
    return m_pixels[std::size_t(m_bitmap.Height() - 1) * m_bitmap.Width()];
}

void TButtonGlyph::Decode() {
    m_pixels.clear();
    m_mask.clear();
    const int w = m_bitmap.Width(), h = m_bitmap.Height();
    if (m_bitmap.Empty())
        return;
    m_pixels.resize(std::size_t(w) * h);
    const bool indexed = m_bitmap.PixelFormat() == TPixelFormat::pf8bit;
    const auto& palette = m_bitmap.PaletteColors();
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = m_bitmap.ScanLine(y);
        platform::Color* out = m_pixels.data() + std::size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            if (indexed)
                out[x] = row[x] < palette.size() ? palette[row[x]] : platform::Color{0};
            else
                out[x] = platform::RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
        }
    }
    const platform::Color key = TransparentRGB();
    m_mask.resize(m_pixels.size());
    for (std::size_t i = 0; i < m_pixels.size(); ++i)
        m_mask[i] = m_pixels[i] == key ? 1 : 0;
}

void TButtonGlyph::SetNumGlyphs(int count) {
    count = std::clamp(count, 1, 4);
    if (count == m_numGlyphs)
        return;
    m_numGlyphs = count;
    Notify();
}

void TButtonGlyph::SetImages(TImageList* images) {
    if (images == m_images)
        return;
    m_images = images;
    Notify();
}

void TButtonGlyph::SetImages(TImageList* images, TComponent& observer) {
    if (images == m_images)
        return;
    if (m_images)
        m_images->RemoveFreeNotification(&observer);
    SetImages(images);
    if (images)
        images->FreeNotification(&observer);
}

void TButtonGlyph::SetImageIndex(int index) {
    if (index == m_imageIndex)
        return;
    m_imageIndex = index;
    Notify();
}

bool TButtonGlyph::Empty() const {
    const platform::Size s = GlyphSize();
    return s.cx <= 0 || s.cy <= 0;
}

platform::Size TButtonGlyph::GlyphSize() const {
    if (!m_bitmap.Empty())
        return {m_bitmap.Width() / m_numGlyphs, m_bitmap.Height()};
    if (m_images && m_imageIndex >= 0 && m_imageIndex < m_images->Count())
        return {m_images->Width(), m_images->Height()};
    return {};
}

int TButtonGlyph::CellFor(TButtonState state) const {
    const int cell = static_cast<int>(state);
    if (cell < m_numGlyphs)
        return cell;
    if (state == TButtonState::bsDisabled)
        return -1;
    if (state == TButtonState::bsExclusive && m_numGlyphs > 2)
        return 2; // held down looks pressed when there is no picture of its own
    return 0;
}

std::optional<platform::Color> TButtonGlyph::CellPixel(int cell, int x, int y) const {
    const platform::Size s = GlyphSize();
    if (m_pixels.empty() || cell < 0 || cell >= m_numGlyphs || x < 0 || y < 0 || x >= s.cx ||
        y >= s.cy)
        return std::nullopt;
    const std::size_t i = std::size_t(y) * m_bitmap.Width() + std::size_t(cell) * s.cx + x;
    if (m_mask[i])
        return std::nullopt;
    return m_pixels[i];
}

void TButtonGlyph::Draw(TCanvas& canvas, platform::Point at, TButtonState state) {
    const platform::Size s = GlyphSize();
    if (s.cx <= 0 || s.cy <= 0)
        return;
    if (m_bitmap.Empty()) {
        m_images->Draw(canvas, at.x, at.y, m_imageIndex, state != TButtonState::bsDisabled);
        return;
    }
    platform::DeviceContext& dc = canvas.Handle();
    const int stride = m_bitmap.Width();
    const int cell = CellFor(state);
    // Equal neighbours along a row become one fill.
    auto runs = [&](int dx, int dy, auto colorAt) {
        for (int y = 0; y < s.cy; ++y) {
            int x = 0;
            while (x < s.cx) {
                const std::optional<platform::Color> c = colorAt(y, x);
                int end = x + 1;
                while (end < s.cx && colorAt(y, end) == c)
                    ++end;
                if (c)
                    platform::FillRect(
                        dc, {at.x + dx + x, at.y + dy + y, at.x + dx + end, at.y + dy + y + 1}, *c);
                x = end;
            }
        }
    };
    if (cell >= 0) {
        const platform::Color* base = m_pixels.data() + std::size_t(cell) * s.cx;
        const std::uint8_t* mask = m_mask.data() + std::size_t(cell) * s.cx;
        runs(0, 0, [&](int y, int x) -> std::optional<platform::Color> {
            const std::size_t i = std::size_t(y) * stride + x;
            if (mask[i])
                return std::nullopt;
            return base[i];
        });
        return;
    }
    auto shape = [&](platform::Color color) {
        return [&, color](int y, int x) -> std::optional<platform::Color> {
            const std::size_t i = std::size_t(y) * stride + x;
            if (m_mask[i] || Luminance(m_pixels[i]) >= kEngraveThreshold)
                return std::nullopt;
            return color;
        };
    };
    runs(1, 1, shape(ColorToRGB(clBtnHighlight)));
    runs(0, 0, shape(ColorToRGB(clBtnShadow)));
}

} // namespace toolkit
