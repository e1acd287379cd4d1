#include "platform/sys/Files.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {

std::string ExpandFileName(std::string_view fileName) {
    std::error_code ec;
    std::filesystem::path path(fileName);
    if (!path.is_absolute()) {
        const auto current = std::filesystem::current_path(ec);
        path = ec ? path : current / path;
    }
    return path.lexically_normal().string();
}

std::string SystemErrorText(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

} // namespace platform
