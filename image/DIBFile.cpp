// Bitmap files: reading a headerless bitmap into a store, and the file header around it.
//
// Layout read, with no gaps: [file header, 14 bytes] information header (40 bytes) or core
// header (12 bytes), three 32-bit masks when the compression is bit fields, the colour table
// (4-byte entries, 3-byte after a core header), the pixel data. The file header's data offset is
// not used: the pixels are taken to follow the colour table.

#include <algorithm>
#include <cstring>
#include <new>

#include "image/TDIB.h"
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

struct Header {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
    bool core = false;
};

// Channels of file masks placed elsewhere than the packed layout are moved into it, so that a
// 32-bit file with its bytes in another order still reads to the right colours.
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

} // namespace

void TDIBSharedImage::ReadData(toolkit::TStream& stream, bool memoryImage) {
    Reinitialise(memoryImage);
    std::uint8_t bytes[kInfoHeaderSize];
    const std::size_t got = ReadUpTo(stream, bytes, 4);
    if (got == 0)
        return; // nothing there: an empty picture
    if (got < 4)
        Invalid();

    Header h;
    const std::uint32_t headerSize = U32(bytes);
    if (headerSize == kCoreHeaderSize) {
        stream.ReadBuffer(bytes + 4, kCoreHeaderSize - 4);
        h.core = true;
        h.width = U16(bytes + 4);
        h.height = U16(bytes + 6);
        // planes at 8, ignored
        h.bitCount = U16(bytes + 10);
    } else if (headerSize == kInfoHeaderSize) {
        stream.ReadBuffer(bytes + 4, kInfoHeaderSize - 4);
        h.width = static_cast<std::int32_t>(U32(bytes + 4));
        h.height = static_cast<std::int32_t>(U32(bytes + 8));
        // planes at 12, ignored
        h.bitCount = U16(bytes + 14);
        h.compression = U32(bytes + 16);
        h.sizeImage = U32(bytes + 20);
        // resolutions at 24 and 28, ignored
        h.colorsUsed = U32(bytes + 32);
        // colours important at 36, ignored
    } else {
        Invalid();
    }

    const bool bitFields = h.compression == 3;
    platform::ChannelMasks fileMasks = platform::kMasks888;
    TDIBPixelFormat pixelFormat;
    if (bitFields) {
        std::uint8_t m[12];
        stream.ReadBuffer(m, sizeof m);
        fileMasks = {U32(m), U32(m + 4), U32(m + 8)};
        pixelFormat = MakePixelFormatFromMasks(fileMasks.red, fileMasks.green, fileMasks.blue);
    } else if (h.bitCount == 16) {
        pixelFormat = MakePixelFormat(5, 5, 5);
    } else {
        pixelFormat = MakePixelFormat(8, 8, 8);
    }

    std::uint32_t colors = h.colorsUsed;
    if (colors == 0 && h.bitCount <= 8)
        colors = 1u << h.bitCount;
    colors = std::min<std::uint32_t>(colors, 256);
    platform::ColorTable table{};
    if (h.core) {
        std::uint8_t rgb[3 * 256];
        stream.ReadBuffer(rgb, 3 * colors);
        for (std::uint32_t i = 0; i < colors; ++i)
            table[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], 0};
    } else {
        stream.ReadBuffer(table.data(), 4 * colors);
    }

    // The checks NewImage makes, and those of the data that follows, before anything is
    // allocated: a header must not make us reserve memory its stream cannot fill.
    const bool rle = h.compression == 1 || h.compression == 2;
    if (h.compression > 3)
        Invalid();
    if ((h.compression == 1 && h.bitCount != 8) || (h.compression == 2 && h.bitCount != 4))
        Invalid();
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN || (rle && h.height < 0))
        Invalid();
    const std::int32_t rows = h.height < 0 ? -h.height : h.height;
    const platform::DibGeometry geometry = CheckFormat(h.width, rows, h.bitCount, pixelFormat);
    if (rle) {
        if (stream.Remaining() < static_cast<std::int64_t>(h.sizeImage))
            throw toolkit::EReadError();
        if (h.sizeImage > static_cast<std::uint32_t>(INT32_MAX))
            Invalid();
        std::unique_ptr<std::uint8_t[]> data(new (std::nothrow) std::uint8_t[h.sizeImage + 1]);
        if (!data)
            throw toolkit::EOutOfMemory();
        stream.ReadBuffer(data.get(), h.sizeImage);
        NewImage(h.width, rows, h.bitCount, pixelFormat, table, true, true);
        SetCompressedData(std::move(data), static_cast<std::int32_t>(h.sizeImage));
        return;
    }
    if (stream.Remaining() < geometry.imageSize)
        throw toolkit::EReadError();
    NewImage(h.width, rows, h.bitCount, pixelFormat, table, memoryImage, false);
    if (h.height > 0) {
        stream.ReadBuffer(m_pixelData, static_cast<std::size_t>(m_size));
    } else {
        for (std::int32_t y = 0; y < rows; ++y)
            stream.ReadBuffer(m_topRow + std::ptrdiff_t{y} * m_nextLine,
                              static_cast<std::size_t>(m_widthBytes));
    }
    if (bitFields && fileMasks != pixelFormat.Masks())
        RepackChannels(Rows(), fileMasks, pixelFormat);
}

void TDIB::LoadFromStream(toolkit::TStream& stream) {
    std::uint8_t header[kFileHeaderSize];
    const std::size_t got = ReadUpTo(stream, header, kFileHeaderSize);
    if (got == 0)
        return;
    if (got < kFileHeaderSize || U16(header) != kBitmapType)
        Invalid();
    // file size (2), reserved (6, 8) and data offset (10) are not used
    ReadData(stream);
}

void TDIB::SaveToStream(toolkit::TStream& stream) {
    if (Empty())
        return;
    const TDIBSharedImage& image = *m_image;
    const auto headerBlock = static_cast<std::uint32_t>(image.HeaderBlock().size());
    const std::uint32_t offset = headerBlock + kFileHeaderSize;
    const std::uint32_t fileSize = static_cast<std::uint32_t>(image.Size()) + offset;
    std::uint8_t header[kFileHeaderSize] = {};
    header[0] = 'B';
    header[1] = 'M';
    for (int i = 0; i < 4; ++i) {
        header[2 + i] = static_cast<std::uint8_t>(fileSize >> (8 * i));
        header[10 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
    }
    stream.WriteBuffer(header, sizeof header);
    WriteData(stream);
}

void TDIB::ReadData(toolkit::TStream& stream) {
    const bool memoryImage = m_image->MemoryImage();
    ReplaceImage([&](TDIBSharedImage& image) { image.ReadData(stream, memoryImage); });
    SetPaletteModified(true);
    Changed();
}

void TDIB::WriteData(toolkit::TStream& stream) {
    if (Empty())
        return;
    m_image->WriteData(stream);
}

std::vector<std::uint8_t> TDIB::SaveToClipboardFormat(std::uint32_t& format) {
    format = kClipboardFormat;
    toolkit::TMemoryStream stream;
    WriteData(stream);
    return stream.Bytes();
}

void TDIB::LoadFromClipboardFormat(std::uint32_t, const std::vector<std::uint8_t>& data) {
    toolkit::TMemoryStream stream(data);
    ReadData(stream);
}

} // namespace image
