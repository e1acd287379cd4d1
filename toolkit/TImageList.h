#pragma once
// A list of small pictures of one size (Width × Height, 16 × 16 unless set before the first
// image), drawn with a transparent key: pixels of the mask colour (magenta, $FF00FF, for
// pictures added from pixels) are not drawn, so whatever lies under them shows. With BkColor
// other than clNone those pixels are drawn in BkColor instead.
//
// Adding: from 24-bit pixels (rows top-down, blue, green, red, no padding), or from a bitmap
// with an explicit mask colour; a bitmap wider than Width gives one image per Width-wide cell
// (a strip). Pictures of another size are refused with EInvalidOperation "Invalid image size"
// and the list stays as it was. Draw with an index outside the list draws nothing.
//
// Disabled drawing: the shape of the picture (its non-transparent pixels) in the button
// highlight colour one pixel right and down, then in the button shadow colour in place, as the
// classic interface shows unavailable pictures.

#include <cstdint>
#include <span>
#include <vector>

#include "toolkit/Colors.h"
#include "toolkit/TComponent.h"

namespace toolkit {

class TCanvas;
class TBitmap;

constexpr platform::Color kImageListMask = platform::RGB(0xFF, 0x00, 0xFF);

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner);

    std::string ClassName() const override { return "TImageList"; }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Changing the size clears the list (as the classic image list does).
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, m_height); }
    void SetHeight(int height) { SetSize(m_width, height); }
    TColor BkColor() const { return m_bkColor; }
    void SetBkColor(TColor color) { m_bkColor = color; }
    int Count() const { return static_cast<int>(m_images.size()); }

    // Adds one picture of the list's size; answers its index.
    int AddPixels(int width, int height, std::span<const std::uint8_t> bgr);
    // Adds the bitmap's cells (one per Width columns) with maskColor transparent; answers the
    // index of the first.
    int AddMasked(TBitmap& bitmap, TColor maskColor);
    void Delete(int index);
    void Clear() { m_images.clear(); }

    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    // The picture's pixel (RGB) and whether it is transparent, for tests and glyph makers.
    platform::Color Pixel(int index, int x, int y) const;
    bool Transparent(int index, int x, int y) const;

private:
    struct Image {
        std::vector<platform::Color> pixels; // row-major, top-down
        std::vector<std::uint8_t> mask;      // 1 where transparent
    };

    int m_width = 16;
    int m_height = 16;
    TColor m_bkColor = clNone;
    std::vector<Image> m_images;
};

} // namespace toolkit
