#pragma once
// The clipboard's text, through the backend (the host's clipboard under SDL, a string in memory
// headless). Text is UTF-8; line ends are kept as given.

#include <string>

namespace platform {

std::string GetClipboardText();
bool SetClipboardText(const std::string& utf8);

} // namespace platform
