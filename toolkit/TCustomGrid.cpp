// The grid's dimensions, geometry, current cell, selection and scrolling. Keys and mouse are in
// TCustomGridInput.cpp, the in-place editor in TCustomGridEditor.cpp, painting in
// TCustomGridPaint.cpp.

#include "toolkit/TCustomGrid.h"

#include <algorithm>

#include "platform/win/Paint.h"
#include "platform/win/ScrollBar.h"
#include "toolkit/Exceptions.h"

namespace toolkit {

// ---- TCustomGrid: dimensions ----------------------------------------------------------------

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption, csClickEvents});
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() {
    // The editor reports its focus changes here; it goes while this object is still whole.
    m_hidingEditor = true;
    if (m_editor) {
        TComponent::Free(m_editor);
        m_editor = nullptr;
    }
}

void TCustomGrid::SetColCount(std::int64_t count) {
    HideEditor(true, true);
    m_cells.SetColCount(count);
    CountsChanged();
}

void TCustomGrid::SetRowCount(std::int64_t count) {
    HideEditor(true, true);
    m_cells.SetRowCount(count);
    CountsChanged();
}

void TCustomGrid::SetFixedCols(int count) {
    if (count < 0 || count >= ColCount())
        throw EInvalidGridOperation("Fixed column count must be less than column count");
    HideEditor(true, true);
    m_fixedCols = count;
    StartAtTopLeft();
    CountsChanged();
}

void TCustomGrid::SetFixedRows(int count) {
    HideEditor(true, true);
    m_cells.SetFixedRows(count);
    StartAtTopLeft();
    CountsChanged();
}

void TCustomGrid::StartAtTopLeft() {
    m_topLeft = {m_fixedCols, FixedRows()};
    m_current = m_topLeft;
    m_anchor = m_topLeft;
}

void TCustomGrid::CountsChanged() {
    m_fixedCols = std::min(m_fixedCols, ColCount() - 1);
    auto fit = [this](TGridCoord& c) {
        c.X = std::clamp(c.X, m_fixedCols, ColCount() - 1);
        c.Y = std::clamp(c.Y, FixedRows(), RowCount() - 1);
    };
    fit(m_current);
    fit(m_anchor);
    fit(m_topLeft);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int width) {
    m_defaultColWidth = std::max(width, 0);
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int height) {
    m_defaultRowHeight = std::max(height, 0);
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

int TCustomGrid::ColWidths(int col) const {
    const auto it = m_colWidths.find(col);
    return it == m_colWidths.end() ? m_defaultColWidth : it->second;
}

void TCustomGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= ColCount())
        throw EListError::IndexOutOfBounds(col);
    m_colWidths[col] = std::max(width, 0);
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

int TCustomGrid::RowHeights(int row) const {
    const auto it = m_rowHeights.find(row);
    return it == m_rowHeights.end() ? m_defaultRowHeight : it->second;
}

void TCustomGrid::SetRowHeights(int row, int height) {
    if (row < 0 || row >= RowCount())
        throw EListError::IndexOutOfBounds(row);
    m_rowHeights[row] = std::max(height, 0);
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int width) {
    m_gridLineWidth = std::max(width, 0);
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions options) {
    if (options == m_options)
        return;
    m_options = options;
    if (!options.Contains(goEditing))
        HideEditor(true, true);
    if (!options.Contains(goRangeSelect))
        m_anchor = m_current;
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor color) {
    m_fixedColor = color;
    Invalidate();
}

void TCustomGrid::SetFlat(bool on) {
    if (on == m_flat)
        return;
    m_flat = on;
    if (HandleAllocated())
        RecreateWnd();
    Invalidate();
}

void TCustomGrid::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= platform::WS_VSCROLL | platform::WS_HSCROLL;
    if (m_flat)
        params.Style |= platform::WS_BORDER;
    else
        params.ExStyle |= platform::WS_EX_CLIENTEDGE;
}

void TCustomGrid::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollBars();
}

// ---- geometry -------------------------------------------------------------------------------

int TCustomGrid::FixedWidth() const {
    int w = 0;
    for (int c = 0; c < m_fixedCols; ++c)
        w += ColWidths(c) + m_gridLineWidth;
    return w;
}

int TCustomGrid::FixedHeight() const {
    int h = 0;
    for (int r = 0; r < FixedRows(); ++r)
        h += RowHeights(r) + m_gridLineWidth;
    return h;
}

