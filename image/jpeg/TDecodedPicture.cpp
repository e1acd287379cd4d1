#include "image/jpeg/TDecodedPicture.h"

#include <cassert>

namespace image {

void TDecodedPicture::SetFormat(std::int32_t width, std::int32_t height, int bitCount) {
    assert(width > 0 && height > 0 && (bitCount == 8 || bitCount == 24));
    m_width = width;
    m_height = height;
    m_bitCount = bitCount;
    // The decoder caps pictures far below where these products could overflow 64 bits.
    m_widthBytes = static_cast<std::int32_t>((std::int64_t{width} * bitCount + 31) / 32 * 4);
    m_pixels.assign(static_cast<std::size_t>(m_widthBytes) * static_cast<std::size_t>(height), 0);
    m_palette.clear();
}

std::uint8_t* TDecodedPicture::ScanLine(std::int32_t y) {
    assert(y >= 0 && y < m_height);
    return m_pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_widthBytes);
}

const std::uint8_t* TDecodedPicture::ScanLine(std::int32_t y) const {
    assert(y >= 0 && y < m_height);
    return m_pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_widthBytes);
}

void TDecodedPicture::SetPalette(std::span<const platform::Color> colors) {
    m_palette.assign(colors.begin(), colors.end());
}

platform::Color TDecodedPicture::Pixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return 0;
    }
    const std::uint8_t* row = ScanLine(y);
    if (m_bitCount == 8) {
        const std::uint8_t index = row[x];
        return index < m_palette.size() ? m_palette[index] : 0;
    }
    const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
    return platform::RGB(p[2], p[1], p[0]);
}

} // namespace image
