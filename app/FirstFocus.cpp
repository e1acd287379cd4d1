#include "app/FirstFocus.h"

#include "platform/win/WinDefs.h"

namespace app {

void FocusFirstControlOnActivate(toolkit::TCustomForm& form, const toolkit::TMessage& message) {
    if (message.Msg != platform::WM_ACTIVATE ||
        platform::LOWORD(message.WParam) == platform::WA_INACTIVE || form.ActiveControl())
        return;
    if (toolkit::TWinControl* first = form.FindNextControl(nullptr, true, true))
        if (first->CanFocus())
            form.FocusControl(first);
}

} // namespace app
