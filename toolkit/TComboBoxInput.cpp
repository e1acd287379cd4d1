// Keyboard, mouse and messages of the combo box, including the keys its text part hands on.

#include "toolkit/TComboBox.h"

#include "platform/win/Input.h"
#include "platform/win/Message.h"

namespace toolkit {
namespace {

bool Alt(TShiftState shift) {
    return shift.Contains(ssAlt);
}

} // namespace

bool TCustomComboBox::HandleKey(platform::WORD key, TShiftState shift) {
    using namespace platform;
    const bool altArrow = Alt(shift) && (key == VK_DOWN || key == VK_UP);
    // Of the Alt keys only Alt+arrow is the list's; Alt+F4 and the rest go on to the window.
    if (Alt(shift) && !altArrow)
        return false;
    if (m_droppedDown) {
        TComboListBox& list = *m_list;
        if (key == VK_RETURN || key == VK_F4 || altArrow) {
            CloseUp(true);
            return true;
        }
        if (key == VK_ESCAPE) {
            CloseUp(false);
            return true;
        }
        int target = -1;
        if (ListNavigationTarget(key, list.ItemIndex(), list.Count(), list.VisibleItemCount() - 1,
                                 target)) {
            list.SetItemIndex(target);
            return true;
        }
        return false;
    }
    if (key == VK_F4 || altArrow) {
        if (m_style == csSimple)
            return false;
        DropDown();
        return true;
    }
    // Keys a text part keeps for itself.
    if (m_edit && (key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END))
        return false;
    int target = -1;
    if (!ListNavigationTarget(key, m_itemIndex, m_items.Count(), m_dropDownCount - 1, target))
        return false;
    if (target >= 0 && (target != m_itemIndex || (m_edit && m_edit->Text() != m_items[target])))
        Choose(target, false);
    return true;
}

bool TCustomComboBox::HandleChar(char32_t key) {
    if (m_edit || key <= 0x20)
        return false;
    if (m_droppedDown) {
        const int target = m_list->Items().NextStartingWith(key, m_list->ItemIndex());
        if (target >= 0)
            m_list->SetItemIndex(target);
        return true;
    }
    const int target = m_items.NextStartingWith(key, m_itemIndex);
    if (target >= 0 && target != m_itemIndex)
        Choose(target, false);
    return true;
}

bool TCustomComboBox::TextPartMessage(TMessage& m) {
    using namespace platform;
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (m_droppedDown ? DLGC_WANTALLKEYS : 0);
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const auto key = static_cast<WORD>(m.WParam);
        const TShiftState shift = CurrentShiftState();
        if (OnKeyDown) {
            WORD k = key;
            Fire(OnKeyDown, this, k, shift);
            if (k == 0)
                return true;
        }
        return HandleKey(key, shift);
    }
    case WM_KILLFOCUS:
        if (HwndFromParam(m.WParam) != HandleIfAllocated())
            CloseUp(false);
        Invalidate();
        return false;
    case WM_SETFOCUS:
        Invalidate();
        return false;
    default:
        return false;
    }
}

void TCustomComboBox::WndProc(TMessage& m) {
    using namespace platform;
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (m_droppedDown ? DLGC_WANTALLKEYS : 0);
        return;
    case WM_SETFOCUS:
        TCustomControl::WndProc(m);
        // The text part is where typing goes.
        if (m_edit && m_edit->CanFocus())
            m_edit->SetFocus();
        Invalidate();
        return;
    case WM_KILLFOCUS:
        if (!m_edit)
            CloseUp(false);
        Invalidate();
        break;
    case WM_MOUSEWHEEL:
        if (m_droppedDown && m_list) {
            SendMessage(m_list->Handle(), m.Msg, m.WParam, m.LParam);
            return;
        }
        break;
    case CM_FONTCHANGED:
        TCustomControl::WndProc(m);
        SetBounds(Left(), Top(), Width(), m_simpleHeight);
        return;
    case CM_ENABLEDCHANGED:
        if (!Enabled())
            CloseUp(false);
        if (m_edit)
            m_edit->SetEnabled(Enabled());
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

bool TCustomComboBox::DoKeyDown(platform::WORD& key, TShiftState shift) {
    if (TCustomControl::DoKeyDown(key, shift))
        return true;
    return HandleKey(key, shift);
}

bool TCustomComboBox::DoKeyPress(char32_t& key) {
    if (TCustomControl::DoKeyPress(key))
        return true;
    return HandleChar(key);
}

void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !HasFocus())
            SetFocus();
        const bool onButton = ButtonRect().Contains({x, y});
        if (onButton || ListOnly()) {
            m_buttonDown = true;
            DropDown();
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomComboBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && m_buttonDown && !m_droppedDown) {
        m_buttonDown = false;
        Invalidate();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

} // namespace toolkit
