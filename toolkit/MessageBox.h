#pragma once
// Modal message boxes. Boxes go through a replaceable handler. The default one shows the
// platform's message box (owned by the active window, with the icon of the type and one OK
// button) while a window system runs, and otherwise writes the text to standard error and
// gives the safe answer (OK for a box with only OK, otherwise Cancel, No or Abort). Tests
// install a handler to see what would have been shown and to answer.
//
// Buttons are the platform's rows (MB_OK, MB_OKCANCEL, MB_ABORTRETRYIGNORE, MB_YESNOCANCEL,
// MB_YESNO, MB_RETRYCANCEL, plus an MB_DEFBUTTONn bit); the answers are the ids of the buttons,
// which equal the modal results (ModalResult::Yes == IDYES == mrYes).

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/TSet.h"

namespace toolkit {

// Custom: no icon.
enum class MsgDlgType { Warning, Error, Information, Confirmation, Custom };
enum class ModalResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MsgDlgType type = MsgDlgType::Information;
    unsigned buttons = 0; // the button row and default-button bits of the platform's flags
};

enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
using enum TMsgDlgBtn;

using MessageBoxHandler = std::function<ModalResult(const MessageBoxRequest&)>;

// Shows a box with one OK button and returns the answer.
ModalResult ShowMessageBox(std::string_view text, std::string_view caption, MsgDlgType type);

// A box captioned by its type ("Warning", "Error", "Information", "Confirm"; Custom: the
// application's title) with the platform's row that holds the buttons asked for: Yes+No (with
// Cancel), OK+Cancel, Abort+Retry+Ignore, Retry+Cancel, else OK alone. The first button is the
// default. Answers the modal result of the button pressed (mrYes, mrNo, mrOk, ...).
int MessageDlg(std::string_view text, MsgDlgType type, TMsgDlgButtons buttons);

// The platform-style box: flags are MB_* (buttons, icon, default button). Answers IDOK ... IDNO.
int ShowMessageBoxFlags(std::string_view text, std::string_view caption, unsigned flags);

// Installs a handler (an empty one restores the default) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace toolkit
