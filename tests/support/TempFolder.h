#pragma once
// Temporary folders for tests: one per test (TempFolder) or one per test process
// (ProcessTempFolder). Both are removed with everything in them, so test runs leave nothing
// behind in the temporary directory, even after a test made parts of them read-only.

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace charvane::testing {

// Gives back every permission below path, then removes it; never throws.
inline void RemoveFolder(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(path, ec); !ec && it != fs::end(it);
         it.increment(ec))
        if (!it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
}

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "charvane") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::filesystem::filesystem_error("cannot make a temporary folder", pattern,
                                                    std::error_code(errno, std::system_category()));
        m_path = pattern;
    }
    ~TempFolder() { RemoveFolder(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string Str() const { return m_path.string(); }
    // The path of a file or folder inside, as text.
    std::string File(const std::string& relative) const { return (m_path / relative).string(); }

private:
    std::filesystem::path m_path;
};

inline const std::filesystem::path& ProcessTempFolder(const std::string& prefix) {
    static const TempFolder folder(prefix + "-" + std::to_string(::getpid()));
    return folder.Path();
}

} // namespace charvane::testing
