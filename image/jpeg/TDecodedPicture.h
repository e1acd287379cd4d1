#pragma once
// A decoded picture in plain memory: 8 bits per pixel with a palette, or 24 bits in blue, green,
// red order; rows top to bottom, each padded to a multiple of 4 bytes as bitmap rows are. It is
// the decoder's simplest target, used where no toolkit bitmap is wanted (tools, tests, fuzzing).

#include <cstdint>
#include <span>
#include <vector>

#include "image/jpeg/JPEGDecoder.h"
#include "platform/gfx/Geometry.h"

namespace image {

class TDecodedPicture : public TJPEGTarget {
public:
    void SetFormat(std::int32_t width, std::int32_t height, int bitCount) override;
    std::uint8_t* ScanLine(std::int32_t y) override;
    void SetPalette(std::span<const platform::Color> colors) override;

    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    int BitCount() const { return m_bitCount; }
    std::int32_t WidthBytes() const { return m_widthBytes; }
    const std::vector<platform::Color>& Palette() const { return m_palette; }
    const std::uint8_t* ScanLine(std::int32_t y) const;
    // The colour at (x, y), y = 0 at the top; palette entries for 8 bits. 0 outside the picture.
    platform::Color Pixel(std::int32_t x, std::int32_t y) const;

private:
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    int m_bitCount = 0;
    std::int32_t m_widthBytes = 0;
    std::vector<std::uint8_t> m_pixels;
    std::vector<platform::Color> m_palette;
};

} // namespace image
