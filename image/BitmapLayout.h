#pragma once
// The layout of a headerless bitmap (information or core header onward) as the bitmap reader
// understands it, read and checked before any pixel memory is taken. TDIBSharedImage::ReadData
// fills a store from it; the sampled grey copy (GreyCopy.h) reads single rows by it.

#include <cstdint>
#include <optional>

#include "image/TDIBPixelFormat.h"
#include "platform/gfx/Dib.h"
#include "toolkit/Streams.h"

namespace image {

struct TBitmapLayout {
    std::int32_t width = 0;
    std::int32_t rows = 0; // |height|
    bool topDown = false;  // the file's first row is the top picture row
    std::int32_t bitCount = 0;
    std::uint32_t compression = 0;                          // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    std::uint32_t sizeImage = 0;                            // compressed data bytes (RLE only)
    TDIBPixelFormat pixelFormat;                            // the packed layout pixels are held in
    platform::ChannelMasks fileMasks = platform::kMasks888; // as the file gives them
    platform::ColorTable colorTable{};
    platform::DibGeometry geometry;

    bool Rle() const { return compression == 1 || compression == 2; }
    // Channels lie elsewhere in the file than in the packed layout (see RepackChannels).
    bool NeedsRepack() const { return compression == 3 && fileMasks != pixelFormat.Masks(); }
    // The rows' format for reading colours: masks for 16 and 32 bits, the full colour table for
    // 8 bits and fewer.
    platform::PixelRows Format() const;
};

// Reads the 14-byte file header: false when the stream holds nothing at all (the picture is to
// stay as it was); "DIB is invalid" when it is short or not a bitmap.
bool ReadBitmapFileHeader(toolkit::TStream& stream);

// Reads the header block up to the pixel data and makes every check that comes before the
// pixels are allocated, with the reader's errors: "DIB is invalid", "Bitcount in invalid (%d)",
// "PixelFormat in invalid", and "Stream read error" for a header, table or pixel data that the
// stream cannot fill. nullopt: the stream is at its end (an empty picture). On return the
// stream stands at the first byte of pixel data.
std::optional<TBitmapLayout> ReadBitmapLayout(toolkit::TStream& stream);

// Moves the channels of rows read with a file's masks into the packed layout, so that a 32-bit
// file with its bytes in another order still reads to the right colours.
void RepackChannels(const platform::PixelRows& rows, const platform::ChannelMasks& fileMasks,
                    const TDIBPixelFormat& packed);

} // namespace image
