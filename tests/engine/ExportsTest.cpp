// The colour of each cell, the pages the exports lay out, and the web page, SVG and terminal
// texts built from them, each read back by a strict XML parser where it is markup.

#include <gtest/gtest.h>

#include <expat.h>

#include <map>
#include <string>
#include <vector>

#include "engine/AnsiText.h"
#include "engine/MarkupExport.h"
#include "engine/PagedExport.h"
#include "engine/TextPages.h"
#include "engine/TextScan.h"
#include "toolkit/Exceptions.h"

using engine::TRgb;

namespace {

// An element of a parsed document with its attributes and the text inside it (its
// descendants' text included).
struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
};

// Parses a whole document strictly; fails the test on a parse error.
std::vector<Element> ParseXml(const std::string& document) {
    struct State {
        std::vector<Element> elements;
        std::vector<std::size_t> open;
    } state;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            auto& s = *static_cast<State*>(data);
            Element element{name, {}, {}};
            for (int i = 0; attributes[i]; i += 2)
                element.attributes[attributes[i]] = attributes[i + 1];
            s.open.push_back(s.elements.size());
            s.elements.push_back(std::move(element));
        },
        [](void* data, const XML_Char*) { static_cast<State*>(data)->open.pop_back(); });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
        auto& s = *static_cast<State*>(data);
        for (const std::size_t index : s.open)
            s.elements[index].text.append(text, static_cast<std::size_t>(length));
    });
    const bool ok =
        XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) == XML_STATUS_OK;
    EXPECT_TRUE(ok) << XML_ErrorString(XML_GetErrorCode(parser)) << " at line "
                    << XML_GetCurrentLineNumber(parser);
    XML_ParserFree(parser);
    return state.elements;
}

std::vector<Element> Named(const std::vector<Element>& elements, const std::string& name) {
    std::vector<Element> found;
    for (const Element& element : elements)
        if (element.name == name)
            found.push_back(element);
    return found;
}

// The rows of the paged text file: its lines without the separators.
std::vector<std::string> PagedRows(const std::string& file, std::size_t& separators) {
    std::vector<std::string> rows;
    separators = 0;
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = file.find("\r\n", at);
        const std::string line = file.substr(at, end - at);
        if (!line.empty() && line[0] == engine::kPageSeparator)
            ++separators;
        else
            rows.push_back(line);
        at = end + 2;
    }
    return rows;
}

std::vector<std::string> PageRows(const std::vector<std::string>& lines,
                                  const std::vector<engine::TPage>& pages) {
    std::vector<std::string> rows;
    for (const engine::TPage& page : pages)
        for (const engine::TPageRow& row : page)
            rows.push_back(lines[row.line].substr(row.firstByte, row.endByte - row.firstByte));
    return rows;
}

constexpr TRgb kRed{200, 0, 0};
constexpr TRgb kBlue{0, 0, 160};
constexpr TRgb kYellow{255, 255, 0};

} // namespace

TEST(CellColors, EachCharacterTakesTheColourOfItsSymbolsPixel) {
    // Symbols of two characters, of none and of a two-byte character.
    toolkit::TGridCells table(2, 4);
    table.SetCell(0, 1, "##");
    table.SetCell(1, 1, "50");
    table.SetCell(0, 2, "");
    table.SetCell(1, 2, "150");
    table.SetCell(0, 3, "\xD0\x96"); // Cyrillic Zhe
    table.SetCell(1, 3, "255");
    const std::vector<std::uint8_t> grey = {10, 100, 200, 200, 10, 100};
    const std::vector<std::uint8_t> rgb = {200, 0,   0, 1, 1, 1,   0, 0, 160,
                                           255, 255, 0, 0, 0, 160, 2, 2, 2};
    const engine::TGreyRasterView greyView(grey.data(), 3, 2, 3);
    std::vector<std::string> lines, plain;
    std::vector<engine::LineColors> colors;
    engine::ScanToColoredText(greyView, engine::TColorRasterView(rgb.data(), 3, 2, 9), table, 3,
                              [&](std::string line, engine::LineColors lineColors) {
                                  lines.push_back(line);
                                  colors.push_back(lineColors);
                              });
    engine::ScanToText(greyView, table, 3, [&](std::string line) { plain.push_back(line); });
    EXPECT_EQ(lines, plain);
    ASSERT_EQ(lines, (std::vector<std::string>{"##\xD0\x96", "\xD0\x96##"}));
    EXPECT_EQ(colors[0], (engine::LineColors{kRed, kRed, kBlue}));
    EXPECT_EQ(colors[1], (engine::LineColors{kYellow, kBlue, kBlue}));
}

TEST(TextPages, AreThePagedTextsRowsAndPages) {
    // The worked example of the paged text, wide lines cut by a stride of cpl - 1, and text
    // with multi-byte and malformed characters.
    struct Case {
        std::vector<std::string> lines;
        std::int32_t width, cpl, lpp;
    };
    const std::vector<Case> cases = {
        {{"abcdef", "ghijkl", "mnopqr"}, 6, 4, 2},
        {{std::string(108, 'x'), "short", ""}, 108, 55, 42},
        {{"\xD0\x96\xD0\x96"
          "ab\x80\x80z\xC3",
          "\xE2\x82", "q"},
         9,
         3,
         1},
        {{"abc", "de"}, 3, 2, -2},
    };
    for (const Case& c : cases) {
        std::size_t separators = 0;
        const auto expected =
            PagedRows(engine::BuildPagedText(c.lines, c.width, c.cpl, c.lpp), separators);
        const auto pages = engine::LayOutPages(c.lines, c.width, c.cpl, c.lpp);
        EXPECT_EQ(PageRows(c.lines, pages), expected) << c.lines[0];
        EXPECT_EQ(pages.size(), separators) << c.lines[0];
    }
    EXPECT_THROW(engine::LayOutPages({"a"}, 80, 1, 42), toolkit::EDivByZero);
    EXPECT_THROW(engine::LayOutPages({"a"}, 80, 55, 0), toolkit::EDivByZero);
    EXPECT_THROW(engine::LayOutPages({"a"}, 0x7FFFFFFF, 2, 42), toolkit::EOutOfMemory);
    EXPECT_TRUE(engine::LayOutPages({}, 80, 55, 0).empty());
}

