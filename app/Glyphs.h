#pragma once
// The program's own small pictures: the five icons of the main window's image list and the
// glyphs of its three large buttons.
//
// Each picture is kept as readable source: rows of characters, one character per pixel, each
// character a key into one shared palette. Decoding gives a picture of width x height pixels,
// rows top-down, each row exactly width * 3 bytes of blue, green, red (no padding). Pixels
// whose key is the transparent key '.' come out as pure magenta ($FF00FF), which image lists
// and bitmap buttons treat as see-through; no other palette colour may be magenta.
//
// DecodeGlyph checks its source completely before it writes a pixel: a row count or row length
// that does not match the size, a key missing from the palette, or a palette with a repeated
// key or a second magenta raises EInvalidGraphic naming the picture, row and column.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/win/Icon.h"

namespace app {

// The transparent key colour of every picture here.
inline constexpr platform::Color kGlyphTransparent = platform::RGB(0xFF, 0x00, 0xFF);
inline constexpr char kGlyphTransparentKey = '.';

// Image list icons are 16 x 16; the large buttons all carry 20 x 20 glyphs, which leaves a
// few pixels of air above and below inside a 31-pixel-high button.
inline constexpr int kIconSize = 16;
inline constexpr int kButtonGlyphSize = 20;

// The first five are the icons of ImageList1 in index order (their value is the image index);
// the generator icons follow the generator numbering of the generator button.
enum class GlyphId {
    ManualGenerator = 0,
    ExponentialGenerator = 1,
    FibonacciGenerator = 2,
    UniformGenerator = 3,
    WebPage = 4,
    OpenPicture, // sBitBtn1 "Файл картинка"
    Convert,     // sBitBtn2 "Преобразовать"
    Save,        // sBitBtn3 "Сохранить"
    ProgramIcon, // the program's own icon (caption, desktop), 16 x 16
};
inline constexpr int kImageList1Count = 5;

struct TGlyphPaletteEntry {
    char key;
    platform::Color color;
};

struct TGlyphSource {
    std::string_view name;
    std::int32_t width;
    std::int32_t height;
    std::span<const std::string_view> rows;
};

struct TGlyphImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels; // top-down rows of blue, green, red
    platform::Color transparent = kGlyphTransparent;

    // The colour at (x, y), y = 0 at the top; the point must lie inside the picture.
    platform::Color Pixel(std::int32_t x, std::int32_t y) const;
};

// Every picture, icons first in image-list order, then the button glyphs.
std::span<const GlyphId> AllGlyphs();
std::span<const TGlyphPaletteEntry> GlyphPalette();
const TGlyphSource& GlyphSource(GlyphId id);

TGlyphImage DecodeGlyph(const TGlyphSource& source, std::span<const TGlyphPaletteEntry> palette);
TGlyphImage Glyph(GlyphId id);

// Icon `index` of ImageList1; EListError "List index out of bounds (%d)" outside 0 ... 4.
TGlyphImage ImageList1Icon(int index);

// The program's icon as the window system takes it: opaque pixels and see-through ones.
platform::IconImage ProgramIcon();

} // namespace app
