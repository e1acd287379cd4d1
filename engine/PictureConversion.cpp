#include "engine/PictureConversion.h"

namespace engine {

void ConvertPicture(const TConversionRequest& request, const GreyDrawer& drawGrey,
                    const std::function<void()>& repaintPreview, const LineSink& sink) {
    const std::int32_t height = ConversionHeight(request.width, request.sourceWidth,
                                                 request.sourceHeight, request.ratioIndex);
    const TGreyRasterView grey = drawGrey(request.width, height);
    if (repaintPreview)
        repaintPreview();
    ScanToText(grey, *request.table, request.boundCount, sink);
}

void ConvertPictureInColor(const TConversionRequest& request, const CellDrawer& drawCells,
                           const ColoredLineSink& sink) {
    const std::int32_t height = ConversionHeight(request.width, request.sourceWidth,
                                                 request.sourceHeight, request.ratioIndex);
    const TCellRasters cells = drawCells(request.width, height);
    ScanToColoredText(cells.grey, cells.colors, *request.table, request.boundCount, sink);
}

} // namespace engine
