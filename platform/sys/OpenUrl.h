#pragma once
// Hands an address (a web page, a file URL) to the desktop's opener, as the shell's "Open" verb
// does: xdg-open runs detached from the program, without a shell and without waiting for it;
// whether it manages to open anything is not reported.
//
// The opener can be replaced (tests record the address instead of starting a browser):
// SetOpenUrlHandler installs a handler and answers the previous one; an empty handler puts the
// desktop's opener back.

#include <functional>
#include <string>

namespace platform {

using OpenUrlHandler = std::function<void(const std::string& url)>;

void OpenUrl(const std::string& url);
OpenUrlHandler SetOpenUrlHandler(OpenUrlHandler handler);

} // namespace platform
