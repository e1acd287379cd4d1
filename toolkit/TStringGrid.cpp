#include "toolkit/TStringGrid.h"

namespace toolkit {

void TStringGrid::SetCells(int col, int row, std::string text) {
    if (Store().Cell(col, row) == text) {
        // Still raises for a bad index, as any write does.
        Store().SetCell(col, row, std::move(text));
        return;
    }
    Store().SetCell(col, row, std::move(text));
    InvalidateCell(col, row);
}

std::string TStringGrid::GetEditText(int col, int row) {
    std::string value = Cells(col, row);
    Fire(OnGetEditText, this, col, row, value);
    return value;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value) {
    SetCells(col, row, value);
    Fire(OnSetEditText, this, col, row, value);
}

} // namespace toolkit
