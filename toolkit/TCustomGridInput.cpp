// The grid's keys, mouse and messages: moving the current cell, range selection, sizing columns
// and rows with the mouse, the wheel and the scroll bars' messages.

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/ScrollBar.h"
#include "toolkit/TCustomGrid.h"

namespace toolkit {
namespace {

constexpr platform::WORD kF2 = 0x71;
constexpr int kWheelRows = 3;

} // namespace

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

} // namespace toolkit
