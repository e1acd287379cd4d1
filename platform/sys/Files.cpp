#include "platform/sys/Files.h"

#include <cerrno>
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

std::string CurrentFolder() {
    std::string folder = ExpandFileName("");
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string ParentFolder(std::string_view path) {
    std::string full = ExpandFileName(path);
    while (full.size() > 1 && full.back() == '/')
        full.pop_back();
    const std::filesystem::path parent = std::filesystem::path(full).parent_path();
    return parent.empty() ? full : parent.string();
}

bool FolderExists(std::string_view path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(std::filesystem::path(path), ec);
}

bool FileExists(std::string_view path) {
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(path), ec);
    return !path.empty() && !ec && std::filesystem::exists(status) &&
           !std::filesystem::is_directory(status);
}

bool ListFolder(std::string_view folder, std::vector<FolderEntry>& entries, int& errorNumber) {
    entries.clear();
    errorNumber = 0;
    std::error_code ec;
    std::filesystem::directory_iterator it(std::filesystem::path(folder), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        // A link is shown as what it leads to; a broken one as a plain entry.
        const bool isFolder = it->is_directory(typeError);
        entries.push_back({it->path().filename().string(), isFolder && !typeError});
    }
    if (ec) {
        entries.clear();
        errorNumber = ec.value() != 0 ? ec.value() : EIO;
        return false;
    }
    return true;
}

std::string SystemErrorText(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

} // namespace platform
