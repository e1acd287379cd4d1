#pragma once
// Colour arithmetic of skins, on colours in the system layout (red in the low byte).
// Rounding is to the nearest integer with halves to even; channels are limited to 0 … 255.

#include <cstdint>

#include "platform/gfx/Geometry.h"

namespace skin {

constexpr platform::Color kMagenta = 0xFF00FF;  // transparent key, "no colour"
constexpr platform::Color kClNone = 0x1FFFFFFF; // the toolkit's "none" colour

// A system colour constant (high bit set, index in the low byte) becomes its RGB value; any
// other value passes unchanged.
platform::Color ColorToRGB(std::int32_t color);

// The hue rotated by offset degrees; colours without saturation are returned unchanged.
// The result has no high byte.
platform::Color ChangeHue(platform::Color color, std::int32_t offset);

// Moves the channels toward their grey (saturation < 0) or away from it (> 0) by
// k = (-saturation) rem 101 percent.
platform::Color ChangeSaturation(platform::Color color, std::int32_t saturation);

// System colours used where a skin gives none.
constexpr std::int32_t kClBtnFace = static_cast<std::int32_t>(0x8000000F);
constexpr std::int32_t kClWindow = static_cast<std::int32_t>(0x80000005);

} // namespace skin
