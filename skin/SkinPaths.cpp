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

namespace {

constexpr std::string_view kDefaultSkinDirectory = "c:\\skins";

// The path as this system names it: the default skin directory mapped onto our data folder,
// empty for any other drive path.
std::string MappedPath(std::string_view path) {
    if (!HasDrivePrefix(path))
        return HostPath(path);
    const std::string_view head =
        path.substr(0, std::min(path.size(), kDefaultSkinDirectory.size()));
    const bool isDefault =
        toolkit::UpperCase(std::string(head)) ==
            toolkit::UpperCase(std::string(kDefaultSkinDirectory)) &&
        (path.size() == head.size() || path[head.size()] == '\\' || path[head.size()] == '/');
    const std::string folder = isDefault ? DataSkinFolder() : std::string();
    if (folder.empty())
        return {};
    return folder + HostPath(path.substr(head.size()));
}

} // namespace

std::string FindSkinFile(std::string_view path) {
    const std::string mapped = MappedPath(path);
    if (mapped.empty())
        return {};
    const fs::path host(mapped);
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
    const std::string mapped = MappedPath(path);
    std::error_code ec;
    return !mapped.empty() && fs::is_directory(mapped, ec);
}

std::vector<TacDirEntry> ListSkinDirectory(std::string_view path) {
    std::vector<TacDirEntry> entries;
    if (!SkinDirectoryExists(path))
        return entries;
    std::error_code ec;
    for (fs::directory_iterator it(MappedPath(path), ec), end; !ec && it != end; it.increment(ec))
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

std::string DataSkinFolderFor(std::string_view programFolder) {
    fs::path folder = fs::path(programFolder).parent_path(); // drops the trailing "/"
    const fs::path below = "share/charvane/skins";
    std::error_code ec;
    std::string first;
    for (int up = 0; up < 2 && folder.has_parent_path() && folder != folder.root_path(); ++up) {
        folder = folder.parent_path();
        const std::string candidate = (folder / below).string();
        if (fs::is_directory(candidate, ec))
            return candidate;
        if (first.empty())
            first = candidate;
    }
    return first;
}

std::string DataSkinFolder() {
    // The program does not move while it runs.
    static const std::string folder = DataSkinFolderFor(ApplicationFolder());
    return folder;
}

} // namespace skin
