// The desktop's primary selection: what the user selects is offered there, and a middle click
// pastes it where it lands.

#include "toolkit/TCustomEdit.h"

#include "platform/gfx/text/Utf8.h"
#include "platform/win/Clipboard.h"

namespace toolkit {

void TCustomEdit::OfferPrimarySelection() const {
    // A password never leaves the edit, not even by selecting it.
    if (HasSelection() && !m_passwordChar)
        platform::SetPrimarySelectionText(SelText());
}

void TCustomEdit::PastePrimarySelection(platform::Point client) {
    if (!CanEdit())
        return;
    // Read before the caret moves: the selection may be this edit's own.
    const std::u32string text = platform::Utf8ToUtf32(platform::GetPrimarySelectionText());
    if (text.empty())
        return;
    const std::weak_ptr<const bool> alive = LifeToken();
    if (!Focused() && CanFocus())
        SetFocus();
    if (alive.expired())
        return;
    SetCaretPos(PosAtPoint(client));
    UserReplace(text);
}

} // namespace toolkit
