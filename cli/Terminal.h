#pragma once
// What charvane-cli asks of the terminal its output goes to.

#include <optional>

namespace cli {

// The number of columns of the terminal open on fd; nothing when fd is no terminal or the
// terminal does not say.
std::optional<int> TerminalColumns(int fd);
bool IsTerminal(int fd);

} // namespace cli
