#include "cli/Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace cli {

bool IsTerminal(int fd) {
    return isatty(fd) == 1;
}

std::optional<int> TerminalColumns(int fd) {
    winsize size{};
    if (!IsTerminal(fd) || ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0)
        return std::nullopt;
    return size.ws_col;
}

} // namespace cli
