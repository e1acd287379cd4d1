#include "skinned/TsSpeedButton.h"

namespace skinned {

TsSpeedButton::TsSpeedButton(toolkit::TComponent* owner)
    : toolkit::TSpeedButton(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, true)) {
    m_skinData->SetControlTypeCode(skin::kTypeSpeedButton);
    m_skinData->Initialise();
}

TsSpeedButton::~TsSpeedButton() = default;

void TsSpeedButton::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built.
    if (m_skinData && m_skinData->WndProc(message))
        return;
    toolkit::TSpeedButton::WndProc(message);
}

void TsSpeedButton::Loaded() {
    toolkit::TSpeedButton::Loaded();
    m_skinData->Initialise();
}

} // namespace skinned
