#pragma once
// Who made the program and where its page is: the main window's caption names the contact
// address, and the web-page button opens the page.
//
// The page is the help page shipped with the program (assets/help/index.html, installed as
// <prefix>/share/charvane/help/index.html). WebPageUrl looks for it in the installed data folder
// (found from the program file's own path, so a tree installed under any prefix, or moved as a
// whole, finds its own copy), then beside the program file (in the program's folder or up to two
// folders above it, which covers a build folder inside the source tree) and then in the source
// tree the program was built from, and answers it as a file URL; when it is nowhere, the URL of
// the shipped location next to the program is answered all the same, so the button still hands
// the desktop an address and its opener reports what is missing.

#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view kContactAddress = "charvane@example.org";
inline constexpr std::string_view kWebPage = "assets/help/index.html";

// The installed page, relative to the data folder.
inline constexpr std::string_view kInstalledWebPage = "help/index.html";

// "Charvane 1.2 (<contact address>)".
std::string MainCaption();

// <prefix>/share/charvane for a program file in <prefix>/bin, whether or not it exists; empty
// when the program's own path cannot be read.
std::string DataFolder();

// The absolute file URL of kWebPage (characters outside the unreserved set and "/" escaped).
std::string WebPageUrl();

} // namespace app
