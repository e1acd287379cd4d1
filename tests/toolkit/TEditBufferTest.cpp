// The text behind the edit and the memo: line splitting, offsets across CR LF breaks, inserting
// and erasing across lines with the character count kept, and word boundaries.

#include <gtest/gtest.h>

#include "toolkit/TEditBuffer.h"

namespace toolkit {
namespace {

TEST(TEditBuffer, SplitsAtEveryKindOfBreakAndCountsBreaksAsTwo) {
    TEditBuffer b(true);
    b.SetText(U"a\r\nbb\ncc\rd");
    EXPECT_EQ(b.LineCount(), 4);
    EXPECT_EQ(b.Text(), U"a\r\nbb\r\ncc\r\nd");
    EXPECT_EQ(b.Length(), 12);
    TEditBuffer single(false);
    single.SetText(U"one\r\ntwo");
    EXPECT_EQ(single.Text(), U"one");
    EXPECT_EQ(single.Insert({0, 1}, U"X\nY"), (TTextPos{0, 2}));
    EXPECT_EQ(single.Text(), U"oXne");
}

TEST(TEditBuffer, OffsetsAndPositionsRoundTripAndTheSecondHalfOfABreakIsTheLineEnd) {
    TEditBuffer b(true);
    b.SetText(U"ab\r\ncd\r\n");
    for (std::int64_t off : {0, 1, 2, 4, 5, 6, 8})
        EXPECT_EQ(b.Offset(b.PosOf(off)), off) << off;
    EXPECT_EQ(b.PosOf(3), (TTextPos{0, 2}));
    EXPECT_EQ(b.PosOf(7), (TTextPos{1, 2}));
    EXPECT_EQ(b.PosOf(100), b.End());
    EXPECT_EQ(b.PosOf(-5), (TTextPos{0, 0}));
    EXPECT_EQ(b.Clamp({1, 99}), (TTextPos{1, 2}));
    EXPECT_EQ(b.Clamp({9, 0}), b.End());
}

TEST(TEditBuffer, InsertAndEraseAcrossLinesKeepTheLengthAndForgetWidths) {
    TEditBuffer b(true);
    b.SetText(U"hello\r\nworld");
    b.SetWidth(0, 50);
    b.SetWidth(1, 50);
    const TTextPos end = b.Insert({0, 2}, U"1\r\n2\r\n3");
    EXPECT_EQ(end, (TTextPos{2, 1}));
    EXPECT_EQ(b.Text(), U"he1\r\n2\r\n3llo\r\nworld");
    EXPECT_EQ(b.Length(), static_cast<std::int64_t>(b.Text().size()));
    EXPECT_EQ(b.Width(0), TEditBuffer::kUnmeasured);
    EXPECT_EQ(b.Width(3), 50); // an untouched line keeps its width
    b.Erase({3, 2}, {0, 1});   // either order
    EXPECT_EQ(b.Text(), U"hrld");
    EXPECT_EQ(b.Length(), 4);
    b.Erase({0, 0}, {5, 5});
    EXPECT_EQ(b.LineCount(), 1);
    EXPECT_EQ(b.Length(), 0);
}

TEST(TEditBuffer, WordsAreLettersDigitsAndNonAsciiBetweenBlanksAndPunctuation) {
    TEditBuffer b(true);
    b.SetText(U"Привет, мир_2  ok\r\nnext");
    EXPECT_EQ(b.WordRight({0, 0}), (TTextPos{0, 6}));
    EXPECT_EQ(b.WordRight({0, 6}), (TTextPos{0, 8}));
    EXPECT_EQ(b.WordRight({0, 8}), (TTextPos{0, 15}));
    EXPECT_EQ(b.WordRight({0, 17}), (TTextPos{1, 0}));
    EXPECT_EQ(b.WordLeft({1, 0}), (TTextPos{0, 17}));
    EXPECT_EQ(b.WordLeft({0, 15}), (TTextPos{0, 8}));
    EXPECT_EQ(b.WordLeft({0, 7}), (TTextPos{0, 6}));
    TTextPos s, e;
    b.WordAt({0, 10}, s, e);
    EXPECT_EQ(s, (TTextPos{0, 8}));
    EXPECT_EQ(e, (TTextPos{0, 15})); // the word with the blanks after it
    b.WordAt({0, 17}, s, e);         // at the line's end: the word before
    EXPECT_EQ(s, (TTextPos{0, 15}));
    EXPECT_EQ(e, (TTextPos{0, 17}));
}

} // namespace
} // namespace toolkit
