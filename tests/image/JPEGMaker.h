#pragma once
// Test pictures made at test time with the JPEG library's compression half (the program itself
// never compresses). Colours come from a function of the pixel position, y = 0 at the top.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gfx/Geometry.h"

namespace testjpeg {

enum class Kind { Color, Gray, CMYK, YCCK, TwoComponents };

struct Recipe {
    Kind kind = Kind::Color;
    bool progressive = false;
    int quality = 90;
    // Colour pictures: sampling factors of the first component (the others are 1 x 1): 2 x 2 is
    // 4:2:0, 1 x 1 4:4:4, 2 x 1 4:2:2, 1 x 2 4:4:0, 4 x 1 4:1:1.
    int samplingH = 2;
    int samplingV = 2;
    int restartInterval = 0; // MCUs between restart markers; 0 for none
};

using PixelFunction = std::function<platform::Color(int x, int y)>;

std::vector<std::uint8_t> MakeJPEG(int width, int height, const PixelFunction& pixel,
                                   const Recipe& recipe = {});

// A soft diagonal gradient: red grows to the right, blue downwards, green with both.
platform::Color Gradient(int x, int y, int width, int height);

// Top half red, bottom half blue; an even height of whole blocks splits on a block boundary.
platform::Color RedOverBlue(int x, int y, int height);

// The offset of the first marker 0xFF code at or after from, or -1.
long FindMarker(const std::vector<std::uint8_t>& data, std::uint8_t code, std::size_t from = 0);

// Per-channel distance between two colours: the largest of the three differences.
int ColorDistance(platform::Color a, platform::Color b);

} // namespace testjpeg
