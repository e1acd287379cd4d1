#pragma once
// Files and paths as the program names them.

#include <string>
#include <string_view>

namespace platform {

// The name made absolute against the current folder, "." and ".." resolved lexically.
// An empty name expands to the current folder.
std::string ExpandFileName(std::string_view fileName);

// The system's text for an error number, e.g. "No such file or directory".
std::string SystemErrorText(int errorNumber);

} // namespace platform
