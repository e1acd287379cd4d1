#include "app/ProgramInfo.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace app {
namespace {

namespace fs = std::filesystem;

std::string FileUrl(const fs::path& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const unsigned char c : path.string()) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

fs::path ProgramFolder(std::error_code& ec) {
    return fs::read_symlink("/proc/self/exe", ec).parent_path();
}

} // namespace

std::string DataFolder() {
    std::error_code ec;
    const fs::path exeFolder = ProgramFolder(ec);
    if (ec || exeFolder.empty())
        return {};
    return (exeFolder / CHARVANE_DATA_FROM_BIN).lexically_normal().string();
}

std::string MainCaption() {
    return "Charvane 1.2 (" + std::string(kContactAddress) + ")";
}

std::string WebPageUrl() {
    std::error_code ec;
    const fs::path exeFolder = ProgramFolder(ec);
    const bool knowExe = !ec && !exeFolder.empty();
    std::vector<fs::path> candidates;
    if (knowExe) {
        candidates.push_back(fs::path(DataFolder()) / kInstalledWebPage);
        fs::path folder = exeFolder;
        for (int up = 0; up < 3; ++up) {
            candidates.push_back(folder / kWebPage);
            folder = folder.parent_path();
        }
    }
    candidates.push_back(fs::path(CHARVANE_APP_SOURCE_DIR) / kWebPage);
    for (const fs::path& candidate : candidates)
        if (fs::is_regular_file(candidate, ec))
            return FileUrl(fs::weakly_canonical(candidate, ec));
    return FileUrl(knowExe ? exeFolder / kWebPage : fs::current_path(ec) / kWebPage);
}

} // namespace app