TEST(HtmlExport, IsOneStrictDocumentWithAPreBlockPerPage) {
    const std::vector<std::string> lines = {"<a&b>  c", "\x01\xFF ok", ""};
    const std::vector<engine::LineColors> colors = {
        {kRed, kRed, kRed, kBlue, kBlue, kYellow, kYellow, kYellow}, {}, {}};
    const auto pages = engine::LayOutPages(lines, 8, 20, 2);
    for (const bool color : {false, true}) {
        const engine::TInkSource source{lines, color ? &colors : nullptr, true};
        const std::string html = engine::BuildHtmlPages(source, pages, 10);
        EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\n"));
        const auto elements = ParseXml(html.substr(html.find('\n') + 1));
        const auto pre = Named(elements, "pre");
        ASSERT_EQ(pre.size(), 2u);
        EXPECT_EQ(pre[0].text, "\n<a&b>  c\n\xEF\xBF\xBD\xEF\xBF\xBD ok");
        EXPECT_EQ(pre[1].text, "\n");
        const auto spans = Named(elements, "span");
        if (!color) {
            EXPECT_TRUE(spans.empty());
            continue;
        }
        // Runs of one ink: the blanks join the blue run whatever their own colour; the yellow
        // is darkened for the page.
        ASSERT_EQ(spans.size(), 3u);
        EXPECT_EQ(spans[0].text, "<a&");
        EXPECT_EQ(spans[0].attributes.at("style"), "color:#c80000");
        EXPECT_EQ(spans[1].text, "b>  ");
        EXPECT_EQ(spans[2].attributes.at("style"),
                  "color:" + engine::HexColor(engine::InkOnWhite(kYellow)));
    }
}

TEST(InkOnWhite, DarkensOnlyColoursTooLightToRead) {
    EXPECT_EQ(engine::InkOnWhite(kRed), kRed);
    EXPECT_EQ(engine::InkOnWhite({0, 0, 0}), (TRgb{0, 0, 0}));
    const TRgb white = engine::InkOnWhite({255, 255, 255});
    EXPECT_EQ(white, (TRgb{150, 150, 150}));
    const TRgb yellow = engine::InkOnWhite(kYellow);
    EXPECT_EQ(yellow.r, yellow.g); // the hue stays
    EXPECT_EQ(yellow.b, 0);
    EXPECT_LE(299 * yellow.r + 587 * yellow.g + 114 * yellow.b, engine::kMaxInkLuma * 1000);
}

TEST(SvgExport, IsStrictXmlWithATextRowPerPageRow) {
    const std::vector<std::string> lines = {"ab&", "c d"};
    const std::vector<engine::LineColors> colors = {{kRed, kRed, kBlue}, {kBlue, kBlue, kBlue}};
    const auto pages = engine::LayOutPages(lines, 3, 5, 1);
    const engine::TInkSource source{lines, &colors, true};
    const auto elements = ParseXml(engine::BuildSvgPages(source, pages, 13));
    const auto svg = Named(elements, "svg");
    ASSERT_EQ(svg.size(), 1u);
    const auto texts = Named(elements, "text");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "ab&");
    EXPECT_EQ(texts[1].text, "c d");
    EXPECT_LT(std::stod(texts[0].attributes.at("y")), std::stod(texts[1].attributes.at("y")));
    EXPECT_EQ(Named(elements, "line").size(), 1u); // between the two pages
    const auto tspans = Named(elements, "tspan");
    ASSERT_EQ(tspans.size(), 3u);
    EXPECT_EQ(tspans[0].attributes.at("fill"), "#c80000");
    EXPECT_EQ(tspans[2].text, "c d");
    EXPECT_EQ(tspans[2].attributes.at("fill"), "#0000a0");
}

TEST(AnsiText, ColoursEachRunAndResetsAtTheEnd) {
    EXPECT_EQ(engine::AnsiLine("ab c", {kRed, kRed, kRed, kBlue}, engine::AnsiPalette::TrueColor),
              "\x1b[38;2;200;0;0mab \x1b[38;2;0;0;160mc\x1b[0m");
    EXPECT_EQ(engine::AnsiLine("xy", {kYellow, kYellow}, engine::AnsiPalette::Colors256),
              "\x1b[38;5;226mxy\x1b[0m");
    EXPECT_EQ(engine::AnsiLine("", {}, engine::AnsiPalette::TrueColor), "");
    EXPECT_EQ(engine::NearestAnsi256({255, 0, 0}), 196);
    EXPECT_EQ(engine::NearestAnsi256({128, 128, 128}), 244);
    EXPECT_EQ(engine::NearestAnsi256({0, 0, 0}), 16);
}
