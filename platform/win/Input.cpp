// Mouse and keyboard input: raw input turned into messages, hit testing, hover and leave
// tracking, capture, the key state and the cursor. Focus and activation are in Activation.cpp.

#include "platform/win/Input.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::State;
using detail::WindowData;

namespace detail {

void ForgetWindowInInput(HWND h) {
    State& s = State::Get();
    s.input.erase(std::remove_if(s.input.begin(), s.input.end(),
                                 [&](const QueuedInput& q) { return q.msg && q.msg->hwnd == h; }),
                  s.input.end());
    if (s.trackWindow == h)
        s.trackWindow = HWND{};
    if (s.hover.window == h)
        s.hover.window = HWND{};
    if (s.lastClickWindow == h)
        s.lastClickWindow = HWND{};
}

namespace {

// Whether the mouse at a screen point is over the tracked area of h (its client area, or with
// nonClient its frame).
bool OverTrackedArea(HWND h, bool nonClient, Point screen) {
    const WindowData* w = State::Get().Find(h);
    if (!w || FindWindowAt(screen, {}) != h)
        return false;
    Point local = screen;
    ScreenToClient(h, local);
    const bool inClient =
        Rect::FromSize(0, 0, w->client.Width(), w->client.Height()).Contains(local);
    return nonClient ? !inClient : inClient;
}

} // namespace

void UpdateHover(Point screen, std::uint64_t time) {
    State& s = State::Get();
    State::Hover& hv = s.hover;
    if (!hv.window)
        return;
    if (!OverTrackedArea(hv.window, hv.nonClient, screen)) {
        hv.window = HWND{};
        return;
    }
    // Resting means staying inside the hover rectangle around the last resting point.
    if (std::abs(screen.x - hv.anchor.x) > kMouseHoverWidth / 2 ||
        std::abs(screen.y - hv.anchor.y) > kMouseHoverHeight / 2) {
        hv.anchor = screen;
        hv.due = time + hv.timeMs;
    }
}

std::optional<std::uint64_t> HoverDue() {
    const State& s = State::Get();
    return s.hover.window ? std::optional<std::uint64_t>(s.hover.due) : std::nullopt;
}

void UpdateMouseLeave(Point screen) {
    State& s = State::Get();
    if (!s.trackWindow)
        return;
    if (!s.Find(s.trackWindow)) {
        s.trackWindow = HWND{};
        return;
    }
    if (!OverTrackedArea(s.trackWindow, s.trackNonClient, screen)) {
        const HWND h = s.trackWindow;
        s.trackWindow = HWND{};
        PostMessage(h, s.trackNonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    }
}

} // namespace detail

namespace {

WPARAM MouseKeys(const State& s) {
    WPARAM k = 0;
    if (s.keyState[VK_LBUTTON] & 0x80)
        k |= MK_LBUTTON;
    if (s.keyState[VK_RBUTTON] & 0x80)
        k |= MK_RBUTTON;
    if (s.keyState[VK_MBUTTON] & 0x80)
        k |= MK_MBUTTON;
    if (s.keyState[VK_SHIFT] & 0x80)
        k |= MK_SHIFT;
    if (s.keyState[VK_CONTROL] & 0x80)
        k |= MK_CONTROL;
    return k;
}

void SetKey(State& s, int vk, bool down) {
    if (vk < 0 || vk > 255)
        return;
    if (down && !(s.keyState[vk] & 0x80))
        s.keyState[vk] ^= 0x01; // toggled on every press, as lock keys show it
    s.keyState[vk] = static_cast<std::uint8_t>((s.keyState[vk] & 0x01) | (down ? 0x80 : 0));
}

int ButtonKey(MouseButton b) {
    return b == MouseButton::Left ? VK_LBUTTON : b == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
}

UINT ButtonMessage(MouseButton b, bool down, bool nonClient) {
    UINT base = b == MouseButton::Left    ? WM_LBUTTONDOWN
                : b == MouseButton::Right ? WM_RBUTTONDOWN
                                          : WM_MBUTTONDOWN;
    if (!down)
        base += 1;
    return nonClient ? base - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN : base;
}

// The window the mouse is over and its hit-test answer; windows answering HTTRANSPARENT let the
// point through to what lies beneath.
std::pair<HWND, LRESULT> HitTest(Point screen) {
    std::vector<HWND> skip;
    for (int i = 0; i < 32; ++i) {
        const HWND h = detail::FindWindowAt(screen, skip);
        if (!h)
            return {{}, HTNOWHERE};
        const LRESULT hit = SendMessage(h, WM_NCHITTEST, 0, PointToLParam(screen));
        if (hit != HTTRANSPARENT)
            return {h, hit};
        skip.push_back(h);
    }
    return {{}, HTNOWHERE};
}

} // namespace

namespace detail {

void TranslateRawInput(QueuedInput& q) {
    State& s = State::Get();
    const RawInput& raw = q.raw;
    q.msg.reset();
    MSG m;
    m.time = static_cast<DWORD>(raw.time);
    m.pt = raw.kind == RawInput::Kind::Key || raw.kind == RawInput::Kind::Char ? s.cursor : raw.pt;

    switch (raw.kind) {
    case RawInput::Kind::Key: {
        const bool alt = (s.keyState[VK_MENU] & 0x80) || (raw.value == VK_MENU && raw.down);
        const bool wasDown = (s.keyState[raw.value & 0xFF] & 0x80) != 0;
        SetKey(s, raw.value, raw.down);
        HWND target = s.focus;
        bool sys = alt && !(s.keyState[VK_CONTROL] & 0x80);
        if (!target) {
            target = s.active;
            sys = true;
        }
        if (!target)
            return;
        m.hwnd = target;
        m.message = raw.down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
        m.wParam = static_cast<WPARAM>(raw.value);
        std::uint32_t l = 1;
        if (alt)
            l |= 1u << 29;
        if (wasDown)
            l |= 1u << 30;
        if (!raw.down)
            l |= 1u << 31 | 1u << 30;
        m.lParam = static_cast<LPARAM>(static_cast<std::int32_t>(l));
        q.msg = m;
        return;
    }
    case RawInput::Kind::Char: {
        // With Alt held (and not Ctrl, which with Alt types the third level of a layout) the
        // character is a mnemonic for the menus, not text: WM_SYSCHAR, as Alt's keys are
        // WM_SYSKEYDOWN.
        const bool alt = (s.keyState[VK_MENU] & 0x80) && !(s.keyState[VK_CONTROL] & 0x80);
        const HWND target = s.focus ? s.focus : alt ? s.active : HWND{};
        if (!target)
            return;
        m.hwnd = target;
        m.message = alt ? WM_SYSCHAR : WM_CHAR;
        m.wParam = static_cast<WPARAM>(raw.value);
        m.lParam = alt ? static_cast<LPARAM>(1 | 1 << 29) : 1;
        q.msg = m;
        return;
    }
    case RawInput::Kind::Wheel: {
        s.cursor = raw.pt;
        const HWND target = s.focus ? s.focus : s.active;
        if (!target)
            return;
        m.hwnd = target;
        m.message = WM_MOUSEWHEEL;
        m.wParam = MAKEWPARAM(static_cast<WORD>(MouseKeys(s)), static_cast<WORD>(raw.value));
        m.lParam = PointToLParam(raw.pt);
        q.msg = m;
        return;
    }
    case RawInput::Kind::Move:
    case RawInput::Kind::Button:
        break;
    }

    s.cursor = raw.pt;
    const bool isButton = raw.kind == RawInput::Kind::Button;
    if (isButton)
        SetKey(s, ButtonKey(raw.button), raw.down);
    UpdateMouseLeave(raw.pt);
    UpdateHover(raw.pt, raw.time);

    HWND target;
    LRESULT hit = HTCLIENT;
    if (s.capture && s.Find(s.capture)) {
        target = s.capture;
    } else {
        std::tie(target, hit) = HitTest(raw.pt);
        if (!target || hit == HTNOWHERE || hit == HTERROR) {
            if (hit == HTERROR && isButton && raw.down)
                MessageBeep(0);
            if (!target || hit == HTERROR)
                return;
        }
        // A disabled top-level window (one with a modal window over it) takes no mouse input;
        // a press on it brings the modal window forward instead.
        if (!IsWindowEnabled(RootOf(target))) {
            if (isButton && raw.down)
                BringModalForward(RootOf(target));
            return;
        }
    }
    const bool nonClient = hit != HTCLIENT;
    UINT msgId = isButton ? ButtonMessage(raw.button, raw.down, nonClient)
                          : (nonClient ? WM_NCMOUSEMOVE : WM_MOUSEMOVE);

    if (isButton && raw.down) {
        const std::uint64_t now = raw.time;
        WindowData* w = s.Find(target);
        const bool classWants = nonClient || (w && (w->cls->style & CS_DBLCLKS));
        const bool isDouble =
            classWants && s.lastClickWindow == target && s.lastClickMessage == msgId &&
            now - s.lastClickTime <= GetDoubleClickTime() &&
            std::abs(raw.pt.x - s.lastClickPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
            std::abs(raw.pt.y - s.lastClickPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        if (isDouble) {
            s.lastClickWindow = HWND{};
            msgId += 2; // WM_xBUTTONDOWN + 2 is the matching double click
        } else {
            s.lastClickWindow = target;
            s.lastClickMessage = msgId;
            s.lastClickTime = now;
            s.lastClickPoint = raw.pt;
        }

        if (!s.capture) {
            const HWND root = RootOf(target);
            WindowData* r = s.Find(root);
            if (r && root != s.active && !(r->exStyle & WS_EX_NOACTIVATE) &&
                HostKindOf(*r) == HostKind::Normal) {
                const LRESULT ma =
                    SendMessage(target, WM_MOUSEACTIVATE, static_cast<WPARAM>(root.Value()),
                                MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(msgId)));
                if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT)
                    Activate(root, WA_CLICKACTIVE);
                if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT)
                    return;
                if (!s.Find(target))
                    return;
            } else if (r && root == s.active && HostKindOf(*r) == HostKind::Normal) {
                // Active to us, but the host's keyboard may have gone astray (a display with
                // no window manager loses it when a window that had it goes): a click on the
                // window brings it back.
                s.backend->FocusHostWindow(root);
            }
        }
    }
    if (!s.capture && s.Find(target))
        SendMessage(target, WM_SETCURSOR, static_cast<WPARAM>(target.Value()),
                    MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(msgId)));
    if (!s.Find(target))
        return;

