// The grid's geometry, current cell, scrolling, keys, mouse and the in-place editor. Painting
// is in TCustomGridPaint.cpp.

#include "toolkit/TCustomGrid.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBar.h"
#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

constexpr platform::WORD kF2 = 0x71;
constexpr int kWheelRows = 3;

} // namespace

// ---- TInplaceEdit ---------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TCustomGrid& grid) : TGridTextPart(&grid), m_grid(grid) {
    SetTabStop(false);
    SetParentColor(true);
    SetVisible(false);
    SetBorderStyle(TFormBorderStyle::bsNone);
    // The grid places the caret or selection itself each time editing starts.
    SetAutoSelect(false);
}

bool TInplaceEdit::CaretAtEdge(bool left) const {
    if (HasSelection())
        return false;
    const TTextPos p = CaretPos();
    return left ? p == TTextPos{0, 0} : p == Buffer().End();
}

void TInplaceEdit::WndProc(TMessage& m) {
    using namespace platform;
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS |
                   (m_grid.Options().Contains(goTabs) ? DLGC_WANTTAB : 0);
        return;
    case WM_KILLFOCUS:
        TGridTextPart::WndProc(m);
        m_grid.EditorLostFocus(HwndFromParam(m.WParam));
        return;
    case WM_SIZE:
        TGridTextPart::WndProc(m);
        // Where the grid draws a cell's text, so the text does not jump when editing starts.
        SetFormatRect({2, 2, std::max(ClientWidth(), 3), std::max(ClientHeight(), 3)});
        return;
    default:
        break;
    }
    TGridTextPart::WndProc(m);
}

bool TInplaceEdit::DoKeyDown(platform::WORD& key, TShiftState shift) {
    if (m_grid.EditorKey(key, shift))
        return true;
    return TGridTextPart::DoKeyDown(key, shift);
}

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

// ---- sizing with the mouse -----------------------------------------------------------------

int TCustomGrid::LineAt(int pos, bool cols) const {
    const int fixed = cols ? m_fixedCols : FixedRows();
    const int count = cols ? ColCount() : RowCount();
    const int first = cols ? m_topLeft.X : m_topLeft.Y;
    const int limit = cols ? ClientWidth() : ClientHeight();
    int found = -1;
    int start = 0;
    auto check = [&](int i) {
        start += cols ? ColWidths(i) : RowHeights(i);
        if (std::abs(pos - (start + m_gridLineWidth / 2)) <= kSizingSlop)
            found = i;
        start += m_gridLineWidth;
    };
    for (int i = 0; i < fixed; ++i)
        check(i);
    for (int i = first; i < count && start <= limit + kSizingSlop; ++i)
        check(i);
    return found;
}

int TCustomGrid::SizingColAt(int x, int y) const {
    if (!m_options.Contains(goColSizing) || y < 0 || y >= FixedHeight())
        return -1;
    return LineAt(x, true);
}

int TCustomGrid::SizingRowAt(int x, int y) const {
    if (!m_options.Contains(goRowSizing) || x < 0 || x >= FixedWidth())
        return -1;
    return LineAt(y, false);
}

