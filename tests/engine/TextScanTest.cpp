#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/TCharTable.h"
#include "engine/TextScan.h"
#include "toolkit/Exceptions.h"
#include "toolkit/IntText.h"

using engine::ConversionHeight;
using engine::TGreyRasterView;

namespace {

using Lines = std::vector<std::string>;

struct Raster {
    Raster(int width, std::vector<std::uint8_t> pixels) : width(width), pixels(std::move(pixels)) {}
    TGreyRasterView View() const {
        const int height = width == 0 ? 0 : static_cast<int>(pixels.size()) / width;
        return TGreyRasterView(pixels.data(), width, height, width);
    }
    int width;
    std::vector<std::uint8_t> pixels;
};

toolkit::TGridCells Table(const std::vector<std::pair<std::string, std::string>>& rows) {
    toolkit::TGridCells grid(2, static_cast<int>(rows.size()) + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        grid.SetCell(0, static_cast<int>(i) + 1, rows[i].first);
        grid.SetCell(1, static_cast<int>(i) + 1, rows[i].second);
    }
    return grid;
}

struct Outcome {
    Lines lines;
    std::optional<std::string> error;
    bool operator==(const Outcome&) const = default;
};

[[maybe_unused]] void PrintTo(const Outcome& outcome, std::ostream* out) {
    *out << testing::PrintToString(outcome.lines) << " error " << outcome.error.value_or("(none)");
}

Outcome Scan(const TGreyRasterView& raster, const toolkit::TGridCells& table, int count,
             std::size_t maxBytes = engine::kMaxScanTextBytes) {
    Outcome outcome;
    try {
        engine::ScanToText(
            raster, table, count,
            [&](std::string line) { outcome.lines.push_back(std::move(line)); }, maxBytes);
    } catch (const toolkit::Exception& e) {
        outcome.error = e.Message();
    }
    return outcome;
}

// The scan written the slow, obvious way: pixel by pixel and bound by bound, parsing every
// bound each time the search reaches it.
Outcome ReferenceScan(const Raster& raster, const toolkit::TGridCells& table, int count) {
    Outcome outcome;
    const TGreyRasterView view = raster.View();
    try {
        for (int y = 0; y < view.Height(); ++y) {
            std::string line;
            for (int x = 0; x < view.Width(); ++x)
                for (int r = 1; r <= count; ++r)
                    if (view.Row(y)[x] <= toolkit::StrToInt(table.Cell(1, r))) {
                        line += table.Cell(0, r);
                        break;
                    }
            outcome.lines.push_back(line);
        }
    } catch (const toolkit::Exception& e) {
        outcome.error = e.Message();
    }
    return outcome;
}

} // namespace

TEST(ConversionHeight, FollowsThePictureAndTheRatioChoice) {
    struct Case {
        int width, sourceWidth, sourceHeight, ratio, height;
    };
    const Case cases[] = {
        {80, 400, 300, 1, 40},
        {80, 400, 300, 2, 30},
        {80, 400, 300, 0, 60},
        {80, 400, 300, -1, 60},
        {80, 400, 300, 7, 60},
        {80, 300, 400, 1, 70},
        {80, 640, 1, 1, 0},
        {0, 400, 300, 1, 0},
        {-80, 400, 300, 1, -40},
        {-80, 400, 300, 2, -30},
        {7, 10, 10, 1, 4},
        // 8 rows leave 2 over three: 16 div 3 = 5, where a third taken first would give 4.
        {8, 10, 10, 1, 5},
        // Exact where 32-bit products would wrap: 3 * MaxInt div 2, then times 2 div 3.
        {INT32_MAX, 2, 3, 1, 2147483646},
        {INT32_MIN, 1, 3, 0, INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConversionHeight(c.width, c.sourceWidth, c.sourceHeight, c.ratio), c.height)
            << c.width << " for " << c.sourceWidth << "x" << c.sourceHeight << " ratio " << c.ratio;
}

TEST(ConversionHeight, FailsWithoutAPictureOrForAnImpossibleHeight) {
    EXPECT_THROW(ConversionHeight(80, 0, 0, 1), toolkit::EDivByZero);
    try {
        ConversionHeight(INT32_MAX, 1, 3, 0);
        FAIL() << "no exception";
    } catch (const toolkit::EOutOfMemory& e) {
        EXPECT_EQ(e.Message(), "Out of memory");
    }
}

TEST(TextScan, StartUpTableClassesAndRowOrder) {
    engine::THeadlessCharTable t;
    t.table.FormCreate();
    const Raster raster(6, {0, 36, 37, 218, 219, 255, //
                            255, 109, 110, 145, 146, 182});
    EXPECT_EQ(Scan(raster.View(), t.grid, 7).lines, (Lines{"886.  ", " 511::"}));

    // The same pixels stored bottom-up, as DIB rows are.
    const TGreyRasterView bottomUp(raster.pixels.data() + 6, 6, 2, -6);
    EXPECT_EQ(Scan(bottomUp, t.grid, 7).lines, (Lines{" 511::", "886.  "}));
}

TEST(TextScan, SymbolAndBoundTextsAsTyped) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> rows;
        std::vector<std::uint8_t> pixels;
        const char* line;
    };
    const Case cases[] = {
        {"unpadded below the largest bound",
         {{"a", "100"}, {"b", "200"}},
         {50, 250, 150, 201},
         "ab"},
        {"first match whatever the order",
         {{"a", "100"}, {"b", "50"}, {"c", "200"}},
         {70, 30, 150},
         "aac"},
        {"negative bound never matches", {{"n", "-5"}, {"z", "0"}, {"w", "255"}}, {0, 1}, "zw"},
        {"blank and plus before the digits",
         {{"a", " 12"}, {"b", "+20"}, {"c", "$FF"}},
         {12, 13, 20, 21},
         "abbc"},
        {"long and empty symbols",
         {{"##", "10"}, {"", "20"}, {"-", "255"}},
         {5, 15, 25, 5},
         "##-##"},
        {"multi-byte symbols", {{"Ж", "127"}, {"ё", "255"}}, {0, 200, 127}, "ЖёЖ"},
    };
    for (const Case& c : cases) {
        const Raster raster(static_cast<int>(c.pixels.size()), c.pixels);
        const toolkit::TGridCells table = Table(c.rows);
        EXPECT_EQ(Scan(raster.View(), table, static_cast<int>(c.rows.size())),
                  (Outcome{{c.line}, std::nullopt}))
            << c.what;
    }
}

