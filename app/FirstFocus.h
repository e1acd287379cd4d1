#pragma once
// A window that becomes active with no control chosen to hold the focus gives it to its first
// control in tab order, so the keyboard works at once (typing, Tab, Enter, Esc).

#include "toolkit/TForm.h"

namespace app {

// Call after the form has handled WM_ACTIVATE.
void FocusFirstControlOnActivate(toolkit::TCustomForm& form, const toolkit::TMessage& message);

} // namespace app
