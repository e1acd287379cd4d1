#include "skinned/TsComboBox.h"

namespace skinned {

TsComboBox::TsComboBox(toolkit::TComponent* owner)
    : toolkit::TComboBox(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, true)) {
    m_skinData->SetControlTypeCode(skin::kTypeEdit);
    m_skinData->Initialise();
}

TsComboBox::~TsComboBox() = default;

void TsComboBox::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built.
    if (m_skinData && m_skinData->WndProc(message))
        return;
    toolkit::TComboBox::WndProc(message);
}

void TsComboBox::Loaded() {
    toolkit::TComboBox::Loaded();
    m_skinData->Initialise();
}

} // namespace skinned
