#include "skinned/TsPanel.h"

namespace skinned {

TsPanel::TsPanel(toolkit::TComponent* owner)
    : toolkit::TPanel(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, true)) {
    m_skinData->SetControlTypeCode(skin::kTypePanel);
    m_skinData->Initialise();
}

TsPanel::~TsPanel() = default;

void TsPanel::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built.
    if (m_skinData && m_skinData->WndProc(message))
        return;
    toolkit::TPanel::WndProc(message);
}

void TsPanel::Loaded() {
    toolkit::TPanel::Loaded();
    m_skinData->Initialise();
}

} // namespace skinned
