#pragma once
// Update regions and painting. A window's update region is the part of its client area that
// needs painting (client coordinates); the frame and the background have their own pending
// flags. WM_PAINT is generated for a visible window with something to paint once the queue has
// nothing else to hand out.
//
// Device contexts: every window draws into its top-level window's surface through a context
// whose viewport origin is the window's client (or, for a window context, window) origin in the
// top-level window, and whose clip is the window's visible part: its own area within every
// ancestor's client area, less the visible children when the window has WS_CLIPCHILDREN, less
// the siblings above it when it has WS_CLIPSIBLINGS, within any window region. A context from
// BeginPaint is further clipped to the update region. Contexts belong to the window system: give
// each back with ReleaseDC (EndPaint for BeginPaint), which also shows the drawn part on the host.

#include <optional>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Region.h"
#include "platform/win/WinDefs.h"

namespace platform {

using HDC = DeviceContext*;

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    bool fErase = false; // true when the background was not erased (the window should)
    Rect rcPaint;        // client coordinates
};

HDC BeginPaint(HWND h, PAINTSTRUCT& ps);
bool EndPaint(HWND h, const PAINTSTRUCT& ps);

constexpr DWORD DCX_WINDOW = 0x1, DCX_CACHE = 0x2, DCX_PARENTCLIP = 0x20, DCX_CLIPSIBLINGS = 0x10,
                DCX_CLIPCHILDREN = 0x8, DCX_EXCLUDERGN = 0x40, DCX_INTERSECTRGN = 0x80;
HDC GetDC(HWND h);
HDC GetWindowDC(HWND h);
// clip: in client coordinates (window coordinates with DCX_WINDOW), used with DCX_INTERSECTRGN
// or DCX_EXCLUDERGN.
HDC GetDCEx(HWND h, const Region* clip, DWORD flags);
bool ReleaseDC(HWND h, HDC dc);

bool InvalidateRect(HWND h, const Rect* rect, bool erase);
bool InvalidateRgn(HWND h, const Region* rgn, bool erase);
bool ValidateRect(HWND h, const Rect* rect);
bool ValidateRgn(HWND h, const Region* rgn);
bool GetUpdateRect(HWND h, Rect* rect, bool erase);
bool GetUpdateRgn(HWND h, Region& rgn, bool erase);
// rect and rgn are in client coordinates; neither: the whole client area.
bool RedrawWindow(HWND h, const Rect* rect, const Region* rgn, UINT flags);
bool UpdateWindow(HWND h);

// Moves the pixels of the client area (or of `scroll`, client coordinates) by dx, dy, keeping
// inside `clip` when given, and reports what was uncovered (or could not be copied because it
// was not showing) in `update` / `updateRect`. SW_INVALIDATE adds that to the update region
// (SW_ERASE: to be erased), SW_SCROLLCHILDREN moves the children with the pixels. The part of
// the update region inside the scrolled area moves along. Answers the kind of the uncovered
// region, 0 for a bad window.
constexpr UINT SW_SCROLLCHILDREN = 0x1, SW_INVALIDATE = 0x2, SW_ERASE = 0x4;
int ScrollWindowEx(HWND h, int dx, int dy, const Rect* scroll, const Rect* clip, Region* update,
                   Rect* updateRect, UINT flags);
bool ScrollWindow(HWND h, int dx, int dy, const Rect* scroll, const Rect* clip);

// The window's shape in window coordinates (none: its rectangle). Hit testing and painting
// keep inside it.
bool SetWindowRgn(HWND h, std::optional<Region> rgn, bool redraw);
std::optional<Region> GetWindowRgn(HWND h);

// The pixels of a top-level window as drawn so far (tests and the backends read them).
const DibSection* GetWindowSurface(HWND topLevel);

} // namespace platform
