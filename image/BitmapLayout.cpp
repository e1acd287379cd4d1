// Bitmap headers. Layout read, with no gaps: [file header, 14 bytes] information header (40
// bytes) or core header (12 bytes), three 32-bit masks when the compression is bit fields, the
// colour table (4-byte entries, 3-byte after a core header), the pixel data. The file header's
// data offset is not used: the pixels are taken to follow the colour table.

#include "image/BitmapLayout.h"

#include <algorithm>

#include "image/TDIBSharedImage.h"
#include "toolkit/Exceptions.h"

namespace image {

namespace {

constexpr std::uint16_t kBitmapType = 0x4D42; // "BM"
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kFileHeaderSize = 14;

[[noreturn]] void Invalid() {
    throw toolkit::EInvalidGraphic("DIB is invalid");
}

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// Reads what the stream has, up to count bytes (a stream may hand out less per call).
std::size_t ReadUpTo(toolkit::TStream& stream, std::uint8_t* buffer, std::size_t count) {
    std::size_t total = 0;
    while (total < count) {
        const std::size_t n = stream.Read(buffer + total, count - total);
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

} // namespace

platform::PixelRows TBitmapLayout::Format() const {
    platform::PixelRows format;
    format.width = width;
    format.height = rows;
    format.bitCount = bitCount;
    format.masks = bitCount == 16 || bitCount == 32 ? pixelFormat.Masks() : platform::kMasks888;
    format.colors = colorTable.data();
    format.colorCount = bitCount <= 8 ? 1 << bitCount : 0;
    return format;
}

bool ReadBitmapFileHeader(toolkit::TStream& stream) {
    std::uint8_t header[kFileHeaderSize];
    const std::size_t got = ReadUpTo(stream, header, kFileHeaderSize);
    if (got == 0)
        return false;
    if (got < kFileHeaderSize || U16(header) != kBitmapType)
        Invalid();
    // file size (2), reserved (6, 8) and data offset (10) are not used
    return true;
}

std::optional<TBitmapLayout> ReadBitmapLayout(toolkit::TStream& stream) {
    std::uint8_t bytes[kInfoHeaderSize];
    const std::size_t got = ReadUpTo(stream, bytes, 4);
    if (got == 0)
        return std::nullopt; // nothing there: an empty picture
    if (got < 4)
        Invalid();

    TBitmapLayout layout;
    std::int32_t height = 0;
    std::uint32_t colorsUsed = 0;
    bool core = false;
    const std::uint32_t headerSize = U32(bytes);
    if (headerSize == kCoreHeaderSize) {
        stream.ReadBuffer(bytes + 4, kCoreHeaderSize - 4);
        core = true;
        layout.width = U16(bytes + 4);
        height = U16(bytes + 6);
        // planes at 8, ignored
        layout.bitCount = U16(bytes + 10);
    } else if (headerSize == kInfoHeaderSize) {
        stream.ReadBuffer(bytes + 4, kInfoHeaderSize - 4);
        layout.width = static_cast<std::int32_t>(U32(bytes + 4));
        height = static_cast<std::int32_t>(U32(bytes + 8));
        // planes at 12, ignored
        layout.bitCount = U16(bytes + 14);
        layout.compression = U32(bytes + 16);
        layout.sizeImage = U32(bytes + 20);
        // resolutions at 24 and 28, ignored
        colorsUsed = U32(bytes + 32);
        // colours important at 36, ignored
    } else {
        Invalid();
    }

    const bool bitFields = layout.compression == 3;
    if (bitFields) {
        std::uint8_t m[12];
        stream.ReadBuffer(m, sizeof m);
        layout.fileMasks = {U32(m), U32(m + 4), U32(m + 8)};
        layout.pixelFormat = MakePixelFormatFromMasks(layout.fileMasks.red, layout.fileMasks.green,
                                                      layout.fileMasks.blue);
    } else if (layout.bitCount == 16) {
        layout.pixelFormat = MakePixelFormat(5, 5, 5);
    } else {
        layout.pixelFormat = MakePixelFormat(8, 8, 8);
    }

    std::uint32_t colors = colorsUsed;
    if (colors == 0 && layout.bitCount <= 8)
        colors = 1u << layout.bitCount;
    colors = std::min<std::uint32_t>(colors, 256);
    if (core) {
        std::uint8_t rgb[3 * 256];
        stream.ReadBuffer(rgb, 3 * colors);
        for (std::uint32_t i = 0; i < colors; ++i)
            layout.colorTable[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], 0};
    } else {
        stream.ReadBuffer(layout.colorTable.data(), 4 * colors);
    }

    // The checks NewImage makes, and those of the data that follows, before anything is
    // allocated: a header must not make us reserve memory its stream cannot fill.
    const bool rle = layout.Rle();
    if (layout.compression > 3)
        Invalid();
    if ((layout.compression == 1 && layout.bitCount != 8) ||
        (layout.compression == 2 && layout.bitCount != 4))
        Invalid();
    if (layout.width <= 0 || height == 0 || height == INT32_MIN || (rle && height < 0))
        Invalid();
    layout.topDown = height < 0;
    layout.rows = height < 0 ? -height : height;
    layout.geometry = TDIBSharedImage::CheckFormat(layout.width, layout.rows, layout.bitCount,
                                                   layout.pixelFormat);
    if (rle) {
        if (stream.Remaining() < static_cast<std::int64_t>(layout.sizeImage))
            throw toolkit::EReadError();
        if (layout.sizeImage > static_cast<std::uint32_t>(INT32_MAX))
            Invalid();
    } else if (stream.Remaining() < layout.geometry.imageSize) {
        throw toolkit::EReadError();
    }
    return layout;
}

void RepackChannels(const platform::PixelRows& rows, const platform::ChannelMasks& fileMasks,
                    const TDIBPixelFormat& packed) {
    struct Move {
        std::uint32_t from;
        std::uint32_t to;
        int fromShift;
        int toShift;
    };
    auto lowBit = [](std::uint32_t m) {
        int bit = 0;
        while (bit < 31 && !(m >> bit & 1))
            ++bit;
        return bit;
    };
    const Move moves[3] = {
        {fileMasks.red, packed.RBitMask, lowBit(fileMasks.red), lowBit(packed.RBitMask)},
        {fileMasks.green, packed.GBitMask, lowBit(fileMasks.green), lowBit(packed.GBitMask)},
        {fileMasks.blue, packed.BBitMask, lowBit(fileMasks.blue), lowBit(packed.BBitMask)},
    };
    const int bytes = rows.bitCount / 8;
    for (std::int32_t y = 0; y < rows.height; ++y) {
        std::uint8_t* p = rows.Row(y);
        for (std::int32_t x = 0; x < rows.width; ++x, p += bytes) {
            std::uint32_t word = 0;
            for (int b = 0; b < bytes; ++b)
                word |= std::uint32_t{p[b]} << (8 * b);
            std::uint32_t out = 0;
            for (const Move& m : moves)
                out |= (((word & m.from) >> m.fromShift) << m.toShift) & m.to;
            for (int b = 0; b < bytes; ++b)
                p[b] = static_cast<std::uint8_t>(out >> (8 * b));
        }
    }
}

} // namespace image
