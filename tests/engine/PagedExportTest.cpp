#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/PagedExport.h"
#include "platform/sys/Files.h"
#include "tests/support/Files.h"
#include "tests/support/Scoped.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Exceptions.h"

using engine::BuildPagedText;

namespace {

using Lines = std::vector<std::string>;

// Joins expected output lines, each ended by CR LF; "^" stands for the separator byte.
std::string File(const Lines& lines) {
    std::string text;
    for (std::string line : lines) {
        if (!line.empty() && line[0] == '^')
            line[0] = engine::kPageSeparator;
        text += line + "\r\n";
    }
    return text;
}

using charvane::testing::ReadFile;

class PagedExportFile : public testing::Test {
protected:
    const charvane::testing::TempFolder m_temp{"charvane-export"};
    const std::filesystem::path& m_folder = m_temp.Path();
};

} // namespace

TEST(PagedExport, WorkedExampleByteForByte) {
    const std::string expected = "\x0E\r\n"
                                 "abcd\r\n"
                                 "ghij\r\n"
                                 "\x0Eghij\r\n"
                                 "mnop\r\n"
                                 "\x0Emnop\r\n"
                                 "def\r\n"
                                 "jkl\r\n"
                                 "\x0Ejkl\r\n"
                                 "pqr\r\n"
                                 "\x0Epqr\r\n"
                                 "\r\n"
                                 "\r\n"
                                 "\x0E\r\n"
                                 "\r\n";
    EXPECT_EQ(BuildPagedText({"abcdef", "ghijkl", "mnopqr"}, 6, 4, 2), expected);
}

TEST(PagedExport, StripsAndPages) {
    const std::string line80(80, 'a');
    const std::string line108 = std::string(54, 'x') + std::string(54, 'y');
    struct Case {
        const char* what;
        Lines lines;
        int width, cpl, lpp;
        Lines file;
    };
    const Case cases[] = {
        {"defaults: two strips sharing column 55",
         {line80},
         80,
         55,
         42,
         {"^", line80.substr(0, 55), "^" + line80.substr(0, 55), line80.substr(54)}},
        {"W = 108: the third strip is empty",
         {line108},
         108,
         55,
         42,
         {"^", line108.substr(0, 55), "^" + line108.substr(0, 55), line108.substr(54),
          "^" + line108.substr(54), ""}},
        {"cpl = 2 has stride 1", {"abcd"}, 2, 2, 9, {"^", "ab", "^ab", "bc", "^bc", "cd"}},
        {"lpp above the line count: one separator per strip",
         {"ab", "cd", "ef"},
         1,
         3,
         5,
         {"^", "ab", "cd", "ef"}},
        {"negative lpp separates like its absolute value",
         {"a", "b", "c"},
         0,
         2,
         -2,
         {"^", "a", "b", "^b", "c"}},
        {"lpp = MinInt: one separator per strip", {"a", "b"}, 0, 5, INT32_MIN, {"^", "a", "b"}},
        {"cpl = 0 with W > 0: no strip", {"abc"}, 5, 0, 2, {}},
        {"cpl = 0 with W = 0: one strip of empty lines", {"abc", "d"}, 0, 0, 1, {"^", "", "^", ""}},
        {"negative cpl: strips of nothing", {"abc"}, -10, -4, 3, {"^", "", "^", "", "^", ""}},
        {"no lines: empty file, lpp unused", {}, 80, 55, 0, {}},
        {"code points, not bytes", {"ЖжЁё12"}, 4, 3, 10, {"^", "ЖжЁ", "^ЖжЁ", "Ёё1", "^Ёё1", "12"}},
        {"a stray continuation byte stays with its character",
         {"a\x80\x80"
          "bc"},
         1,
         2,
         9,
         {"^",
          "a\x80\x80"
          "b",
          "^a\x80\x80"
          "b",
          "bc"}},
        {"edited pane lines of any length",
         {"", "abcdefgh"},
         3,
         4,
         1,
         {"^", "", "^", "abcd", "^abcd", "", "^", "defg"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildPagedText(c.lines, c.width, c.cpl, c.lpp), File(c.file)) << c.what;
}

TEST(PagedExport, Failures) {
    struct Case {
        const char* what;
        Lines lines;
        int width, cpl, lpp;
        std::size_t maxBytes;
        const char* message;
    };
    const Case cases[] = {
        {"cpl = 1", {"abc"}, 80, 1, 42, engine::kMaxExportBytes, "Division by zero"},
        {"cpl = 1 without lines", {}, 80, 1, 42, engine::kMaxExportBytes, "Division by zero"},
        {"lpp = 0 with a line", {"abc"}, 80, 55, 0, engine::kMaxExportBytes, "Division by zero"},
        {"W = MaxInt, cpl = 2: two billion strips",
         {"abc"},
         INT32_MAX,
         2,
         42,
         engine::kMaxExportBytes,
         "Out of memory"},
        {"just above a small limit", {"abc"}, 0, 5, 1, 7, "Out of memory"},
        {"separators copying long lines",
         {std::string(100, 'a'), "b"},
         0,
         200,
         1,
         200,
         "Out of memory"},
    };
    for (const Case& c : cases) {
        try {
            BuildPagedText(c.lines, c.width, c.cpl, c.lpp, c.maxBytes);
            ADD_FAILURE() << "no exception: " << c.what;
        } catch (const toolkit::Exception& e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
    }
    EXPECT_EQ(BuildPagedText({"abc"}, 0, 5, 1, 8).size(), 8u) << "exactly the limit fits";
    // lpp = 0 is never used when there is no strip.
    EXPECT_EQ(BuildPagedText({"abc"}, 5, 0, 0), "");
}

TEST_F(PagedExportFile, ReplacesAnExistingFile) {
    const auto path = m_folder / "art.txt";
    std::ofstream(path) << std::string(500, 'z');
    engine::SavePagedText(path.string(), {"abcdef", "ghijkl", "mnopqr"}, 6, 4, 2);
    EXPECT_EQ(ReadFile(path).size(), 71u);
    EXPECT_EQ(ReadFile(path).substr(0, 9), "\x0E\r\nabcd\r\n");

    engine::SavePagedText(path.string(), {}, 80, 55, 42);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST_F(PagedExportFile, FailuresWriteNothing) {
    const auto path = m_folder / "keep.txt";
    std::ofstream(path) << "old";
    EXPECT_THROW(engine::SavePagedText(path.string(), {"abc"}, 80, 1, 42), toolkit::EDivByZero);
    EXPECT_THROW(engine::SavePagedText(path.string(), {"abc"}, INT32_MAX, 2, 42),
                 toolkit::EOutOfMemory);
    EXPECT_EQ(ReadFile(path), "old");

    const auto fresh = m_folder / "fresh.txt";
    EXPECT_THROW(engine::SavePagedText(fresh.string(), {"abc"}, 80, 55, 0), toolkit::EDivByZero);
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST_F(PagedExportFile, UncreatableFileNamesTheAbsolutePath) {
    const charvane::testing::ScopedCurrentFolder inFolder(m_folder);
    EXPECT_EQ(platform::ExpandFileName("missing/art.txt"), (m_folder / "missing/art.txt").string());
    for (const std::string name : {"missing/art.txt", ""}) {
        try {
            engine::SavePagedText(name, {"abc"}, 80, 55, 42);
            ADD_FAILURE() << "no exception for '" << name << "'";
        } catch (const toolkit::EFCreateError& e) {
            EXPECT_EQ(e.Message(), "Cannot create file \"" + platform::ExpandFileName(name) +
                                       "\". No such file or directory");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(m_folder / "missing"));
}
