#include "skinned/TsLabelFX.h"

namespace skinned {

TsLabelFX::TsLabelFX(toolkit::TComponent* owner)
    : toolkit::TLabel(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, false)) {
    m_skinData->SetControlTypeCode(0);
    m_skinData->Initialise();
}

TsLabelFX::~TsLabelFX() = default;

void TsLabelFX::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built.
    if (m_skinData && m_skinData->WndProc(message))
        return;
    toolkit::TLabel::WndProc(message);
}

void TsLabelFX::Loaded() {
    toolkit::TLabel::Loaded();
    m_skinData->Initialise();
}

} // namespace skinned
