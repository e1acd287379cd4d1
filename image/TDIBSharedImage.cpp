#include "image/TDIBSharedImage.h"

#include <cstring>
#include <new>

#include "image/TPaletteManager.h"
#include "toolkit/Exceptions.h"

namespace image {

namespace {

constexpr std::int32_t kInfoHeaderSize = 40;
constexpr std::int32_t kMaskBytes = 12;

TDIBSharedImage* g_emptyImage = nullptr;

void PutU16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::uint8_t* p, std::uint32_t v) {
    PutU16(p, v);
    PutU16(p + 2, v >> 16);
}

bool HasMasks(std::int32_t bitCount) {
    return bitCount == 16 || bitCount == 32;
}

// Refuses a bit count or a pixel format that does not suit it.
void CheckBitCount(std::int32_t bitCount, const TDIBPixelFormat& format) {
    const platform::ChannelMasks masks = format.Masks();
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
    case 32:
        if (masks != platform::kMasks888)
            throw toolkit::EInvalidGraphicOperation("PixelFormat in invalid");
        return;
    case 16:
        if (masks != platform::kMasks555 && masks != platform::kMasks565)
            throw toolkit::EInvalidGraphicOperation("PixelFormat in invalid");
        return;
    default:
        throw toolkit::EInvalidGraphicOperation(
            toolkit::Format("Bitcount in invalid (%d)", {std::int64_t{bitCount}}));
    }
}

} // namespace

platform::DibGeometry TDIBSharedImage::CheckFormat(std::int32_t width, std::int32_t height,
                                                   std::int32_t bitCount,
                                                   const TDIBPixelFormat& format) {
    CheckBitCount(bitCount, format);
    const auto geometry = platform::DibGeometryOf(width, height, bitCount);
    if (!geometry)
        throw toolkit::EInvalidGraphic("DIB is invalid");
    return *geometry;
}

TDIBSharedImage::TDIBSharedImage() {
    Reinitialise(true);
}

TDIBSharedImage::~TDIBSharedImage() {
    FreeImage();
}

void TDIBSharedImage::FreeImage() {
    if (m_surface) {
        platform::SelectObject(*m_dc, m_oldBitmap);
        m_oldBitmap.reset();
        m_surface.reset();
    }
    m_memory.reset();
    if (m_palette)
        PaletteManager().DeletePalette(m_palette);
    m_palette.reset();
    m_dc.reset();
    m_header.clear();
    m_pixelData = nullptr;
    m_topRow = nullptr;
}

void TDIBSharedImage::Reinitialise(bool memoryImage) {
    FreeImage();
    m_bitCount = 0;
    m_colorTableChanged = true;
    m_colorTable = platform::GreyRamp();
    m_colorTablePos = 0;
    m_compressed = false;
    m_height = 0;
    m_memoryImage = memoryImage;
    m_nextLine = 0;
    m_colorTableSize = 0;
    m_pixelFormat = MakePixelFormat(8, 8, 8);
    m_size = 0;
    m_width = 0;
    m_widthBytes = 0;
}

void TDIBSharedImage::WriteHeaderBlock(platform::Compression compression) {
    m_colorTablePos = kInfoHeaderSize + (HasMasks(m_bitCount) ? kMaskBytes : 0);
    m_header.assign(static_cast<std::size_t>(m_colorTablePos + 4 * m_colorTableSize), 0);
    std::uint8_t* h = m_header.data();
    PutU32(h + 0, kInfoHeaderSize);
    PutU32(h + 4, static_cast<std::uint32_t>(m_width));
    PutU32(h + 8, static_cast<std::uint32_t>(m_height));
    PutU16(h + 12, 1);
    PutU16(h + 14, static_cast<std::uint32_t>(m_bitCount));
    PutU32(h + 16, static_cast<std::uint32_t>(compression));
    PutU32(h + 20, static_cast<std::uint32_t>(m_size));
    if (HasMasks(m_bitCount)) {
        PutU32(h + 40, m_pixelFormat.RBitMask);
        PutU32(h + 44, m_pixelFormat.GBitMask);
        PutU32(h + 48, m_pixelFormat.BBitMask);
    }
    std::memcpy(h + m_colorTablePos, m_colorTable.data(),
                4 * static_cast<std::size_t>(m_colorTableSize));
}

void TDIBSharedImage::AllocateMemory(std::size_t bytes) {
    m_memory = platform::AllocatePixels(bytes);
    if (!m_memory)
        throw toolkit::EOutOfMemory();
    m_pixelData = m_memory.get();
}

void TDIBSharedImage::NewImage(std::int32_t width, std::int32_t height, std::int32_t bitCount,
                               const TDIBPixelFormat& pixelFormat,
                               const platform::ColorTable& colorTable, bool memoryImage,
                               bool compressed) {
    Reinitialise(memoryImage);
    const platform::DibGeometry geometry = CheckFormat(width, height, bitCount, pixelFormat);

    m_bitCount = bitCount;
    m_height = height;
    m_width = width;
    m_widthBytes = geometry.widthBytes;
    m_nextLine = -m_widthBytes;
    m_size = geometry.imageSize;
    m_pixelFormat = pixelFormat;
    m_colorTableSize = bitCount <= 8 ? 1 << bitCount : 0;
    m_colorTable = colorTable;

    platform::Compression compression = platform::Compression::Rgb;
    if (HasMasks(bitCount))
        compression = platform::Compression::BitFields;
    else if (compressed && bitCount == 4)
        compression = platform::Compression::Rle4;
    else if (compressed && bitCount == 8)
        compression = platform::Compression::Rle8;
    WriteHeaderBlock(compression);
    m_compressed =
        compression == platform::Compression::Rle4 || compression == platform::Compression::Rle8;
    m_memoryImage = memoryImage || m_compressed;

    if (!m_compressed) {
        if (std::int64_t{m_width} * std::abs(std::int64_t{m_height}) >
            platform::kMaxPicturePixels) {
            Reinitialise(memoryImage);
            throw toolkit::EOutOfMemory();
        }
        if (m_memoryImage) {
            AllocateMemory(static_cast<std::size_t>(m_size));
        } else {
            m_dc = platform::CreateCompatibleDC();
            m_surface = platform::CreateDIBSection(Info());
            if (!m_surface) {
                m_dc.reset();
                throw toolkit::EOutOfResources("DIB");
            }
            m_oldBitmap = platform::SelectObject(*m_dc, m_surface);
            m_pixelData = m_surface->Bits();
        }
        m_topRow = m_pixelData + std::ptrdiff_t{m_height - 1} * m_widthBytes;
    }
}

