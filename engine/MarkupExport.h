#pragma once
// The text art as a web page and as an SVG picture, laid out in the pages of the paged text
// (engine/TextPages.h). Both are UTF-8 text that a strict XML parser accepts; malformed bytes
// of the pane's text show as U+FFFD, control characters too.
//
// Web page: one self-contained file, each page a <pre> block in a monospaced font of
// fontPoints points, black on white; a printed page follows each block. In colour, each run of
// one ink colour is one <span> (black runs need none).
//
// SVG: the pages one below another, separated by a dashed line, on a white ground; each page row
// is one <text> element in a monospaced family of fontPixels pixels, with a <tspan> per ink run
// in colour. A character cell is 0.6 of the font size wide (the advance of the monospaced faces
// named) and 1.2 high.
//
// Output beyond maxBytes raises EOutOfMemory.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/InkRuns.h"
#include "engine/PagedExport.h"
#include "engine/TextPages.h"

namespace engine {

std::string BuildHtmlPages(const TInkSource& source, const std::vector<TPage>& pages,
                           int fontPoints, std::size_t maxBytes = kMaxExportBytes);

std::string BuildSvgPages(const TInkSource& source, const std::vector<TPage>& pages, int fontPixels,
                          std::size_t maxBytes = kMaxExportBytes);

} // namespace engine
