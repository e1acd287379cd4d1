// String grids driven by real input: in-place editing, tabbing, range selection, scrolling
// that follows the current cell, the fixed row that turns ordinary when the rows go down to
// one, and cells that survive hidden rows.

#include "toolkit/TStringGrid.h"
#include "ListControlsTestSupport.h"
#include "platform/win/Clipboard.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/SystemMetrics.h"
#include "toolkit/Exceptions.h"

namespace toolkit::testing {
namespace {

using namespace platform;

constexpr int kF2 = 0x71;

// The character table's grid: two columns, one fixed row, editing, tabs and range selection.
class StringGrids : public ListControlsTest {
protected:
    void SetUp() override {
        ListControlsTest::SetUp();
        grid = Make<TStringGrid>("StringGrid1", {5, 31, 202, 131});
        grid->SetColCount(2);
        grid->SetRowCount(8);
        grid->SetFixedCols(0);
        grid->SetDefaultColWidth(78);
        grid->SetColor(clCream);
        grid->SetFixedColor(clSilver);
        grid->SetFlat(true);
        grid->Font().SetName("Courier New");
        grid->Font().SetHeight(-13);
        grid->Font().SetStyle({TFontStyle::fsBold});
        grid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                          goEditing, goTabs});
        const char* symbols[] = {"8", "6", "5", "1", ":", ".", " "};
        for (int r = 1; r <= 7; ++r)
            grid->SetCells(0, r, symbols[r - 1]);
        grid->OnSetEditText = [this](TObject*, int c, int r, const std::string& v) {
            edits.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
        };
        other = Make<TStringGrid>("Other", {300, 31, 400, 131});
        grid->SetFocus();
        Pump();
    }
    Point CellMiddle(int col, int row) {
        const Rect r = grid->CellRect(col, row);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Whether any pixel of the cell is as dark as text.
    bool CellShowsText(int col, int row) {
        const Rect r = grid->CellRect(col, row);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const Color c = PixelAt(*grid, {x, y});
                if (GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80)
                    return true;
            }
        return false;
    }

    TStringGrid* grid = nullptr;
    TStringGrid* other = nullptr;
    std::vector<std::string> edits;
};

TEST_F(StringGrids, TypingOpensTheEditorAndEnterPutsTheTextInTheCell) {
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_EQ(grid->Row(), 1);
    Type("#");
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_TRUE(grid->InplaceEditor()->Focused());
    EXPECT_EQ(grid->InplaceEditor()->BoundsRect(), grid->CellRect(0, 1));
    Type("#");
    EXPECT_EQ(grid->Cells(0, 1), "8"); // not yet
    Press(VK_RETURN);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_TRUE(grid->Focused());
    EXPECT_EQ(grid->Cells(0, 1), "##");
    EXPECT_EQ(edits, (std::vector<std::string>{"0,1=##"}));
    // F2 keeps the text and puts the caret at its end; Esc gives the old text back.
    Press(kF2);
    Type("x");
    EXPECT_EQ(grid->InplaceEditor()->Text(), "##x");
    Press(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(0, 1), "##");
    // Enter selects everything; an unchanged text is not written again.
    Press(VK_RETURN);
    EXPECT_EQ(grid->InplaceEditor()->SelLength(), 2);
    Press(VK_RETURN);
    EXPECT_EQ(edits.size(), 1u);
    // The cell shows the text.
    EXPECT_TRUE(CellShowsText(0, 1));
}

TEST_F(StringGrids, ArrowsAndClicksEndEditingKeepingTheText) {
    Type("a");
    Press(VK_DOWN);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Row(), 2);
    Type("b");
    Press(VK_LEFT); // inside the text: the editor's
    EXPECT_TRUE(grid->EditorMode());
    Press(VK_RIGHT);
    Press(VK_RIGHT); // at the end: on to the next cell
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Col(), 1);
    Type("c");
    ClickAt(*grid, CellMiddle(0, 3)); // the row only partly shows: it scrolls into view
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->TopRow(), 2);
    Type("d");
    other->SetFocus(); // the focus leaving ends editing too
    Pump();
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(edits, (std::vector<std::string>{"0,1=a", "0,2=b", "1,2=c", "0,3=d"}));
    EXPECT_EQ(grid->Cells(1, 2), "c");
}

