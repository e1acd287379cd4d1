#pragma once
// Internal to platform/gfx: where a logical range of a context lies in device pixels, in 64 bits
// so that no origin can overflow it. Shared by the context's state, blits and fills.

#include <cstdint>

#include "platform/gfx/BlitClip.h"
#include "platform/gfx/DeviceContext.h"

namespace platform::detail {

inline OriginSize DeviceRange(const DeviceContext& dc, std::int32_t x, std::int32_t y,
                              std::int32_t w, std::int32_t h) {
    const auto& s = dc.GetState();
    return {std::int64_t{x} - s.windowOrg.x + s.viewportOrg.x,
            std::int64_t{y} - s.windowOrg.y + s.viewportOrg.y, w, h};
}

} // namespace platform::detail
