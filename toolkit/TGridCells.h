#pragma once
// The cell texts and dimensions of a string grid, as a value type. The grid control owns one;
// the character table logic works on it directly.
//
// - Cells are kept per (column, row) independently of ColCount and RowCount: lowering the row
//   count hides cells without erasing them, and cells outside the visible rows may be written
//   and read. A cell never written reads as "".
// - Cell indexes run from 0 to kMaxIndex - 1. Writing outside that range raises EListError
//   "List index out of bounds (%d)" naming the offending index (the row when both are bad);
//   reading outside it gives "".
// - ColCount and RowCount are at least 1 (setting 0 or less gives 1) and at most kMaxCount;
//   a larger count raises EInvalidGridOperation "Grid too large for operation" and leaves the
//   grid as it was. Lowering RowCount to FixedRows or below lowers FixedRows to RowCount - 1;
//   nothing raises it again afterwards.
// - Storage grows with the cells written, in pages of kPageSize rows per column, so a huge row
//   count costs nothing and a densely filled column costs about one string per row.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace toolkit {

class TGridCells {
public:
    // A million rows keeps every operation that walks the rows (generators, the conversion's
    // table scan) well under a second, far beyond any useful character table.
    static constexpr std::int64_t kMaxCount = 1'000'000;
    static constexpr int kMaxIndex = static_cast<int>(kMaxCount);
    static constexpr int kPageSize = 256;

    // fixedRows is fitted into 0 ... RowCount - 1, as a lowered row count would fit it.
    TGridCells(int colCount, int rowCount, int fixedRows = 1);

    int ColCount() const { return m_colCount; }
    void SetColCount(std::int64_t count);
    int RowCount() const { return m_rowCount; }
    // 64-bit so that callers computing N + 1 from a 32-bit N need not wrap.
    void SetRowCount(std::int64_t count);
    int FixedRows() const { return m_fixedRows; }
    // Raises EInvalidGridOperation "Fixed row count must be less than row count" unless
    // 0 <= count < RowCount.
    void SetFixedRows(int count);

    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);

private:
    using PageKey = std::pair<int, int>; // column, row / kPageSize

    static int CheckedCount(std::int64_t count);

    int m_colCount;
    int m_rowCount;
    int m_fixedRows;
    std::map<PageKey, std::vector<std::string>> m_pages;
};

} // namespace toolkit