TEST_F(StringGrids, ClickingTheCurrentCellOrDoubleClickingEdits) {
    ClickAt(*grid, CellMiddle(1, 2));
    EXPECT_FALSE(grid->EditorMode());
    host->Advance(1000); // not a double click
    ClickAt(*grid, CellMiddle(1, 2));
    EXPECT_TRUE(grid->EditorMode());
    Press(VK_ESCAPE);
    EXPECT_FALSE(grid->EditorMode());
    host->Advance(1000);
    // A double click on another cell opens the editor there.
    host->Click(grid->ClientToScreen(CellMiddle(0, 1)));
    host->Click(grid->ClientToScreen(CellMiddle(0, 1)));
    Pump();
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_TRUE(grid->InplaceEditor()->Focused());
    EXPECT_EQ(grid->Row(), 1);
    Press(VK_ESCAPE);
    host->Advance(1000);
    // A click on the fixed row moves nothing.
    ClickAt(*grid, CellMiddle(0, 0));
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_FALSE(grid->EditorMode());
}

TEST_F(StringGrids, TabWalksTheCellsRowByRowAndWrapsRound) {
    std::vector<std::pair<int, int>> seen;
    for (int i = 0; i < 3; ++i) {
        Press(VK_TAB);
        seen.push_back({grid->Col(), grid->Row()});
    }
    PressWith(VK_SHIFT, VK_TAB);
    seen.push_back({grid->Col(), grid->Row()});
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 1}, {0, 2}, {1, 2}, {0, 2}}));
    grid->SetCol(1);
    grid->SetRow(7);
    Press(VK_TAB);
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_EQ(grid->Row(), 1);
    // Tab while editing stores the text and moves on.
    Type("q");
    Press(VK_TAB);
    EXPECT_EQ(grid->Cells(0, 1), "q");
    EXPECT_EQ(grid->Col(), 1);
    // Without goTabs the Tab key is the form's: the focus moves to the next control.
    grid->SetOptions(grid->Options() - TGridOptions{goTabs});
    Press(VK_TAB);
    EXPECT_TRUE(other->Focused());
}

TEST_F(StringGrids, ShiftArrowsAndDraggingSelectARange) {
    PressWith(VK_SHIFT, VK_DOWN);
    PressWith(VK_SHIFT, VK_DOWN);
    PressWith(VK_SHIFT, VK_RIGHT);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 1, 1, 3}));
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_EQ(grid->Row(), 1);
    Press(VK_DOWN); // a plain move drops the range
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 2, 0, 2}));
    // Dragging from (1, 2) to (0, 3).
    host->MouseDown(grid->ClientToScreen(CellMiddle(1, 2)));
    host->MouseMove(grid->ClientToScreen(CellMiddle(0, 3)));
    host->MouseUp(grid->ClientToScreen(CellMiddle(0, 3)));
    Pump();
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 2, 1, 3}));
    EXPECT_EQ(grid->Col(), 1);
    // Selected cells other than the focused one are highlighted.
    Pump();
    const Rect r = grid->CellRect(0, 3);
    EXPECT_EQ(PixelAt(*grid, {r.right - 2, r.bottom - 2}), ColorToRGB(clHighlight));
    const Rect cur = grid->CellRect(1, 2);
    EXPECT_EQ(PixelAt(*grid, {cur.right - 3, cur.bottom - 3}), clCream);
    // Without goRangeSelect a shifted key just moves.
    grid->SetOptions(grid->Options() - TGridOptions{goRangeSelect});
    PressWith(VK_SHIFT, VK_DOWN);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 3, 1, 3}));
}

