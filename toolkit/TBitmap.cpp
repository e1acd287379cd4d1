#include "toolkit/TBitmap.h"

#include <algorithm>
#include <cstring>

#include "toolkit/Exceptions.h"

namespace toolkit {

namespace {

constexpr std::uint16_t kBitmapType = 0x4D42; // "BM"
constexpr std::uint32_t kInfoHeaderSize = 40;

EInvalidGraphic NotValid() {
    return EInvalidGraphic("Bitmap image is not valid");
}

void WriteU16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void WriteU32(std::uint8_t* p, std::uint32_t v) {
    WriteU16(p, v);
    WriteU16(p + 2, v >> 16);
}

} // namespace

TBitmap::TBitmap() : m_dc(platform::CreateCompatibleDC()) {}

TBitmap::~TBitmap() = default;

void TBitmap::Rebuild(std::int32_t width, std::int32_t height, TPixelFormat format) {
    if (width <= 0 || height <= 0) {
        platform::SelectObject(*m_dc, nullptr);
        m_section.reset();
        m_width = m_height = 0;
        m_pixelFormat = format;
        Changed();
        return;
    }
    platform::BitmapInfo info;
    info.width = width;
    info.height = -height; // rows top to bottom
    info.bitCount = format == TPixelFormat::pf8bit ? 8 : 24;
    for (std::size_t i = 0; i < m_paletteColors.size() && i < 256; ++i)
        info.colors[i] = platform::ToRgbQuad(m_paletteColors[i]);
    auto section = platform::CreateDIBSection(info);
    if (!section)
        throw EOutOfResources("Bitmap");
    platform::SelectObject(*m_dc, section);
    m_section = std::move(section);
    m_width = width;
    m_height = height;
    m_pixelFormat = format;
    Changed();
}

void TBitmap::SetSize(std::int32_t width, std::int32_t height) {
    if (width == m_width && height == m_height)
        return;
    Rebuild(width, height, m_pixelFormat);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == m_pixelFormat)
        return;
    Rebuild(m_width, m_height, format);
}

std::uint8_t* TBitmap::ScanLine(std::int32_t y) {
    if (!m_section || y < 0 || y >= m_height)
        throw EInvalidGraphicOperation("Scan line index out of range");
    return m_section->Row(y);
}

std::int32_t TBitmap::ScanLineStride() const {
    return m_section ? m_section->WidthBytes() : 0;
}

void TBitmap::SetPaletteColors(std::span<const platform::Color> colors) {
    m_paletteColors.assign(colors.begin(),
                           colors.begin() + std::min<std::size_t>(colors.size(), 256));
    m_palette.reset();
    if (m_section) {
        platform::ColorTable table{};
        for (std::size_t i = 0; i < m_paletteColors.size(); ++i)
            table[i] = platform::ToRgbQuad(m_paletteColors[i]);
        m_section->SetColorTable(0, 256, table.data());
    }
    SetPaletteModified(true);
    Changed();
}

std::shared_ptr<platform::Palette> TBitmap::GetPalette() {
    if (m_paletteColors.empty())
        return nullptr;
    if (!m_palette) {
        std::vector<platform::PaletteEntry> entries;
        for (platform::Color c : m_paletteColors)
            entries.push_back(
                {platform::GetRValue(c), platform::GetGValue(c), platform::GetBValue(c), 0});
        m_palette = platform::CreatePalette(entries);
    }
    return m_palette;
}

void TBitmap::SetPalette(const std::shared_ptr<platform::Palette>& palette) {
    std::vector<platform::Color> colors;
    if (palette) {
        for (const auto& e : palette->Entries())
            colors.push_back(platform::RGB(e.red, e.green, e.blue));
    }
    SetPaletteColors(colors);
}

TCanvas& TBitmap::Canvas() {
    if (!m_canvas)
        m_canvas = std::make_unique<TCanvas>(m_dc.get());
    return *m_canvas;
}

void TBitmap::Draw(TCanvas& canvas, const platform::Rect& rect) {
    if (Empty())
        return;
    platform::DeviceContext& dc = canvas.Handle();
    platform::DcStateGuard guard(dc);
    if (m_pixelFormat == TPixelFormat::pf8bit) {
        if (auto palette = GetPalette()) {
            platform::SelectPalette(dc, palette, true);
            platform::RealizePalette(dc);
        }
    }
    platform::SetStretchBltMode(dc, platform::StretchMode::ColorOnColor);
    platform::StretchBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(), *m_dc, 0, 0, m_width,
                         m_height, canvas.CopyMode());
}