int TCustomGrid::VisibleRowCount() const {
    const int limit = ClientHeight();
    int y = FixedHeight();
    int n = 0;
    for (int r = m_topLeft.Y; r < RowCount(); ++r) {
        y += RowHeights(r) + m_gridLineWidth;
        if (y - m_gridLineWidth > limit)
            break;
        ++n;
    }
    return std::max(n, 1);
}

int TCustomGrid::VisibleColCount() const {
    const int limit = ClientWidth();
    int x = FixedWidth();
    int n = 0;
    for (int c = m_topLeft.X; c < ColCount(); ++c) {
        x += ColWidths(c) + m_gridLineWidth;
        if (x - m_gridLineWidth > limit)
            break;
        ++n;
    }
    return std::max(n, 1);
}

int TCustomGrid::MaxTopRow() const {
    const int room = ClientHeight() - FixedHeight();
    int used = 0;
    int r = RowCount() - 1;
    for (; r >= FixedRows(); --r) {
        used += RowHeights(r) + m_gridLineWidth;
        if (used - m_gridLineWidth > room)
            break;
    }
    return std::clamp(r + 1, FixedRows(), RowCount() - 1);
}

int TCustomGrid::MaxLeftCol() const {
    const int room = ClientWidth() - FixedWidth();
    int used = 0;
    int c = ColCount() - 1;
    for (; c >= m_fixedCols; --c) {
        used += ColWidths(c) + m_gridLineWidth;
        if (used - m_gridLineWidth > room)
            break;
    }
    return std::clamp(c + 1, m_fixedCols, ColCount() - 1);
}

platform::Rect TCustomGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return {};
    const int width = ClientWidth(), height = ClientHeight();
    int x = 0;
    if (col < m_fixedCols) {
        for (int c = 0; c < col; ++c)
            x += ColWidths(c) + m_gridLineWidth;
    } else {
        if (col < m_topLeft.X)
            return {};
        x = FixedWidth();
        for (int c = m_topLeft.X; c < col && x < width; ++c)
            x += ColWidths(c) + m_gridLineWidth;
    }
    int y = 0;
    if (row < FixedRows()) {
        for (int r = 0; r < row; ++r)
            y += RowHeights(r) + m_gridLineWidth;
    } else {
        if (row < m_topLeft.Y)
            return {};
        y = FixedHeight();
        for (int r = m_topLeft.Y; r < row && y < height; ++r)
            y += RowHeights(r) + m_gridLineWidth;
    }
    if (x >= width || y >= height)
        return {};
    return platform::Rect::FromSize(x, y, ColWidths(col), RowHeights(row));
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
    auto find = [this](int pos, int fixed, int first, int count, int limit, bool cols) {
        if (pos < 0 || pos >= limit)
            return -1;
        int start = 0;
        for (int i = 0; i < fixed; ++i) {
            start += (cols ? ColWidths(i) : RowHeights(i)) + m_gridLineWidth;
            if (pos < start)
                return i;
        }
        for (int i = first; i < count && start < limit; ++i) {
            start += (cols ? ColWidths(i) : RowHeights(i)) + m_gridLineWidth;
            if (pos < start)
                return i;
        }
        return -1;
    };
    const int col = find(x, m_fixedCols, m_topLeft.X, ColCount(), ClientWidth(), true);
    const int row = find(y, FixedRows(), m_topLeft.Y, RowCount(), ClientHeight(), false);
    if (col < 0 || row < 0)
        return {-1, -1};
    return {col, row};
}

// ---- current cell and selection -------------------------------------------------------------

TGridRect TCustomGrid::Selection() const {
    return {std::min(m_current.X, m_anchor.X), std::min(m_current.Y, m_anchor.Y),
            std::max(m_current.X, m_anchor.X), std::max(m_current.Y, m_anchor.Y)};
}

void TCustomGrid::SetSelection(const TGridRect& rect) {
    FocusCell(rect.Left, rect.Top, true);
    if (m_options.Contains(goRangeSelect))
        MoveAnchor(rect.Right, rect.Bottom);
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
    col = std::clamp(col, m_fixedCols, ColCount() - 1);
    row = std::clamp(row, FixedRows(), RowCount() - 1);
    if (EditorMode() && (col != m_editCell.X || row != m_editCell.Y))
        HideEditor(true, false);
    m_current = {col, row};
    if (moveAnchor || !m_options.Contains(goRangeSelect))
        m_anchor = m_current;
    MakeVisible(col, row);
    Invalidate();
}

void TCustomGrid::MoveAnchor(int col, int row) {
    if (!m_options.Contains(goRangeSelect)) {
        FocusCell(col, row, true);
        return;
    }
    col = std::clamp(col, m_fixedCols, ColCount() - 1);
    row = std::clamp(row, FixedRows(), RowCount() - 1);
    HideEditor(true, false);
    m_anchor = {col, row};
    MakeVisible(col, row);
    Invalidate();
}

