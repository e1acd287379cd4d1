#pragma once
// The grid: rows and columns of cells, the first FixedRows rows and FixedCols columns fixed
// (drawn in FixedColor, never scrolled, never selected or edited), the rest scrolled with the
// platform's scroll bars, which show only while the cells do not fit.
//
// Coordinates: cells are (column, row) from (0, 0); CellRect and MouseCoord use client
// coordinates. Every column takes its width plus GridLineWidth (the line at its right), every
// row its height plus the line under it; with a line option off the line keeps its room but is
// painted in the cell colour.
//
// Setting FixedCols or FixedRows starts over at the first non-fixed cell (current cell,
// anchor and scroll position). Counts and fixed counts follow TGridCells (which the grid owns and a
// string grid keeps its texts in): at least 1, at most TGridCells::kMaxCount ("Grid too large for
// operation"), and a count lowered to its fixed count or below lowers the fixed count to count - 1
// for good. The current cell, the selection and the scroll position are then fitted into what is
// left.
//
// Current cell and selection: Col / Row is the current cell, always a non-fixed cell. The
// selection runs from it to an anchor: with goRangeSelect, Shift with the arrow keys, Shift
// with a click, and dragging move the anchor; everything else moves the current cell and brings
// the anchor along. Every move scrolls the moving end into view.
//
// Keys: arrows, Home / End (row start and end; with Ctrl the first and last cell), PageUp /
// PageDown (a page of rows); with goTabs Tab and Shift+Tab walk the cells row by row, wrapping
// round. With goEditing, typing a character, F2 or Enter opens the in-place editor on the
// current cell (a typed character replaces the text, F2 puts the caret at its end, Enter
// selects all of it), and so does a click on the current cell or a double click. In the
// editor, Enter ends editing keeping the text, Esc ends it restoring the text, Up / Down /
// PageUp / PageDown / Tab end it and move on, and Left / Right (without Shift or Ctrl) at the
// ends of the text end it and move to the neighbour cell; every other key is the editor's. The
// character that opens the editor is typed into it (one undo step); undo never reaches back
// into an earlier editing. Losing the focus elsewhere, a click on another cell or scrolling
// the cell out of view end it keeping the text. The text goes to the cell through SetEditText
// (only when it changed); the editor takes it from GetEditText.
//
// Sizing with the mouse: with goColSizing, the line at the right of a column, within the fixed
// rows and kSizingSlop pixels either side, shows the left-right resize cursor, and a press there
// and a drag set that column's width (ColWidths), never below kMinDragSize; with goRowSizing the
// line under a row, within the fixed columns, sets that row's height (RowHeights) the same way.
// Where two lines are within reach the later column or row is taken (so one sized to 0 by the
// program can be pulled open again). Esc during the drag puts the old size back.
//
// Painting is split for skinned descendants: PaintCells walks the cells that show and calls
// DrawCell with the cell's state, then PaintFocus; CellColor and LineColor say the colours.

#include <map>
#include <ostream>
#include <string>

#include "toolkit/TCustomEdit.h"
#include "toolkit/TGridCells.h"
#include "toolkit/TSet.h"
#include "toolkit/TWinControl.h"

namespace toolkit {

enum class TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goEditing,
    goTabs,
    goAlwaysShowEditor,
    goColSizing,
    goRowSizing
};
using TGridOptions = TSet<TGridOption>;
using enum TGridOption;

enum class TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;
using enum TGridDrawStateItem;

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const TGridCoord& c) {
    return os << "cell (" << c.X << ", " << c.Y << ')';
}

// Inclusive on all sides.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int col, int row) const {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const TGridRect& r) {
    return os << "cells (" << r.Left << ", " << r.Top << ") - (" << r.Right << ", " << r.Bottom
              << ')';
}

class TCustomGrid;

// The in-place editor is the plain edit (caret, selection, clipboard, undo) without its border,
// its text where the grid draws a cell's text. The grid takes the keys that end editing first.
using TGridTextPart = TCustomEdit;

class TInplaceEdit : public TGridTextPart {
public:
    explicit TInplaceEdit(TCustomGrid& grid);
    std::string ClassName() const override { return "TInplaceEdit"; }
    void WndProc(TMessage& message) override;
    // Whether Left / Right would leave the text (no selection, caret at that end).
    bool CaretAtEdge(bool left) const;

protected:
    bool DoKeyDown(platform::WORD& key, TShiftState shift) override;

private:
    TCustomGrid& m_grid;
};

