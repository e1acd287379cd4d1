#include "skin/SkinPaths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/sys/UserFolders.h"
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

// The name a skin folder entry is listed under: a folder by its name, a packed file by its name
// up to the first "."; upper case, as skin names are compared.
std::string SkinKey(const std::string& entryName) {
    return toolkit::UpperCase(entryName.substr(0, entryName.find('.')));
}

std::vector<TacDirEntry> ListFolder(const std::string& folder) {
    std::vector<TacDirEntry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back({it->path().filename().string(), it->is_directory(ec)});
    return entries;
}

// Whether the user's skin folder holds a skin listed under key.
bool UserHasSkin(const std::string& key) {
    const std::string folder = UserSkinFolder();
    if (folder.empty() || key.empty())
        return false;
    for (const TacDirEntry& entry : ListFolder(folder)) {
        if (SkinKey(entry.name) != key)
            continue;
        std::error_code ec;
        const fs::path path = fs::path(folder) / entry.name;
        if (entry.isDirectory
                ? fs::exists(path / "Options.dat", ec) || fs::exists(path / "options.dat", ec)
                : toolkit::UpperCase(entry.name).ends_with(".ASZ"))
            return true;
    }
    return false;
}

// The folder a path below the default skin directory lives in: the user's when the skin it
// names (its first part) is one of theirs, else ours.
std::string DefaultFolderFor(std::string_view rest) {
    const std::string host = HostPath(rest);
    const std::size_t begin = host.find_first_not_of('/');
    if (begin != std::string::npos) {
        const std::string first = host.substr(begin, host.find('/', begin) - begin);
        if (UserHasSkin(SkinKey(first)))
            return UserSkinFolder();
    }
    return DataSkinFolder();
}

bool IsDefaultSkinDirectory(std::string_view path) {
    if (!HasDrivePrefix(path))
        return false;
    const std::string_view head =
        path.substr(0, std::min(path.size(), kDefaultSkinDirectory.size()));
    return toolkit::UpperCase(std::string(head)) ==
               toolkit::UpperCase(std::string(kDefaultSkinDirectory)) &&
           (path.size() == head.size() || path[head.size()] == '\\' || path[head.size()] == '/');
}

// The path as this system names it: the default skin directory mapped onto our data folder or
// the user's, empty for any other drive path.
std::string MappedPath(std::string_view path) {
    if (!HasDrivePrefix(path))
        return HostPath(path);
    if (!IsDefaultSkinDirectory(path))
        return {};
    const std::string_view rest = path.substr(kDefaultSkinDirectory.size());
    const std::string folder = DefaultFolderFor(rest);
    if (folder.empty())
        return {};
    return folder + HostPath(rest);
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
    if (IsDefaultSkinDirectory(path) && HostPath(path).size() <= kDefaultSkinDirectory.size() + 1 &&
        fs::is_directory(UserSkinFolder(), ec))
        return true;
    return !mapped.empty() && fs::is_directory(mapped, ec);
}

std::vector<TacDirEntry> ListSkinDirectory(std::string_view path) {
    std::vector<TacDirEntry> entries;
    if (!SkinDirectoryExists(path))
        return entries;
    const bool both =
        IsDefaultSkinDirectory(path) && HostPath(path).size() <= kDefaultSkinDirectory.size() + 1;
    entries = ListFolder(both ? DataSkinFolder() : MappedPath(path));
    if (both) {
        // The user's skins hide ours of the same name.
        std::erase_if(entries, [](const TacDirEntry& e) { return UserHasSkin(SkinKey(e.name)); });
        const std::string user = UserSkinFolder();
        if (!user.empty())
            for (TacDirEntry& entry : ListFolder(user))
                entries.push_back(std::move(entry));
    }
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

std::string UserSkinFolder() {
    const std::string data = platform::UserDataFolder();
    return data.empty() ? std::string() : data + "/charvane/skins";
}

std::string DataSkinFolder() {
    // The program does not move while it runs.
    static const std::string folder = DataSkinFolderFor(ApplicationFolder());
    return folder;
}

} // namespace skin
