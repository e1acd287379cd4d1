#include <gtest/gtest.h>

#include "toolkit/Exceptions.h"
#include "toolkit/TGridCells.h"

using toolkit::TGridCells;

TEST(TGridCells, RowCountRules) {
    struct Case {
        std::int64_t rowCount;
        int expectedRows, expectedFixed;
    };
    const Case cases[] = {
        {5, 5, 1},
        {2, 2, 1},
        {1, 1, 0},
        {0, 1, 0},
        {-7, 1, 0},
        {INT32_MIN, 1, 0},
        {TGridCells::kMaxCount, static_cast<int>(TGridCells::kMaxCount), 1},
    };
    for (const Case& c : cases) {
        TGridCells grid(2, 8);
        grid.SetRowCount(c.rowCount);
        EXPECT_EQ(grid.RowCount(), c.expectedRows) << c.rowCount;
        EXPECT_EQ(grid.FixedRows(), c.expectedFixed) << c.rowCount;
    }
}

TEST(TGridCells, LoweredFixedRowsAreNeverRaisedAgain) {
    TGridCells grid(2, 8, 3);
    grid.SetRowCount(2);
    EXPECT_EQ(grid.FixedRows(), 1);
    grid.SetRowCount(1);
    EXPECT_EQ(grid.FixedRows(), 0);
    grid.SetRowCount(10);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_THROW(grid.SetFixedRows(10), toolkit::EInvalidGridOperation);
    EXPECT_THROW(grid.SetFixedRows(-1), toolkit::EInvalidGridOperation);
    grid.SetFixedRows(9);
    EXPECT_EQ(grid.FixedRows(), 9);
}

TEST(TGridCells, TooLargeIsRefusedAndChangesNothing) {
    TGridCells grid(2, 8);
    grid.SetCell(1, 3, "x");
    for (const std::int64_t count :
         {TGridCells::kMaxCount + 1, std::int64_t{1'000'000'000}, std::int64_t{INT32_MAX} + 1}) {
        try {
            grid.SetRowCount(count);
            FAIL() << "no exception for " << count;
        } catch (const toolkit::EInvalidGridOperation& e) {
            EXPECT_EQ(e.Message(), "Grid too large for operation");
        }
        EXPECT_THROW(grid.SetColCount(count), toolkit::EInvalidGridOperation);
    }
    EXPECT_EQ(grid.RowCount(), 8);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.Cell(1, 3), "x");
    grid.SetRowCount(4);
    EXPECT_EQ(grid.RowCount(), 4);
}

TEST(TGridCells, CellsLiveIndependentlyOfTheCounts) {
    TGridCells grid(2, 3);
    grid.SetCell(0, 2, "a");
    grid.SetCell(1, 700, "far below");
    grid.SetCell(5, 1, "right of the columns");
    grid.SetRowCount(1);
    grid.SetColCount(1);
    EXPECT_EQ(grid.Cell(0, 2), "a");
    grid.SetRowCount(800);
    EXPECT_EQ(grid.Cell(1, 700), "far below");
    EXPECT_EQ(grid.Cell(5, 1), "right of the columns");
    EXPECT_EQ(grid.Cell(1, 699), "");
    EXPECT_EQ(grid.Cell(0, 0), "");
    grid.SetCell(0, 2, "");
    EXPECT_EQ(grid.Cell(0, 2), "");

    const TGridCells copy = grid;
    grid.SetCell(1, 700, "changed");
    EXPECT_EQ(copy.Cell(1, 700), "far below") << "a copy owns its cells";
}

TEST(TGridCells, WritesOutsideTheIndexRangeNameTheIndex) {
    struct Case {
        int col, row;
        const char* message;
    };
    const Case cases[] = {
        {0, -1, "List index out of bounds (-1)"},
        {0, INT32_MIN, "List index out of bounds (-2147483648)"},
        {-3, 1, "List index out of bounds (-3)"},
        {-3, -4, "List index out of bounds (-4)"},
        {0, TGridCells::kMaxIndex, "List index out of bounds (1000000)"},
    };
    for (const Case& c : cases) {
        TGridCells grid(2, 2);
        try {
            grid.SetCell(c.col, c.row, "x");
            FAIL() << "no exception";
        } catch (const toolkit::EListError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_EQ(grid.Cell(c.col, c.row), "") << "reading outside gives an empty text";
    }
}
