#include "skinned/TsBitBtn.h"

namespace skinned {

TsBitBtn::TsBitBtn(toolkit::TComponent* owner)
    : toolkit::TBitBtn(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, true)) {
    m_skinData->SetControlTypeCode(skin::kTypeBitBtn);
    m_skinData->Initialise();
}

TsBitBtn::~TsBitBtn() = default;

void TsBitBtn::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built.
    if (m_skinData && m_skinData->WndProc(message))
        return;
    toolkit::TBitBtn::WndProc(message);
}

void TsBitBtn::Loaded() {
    toolkit::TBitBtn::Loaded();
    m_skinData->Initialise();
}

} // namespace skinned
