// Filter strings with missing or empty parts, and masks: case, "?", several stars, and a
// pattern that would take exponential time with naive backtracking.

#include "toolkit/FileFilter.h"

#include <gtest/gtest.h>

namespace toolkit {
namespace {

TEST(FileFilters, PairsToleratePartsLeftOut) {
    const auto entries = ParseFileFilter("Text | *.txt ; *.log |||Anything");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description, "Text");
    EXPECT_EQ(entries[0].masks, (std::vector<std::string>{"*.txt", "*.log"}));
    EXPECT_EQ(entries[1].description, "Anything");
    EXPECT_EQ(entries[1].masks, std::vector<std::string>{"*"});
    EXPECT_TRUE(ParseFileFilter("").empty());
}

TEST(FileFilters, MasksMatchIgnoringCaseWithStarsAndQuestionMarks) {
    EXPECT_TRUE(MatchesMask("PHOTO.JPG", "*.jpg"));
    EXPECT_FALSE(MatchesMask("photo.jpeg", "*.jpg"));
    EXPECT_TRUE(MatchesMask("noext", "*.*"));
    EXPECT_TRUE(MatchesMask("a1b.txt", "a?b.*"));
    EXPECT_FALSE(MatchesMask("ab.txt", "a?b.*"));
    EXPECT_TRUE(MatchesMask("x.tar.gz", "*.gz"));
    EXPECT_FALSE(MatchesMask("x.gz.tar", "*.gz"));
    EXPECT_TRUE(MatchesAnyMask("x.log", {"*.txt", "*.LOG"}));
    EXPECT_TRUE(MatchesAnyMask("x", {}));
    const std::string name(5000, 'a');
    EXPECT_FALSE(MatchesMask(name, "*a*a*a*a*a*a*a*a*b"));
}

} // namespace
} // namespace toolkit
