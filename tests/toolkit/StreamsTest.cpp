#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/Files.h"
#include "tests/support/Scoped.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Streams.h"
#include "toolkit/TStringList.h"

using namespace toolkit;

namespace {
std::filesystem::path TempDir() {
    return charvane::testing::ProcessTempFolder("charvane-streams");
}
} // namespace

TEST(TMemoryStream, ReadBufferFailsWhenTheDataEndsEarly) {
    TMemoryStream s({1, 2, 3});
    EXPECT_EQ(s.ReadU16(), 0x0201);
    EXPECT_EQ(s.Remaining(), 1);
    EXPECT_THROW(s.ReadU16(), EReadError);
}

TEST(TMemoryStream, WritePastTheEndGrowsAndSeekClampsAtZero) {
    TMemoryStream s;
    s.Seek(4, SeekOrigin::Beginning);
    s.WriteBuffer("ab", 2);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Seek(-100, SeekOrigin::Current), 0);
}

TEST(TFileStream, NamesTheAbsoluteFileAndTheSystemErrorWhenItCannotOpen) {
    const auto dir = TempDir();
    const charvane::testing::ScopedCurrentFolder inDir(dir);
    try {
        TFileStream f("missing.bmp", FileMode::OpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + (dir / "missing.bmp").string() +
                                   "\". No such file or directory");
    }
    EXPECT_THROW(TFileStream(dir.string(), FileMode::OpenRead), EFOpenError);
    try {
        TFileStream f("no/such/folder.txt", FileMode::Create);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + (dir / "no/such/folder.txt").string() +
                                   "\". No such file or directory");
    }
}

TEST(TStringList, SavesEveryLineWithCrLfAndReadsAnyLineEnd) {
    const auto file = TempDir() / "lines.txt";
    TStringList list{"a", "",
                     "\x0e"
                     "b"};
    list.SaveToFile(file.string());
    EXPECT_EQ(charvane::testing::ReadFile(file), "a\r\n\r\n\x0e"
                                                 "b\r\n");

    TStringList back;
    back.SetText("x\r\ny\nz\rw");
    EXPECT_EQ(back.Lines(), (std::vector<std::string>{"x", "y", "z", "w"}));
    EXPECT_THROW(back.Delete(4), EListError);
}
