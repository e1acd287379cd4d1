#include "skin/SkinColors.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace skin {
namespace {

using platform::Color;
using platform::RGB;

// The classic system scheme by colour index.
// TODO: ask the platform layer for the system colours once it offers them.
constexpr std::array<Color, 31> kSystemColors = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
    RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240),
    RGB(192, 192, 192), RGB(49, 106, 197),  RGB(236, 233, 216)};

std::uint8_t Channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

} // namespace

Color ColorToRGB(std::int32_t color) {
    if (color >= 0)
        return static_cast<Color>(color);
    const auto index = static_cast<std::size_t>(color & 0xFF);
    return index < kSystemColors.size() ? kSystemColors[index] : 0;
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
