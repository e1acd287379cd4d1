#include "skinned/TsMemo.h"

namespace skinned {

TsMemo::TsMemo(toolkit::TComponent* owner)
    : toolkit::TMemo(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, true)) {
    m_skinData->SetControlTypeCode(skin::kTypeMemo);
    m_skinData->Initialise();
}

TsMemo::~TsMemo() = default;

void TsMemo::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built.
    if (m_skinData && m_skinData->WndProc(message))
        return;
    toolkit::TMemo::WndProc(message);
}

void TsMemo::Loaded() {
    toolkit::TMemo::Loaded();
    m_skinData->Initialise();
}

} // namespace skinned
