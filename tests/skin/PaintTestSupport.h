#pragma once
// Helpers for the painting tests: filled 24-bit bitmaps and pixel reads.

#include <cstdint>
#include <memory>

#include "platform/gfx/Geometry.h"
#include "skin/SkinPictures.h"
#include "skin/acFast24.h"
#include "skin/sGraphUtils.h"
#include "toolkit/TBitmap.h"

namespace painttest {

inline std::unique_ptr<toolkit::TBitmap> Filled(int width, int height, platform::Color color) {
    auto bitmap = skin::NewBitmap24(width, height);
    skin::FillRect24(*bitmap, {0, 0, width, height}, color);
    return bitmap;
}

inline platform::Color At(toolkit::TBitmap& bitmap, int x, int y) {
    return skin::TacRows24(bitmap).PixelAt(x, y);
}

inline void Put(toolkit::TBitmap& bitmap, int x, int y, platform::Color color) {
    skin::FillRect24(bitmap, {x, y, x + 1, y + 1}, color);
}

// Largest channel difference of two colours.
inline int Distance(platform::Color a, platform::Color b) {
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        d = std::max(d, ca > cb ? ca - cb : cb - ca);
    }
    return d;
}

} // namespace painttest
