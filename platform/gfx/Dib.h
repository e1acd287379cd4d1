#pragma once
// Device-independent bitmaps: the description of a pixel block (BitmapInfo), its checked
// geometry, a view over its rows (PixelRows) and the DIB section, a pixel block owned by the
// platform that device contexts draw into.
//
// Layout: pixels of 1, 4, 8, 16, 24 or 32 bits, rows padded to a multiple of 4 bytes, stored
// bottom-up for a positive height (the first stored row is the bottom picture row) and top-down
// for a negative one. Picture coordinates are always counted from the top left: row 0 is the
// top row of the picture whatever the storage order. 1- and 4-bit pixels fill a byte from its
// high bits; 16-bit pixels are little-endian words split by channel masks; 24-bit pixels are
// blue, green, red; 32-bit pixels are blue, green, red and a byte that carries nothing.
//
// Geometry is checked: width × bit count, the row size and the image size must fit signed
// 32 bits, or the geometry is refused (no wrap-around, no huge allocation by accident).

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/GdiObject.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/PixelMemory.h"

namespace platform {

enum class Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// A colour table entry, in the byte order of the file format.
struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};
constexpr Color ToColor(RgbQuad q) {
    return RGB(q.red, q.green, q.blue);
}
constexpr RgbQuad ToRgbQuad(Color c) {
    return {GetBValue(c), GetGValue(c), GetRValue(c), 0};
}

using ColorTable = std::array<RgbQuad, 256>;
// Entry i is the grey of brightness i.
const ColorTable& GreyRamp();
bool IsGreyRamp(const RgbQuad* colors, int count);

struct ChannelMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    friend bool operator==(const ChannelMasks&, const ChannelMasks&) = default;
};
inline constexpr ChannelMasks kMasks555{0x7C00, 0x03E0, 0x001F};
inline constexpr ChannelMasks kMasks565{0xF800, 0x07E0, 0x001F};
inline constexpr ChannelMasks kMasks888{0xFF0000, 0x00FF00, 0x0000FF};

// The information header in memory (not its byte layout).
struct BitmapInfo {
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: rows stored top-down
    std::uint16_t bitCount = 0;
    Compression compression = Compression::Rgb;
    std::uint32_t sizeImage = 0;  // bytes of compressed data; ignored for uncompressed pixels
    ChannelMasks masks;           // read only with Compression::BitFields
    std::uint32_t colorsUsed = 0; // 0: 2^bitCount for 8 bits or fewer
    ColorTable colors{};

    std::int32_t AbsHeight() const { return height < 0 ? -height : height; }
    bool TopDown() const { return height < 0; }
    // Entries of the colour table in use: 0 above 8 bits, else colorsUsed (or 2^bitCount when
    // that is 0), at most 256.
    int ColorCount() const;
    // Masks in force: the given ones for BitFields, else 5-5-5 for 16 bits and 8-8-8 otherwise.
    ChannelMasks EffectiveMasks() const;
};

// The most pixels a picture the program decodes or makes may have (about 800 MB at 24 bits).
// A few bytes of compressed data can claim far more; such pictures are refused rather than
// allocated.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 28;

struct DibGeometry {
    std::int32_t widthBytes = 0; // ((width × bitCount + 31) div 32) × 4
    std::int32_t imageSize = 0;  // widthBytes × |height|
};
// Refuses (nullopt) a width or height of 0 or less, a bit count other than 1, 4, 8, 16, 24, 32,
// and any geometry whose width × bit count, row size or image size does not fit signed 32 bits.
std::optional<DibGeometry> DibGeometryOf(std::int32_t width, std::int32_t height, int bitCount);

// A view over uncompressed pixel rows: no ownership. Row(y) is picture row y from the top.
struct PixelRows {
    std::uint8_t* top = nullptr; // first byte of picture row 0
    std::ptrdiff_t step = 0;     // bytes from one picture row to the one below it
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
    ChannelMasks masks;
    const RgbQuad* colors = nullptr;
    int colorCount = 0;

    std::uint8_t* Row(std::int32_t y) const { return top + step * y; }
    bool IsEmpty() const { return top == nullptr || width <= 0 || height <= 0; }
};
// A view over a block laid out as info describes (uncompressed only; pixels must hold the
// whole image). The colour table pointer refers into info.
PixelRows MakePixelRows(const BitmapInfo& info, const void* pixels);

// A pixel block with a fixed format, made by CreateDIBSection and drawn into through a device
// context. The colour table (for 8 bits or fewer) decides what colour an index stands for and
// which index a colour drawn into the section becomes.
class DibSection : public GdiObject {
public:
    const BitmapInfo& Info() const { return m_info; }
    std::int32_t Width() const { return m_info.width; }
    std::int32_t Height() const { return m_info.AbsHeight(); }
    int BitCount() const { return m_info.bitCount; }
    std::int32_t WidthBytes() const { return m_geometry.widthBytes; }
    std::int32_t ImageSize() const { return m_geometry.imageSize; }
    bool TopDown() const { return m_info.TopDown(); }

    // The first stored row (the bottom picture row for a bottom-up section).
    std::uint8_t* Bits() { return m_pixels.get(); }
    const std::uint8_t* Bits() const { return m_pixels.get(); }
    // Picture row y from the top; y must lie in 0 ... Height() - 1.
    std::uint8_t* Row(std::int32_t y);
    PixelRows Rows() const;

    // SetDIBColorTable: replaces entries start ... start + count - 1 (clipped to the table in
    // use) and returns how many were set; 0 for sections above 8 bits.
    std::uint32_t SetColorTable(std::uint32_t start, std::uint32_t count, const RgbQuad* entries);

private:
    friend std::shared_ptr<DibSection> CreateDIBSection(const BitmapInfo& info);
    DibSection(const BitmapInfo& info, DibGeometry geometry, PixelBuffer px);

    BitmapInfo m_info;
    DibGeometry m_geometry;
    PixelBuffer m_pixels;
};

// A new section of the given format with zero pixels. Refused (nullptr) for compressed formats,
// refused geometry, BitFields outside 16 and 32 bits, or when memory runs out.
std::shared_ptr<DibSection> CreateDIBSection(const BitmapInfo& info);

// Decodes RLE8 or RLE4 data into target rows (8- or 4-bit; every pixel is reset to index 0
// first). Data that runs past a row, past the last row or past the end of the data is clipped or
// cut short; nothing is read or written out of bounds. Returns false (target zeroed) when the
// compression does not suit the target's bit count.
bool DecodeRle(const std::uint8_t* data, std::size_t size, Compression compression,
               const PixelRows& target);

// The same decoding for only some rows: rowOf(y) gives where picture row y goes (already
// zeroed by the caller) or nullptr to skip it. Returns false for a compression that does not
// suit the bit count.
bool DecodeRleRows(const std::uint8_t* data, std::size_t size, Compression compression,
                   std::int32_t width, std::int32_t height, int bitCount,
                   const std::function<std::uint8_t*(std::int32_t)>& rowOf);

} // namespace platform
