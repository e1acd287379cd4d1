#include "engine/AnsiText.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "engine/InkRuns.h"

namespace engine {
namespace {

constexpr std::array<int, 6> kCubeLevels = {0, 95, 135, 175, 215, 255};

int NearestCubeStep(int value) {
    int best = 0;
    for (int i = 1; i < 6; ++i)
        if (std::abs(kCubeLevels[i] - value) < std::abs(kCubeLevels[best] - value))
            best = i;
    return best;
}

int DistanceSquared(TRgb a, int r, int g, int b) {
    return (a.r - r) * (a.r - r) + (a.g - g) * (a.g - g) + (a.b - b) * (a.b - b);
}

void AppendColor(std::string& out, TRgb color, AnsiPalette palette) {
    if (palette == AnsiPalette::TrueColor)
        out += "\x1b[38;2;" + std::to_string(color.r) + ';' + std::to_string(color.g) + ';' +
               std::to_string(color.b) + 'm';
    else
        out += "\x1b[38;5;" + std::to_string(NearestAnsi256(color)) + 'm';
}

} // namespace

std::uint8_t NearestAnsi256(TRgb color) {
    const int r = NearestCubeStep(color.r), g = NearestCubeStep(color.g),
              b = NearestCubeStep(color.b);
    const int cube = DistanceSquared(color, kCubeLevels[r], kCubeLevels[g], kCubeLevels[b]);
    // Greys 232 ... 255 are 8, 18, ..., 238.
    const int average = (color.r + color.g + color.b) / 3;
    const int step = std::clamp((average - 8 + 5) / 10, 0, 23);
    const int level = 8 + 10 * step;
    const int grey = DistanceSquared(color, level, level, level);
    if (grey < cube)
        return static_cast<std::uint8_t>(232 + step);
    return static_cast<std::uint8_t>(16 + 36 * r + 6 * g + b);
}

std::string AnsiLine(const std::string& line, const LineColors& colors, AnsiPalette palette) {
    const std::vector<std::string> lines{line};
    const std::vector<LineColors> lineColors{colors};
    const TInkSource source{lines, &lineColors, false};
    TPageRow row;
    row.endByte = line.size();
    std::string out;
    out.reserve(line.size() * 4);
    bool colored = false;
    TRgb current;
    std::size_t at = 0; // characters written so far, to tell coloured ones from the rest
    ForEachInkRun(source, row, [&](TRgb ink, std::u32string_view text) {
        if (at < colors.size() && (!colored || ink != current)) {
            AppendColor(out, ink, palette);
            current = ink;
            colored = true;
        }
        for (const char32_t c : text)
            AppendUtf8(out, c);
        at += text.size();
    });
    if (colored)
        out += "\x1b[0m";
    return out;
}

} // namespace engine
