#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/PictureConversion.h"
#include "engine/TCharTable.h"
#include "toolkit/Exceptions.h"

using namespace engine;

namespace {

// Records the order of the steps and serves a grey copy that is one level everywhere.
struct ConversionProbe {
    std::vector<std::string> steps;
    std::vector<std::string> lines;
    std::vector<std::uint8_t> pixels;

    void Run(const TConversionRequest& request) {
        ConvertPicture(
            request,
            [this](std::int32_t w, std::int32_t h) {
                steps.push_back("draw " + std::to_string(w) + "x" + std::to_string(h));
                if (w <= 0 || h <= 0)
                    throw toolkit::EInvalidOperation::CanvasDoesNotAllowDrawing();
                pixels.assign(static_cast<std::size_t>(w) * h, 200);
                return TGreyRasterView(pixels.data(), w, h, w);
            },
            [this] { steps.push_back("repaint"); },
            [this](std::string line) { lines.push_back(std::move(line)); });
    }
};

} // namespace

TEST(ConvertPicture, DrawsTheComputedSizeThenRepaintsThenScans) {
    THeadlessCharTable table;
    table.table.FormCreate();
    ConversionProbe probe;
    probe.Run({400, 300, 8, kRatioTwoToThree, &table.grid, 7});
    EXPECT_EQ(probe.steps, (std::vector<std::string>{"draw 8x4", "repaint"}));
    EXPECT_EQ(probe.lines, std::vector<std::string>(4, "........"));
}

TEST(ConvertPicture, StopsBeforeDrawingWithoutAPictureAndBeforeRepaintingWhenDrawingFails) {
    THeadlessCharTable table;
    table.table.FormCreate();
    ConversionProbe noPicture;
    EXPECT_THROW(noPicture.Run({0, 0, 80, kRatioTwoToThree, &table.grid, 7}), toolkit::EDivByZero);
    EXPECT_TRUE(noPicture.steps.empty());

    ConversionProbe flat;
    EXPECT_THROW(flat.Run({640, 1, 80, kRatioTwoToThree, &table.grid, 7}),
                 toolkit::EInvalidOperation);
    EXPECT_EQ(flat.steps, (std::vector<std::string>{"draw 80x0"}));
    EXPECT_TRUE(flat.lines.empty());
}
