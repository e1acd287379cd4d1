#include "platform/sys/OpenUrl.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform {
namespace {

OpenUrlHandler& Handler() {
    static OpenUrlHandler handler;
    return handler;
}

// Starts xdg-open in a grandchild, so it belongs to nobody once the middle child has ended:
// the program reaps that child at once and never waits for the opener itself.
void LaunchOpener(const std::string& url) {
    const pid_t child = ::fork();
    if (child < 0)
        return;
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {
            char* const argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(url.c_str()),
                                  nullptr};
            ::execvp(argv[0], argv);
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

void OpenUrl(const std::string& url) {
    if (Handler()) {
        Handler()(url);
        return;
    }
    LaunchOpener(url);
}

OpenUrlHandler SetOpenUrlHandler(OpenUrlHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

} // namespace platform
