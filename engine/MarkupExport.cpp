#include "engine/MarkupExport.h"

#include <algorithm>
#include <cstdio>

#include "toolkit/Exceptions.h"

namespace engine {
namespace {

constexpr const char* kMonospaceFamilies =
    "'Liberation Mono', 'DejaVu Sans Mono', 'Courier New', monospace";
constexpr TRgb kBlack{};

// Appends a run's characters, failing once the output passes its limit.
void AppendRunText(std::string& out, std::u32string_view text, std::size_t maxBytes) {
    for (const char32_t c : text)
        AppendMarkupChar(out, c);
    if (out.size() > maxBytes)
        throw toolkit::EOutOfMemory();
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

} // namespace

std::string BuildHtmlPages(const TInkSource& source, const std::vector<TPage>& pages,
                           int fontPoints, std::size_t maxBytes) {
    std::string out =
        "<!DOCTYPE html>\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n<meta charset=\"utf-8\"/>\n"
        "<title>Charvane</title>\n<style>\n"
        "body { margin: 0; background: #fff; color: #000; }\n"
        "pre { font-family: ";
    out += kMonospaceFamilies;
    out += "; font-size: " + std::to_string(std::max(fontPoints, 1)) +
           "pt; line-height: 1.15; margin: 1em; break-after: page; page-break-after: always; }\n"
           "pre:last-child { break-after: auto; page-break-after: auto; }\n"
           "@media screen { pre + pre { border-top: 1px dashed #999; padding-top: 1em; } }\n"
           "</style>\n</head>\n<body>\n";
    for (const TPage& page : pages) {
        // A newline right after <pre> is dropped by HTML parsers: this one, so that an empty
        // first row is not.
        out += "<pre>\n";
        for (std::size_t r = 0; r < page.size(); ++r) {
            if (r > 0)
                out += '\n';
            ForEachInkRun(source, page[r], [&](TRgb ink, std::u32string_view text) {
                const bool span = source.colors && ink != kBlack;
                if (span)
                    out += "<span style=\"color:" + HexColor(ink) + "\">";
                AppendRunText(out, text, maxBytes);
                if (span)
                    out += "</span>";
            });
        }
        out += "</pre>\n";
    }
    out += "</body>\n</html>\n";
    return out;
}

std::string BuildSvgPages(const TInkSource& source, const std::vector<TPage>& pages, int fontPixels,
                          std::size_t maxBytes) {
    const double size = std::max(fontPixels, 1);
    const double cellWidth = 0.6 * size;
    const double lineHeight = 1.2 * size;
    const double margin = size;
    std::size_t rows = 0;
    for (const TPage& page : pages)
        rows += page.size();
    const double pageGap = lineHeight; // between pages, with the dashed line in its middle
    const double width =
        2 * margin + cellWidth * static_cast<double>(std::max<std::size_t>(WidestRow(pages), 1));
    const double height = 2 * margin + lineHeight * static_cast<double>(rows) +
                          pageGap * static_cast<double>(pages.empty() ? 0 : pages.size() - 1);

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      Number(width) + "\" height=\"" + Number(height) + "\" viewBox=\"0 0 " +
                      Number(width) + " " + Number(height) +
                      "\">\n"
                      "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
                      "<g font-family=\"" +
                      std::string(kMonospaceFamilies) + "\" font-size=\"" + Number(size) +
                      "\" fill=\"#000000\" xml:space=\"preserve\">\n";
    // The baseline sits at the font's ascent, about 0.8 of its size below the cell's top.
    double top = margin;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) {
            const double y = top + pageGap / 2;
            out += "<line x1=\"0\" y1=\"" + Number(y) + "\" x2=\"" + Number(width) + "\" y2=\"" +
                   Number(y) + "\" stroke=\"#999999\" stroke-dasharray=\"4 4\"/>\n";
            top += pageGap;
        }
        for (const TPageRow& row : pages[p]) {
            out += "<text x=\"" + Number(margin) + "\" y=\"" +
                   Number(top + 0.8 * size + 0.1 * size) + "\">";
            ForEachInkRun(source, row, [&](TRgb ink, std::u32string_view text) {
                const bool span = source.colors && ink != kBlack;
                if (span)
                    out += "<tspan fill=\"" + HexColor(ink) + "\">";
                AppendRunText(out, text, maxBytes);
                if (span)
                    out += "</tspan>";
            });
            out += "</text>\n";
            top += lineHeight;
        }
    }
    out += "</g>\n</svg>\n";
    return out;
}

} // namespace engine
