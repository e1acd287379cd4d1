#include "platform/backend/HostScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

namespace {

// Rounds towards minus infinity, so device pixels left of or above 0 map to negative logical
// ones instead of all landing on 0.
int FloorDiv(int value, int by) {
    const int q = value / by;
    return (value % by != 0 && value < 0) ? q - 1 : q;
}

int CeilDiv(int value, int by) {
    return -FloorDiv(-value, by);
}

// A whole factor from 1 to kMaxFactor, or 0 for text that is none.
int ParseFactor(const char* text) {
    if (!text || !*text)
        return 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (*end != '\0' || v < 1 || v > HostScale::kMaxFactor)
        return 0;
    return static_cast<int>(v);
}

} // namespace

HostScale::HostScale(int factor) : m_factor(std::clamp(factor, 1, kMaxFactor)) {}

Point HostScale::ToDevice(Point p) const {
    return {p.x * m_factor, p.y * m_factor};
}

Rect HostScale::ToDevice(const Rect& r) const {
    return {r.left * m_factor, r.top * m_factor, r.right * m_factor, r.bottom * m_factor};
}

std::vector<Rect> HostScale::ToDevice(const std::vector<Rect>& rects) const {
    std::vector<Rect> out;
    out.reserve(rects.size());
    for (const Rect& r : rects)
        out.push_back(ToDevice(r));
    return out;
}

Point HostScale::ToLogical(Point p) const {
    return {FloorDiv(p.x, m_factor), FloorDiv(p.y, m_factor)};
}

Point HostScale::SizeToLogical(int deviceWidth, int deviceHeight) const {
    return {CeilDiv(deviceWidth, m_factor), CeilDiv(deviceHeight, m_factor)};
}

Rect HostScale::InsideToLogical(const Rect& r) const {
    return {CeilDiv(r.left, m_factor), CeilDiv(r.top, m_factor), FloorDiv(r.right, m_factor),
            FloorDiv(r.bottom, m_factor)};
}

int ChooseScaleFactor(const char* charvaneScale, const char* gdkScale,
                      std::optional<double> resourceDpi) {
    if (const int f = ParseFactor(charvaneScale))
        return f;
    if (const int f = ParseFactor(gdkScale))
        return f;
    if (resourceDpi && std::isfinite(*resourceDpi) && *resourceDpi > 0)
        return std::clamp(static_cast<int>(std::lround(*resourceDpi / 96.0)), 1,
                          HostScale::kMaxFactor);
    return 1;
}

} // namespace platform
