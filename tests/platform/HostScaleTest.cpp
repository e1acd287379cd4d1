#include <gtest/gtest.h>

#include "platform/backend/HostScale.h"

namespace platform {
namespace {

TEST(HostScale, DevicePixelsMapBackToThePixelTheyLieIn) {
    const HostScale two(2);
    EXPECT_EQ(two.ToLogical({0, 1}), (Point{0, 0}));
    EXPECT_EQ(two.ToLogical({3, 4}), (Point{1, 2}));
    // Left of and above the first screen (a second monitor there) still floors.
    EXPECT_EQ(two.ToLogical({-1, -2}), (Point{-1, -1}));
    EXPECT_EQ(two.ToLogical({-3, -4}), (Point{-2, -2}));
    EXPECT_EQ(two.ToLogical(two.ToDevice(Point{-7, 9})), (Point{-7, 9}));
    EXPECT_EQ(two.ToDevice(Rect{-1, 2, 5, 8}), (Rect{-2, 4, 10, 16}));
    // An odd window size leaves half a pixel of ours: it is drawn, cut by the host.
    EXPECT_EQ(two.SizeToLogical(801, 600), (Point{401, 300}));
    // A work area with odd edges gives only the pixels wholly inside it.
    EXPECT_EQ(two.InsideToLogical({1, 0, 1919, 1047}), (Rect{1, 0, 959, 523}));
}

TEST(HostScale, FactorComesFromOurVariableThenTheDesktopsThenTheDpi) {
    struct Case {
        const char* own;
        const char* desktop;
        std::optional<double> dpi;
        int factor;
    };
    const Case cases[] = {
        {nullptr, nullptr, std::nullopt, 1},
        {"2", "3", 96.0, 2},
        {"", "3", std::nullopt, 3},
        {"1", nullptr, 192.0, 1}, // asked for plainly
        {"2x", "0", 192.0, 2},    // neither variable is a factor: the dpi decides
        {"9", nullptr, std::nullopt, 1},
        {nullptr, nullptr, 144.0, 2}, // 1.5 rounds up
        {nullptr, nullptr, 120.0, 1},
        {nullptr, nullptr, 480.0, 3}, // at most 3
        {nullptr, nullptr, 20.0, 1},  // at least 1
        {nullptr, nullptr, -192.0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseScaleFactor(c.own, c.desktop, c.dpi), c.factor)
            << (c.own ? c.own : "-") << " " << (c.desktop ? c.desktop : "-") << " "
            << c.dpi.value_or(0);
}

} // namespace
} // namespace platform
