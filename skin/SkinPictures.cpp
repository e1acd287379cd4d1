#include "skin/SkinPictures.h"

#include <array>
#include <cstring>
#include <limits>

#include "toolkit/Exceptions.h"

namespace skin {
namespace {

using toolkit::TStream;

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

struct BitmapLayout {
    std::int32_t width = 0;
    std::int32_t height = 0; // positive; topDown says which way rows run
    bool topDown = false;
    int bitCount = 0;
    std::size_t headerSize = 0;
    std::size_t paletteEntrySize = 4;
    std::size_t paletteCount = 0;
};

// The bitmap file header and information header, or false when the layout is not one this
// interim reader handles (uncompressed 1, 4, 8, 24 and 32 bits per pixel).
bool ReadLayout(const std::vector<std::uint8_t>& file, BitmapLayout& layout) {
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M')
        return false;
    layout.headerSize = U32(&file[14]);
    if (layout.headerSize == 12) {
        layout.width = U16(&file[18]);
        layout.height = U16(&file[20]);
        layout.bitCount = U16(&file[24]);
        layout.paletteEntrySize = 3;
    } else {
        if (layout.headerSize < 40 || file.size() < 14 + 40)
            return false;
        const auto width = static_cast<std::int32_t>(U32(&file[18]));
        const auto height = static_cast<std::int32_t>(U32(&file[22]));
        layout.bitCount = U16(&file[28]);
        if (U32(&file[30]) != 0) // compressed bitmaps wait for the image layer's reader
            return false;
        if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min())
            return false;
        layout.width = width;
        layout.topDown = height < 0;
        layout.height = height < 0 ? -height : height;
        layout.paletteCount = U32(&file[46]);
    }
    const int bits = layout.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return false;
    if (bits <= 8 && (layout.paletteCount == 0 || layout.paletteCount > (1u << bits)))
        layout.paletteCount = std::size_t{1} << bits;
    if (bits > 8)
        layout.paletteCount = 0;
    return layout.width > 0 && layout.height > 0;
}

} // namespace

TsSkinBitmap::TsSkinBitmap(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0 || std::int64_t{width} * height > (std::int64_t{1} << 28))
        throw toolkit::EOutOfResources("Bitmap");
    m_width = width;
    m_height = height;
    m_rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    m_bits.assign(m_rowBytes * static_cast<std::size_t>(height), 0);
}

platform::Color TsSkinBitmap::Pixel(std::int32_t x, std::int32_t y) const {
    const std::uint8_t* p = ScanLine(y) + 3 * x;
    return platform::RGB(p[2], p[1], p[0]);
}

void TsSkinBitmap::SetPixel(std::int32_t x, std::int32_t y, platform::Color color) {
    std::uint8_t* p = ScanLine(y) + 3 * x;
    p[0] = platform::GetBValue(color);
    p[1] = platform::GetGValue(color);
    p[2] = platform::GetRValue(color);
}

std::unique_ptr<TsSkinBitmap> LoadSkinBitmap(TStream& source) {
    std::vector<std::uint8_t> file(static_cast<std::size_t>(source.Remaining()));
    file.resize(source.Read(file.data(), file.size()));
    BitmapLayout layout;
    if (!ReadLayout(file, layout))
        return nullptr;

    const std::size_t paletteAt = 14 + layout.headerSize;
    const std::size_t paletteBytes = layout.paletteCount * layout.paletteEntrySize;
    const std::uint64_t srcRow =
        ((static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32) * 4;
    std::uint64_t bitsAt = U32(&file[10]);
    if (bitsAt < paletteAt + paletteBytes)
        bitsAt = paletteAt + paletteBytes;
    // The pixel rows must be in the file: this bounds the picture by the bytes that back it.
    if (paletteAt + paletteBytes > file.size() || bitsAt > file.size() ||
        srcRow * static_cast<std::uint64_t>(layout.height) > file.size() - bitsAt)
        return nullptr;

    std::array<platform::Color, 256> palette{};
    for (std::size_t i = 0; i < layout.paletteCount; ++i) {
        const std::uint8_t* e = &file[paletteAt + i * layout.paletteEntrySize];
        palette[i] = platform::RGB(e[2], e[1], e[0]);
    }

    auto bitmap = std::make_unique<TsSkinBitmap>(layout.width, layout.height);
    for (std::int32_t row = 0; row < layout.height; ++row) {
        const std::int32_t y = layout.topDown ? row : layout.height - 1 - row;
        const std::uint8_t* src = &file[bitsAt + static_cast<std::size_t>(row) * srcRow];
        std::uint8_t* dst = bitmap->ScanLine(y);
        for (std::int32_t x = 0; x < layout.width; ++x, dst += 3) {
            if (layout.bitCount >= 24) {
                const std::uint8_t* p = src + x * (layout.bitCount / 8);
                std::memcpy(dst, p, 3);
                continue;
            }
            const int bits = layout.bitCount;
            const int perByte = 8 / bits;
            const int shift = 8 - bits * (1 + x % perByte);
            const int index = (src[x / perByte] >> shift) & ((1 << bits) - 1);
            const platform::Color c = palette[static_cast<std::size_t>(index)];
            dst[0] = platform::GetBValue(c);
            dst[1] = platform::GetGValue(c);
            dst[2] = platform::GetRValue(c);
        }
    }
    return bitmap;
}

std::unique_ptr<TsSkinPicture> LoadSkinPicture(TStream& source) {
    auto picture = std::make_unique<TsSkinPicture>();
    auto& bytes = picture->m_bytes;
    bytes.resize(static_cast<std::size_t>(source.Remaining()));
    bytes.resize(source.Read(bytes.data(), bytes.size()));
    // Walk the markers up to the first start-of-frame, which carries the size.
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return nullptr;
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xFF)
            return nullptr;
        const std::uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const std::size_t length = std::size_t{bytes[at + 2]} << 8 | bytes[at + 3];
        const bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (at + 9 > bytes.size())
                return nullptr;
            picture->m_height = bytes[at + 5] << 8 | bytes[at + 6];
            picture->m_width = bytes[at + 7] << 8 | bytes[at + 8];
            return picture;
        }
        if (length < 2)
            return nullptr;
        at += 2 + length;
    }
    return nullptr;
}

std::unique_ptr<TsSkinBitmap> RenderSkinPicture(const TsSkinPicture&) {
    // TODO: decode through TJPEGImage once the image layer has it; until then small JPEG
    // pictures cannot become texture pieces and are dropped like unreadable ones.
    return nullptr;
}

} // namespace skin