void TCustomGrid::EndSizing(bool keep) {
    if (m_sizing.index < 0)
        return;
    const TSizingDrag s = m_sizing;
    m_sizing = {};
    if (!keep) {
        if (s.cols)
            SetColWidths(s.index, s.original);
        else
            SetRowHeights(s.index, s.original);
    }
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

// ---- keys and mouse -------------------------------------------------------------------------

bool TCustomGrid::NavigationKey(platform::WORD key, TShiftState shift) {
    using namespace platform;
    const bool range = shift.Contains(ssShift) && m_options.Contains(goRangeSelect);
    const bool ctrl = shift.Contains(ssCtrl);
    TGridCoord from = range ? m_anchor : m_current;
    switch (key) {
    case VK_UP:
        --from.Y;
        break;
    case VK_DOWN:
        ++from.Y;
        break;
    case VK_LEFT:
        --from.X;
        break;
    case VK_RIGHT:
        ++from.X;
        break;
    case VK_HOME:
        from.X = m_fixedCols;
        if (ctrl)
            from.Y = FixedRows();
        break;
    case VK_END:
        from.X = ColCount() - 1;
        if (ctrl)
            from.Y = RowCount() - 1;
        break;
    case VK_PRIOR:
        from.Y -= VisibleRowCount();
        break;
    case VK_NEXT:
        from.Y += VisibleRowCount();
        break;
    case VK_TAB: {
        if (!m_options.Contains(goTabs) || shift.Contains(ssAlt))
            return false;
        TGridCoord c = m_current;
        if (shift.Contains(ssShift)) {
            if (--c.X < m_fixedCols) {
                c.X = ColCount() - 1;
                if (--c.Y < FixedRows())
                    c.Y = RowCount() - 1;
            }
        } else if (++c.X >= ColCount()) {
            c.X = m_fixedCols;
            if (++c.Y >= RowCount())
                c.Y = FixedRows();
        }
        FocusCell(c.X, c.Y, true);
        return true;
    }
    default:
        return false;
    }
    if (range)
        MoveAnchor(from.X, from.Y);
    else
        FocusCell(from.X, from.Y, true);
    return true;
}

bool TCustomGrid::DoKeyDown(platform::WORD& key, TShiftState shift) {
    if (m_sizing.index >= 0 && key == platform::VK_ESCAPE) {
        EndSizing(false);
        if (MouseCapture())
            platform::ReleaseCapture();
        return true;
    }
    if (TCustomControl::DoKeyDown(key, shift))
        return true;
    if (m_options.Contains(goEditing) && (key == kF2 || key == platform::VK_RETURN)) {
        ShowEditor(key == platform::VK_RETURN);
        return true;
    }
    return NavigationKey(key, shift);
}

bool TCustomGrid::DoKeyPress(char32_t& key) {
    if (TCustomControl::DoKeyPress(key))
        return true;
    if (!m_options.Contains(goEditing) || key < 0x20 || key == 0x7F)
        return false;
    ShowEditor(true);
    // The character goes in as typed there: through the editor's key filter and into its undo.
    if (EditorMode())
        platform::SendMessage(m_editor->Handle(), platform::WM_CHAR, key, 0);
    return true;
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    // The second press of a double click: the first one placed the cell and DblClick has
    // just opened the editor.
    if (button == mbLeft && shift.Contains(ssDouble) && EditorMode()) {
        TCustomControl::MouseDown(button, shift, x, y);
        return;
    }
    if (button == mbLeft) {
        const bool hadFocus = Focused();
        if (!hadFocus && CanFocus())
            SetFocus();
        const int sizeCol = SizingColAt(x, y);
        const int sizeRow = sizeCol < 0 ? SizingRowAt(x, y) : -1;
        if (sizeCol >= 0 || sizeRow >= 0) {
            const bool cols = sizeCol >= 0;
            const int index = cols ? sizeCol : sizeRow;
            m_sizing = {index, cols, cols ? x : y, cols ? ColWidths(index) : RowHeights(index)};
            TCustomControl::MouseDown(button, shift, x, y);
            return;
        }
        const TGridCoord cell = MouseCoord(x, y);
        if (cell.X >= m_fixedCols && cell.Y >= FixedRows()) {
            if (shift.Contains(ssShift) && m_options.Contains(goRangeSelect)) {
                MoveAnchor(cell.X, cell.Y);
            } else {
                const bool again = hadFocus && cell == m_current && m_anchor == m_current;
                FocusCell(cell.X, cell.Y, true);
                m_selecting = m_options.Contains(goRangeSelect);
                m_pressPoint = ClientToScreen({x, y});
                if (again && m_options.Contains(goEditing))
                    ShowEditor(true);
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
    if (m_sizing.index >= 0) {
        if (shift.Contains(ssLeft)) {
            const int delta = (m_sizing.cols ? x : y) - m_sizing.start;
            const int size = std::max(m_sizing.original + delta, kMinDragSize);
            if (m_sizing.cols && size != ColWidths(m_sizing.index))
                SetColWidths(m_sizing.index, size);
            else if (!m_sizing.cols && size != RowHeights(m_sizing.index))
                SetRowHeights(m_sizing.index, size);
        }
        TCustomControl::MouseMove(shift, x, y);
        return;
    }
    // A press that scrolled its cell into view leaves the pointer over another cell without
    // the mouse having moved: that is no drag yet.
    if (m_selecting && shift.Contains(ssLeft) && MouseCapture() &&
        ClientToScreen({x, y}) != m_pressPoint) {
        // Past the edges the selection keeps to the nearest cell, scrolling on.
        const int cx = std::clamp(x, 0, std::max(ClientWidth() - 1, 0));
        const int cy = std::clamp(y, 0, std::max(ClientHeight() - 1, 0));
        TGridCoord cell = MouseCoord(cx, cy);
        if (cell.X >= 0) {
            if (x >= ClientWidth())
                ++cell.X;
            if (y >= ClientHeight())
                ++cell.Y;
            if (TGridCoord{std::clamp(cell.X, m_fixedCols, ColCount() - 1),
                           std::clamp(cell.Y, FixedRows(), RowCount() - 1)} != m_anchor)
                MoveAnchor(cell.X, cell.Y);
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft)
        EndSizing(true);
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::DblClick() {
    if (m_options.Contains(goEditing))
        ShowEditor(true);
    TCustomControl::DblClick();
}

void TCustomGrid::WndProc(TMessage& m) {
    using namespace platform;
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result =
            DLGC_WANTARROWS | DLGC_WANTCHARS | (m_options.Contains(goTabs) ? DLGC_WANTTAB : 0);
        return;
    case CM_WANTSPECIALKEY:
        // Enter opens the editor where editing is allowed.
        // Esc cancels a drag that sizes a column or row.
        m.Result = (m.WParam == VK_RETURN && m_options.Contains(goEditing)) ||
                           (m.WParam == VK_ESCAPE && Sizing())
                       ? 1
                       : 0;
        return;
    case WM_VSCROLL:
        Scroll(SB_VERT, LOWORD(m.WParam));
        return;
    case WM_HSCROLL:
        Scroll(SB_HORZ, LOWORD(m.WParam));
        return;
    case WM_MOUSEWHEEL:
        SetTopRow(m_topLeft.Y - GET_WHEEL_DELTA_WPARAM(m.WParam) / 120 * kWheelRows);
        return;
    case WM_LBUTTONUP:
        m_selecting = false;
        break;
    case WM_CAPTURECHANGED:
        // The drag has lost the mouse (a window popped up): the size so far stays.
        EndSizing(true);
        break;
    case WM_SETCURSOR:
        if (LOWORD(m.LParam) == HTCLIENT && HwndFromParam(m.WParam) == HandleIfAllocated()) {
            Point p;
            GetCursorPos(p);
            p = ScreenToClient(p);
            if (SizingColAt(p.x, p.y) >= 0) {
                platform::SetCursor(Cursor::SizeWE);
                m.Result = 1;
                return;
            }
            if (SizingRowAt(p.x, p.y) >= 0) {
                platform::SetCursor(Cursor::SizeNS);
                m.Result = 1;
                return;
            }
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_SIZE:
        TCustomControl::WndProc(m);
        UpdateScrollBars();
        PlaceEditor();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

// ---- the in-place editor --------------------------------------------------------------------

std::string TCustomGrid::CellText(int, int) const {
    return "";
}

std::string TCustomGrid::GetEditText(int col, int row) {
    std::string value;
    Fire(OnGetEditText, this, col, row, value);
    return value;
}

void TCustomGrid::SetEditText(int col, int row, const std::string& value) {
    Fire(OnSetEditText, this, col, row, value);
}

void TCustomGrid::SetEditorMode(bool on) {
    if (on)
        ShowEditor(true);
    else
        HideEditor(true, true);
}

void TCustomGrid::ShowEditor(bool selectAll) {
    if (!m_options.Contains(goEditing) || !HandleAllocated())
        return;
    if (EditorMode()) {
        if (selectAll)
            m_editor->SelectAll();
        return;
    }
    if (!m_editor) {
        m_editor = new TInplaceEdit(*this);
        m_editor->SetParent(this);
    }
    MakeVisible(m_current.X, m_current.Y);
    m_editCell = m_current;
    const std::weak_ptr<const bool> alive = LifeToken();
    m_editOriginal = GetEditText(m_editCell.X, m_editCell.Y);
    if (alive.expired() || !m_editor)
        return;
    m_editor->SetText(m_editOriginal);
    // Undo belongs to this cell's editing only.
    m_editor->ClearUndo();
    const platform::Rect r = CellRect(m_editCell.X, m_editCell.Y);
    if (r.IsEmpty())
        return;
    m_editor->SetBoundsRect(r);
    m_editor->SetVisible(true);
    if (Focused() || CanFocus())
        m_editor->SetFocus();
    if (selectAll)
        m_editor->SelectAll();
    else
        m_editor->SetCaretPos(m_editor->Buffer().End());
}

void TCustomGrid::PlaceEditor() {
    if (!EditorMode() || m_hidingEditor)
        return;
    const platform::Rect r = CellRect(m_editCell.X, m_editCell.Y);
    if (r.IsEmpty())
        HideEditor(true, true);
    else
        m_editor->SetBoundsRect(r);
}

void TCustomGrid::HideEditor(bool keepText, bool refocus) {
    if (!EditorMode() || m_hidingEditor)
        return;
    m_hidingEditor = true;
    const std::string text = m_editor->Text();
    const TGridCoord cell = m_editCell;
    if (refocus && m_editor->Focused() && CanFocus())
        SetFocus();
    m_editor->SetVisible(false);
    m_hidingEditor = false;
    InvalidateCell(cell.X, cell.Y);
    if (keepText && text != m_editOriginal)
        SetEditText(cell.X, cell.Y, text);
}

void TCustomGrid::EditorLostFocus(platform::HWND) {
    if (m_hidingEditor)
        return;
    HideEditor(true, false);
}

bool TCustomGrid::EditorKey(platform::WORD key, TShiftState shift) {
    using namespace platform;
    const std::weak_ptr<const bool> alive = LifeToken();
    switch (key) {
    case VK_RETURN:
        HideEditor(true, true);
        return true;
    case VK_ESCAPE:
        HideEditor(false, true);
        return true;
    case VK_LEFT:
    case VK_RIGHT: {
        if (shift.Contains(ssShift) || shift.Contains(ssCtrl) ||
            !m_editor->CaretAtEdge(key == VK_LEFT))
            return false;
        break;
    }
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        break;
    case VK_TAB:
        if (!m_options.Contains(goTabs))
            return false;
        break;
    default:
        return false;
    }
    HideEditor(true, true);
    if (!alive.expired())
        NavigationKey(key, shift);
    return true;
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

} // namespace toolkit
