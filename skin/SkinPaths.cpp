#include "skin/SkinPaths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "toolkit/TMemIniFile.h"

namespace skin {
namespace fs = std::filesystem;

std::string HostPath(std::string_view path) {
    std::string host(path);
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

bool HasDrivePrefix(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

std::string FindSkinFile(std::string_view path) {
    if (path.empty() || HasDrivePrefix(path))
        return {};
    const fs::path host(HostPath(path));
    std::error_code ec;
    if (fs::is_regular_file(host, ec))
        return host.string();
    const fs::path folder = host.has_parent_path() ? host.parent_path() : fs::path(".");
    const std::string wanted = toolkit::UpperCase(host.filename().string());
    if (wanted.empty() || !fs::is_directory(folder, ec))
        return {};
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (toolkit::UpperCase(it->path().filename().string()) == wanted && it->is_regular_file(ec))
            return it->path().string();
    }
    return {};
}

bool SkinFileExists(std::string_view path) {
    return !FindSkinFile(path).empty();
}

bool SkinDirectoryExists(std::string_view path) {
    if (path.empty() || HasDrivePrefix(path))
        return false;
    std::error_code ec;
    return fs::is_directory(HostPath(path), ec);
}

std::vector<TacDirEntry> ListSkinDirectory(std::string_view path) {
    std::vector<TacDirEntry> entries;
    if (!SkinDirectoryExists(path))
        return entries;
    std::error_code ec;
    for (fs::directory_iterator it(HostPath(path), ec), end; !ec && it != end; it.increment(ec))
        entries.push_back({it->path().filename().string(), it->is_directory(ec)});
    std::sort(entries.begin(), entries.end(),
              [](const TacDirEntry& a, const TacDirEntry& b) { return a.name < b.name; });
    return entries;
}

std::string ApplicationFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "./";
    return exe.parent_path().string() + "/";
}

} // namespace skin
