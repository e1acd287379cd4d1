#pragma once
// The text art saved in one of the formats people share it in, laid out in the pages of the
// paged text (characters per line, lines per page): the paged text itself, a web page, a PNG
// picture or an SVG picture, each mono (black on white) or in the picture's colours.
//
// The paged text is engine::BuildPagedText's, byte for byte. Files are written as every save
// is: complete under a temporary name, then renamed over the target, so a failed export (a
// refused size, no font, a full disk) leaves an existing file as it was. Failures raise the
// toolkit's exceptions, the paged text's own first ("Division by zero" for cpl = 1 or lpp = 0).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/CellColors.h"
#include "platform/gfx/text/Font.h"

namespace textexport {

enum class ExportFormat { Text, Html, Png, Svg };

struct TExportRequest {
    const std::vector<std::string>* lines = nullptr;
    // One entry per line for colour, nullptr for black on white. A line's colours count for
    // its characters in order; characters beyond them are black.
    const std::vector<engine::LineColors>* colors = nullptr;
    std::int32_t width = 80; // W, which decides the number of strips
    std::int32_t charsPerLine = 55;
    std::int32_t linesPerPage = 42;
    // The text pane's font: the PNG draws with it, the web page and the SVG ask for its size.
    platform::LOGFONT font = PaneFont();

    // "Courier New", bold, 10 points: the text pane's font at start-up.
    static platform::LOGFONT PaneFont();
};

// The file's bytes.
std::string BuildExport(ExportFormat format, const TExportRequest& request);
void SaveExport(const std::string& fileName, ExportFormat format, const TExportRequest& request);

// The format a file name's extension asks for: ".html" and ".htm", ".png", ".svg" (any letter
// case); nothing for any other name.
std::optional<ExportFormat> FormatOfFileName(const std::string& fileName);
// The extension a format adds to a name that has none ("" for the paged text, which adds none).
std::string ExtensionOf(ExportFormat format);

} // namespace textexport
