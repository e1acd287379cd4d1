#include "skinned/TsMemo.h"

#include "platform/win/Window.h"
#include "skin/sSkinManager.h"
#include "skinned/TacScrollWnd.h"

namespace skinned {

TsMemo::TsMemo(toolkit::TComponent* owner)
    : TacSkinnedControl(owner, {skin::kTypeMemo}),
      m_skin(std::make_unique<TsEditSkin>(*this, SkinData(), TsEditSkin::Kind::Memo)) {}

// The adapter and the memo's skinning go before the skin state they use.
TsMemo::~TsMemo() {
    m_scrollWnd.reset();
    m_skin.reset();
}

void TsMemo::SkinCommand(toolkit::TMessage& message) {
    if (!m_skin) {
        TacSkinnedControl::SkinCommand(message);
        return;
    }
    m_skin->Command(message);
    switch (skin::CommandOf(message.WParam)) {
    case skin::kCmdNewSkin:
    case skin::kCmdSkinRemoved:
    case skin::kCmdRefresh:
        // The bars are painted afresh from the new skin.
        if (m_scrollWnd)
            m_scrollWnd->SkinChanged();
        SyncScrollWnd();
        break;
    default:
        break;
    }
}

void TsMemo::SkinnedWndProc(toolkit::TMessage& message) {
    if (!m_skin) {
        TacSkinnedControl::SkinnedWndProc(message);
        return;
    }
    if (!PassThroughEditSkin(m_skin, *this, message, [this](toolkit::TMessage& m) {
            TacSkinnedControl::SkinnedWndProc(m);
        }))
        return;
    switch (message.Msg) {
    case platform::WM_SHOWWINDOW:
    case platform::WM_WINDOWPOSCHANGED:
        SyncScrollWnd();
        break;
    default:
        break;
    }
}

void TsMemo::CreateWnd() {
    toolkit::TMemo::CreateWnd();
    SyncScrollWnd();
}

void TsMemo::ScrollBarsChanged() {
    // The edit has its frame repainted already; while the thumb is dragged it is repainted at
    // each step all the same.
    if (m_scrollWnd && m_scrollWnd->Attached())
        m_scrollWnd->ReadBars();
}

void TsMemo::SyncScrollWnd() {
    // Making the adapter re-measures the frame, which comes back here.
    if (m_syncing || !m_skin)
        return;
    m_syncing = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_syncing};
    skin::TsCommonData& data = SkinData();
    const platform::HWND h = HandleIfAllocated();
    const bool visible =
        h && (platform::GetWindowLongPtr(h, platform::GWL_STYLE) & platform::WS_VISIBLE) != 0;
    skin::TsSkinManager* manager = data.SkinManager();
    const bool skinned = data.Skinned() && manager && manager->SkinData().Active && !IsDestroying();
    // A window made again needs a new adapter; one gone with its window is dropped.
    const bool had = m_scrollWnd != nullptr;
    if (m_scrollWnd && (!m_scrollWnd->Attached() || m_scrollWnd->Handle() != h || !skinned))
        m_scrollWnd.reset();
    if (!m_scrollWnd && skinned && visible)
        m_scrollWnd = std::make_unique<TacEditWnd>(h, &data, nullptr);
    if (had != (m_scrollWnd != nullptr) && h)
        RefreshScrollBars();
}

} // namespace skinned