    m.hwnd = target;
    m.message = msgId;
    if (nonClient) {
        m.wParam = static_cast<WPARAM>(hit);
        m.lParam = PointToLParam(raw.pt);
    } else {
        Point local = raw.pt;
        ScreenToClient(target, local);
        m.wParam = MouseKeys(s);
        m.lParam = PointToLParam(local);
    }
    q.msg = m;
}

bool TakeHover(MSG& out, HWND filter, bool remove) {
    State& s = State::Get();
    const State::Hover hv = s.hover;
    if (!hv.window || hv.due > s.Now() || (filter && filter != hv.window))
        return false;
    if (!s.Find(hv.window)) {
        s.hover.window = HWND{};
        return false;
    }
    MSG m;
    m.hwnd = hv.window;
    m.time = static_cast<DWORD>(s.Now());
    m.pt = s.cursor;
    if (hv.nonClient) {
        m.message = WM_NCMOUSEHOVER;
        m.wParam = static_cast<WPARAM>(HitTest(s.cursor).second);
        m.lParam = PointToLParam(s.cursor);
    } else {
        Point local = s.cursor;
        ScreenToClient(hv.window, local);
        m.message = WM_MOUSEHOVER;
        m.wParam = MouseKeys(s);
        m.lParam = PointToLParam(local);
    }
    if (remove)
        s.hover.window = HWND{};
    out = m;
    return true;
}

} // namespace detail
// ---- capture
// --------------------------------------------------------------------------------------

