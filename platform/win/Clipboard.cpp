#include "platform/win/Clipboard.h"

#include "platform/win/WindowState.h"

namespace platform {

std::string GetClipboardText() {
    return detail::State::Get().backend->ClipboardText();
}

bool SetClipboardText(const std::string& utf8) {
    detail::State::Get().backend->SetClipboardText(utf8);
    return true;
}

std::string GetPrimarySelectionText() {
    return detail::State::Get().backend->PrimarySelectionText();
}

void SetPrimarySelectionText(const std::string& utf8) {
    detail::State::Get().backend->SetPrimarySelectionText(utf8);
}

} // namespace platform
