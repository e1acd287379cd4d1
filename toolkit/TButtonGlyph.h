#pragma once
// The picture of a push or speed button, and where a button puts its picture and caption.
//
// TButtonGlyph holds the button's Glyph: a bitmap of NumGlyphs cells of equal width side by
// side, for the states up, disabled, down and exclusive (held down) in that order. Pixels of
// the transparent colour are not drawn; by default that is the colour of the bitmap's bottom
// left pixel (as classic glyph bitmaps expect); SetPixels takes magenta. A state without a cell
// of its own uses the up cell, except disabled, which is then drawn engraved: the picture's
// dark pixels in the button highlight colour one pixel right and down, then in the button
// shadow colour in place. Without a bitmap the glyph may come from an image list (Images,
// ImageIndex); the list's own disabled look is used then.
//
// The glyph keeps a copy of the bitmap it is given; changes go to OnChange. Bad sizes are
// refused as TBitmap refuses them; NumGlyphs is kept within 1 ... 4.
//
// CalcButtonLayout places a glyph and a caption inside a button's content rectangle, as one
// block along the layout's axis: Margin is the gap between the edge on the glyph's side and the
// block (-1: the block is centred), Spacing the gap between glyph and caption (-1: the caption
// is centred in the space the glyph leaves). Without a caption or without a glyph there is no
// spacing. Across the axis both are centred.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TImageList.h"

namespace toolkit {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using enum TButtonLayout;

enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

struct TButtonPlacement {
    platform::Rect glyph;
    platform::Rect text;
};

TButtonPlacement CalcButtonLayout(const platform::Rect& client, platform::Size glyph,
                                  platform::Size text, TButtonLayout layout, int margin,
                                  int spacing);

class TButtonGlyph {
public:
    TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    // The picture as given (for drawing code that wants the cells themselves).
    TBitmap& Bitmap() { return m_bitmap; }
    // A copy of bitmap; transparent clDefault means "the bottom left pixel".
    void Assign(const TBitmap& bitmap, TColor transparent = clDefault);
    // A 24-bit picture from rows top-down of blue, green, red without padding (the program's
    // own pictures); transparent is magenta unless said otherwise. A pixel buffer shorter than
    // width * height * 3 raises EInvalidGraphic and keeps the old picture.
    void SetPixels(int width, int height, std::span<const std::uint8_t> bgr,
                   platform::Color transparent = kImageListMask);
    void Clear();

    TColor TransparentColor() const { return m_transparent; }
    // The colour actually keyed out (RGB), resolving clDefault.
    platform::Color TransparentRGB() const;
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int count);

    TImageList* Images() const { return m_images; }
    void SetImages(TImageList* images);
    // SetImages for a button that must hear of the list being freed: moves observer's free
    // notification from the old list to the new one. The button's Notification then calls
    // ForgetImages.
    void SetImages(TImageList* images, TComponent& observer);
    void ForgetImages(const TComponent* removed) {
        if (removed && removed == m_images)
            SetImages(nullptr);
    }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);

    // Whether anything would be drawn, and the size of one cell (or of the list's images).
    bool Empty() const;
    platform::Size GlyphSize() const;
    // The cell a state draws from (0 ... NumGlyphs - 1), -1 for the generated disabled look.
    int CellFor(TButtonState state) const;
    // Draws the picture for state with its top left corner at `at`.
    void Draw(TCanvas& canvas, platform::Point at, TButtonState state);
    // The colour of a cell's pixel, or nothing where it is transparent.
    std::optional<platform::Color> CellPixel(int cell, int x, int y) const;

    std::function<void()> OnChange;
    // Counts the changes OnChange reports, so a drawing cached from the glyph can tell it is old.
    std::uint32_t Version() const { return m_version; }

private:
    void Decode();
    void Changed();
    void Notify();

    TBitmap m_bitmap;
    TColor m_transparent = clDefault;
    int m_numGlyphs = 1;
    TImageList* m_images = nullptr;
    int m_imageIndex = -1;
    // The bitmap decoded to RGB, row-major top-down, with its transparency.
    std::vector<platform::Color> m_pixels;
    std::vector<std::uint8_t> m_mask;
    std::uint32_t m_version = 0;
};

} // namespace toolkit
