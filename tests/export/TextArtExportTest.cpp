// The PNG export read back through the PNG library, and a failed export losing nothing.

#include <gtest/gtest.h>

#include <png.h>

#include <filesystem>

#include "export/TextArtExport.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Exceptions.h"

using textexport::ExportFormat;

namespace {

struct Decoded {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool grey = false; // as stored in the file
    std::vector<std::uint8_t> rgb;

    engine::TRgb At(int x, int y) const {
        const std::uint8_t* p = rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
        return {p[0], p[1], p[2]};
    }
};

Decoded DecodePng(const std::string& bytes) {
    png_image picture{};
    picture.version = PNG_IMAGE_VERSION;
    Decoded decoded;
    if (!png_image_begin_read_from_memory(&picture, bytes.data(), bytes.size())) {
        ADD_FAILURE() << picture.message;
        return decoded;
    }
    decoded.grey = (picture.format & PNG_FORMAT_FLAG_COLOR) == 0;
    picture.format = PNG_FORMAT_RGB;
    decoded.width = picture.width;
    decoded.height = picture.height;
    decoded.rgb.resize(PNG_IMAGE_SIZE(picture));
    EXPECT_TRUE(png_image_finish_read(&picture, nullptr, decoded.rgb.data(), 0, nullptr))
        << picture.message;
    return decoded;
}

} // namespace

TEST(PngExport, DrawsThePanesGlyphsInTheirInk) {
    // One "#" per row on a page of its own, in a colour and then in black.
    const std::vector<std::string> lines = {"#", "#"};
    const std::vector<engine::LineColors> colors = {{{200, 0, 0}}, {{0, 0, 0}}};
    textexport::TExportRequest request;
    request.lines = &lines;
    request.colors = &colors;
    request.width = 1;
    request.linesPerPage = 1;
    const Decoded png = DecodePng(textexport::BuildExport(ExportFormat::Png, request));

    const auto font = platform::CreateFontIndirect(request.font);
    ASSERT_TRUE(font);
    const platform::Glyph& glyph = font->GlyphOf(U'#');
    const int cellHeight = font->Metrics().tmHeight;
    const int margin = cellHeight;
    EXPECT_EQ(png.width, static_cast<std::uint32_t>(2 * margin + font->Advance(U'M')));
    EXPECT_EQ(png.height, static_cast<std::uint32_t>(2 * margin + 3 * cellHeight));
    EXPECT_EQ(png.At(0, 0), (engine::TRgb{255, 255, 255}));

    // A pixel the glyph covers fully shows the ink itself, on each page.
    int solid = -1;
    for (std::size_t i = 0; i < glyph.coverage.size() && solid < 0; ++i)
        if (glyph.coverage[i] == 255)
            solid = static_cast<int>(i);
    ASSERT_GE(solid, 0);
    const int x = margin + glyph.left + solid % glyph.width;
    const int y = margin + font->Metrics().tmAscent - glyph.top + solid / glyph.width;
    EXPECT_EQ(png.At(x, y), (engine::TRgb{200, 0, 0}));
    EXPECT_EQ(png.At(x, y + 2 * cellHeight), (engine::TRgb{0, 0, 0}));
    // Between the pages, the dashed rule.
    const int ruleY = margin + cellHeight + cellHeight / 2;
    EXPECT_EQ(png.At(0, ruleY), (engine::TRgb{0x99, 0x99, 0x99}));
    EXPECT_FALSE(png.grey);

    // Black on white is stored grey, with the same pixels.
    request.colors = nullptr;
    const Decoded mono = DecodePng(textexport::BuildExport(ExportFormat::Png, request));
    EXPECT_TRUE(mono.grey);
    EXPECT_EQ(mono.At(x, y), (engine::TRgb{0, 0, 0}));
    EXPECT_EQ(mono.At(0, ruleY), (engine::TRgb{0x99, 0x99, 0x99}));
    EXPECT_EQ(mono.At(4, ruleY), (engine::TRgb{255, 255, 255}));
}

TEST(PngExport, AFailedExportLeavesTheFileAsItWas) {
    const charvane::testing::TempFolder folder("charvane-export");
    const std::string target = folder.File("art.png");
    charvane::testing::WriteFile(target, "the earlier picture");
    // A row far too wide for a picture.
    const std::vector<std::string> lines = {std::string(std::size_t{1} << 21, '#')};
    textexport::TExportRequest request;
    request.lines = &lines;
    request.width = 1 << 21;
    request.charsPerLine = (1 << 21) + 1;
    EXPECT_THROW(textexport::SaveExport(target, ExportFormat::Png, request), toolkit::EOutOfMemory);
    EXPECT_EQ(charvane::testing::ReadFile(target), "the earlier picture");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}