using TGetEditEvent = std::function<void(TObject* sender, int col, int row, std::string& value)>;
using TSetEditEvent =
    std::function<void(TObject* sender, int col, int row, const std::string& value)>;

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    std::string ClassName() const override { return "TCustomGrid"; }

    // ---- dimensions ----
    int ColCount() const { return m_cells.ColCount(); }
    void SetColCount(std::int64_t count);
    int RowCount() const { return m_cells.RowCount(); }
    void SetRowCount(std::int64_t count);
    int FixedCols() const { return m_fixedCols; }
    // Raises EInvalidGridOperation "Fixed column count must be less than column count" unless
    // 0 <= count < ColCount.
    void SetFixedCols(int count);
    int FixedRows() const { return m_cells.FixedRows(); }
    // Raises EInvalidGridOperation "Fixed row count must be less than row count" unless
    // 0 <= count < RowCount.
    void SetFixedRows(int count);
    int DefaultColWidth() const { return m_defaultColWidth; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height);
    // Widths and heights of single columns and rows (negative values become 0); setting them
    // forgets nothing when counts change.
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int GridLineWidth() const { return m_gridLineWidth; }
    void SetGridLineWidth(int width);

    // ---- look ----
    TGridOptions Options() const { return m_options; }
    void SetOptions(TGridOptions options);
    TColor FixedColor() const { return m_fixedColor; }
    void SetFixedColor(TColor color);
    // No 3-D border (a one-pixel line instead) and flat fixed cells.
    bool Flat() const { return m_flat; }
    void SetFlat(bool on);

    // ---- current cell, selection, scrolling ----
    int Col() const { return m_current.X; }
    void SetCol(int col) { FocusCell(col, m_current.Y, true); }
    int Row() const { return m_current.Y; }
    void SetRow(int row) { FocusCell(m_current.X, row, true); }
    TGridRect Selection() const;
    // Selects the rectangle, the current cell going to its top left corner (fitted into the
    // non-fixed cells).
    void SetSelection(const TGridRect& rect);
    int TopRow() const { return m_topLeft.Y; }
    void SetTopRow(int row);
    int LeftCol() const { return m_topLeft.X; }
    void SetLeftCol(int col);
    // How many non-fixed rows / columns show whole from TopRow / LeftCol (at least 1).
    int VisibleRowCount() const;
    int VisibleColCount() const;

    // The cell's rectangle in client coordinates (line not included), empty when it does not
    // show.
    platform::Rect CellRect(int col, int row) const;
    // The cell at a client point, {-1, -1} when there is none.
    TGridCoord MouseCoord(int x, int y) const;

    // ---- sizing with the mouse ----
    static constexpr int kSizingSlop = 2;
    static constexpr int kMinDragSize = 6;
    // The column (row) whose line a press at the client point would drag, -1 when none (also
    // when the option is off).
    int SizingColAt(int x, int y) const;
    int SizingRowAt(int x, int y) const;
    // A column or row is being sized by the mouse now.
    bool Sizing() const { return m_sizing.index >= 0; }

    // ---- editing ----
    bool EditorMode() const { return m_editor != nullptr && m_editor->Visible(); }
    // true opens the editor on the current cell (when goEditing allows), false ends editing
    // keeping the text.
    void SetEditorMode(bool on);
    TInplaceEdit* InplaceEditor() const { return m_editor; }

    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;

    void WndProc(TMessage& message) override;

protected:
    friend class TInplaceEdit;

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    virtual void PaintCells(TCanvas& canvas);
    virtual void DrawCell(TCanvas& canvas, int col, int row, const platform::Rect& rect,
                          TGridDrawState state);
    virtual void PaintFocus(TCanvas& canvas);
    virtual platform::Color CellColor(TGridDrawState state) const;
    // The colour of a line beside a cell (fixed or not), or the cell colour when that line is
    // off.
    virtual platform::Color LineColor(bool fixed, bool vertical) const;
    // The text painted in a cell (a string grid shows its cells).
    virtual std::string CellText(int col, int row) const;

    virtual std::string GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const std::string& value);

    bool DoKeyDown(platform::WORD& key, TShiftState shift) override;
    bool DoKeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;

    void InvalidateCell(int col, int row);
    TGridCells& Store() { return m_cells; }
    const TGridCells& Store() const { return m_cells; }

private:
    // Moves the current cell (fitted into the non-fixed cells); `moveAnchor` brings the anchor
    // along, otherwise the selection stretches from the anchor.
    void FocusCell(int col, int row, bool moveAnchor);
    void MoveAnchor(int col, int row);
    void MakeVisible(int col, int row);
    void CountsChanged();
    // New fixed counts start the grid over at the first non-fixed cell.
    void StartAtTopLeft();
    void UpdateScrollBars();
    int MaxTopRow() const;
    int MaxLeftCol() const;
    void Scroll(int bar, int code);
    bool NavigationKey(platform::WORD key, TShiftState shift);
    // From the editor: true when the grid took the key.
    bool EditorKey(platform::WORD key, TShiftState shift);
    void ShowEditor(bool selectAll);
    // refocus: the grid takes the focus back when the editor had it.
    void HideEditor(bool keepText, bool refocus);
    void PlaceEditor();
    void EditorLostFocus(platform::HWND newFocus);
    int FixedWidth() const;
    int FixedHeight() const;
    // The line nearest to pos (within kSizingSlop) along columns or rows, -1 when none.
    int LineAt(int pos, bool cols) const;
    void EndSizing(bool keep);

    struct TSizingDrag {
        int index = -1;
        bool cols = true;
        int start = 0;    // client coordinate of the press along the sizing direction
        int original = 0; // the size when the drag began
    };

    TGridCells m_cells{5, 5, 1};
    int m_fixedCols = 1;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    int m_gridLineWidth = 1;
    std::map<int, int> m_colWidths;
    std::map<int, int> m_rowHeights;
    TGridOptions m_options{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TColor m_fixedColor = clBtnFace;
    bool m_flat = false;
    TGridCoord m_current{1, 1};
    TGridCoord m_anchor{1, 1};
    TGridCoord m_topLeft{1, 1};
    bool m_selecting = false;
    platform::Point m_pressPoint; // screen
    bool m_updatingScrollBars = false;
    TInplaceEdit* m_editor = nullptr;
    std::string m_editOriginal;
    TGridCoord m_editCell;
    bool m_hidingEditor = false;
    TSizingDrag m_sizing;
};

} // namespace toolkit
