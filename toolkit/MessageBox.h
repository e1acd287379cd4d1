#pragma once
// Modal message boxes. Boxes go through a replaceable handler. The default one shows the
// platform's message box (owned by the active window, with the icon of the type and one OK
// button) while a window system runs, and otherwise writes the text to standard error and
// answers OK. Tests install a handler to see what would have been shown.

#include <functional>
#include <string>
#include <string_view>

namespace toolkit {

enum class MsgDlgType { Warning, Error, Information, Confirmation };
enum class ModalResult { OK = 1, Cancel = 2 };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MsgDlgType type = MsgDlgType::Information;
};

using MessageBoxHandler = std::function<ModalResult(const MessageBoxRequest&)>;

// Shows a box with one OK button and returns the answer.
ModalResult ShowMessageBox(std::string_view text, std::string_view caption, MsgDlgType type);

// Installs a handler (an empty one restores the default) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace toolkit