TEST_F(StringGrids, MovingTheCurrentCellScrollsItIntoView) {
    grid->SetRowCount(40);
    const int visible = grid->VisibleRowCount();
    ASSERT_LT(visible, 10);
    for (int i = 0; i < 10; ++i)
        Press(VK_DOWN);
    EXPECT_EQ(grid->Row(), 11);
    EXPECT_FALSE(grid->CellRect(0, 11).IsEmpty());
    EXPECT_EQ(grid->TopRow(), 11 - visible + 1);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(grid->Handle(), SB_VERT, si));
    EXPECT_EQ(si.nPos, grid->TopRow() - 1);
    EXPECT_EQ(si.nMax, 38);
    PressWith(VK_CONTROL, VK_END);
    EXPECT_EQ(grid->Row(), 39);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_FALSE(grid->CellRect(1, 39).IsEmpty());
    PressWith(VK_CONTROL, VK_HOME);
    EXPECT_EQ(grid->TopRow(), 1);
    // The fixed row stays on top whatever is scrolled.
    SendMessage(grid->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(grid->TopRow(), 1 + visible);
    EXPECT_EQ(grid->CellRect(0, 0).top, 0);
    EXPECT_EQ(grid->MouseCoord(5, 5), (TGridCoord{0, 0}));
    // Columns scroll the same way once they do not fit.
    grid->SetColCount(6);
    Press(VK_END);
    EXPECT_EQ(grid->Col(), 5);
    EXPECT_GT(grid->LeftCol(), 0);
    EXPECT_FALSE(grid->CellRect(5, grid->Row()).IsEmpty());
    // Editing a cell that scrolls away ends the edit keeping the text.
    Type("z");
    SendMessage(grid->Handle(), WM_HSCROLL, SB_LEFT, 0);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(5, grid->Row()), "z");
}

TEST_F(StringGrids, RowZeroBecomesAnOrdinaryRowWhenOnlyOneRowIsLeftAndStaysSo) {
    grid->SetRowCount(1);
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_EQ(grid->Row(), 0);
    grid->SetCells(0, 0, " ");
    grid->SetRowCount(8);
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_EQ(grid->Row(), 0);
    // Row 0 takes the focus, edits and is painted as an ordinary cell.
    Press(VK_DOWN);
    Press(VK_UP);
    EXPECT_EQ(grid->Row(), 0);
    Press(kF2);
    ASSERT_TRUE(grid->EditorMode());
    Type("0");
    Press(VK_RETURN);
    EXPECT_EQ(grid->Cells(0, 0), " 0");
    Pump();
    const Rect r = grid->CellRect(1, 0);
    EXPECT_EQ(PixelAt(*grid, {r.right - 3, r.bottom - 3}), clCream);
    // The rows below kept their texts all along.
    EXPECT_EQ(grid->Cells(0, 1), "8");
    EXPECT_EQ(grid->Cells(0, 7), " ");
}

TEST_F(StringGrids, CellsOfHiddenRowsAreKeptAndShownAgain) {
    grid->SetCells(1, 6, "218");
    grid->SetRow(7);
    grid->SetRowCount(6);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->Cells(1, 6), "218");
    EXPECT_TRUE(grid->CellRect(1, 6).IsEmpty());
    grid->SetCells(0, 7, "#"); // writing a hidden row is fine
    grid->SetRowCount(8);
    grid->SetRow(7);
    Pump();
    EXPECT_EQ(grid->Cells(1, 6), "218");
    EXPECT_TRUE(CellShowsText(1, 6));
    EXPECT_TRUE(CellShowsText(0, 7));
    // A write repaints the cell.
    grid->SetCells(1, 7, "255");
    Pump();
    EXPECT_TRUE(CellShowsText(1, 7));
    grid->SetCells(1, 7, "");
    Pump();
    EXPECT_FALSE(CellShowsText(1, 7));
}

