// Starting SDL's video, and the host windows that show ours: making, showing, placing, raising,
// framing and presenting them. Events are read in SdlEvents.cpp, desktop services are in
// SdlDesktop.cpp.

#include "platform/backend/sdl/SdlBackend.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/backend/sdl/SdlHost.h"
#include "platform/backend/sdl/X11Desktop.h"

namespace platform {

using namespace sdl;

namespace {

void PlaceHostWindow(SDL_Window* window, const Rect& screen) {
    const Rect device = g_scale.ToDevice(screen);
    SDL_SetWindowPosition(window, device.left, device.top);
    SDL_SetWindowSize(window, std::max(1, device.Width()), std::max(1, device.Height()));
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

} // namespace platform
