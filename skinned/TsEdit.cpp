#include "skinned/TsEdit.h"

namespace skinned {

TsEdit::TsEdit(toolkit::TComponent* owner)
    : TacSkinnedControl(owner, {skin::kTypeEdit}),
      m_skin(std::make_unique<TsEditSkin>(*this, SkinData(), TsEditSkin::Kind::SingleLine)) {}

// The edit's skinning goes before the skin state it uses.
TsEdit::~TsEdit() {
    m_skin.reset();
}

void TsEdit::SkinCommand(toolkit::TMessage& message) {
    if (m_skin)
        m_skin->Command(message);
    else
        TacSkinnedControl::SkinCommand(message);
}

void TsEdit::SkinnedWndProc(toolkit::TMessage& message) {
    if (!m_skin) {
        TacSkinnedControl::SkinnedWndProc(message);
        return;
    }
    PassThroughEditSkin(m_skin, *this, message,
                        [this](toolkit::TMessage& m) { TacSkinnedControl::SkinnedWndProc(m); });
}

} // namespace skinned