TEST_F(StringGrids, BadIndexesAndCountsAreRefusedWithTheirMessages) {
    try {
        grid->SetCells(0, -3, "x");
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-3)");
    }
    EXPECT_EQ(grid->Cells(-1, 2), "");
    try {
        grid->SetRowCount(TGridCells::kMaxCount + 1);
        FAIL();
    } catch (const EInvalidGridOperation& e) {
        EXPECT_STREQ(e.what(), "Grid too large for operation");
    }
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_THROW(grid->SetFixedCols(2), EInvalidGridOperation);
    EXPECT_THROW(grid->SetFixedRows(8), EInvalidGridOperation);
    // A huge grid is cheap and scrolls to its end.
    grid->SetRowCount(TGridCells::kMaxCount);
    PressWith(VK_CONTROL, VK_END);
    EXPECT_EQ(grid->Row(), TGridCells::kMaxIndex - 1);
    EXPECT_FALSE(grid->CellRect(1, grid->Row()).IsEmpty());
}

TEST_F(StringGrids, TheEditorIsAFullEditWithSelectionClipboardAndUndo) {
    grid->SetCells(1, 1, "alpha beta");
    grid->SetCells(1, 2, "old");
    grid->SetCol(1);
    Press(kF2);
    ASSERT_TRUE(grid->EditorMode());
    TInplaceEdit* editor = grid->InplaceEditor();
    // Shift and Ctrl with the arrows belong to the editor, not to the grid's range selection.
    host->KeyDown(VK_CONTROL);
    PressWith(VK_SHIFT, VK_LEFT);
    host->KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(editor->SelText(), "beta");
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
    PressWith(VK_CONTROL, 'C');
    Press(VK_HOME);
    PressWith(VK_CONTROL, 'V');
    EXPECT_EQ(editor->Text(), "betaalpha beta");
    PressWith(VK_CONTROL, 'Z');
    EXPECT_EQ(editor->Text(), "alpha beta");
    Type("x");
    Press(VK_RETURN);
    EXPECT_EQ(grid->Cells(1, 1), "xalpha beta");
    // Undo belongs to one cell's editing: reopening the same text leaves nothing to undo.
    Press(kF2);
    PressWith(VK_CONTROL, 'Z');
    EXPECT_EQ(editor->Text(), "xalpha beta");
    Press(VK_ESCAPE);
    // The character that opens the editor is an undoable step; a second undo redoes it.
    Press(VK_DOWN);
    Type("q");
    EXPECT_EQ(editor->Text(), "q");
    PressWith(VK_CONTROL, 'Z');
    EXPECT_EQ(editor->Text(), "old");
    PressWith(VK_CONTROL, 'Z');
    EXPECT_EQ(editor->Text(), "q");
    PressWith(VK_CONTROL, 'Z');
    Press(VK_RETURN); // the old text again: nothing is written
    EXPECT_EQ(edits, (std::vector<std::string>{"1,1=xalpha beta"}));
}

