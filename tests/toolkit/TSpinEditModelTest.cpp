#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/TSpinEditModel.h"

using toolkit::SpinCharFilter;
using toolkit::TSpinEditModel;

namespace {

// A spin edit that records the text seen by each notification and each beep.
struct Recorded {
    explicit Recorded(std::string text = "0", SpinCharFilter filter = SpinCharFilter::Skinned)
        : edit(filter, std::move(text)) {
        edit.SetOnChange([this] { changes.push_back(edit.Text()); });
        edit.SetBeep([this] { ++beeps; });
    }
    TSpinEditModel edit;
    std::vector<std::string> changes;
    int beeps = 0;
};

using Texts = std::vector<std::string>;

} // namespace

TEST(TSpinEditModel, NotifiesExactlyWhenTheTextChanges) {
    Recorded r("7");
    r.edit.SetValue(7);
    EXPECT_TRUE(r.changes.empty());
    r.edit.SetText("07");
    r.edit.SetValue(7);
    r.edit.SetText("");
    EXPECT_EQ(r.edit.Value(), 0);
    r.edit.SetText("5");
    r.edit.SetText("5");
    EXPECT_EQ(r.changes, (Texts{"07", "7", "", "5"}));
}

TEST(TSpinEditModel, ValueReadsTheTextOrMinValue) {
    struct Case {
        const char* text;
        int min, max, value;
    };
    const Case cases[] = {
        {"12", 0, 0, 12},        {" +12", 0, 0, 12},
        {"$1F", 0, 0, 31},       {"123abc", 0, 0, 0},
        {"", 3, 9, 3},           {"-", -4, 0, -4},
        {"25", 1, 10, 25},       {"-2147483648", 0, 0, INT32_MIN},
        {"2147483648", 5, 5, 5},
    };
    for (const Case& c : cases) {
        TSpinEditModel edit(SpinCharFilter::Skinned, c.text);
        edit.SetMinValue(c.min);
        edit.SetMaxValue(c.max);
        EXPECT_EQ(edit.Value(), c.value) << c.text;
    }
}

TEST(TSpinEditModel, WritesAreClampedOnlyWithLimitsInForce) {
    struct Case {
        int min, max, written;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, -5, "-5"}, {7, 7, 100, "100"}, {1, 10, 25, "10"},
        {1, 10, -3, "1"}, {1, 10, 4, "4"},    {10, 1, 5, "10"},
    };
    for (const Case& c : cases) {
        TSpinEditModel edit;
        edit.SetMinValue(c.min);
        edit.SetMaxValue(c.max);
        edit.SetValue(c.written);
        EXPECT_EQ(edit.Text(), c.text) << c.min << ".." << c.max << " := " << c.written;
    }
}

TEST(TSpinEditModel, StepsAndArrowKeys) {
    Recorded r("0");
    r.edit.KeyDown(TSpinEditModel::kVkDown);
    r.edit.KeyDown(TSpinEditModel::kVkUp);
    r.edit.KeyDown(TSpinEditModel::kVkUp);
    r.edit.KeyDown(37); // left arrow: only the edit's own handling
    r.edit.SetIncrement(5);
    r.edit.StepUp();
    EXPECT_EQ(r.changes, (Texts{"-1", "0", "1", "6"}));

    r.edit.SetReadOnly(true);
    r.edit.StepUp();
    r.edit.KeyDown(TSpinEditModel::kVkDown);
    EXPECT_EQ(r.beeps, 2);
    EXPECT_EQ(r.edit.Text(), "6");
}

TEST(TSpinEditModel, StepsWrapAroundInThirtyTwoBits) {
    Recorded r("2147483647");
    r.edit.StepUp();
    EXPECT_EQ(r.edit.Text(), "-2147483648");
    r.edit.StepDown();
    EXPECT_EQ(r.edit.Text(), "2147483647");
    r.edit.SetIncrement(INT32_MIN);
    r.edit.StepDown();
    EXPECT_EQ(r.edit.Text(), "-1");
}

TEST(TSpinEditModel, StepsFromUnparsableTextStartAtMinValue) {
    Recorded r("abc");
    r.edit.SetMinValue(3);
    r.edit.SetMaxValue(9);
    r.edit.StepUp();
    EXPECT_EQ(r.edit.Text(), "4");
}

