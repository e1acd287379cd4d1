#include "toolkit/TButtonControl.h"

#include "platform/win/WinDefs.h"

namespace toolkit {

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
}

void TButtonControl::SetDefault(bool on) {
    m_default = on;
    m_active = on;
    if (TCustomForm* form = ParentForm()) {
        TWinControl* focused = form->ActiveControl();
        if (focused && dynamic_cast<TButtonControl*>(focused))
            m_active = focused == this;
    }
}

void TButtonControl::Click() {
    if (TCustomForm* form = ParentForm())
        form->SetModalResult(m_modalResult);
    TWinControl::Click();
}

void TButtonControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_DIALOGKEY: {
        const bool enter = m.WParam == platform::VK_RETURN && m_active;
        const bool escape = m.WParam == platform::VK_ESCAPE && m_cancel;
        if ((enter || escape) && CurrentShiftState().Empty() && CanFocus()) {
            m.Result = 1;
            Click();
        }
        return;
    }
    case CM_FOCUSCHANGED: {
        TControl* sender = ControlFromParam(m.LParam);
        const bool wasActive = m_active;
        if (dynamic_cast<TButtonControl*>(sender))
            m_active = sender == this;
        else
            m_active = m_default;
        // The button Enter presses looks different (its frame, a skin's hot face).
        if (m_active != wasActive)
            Invalidate();
        return;
    }
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONDBLCLK:
        // A pressed button takes the focus, as the platform's buttons do.
        if (CanFocus() && !Focused())
            SetFocus();
        break;
    case platform::WM_GETDLGCODE:
        m.Result = m_active ? DLGC_DEFPUSHBUTTON | DLGC_BUTTON : DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON;
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

} // namespace toolkit
