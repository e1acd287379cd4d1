#pragma once
// Skin paths as the program writes them, mapped onto this system's files.
//
// Skin names, folders and image names come with "\" or "/" between folders; both separate
// folders here, and a leading "/" is absolute. A path with a drive prefix ("c:\Skins") names
// nothing on this system: it never exists. Windows finds files without regard to case and skin
// texts upper-case their image names, so the last part of a file name is matched without regard
// to ASCII case when the exact name is not there.

#include <string>
#include <string_view>
#include <vector>

namespace skin {

// The path with every "\" turned into "/".
std::string HostPath(std::string_view path);
// True for "c:" style prefixes.
bool HasDrivePrefix(std::string_view path);

// The host path of an existing regular file, matching its last part without regard to case;
// empty when there is none.
std::string FindSkinFile(std::string_view path);
bool SkinFileExists(std::string_view path);
bool SkinDirectoryExists(std::string_view path);

struct TacDirEntry {
    std::string name;
    bool isDirectory = false;
};
// The entries of a folder in name order; empty when it does not exist.
std::vector<TacDirEntry> ListSkinDirectory(std::string_view path);

// The folder of the running program with a trailing "/".
std::string ApplicationFolder();

} // namespace skin
