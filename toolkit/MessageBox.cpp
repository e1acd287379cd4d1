#include "toolkit/MessageBox.h"

#include <cstdio>
#include <utility>

#include "platform/win/Input.h"
#include "platform/win/MessageBox.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/TApplication.h"

namespace toolkit {
namespace {

constexpr unsigned kButtonRowMask = 0xF, kDefaultButtonMask = 0xF00, kIconMask = 0xF0;

// The answer nobody gave: the one that changes nothing.
ModalResult SafeAnswer(unsigned buttons) {
    switch (buttons & kButtonRowMask) {
    case platform::MB_OK:
        return ModalResult::OK;
    case platform::MB_ABORTRETRYIGNORE:
        return ModalResult::Abort;
    case platform::MB_YESNO:
        return ModalResult::No;
    default:
        return ModalResult::Cancel;
    }
}

ModalResult WriteToStandardError(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s%s%s\n", request.caption.c_str(), request.caption.empty() ? "" : ": ",
                 request.text.c_str());
    return SafeAnswer(request.buttons);
}

platform::UINT IconOf(MsgDlgType type) {
    switch (type) {
    case MsgDlgType::Warning:
        return platform::MB_ICONWARNING;
    case MsgDlgType::Error:
        return platform::MB_ICONERROR;
    case MsgDlgType::Information:
        return platform::MB_ICONINFORMATION;
    case MsgDlgType::Confirmation:
        return platform::MB_ICONQUESTION;
    case MsgDlgType::Custom:
        return 0;
    }
    return 0;
}

MsgDlgType TypeOfIcon(unsigned flags) {
    switch (flags & kIconMask) {
    case platform::MB_ICONWARNING:
        return MsgDlgType::Warning;
    case platform::MB_ICONERROR:
        return MsgDlgType::Error;
    case platform::MB_ICONINFORMATION:
        return MsgDlgType::Information;
    case platform::MB_ICONQUESTION:
        return MsgDlgType::Confirmation;
    default:
        return MsgDlgType::Custom;
    }
}

std::string CaptionOf(MsgDlgType type) {
    switch (type) {
    case MsgDlgType::Warning:
        return "Warning";
    case MsgDlgType::Error:
        return "Error";
    case MsgDlgType::Information:
        return "Information";
    case MsgDlgType::Confirmation:
        return "Confirm";
    case MsgDlgType::Custom:
        break;
    }
    TApplication* app = Application();
    return app ? app->Title() : std::string();
}

unsigned RowOf(TMsgDlgButtons b) {
    if (b.Contains(mbYes) || b.Contains(mbNo))
        return b.Contains(mbCancel) ? platform::MB_YESNOCANCEL : platform::MB_YESNO;
    if (b.Contains(mbAbort) || b.Contains(mbIgnore))
        return platform::MB_ABORTRETRYIGNORE;
    if (b.Contains(mbRetry))
        return platform::MB_RETRYCANCEL;
    if (b.Contains(mbCancel))
        return platform::MB_OKCANCEL;
    return platform::MB_OK;
}

ModalResult ShowDefault(const MessageBoxRequest& request) {
    if (!platform::WindowSystem::Running())
        return WriteToStandardError(request);
    const unsigned buttons = request.buttons & (kButtonRowMask | kDefaultButtonMask);
    const int answer = platform::MessageBox(platform::GetActiveWindow(), request.text,
                                            request.caption, buttons | IconOf(request.type));
    return answer >= platform::IDOK && answer <= platform::IDNO ? static_cast<ModalResult>(answer)
                                                                : SafeAnswer(buttons);
}

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler = ShowDefault;
    return handler;
}

} // namespace

ModalResult ShowMessageBox(std::string_view text, std::string_view caption, MsgDlgType type) {
    return Handler()(MessageBoxRequest{std::string(text), std::string(caption), type});
}

int MessageDlg(std::string_view text, MsgDlgType type, TMsgDlgButtons buttons) {
    MessageBoxRequest request{std::string(text), CaptionOf(type), type, RowOf(buttons)};
    return static_cast<int>(Handler()(request));
}

int ShowMessageBoxFlags(std::string_view text, std::string_view caption, unsigned flags) {
    MessageBoxRequest request{std::string(text), std::string(caption), TypeOfIcon(flags),
                              flags & (kButtonRowMask | kDefaultButtonMask)};
    return static_cast<int>(Handler()(request));
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous =
        std::exchange(Handler(), handler ? std::move(handler) : MessageBoxHandler(ShowDefault));
    return previous;
}

} // namespace toolkit
