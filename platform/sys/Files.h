#pragma once
// Files and paths as the program names them.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The name made absolute against the current folder, "." and ".." resolved lexically.
// An empty name expands to the current folder.
std::string ExpandFileName(std::string_view fileName);

// The folder the program runs in (absolute).
std::string CurrentFolder();

// The folder that holds a path, lexically: "/a/b" and "/a/b/" give "/a"; the root gives itself.
// The path is made absolute first (see ExpandFileName).
std::string ParentFolder(std::string_view path);

// Whether the path names an existing folder / an existing entry that is not a folder
// (links are followed).
bool FolderExists(std::string_view path);
bool FileExists(std::string_view path);

struct FolderEntry {
    std::string name;      // the bare name, no folder part
    bool isFolder = false; // a folder or a link to one
};

// The entries of a folder, "." and ".." left out, in the order the system gives them. On
// failure (missing, not a folder, no permission) answers false with the error number in
// errorNumber and no entries; entries that vanish while being listed are skipped.
bool ListFolder(std::string_view folder, std::vector<FolderEntry>& entries, int& errorNumber);

// The system's text for an error number, e.g. "No such file or directory".
std::string SystemErrorText(int errorNumber);

} // namespace platform
