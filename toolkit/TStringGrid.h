#pragma once
// The string grid: a grid whose cells hold texts (UTF-8), kept in the grid's TGridCells, so a
// cell keeps its text while its row or column is hidden by a lower count and shows it again
// when the count grows back.
//
// Cells(col, row) reads "" outside the stored range; SetCells raises EListError "List index
// out of bounds (%d)" for an index below 0 or at TGridCells::kMaxIndex and beyond (the row
// when both are bad), and repaints the cell when it shows. Cells outside the current counts
// may be written.
//
// Editing in place takes the cell's text (then OnGetEditText may change what the editor
// shows) and, when the edit ends with a changed text, writes it to the cell and then fires
// OnSetEditText.

#include "toolkit/TCustomGrid.h"

namespace toolkit {

class TStringGrid : public TCustomGrid {
public:
    explicit TStringGrid(TComponent* owner) : TCustomGrid(owner) {}

    std::string ClassName() const override { return "TStringGrid"; }

    const std::string& Cells(int col, int row) const { return Store().Cell(col, row); }
    void SetCells(int col, int row, std::string text);

protected:
    std::string CellText(int col, int row) const override { return Cells(col, row); }
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;
};

} // namespace toolkit
