#include "platform/gfx/Dib.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>

#include "platform/gfx/CreationRefusal.h"

namespace platform {

namespace {

bool ValidBitCount(int bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

// Sets one pixel of a 4- or 8-bit row; columns outside the row are dropped.
void PutIndex(const PixelRows& target, std::uint8_t* row, std::int64_t x, std::uint8_t index) {
    if (x < 0 || x >= target.width)
        return;
    if (target.bitCount == 8) {
        row[x] = index;
        return;
    }
    std::uint8_t& b = row[x >> 1];
    b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (index & 0x0F))
                : static_cast<std::uint8_t>((b & 0x0F) | (index & 0x0F) << 4);
}

} // namespace

const ColorTable& GreyRamp() {
    static const ColorTable ramp = [] {
        ColorTable t{};
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            t[i] = {v, v, v, 0};
        }
        return t;
    }();
    return ramp;
}

bool IsGreyRamp(const RgbQuad* colors, int count) {
    if (count != 256)
        return false;
    const ColorTable& ramp = GreyRamp();
    for (int i = 0; i < 256; ++i) {
        if (colors[i].red != ramp[i].red || colors[i].green != ramp[i].green ||
            colors[i].blue != ramp[i].blue)
            return false;
    }
    return true;
}

int BitmapInfo::ColorCount() const {
    if (bitCount > 8)
        return 0;
    if (colorsUsed == 0)
        return 1 << bitCount;
    return static_cast<int>(std::min<std::uint32_t>(colorsUsed, 256));
}

ChannelMasks BitmapInfo::EffectiveMasks() const {
    if (compression == Compression::BitFields)
        return masks;
    return bitCount == 16 ? kMasks555 : kMasks888;
}

std::optional<DibGeometry> DibGeometryOf(std::int32_t width, std::int32_t height, int bitCount) {
    if (width <= 0 || height <= 0 || !ValidBitCount(bitCount))
        return std::nullopt;
    const std::int64_t bits = std::int64_t{width} * bitCount;
    const std::int64_t widthBytes = (bits + 31) / 32 * 4;
    // Checked before the image size: a row of several gigabytes times a tall picture would not
    // fit even 64 bits.
    if (bits > INT32_MAX || widthBytes > INT32_MAX)
        return std::nullopt;
    const std::int64_t imageSize = widthBytes * height;
    if (imageSize > INT32_MAX)
        return std::nullopt;
    return DibGeometry{static_cast<std::int32_t>(widthBytes), static_cast<std::int32_t>(imageSize)};
}

PixelRows MakePixelRows(const BitmapInfo& info, const void* pixels) {
    const auto geometry = DibGeometryOf(info.width, info.AbsHeight(), info.bitCount);
    if (!geometry || pixels == nullptr)
        return {};
    auto* base = static_cast<std::uint8_t*>(const_cast<void*>(pixels));
    PixelRows rows;
    rows.width = info.width;
    rows.height = info.AbsHeight();
    rows.bitCount = info.bitCount;
    rows.masks = info.EffectiveMasks();
    rows.colors = info.colors.data();
    rows.colorCount = info.ColorCount();
    if (info.TopDown()) {
        rows.top = base;
        rows.step = geometry->widthBytes;
    } else {
        rows.top = base + std::ptrdiff_t{geometry->widthBytes} * (rows.height - 1);
        rows.step = -std::ptrdiff_t{geometry->widthBytes};
    }
    return rows;
}

DibSection::DibSection(const BitmapInfo& info, DibGeometry geometry, PixelBuffer px)
    : m_info(info), m_geometry(geometry), m_pixels(std::move(px)) {}

std::uint8_t* DibSection::Row(std::int32_t y) {
    assert(y >= 0 && y < Height() && "row inside the section");
    // Straight from the geometry: drawing loops ask for rows often, and a whole row view per
    // call would cost more than the row's pixels.
    const std::int32_t stored = TopDown() ? y : Height() - 1 - y;
    return m_pixels.get() + static_cast<std::ptrdiff_t>(stored) * m_geometry.widthBytes;
}

PixelRows DibSection::Rows() const {
    return MakePixelRows(m_info, m_pixels.get());
}

