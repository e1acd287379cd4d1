#include "skinned/TsMemo.h"

#include "platform/win/Window.h"
#include "skin/sSkinManager.h"
#include "skinned/TacScrollWnd.h"

namespace skinned {

TsMemo::TsMemo(toolkit::TComponent* owner)
    : toolkit::TMemo(owner), m_skin(std::make_unique<TsEditSkin>(*this, skin::kTypeMemo, false)) {
    m_skin->Data().Initialise();
}

// The adapter and the skin go first: nothing may reach them while the memo part is taken apart.
TsMemo::~TsMemo() {
    m_scrollWnd.reset();
    m_skin.reset();
}

void TsMemo::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built or already taken apart.
    if (!m_skin) {
        toolkit::TMemo::WndProc(message);
        return;
    }
    if (m_skin->Before(message)) {
        FollowForScrollWnd(message);
        return;
    }
    // A handler run by the memo may free it.
    const std::weak_ptr<const bool> alive = LifeToken();
    toolkit::TMemo::WndProc(message);
    if (alive.expired())
        return;
    m_skin->After(message);
    if (!alive.expired() && m_skin)
        FollowForScrollWnd(message);
}

void TsMemo::FollowForScrollWnd(const toolkit::TMessage& message) {
    switch (message.Msg) {
    case toolkit::kLibraryCommandMessage:
        switch (skin::CommandOf(message.WParam)) {
        case skin::kCmdNewSkin:
        case skin::kCmdSkinRemoved:
        case skin::kCmdRefresh:
            if (m_scrollWnd)
                m_scrollWnd->SkinChanged();
            SyncScrollWnd();
            break;
        default:
            break;
        }
        break;
    case platform::WM_SHOWWINDOW:
    case platform::WM_WINDOWPOSCHANGED:
        SyncScrollWnd();
        break;
    default:
        break;
    }
}

void TsMemo::Loaded() {
    toolkit::TMemo::Loaded();
    m_skin->Data().Initialise();
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
    if (m_syncing)
        return;
    m_syncing = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_syncing};
    const platform::HWND h = HandleIfAllocated();
    const bool visible =
        h && (platform::GetWindowLongPtr(h, platform::GWL_STYLE) & platform::WS_VISIBLE) != 0;
    skin::TsSkinManager* manager = m_skin->Data().SkinManager();
    const bool skinned =
        m_skin->Data().Skinned() && manager && manager->SkinData().Active && !IsDestroying();
    // A window made again needs a new adapter; one gone with its window is dropped.
    const bool had = m_scrollWnd != nullptr;
    if (m_scrollWnd && (!m_scrollWnd->Attached() || m_scrollWnd->Handle() != h || !skinned))
        m_scrollWnd.reset();
    if (!m_scrollWnd && skinned && visible)
        m_scrollWnd = std::make_unique<TacEditWnd>(h, &m_skin->Data(), nullptr);
    if (had != (m_scrollWnd != nullptr) && h)
        RefreshScrollBars();
}

} // namespace skinned
