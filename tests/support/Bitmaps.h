#pragma once
// Reading back what was drawn into a toolkit bitmap.

#include <cstdint>

#include "platform/gfx/Geometry.h"
#include "toolkit/TBitmap.h"

namespace charvane::testing {

// A colour of a 24-bit bitmap row (blue, green, red bytes).
inline platform::Color BitmapPixel(toolkit::TBitmap& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return platform::RGB(p[2], p[1], p[0]);
}

} // namespace charvane::testing
