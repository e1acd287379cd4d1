#include "skinned/TsSpinEdit.h"

#include "platform/win/WinDefs.h"

namespace skinned {

TsBaseSpinEdit::TsBaseSpinEdit(toolkit::TComponent* owner)
    : TacSkinnedControl(owner, {skin::kTypeEdit}, toolkit::SpinCharFilter::Skinned) {}

void TsBaseSpinEdit::SkinnedWndProc(toolkit::TMessage& message) {
    if (message.Msg == platform::WM_MOUSEWHEEL) {
        Wheel(platform::GET_WHEEL_DELTA_WPARAM(message.WParam));
        message.Result = 1;
        return;
    }
    TacSkinnedControl::SkinnedWndProc(message);
}

} // namespace skinned