TEST(TSpinEditModel, CharacterFilters) {
    struct Case {
        SpinCharFilter filter;
        bool editorEnabled;
        const char32_t* accepted;
        const char32_t* refused;
    };
    const Case cases[] = {
        {SpinCharFilter::Skinned, true, U"0189\x08\x01\x1f", U"-+.,a \r\x7f\u0436"},
        {SpinCharFilter::Standard, true, U"0189-+.\x08\x1f", U",a \r\u0436"},
        {SpinCharFilter::Skinned, false, U"\x01\x1f\x03\x16", U"09\x08\r a"},
        {SpinCharFilter::Standard, false, U"\x01\x16", U"09-+.\x08\r"},
    };
    for (const Case& c : cases) {
        Recorded r("1", c.filter);
        r.edit.SetEditorEnabled(c.editorEnabled);
        int expectedBeeps = 0;
        for (const char32_t* ch = c.accepted; *ch; ++ch)
            EXPECT_TRUE(r.edit.KeyPress(*ch)) << static_cast<int>(*ch);
        for (const char32_t* ch = c.refused; *ch; ++ch, ++expectedBeeps)
            EXPECT_FALSE(r.edit.KeyPress(*ch)) << static_cast<int>(*ch);
        EXPECT_EQ(r.beeps, expectedBeeps);
        EXPECT_TRUE(r.changes.empty()) << "filtering never changes the text";
    }

    Recorded comma("1", SpinCharFilter::Standard);
    comma.edit.SetDecimalSeparator(U',');
    EXPECT_TRUE(comma.edit.KeyPress(U','));
    EXPECT_FALSE(comma.edit.KeyPress(U'.'));
}

TEST(TSpinEditModel, PasteAndCutNeedAnEnabledWritableEditor) {
    struct Case {
        bool editorEnabled, readOnly, applied;
    };
    for (const Case& c : {Case{true, false, true}, Case{false, false, false},
                          Case{true, true, false}, Case{false, true, false}}) {
        Recorded r("1");
        r.edit.SetEditorEnabled(c.editorEnabled);
        r.edit.SetReadOnly(c.readOnly);
        EXPECT_EQ(r.edit.PasteOrCut("12ab"), c.applied);
        EXPECT_EQ(r.edit.Text(), c.applied ? "12ab" : "1");
        EXPECT_EQ(r.edit.Value(), c.applied ? 0 : 1) << "digits then letters read as MinValue";
    }
}

TEST(TSpinEditModel, WheelAddsWholeNotches) {
    struct Case {
        std::int16_t delta;
        int increment;
        const char* text;
    };
    const Case cases[] = {
        {120, 1, "11"},    {60, 1, "10"},    {-60, 1, "10"},
        {-120, 3, "7"},    {240, 5, "20"},   {-32768, 1, "-263"},
        {32767, 1, "283"}, {119, 100, "10"}, {-121, 100, "-90"},
    };
    for (const Case& c : cases) {
        TSpinEditModel edit(SpinCharFilter::Skinned, "10");
        edit.SetIncrement(c.increment);
        edit.Wheel(c.delta);
        EXPECT_EQ(edit.Text(), c.text) << c.delta << " x " << c.increment;
    }
    TSpinEditModel huge(SpinCharFilter::Skinned, "0");
    huge.SetIncrement(INT32_MAX);
    huge.Wheel(-32768);
    EXPECT_EQ(huge.Value(), static_cast<std::int32_t>(static_cast<std::uint32_t>(-273) *
                                                      static_cast<std::uint32_t>(INT32_MAX)));
}

TEST(TSpinEditModel, LeavingClampsOnlyOutsideLimitsInForce) {
    struct Case {
        const char* text;
        int min, max;
        Texts changes;
    };
    const Case cases[] = {
        {"25", 1, 10, {"10"}},
        {"-4", 1, 10, {"1"}},
        {"5", 1, 10, {}},
        // Unparsable text reads as MinValue, which is inside the limits.
        {"abc", 1, 10, {}},
        {"25", 0, 0, {}},
        {"07", 1, 10, {}},
    };
    for (const Case& c : cases) {
        Recorded r(c.text);
        r.edit.SetMinValue(c.min);
        r.edit.SetMaxValue(c.max);
        r.edit.FocusLeft();
        EXPECT_EQ(r.changes, c.changes) << c.text;
    }
}

TEST(TSpinEditModel, HandlersMayWriteValueAndReplaceThemselves) {
    TSpinEditModel edit(SpinCharFilter::Skinned, "0");
    Texts seen;
    // A handler that pulls every value above 10 back to 10: the nested change runs inside the
    // outer one, and the outer write leaves the nested result in place.
    edit.SetOnChange([&] {
        seen.push_back(edit.Text());
        if (edit.Value() > 10)
            edit.SetValue(10);
    });
    edit.SetValue(15);
    EXPECT_EQ(seen, (Texts{"15", "10"}));
    EXPECT_EQ(edit.Text(), "10");

    int calls = 0;
    edit.SetOnChange([&] {
        ++calls;
        edit.SetOnChange(nullptr); // destroys the running handler's original
        edit.SetValue(edit.Value() + 1);
    });
    edit.StepUp();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(edit.Text(), "12");

    // Without a handler (a control still being built) changes reach nobody.
    edit.SetText("3");
    EXPECT_EQ(edit.Value(), 3);
}
