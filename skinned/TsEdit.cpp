#include "skinned/TsEdit.h"

namespace skinned {

TsEdit::TsEdit(toolkit::TComponent* owner)
    : toolkit::TEdit(owner), m_skin(std::make_unique<TsEditSkin>(*this, skin::kTypeEdit, true)) {
    m_skin->Data().Initialise();
}

// The skin goes first: nothing may reach it while the edit part is taken apart.
TsEdit::~TsEdit() {
    m_skin.reset();
}

void TsEdit::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built or already taken apart.
    if (!m_skin) {
        toolkit::TEdit::WndProc(message);
        return;
    }
    if (m_skin->Before(message))
        return;
    // A handler run by the edit may free it.
    const std::weak_ptr<const bool> alive = LifeToken();
    toolkit::TEdit::WndProc(message);
    if (!alive.expired())
        m_skin->After(message);
}

void TsEdit::Loaded() {
    toolkit::TEdit::Loaded();
    m_skin->Data().Initialise();
}

} // namespace skinned
