#include "engine/CellColors.h"

namespace engine {

TRgb InkOnWhite(TRgb color) {
    // Integer luma (ITU-R 601 weights) in thousandths.
    const int luma = 299 * color.r + 587 * color.g + 114 * color.b;
    if (luma <= kMaxInkLuma * 1000)
        return color;
    auto scale = [luma](std::uint8_t channel) {
        return static_cast<std::uint8_t>(channel * kMaxInkLuma * 1000 / luma);
    };
    return {scale(color.r), scale(color.g), scale(color.b)};
}

std::string HexColor(TRgb color) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t channel : {color.r, color.g, color.b}) {
        text += kDigits[channel >> 4];
        text += kDigits[channel & 15];
    }
    return text;
}

} // namespace engine
