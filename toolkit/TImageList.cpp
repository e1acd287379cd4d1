#include "toolkit/TImageList.h"

#include <algorithm>

#include "toolkit/Exceptions.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"

namespace toolkit {
namespace {

EInvalidOperation InvalidImageSize() {
    return EInvalidOperation("Invalid image size");
}

} // namespace

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

void TImageList::SetSize(int width, int height) {
    if (width == m_width && height == m_height)
        return;
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024)
        throw InvalidImageSize();
    m_width = width;
    m_height = height;
    m_images.clear();
}

int TImageList::AddPixels(int width, int height, std::span<const std::uint8_t> bgr) {
    if (width != m_width || height != m_height ||
        bgr.size() != static_cast<std::size_t>(width) * height * 3)
        throw InvalidImageSize();
    Image image;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    image.mask.resize(image.pixels.size());
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const platform::Color c = platform::RGB(bgr[i * 3 + 2], bgr[i * 3 + 1], bgr[i * 3]);
        image.pixels[i] = c;
        image.mask[i] = c == kImageListMask ? 1 : 0;
    }
    m_images.push_back(std::move(image));
    return Count() - 1;
}

int TImageList::AddMasked(TBitmap& bitmap, TColor maskColor) {
    if (bitmap.Height() != m_height || bitmap.Width() < m_width || bitmap.Width() % m_width != 0)
        throw InvalidImageSize();
    const platform::Color key = ColorToRGB(maskColor);
    const int first = Count();
    std::vector<Image> added;
    for (int cell = 0; cell < bitmap.Width() / m_width; ++cell) {
        Image image;
        image.pixels.reserve(static_cast<std::size_t>(m_width) * m_height);
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x) {
                const platform::Color c = bitmap.Canvas().Pixels(cell * m_width + x, y);
                image.pixels.push_back(c);
                image.mask.push_back(c == key ? 1 : 0);
            }
        added.push_back(std::move(image));
    }
    for (Image& image : added)
        m_images.push_back(std::move(image));
    return first;
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
    m_images.erase(m_images.begin() + index);
}

platform::Color TImageList::Pixel(int index, int x, int y) const {
    if (index < 0 || index >= Count() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return platform::kInvalidColor;
    return m_images[static_cast<std::size_t>(index)]
        .pixels[static_cast<std::size_t>(y) * m_width + x];
}

bool TImageList::Transparent(int index, int x, int y) const {
    if (index < 0 || index >= Count() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return true;
    return m_images[static_cast<std::size_t>(index)]
               .mask[static_cast<std::size_t>(y) * m_width + x] != 0;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (index < 0 || index >= Count())
        return;
    const Image& image = m_images[static_cast<std::size_t>(index)];
    // Through the canvas's own fills, so a picture's canvas sees its change hooks. Runs of
    // equal colour along a row are one fill each.
    TBrush saved;
    saved.Assign(&canvas.Brush());
    struct RestoreBrush {
        TCanvas& canvas;
        TBrush& saved;
        ~RestoreBrush() { canvas.Brush().Assign(&saved); }
    } restore{canvas, saved};
    auto fill = [&canvas](const platform::Rect& r, platform::Color c) {
        canvas.Brush().SetColor(c);
        canvas.FillRect(r);
    };
    auto drawRuns = [&](int dx, int dy, auto colorAt) {
        for (int row = 0; row < m_height; ++row) {
            int col = 0;
            while (col < m_width) {
                const std::optional<platform::Color> c = colorAt(row, col);
                int end = col + 1;
                while (end < m_width && colorAt(row, end) == c)
                    ++end;
                if (c)
                    fill({x + dx + col, y + dy + row, x + dx + end, y + dy + row + 1}, *c);
                col = end;
            }
        }
    };
    const std::size_t w = static_cast<std::size_t>(m_width);
    const std::optional<platform::Color> background =
        m_bkColor == clNone ? std::nullopt : std::optional<platform::Color>(ColorToRGB(m_bkColor));
    if (enabled) {
        drawRuns(0, 0, [&](int row, int col) -> std::optional<platform::Color> {
            const std::size_t i = row * w + col;
            if (image.mask[i])
                return background;
            return image.pixels[i];
        });
        return;
    }
    if (background)
        fill({x, y, x + m_width, y + m_height}, *background);
    const platform::Color light = ColorToRGB(clBtnHighlight);
    const platform::Color shadow = ColorToRGB(clBtnShadow);
    auto shape = [&](platform::Color color) {
        return [&image, w, color](int row, int col) -> std::optional<platform::Color> {
            if (image.mask[row * w + col])
                return std::nullopt;
            return color;
        };
    };
    drawRuns(1, 1, shape(light));
    drawRuns(0, 0, shape(shadow));
}

} // namespace toolkit
