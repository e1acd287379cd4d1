#pragma once
// Messages and the loop. SendMessage runs the target's procedure at once (re-entrant);
// PostMessage queues. GetMessage and PeekMessage hand out, in this order: posted messages, host
// input (translated into mouse and keyboard messages when taken out), the quit message, WM_PAINT
// for windows with something to paint, then due timers (WM_TIMER). A posted message whose
// window is destroyed before it is taken out is dropped.
//
// Timers: intervals below 10 ms are raised to 10 ms; a timer that falls behind fires once, not
// once per missed interval. Hooks: SetWindowsHookEx supports WH_CBT on the one interface thread.

#include <functional>
#include <memory>

#include "platform/win/WinDefs.h"

namespace platform {

LRESULT SendMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);
bool PostMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Waits for a message; false once WM_QUIT is taken out (its code is in msg.wParam).
bool GetMessage(MSG& msg, HWND filter, UINT minMsg, UINT maxMsg);
bool PeekMessage(MSG& msg, HWND filter, UINT minMsg, UINT maxMsg, UINT removeFlags);
bool TranslateMessage(const MSG& msg);
LRESULT DispatchMessage(const MSG& msg);
// Blocks until a message or host event is there (or nothing can ever come, headless).
bool WaitMessage();
DWORD GetMessageTime();
Point GetMessagePos();
// Runs the queue until it holds nothing that can be handed out now (tests, modal helpers).
void ProcessPendingMessages();

UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT elapseMs);
// A timer whose WM_TIMER messages go to proc when dispatched (proc(h, WM_TIMER, id, time))
// instead of to the window; a null proc makes it a plain timer. Setting an existing timer again
// replaces its callback. The message carries the callback's key in lParam; DispatchMessage calls
// the callback only while that timer lives with that callback.
using TIMERPROC = std::function<void(HWND, UINT, UINT_PTR, DWORD)>;
UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
bool KillTimer(HWND h, UINT_PTR id);

using HHOOK = std::intptr_t;
using HOOKPROC = std::function<LRESULT(int code, WPARAM wParam, LPARAM lParam)>;
// The newest hook is called first; it passes the event on with CallNextHookEx. A non-zero
// answer to HCBT_CREATEWND, HCBT_DESTROYWND, HCBT_ACTIVATE or HCBT_SETFOCUS prevents the event.
HHOOK SetWindowsHookEx(int kind, HOOKPROC proc);
bool UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// Registered message names get numbers from 0xC000 up; the same name gives the same number.
UINT RegisterWindowMessage(const std::string& name);

DWORD GetTickCount();
void MessageBeep(UINT type);

} // namespace platform
