#include "toolkit/MessageBox.h"

#include <cstdio>
#include <utility>

namespace toolkit {
namespace {

ModalResult WriteToStandardError(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s%s%s\n", request.caption.c_str(), request.caption.empty() ? "" : ": ",
                 request.text.c_str());
    return ModalResult::OK;
}

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler = WriteToStandardError;
    return handler;
}

} // namespace

ModalResult ShowMessageBox(std::string_view text, std::string_view caption, MsgDlgType type) {
    return Handler()(MessageBoxRequest{std::string(text), std::string(caption), type});
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::exchange(
        Handler(), handler ? std::move(handler) : MessageBoxHandler(WriteToStandardError));
    return previous;
}

} // namespace toolkit
