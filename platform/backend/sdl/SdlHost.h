#pragma once
// What the parts of the SDL backend share: the one scale between our pixels and the host's, and
// whether the host drives moves and sizes, both also read by the hit test SDL calls from inside
// its event handling. One backend at a time, as for SDL itself.

#include <SDL2/SDL.h>

#include "platform/backend/HostScale.h"

namespace platform::sdl {

// Whether the host (a window manager) drives moves and sizes; without one the press goes to our
// own loops.
inline bool g_hostMoveSize = true;

// Device pixels per pixel of ours.
inline HostScale g_scale;

// SDL's hit test for a host window; data is our window's handle. Answers where the host may
// start a move or a size, and keeps the second press of a caption double click for our side.
SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* area, void* data);

} // namespace platform::sdl
