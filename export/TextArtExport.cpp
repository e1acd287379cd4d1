#include "export/TextArtExport.h"

#include <algorithm>
#include <cctype>

#include "engine/MarkupExport.h"
#include "engine/PagedExport.h"
#include "engine/TextPages.h"
#include "export/TextArtPicture.h"
#include "image/png/PNGEncoder.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Streams.h"

namespace textexport {
namespace {

constexpr int kPixelsPerInch = 96;

// The em size in pixels a font request stands for (a positive height is the cell's, which is a
// little more than the em: near enough for sizing markup).
int EmPixels(const platform::LOGFONT& font) {
    if (font.lfHeight == 0)
        return 11;
    return std::max(std::abs(font.lfHeight), 1);
}

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string DrawPng(const engine::TInkSource& source, const std::vector<engine::TPage>& pages,
                    const platform::LOGFONT& logical) {
    const std::shared_ptr<platform::Font> font = platform::CreateFontIndirect(logical);
    if (!font)
        throw toolkit::EInvalidOperation("No font to draw the text with");
    const TRgbPicture picture = DrawTextArt(source, pages, *font);
    const std::vector<std::uint8_t> bytes =
        image::EncodePNG(picture.width, picture.height, picture.pixels);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

platform::LOGFONT TExportRequest::PaneFont() {
    platform::LOGFONT font;
    font.lfFaceName = "Courier New";
    font.lfHeight = -13;
    font.lfWeight = platform::FW_BOLD;
    return font;
}

std::string BuildExport(ExportFormat format, const TExportRequest& request) {
    const std::vector<std::string>& lines = *request.lines;
    if (format == ExportFormat::Text)
        return engine::BuildPagedText(lines, request.width, request.charsPerLine,
                                      request.linesPerPage);
    const std::vector<engine::TPage> pages =
        engine::LayOutPages(lines, request.width, request.charsPerLine, request.linesPerPage);
    const engine::TInkSource source{lines, request.colors, true};
    const int em = EmPixels(request.font);
    switch (format) {
    case ExportFormat::Html:
        return engine::BuildHtmlPages(source, pages,
                                      std::max(1, (em * 72 + kPixelsPerInch / 2) / kPixelsPerInch));
    case ExportFormat::Svg:
        return engine::BuildSvgPages(source, pages, em);
    case ExportFormat::Png:
        return DrawPng(source, pages, request.font);
    case ExportFormat::Text:
        break;
    }
    return {};
}

void SaveExport(const std::string& fileName, ExportFormat format, const TExportRequest& request) {
    const std::string bytes = BuildExport(format, request);
    toolkit::TFileStream file(fileName, toolkit::FileMode::Create);
    file.WriteBuffer(bytes.data(), bytes.size());
    file.Commit();
}

std::optional<ExportFormat> FormatOfFileName(const std::string& fileName) {
    const std::string name = LowerCase(fileName);
    if (name.ends_with(".html") || name.ends_with(".htm"))
        return ExportFormat::Html;
    if (name.ends_with(".png"))
        return ExportFormat::Png;
    if (name.ends_with(".svg"))
        return ExportFormat::Svg;
    return std::nullopt;
}

std::string ExtensionOf(ExportFormat format) {
    switch (format) {
    case ExportFormat::Html:
        return ".html";
    case ExportFormat::Png:
        return ".png";
    case ExportFormat::Svg:
        return ".svg";
    case ExportFormat::Text:
        break;
    }
    return {};
}

} // namespace textexport
