#pragma once
// Skin paths as the program writes them, mapped onto this system's files.
//
// Skin names, folders and image names come with "\" or "/" between folders; both separate
// folders here, and a leading "/" is absolute. The program's default skin directory "c:\Skins"
// (any case, and what lies inside it) stands for the skin folder of our data, see
// DataSkinFolder(); any other path with a drive prefix names nothing on this system. Windows finds
// files without regard to case and skin texts upper-case their image names, so the last part of a
// file name is matched without regard to ASCII case when the exact name is not there.

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

// Where "c:\Skins" leads: share/charvane/skins under the parent of the program's folder
// (<prefix>/bin/charvane finds <prefix>/share/charvane/skins), else under the folder above that
// (the build tree's test and benchmark programs sit one folder deeper than the program), else
// the first of these although it does not exist. No trailing "/".
std::string DataSkinFolder();
// The user's own skins, $XDG_DATA_HOME/charvane/skins; "c:\Skins" stands for both folders,
// and a skin of the user's hides one of ours of the same name (compared as skin names are).
// Empty without a home folder.
std::string UserSkinFolder();
// The same rule for a program in programFolder (ending with "/").
std::string DataSkinFolderFor(std::string_view programFolder);

} // namespace skin
