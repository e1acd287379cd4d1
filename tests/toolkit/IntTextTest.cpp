#include <gtest/gtest.h>

#include "toolkit/Exceptions.h"
#include "toolkit/IntText.h"

using toolkit::TryStrToInt;

TEST(IntText, AcceptsDecimalWithBlanksAndSign) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0},
        {"12", 12},
        {"  12", 12},
        {"+12", 12},
        {"-7", -7},
        {" -0", 0},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(TryStrToInt(text), value) << text;
}

TEST(IntText, ReadsHexadecimalAsThe32BitPattern) {
    const std::pair<const char*, int> cases[] = {
        {"$FF", 255},
        {"xff", 255},
        {"XfF", 255},
        {"0x10", 16},
        {"0X10", 16},
        {"$FFFFFFFF", -1},
        {"-$1", -1},
        {" +$7fffffff", INT32_MAX},
        {"$80000000", INT32_MIN},
        {"-$80000000", INT32_MIN},
        {"$00000001", 1},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(TryStrToInt(text), value) << text;
}

TEST(IntText, RefusesEverythingElse) {
    for (const char* text :
         {"",    " ",   "+",          "-",          "12 ",         "1 2",
          "\t1", "abc", "12abc",      "2147483648", "-2147483649", "99999999999999999999",
          "$",   "0x",  "$123456789", "$FG",        "--1",         "+-1",
          "1.0", "٣",   "$ 1",        "- 1"})
        EXPECT_FALSE(TryStrToInt(text).has_value()) << "'" << text << "'";
}

TEST(IntText, StrToIntNamesTheTextInItsError) {
    try {
        toolkit::StrToInt("abc");
        FAIL() << "no exception";
    } catch (const toolkit::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
}