HWND SetCapture(HWND h) {
    State& s = State::Get();
    if (!s.Find(h))
        return {};
    const HWND old = s.capture;
    if (old == h)
        return old;
    s.capture = h;
    s.backend->SetHostCapture(true);
    if (s.Find(old))
        SendMessage(old, WM_CAPTURECHANGED, 0, HwndParam(h));
    return old;
}

bool ReleaseCapture() {
    State& s = State::Get();
    const HWND old = s.capture;
    if (!old)
        return true;
    s.capture = HWND{};
    s.backend->SetHostCapture(false);
    if (s.Find(old))
        SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    detail::UpdateMouseLeave(s.cursor);
    return true;
}

HWND GetCapture() {
    return State::Get().capture;
}

bool TrackMouseEvent(TRACKMOUSEEVENT& tme) {
    State& s = State::Get();
    if (tme.dwFlags & TME_QUERY) {
        tme.dwFlags = s.trackWindow ? (TME_LEAVE | (s.trackNonClient ? TME_NONCLIENT : 0)) : 0;
        tme.hwndTrack = s.trackWindow;
        tme.dwHoverTime = 0;
        if (s.hover.window && (!s.trackWindow || s.hover.window == s.trackWindow)) {
            tme.dwFlags |= TME_HOVER | (s.hover.nonClient ? TME_NONCLIENT : 0);
            tme.hwndTrack = s.hover.window;
            tme.dwHoverTime = s.hover.timeMs;
        }
        return true;
    }
    if (!s.Find(tme.hwndTrack))
        return false;
    if (tme.dwFlags & TME_CANCEL) {
        const bool hover = (tme.dwFlags & TME_HOVER) != 0;
        if (s.hover.window == tme.hwndTrack && hover)
            s.hover.window = HWND{};
        if (s.trackWindow == tme.hwndTrack && (!hover || (tme.dwFlags & TME_LEAVE)))
            s.trackWindow = HWND{};
        return true;
    }
    if (tme.dwFlags & TME_HOVER) {
        State::Hover& hv = s.hover;
        hv.window = tme.hwndTrack;
        hv.nonClient = (tme.dwFlags & TME_NONCLIENT) != 0;
        hv.timeMs = tme.dwHoverTime == HOVER_DEFAULT || tme.dwHoverTime == 0 ? kMouseHoverTimeMs
                                                                             : tme.dwHoverTime;
        hv.anchor = s.cursor;
        hv.due = s.Now() + hv.timeMs;
        // Not over the area now: nothing to wait for.
        detail::UpdateHover(s.cursor, s.Now());
    }
    if (!(tme.dwFlags & TME_LEAVE))
        return true;
    s.trackWindow = tme.hwndTrack;
    s.trackNonClient = (tme.dwFlags & TME_NONCLIENT) != 0;
    // Asking while the mouse is already elsewhere gets the leave at once.
    detail::UpdateMouseLeave(s.cursor);
    return true;
}

std::int16_t GetKeyState(int vk) {
    State& s = State::Get();
    if (vk < 0 || vk > 255)
        return 0;
    const std::uint8_t k = s.keyState[vk];
    return static_cast<std::int16_t>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

std::int16_t GetAsyncKeyState(int vk) {
    return GetKeyState(vk);
}

bool GetCursorPos(Point& p) {
    p = State::Get().cursor;
    return true;
}

namespace {

void ShowCursor(State& s) {
    const Cursor shown = s.screenCursor.value_or(s.currentCursor);
    if (shown == s.shownCursor)
        return;
    s.shownCursor = shown;
    s.backend->SetCursor(shown);
}

} // namespace

void SetCursor(Cursor cursor) {
    State& s = State::Get();
    s.currentCursor = cursor;
    ShowCursor(s);
}

Cursor GetCursor() {
    return State::Get().currentCursor;
}

void SetScreenCursor(std::optional<Cursor> cursor) {
    State& s = State::Get();
    s.screenCursor = cursor;
    ShowCursor(s);
}

std::optional<Cursor> GetScreenCursor() {
    return State::Get().screenCursor;
}

} // namespace platform
