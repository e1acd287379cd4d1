#include "platform/backend/sdl/SdlBackend.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/backend/HostScale.h"
#include "platform/backend/sdl/X11Desktop.h"
#include "platform/sys/Signals.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"

namespace platform {

namespace {

// Whether the host (a window manager) drives moves and sizes; without one the press goes to our
// own loops. One backend at a time, as for SDL itself.
bool g_hostMoveSize = true;

// Device pixels per pixel of ours; the hit test, called from inside SDL, needs it too.
HostScale g_scale;

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

void PlaceHostWindow(SDL_Window* window, const Rect& screen) {
    const Rect device = g_scale.ToDevice(screen);
    SDL_SetWindowPosition(window, device.left, device.top);
    SDL_SetWindowSize(window, std::max(1, device.Width()), std::max(1, device.Height()));
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

SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* area, void* data) {
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

// How long a wait goes on without looking for a termination request.
constexpr std::uint64_t kWaitSliceMs = 200;

MouseButton ButtonOf(Uint8 b) {
    return b == SDL_BUTTON_RIGHT    ? MouseButton::Right
           : b == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                    : MouseButton::Left;
}

} // namespace

SdlBackend::SdlBackend() {
    // The first click on an inactive window is a click, as on the classic desktop.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // Termination signals are the program's to handle (platform/sys/Signals.h).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The plain window framebuffer: the accelerated one re-creates the host window when its
    // surface is first asked for, which puts the window back at its creation position while
    // our side still believes it where it was moved (clicks then land in the wrong place).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Wayland's client library complains on stderr when it has no runtime folder to find its
    // socket in; without one it cannot connect anyway, so it is not tried.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!runtime || !*runtime) && !(wayland && *wayland == '/'))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(std::string("Cannot open the display: ") + SDL_GetError());
    // Without a display SDL may fall back to a driver that shows nothing (offscreen, a bare
    // console); a window nobody can see would only spin, so that counts as no display unless
    // the driver was asked for by name (SDL_VIDEODRIVER).
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool chosen = std::getenv("SDL_VIDEODRIVER") != nullptr;
    if (!driver ||
        (!chosen && std::strcmp(driver, "x11") != 0 && std::strcmp(driver, "wayland") != 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw std::runtime_error(std::string("Cannot open the display: no desktop (SDL video "
                                             "driver \"") +
                                 (driver ? driver : "none") + "\")");
    }
    x11::KeepRequestErrorsHarmless();
    g_scale = HostScale(ChooseScaleFactor(std::getenv("CHARVANE_SCALE"), std::getenv("GDK_SCALE"),
                                          x11::ResourceDpi()));
    SDL_StartTextInput();
}

SdlBackend::~SdlBackend() {
    for (auto& [h, w] : m_windows)
        SDL_DestroyWindow(w);
    for (auto& [k, c] : m_cursors)
        SDL_FreeCursor(c);
    SDL_StopTextInput();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
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

void SdlBackend::CreateHostWindow(HWND window, const Rect& screen, HostKind kind) {
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    if (kind == HostKind::Popup)
        flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
    const Rect device = g_scale.ToDevice(screen);
    SDL_Window* w = SDL_CreateWindow("", device.left, device.top, std::max(1, device.Width()),
                                     std::max(1, device.Height()), flags);
    if (!w)
        return; // the window lives on without a host; painting still works
    x11::SetUndecorated(w);
    SDL_SetWindowHitTest(w, &HitTest,
                         reinterpret_cast<void*>(static_cast<std::uintptr_t>(window.Value())));
    m_windows[window] = w;
    m_kinds[window] = kind;
}

// A window that has the keyboard hands it on when it hides or goes: with no window manager
// (a bare X server) nobody else does, and the keyboard would seem dead. A popup gives it back
// to the window that had it before; any other window to the one our side activated last.
void SdlBackend::ReturnFocus(HWND leaving) {
    auto it = m_windows.find(leaving);
    if (it == m_windows.end())
        return;
    // SDL's idea of the focus lags behind focus changes not read yet; without a window manager
    // a normal window hands the keyboard on whether or not SDL has seen it arrive.
    const bool hasIt = SDL_GetKeyboardFocus() == it->second ||
                       (m_kinds[leaving] == HostKind::Normal && !WindowManagerRunning());
    if (!hasIt)
        return;
    const HWND heir = m_kinds[leaving] == HostKind::Popup ? m_lastNormalFocus : m_lastRaised;
    auto back = m_windows.find(heir);
    if (heir != leaving && back != m_windows.end() &&
        (SDL_GetWindowFlags(back->second) & SDL_WINDOW_SHOWN))
        SDL_SetWindowInputFocus(back->second);
}

void SdlBackend::DestroyHostWindow(HWND window) {
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    ReturnFocus(window);
    SDL_DestroyWindow(it->second);
    m_windows.erase(it);
    m_kinds.erase(window);
    m_hiddenPlacement.erase(window);
    std::erase(m_notIconified, window);
    if (m_lastNormalFocus == window)
        m_lastNormalFocus = HWND{};
    if (m_lastRaised == window)
        m_lastRaised = HWND{};
}

void SdlBackend::ShowHostWindow(HWND window, bool visible) {
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    if (visible) {
        // An iconified window is asked back from the window manager (which also activates it);
        // a plain map would do on most, but not every window manager honours it.
        if (SDL_GetWindowFlags(it->second) & SDL_WINDOW_MINIMIZED)
            SDL_RestoreWindow(it->second);
        SDL_ShowWindow(it->second);
        if (auto placed = m_hiddenPlacement.find(window); placed != m_hiddenPlacement.end()) {
            // Mapped now, the window goes where it was moved while hidden.
            const Rect r = placed->second;
            m_hiddenPlacement.erase(placed);
            PlaceHostWindow(it->second, r);
        }
    } else {
        ReturnFocus(window);
        SDL_HideWindow(it->second);
    }
}

void SdlBackend::IconifyHostWindow(HWND window) {
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    if (!WindowManagerRunning()) {
        if (std::find(m_notIconified.begin(), m_notIconified.end(), window) == m_notIconified.end())
            m_notIconified.push_back(window);
        return;
    }
    SDL_MinimizeWindow(it->second);
}

void SdlBackend::MaximizeHostWindow(HWND window, bool maximized) {
    auto it = m_windows.find(window);
    if (it == m_windows.end() || m_kinds[window] != HostKind::Normal || !WindowManagerRunning())
        return;
    x11::SetMaximized(it->second, maximized);
}

void SdlBackend::SetHostRect(HWND window, const Rect& screen) {
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    PlaceHostWindow(it->second, screen);
    if (!(SDL_GetWindowFlags(it->second) & SDL_WINDOW_SHOWN))
        m_hiddenPlacement[window] = screen;
}

void SdlBackend::RaiseHostWindow(HWND window) {
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    SDL_RaiseWindow(it->second);
    if (m_kinds[window] == HostKind::Normal)
        m_lastRaised = window;
}

void SdlBackend::FocusHostWindow(HWND window) {
    auto it = m_windows.find(window);
    if (it == m_windows.end() || m_kinds[window] != HostKind::Normal)
        return;
    m_lastRaised = window;
    // With a window manager the raise asked it to activate the window; it hands the keyboard.
    if (WindowManagerRunning() || !(SDL_GetWindowFlags(it->second) & SDL_WINDOW_SHOWN))
        return;
    SDL_SetWindowInputFocus(it->second);
}

void SdlBackend::SetHostFrame(HWND window, const HostFrame& frame) {
    auto it = m_windows.find(window);
    if (it == m_windows.end() || m_kinds[window] != HostKind::Normal)
        return;
    SDL_Window* w = it->second;
    SDL_SetWindowResizable(w, frame.sizeable ? SDL_TRUE : SDL_FALSE);
    if (frame.sizeable) {
        const Point least =
            g_scale.ToDevice(Point{std::max(1, frame.minSize.x), std::max(1, frame.minSize.y)});
        SDL_SetWindowMinimumSize(w, least.x, least.y);
    }
    auto owner = m_windows.find(frame.belongsTo);
    x11::SetBelongsTo(w, owner != m_windows.end() ? owner->second : nullptr, frame.modal);
}

void SdlBackend::SetHostIcon(HWND window, const HostPixels& icon) {
    auto it = m_windows.find(window);
    // SDL cannot take an icon away again: without pixels the desktop keeps the last one.
    if (it == m_windows.end() || !icon.pixels || icon.width <= 0 || icon.height <= 0)
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(icon.pixels), icon.width, icon.height, 32, icon.stride * 4,
        SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return;
    SDL_SetWindowIcon(it->second, surface);
    SDL_FreeSurface(surface);
}

void SdlBackend::SetHostTitle(HWND window, const std::string& title) {
    if (auto it = m_windows.find(window); it != m_windows.end()) {
        SDL_SetWindowTitle(it->second, title.c_str());
        x11::SetTitle(it->second, title);
    }
}

void SdlBackend::SetHostShape(HWND window, const Region* shape) {
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    if (!shape) {
        x11::SetShape(it->second, nullptr);
        return;
    }
    const std::vector<Rect> device = g_scale.ToDevice(shape->Rects());
    x11::SetShape(it->second, &device);
}

void SdlBackend::SetHostOpacity(HWND window, std::uint8_t alpha) {
    if (auto it = m_windows.find(window); it != m_windows.end())
        SDL_SetWindowOpacity(it->second, alpha / 255.0f);
}

void SdlBackend::PresentHostWindow(HWND window, const HostPixels& px, const Rect& dirty) {
    auto it = m_windows.find(window);
    if (it == m_windows.end() || !px.pixels || px.width <= 0 || px.height <= 0)
        return;
    SDL_Surface* target = SDL_GetWindowSurface(it->second);
    if (!target)
        return;
    SDL_Surface* source =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(px.pixels), px.width,
                                           px.height, 32, px.stride * 4, SDL_PIXELFORMAT_XRGB8888);
    if (!source)
        return;
    const Point shown = g_scale.SizeToLogical(target->w, target->h);
    const Rect r =
        dirty.Intersect({0, 0, std::min(px.width, shown.x), std::min(px.height, shown.y)});
    if (!r.IsEmpty()) {
        SDL_Rect area{r.left, r.top, r.Width(), r.Height()};
        const Rect d = g_scale.ToDevice(r);
        SDL_Rect to{d.left, d.top, d.Width(), d.Height()};
        if (g_scale.Factor() == 1) {
            SDL_BlitSurface(source, &area, target, &to);
        } else {
            // Nearest neighbour: every pixel becomes a square block, so text and skin art
            // stay as sharp as drawn. SDL cuts the blocks of a last pixel the window lacks.
            SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
            SDL_BlitScaled(source, &area, target, &to);
        }
        const SDL_Rect changed{d.left, d.top, d.Width(), d.Height()};
        const SDL_Rect whole{0, 0, target->w, target->h};
        if (SDL_IntersectRect(&changed, &whole, &to))
            SDL_UpdateWindowSurfaceRects(it->second, &to, 1);
    }
    SDL_FreeSurface(source);
}

void SdlBackend::SetHostCapture(bool capture) {
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::SetCursor(Cursor cursor) {
    SDL_SystemCursor id = SDL_SYSTEM_CURSOR_ARROW;
    switch (cursor) {
    case Cursor::IBeam:
        id = SDL_SYSTEM_CURSOR_IBEAM;
        break;
    case Cursor::Wait:
        id = SDL_SYSTEM_CURSOR_WAIT;
        break;
    case Cursor::Cross:
        id = SDL_SYSTEM_CURSOR_CROSSHAIR;
        break;
    case Cursor::SizeNWSE:
        id = SDL_SYSTEM_CURSOR_SIZENWSE;
        break;
    case Cursor::SizeNESW:
        id = SDL_SYSTEM_CURSOR_SIZENESW;
        break;
    case Cursor::SizeWE:
        id = SDL_SYSTEM_CURSOR_SIZEWE;
        break;
    case Cursor::SizeNS:
        id = SDL_SYSTEM_CURSOR_SIZENS;
        break;
    case Cursor::SizeAll:
        id = SDL_SYSTEM_CURSOR_SIZEALL;
        break;
    case Cursor::Hand:
        id = SDL_SYSTEM_CURSOR_HAND;
        break;
    case Cursor::No:
        id = SDL_SYSTEM_CURSOR_NO;
        break;
    case Cursor::Arrow:
        break;
    }
    SDL_Cursor*& c = m_cursors[id];
    if (!c)
        c = SDL_CreateSystemCursor(id);
    if (c)
        SDL_SetCursor(c);
}

Rect SdlBackend::ScreenRect() {
    SDL_Rect r{0, 0, 1024, 768};
    SDL_GetDisplayBounds(0, &r);
    return g_scale.InsideToLogical(Rect::FromSize(r.x, r.y, r.w, r.h));
}

Rect SdlBackend::WorkArea() {
    SDL_Rect r{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &r) != 0 || r.w <= 0 || r.h <= 0)
        return ScreenRect();
    return g_scale.InsideToLogical(Rect::FromSize(r.x, r.y, r.w, r.h));
}

void SdlBackend::Beep() {
    // SDL has no bell; the terminal's is the nearest thing.
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

std::string SdlBackend::ClipboardText() {
    char* text = SDL_GetClipboardText();
    std::string out = text ? text : "";
    SDL_free(text);
    return out;
}

void SdlBackend::SetClipboardText(const std::string& utf8) {
    SDL_SetClipboardText(utf8.c_str());
}

std::string SdlBackend::PrimarySelectionText() {
    char* text = SDL_GetPrimarySelectionText();
    std::string out = text ? text : "";
    SDL_free(text);
    return out;
}

void SdlBackend::SetPrimarySelectionText(const std::string& utf8) {
    SDL_SetPrimarySelectionText(utf8.c_str());
}

} // namespace platform
