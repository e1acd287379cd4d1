#pragma once
// What some tests need from the machine beyond the build: the fonts the program's faces map to,
// and tools such as ImageMagick or xvfb-run. ./test.sh installs them all; run by hand on a machine
// without one, the tests that need it skip with a one-line reason instead of failing obscurely.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/gfx/text/Font.h"

namespace charvane::testing {

// The families among those the program's faces map to that fontconfig cannot find; empty when
// all are there.
inline const std::string& MissingFonts() {
    static const std::string missing = [] {
        std::string names;
        for (const std::string family :
             {"Liberation Sans", "Liberation Mono", "Liberation Serif", "DejaVu Sans"})
            if (platform::ResolveFontFamily(family) != family)
                names += (names.empty() ? "" : ", ") + family;
        return names;
    }();
    return missing;
}

inline bool HasCommand(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace charvane::testing

// In a test body or a fixture's SetUp.
#define CHARVANE_SKIP_WITHOUT_FONTS()                                                              \
    if (const std::string& missingFonts = ::charvane::testing::MissingFonts();                     \
        !missingFonts.empty())                                                                     \
    GTEST_SKIP() << "fonts not installed (fonts-liberation, fonts-dejavu-core): " << missingFonts

namespace charvane::testing {

// For a test program whose every window and control draws text: all of its tests skip, with the
// reason, when the fonts are missing.
class FontsRequired : public ::testing::Environment {
public:
    void SetUp() override { CHARVANE_SKIP_WITHOUT_FONTS(); }
};

} // namespace charvane::testing
