#pragma once
// Page rows cut into runs of one ink colour, and the escaping the markup exports share.
//
// A blank has no ink of its own: it joins the run it stands in (or the run after it, at the
// start of a row), so a colour picture does not split into a span per space. Characters
// without a colour (mono, or beyond the line's colours after an edit) are black.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CellColors.h"
#include "engine/TextPages.h"

namespace engine {

// colors: one entry per pane line, or nullptr for mono; inked: whether a colour is darkened for
// a white page (InkOnWhite) or kept as the picture has it.
struct TInkSource {
    const std::vector<std::string>& lines;
    const std::vector<LineColors>* colors = nullptr;
    bool inkOnWhite = true;
};

using RunSink = std::function<void(TRgb ink, std::u32string_view text)>;

void ForEachInkRun(const TInkSource& source, const TPageRow& row, const RunSink& sink);

// Appends a code point as UTF-8 text fit for XML and HTML: "<", ">", "&" and quotes as
// entities, and control characters (which XML cannot hold) as U+FFFD.
void AppendMarkupChar(std::string& out, char32_t codePoint);
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace engine
