#pragma once
// The toolkit's own messages and the message record every control's WndProc receives.
//
// Window messages keep their platform numbers (platform/win/WinDefs.h). The toolkit adds its
// notifications from CM_BASE (0xB000) with the classic offsets, so a number seen in a skin or
// control handler means the same everywhere, and the notifications reflected back to a control
// from its parent from CN_BASE (0xBC00) plus the window message's own number.
//
// Control pointers travel in LParam where a notification names a control (CM_MOUSEENTER,
// CM_MOUSELEAVE, CM_FOCUSCHANGED, CM_CONTROLLISTCHANGE): use ControlParam / ControlFromParam.

#include "platform/win/WinDefs.h"

namespace toolkit {

using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;

// A message as a control's WndProc sees it. Result is what SendMessage / Perform answers.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_GOTFOCUS = CM_BASE + 2,
               CM_LOSTFOCUS = CM_BASE + 3, CM_CANCELMODE = CM_BASE + 4, CM_DIALOGKEY = CM_BASE + 5,
               CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7,
               CM_PARENTFONTCHANGED = CM_BASE + 8, CM_PARENTCOLORCHANGED = CM_BASE + 9,
               CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11,
               CM_ENABLEDCHANGED = CM_BASE + 12, CM_COLORCHANGED = CM_BASE + 13,
               CM_FONTCHANGED = CM_BASE + 14, CM_CURSORCHANGED = CM_BASE + 15,
               CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19,
               CM_MOUSELEAVE = CM_BASE + 20, CM_MENUCHANGED = CM_BASE + 21,
               CM_BUTTONPRESSED = CM_BASE + 24, CM_SHOWINGCHANGED = CM_BASE + 25,
               CM_ENTER = CM_BASE + 26, CM_EXIT = CM_BASE + 27, CM_WANTSPECIALKEY = CM_BASE + 30,
               CM_RELEASE = CM_BASE + 33, CM_SHOWHINTCHANGED = CM_BASE + 34,
               CM_PARENTSHOWHINTCHANGED = CM_BASE + 35, CM_SYSCOLORCHANGE = CM_BASE + 36,
               CM_TABSTOPCHANGED = CM_BASE + 40, CM_CONTROLLISTCHANGE = CM_BASE + 44,
               CM_CHILDKEY = CM_BASE + 46, CM_HINTSHOW = CM_BASE + 48,
               CM_RECREATEWND = CM_BASE + 51, CM_INVALIDATE = CM_BASE + 52,
               CM_CONTROLCHANGE = CM_BASE + 54, CM_BORDERCHANGED = CM_BASE + 59,
               CM_MOUSEWHEEL = CM_BASE + 67;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + platform::WM_COMMAND,
               CN_KEYDOWN = CN_BASE + platform::WM_KEYDOWN, CN_KEYUP = CN_BASE + platform::WM_KEYUP,
               CN_CHAR = CN_BASE + platform::WM_CHAR;

// The number of the skin library's command message (its commands live in the word parameter).
// The toolkit gives it no meaning; it only guarantees that it reaches every control's WndProc,
// windowed or not, through SendMessage to a handle and through Perform.
constexpr UINT kLibraryCommandMessage = 41216;

class TControl;

inline LPARAM ControlParam(const TControl* control) {
    return reinterpret_cast<LPARAM>(control);
}
inline TControl* ControlFromParam(LPARAM l) {
    return reinterpret_cast<TControl*>(l);
}

} // namespace toolkit