TEST_F(StringGrids, DraggingTheFixedLinesSizesColumnsAndRows) {
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing, goRowSizing});
    grid->SetFixedCols(1);
    Pump();
    auto at = [this](Point p) { return grid->ClientToScreen(p); };
    auto drag = [&](Point from, Point to) {
        host->MouseDown(at(from));
        host->MouseMove(at(to));
        host->MouseUp(at(to));
        Pump();
    };
    const int colWidth = grid->ColWidths(0), rowHeight = grid->RowHeights(1);
    const Point colLine{grid->CellRect(0, 0).right, 5};
    // The resize cursor shows over the line in the fixed row only.
    host->MouseMove(at({colLine.x + 1, colLine.y}));
    Pump();
    EXPECT_EQ(host->CurrentCursor(), Cursor::SizeWE);
    host->MouseMove(at({colLine.x, CellMiddle(1, 2).y}));
    Pump();
    EXPECT_EQ(host->CurrentCursor(), Cursor::Arrow);
    // Dragging sizes the column; the cells right of it follow, the current cell stays.
    drag(colLine, {colLine.x + 20, colLine.y + 7});
    EXPECT_EQ(grid->ColWidths(0), colWidth + 20);
    EXPECT_EQ(grid->ColWidths(1), colWidth);
    EXPECT_EQ(grid->CellRect(1, 1).left, colWidth + 20 + grid->GridLineWidth());
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
    // No narrower than the minimum, however far the pointer goes.
    drag({grid->CellRect(0, 0).right, 5}, {-50, 5});
    EXPECT_EQ(grid->ColWidths(0), TCustomGrid::kMinDragSize);
    // Rows along the fixed column; Esc in the middle of a drag puts the old height back.
    const Point rowLine{4, grid->CellRect(0, 1).bottom};
    host->MouseMove(at(rowLine));
    Pump();
    EXPECT_EQ(host->CurrentCursor(), Cursor::SizeNS);
    drag(rowLine, {rowLine.x, rowLine.y + 10});
    EXPECT_EQ(grid->RowHeights(1), rowHeight + 10);
    EXPECT_EQ(grid->RowHeights(2), rowHeight);
    host->MouseDown(at({rowLine.x, rowLine.y + 10}));
    host->MouseMove(at({rowLine.x, rowLine.y + 40}));
    Pump();
    EXPECT_EQ(grid->RowHeights(1), rowHeight + 40);
    Press(VK_ESCAPE);
    EXPECT_EQ(grid->RowHeights(1), rowHeight + 10);
    host->MouseMove(at({rowLine.x, rowLine.y + 60}));
    host->MouseUp(at({rowLine.x, rowLine.y + 60}));
    Pump();
    EXPECT_EQ(grid->RowHeights(1), rowHeight + 10);
    // Without the options the same drag sizes nothing.
    grid->SetOptions(grid->Options() - TGridOptions{goColSizing, goRowSizing});
    const Point line{grid->CellRect(0, 0).right, 5};
    drag(line, {line.x + 30, line.y});
    EXPECT_EQ(grid->ColWidths(0), TCustomGrid::kMinDragSize);
}

TEST_F(StringGrids, OnGetEditTextChangesWhatTheEditorShows) {
    grid->OnGetEditText = [](TObject*, int, int, std::string& value) { value = "[" + value + "]"; };
    Press(kF2);
    EXPECT_EQ(grid->InplaceEditor()->Text(), "[8]");
    Type("!");
    Press(VK_RETURN);
    EXPECT_EQ(grid->Cells(0, 1), "[8]!");
}

TEST_F(StringGrids, FlatGridsHaveAOnePixelBorderAndFixedCellsInTheirColour) {
    Rect client;
    GetClientRect(grid->Handle(), client);
    EXPECT_EQ(grid->Width() - client.Width(), 2 + GetSystemMetrics(SM_CXVSCROLL));
    Pump();
    const Rect fixedCell = grid->CellRect(0, 0);
    EXPECT_EQ(PixelAt(*grid, {fixedCell.left + 1, fixedCell.top + 1}), clSilver);
    EXPECT_EQ(PixelAt(*grid, {fixedCell.right, fixedCell.top + 3}), clBlack); // fixed line
    const Rect cell = grid->CellRect(1, 2);
    EXPECT_EQ(PixelAt(*grid, {cell.left + 3, cell.bottom}), clSilver); // ordinary line
}

TEST_F(StringGrids, AHandlerMayFreeTheGridWhileItsEditorEnds) {
    grid->OnSetEditText = [this](TObject*, int, int, const std::string&) {
        TComponent::Free(grid);
        grid = nullptr;
    };
    Type("x");
    Press(VK_RETURN);
    EXPECT_EQ(grid, nullptr);
    Press(VK_DOWN);
}

} // namespace
} // namespace toolkit::testing
