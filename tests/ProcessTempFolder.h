#pragma once
// A temporary folder for one test process, made on first use and removed with everything in it
// when the process ends, so test runs leave nothing behind in the temporary directory.

#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace charvane::testing {

inline const std::filesystem::path& ProcessTempFolder(const std::string& prefix) {
    static const struct Folder {
        std::filesystem::path path;
        explicit Folder(const std::string& name)
            : path(std::filesystem::temp_directory_path() /
                   (name + "-" + std::to_string(::getpid()))) {
            std::filesystem::create_directories(path);
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder(prefix);
    return folder.path;
}

} // namespace charvane::testing