TEST(TextScan, AnUnparsableBoundFailsOnlyWhenASearchReachesIt) {
    const toolkit::TGridCells table = Table({{"1", "10"}, {"2", "20"}, {"3", "abc"}, {"4", "255"}});
    const Raster dark(3, {0, 10, 20, 5, 15, 20});
    EXPECT_EQ(Scan(dark.View(), table, 4), (Outcome{{"112", "122"}, std::nullopt}));

    const Raster bright(3, {0, 10, 20, 5, 21, 20, 0, 0, 0});
    EXPECT_EQ(Scan(bright.View(), table, 4),
              (Outcome{{"112"}, "'abc' is not a valid integer value"}))
        << "the finished row stays, the row under construction is dropped";

    // Rows past the first bound of 255 are never reached.
    const toolkit::TGridCells complete = Table({{"a", "255"}, {"b", "junk"}});
    EXPECT_EQ(Scan(bright.View(), complete, 2).error, std::nullopt);
}

TEST(TextScan, EmptyCellsAndCountsBeyondTheTable) {
    engine::THeadlessCharTable t;
    t.table.FormCreate();
    const Raster raster(2, {0, 255});
    // A count beyond the written rows is harmless while 255 is reached first...
    EXPECT_EQ(Scan(raster.View(), t.grid, INT32_MAX).lines, (Lines{"8 "}));
    // ...and reaches an empty cell otherwise.
    t.grid.SetCell(1, 7, "254");
    EXPECT_EQ(Scan(raster.View(), t.grid, INT32_MAX),
              (Outcome{{}, "'' is not a valid integer value"}));
    EXPECT_EQ(Scan(raster.View(), t.grid, 7).lines, (Lines{"8"}));
    // No rows at all: every pixel adds nothing, but every row still gives its line.
    EXPECT_EQ(Scan(Raster(2, {0, 255, 9, 9}).View(), t.grid, 0).lines, (Lines{"", ""}));
    EXPECT_EQ(Scan(Raster(2, {0, 255}).View(), t.grid, -3).lines, (Lines{""}));
}

TEST(TextScan, RefusesRunawayTextKeepingFinishedLines) {
    const std::string longSymbol(1000, 'x');
    const toolkit::TGridCells table = Table({{longSymbol, "255"}});
    const Raster raster(4, std::vector<std::uint8_t>(12, 0));
    const Outcome outcome = Scan(raster.View(), table, 1, 9000);
    EXPECT_EQ(outcome.lines.size(), 2u);
    EXPECT_EQ(outcome.error, "Out of memory");
    EXPECT_EQ(Scan(raster.View(), table, 1, 12000).lines.size(), 3u) << "exactly the limit fits";
}

// Random small tables (with bad and out-of-order bounds) and rasters against the literal
// pixel-by-pixel search: same lines, same failure at the same place.
TEST(TextScan, MatchesTheLiteralSearch) {
    std::mt19937 random(1234);
    const char* bounds[] = {"0",   "12",  "40", "100", "100", "180", "254",
                            "255", "300", "-1", "x",   "",    " 90", "$80"};
    for (int round = 0; round < 400; ++round) {
        const int rows = static_cast<int>(random() % 6);
        std::vector<std::pair<std::string, std::string>> cells;
        for (int r = 0; r < rows; ++r)
            cells.emplace_back(std::string(1, static_cast<char>('a' + r)),
                               bounds[random() % std::size(bounds)]);
        const int width = 1 + static_cast<int>(random() % 5);
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * (1 + random() % 4)));
        for (auto& p : pixels)
            p = static_cast<std::uint8_t>(random() % 3 == 0 ? random() % 256 : random() % 120);
        const Raster raster(width, pixels);
        const toolkit::TGridCells table = Table(cells);
        ASSERT_EQ(Scan(raster.View(), table, rows), ReferenceScan(raster, table, rows))
            << "round " << round;
    }
}
