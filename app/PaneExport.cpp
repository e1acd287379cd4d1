#include "app/PaneExport.h"

#include "image/PictureFile.h"
#include "toolkit/Exceptions.h"

namespace app {
namespace {

std::vector<engine::LineColors> PaneColors(const TPaneExport& pane) {
    const std::vector<std::string>& lines = *pane.lines;
    std::vector<engine::LineColors> colors(lines.size());
    image::TDIB grey;
    std::vector<std::uint8_t> rgb;
    std::size_t y = 0;
    try {
        engine::ConvertPictureInColor(
            pane.conversion,
            [&](std::int32_t w, std::int32_t h) {
                image::DrawGreyCopy(*pane.picture, grey, w, h);
                rgb = image::DrawColorCopy(*pane.picture, w, h);
                const platform::PixelRows rows = grey.Image().Rows();
                return engine::TCellRasters{
                    engine::TGreyRasterView(rows.top, rows.width, rows.height, rows.step),
                    engine::TColorRasterView(rgb.data(), w, h, std::ptrdiff_t{w} * 3)};
            },
            [&](std::string line, engine::LineColors lineColors) {
                if (y < lines.size() && lines[y] == line)
                    colors[y] = std::move(lineColors);
                ++y;
            });
    } catch (const toolkit::Exception&) {
        // The pane's text without a picture that converts: its lines stay black.
    }
    return colors;
}

} // namespace

void SavePaneAs(const TSaveFileType& type, const TPaneExport& pane) {
    std::vector<engine::LineColors> colors;
    if (type.color)
        colors = PaneColors(pane);
    textexport::TExportRequest request;
    request.lines = pane.lines;
    request.colors = type.color ? &colors : nullptr;
    request.width = pane.conversion.width;
    request.charsPerLine = pane.charsPerLine;
    request.linesPerPage = pane.linesPerPage;
    request.font = pane.font;
    textexport::SaveExport(pane.fileName, type.format, request);
}

} // namespace app
