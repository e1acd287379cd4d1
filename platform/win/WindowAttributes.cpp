// What a window carries besides its place: the longs (styles, id, user data, owner), its
// procedure, named properties, layered attributes and its text.

#include "platform/win/Window.h"

#include "platform/win/DefWindowProc.h"
#include "platform/win/Message.h"
#include "platform/win/WindowState.h"

namespace platform {

using namespace detail;

// ---- longs, procedures, properties, text -----------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND h, int index) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(w->exStyle);
    case GWL_ID:
        return w->id;
    case GWL_USERDATA:
        return w->userData;
    case GWL_HWNDPARENT:
        return HwndParam(w->parent ? w->parent : w->owner);
    default:
        if (index >= 0 && index % static_cast<int>(sizeof(LONG_PTR)) == 0 &&
            static_cast<std::size_t>(index) / sizeof(LONG_PTR) < w->extra.size())
            return w->extra[static_cast<std::size_t>(index) / sizeof(LONG_PTR)];
        return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND h, int index, LONG_PTR value) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return 0;
    LONG_PTR old = GetWindowLongPtr(h, index);
    switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        STYLESTRUCT ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
        SendMessage(h, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        if (!(w = s.Find(h)))
            return 0;
        if (index == GWL_STYLE) {
            // Visibility is ShowWindow's to change: the bit changes without messages here.
            w->style = ss.styleNew;
        } else {
            w->exStyle = ss.styleNew;
        }
        SendMessage(h, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        if (IsWindowVisible(h))
            UpdateHostFrame(h);
        return old;
    }
    case GWL_ID:
        w->id = value;
        return old;
    case GWL_USERDATA:
        w->userData = value;
        return old;
    case GWL_HWNDPARENT:
        if (!w->parent) {
            const HWND owner = RootOf(HwndFromParam(static_cast<std::uintmax_t>(value)));
            // A window never owns itself, nor one of its owners (a loop of owners).
            for (HWND o = owner; o; o = s.Find(o) ? s.Find(o)->owner : HWND{})
                if (o == h)
                    return 0;
            w->owner = owner;
            if (IsWindowVisible(h))
                UpdateHostFrame(h);
        }
        return old;
    default:
        if (index >= 0 && index % static_cast<int>(sizeof(LONG_PTR)) == 0 &&
            static_cast<std::size_t>(index) / sizeof(LONG_PTR) < w->extra.size()) {
            w->extra[static_cast<std::size_t>(index) / sizeof(LONG_PTR)] = value;
            return old;
        }
        return 0;
    }
}

WNDPROC SetWindowLongPtr(HWND h, int index, WNDPROC proc) {
    return index == GWL_WNDPROC ? SetWindowProc(h, std::move(proc)) : WNDPROC{};
}

WNDPROC GetWindowProc(HWND h) {
    WindowData* w = State::Get().Find(h);
    return w ? w->proc : WNDPROC{};
}

WNDPROC SetWindowProc(HWND h, WNDPROC proc) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return {};
    WNDPROC old = w->proc;
    w->proc = std::move(proc);
    return old;
}

LRESULT CallWindowProc(const WNDPROC& proc, HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc)
        return DefWindowProc(h, msg, wParam, lParam);
    return proc(h, msg, wParam, lParam);
}

bool SetProp(HWND h, const std::string& name, HANDLE value) {
    WindowData* w = State::Get().Find(h);
    if (!w || name.empty())
        return false;
    for (auto& [n, v] : w->props)
        if (n == name) {
            v = value;
            return true;
        }
    w->props.emplace_back(name, value);
    return true;
}

HANDLE GetProp(HWND h, const std::string& name) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return 0;
    for (auto& [n, v] : w->props)
        if (n == name)
            return v;
    return 0;
}

HANDLE RemoveProp(HWND h, const std::string& name) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return 0;
    for (auto it = w->props.begin(); it != w->props.end(); ++it)
        if (it->first == name) {
            const HANDLE v = it->second;
            w->props.erase(it);
            return v;
        }
    return 0;
}

bool SetLayeredWindowAttributes(HWND h, Color key, std::uint8_t alpha, DWORD flags) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w || !(w->exStyle & WS_EX_LAYERED))
        return false;
    w->layeredKey = key & 0xFFFFFF;
    w->layeredAlpha = alpha;
    w->layeredFlags = flags & (LWA_COLORKEY | LWA_ALPHA);
    if (w->nativeHost)
        s.backend->SetHostOpacity(h, (flags & LWA_ALPHA) ? alpha : 255);
    return true;
}

bool GetLayeredWindowAttributes(HWND h, Color* key, std::uint8_t* alpha, DWORD* flags) {
    WindowData* w = State::Get().Find(h);
    if (!w || !(w->exStyle & WS_EX_LAYERED))
        return false;
    if (key)
        *key = w->layeredKey;
    if (alpha)
        *alpha = w->layeredAlpha;
    if (flags)
        *flags = w->layeredFlags;
    return true;
}

bool SetWindowText(HWND h, const std::string& text) {
    if (!IsWindow(h))
        return false;
    return SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

std::string GetWindowText(HWND h) {
    WindowData* w = State::Get().Find(h);
    return w ? w->text : std::string();
}

} // namespace platform
