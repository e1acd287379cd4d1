#pragma once
// The clipboard's text, through the backend (the host's clipboard under SDL, a string in memory
// headless). Text is UTF-8; line ends are kept as given. The primary selection is the desktop's
// second, implicit clipboard: what was selected last, pasted by a middle click.

#include <string>

namespace platform {

std::string GetClipboardText();
bool SetClipboardText(const std::string& utf8);

std::string GetPrimarySelectionText();
void SetPrimarySelectionText(const std::string& utf8);

} // namespace platform
