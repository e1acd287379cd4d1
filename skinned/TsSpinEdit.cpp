#include "skinned/TsSpinEdit.h"

#include "platform/win/WinDefs.h"

namespace skinned {

TsBaseSpinEdit::TsBaseSpinEdit(toolkit::TComponent* owner)
    : toolkit::TSpinEdit(owner, toolkit::SpinCharFilter::Skinned),
      m_skinData(std::make_unique<skin::TsCommonData>(this, true)) {
    m_skinData->SetControlTypeCode(skin::kTypeEdit);
    m_skinData->Initialise();
}

TsBaseSpinEdit::~TsBaseSpinEdit() = default;

void TsBaseSpinEdit::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built.
    if (m_skinData && m_skinData->WndProc(message))
        return;
    if (message.Msg == platform::WM_MOUSEWHEEL) {
        Wheel(platform::GET_WHEEL_DELTA_WPARAM(message.WParam));
        message.Result = 1;
        return;
    }
    toolkit::TSpinEdit::WndProc(message);
}

void TsBaseSpinEdit::Loaded() {
    toolkit::TSpinEdit::Loaded();
    m_skinData->Initialise();
}

} // namespace skinned
