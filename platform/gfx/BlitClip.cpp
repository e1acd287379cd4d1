#include "platform/gfx/BlitClip.h"

#include <algorithm>

namespace platform {

namespace {

// The smallest d in [first, last) for which pred holds (pred false then true along the range),
// or last when it never holds.
template <typename Pred> std::int64_t FirstWhere(std::int64_t first, std::int64_t last, Pred pred) {
    while (first < last) {
        const std::int64_t mid = first + (last - first) / 2;
        if (pred(mid))
            last = mid;
        else
            first = mid + 1;
    }
    return first;
}

// Normalises one axis and finds the target pixels whose source pixel lies in 0 ... size - 1.
bool PlanAxis(std::int64_t dst, std::int64_t dstLen, std::int64_t src, std::int64_t srcLen,
              std::int64_t size, BlitAxis& axis, std::int64_t& lo, std::int64_t& hi) {
    if (dstLen == 0 || srcLen == 0 || size <= 0)
        return false;
    axis.dstStart = dstLen < 0 ? dst + dstLen : dst;
    axis.dstLength = dstLen < 0 ? -dstLen : dstLen;
    axis.srcStart = srcLen < 0 ? src + srcLen : src;
    axis.srcLength = srcLen < 0 ? -srcLen : srcLen;
    axis.mirror = (dstLen < 0) != (srcLen < 0);

    const std::int64_t first = axis.dstStart;
    const std::int64_t last = axis.dstStart + axis.dstLength;
    if (!axis.mirror) {
        lo = FirstWhere(first, last, [&](std::int64_t d) { return axis.SourceOf(d) >= 0; });
        hi = FirstWhere(first, last, [&](std::int64_t d) { return axis.SourceOf(d) >= size; });
    } else {
        lo = FirstWhere(first, last, [&](std::int64_t d) { return axis.SourceOf(d) < size; });
        hi = FirstWhere(first, last, [&](std::int64_t d) { return axis.SourceOf(d) < 0; });
    }
    return lo < hi;
}

} // namespace

std::optional<BlitPlan> PlanBlitAxes(const OriginSize& dst, const OriginSize& src, Size sourceSize,
                                     Rect& bounds) {
    BlitPlan plan;
    std::int64_t x0, x1, y0, y1;
    if (!PlanAxis(dst.x, dst.w, src.x, src.w, sourceSize.cx, plan.x, x0, x1) ||
        !PlanAxis(dst.y, dst.h, src.y, src.h, sourceSize.cy, plan.y, y0, y1))
        return std::nullopt;
    // Beyond 32 bits there is no drawable pixel to lose.
    auto clamp = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    bounds = {clamp(x0), clamp(y0), clamp(x1), clamp(y1)};
    if (bounds.IsEmpty())
        return std::nullopt;
    return plan;
}

std::optional<BlitPlan> PlanBlit(const OriginSize& dst, const OriginSize& src, Size sourceSize,
                                 const Region& drawable) {
    return PlanBlit(dst, src, sourceSize, [&](const Rect& bounds, std::vector<Rect>& targets) {
        for (const Rect& r : drawable.Rects())
            if (const Rect part = r.Intersect(bounds); !part.IsEmpty())
                targets.push_back(part);
    });
}

} // namespace platform