void TCustomGrid::MakeVisible(int col, int row) {
    if (row >= FixedRows()) {
        if (row < m_topLeft.Y) {
            SetTopRow(row);
        } else if (row >= m_topLeft.Y + VisibleRowCount()) {
            // The highest top row that still shows the row whole.
            const int room = ClientHeight() - FixedHeight();
            int used = 0;
            int top = row;
            for (; top >= FixedRows(); --top) {
                used += RowHeights(top) + m_gridLineWidth;
                if (used - m_gridLineWidth > room)
                    break;
            }
            SetTopRow(std::min(top + 1, row));
        }
    }
    if (col >= m_fixedCols) {
        if (col < m_topLeft.X) {
            SetLeftCol(col);
        } else if (col >= m_topLeft.X + VisibleColCount()) {
            const int room = ClientWidth() - FixedWidth();
            int used = 0;
            int left = col;
            for (; left >= m_fixedCols; --left) {
                used += ColWidths(left) + m_gridLineWidth;
                if (used - m_gridLineWidth > room)
                    break;
            }
            SetLeftCol(std::min(left + 1, col));
        }
    }
}

void TCustomGrid::SetTopRow(int row) {
    row = std::clamp(row, FixedRows(), std::max(MaxTopRow(), FixedRows()));
    if (row == m_topLeft.Y)
        return;
    m_topLeft.Y = row;
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::SetLeftCol(int col) {
    col = std::clamp(col, m_fixedCols, std::max(MaxLeftCol(), m_fixedCols));
    if (col == m_topLeft.X)
        return;
    m_topLeft.X = col;
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::InvalidateCell(int col, int row) {
    if (!HandleAllocated())
        return;
    const platform::Rect r = CellRect(col, row);
    if (r.IsEmpty())
        return;
    const platform::Rect withLines{r.left, r.top, r.right + m_gridLineWidth,
                                   r.bottom + m_gridLineWidth};
    platform::InvalidateRect(HandleIfAllocated(), &withLines, false);
}

// ---- scroll bars ----------------------------------------------------------------------------

void TCustomGrid::UpdateScrollBars() {
    if (!HandleAllocated() || m_updatingScrollBars)
        return;
    m_updatingScrollBars = true;
    // A bar that shows or hides changes the client size, and with it what fits: twice settles.
    for (int pass = 0; pass < 2; ++pass) {
        m_topLeft.Y = std::clamp(m_topLeft.Y, FixedRows(), MaxTopRow());
        m_topLeft.X = std::clamp(m_topLeft.X, m_fixedCols, MaxLeftCol());
        platform::SCROLLINFO v;
        v.fMask = platform::SIF_ALL;
        v.nMax = RowCount() - FixedRows() - 1;
        v.nPage = static_cast<platform::UINT>(RowCount() - MaxTopRow());
        v.nPos = m_topLeft.Y - FixedRows();
        platform::SetScrollInfo(HandleIfAllocated(), platform::SB_VERT, v, true);
        platform::SCROLLINFO h;
        h.fMask = platform::SIF_ALL;
        h.nMax = ColCount() - m_fixedCols - 1;
        h.nPage = static_cast<platform::UINT>(ColCount() - MaxLeftCol());
        h.nPos = m_topLeft.X - m_fixedCols;
        platform::SetScrollInfo(HandleIfAllocated(), platform::SB_HORZ, h, true);
    }
    m_updatingScrollBars = false;
}

void TCustomGrid::Scroll(int bar, int code) {
    using namespace platform;
    const bool vertical = bar == SB_VERT;
    const int first = vertical ? m_topLeft.Y : m_topLeft.X;
    const int page = vertical ? VisibleRowCount() : VisibleColCount();
    const int fixed = vertical ? FixedRows() : m_fixedCols;
    int target = first;
    switch (code) {
    case SB_LINEUP:
        target = first - 1;
        break;
    case SB_LINEDOWN:
        target = first + 1;
        break;
    case SB_PAGEUP:
        target = first - page;
        break;
    case SB_PAGEDOWN:
        target = first + page;
        break;
    case SB_TOP:
        target = fixed;
        break;
    case SB_BOTTOM:
        target = vertical ? RowCount() : ColCount();
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(HandleIfAllocated(), bar, si))
            target = si.nTrackPos + fixed;
        break;
    }
    default:
        return;
    }
    if (vertical)
        SetTopRow(target);
    else
        SetLeftCol(target);
}

} // namespace toolkit