void TDIBSharedImage::SetCompressedData(std::unique_ptr<std::uint8_t[]> data, std::int32_t size) {
    m_memory = platform::AdoptPixels(std::move(data));
    m_pixelData = m_memory.get();
    m_size = size;
    m_topRow = nullptr;
    if (m_header.size() >= 24)
        PutU32(m_header.data() + 20, static_cast<std::uint32_t>(size));
}

void TDIBSharedImage::Duplicate(const TDIBSharedImage& source, bool memoryImage) {
    if (source.m_size == 0) {
        Reinitialise(memoryImage);
        return;
    }
    NewImage(source.m_width, source.m_height, source.m_bitCount, source.m_pixelFormat,
             source.m_colorTable, memoryImage, source.m_compressed);
    if (m_compressed) {
        std::unique_ptr<std::uint8_t[]> data(
            new (std::nothrow) std::uint8_t[static_cast<std::size_t>(source.m_size)]);
        if (!data)
            throw toolkit::EOutOfMemory();
        std::memcpy(data.get(), source.m_pixelData, static_cast<std::size_t>(source.m_size));
        SetCompressedData(std::move(data), source.m_size);
        return;
    }
    std::memcpy(m_pixelData, source.m_pixelData, static_cast<std::size_t>(m_size));
}

void TDIBSharedImage::DecompressFrom(const TDIBSharedImage& source, bool memoryImage) {
    if (!source.m_compressed) {
        Duplicate(source, memoryImage);
        return;
    }
    NewImage(source.m_width, source.m_height, source.m_bitCount, source.m_pixelFormat,
             source.m_colorTable, memoryImage, false);
    const auto compression =
        source.m_bitCount == 8 ? platform::Compression::Rle8 : platform::Compression::Rle4;
    platform::DecodeRle(source.m_pixelData, static_cast<std::size_t>(source.m_size), compression,
                        Rows());
}

void TDIBSharedImage::SetColorTable(const platform::ColorTable& table) {
    m_colorTable = table;
    m_colorTableChanged = true;
    if (m_size > 0 && m_colorTableSize > 0) {
        if (m_surface)
            m_surface->SetColorTable(0, 256, m_colorTable.data());
        if (m_header.size() >= static_cast<std::size_t>(m_colorTablePos + 4 * m_colorTableSize))
            std::memcpy(m_header.data() + m_colorTablePos, m_colorTable.data(),
                        4 * static_cast<std::size_t>(m_colorTableSize));
    }
}

std::shared_ptr<platform::Palette> TDIBSharedImage::GetPalette() {
    if (m_colorTableSize <= 0)
        return nullptr;
    if (m_colorTableChanged) {
        m_colorTableChanged = false;
        PaletteManager().DeletePalette(m_palette);
        m_palette = PaletteManager().CreatePalette(m_colorTable.data(), m_colorTableSize);
    }
    return m_palette;
}

platform::BitmapInfo TDIBSharedImage::Info() const {
    platform::BitmapInfo info;
    info.width = m_width;
    info.height = m_height;
    info.bitCount = static_cast<std::uint16_t>(m_bitCount);
    if (HasMasks(m_bitCount)) {
        info.compression = platform::Compression::BitFields;
        info.masks = m_pixelFormat.Masks();
    } else if (m_compressed) {
        info.compression =
            m_bitCount == 8 ? platform::Compression::Rle8 : platform::Compression::Rle4;
    }
    info.sizeImage = static_cast<std::uint32_t>(m_size);
    info.colors = m_colorTable;
    return info;
}

platform::PixelRows TDIBSharedImage::Rows() const {
    if (m_compressed || m_topRow == nullptr)
        return {};
    platform::PixelRows rows;
    rows.top = m_topRow;
    rows.step = m_nextLine;
    rows.width = m_width;
    rows.height = m_height;
    rows.bitCount = m_bitCount;
    rows.masks = HasMasks(m_bitCount) ? m_pixelFormat.Masks() : platform::kMasks888;
    rows.colors = m_colorTable.data();
    rows.colorCount = m_colorTableSize;
    return rows;
}

void TDIBSharedImage::WriteData(toolkit::TStream& stream) const {
    if (m_size <= 0 || m_header.empty())
        return;
    platform::GdiFlush();
    stream.WriteBuffer(m_header.data(), m_header.size());
    stream.WriteBuffer(m_pixelData, static_cast<std::size_t>(m_size));
}

TDIBSharedImage& EmptyImage() {
    if (g_emptyImage == nullptr) {
        g_emptyImage = new TDIBSharedImage;
        g_emptyImage->Reference(); // the module's own reference
    }
    return *g_emptyImage;
}

void FreeEmptyImage() {
    if (g_emptyImage != nullptr) {
        TDIBSharedImage* image = g_emptyImage;
        g_emptyImage = nullptr;
        image->Release();
    }
}

} // namespace image
