#include "toolkit/MessageBox.h"

#include <cstdio>
#include <utility>

#include "platform/win/Input.h"
#include "platform/win/MessageBox.h"
#include "platform/win/WindowSystem.h"

namespace toolkit {
namespace {

ModalResult WriteToStandardError(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s%s%s\n", request.caption.c_str(), request.caption.empty() ? "" : ": ",
                 request.text.c_str());
    return ModalResult::OK;
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
    }
    return 0;
}

ModalResult ShowDefault(const MessageBoxRequest& request) {
    if (!platform::WindowSystem::Running())
        return WriteToStandardError(request);
    const int answer =
        platform::MessageBox(platform::GetActiveWindow(), request.text, request.caption,
                             platform::MB_OK | IconOf(request.type));
    return answer == platform::IDOK ? ModalResult::OK : ModalResult::Cancel;
}

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler = ShowDefault;
    return handler;
}

} // namespace

ModalResult ShowMessageBox(std::string_view text, std::string_view caption, MsgDlgType type) {
    return Handler()(MessageBoxRequest{std::string(text), std::string(caption), type});
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous =
        std::exchange(Handler(), handler ? std::move(handler) : MessageBoxHandler(ShowDefault));
    return previous;
}

} // namespace toolkit
