#include "skinned/TsMemo.h"

namespace skinned {

TsMemo::TsMemo(toolkit::TComponent* owner)
    : toolkit::TMemo(owner), m_skin(std::make_unique<TsEditSkin>(*this, skin::kTypeMemo, false)) {
    m_skin->Data().Initialise();
}

// The skin goes first: nothing may reach it while the memo part is taken apart.
TsMemo::~TsMemo() {
    m_skin.reset();
}

void TsMemo::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built or already taken apart.
    if (!m_skin) {
        toolkit::TMemo::WndProc(message);
        return;
    }
    if (m_skin->Before(message))
        return;
    // A handler run by the memo may free it.
    const std::weak_ptr<const bool> alive = LifeToken();
    toolkit::TMemo::WndProc(message);
    if (!alive.expired())
        m_skin->After(message);
}

void TsMemo::Loaded() {
    toolkit::TMemo::Loaded();
    m_skin->Data().Initialise();
}

} // namespace skinned
