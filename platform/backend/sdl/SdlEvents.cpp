// What the host tells us: SDL's events handed on as our input, the hit test that lets the window
// manager move and size our windows, waiting for events, and whether a window manager runs.

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/backend/sdl/SdlBackend.h"
#include "platform/backend/sdl/SdlHost.h"
#include "platform/backend/sdl/X11Desktop.h"
#include "platform/sys/Signals.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"

namespace platform {

using namespace sdl;

namespace {

// How often the window manager's presence is looked up again.
constexpr std::uint64_t kWindowManagerCheckMs = 1000;

// The window's place on the screen as it is now (see x11::ScreenOrigin for why not SDL's), in
// device pixels.
Point HostOrigin(SDL_Window* window) {
    int x = 0, y = 0;
    if (!x11::ScreenOrigin(window, x, y))
        SDL_GetWindowPosition(window, &x, &y);
    return {x, y};
}

// The pointer's place on the screen, in our pixels.
Point GlobalPointer() {
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return g_scale.ToLogical({x, y});
}

// A press on a caption is the window manager's (it starts a move), so our side never sees it
// and cannot tell a double click. The second press of a double click is kept from the window
// manager instead, and the first, when the window manager had it, is handed to our side just
// before it (see Dispatch).
struct CaptionPress {
    HWND window;
    Point screen;
    std::uint64_t time = 0;
    bool toHost = false;
};
CaptionPress g_lastCaptionPress;  // the last press on a caption
CaptionPress g_pendingFirstPress; // the first press of a double click, not yet handed on

bool SecondPressOf(const CaptionPress& first, HWND h, Point p, std::uint64_t now) {
    return first.window == h && now - first.time <= GetDoubleClickTime() &&
           std::abs(p.x - first.screen.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(p.y - first.screen.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

// How long a wait goes on without looking for a termination request.
constexpr std::uint64_t kWaitSliceMs = 200;

MouseButton ButtonOf(Uint8 b) {
    return b == SDL_BUTTON_RIGHT    ? MouseButton::Right
           : b == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                    : MouseButton::Left;
}

} // namespace

SDL_HitTestResult sdl::HitTest(SDL_Window* window, const SDL_Point* area, void* data) {
    if (!g_hostMoveSize)
        return SDL_HITTEST_NORMAL;
    const HWND h(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data)));
    const Point origin = HostOrigin(window);
    const Point p = g_scale.ToLogical({origin.x + area->x, origin.y + area->y});
    LRESULT hit = HTCLIENT;
    try {
        hit = SendMessage(h, WM_NCHITTEST, 0, PointToLParam(p));
    } catch (...) {
        // A procedure's failure must not unwind through SDL's C frames.
        return SDL_HITTEST_NORMAL;
    }
    switch (hit) {
    case HTCAPTION: {
        const std::uint64_t now = SDL_GetTicks64();
        if (SecondPressOf(g_lastCaptionPress, h, p, now)) {
            if (g_lastCaptionPress.toHost)
                g_pendingFirstPress = g_lastCaptionPress;
            g_lastCaptionPress = {};
            return SDL_HITTEST_NORMAL;
        }
        // A press let go of already (a busy moment, a quick click) is a click: the window
        // manager would start a move that waits for a release long gone, and take the next
        // press (the double click's second) for it.
        const bool held = x11::LeftButtonHeld(window);
        g_lastCaptionPress = {h, p, now, held};
        return held ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
    }
    case HTLEFT:
        return SDL_HITTEST_RESIZE_LEFT;
    case HTRIGHT:
        return SDL_HITTEST_RESIZE_RIGHT;
    case HTTOP:
        return SDL_HITTEST_RESIZE_TOP;
    case HTBOTTOM:
        return SDL_HITTEST_RESIZE_BOTTOM;
    case HTTOPLEFT:
        return SDL_HITTEST_RESIZE_TOPLEFT;
    case HTTOPRIGHT:
        return SDL_HITTEST_RESIZE_TOPRIGHT;
    case HTBOTTOMLEFT:
        return SDL_HITTEST_RESIZE_BOTTOMLEFT;
    case HTBOTTOMRIGHT:
        return SDL_HITTEST_RESIZE_BOTTOMRIGHT;
    default:
        return SDL_HITTEST_NORMAL;
    }
}

std::uint64_t SdlBackend::NowMs() {
    return SDL_GetTicks64();
}

HWND SdlBackend::WindowOf(std::uint32_t sdlId) const {
    SDL_Window* w = SDL_GetWindowFromID(sdlId);
    for (const auto& [h, win] : m_windows)
        if (win == w)
            return h;
    return {};
}

Point SdlBackend::ToScreen(std::uint32_t sdlId, int x, int y) const {
    SDL_Window* w = SDL_GetWindowFromID(sdlId);
    const Point origin = w ? HostOrigin(w) : Point{};
    return g_scale.ToLogical({origin.x + x, origin.y + y});
}

void SdlBackend::Dispatch(const SDL_Event& e, InputSink& sink) {
    switch (e.type) {
    case SDL_MOUSEMOTION:
        sink.OnMouseMove(GlobalPointer());
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const Point p = ToScreen(e.button.windowID, e.button.x, e.button.y);
        if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT &&
            g_pendingFirstPress.window) {
            // The click the window manager had: our side counts this press as its second.
            const CaptionPress first = std::exchange(g_pendingFirstPress, {});
            if (first.window == WindowOf(e.button.windowID)) {
                sink.OnMouseMove(first.screen);
                sink.OnMouseButton(MouseButton::Left, true, first.screen);
                sink.OnMouseButton(MouseButton::Left, false, first.screen);
            }
        }
        sink.OnMouseMove(p);
        sink.OnMouseButton(ButtonOf(e.button.button), e.type == SDL_MOUSEBUTTONDOWN, p);
        break;
    }
    case SDL_MOUSEWHEEL: {
        const int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (notches)
            sink.OnMouseWheel(notches * WHEEL_DELTA, GlobalPointer());
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (const int vk = VirtualKeyFromScancode(e.key.keysym.scancode))
            sink.OnKey(vk, e.type == SDL_KEYDOWN, e.key.repeat != 0);
        break;
    case SDL_TEXTINPUT:
        sink.OnText(e.text.text);
        break;
    // Files dropped together come between a begin and a complete event, one event each; they
    // reach the window as one drop, so a program taking one picture takes the first.
    case SDL_DROPBEGIN:
        m_droppedFiles.clear();
        break;
    case SDL_DROPFILE:
        if (e.drop.file) {
            m_droppedFiles.emplace_back(e.drop.file);
            SDL_free(e.drop.file);
        }
        break;
    case SDL_DROPCOMPLETE: {
        // A drop the host could not tie to a window goes to the one used last.
        const HWND h = WindowOf(e.drop.windowID);
        if ((h || m_lastNormalFocus) && !m_droppedFiles.empty())
            sink.OnHostDropFiles(h ? h : m_lastNormalFocus, std::move(m_droppedFiles));
        m_droppedFiles.clear();
        break;
    }
    case SDL_WINDOWEVENT: {
        const HWND h = WindowOf(e.window.windowID);
        if (!h)
            break;
        SDL_Window* w = m_windows[h];
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            sink.OnHostClose(h);
            break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            int cw = 0, ch = 0;
            const Point origin = g_scale.ToLogical(HostOrigin(w));
            SDL_GetWindowSize(w, &cw, &ch);
            const Point size = g_scale.SizeToLogical(cw, ch);
            sink.OnHostRect(h, Rect::FromSize(origin.x, origin.y, size.x, size.y));
            if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                sink.OnHostExpose(h);
            break;
        }
        case SDL_WINDOWEVENT_EXPOSED:
            sink.OnHostExpose(h);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            ReportIconic(h, true, sink);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
            ReportIconic(h, false, sink);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (m_kinds[h] == HostKind::Normal)
                m_lastNormalFocus = h;
            sink.OnHostFocus(h);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Focus moving between our own windows is no deactivation; SDL's idea of the focus
            // is already up to date when the event is read.
            if (!SDL_GetKeyboardFocus())
                sink.OnHostDeactivate();
            break;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
}

void SdlBackend::ReportIconic(HWND window, bool iconic, InputSink& sink) {
    SDL_Window* w = m_windows[window];
    bool now = false;
    if (!x11::ReadIconic(w, now))
        now = (SDL_GetWindowFlags(w) & SDL_WINDOW_MINIMIZED) != 0;
    // The event's news counts only while it is still true: the state may have changed back
    // since (a later event tells), and an unmap of our own leaves the window withdrawn, not
    // iconic.
    if (now == iconic)
        sink.OnHostIconic(window, iconic);
}

bool SdlBackend::WindowManagerRunning() {
    const std::uint64_t now = NowMs();
    if (!m_windows.empty() &&
        (m_wmCheckedAt == 0 || now - m_wmCheckedAt >= kWindowManagerCheckMs)) {
        m_wmCheckedAt = now;
        g_hostMoveSize = x11::WindowManagerRunning(m_windows.begin()->second);
    }
    return g_hostMoveSize;
}

bool SdlBackend::HostDrivesMoveSize() const {
    return g_hostMoveSize;
}

void SdlBackend::PollEvents(InputSink& sink) {
    // Before SDL reads a press: the hit test must know who moves and sizes windows.
    WindowManagerRunning();
    for (const HWND h : std::exchange(m_notIconified, {}))
        if (m_windows.count(h))
            sink.OnHostIconic(h, false);
    // Key releases wait while only window events follow them: a press of the same key from
    // another of our windows right after means SDL let go of a held key when the focus left one
    // window and pressed it again when the focus reached the other.
    std::vector<SDL_Event> releases;
    auto flush = [&] {
        for (const SDL_Event& up : releases)
            Dispatch(up, sink);
        releases.clear();
    };
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_KEYUP) {
            releases.push_back(e);
            continue;
        }
        if (e.type == SDL_KEYDOWN && !e.key.repeat) {
            auto it = std::find_if(releases.begin(), releases.end(), [&](const SDL_Event& up) {
                return up.key.keysym.scancode == e.key.keysym.scancode &&
                       up.key.windowID != e.key.windowID;
            });
            if (it != releases.end()) {
                releases.erase(it);
                continue;
            }
        }
        if (e.type != SDL_WINDOWEVENT)
            flush();
        Dispatch(e, sink);
    }
    flush();
}

bool SdlBackend::WaitEvents(std::optional<std::uint64_t> deadlineMs) {
    // The wait goes in short slices: a termination signal may land on any of SDL's threads and
    // then interrupts nothing here, so the request is looked for between slices.
    for (;;) {
        if (TerminationPending())
            return true;
        const std::uint64_t now = NowMs();
        if (deadlineMs && *deadlineMs <= now)
            return true;
        const std::uint64_t left = deadlineMs ? *deadlineMs - now : kWaitSliceMs;
        if (SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min(left, kWaitSliceMs))))
            return true;
    }
}

} // namespace platform
