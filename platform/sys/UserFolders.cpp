#include "platform/sys/UserFolders.h"

#include <cstdlib>
#include <string_view>

#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

std::string BaseFolder(const char* variable, std::string_view belowHome) {
    if (const char* value = std::getenv(variable); value && *value == '/') {
        std::string folder = value;
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        return folder;
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/" + std::string(belowHome);
}

} // namespace

std::string UserConfigFolder() {
    return BaseFolder("XDG_CONFIG_HOME", ".config");
}

std::string UserDataFolder() {
    return BaseFolder("XDG_DATA_HOME", ".local/share");
}

} // namespace platform
