#pragma once
// The convert button's steps after the text pane has been cleared, shared by the main window
// and the command-line tool: work out the grey copy's size from the picture and the chosen
// width and ratio, have the caller draw the picture into a grey copy of that size, let the
// caller repaint its preview, and scan the copy into lines.
//
// The picture side stays with the caller, since drawing pictures is not this layer's business:
// drawGrey(W, H) must draw the picture stretched into a W x H grey copy it keeps alive until
// ConvertPicture returns, and return a view of it; for W or H of 0 or less it must fail as
// drawing into an empty picture does ("Canvas does not allow drawing").
//
// Failures propagate as the window reports them: no picture (source width 0) -> "Division by
// zero" before anything is drawn; a failed drawing -> its error, the preview not repainted; a
// bound that does not parse -> "'%s' is not a valid integer value" with the lines of the rows
// finished before it already delivered to the sink.

#include <cstdint>
#include <functional>

#include "engine/TextScan.h"
#include "toolkit/TGridCells.h"

namespace engine {

struct TConversionRequest {
    std::int32_t sourceWidth = 0;
    std::int32_t sourceHeight = 0;
    std::int32_t width = 80;           // W, symbols per line
    int ratioIndex = kRatioTwoToThree; // item index of the height-to-width list
    const toolkit::TGridCells* table = nullptr;
    std::int32_t boundCount = 0; // N
};

using GreyDrawer = std::function<TGreyRasterView(std::int32_t width, std::int32_t height)>;

void ConvertPicture(const TConversionRequest& request, const GreyDrawer& drawGrey,
                    const std::function<void()>& repaintPreview, const LineSink& sink);

// The same conversion with the colour of every character: drawCells(W, H) draws both the grey
// copy and, from the same sampled pixels, their colours before greying, and fails as drawGrey.
struct TCellRasters {
    TGreyRasterView grey;
    TColorRasterView colors;
};
using CellDrawer = std::function<TCellRasters(std::int32_t width, std::int32_t height)>;

void ConvertPictureInColor(const TConversionRequest& request, const CellDrawer& drawCells,
                           const ColoredLineSink& sink);

} // namespace engine
