#pragma once
// The channel layout of 16- and 32-bit DIB pixels: three masks packed red above green above
// blue (blue in the lowest bits) and the widths they were made from. Three layouts are valid for
// pictures: 8-8-8 (every bit count but 16), 5-5-5 and 5-6-5 (16 bits only).

#include <cstdint>
#include <ostream>

#include "platform/gfx/Dib.h"

namespace image {

struct TDIBPixelFormat {
    std::uint32_t RBitMask = 0;
    std::uint32_t GBitMask = 0;
    std::uint32_t BBitMask = 0;
    std::uint32_t RBitCount = 0;
    std::uint32_t GBitCount = 0;
    std::uint32_t BBitCount = 0;
    // Derived positions of each channel's lowest bit; nothing reads them but they stay filled.
    std::uint32_t RShift = 0;
    std::uint32_t GShift = 0;
    std::uint32_t BShift = 0;

    platform::ChannelMasks Masks() const { return {RBitMask, GBitMask, BBitMask}; }
    bool SameMasks(const TDIBPixelFormat& o) const { return Masks() == o.Masks(); }
    friend bool operator==(const TDIBPixelFormat&, const TDIBPixelFormat&) = default;
};

// Masks from channel widths: red = (2^r - 1) << (g + b), green = (2^g - 1) << b, blue = 2^b - 1
// (bits beyond 32 are dropped).
TDIBPixelFormat MakePixelFormat(std::uint32_t r, std::uint32_t g, std::uint32_t b);
// Measures the run of set bits of each mask from its lowest set bit (bits 0 ... 30 searched; a
// zero mask measures 0) and builds the packed layout of those widths; the runs' positions are
// not kept.
TDIBPixelFormat MakePixelFormatFromMasks(std::uint32_t rm, std::uint32_t gm, std::uint32_t bm);

inline std::ostream& operator<<(std::ostream& os, const TDIBPixelFormat& f) {
    return os << f.RBitCount << '-' << f.GBitCount << '-' << f.BBitCount << std::hex << " (0x"
              << f.RBitMask << ", 0x" << f.GBitMask << ", 0x" << f.BBitMask << ')' << std::dec;
}

} // namespace image
