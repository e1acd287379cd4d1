// Folder listing and path helpers against a scratch folder: entries with their folder flag
// (links followed, broken links plain), failures with the system's error number, and the
// lexical parent of paths.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/sys/Files.h"
#include "tests/support/TempFolder.h"

namespace platform {
namespace {

class Files : public ::testing::Test {
protected:
    const charvane::testing::TempFolder temp{"charvane-files"};
    const std::string root = temp.Str();
};

TEST_F(Files, ListFolderTellsFoldersFromFilesAndFollowsLinks) {
    std::filesystem::create_directory(root + "/sub");
    std::ofstream(root + "/file.txt") << "x";
    std::filesystem::create_directory_symlink(root + "/sub", root + "/linked");
    std::filesystem::create_symlink(root + "/nowhere", root + "/dangling");

    std::vector<FolderEntry> entries;
    int error = -1;
    ASSERT_TRUE(ListFolder(root, entries, error));
    EXPECT_EQ(error, 0);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "dangling");
    EXPECT_FALSE(entries[0].isFolder);
    EXPECT_EQ(entries[1].name, "file.txt");
    EXPECT_FALSE(entries[1].isFolder);
    EXPECT_EQ(entries[2].name, "linked");
    EXPECT_TRUE(entries[2].isFolder);
    EXPECT_EQ(entries[3].name, "sub");
    EXPECT_TRUE(entries[3].isFolder);

    EXPECT_TRUE(FolderExists(root + "/linked"));
    EXPECT_FALSE(FolderExists(root + "/file.txt"));
    EXPECT_TRUE(FileExists(root + "/file.txt"));
    EXPECT_FALSE(FileExists(root + "/sub"));
    EXPECT_FALSE(FileExists(root + "/dangling"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FolderExists(""));
}

TEST_F(Files, ListFolderFailsWithTheSystemsReasonAndNoEntries) {
    std::ofstream(root + "/file.txt") << "x";
    std::vector<FolderEntry> entries{{"stale", false}};
    int error = 0;
    EXPECT_FALSE(ListFolder(root + "/missing", entries, error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(ListFolder(root + "/file.txt", entries, error));
    EXPECT_EQ(error, ENOTDIR);
    EXPECT_EQ(SystemErrorText(error), "Not a directory");
}

TEST(FilePaths, ParentFolderIsLexicalAndStopsAtTheRoot) {
    EXPECT_EQ(ParentFolder("/a/b"), "/a");
    EXPECT_EQ(ParentFolder("/a/b/"), "/a");
    EXPECT_EQ(ParentFolder("/a/./b/../c"), "/a");
    EXPECT_EQ(ParentFolder("/a"), "/");
    EXPECT_EQ(ParentFolder("/"), "/");
    EXPECT_EQ(ParentFolder("x"), CurrentFolder());
    EXPECT_EQ(CurrentFolder(), std::filesystem::current_path().string());
}

} // namespace
} // namespace platform
