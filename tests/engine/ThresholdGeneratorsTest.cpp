#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ThresholdGenerators.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TGridCells.h"

namespace {

__extension__ typedef unsigned __int128 U128;

std::vector<std::string> Generate(int generator, int n) {
    toolkit::TGridCells grid(2, n + 1);
    engine::RunGenerator(generator, n, grid);
    std::vector<std::string> bounds;
    for (int r = 1; r <= n; ++r)
        bounds.push_back(grid.Cell(1, r));
    return bounds;
}

using B = std::vector<std::string>;

} // namespace

TEST(ThresholdGenerators, WorkedTable) {
    struct Case {
        int n;
        B exponential, fibonacci, uniform;
    };
    const Case cases[] = {
        {1, {"255"}, {"255"}, {"255"}},
        {2, {"127", "255"}, {"170", "255"}, {"127", "255"}},
        {3, {"63", "127", "255"}, {"102", "153", "255"}, {"85", "170", "255"}},
        {5,
         {"15", "31", "63", "127", "255"},
         {"39", "58", "98", "156", "255"},
         {"51", "102", "153", "204", "255"}},
        {7,
         {"3", "7", "15", "31", "63", "127", "255"},
         {"15", "22", "37", "60", "97", "157", "255"},
         {"36", "72", "109", "145", "182", "218", "255"}},
        {10,
         {"0", "0", "1", "3", "7", "15", "31", "63", "127", "255"},
         {"3", "5", "8", "14", "23", "37", "60", "97", "157", "255"},
         {"25", "51", "76", "102", "127", "153", "178", "204", "229", "255"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(Generate(engine::kExponentialGenerator, c.n), c.exponential);
        EXPECT_EQ(Generate(engine::kFibonacciGenerator, c.n), c.fibonacci);
        EXPECT_EQ(Generate(engine::kUniformGenerator, c.n), c.uniform);
    }
}

TEST(ThresholdGenerators, WriteOnlyTheBoundsOfRowsOneToN) {
    for (const int generator : {0, 1, 2, 3, 4, -1, 99}) {
        SCOPED_TRACE(generator);
        toolkit::TGridCells grid(2, 6);
        for (int r = 0; r <= 5; ++r) {
            grid.SetCell(0, r, "s");
            grid.SetCell(1, r, "b");
        }
        engine::RunGenerator(generator, 4, grid);
        const bool writes = generator >= 1 && generator <= 3;
        EXPECT_EQ(grid.Cell(1, 0), "b");
        EXPECT_EQ(grid.Cell(1, 5), "b");
        EXPECT_EQ(grid.Cell(1, 4), writes ? "255" : "b");
        for (int r = 0; r <= 5; ++r)
            EXPECT_EQ(grid.Cell(0, r), "s");
    }
}

TEST(ThresholdGenerators, NZeroOrLessWritesNothing) {
    for (const int n : {0, -1, INT32_MIN})
        for (const int generator : {1, 2, 3}) {
            toolkit::TGridCells grid(2, 3);
            engine::RunGenerator(generator, n, grid);
            EXPECT_EQ(grid.Cell(1, 1), "") << n;
            EXPECT_EQ(grid.Cell(1, 0), "") << n;
        }
}

// Beyond the range where the textbook 32-bit products fit (N > 23 exponential, N > 32
// Fibonacci) the bounds must still be the exact quotients.
TEST(ThresholdGenerators, LargeNIsExact) {
    // Worked out with exact integers: 255 F(i+2) / F(n+2) leaves the top twelve rows as the
    // ratios of consecutive Fibonacci numbers settle, and 0 below, at every large N; the products
    // overflow 32 bits from row 34 on.
    const std::vector<std::int32_t> top = {1, 2, 3, 5, 8, 14, 22, 37, 60, 97, 157, 255};
    for (int n : {40, 100, 170}) {
        for (int i = 1; i <= n - 12; ++i)
            ASSERT_EQ(engine::FibonacciBound(i, n), 0) << "i " << i << " n " << n;
        for (int i = n - 11; i <= n; ++i)
            EXPECT_EQ(engine::FibonacciBound(i, n), top[i - (n - 11)]) << "i " << i << " n " << n;
    }
    // 255 * 2^i / 2^N halves from the top row down, then stays 0.
    const std::vector<std::int32_t> halves = {255, 127, 63, 31, 15, 7, 3, 1};
    for (int n : {24, 40, 119})
        for (int i = 1; i <= n; ++i)
            EXPECT_EQ(engine::ExponentialBound(i, n), n - i < 8 ? halves[n - i] : 0)
                << "i " << i << " n " << n;
    // Far beyond: the top rows settle to floor(255 / phi^d), everything else is 0.
    const int n = 999'999;
    EXPECT_EQ(engine::FibonacciBound(n, n), 255);
    EXPECT_EQ(engine::FibonacciBound(n - 1, n), 157);
    EXPECT_EQ(engine::FibonacciBound(n - 2, n), 97);
    EXPECT_EQ(engine::FibonacciBound(n - 11, n), 1);
    EXPECT_EQ(engine::FibonacciBound(n - 12, n), 0);
    EXPECT_EQ(engine::FibonacciBound(1, n), 0);
    EXPECT_EQ(engine::ExponentialBound(n - 7, n), 1);
    EXPECT_EQ(engine::ExponentialBound(n - 8, n), 0);
    EXPECT_EQ(engine::ExponentialBound(1, n), 0);
    EXPECT_EQ(engine::UniformBound(1, n), 0);
    EXPECT_EQ(engine::UniformBound(n / 2, n), 127);
}

TEST(ThresholdGenerators, RefuseATableBeyondTheGridBeforeWriting) {
    toolkit::TGridCells grid(2, 2);
    try {
        engine::RunGenerator(engine::kUniformGenerator, toolkit::TGridCells::kMaxIndex, grid);
        FAIL() << "no exception";
    } catch (const toolkit::EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message(), "Grid too large for operation");
    }
    EXPECT_EQ(grid.Cell(1, 1), "");
    EXPECT_NO_THROW(engine::RunGenerator(engine::kManualGenerator, INT32_MAX, grid));
}
