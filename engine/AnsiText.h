#pragma once
// A line of text art with colour escape sequences for a terminal: each run of one colour is
// preceded by its foreground colour, 24-bit ("ESC[38;2;R;G;Bm") or the nearest of the 256-colour
// palette ("ESC[38;5;Nm", from the 6 x 6 x 6 cube and the grey ramp), and a line that set a
// colour ends by resetting it ("ESC[0m"), so nothing leaks into the next line or the prompt.
// Blanks join the run they stand in. Characters without a colour are written as they are.

#include <cstdint>
#include <string>

#include "engine/CellColors.h"

namespace engine {

enum class AnsiPalette { TrueColor, Colors256 };

std::string AnsiLine(const std::string& line, const LineColors& colors, AnsiPalette palette);

// The index of the 256-colour palette nearest to a colour (16 ... 255).
std::uint8_t NearestAnsi256(TRgb color);

} // namespace engine
