#pragma once
// The base of push buttons. It carries what the dialog keys need:
// - Default: the button answers Enter anywhere on its form, unless the focus is on another
//   button (then that one is the active one for Enter);
// - Cancel: the button answers Esc anywhere on its form;
// - ModalResult: clicking the button sets its form's ModalResult, which ends ShowModal when it
//   is not mrNone.
// Enter and Esc arrive as CM_DIALOGKEY broadcast by the form; the button clicks only when it can
// take the focus (visible and enabled up to the form) and no Shift, Ctrl or Alt is held. The
// button keeps track of which button is active through CM_FOCUSCHANGED.

#include "toolkit/TForm.h"
#include "toolkit/TWinControl.h"

namespace toolkit {

class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* owner);

    std::string ClassName() const override { return "TButtonControl"; }

    bool Default() const { return m_default; }
    void SetDefault(bool on);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool on) { m_cancel = on; }
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult result) { m_modalResult = result; }
    // Whether Enter would press this button now.
    bool Active() const { return m_active; }

    void Click() override;
    void WndProc(TMessage& message) override;

private:
    bool m_default = false;
    bool m_cancel = false;
    bool m_active = false;
    TModalResult m_modalResult = mrNone;
};

} // namespace toolkit
