#pragma once
// The text art drawn as a picture: the pages of the paged text one below another on a white
// ground, separated by a dashed grey line, every character in a cell of the font's advance of
// "M" by its line height, so columns stay aligned whatever the glyphs. Glyphs are the font's own
// (platform/gfx/text), blended into the page in their ink (engine/InkRuns.h).
//
// A picture beyond platform::kMaxPicturePixels raises EOutOfMemory before its pixels are taken.

#include <cstdint>
#include <vector>

#include "engine/InkRuns.h"
#include "engine/TextPages.h"
#include "platform/gfx/text/Font.h"

namespace textexport {

// 8-bit red, green, blue, rows top first, width * 3 bytes each.
struct TRgbPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

TRgbPicture DrawTextArt(const engine::TInkSource& source, const std::vector<engine::TPage>& pages,
                        const platform::Font& font);

} // namespace textexport
