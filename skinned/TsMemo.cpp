#include "skinned/TsMemo.h"

#include "platform/gfx/text/Utf8.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Window.h"
#include "skin/sSkinManager.h"
#include "skinned/TacScrollWnd.h"

namespace skinned {

namespace {

// Latin, Latin-1 and Cyrillic letters: the scripts the program's texts are written in.
char32_t InCase(char32_t c, TEditCharCase charCase) {
    const bool upper = charCase == TEditCharCase::ecUpperCase;
    if (charCase == TEditCharCase::ecNormal)
        return c;
    const auto shift = [&](char32_t lowFirst, char32_t lowLast, char32_t distance) -> char32_t {
        if (upper && c >= lowFirst && c <= lowLast)
            return static_cast<char32_t>(c - distance);
        if (!upper && c >= lowFirst - distance && c <= lowLast - distance)
            return static_cast<char32_t>(c + distance);
        return c;
    };
    if (c < 0x80)
        return shift(U'a', U'z', 0x20);
    if (c < 0x100) // the multiplication and division signs and sharp s have no other case
        return c == 0xD7 || c == 0xF7 || c == 0xDF ? c : shift(0xE0, 0xFE, 0x20);
    if (c < 0x410 || (c >= 0x450 && c < 0x460))
        return shift(0x450, 0x45F, 0x50);
    return shift(0x430, 0x44F, 0x20);
}

std::u32string InCase(std::u32string text, TEditCharCase charCase) {
    for (char32_t& c : text)
        c = InCase(c, charCase);
    return text;
}

} // namespace

TsMemo::TsMemo(toolkit::TComponent* owner)
    : TacSkinnedControl(owner, {skin::kTypeMemo}),
      m_skin(std::make_unique<TsEditSkin>(*this, SkinData(), TsEditSkin::Kind::Memo)) {}

// The adapter and the memo's skinning go before the skin state they use.
TsMemo::~TsMemo() {
    m_scrollWnd.reset();
    m_skin.reset();
}

void TsMemo::SetCharCase(TEditCharCase charCase) {
    if (charCase == m_charCase)
        return;
    m_charCase = charCase;
    if (charCase == TEditCharCase::ecNormal)
        return;
    const std::string text = platform::Utf32ToUtf8(InCase(platform::Utf8ToUtf32(Text()), charCase));
    if (text != Text())
        SetText(text);
}

void TsMemo::KeyPress(char32_t& key) {
    key = InCase(key, m_charCase);
    TacSkinnedControl::KeyPress(key);
}

void TsMemo::PasteFromClipboard() {
    if (m_charCase == TEditCharCase::ecNormal) {
        TacSkinnedControl::PasteFromClipboard();
        return;
    }
    const std::u32string text = platform::Utf8ToUtf32(platform::GetClipboardText());
    if (!text.empty() || HasSelection())
        UserReplace(InCase(text, m_charCase));
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
    case toolkit::EM_SCROLLCARET:
        toolkit::Fire(OnScrollCaret, this);
        break;
    case platform::WM_VSCROLL:
        toolkit::Fire(OnVScroll, this);
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
