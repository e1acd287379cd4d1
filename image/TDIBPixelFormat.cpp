#include "image/TDIBPixelFormat.h"

namespace image {

namespace {

std::uint32_t LowBits(std::uint32_t width) {
    return static_cast<std::uint32_t>((std::uint64_t{1} << std::min<std::uint32_t>(width, 32)) - 1);
}

std::uint32_t ShiftLeft(std::uint32_t value, std::uint32_t shift) {
    return shift >= 32 ? 0 : static_cast<std::uint32_t>(std::uint64_t{value} << shift);
}

// The run of set bits from the lowest set bit found among bits 0 ... 30.
std::uint32_t RunLength(std::uint32_t mask) {
    int bit = 0;
    while (bit <= 30 && !(mask >> bit & 1))
        ++bit;
    if (bit > 30)
        return 0;
    std::uint32_t count = 0;
    while (bit <= 31 && (mask >> bit & 1)) {
        ++count;
        ++bit;
    }
    return count;
}

} // namespace

TDIBPixelFormat MakePixelFormat(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    TDIBPixelFormat f;
    f.RBitCount = r;
    f.GBitCount = g;
    f.BBitCount = b;
    f.RShift = g + b;
    f.GShift = b;
    f.BShift = 0;
    f.RBitMask = ShiftLeft(LowBits(r), g + b);
    f.GBitMask = ShiftLeft(LowBits(g), b);
    f.BBitMask = LowBits(b);
    return f;
}

TDIBPixelFormat MakePixelFormatFromMasks(std::uint32_t rm, std::uint32_t gm, std::uint32_t bm) {
    return MakePixelFormat(RunLength(rm), RunLength(gm), RunLength(bm));
}

} // namespace image
