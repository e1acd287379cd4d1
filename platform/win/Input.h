#pragma once
// Focus, activation, capture and the mouse and keyboard state.
//
// Activation is for top-level windows: activating a window deactivates the previous one
// (WM_NCACTIVATE false, WM_ACTIVATE WA_INACTIVE), then tells the new one (WM_NCACTIVATE true,
// WM_ACTIVATE), whose default handling gives it the focus. The WH_CBT hook sees HCBT_ACTIVATE
// first and may refuse. SetFocus activates the focus window's top-level window when needed and
// sends WM_KILLFOCUS to the old focus before WM_SETFOCUS to the new one.
//
// Mouse messages go to the capture window when there is one (always as client messages), else to
// the window under the cursor, as client or non-client messages by its WM_NCHITTEST answer.
// WM_MOUSEWHEEL goes to the focus window; DefWindowProc passes it on to the parent.

#include <optional>

#include "platform/win/WinDefs.h"

namespace platform {

HWND SetFocus(HWND h); // answers the previous focus; null h removes the focus
HWND GetFocus();
HWND SetActiveWindow(HWND h);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND h);
HWND GetForegroundWindow();

HWND SetCapture(HWND h);
bool ReleaseCapture();
HWND GetCapture();

// TME_LEAVE: WM_MOUSELEAVE (WM_NCMOUSELEAVE with TME_NONCLIENT) is posted once the mouse leaves
// the window's client (non-client) area. TME_HOVER: WM_MOUSEHOVER (WM_NCMOUSEHOVER) comes, in the
// loop's timer turn, once the mouse has rested over that area for the hover time, moving no
// further than half the hover rectangle from where it rested; hover tracking then ends, and it
// ends as well when the mouse leaves. TME_CANCEL stops the tracking named with it (none named:
// the leave tracking); TME_QUERY fills tme with what is tracked.
bool TrackMouseEvent(TRACKMOUSEEVENT& tme);
constexpr UINT kMouseHoverTimeMs = 400;
constexpr int kMouseHoverWidth = 4, kMouseHoverHeight = 4;

// Bit 0x8000: down; bit 1: toggled (for lock keys). As of the last message taken out.
std::int16_t GetKeyState(int vk);
std::int16_t GetAsyncKeyState(int vk);

bool GetCursorPos(Point& p);
// The cursor the pointer's window asks for; DefWindowProc's WM_SETCURSOR sets it from the class
// or hit code. The host shows it unless a screen cursor is set.
void SetCursor(Cursor cursor);
Cursor GetCursor();
// A cursor shown over all our windows whatever they ask for (the busy watch while the program
// works and reads no input); none: each window's own again, as last asked for.
void SetScreenCursor(std::optional<Cursor> cursor);
std::optional<Cursor> GetScreenCursor();

} // namespace platform
