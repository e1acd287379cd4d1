#include "toolkit/TGridCells.h"

#include <algorithm>

#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

const std::string kEmpty;

bool InRange(int index) {
    return index >= 0 && index < TGridCells::kMaxIndex;
}

} // namespace

TGridCells::TGridCells(int colCount, int rowCount, int fixedRows)
    : m_colCount(CheckedCount(colCount)), m_rowCount(CheckedCount(rowCount)),
      m_fixedRows(std::clamp(fixedRows, 0, m_rowCount - 1)) {}

int TGridCells::CheckedCount(std::int64_t count) {
    if (count > kMaxCount)
        throw EInvalidGridOperation::TooLarge();
    return count < 1 ? 1 : static_cast<int>(count);
}

void TGridCells::SetColCount(std::int64_t count) {
    m_colCount = CheckedCount(count);
}

void TGridCells::SetRowCount(std::int64_t count) {
    m_rowCount = CheckedCount(count);
    if (m_fixedRows >= m_rowCount)
        m_fixedRows = m_rowCount - 1;
}

void TGridCells::SetFixedRows(int count) {
    if (count < 0 || count >= m_rowCount)
        throw EInvalidGridOperation("Fixed row count must be less than row count");
    m_fixedRows = count;
}

const std::string& TGridCells::Cell(int col, int row) const {
    if (!InRange(col) || !InRange(row))
        return kEmpty;
    const auto page = m_pages.find({col, row / kPageSize});
    if (page == m_pages.end())
        return kEmpty;
    return page->second[static_cast<std::size_t>(row % kPageSize)];
}

void TGridCells::SetCell(int col, int row, std::string text) {
    if (!InRange(row))
        throw EListError::IndexOutOfBounds(row);
    if (!InRange(col))
        throw EListError::IndexOutOfBounds(col);
    const PageKey key{col, row / kPageSize};
    auto page = m_pages.find(key);
    if (page == m_pages.end()) {
        // An empty text in an untouched page changes nothing a reader could see.
        if (text.empty())
            return;
        page = m_pages.emplace(key, std::vector<std::string>(kPageSize)).first;
    }
    page->second[static_cast<std::size_t>(row % kPageSize)] = std::move(text);
}

} // namespace toolkit
