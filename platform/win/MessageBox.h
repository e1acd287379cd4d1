#pragma once
// The system's message box: a modal window of the class "#32770" with an icon, the text
// (word-wrapped, at most about 60% of the screen wide) and a row of buttons, centred on its
// owner's top-level window (or on the work area). While it is up its owner is disabled; it
// answers the id of the button pressed. Enter presses the default button, Escape and the close
// box press Cancel (or OK when OK is the only button) and do nothing when neither exists; the
// "&" letters press their buttons. The icon's sound is played when the box appears.
//
// Button captions are the plain English ones; SetMessageBoxCaptions replaces them (in the order
// of the ids IDOK ... IDNO) for a localised interface.

#include <array>
#include <string>

#include "platform/win/WinDefs.h"

namespace platform {

constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
               MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_ICONHAND = 0x10, MB_ICONERROR = 0x10,
               MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30,
               MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40,
               MB_DEFBUTTON1 = 0x0, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200,
               MB_APPLMODAL = 0x0, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

void SetMessageBoxCaptions(const std::array<std::string, 7>& captions);

inline constexpr const char* kDialogClassName = "#32770";

} // namespace platform
