// The grid's in-place editor: showing it over the current cell, placing it, taking its text
// back, and the keys it hands to the grid.

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "toolkit/TCustomGrid.h"

namespace toolkit {

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

} // namespace toolkit
