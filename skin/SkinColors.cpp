#include "skin/SkinColors.h"

#include <algorithm>
#include <cmath>

#include "platform/win/SystemMetrics.h"

namespace skin {
namespace {

using platform::Color;
using platform::RGB;

std::uint8_t Channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

} // namespace

Color ColorToRGB(std::int32_t color) {
    if (color >= 0)
        return static_cast<Color>(color);
    return platform::GetSysColor(color & 0xFF);
}

Color ChangeHue(Color color, std::int32_t offset) {
    const double r = platform::GetRValue(color);
    const double g = platform::GetGValue(color);
    const double b = platform::GetBValue(color);
    const double v = std::max({r, g, b});
    const double delta = v - std::min({r, g, b});
    const double s = v == 0 ? 0 : delta / v;
    if (s == 0)
        return color;
    double h = r == v   ? 60 * (g - b) / delta
               : g == v ? 120 + 60 * (b - r) / delta
                        : 240 + 60 * (r - g) / delta;
    if (h < 0)
        h += 360;
    // Bring the rotated hue into 0 … 359 without overflowing for any offset.
    const double rotated = std::nearbyint(h + std::fmod(static_cast<double>(offset), 360.0));
    const double hue = std::fmod(std::fmod(rotated, 360.0) + 360.0, 360.0);

    const int sector = static_cast<int>(std::floor(hue / 60));
    const double f = hue / 60 - sector;
    const double p = std::clamp(v * (1 - s), 0.0, 255.0);
    const double q = std::clamp(v * (1 - f * s), 0.0, 255.0);
    const double t = std::clamp(v * (1 - (1 - f) * s), 0.0, 255.0);
    double nr = v, ng = p, nb = q; // sector 5
    switch (sector) {
    case 0:
        nr = v, ng = t, nb = p;
        break;
    case 1:
        nr = q, ng = v, nb = p;
        break;
    case 2:
        nr = p, ng = v, nb = t;
        break;
    case 3:
        nr = p, ng = q, nb = v;
        break;
    case 4:
        nr = t, ng = p, nb = v;
        break;
    default:
        break;
    }
    return RGB(Channel(nr), Channel(ng), Channel(nb));
}

Color ChangeSaturation(Color color, std::int32_t saturation) {
    const std::int64_t k = (-std::int64_t{saturation}) % 101;
    const double r = platform::GetRValue(color);
    const double g = platform::GetGValue(color);
    const double b = platform::GetBValue(color);
    const double grey = (r + g + b) / 3;
    const auto move = [&](double x) {
        return Channel(x + static_cast<double>(k) * (grey - x) / 100);
    };
    return RGB(move(r), move(g), move(b));
}

} // namespace skin
