#include <gtest/gtest.h>

#include "toolkit/Exceptions.h"
#include "toolkit/Int32.h"

using namespace toolkit;

TEST(ErrorBoxText, AddsAFullStopAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ErrorBoxText("Division by zero"), "Division by zero.");
    EXPECT_EQ(ErrorBoxText("List index out of bounds (3)"), "List index out of bounds (3)");
    EXPECT_EQ(ErrorBoxText("'abc' is not a valid integer value"),
              "'abc' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("JPEG error #53"), "JPEG error #53.");
    EXPECT_EQ(ErrorBoxText("Ошибка"), "Ошибка."); // UTF-8 bytes sort after "."
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(Exceptions, CarryTheirExactMessages) {
    EXPECT_EQ(EDivByZero().Message(), "Division by zero");
    EXPECT_EQ(EListError::IndexOutOfBounds(-3).Message(), "List index out of bounds (-3)");
    EXPECT_EQ(EFCreateError("/tmp/x/a.txt", "No such file or directory").Message(),
              "Cannot create file \"/tmp/x/a.txt\". No such file or directory");
    EXPECT_EQ(EFOpenError("a.bmp", "Permission denied").Message(),
              "Cannot open file \"a.bmp\". Permission denied");
    EXPECT_EQ(EOutOfResources("DIB").Message(), "DIB cannot be made");
    EXPECT_EQ(CannotAssignError("TFoo", "TDIB").Message(), "Cannot assign a TFoo to a TDIB");
    EXPECT_EQ(EReadError().Message(), "Stream read error");
}

TEST(Format, NeverReadsPastItsArguments) {
    EXPECT_EQ(Format("%s and %d and %s", {std::string_view("a")}), "a and %d and %s");
    EXPECT_EQ(Format("100%% %d%", {std::int64_t{5}}), "100% 5%");
}

TEST(Int32, DivisionTruncatesAndRefusesZero) {
    EXPECT_EQ(int32::Div(-7, 2), -3);
    EXPECT_EQ(int32::Mod(-7, 2), -1);
    EXPECT_EQ(int32::Div(INT32_MIN, -1), INT32_MIN);
    EXPECT_THROW(int32::Div(1, 0), EDivByZero);
    EXPECT_THROW(int32::Mod(1, 0), EDivByZero);
}

TEST(Int32, ArithmeticWrapsWithoutUndefinedBehaviour) {
    EXPECT_EQ(int32::Add(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(int32::Sub(INT32_MIN, 1), INT32_MAX);
    EXPECT_EQ(int32::Mul(65536, 65536), 0);
    EXPECT_EQ(int32::Neg(INT32_MIN), INT32_MIN);
    EXPECT_FALSE(int32::CheckedMul(65536, 32768).has_value());
    EXPECT_EQ(int32::CheckedAdd(-5, 3), -2);
}
