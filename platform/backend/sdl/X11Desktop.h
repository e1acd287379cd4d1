#pragma once
// What SDL does not tell or do on an X11 desktop: whether a window manager runs, and the hints
// that keep a window above the window it belongs to. Kept apart because Xlib's headers define
// macros (None, Bool, Status, ...) that clash with ordinary names elsewhere. Every function does
// nothing, or says no, for a window that is not on X11 (SDL on Wayland).

#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/Geometry.h"

struct SDL_Window;

namespace platform::x11 {

// Makes the X server's error reports about single requests (a window gone between a request
// and its handling, say) harmless: Xlib's own handler ends the program on the first one, and
// with it the user's unsaved work. Each report is written to the standard error instead. Called
// once the display is open; nothing happens off X11.
void KeepRequestErrorsHarmless();

// Whether a window manager says it runs on the display of the window (the root's
// _NET_SUPPORTING_WM_CHECK window names itself). One round trip to the server.
bool WindowManagerRunning(SDL_Window* window);

// Asks window managers to draw no frame around the window (_MOTIF_WM_HINTS: no decorations).
// SDL sets that hint only when its atom already exists on the server, which it does not before
// a window manager has started: a window manager starting with the program then framed our
// borderless windows a second time and pushed them down by its title bar.
void SetUndecorated(SDL_Window* window);

// Where the window's top-left corner is on the screen now, asked of the server. SDL keeps a
// position from its last configure event, translated through the window's parent as it is when
// the event is read: a window manager that starts and reparents the window in between makes
// that twice the real offset. False when the window is not on X11.
bool ScreenOrigin(SDL_Window* window, int& x, int& y);

// Whether the window manager keeps the window iconified now (its WM_STATE says IconicState),
// asked of the server: SDL's own minimized flag also follows our own hides. False when the
// window is not on X11.
bool ReadIconic(SDL_Window* window, bool& iconic);

// WM_TRANSIENT_FOR to owner (none: removed) and the _NET_WM_STATE_MODAL state. A window not
// mapped yet gets the state property itself; a mapped one asks the window manager for it.
void SetBelongsTo(SDL_Window* window, SDL_Window* owner, bool modal);

// Whether the left mouse button is down now, asked of the server (SDL's own idea follows the
// events read so far). True when the window is not on X11.
bool LeftButtonHeld(SDL_Window* window);

// Asks the window manager to maximize the window or to let it go (_NET_WM_STATE's two
// maximized states), whatever SDL believes the state to be: SDL's flag follows property changes
// that may lag behind.
void SetMaximized(SDL_Window* window, bool maximized);

// The window's bounding shape (X SHAPE extension): only the rectangles, in window coordinates,
// show and take the pointer; null removes the shape, so the whole window shows again. Nothing
// happens on a server without the extension: the window stays rectangular.
void SetShape(SDL_Window* window, const std::vector<Rect>* rects);

// The X resources' Xft.dpi on the default display (what desktops set for a HiDPI screen), read
// through a connection of its own before any window exists. None when the resource is missing,
// not a number, or the display is not X11.
std::optional<double> ResourceDpi();

// The window's title for every reader: WM_NAME and WM_ICON_NAME as compound text (plain Latin-1
// STRING when the title has nothing else), and _NET_WM_NAME / _NET_WM_ICON_NAME as UTF-8. A title
// that cannot be converted gets a Latin-1 WM_NAME with '?' for what Latin-1 lacks.
void SetTitle(SDL_Window* window, const std::string& utf8);

} // namespace platform::x11
