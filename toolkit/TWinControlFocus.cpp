// Focus, tab order and keys of a windowed control.

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/TForm.h"
#include "toolkit/TWinControl.h"

namespace toolkit {

int TWinControl::TabOrder() const {
    if (!Parent())
        return -1;
    const auto& list = Parent()->m_tabList;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent())
        return;
    auto& list = Parent()->m_tabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool on) {
    if (on == m_tabStop)
        return;
    m_tabStop = on;
    if (m_handle) {
        platform::LONG_PTR style = platform::GetWindowLongPtr(m_handle, platform::GWL_STYLE);
        style = on ? (style | platform::WS_TABSTOP)
                   : (style & ~platform::LONG_PTR{platform::WS_TABSTOP});
        platform::SetWindowLongPtr(m_handle, platform::GWL_STYLE, style);
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

bool TWinControl::CanFocus() const {
    TCustomForm* form = ParentForm();
    if (!form)
        return false;
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const {
    return m_handle && platform::WindowSystem::Running() && platform::GetFocus() == m_handle;
}

void TWinControl::SetFocus() {
    TCustomForm* form = ParentForm();
    if (form && form != this) {
        form->FocusControl(this);
        return;
    }
    platform::SetFocus(Handle());
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : m_tabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward,
                                          bool checkTabStop) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    const int n = static_cast<int>(list.size());
    if (n == 0)
        return nullptr;
    const auto it = std::find(list.begin(), list.end(), current);
    int start = it == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
    for (int step = 1; step <= n; ++step) {
        const int i = goForward ? (start + step) % n : ((start - step) % n + n) % n;
        TWinControl* c = list[static_cast<std::size_t>(i)];
        if (c == current)
            continue;
        if ((!checkTabStop || c->TabStop()) && c->CanFocus())
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop))
        next->SetFocus();
}

// ---- keys -----------------------------------------------------------------------------------

bool TWinControl::DoKeyDown(platform::WORD& key, TShiftState shift) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(key, shift))
        return true;
    Fire(OnKeyDown, this, key, shift);
    return key == 0;
}

bool TWinControl::DoKeyUp(platform::WORD& key, TShiftState shift) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(key, shift))
        return true;
    Fire(OnKeyUp, this, key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(char32_t& key) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(key))
        return true;
    Fire(OnKeyPress, this, key);
    return key == 0;
}

bool TWinControl::WantsKey(platform::WORD key) {
    LRESULT mask = 0;
    if (key == platform::VK_TAB)
        mask = DLGC_WANTTAB;
    else if (key == platform::VK_RETURN || key == platform::VK_ESCAPE)
        mask = DLGC_WANTALLKEYS;
    else
        return true;
    if (Perform(CM_WANTSPECIALKEY, key, 0) != 0)
        return true;
    return (Perform(platform::WM_GETDLGCODE, 0, 0) & mask) != 0;
}

} // namespace toolkit
