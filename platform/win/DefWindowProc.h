#pragma once
// The default handling of every message, as the plain classic window has it: the frame's size
// (WM_NCCALCSIZE), hit testing (WM_NCHITTEST), moving and sizing by the frame (WM_SYSCOMMAND
// SC_MOVE / SC_SIZE, driven by our own modal loop, or by the host where it follows our hit
// testing; without a hit code in the command's low bits, as the system menu sends them, the
// arrow keys move or size the window, Enter keeps it there and Escape puts it back), caption
// buttons, standard scroll bars in the non-client area, closing, activation,
// cursors, wheel bubbling to the parent, and the plain painting of frame and background.
//
// Text messages carry UTF-8: WM_SETTEXT a NUL-terminated string in lParam; WM_GETTEXT a
// std::string* in lParam to fill (wParam: at most that many bytes, 0: all), answering the length.

#include "platform/win/WinDefs.h"

namespace platform {

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);

// The frame a window of these styles has around its client area (borders, caption, client
// edge; scroll bars are the client area's, as on the platform).
bool AdjustWindowRectEx(Rect& rect, DWORD style, bool menu, DWORD exStyle);

// The parts of a window's non-client area, in window coordinates, as DefWindowProc lays them
// out. Empty rectangles for parts the window does not have.
struct NonClientLayout {
    int borderX = 0, borderY = 0; // frame thickness (without the client edge)
    int edge = 0;                 // client edge thickness
    Rect caption;                 // caption bar, buttons included
    Rect sysMenu, closeButton, maxButton, minButton;
    Rect vscroll, hscroll, sizeBox;
    Rect client;
};
NonClientLayout GetNonClientLayout(HWND h);
NonClientLayout ComputeNonClientLayout(DWORD style, DWORD exStyle, int width, int height);

} // namespace platform
