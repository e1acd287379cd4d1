#pragma once
// The one place where a blit is clipped. Every transfer (BitBlt, StretchBlt, StretchDIBits)
// asks PlanBlit which target pixels to write and which source pixel each one samples; when it
// says nothing (nullopt) there is nothing to draw.
//
// Target coordinates are device pixels of the target section, source coordinates picture
// pixels of the source (row 0 at the top). Sizes may be negative (the rectangle extends left or
// up from its origin); the picture is mirrored on an axis where the two signs differ. All
// arithmetic is 64-bit, so no origin or size can overflow.

#include <concepts>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Region.h"

namespace platform {

// How one axis of the target maps onto the source.
struct BlitAxis {
    std::int64_t dstStart = 0; // first target pixel of the (normalised) target range
    std::int64_t dstLength = 0;
    std::int64_t srcStart = 0; // first source pixel of the (normalised) source range
    std::int64_t srcLength = 0;
    bool mirror = false;

    // The source pixel sampled for target pixel d: ((2i + 1) × srcLength) div (2 × dstLength)
    // from the start of the source range, i counting from the near (or, mirrored, far) end.
    std::int64_t SourceOf(std::int64_t d) const {
        std::int64_t i = d - dstStart;
        if (mirror)
            i = dstLength - 1 - i;
        return srcStart + ((2 * i + 1) * srcLength) / (2 * dstLength);
    }
};

// A rectangle as origin and size, the size possibly negative.
struct OriginSize {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t w = 0;
    std::int64_t h = 0;
};

struct BlitPlan {
    BlitAxis x;
    BlitAxis y;
    // Target rectangles to write, disjoint, each inside the drawable region and the target
    // range, and holding only pixels whose source pixel lies inside the source picture.
    std::vector<Rect> targets;
};

// The axes of a blit and the bounds (device pixels) of the target pixels whose source pixel lies
// inside the source picture, before any clipping; nullopt when there are none. The plan's
// targets are left empty.
std::optional<BlitPlan> PlanBlitAxes(const OriginSize& dst, const OriginSize& src, Size sourceSize,
                                     Rect& bounds);

// dst: origin and size of the target range in device pixels; src: origin and size in the source
// picture; sourceSize: the source picture; drawableIn(bounds, targets) appends to targets the
// drawable parts of bounds (the target section's bounds within the clip) as rectangles that do
// not overlap. nullopt when no pixel is to be written.
template <typename DrawableIn>
requires std::invocable < DrawableIn&, const Rect&, std::vector<Rect>
& > std::optional<BlitPlan> PlanBlit(const OriginSize& dst, const OriginSize& src, Size sourceSize,
                                     DrawableIn&& drawableIn) {
    Rect bounds;
    std::optional<BlitPlan> plan = PlanBlitAxes(dst, src, sourceSize, bounds);
    if (!plan)
        return std::nullopt;
    drawableIn(bounds, plan->targets);
    if (plan->targets.empty())
        return std::nullopt;
    return plan;
}

// The same with the drawable area given as a region.
std::optional<BlitPlan> PlanBlit(const OriginSize& dst, const OriginSize& src, Size sourceSize,
                                 const Region& drawable);

} // namespace platform
