#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::size_t EntriesIn(const std::filesystem::path& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

// Saves `bytes` to `file` in a child process whose files may not grow past 1 KiB, as on a disk
// that fills up halfway; answers the message of the error the save raised ("" if none).
std::string SaveUnderSizeLimit(const std::filesystem::path& file, const std::string& bytes) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string message;
        try {
            TStringList{bytes}.SaveToFile(file.string());
        } catch (const Exception& e) {
            message = e.Message();
        }
        [[maybe_unused]] const auto n = write(pipeEnds[1], message.data(), message.size());
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string message;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return message;
}

} // namespace

TEST(TFileStream, AFailedWriteLeavesTheOldFileAsItWasAndAddsNothing) {
    const auto dir = TempDir() / "full";
    std::filesystem::create_directories(dir);
    const auto file = dir / "art.txt";
    WriteAll(file, "yesterday's work\r\n");
    const std::string big(64 * 1024, 'x');

    EXPECT_EQ(SaveUnderSizeLimit(file, big),
              "Cannot write file \"" + file.string() + "\". File too large");
    EXPECT_EQ(ReadAll(file), "yesterday's work\r\n");
    EXPECT_EQ(EntriesIn(dir), 1u);

    // A new name that cannot be written completely is not left behind half written.
    EXPECT_NE(SaveUnderSizeLimit(dir / "new.txt", big), "");
    EXPECT_EQ(EntriesIn(dir), 1u);
}

TEST(TFileStream, ReplacingAFileKeepsItsPermissionsAndFollowsLinks) {
    const auto dir = TempDir() / "replace";
    std::filesystem::create_directories(dir);
    const auto file = dir / "art.txt";
    WriteAll(file, "old old old");
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    const auto link = dir / "link.txt";
    std::filesystem::create_symlink(file, link);

    TStringList{"new"}.SaveToFile(link.string());
    EXPECT_EQ(ReadAll(file), "new\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(EntriesIn(dir), 2u);

    // A file we may not write stays refused, as truncating it would have been.
    std::filesystem::permissions(file, std::filesystem::perms(0440));
    if (access(file.c_str(), W_OK) != 0) {
        EXPECT_THROW(TStringList{"x"}.SaveToFile(file.string()), EFCreateError);
    }
    EXPECT_EQ(ReadAll(file), "new\r\n");
}

TEST(TFileStream, ADeviceThatRefusesTheBytesIsAnErrorNotASave) {
    try {
        TStringList{"some art"}.SaveToFile("/dev/full");
        FAIL() << "the full device took the bytes";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Cannot write file \"/dev/full\". No space left on device");
    }
    // Devices are written directly, not replaced: /dev/null stays a device.
    TStringList{"gone"}.SaveToFile("/dev/null");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

namespace {
// What the disk sync saw: the temporary file's size and the target's text at that moment.
struct SyncSeen {
    static inline std::filesystem::path target;
    static inline std::int64_t temporarySize = -1;
    static inline std::string targetText;
    static inline int failWith = 0;
    static int Record(int fd) {
        struct stat info {};
        temporarySize = fstat(fd, &info) == 0 ? info.st_size : -1;
        targetText = ReadAll(target);
        errno = failWith;
        return failWith != 0 ? -1 : 0;
    }
};

struct ScopedSync {
    TFileStream::SyncFunction previous = TFileStream::ReplaceSyncForTesting(&SyncSeen::Record);
    ~ScopedSync() { TFileStream::ReplaceSyncForTesting(previous); }
};
} // namespace

TEST(TFileStream, TheWholeFileReachesTheDiskBeforeItReplacesTheTarget) {
    const auto dir = TempDir() / "sync";
    std::filesystem::create_directories(dir);
    SyncSeen::target = dir / "art.txt";
    WriteAll(SyncSeen::target, "old");
    const ScopedSync recording;

    TStringList{"new"}.SaveToFile(SyncSeen::target.string());
    EXPECT_EQ(SyncSeen::temporarySize, 5) << "everything written and flushed before the sync";
    EXPECT_EQ(SyncSeen::targetText, "old") << "the sync comes before the rename";
    EXPECT_EQ(ReadAll(SyncSeen::target), "new\r\n");

    // A sync that fails is a failed save: the target keeps what it had and nothing is left over.
    SyncSeen::failWith = EIO;
    try {
        TStringList{"newer"}.SaveToFile(SyncSeen::target.string());
        ADD_FAILURE() << "a failed sync passed for a save";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(),
                  "Cannot write file \"" + SyncSeen::target.string() + "\". Input/output error");
    }
    SyncSeen::failWith = 0;
    EXPECT_EQ(ReadAll(SyncSeen::target), "new\r\n");
    EXPECT_EQ(EntriesIn(dir), 1u);
}