void TBitmap::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TBitmap*>(source);
    if (other == nullptr) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this)
        return;
    m_paletteColors = other->m_paletteColors;
    m_palette.reset();
    m_width = m_height = 0; // force new rows
    Rebuild(other->m_width, other->m_height, other->m_pixelFormat);
    if (m_section)
        std::memcpy(m_section->Bits(), other->m_section->Bits(),
                    static_cast<std::size_t>(m_section->ImageSize()));
}

void TBitmap::LoadFromStream(TStream& stream) {
    std::uint8_t fileHeader[14];
    if (stream.Read(fileHeader, 14) != 14 || (fileHeader[0] | fileHeader[1] << 8) != kBitmapType)
        throw NotValid();
    const std::uint32_t headerSize = stream.ReadU32();
    if (headerSize != kInfoHeaderSize)
        throw NotValid();
    const std::int32_t width = stream.ReadI32();
    const std::int32_t height = stream.ReadI32();
    stream.ReadU16(); // planes
    const std::uint16_t bitCount = stream.ReadU16();
    const std::uint32_t compression = stream.ReadU32();
    stream.ReadU32(); // image size
    stream.ReadU32(); // resolutions
    stream.ReadU32();
    std::uint32_t colorsUsed = stream.ReadU32();
    stream.ReadU32(); // colours important
    if ((bitCount != 8 && bitCount != 24) || compression != 0 || width <= 0 || height == 0 ||
        height == INT32_MIN)
        throw NotValid();
    const std::int32_t rows = height < 0 ? -height : height;
    const auto geometry = platform::DibGeometryOf(width, rows, bitCount);
    if (!geometry)
        throw NotValid();
    std::vector<platform::Color> colors;
    if (bitCount == 8) {
        colorsUsed = colorsUsed == 0 ? 256 : std::min<std::uint32_t>(colorsUsed, 256);
        for (std::uint32_t i = 0; i < colorsUsed; ++i) {
            std::uint8_t q[4];
            stream.ReadBuffer(q, 4);
            colors.push_back(platform::RGB(q[2], q[1], q[0]));
        }
    }
    if (stream.Remaining() < geometry->imageSize)
        throw EReadError();

    TBitmap loaded;
    loaded.m_paletteColors = colors;
    loaded.Rebuild(width, rows, bitCount == 8 ? TPixelFormat::pf8bit : TPixelFormat::pf24bit);
    for (std::int32_t i = 0; i < rows; ++i) {
        // A positive height lists the bottom row first.
        const std::int32_t y = height > 0 ? rows - 1 - i : i;
        stream.ReadBuffer(loaded.ScanLine(y), static_cast<std::size_t>(geometry->widthBytes));
    }
    Assign(&loaded);
}

void TBitmap::SaveToStream(TStream& stream) {
    if (Empty())
        return;
    const int bits = BitCount();
    const std::uint32_t colors = bits == 8 ? 256 : 0;
    const std::uint32_t offset = 14 + kInfoHeaderSize + 4 * colors;
    const auto image = static_cast<std::uint32_t>(m_section->ImageSize());
    std::vector<std::uint8_t> header(offset, 0);
    WriteU16(&header[0], kBitmapType);
    WriteU32(&header[2], offset + image);
    WriteU32(&header[10], offset);
    WriteU32(&header[14], kInfoHeaderSize);
    WriteU32(&header[18], static_cast<std::uint32_t>(m_width));
    WriteU32(&header[22], static_cast<std::uint32_t>(m_height));
    WriteU16(&header[26], 1);
    WriteU16(&header[28], static_cast<std::uint32_t>(bits));
    WriteU32(&header[34], image);
    for (std::uint32_t i = 0; i < colors && i < m_paletteColors.size(); ++i) {
        const platform::Color c = m_paletteColors[i];
        header[54 + 4 * i] = platform::GetBValue(c);
        header[55 + 4 * i] = platform::GetGValue(c);
        header[56 + 4 * i] = platform::GetRValue(c);
    }
    stream.WriteBuffer(header.data(), header.size());
    for (std::int32_t y = m_height - 1; y >= 0; --y)
        stream.WriteBuffer(m_section->Row(y), static_cast<std::size_t>(m_section->WidthBytes()));
}

} // namespace toolkit