std::uint32_t DibSection::SetColorTable(std::uint32_t start, std::uint32_t count,
                                        const RgbQuad* entries) {
    const auto size = static_cast<std::uint32_t>(m_info.ColorCount());
    if (start >= size)
        return 0;
    const std::uint32_t n = std::min(count, size - start);
    std::copy_n(entries, n, m_info.colors.begin() + start);
    return n;
}

std::shared_ptr<DibSection> CreateDIBSection(const BitmapInfo& info) {
    if (CreationRefused(Creation::DibSection))
        return nullptr;
    if (info.compression != Compression::Rgb && info.compression != Compression::BitFields)
        return nullptr;
    if (info.compression == Compression::BitFields && info.bitCount != 16 && info.bitCount != 32)
        return nullptr;
    const auto geometry = DibGeometryOf(info.width, info.AbsHeight(), info.bitCount);
    if (!geometry)
        return nullptr;
    PixelBuffer pixels = AllocatePixels(static_cast<std::size_t>(geometry->imageSize));
    if (!pixels)
        return nullptr;
    BitmapInfo own = info;
    own.sizeImage = static_cast<std::uint32_t>(geometry->imageSize);
    for (int i = own.ColorCount(); i < 256; ++i)
        own.colors[i] = {};
    return std::shared_ptr<DibSection>(new DibSection(own, *geometry, std::move(pixels)));
}

bool DecodeRleRows(const std::uint8_t* data, std::size_t size, Compression compression,
                   std::int32_t width, std::int32_t height, int bitCount,
                   const std::function<std::uint8_t*(std::int32_t)>& rowOf) {
    const bool rle8 = compression == Compression::Rle8;
    if (!(rle8 && bitCount == 8) && !(compression == Compression::Rle4 && bitCount == 4))
        return false;
    if (width <= 0 || height <= 0)
        return true;
    PixelRows format;
    format.width = width;
    format.bitCount = bitCount;

    // Storage row 0 is the bottom picture row; columns and rows only grow, so 64 bits hold them.
    std::int64_t x = 0;
    std::int64_t storageRow = 0;
    std::size_t pos = 0;
    auto rowPointer = [&]() { return rowOf(static_cast<std::int32_t>(height - 1 - storageRow)); };
    while (pos + 2 <= size && storageRow < height) {
        const std::uint8_t count = data[pos];
        const std::uint8_t value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            if (std::uint8_t* row = rowPointer()) {
                const std::int64_t end = std::min<std::int64_t>(x + count, width);
                for (std::int64_t k = 0; x + k < end; ++k) {
                    const std::uint8_t index = rle8 ? value : ((k & 1) ? value & 0x0F : value >> 4);
                    PutIndex(format, row, x + k, index);
                }
            }
            x += count;
        } else if (value == 0) {
            x = 0;
            ++storageRow;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (pos + 2 > size)
                break;
            x += data[pos];
            storageRow += data[pos + 1];
            pos += 2;
        } else {
            const std::size_t bytes = rle8 ? value : (value + 1u) / 2;
            const std::size_t available = std::min(bytes, size - pos);
            const std::size_t pixels =
                rle8 ? available : std::min<std::size_t>(value, available * 2);
            if (std::uint8_t* row = rowPointer()) {
                for (std::size_t k = 0; k < pixels && x + static_cast<std::int64_t>(k) < width;
                     ++k) {
                    const std::uint8_t b = data[pos + (rle8 ? k : k / 2)];
                    const std::uint8_t index = rle8 ? b : ((k & 1) ? b & 0x0F : b >> 4);
                    PutIndex(format, row, x + static_cast<std::int64_t>(k), index);
                }
            }
            x += value;
            pos += bytes;
            pos += pos & 1; // items start at even offsets
        }
    }
    return true;
}

bool DecodeRle(const std::uint8_t* data, std::size_t size, Compression compression,
               const PixelRows& target) {
    if (target.IsEmpty())
        return false;
    const std::size_t rowBytes =
        static_cast<std::size_t>(target.step < 0 ? -target.step : target.step);
    for (std::int32_t y = 0; y < target.height; ++y)
        std::memset(target.Row(y), 0, rowBytes);
    return DecodeRleRows(data, size, compression, target.width, target.height, target.bitCount,
                         [&](std::int32_t y) { return target.Row(y); });
}

} // namespace platform
