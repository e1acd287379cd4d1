#pragma once
// The save button's export in a file type other than the paged text (app/SaveFileTypes.h).
//
// Colours come from converting the picture again, in colour, with the window's current settings
// (nothing is computed for colour until a colour export asks). They are given to the pane's
// lines that this conversion reproduces exactly; a line the user has edited, or a pane whose
// settings or picture have changed since, is saved in black, and so is everything when there is
// no picture to convert.

#include <cstdint>
#include <string>
#include <vector>

#include "app/SaveFileTypes.h"
#include "engine/PictureConversion.h"
#include "image/TDIB.h"
#include "platform/gfx/text/Font.h"

namespace app {

struct TPaneExport {
    std::string fileName;
    const std::vector<std::string>* lines = nullptr; // the pane's
    std::int32_t charsPerLine = 55;
    std::int32_t linesPerPage = 42;
    platform::LOGFONT font;
    // The conversion as the convert button would run it now; width is also W of the pages.
    engine::TConversionRequest conversion;
    image::TDIB* picture = nullptr;
};

void SavePaneAs(const TSaveFileType& type, const TPaneExport& pane);

} // namespace app
