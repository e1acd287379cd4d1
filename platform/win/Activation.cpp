// Focus and activation: which top-level window is active, which window has the keyboard focus,
// and the messages and hooks that go with changing them. Mouse and keyboard input are in
// Input.cpp.

#include <vector>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::State;
using detail::WindowData;

namespace detail {

namespace {

// Activation passing between our windows and another program's: every top-level window of ours
// hears of it (the other side's thread is not known here: 0).
void BroadcastActivateApp(bool active) {
    State& s = State::Get();
    for (const HWND t : std::vector<HWND>(s.topLevel)) {
        const WindowData* w = s.Find(t);
        if (w && !w->destroying)
            SendMessage(t, WM_ACTIVATEAPP, active ? 1 : 0, 0);
    }
}

} // namespace

bool Activate(HWND h, WORD how) {
    State& s = State::Get();
    if (h)
        h = RootOf(h);
    if (h == s.active)
        return true;
    if (h) {
        CBTACTIVATESTRUCT cbt{how == WA_CLICKACTIVE, s.active};
        if (CallHooks(WH_CBT, HCBT_ACTIVATE, static_cast<WPARAM>(h.Value()),
                      reinterpret_cast<LPARAM>(&cbt)) != 0)
            return false;
        if (!s.Find(h))
            return false;
    }
    const HWND old = s.active;
    s.active = h;
    if (s.Find(old)) {
        SendMessage(old, WM_NCACTIVATE, 0, 0);
        SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0), HwndParam(h));
    }
    if (old && !h && !s.active && s.appActive) {
        s.appActive = false;
        BroadcastActivateApp(false);
    }
    if (s.focus && (!h || !IsDescendantOrSelf(h, s.focus))) {
        const HWND lost = s.focus;
        s.focus = HWND{};
        SendMessage(lost, WM_KILLFOCUS, 0, 0);
    }
    if (!h || s.active != h || !s.Find(h))
        return s.active == h;
    if (IsWindowVisible(h)) {
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (s.Find(h)) {
            s.backend->RaiseHostWindow(h);
            s.backend->FocusHostWindow(h);
        }
    }
    if (!s.Find(h))
        return false;
    if (!s.appActive) {
        s.appActive = true;
        BroadcastActivateApp(true);
        if (s.active != h || !s.Find(h))
            return s.active == h;
    }
    SendMessage(h, WM_NCACTIVATE, 1, 0);
    SendMessage(h, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(h) ? 1 : 0), HwndParam(old));
    return true;
}

namespace {

bool Owns(State& s, HWND owner, HWND h) {
    for (WindowData* w = s.Find(h); w && w->owner; w = s.Find(w->owner))
        if (w->owner == owner)
            return true;
    return false;
}

bool CanTakeActivation(State& s, HWND h) {
    const WindowData* w = s.Find(h);
    return w && (w->style & WS_VISIBLE) && !(w->style & (WS_DISABLED | WS_MINIMIZE)) &&
           !(w->exStyle & WS_EX_NOACTIVATE) && HostKindOf(*w) == HostKind::Normal;
}

} // namespace

bool BringModalForward(HWND disabled) {
    State& s = State::Get();
    HWND modal;
    for (const HWND t : s.topLevel)
        if (CanTakeActivation(s, t) && Owns(s, disabled, t)) {
            modal = t;
            break;
        }
    if (!modal)
        for (const HWND t : s.topLevel)
            if (t != disabled && CanTakeActivation(s, t)) {
                modal = t;
                break;
            }
    if (!modal)
        return false;
    if (s.active != modal)
        return Activate(modal, WA_CLICKACTIVE);
    // Already ours to the program, but the host may have put another window in front of it.
    SetWindowPos(modal, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (s.Find(modal)) {
        s.backend->RaiseHostWindow(modal);
        s.backend->FocusHostWindow(modal);
    }
    return true;
}

} // namespace detail

HWND SetFocus(HWND h) {
    State& s = State::Get();
    if (h) {
        if (!s.Find(h))
            return {};
        const HWND root = detail::RootOf(h);
        if (root != s.active && !detail::Activate(root, WA_ACTIVE))
            return {};
        if (!s.Find(h))
            return {};
        if (detail::CallHooks(WH_CBT, HCBT_SETFOCUS, static_cast<WPARAM>(h.Value()),
                              HwndParam(s.focus)) != 0)
            return {};
    }
    const HWND before = s.focus;
    if (before == h)
        return before;
    s.focus = h;
    if (s.Find(before))
        SendMessage(before, WM_KILLFOCUS, static_cast<WPARAM>(h.Value()), 0);
    if (h && s.focus == h && s.Find(h))
        SendMessage(h, WM_SETFOCUS, static_cast<WPARAM>(before.Value()), 0);
    return before;
}

HWND GetFocus() {
    return State::Get().focus;
}

HWND SetActiveWindow(HWND h) {
    State& s = State::Get();
    const HWND old = s.active;
    if (h && !s.Find(h))
        return {};
    if (!detail::Activate(h, WA_ACTIVE))
        return {};
    return old;
}

HWND GetActiveWindow() {
    return State::Get().active;
}
bool SetForegroundWindow(HWND h) {
    return IsWindow(h) && detail::Activate(h, WA_ACTIVE);
}
HWND GetForegroundWindow() {
    return State::Get().active;
}

} // namespace platform
