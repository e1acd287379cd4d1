#include "skinned/TsSpinEdit.h"

#include "platform/win/WinDefs.h"

namespace skinned {

TsBaseSpinEdit::TsBaseSpinEdit(toolkit::TComponent* owner)
    : toolkit::TSpinEdit(owner, toolkit::SpinCharFilter::Skinned) {}

void TsBaseSpinEdit::WndProc(toolkit::TMessage& message) {
    if (message.Msg == platform::WM_MOUSEWHEEL) {
        Wheel(platform::GET_WHEEL_DELTA_WPARAM(message.WParam));
        message.Result = 1;
        return;
    }
    toolkit::TSpinEdit::WndProc(message);
}

} // namespace skinned
