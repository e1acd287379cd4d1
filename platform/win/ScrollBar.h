#pragma once
// The standard scroll bars a window has in its non-client area (WS_HSCROLL, WS_VSCROLL).
//
// Scroll information: a range (nMin ... nMax), a page size and a position kept within
// nMin ... nMax - max(page - 1, 0). A bar whose range no longer scrolls (page larger than the
// range, or an empty range) is hidden, which changes the window's frame, unless
// SIF_DISABLENOSCROLL asks to keep it shown and disabled.
//
// Mouse handling (DefWindowProc, WM_NCLBUTTONDOWN on a bar): arrows and track parts send their
// code at once, again after 200 ms and then every 50 ms while the cursor stays on the pressed
// part; the thumb sends SB_THUMBTRACK as it moves and SB_THUMBPOSITION at release; every press
// ends with SB_ENDSCROLL. The window's WM_HSCROLL / WM_VSCROLL carry the code in the low word
// and, for thumb codes, the 16-bit position in the high word (the full position is in
// nTrackPos).

#include "platform/win/WinDefs.h"

namespace platform {

int SetScrollInfo(HWND h, int bar, const SCROLLINFO& si, bool redraw);
bool GetScrollInfo(HWND h, int bar, SCROLLINFO& si);
int SetScrollPos(HWND h, int bar, int pos, bool redraw); // answers the previous position
int GetScrollPos(HWND h, int bar);
bool SetScrollRange(HWND h, int bar, int minPos, int maxPos, bool redraw);
bool GetScrollRange(HWND h, int bar, int& minPos, int& maxPos);
bool ShowScrollBar(HWND h, int bar, bool show);
bool EnableScrollBar(HWND h, int bar, UINT arrows);
// For code that drives a bar's thumb itself (skinned scroll bars): the position the thumb is
// being dragged to, as GetScrollInfo reports it with SIF_TRACKPOS during SB_THUMBTRACK and
// SB_THUMBPOSITION. Kept within the range; nothing for a bad window or bar.
void SetScrollTrackPos(HWND h, int bar, int pos);

constexpr UINT kScrollFirstDelayMs = 200;
constexpr UINT kScrollRepeatMs = 50;

// Where the parts of a bar lie along its length: the arrow length, the thumb's offset from the
// bar's start and its length. Follows the platform's arithmetic (MulDiv rounding); a bar too
// short for two arrows gets two half-length arrows and no thumb (thumbLength 0).
struct ScrollBarGeometry {
    int arrow = 0;
    int thumbOffset = 0; // from the bar's start, arrow included
    int thumbLength = 0;
};
ScrollBarGeometry ComputeScrollBarGeometry(int barLength, int thickness, const SCROLLINFO& si,
                                           int minThumb);

// Parts of a bar, as the pointer finds them.
enum class ScrollPart { None, FirstArrow, SecondArrow, PageBefore, PageAfter, Thumb };
ScrollPart ScrollPartAt(int offsetAlongBar, int barLength, const ScrollBarGeometry& g);

int MulDiv(int number, int numerator, int denominator);

} // namespace platform
