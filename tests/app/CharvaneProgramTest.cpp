// The program's start as a user meets it: its exit status and what it says on standard error.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/Process.h"

namespace {

using charvane::testing::RunProgram;

const std::string kProgram = CHARVANE_PROGRAM;
// X11 and SDL keep a few blocks until exit; the smoke run names them for the leak checker.
const std::string kLeaks =
    "LSAN_OPTIONS=suppressions=" CHARVANE_SOURCE_DIR "/tests/smoke/lsan-suppressions.txt ";

TEST(CharvaneProgram, WithoutADisplaySaysSoAndExitsWithOne) {
    const auto run =
        RunProgram("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " + kLeaks + kProgram);
    EXPECT_EQ(run.status, 1);
    // SDL may say more before it, about its drivers.
    EXPECT_NE(run.err.find("charvane: Cannot open the display"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(CharvaneProgram, RefusesAMalformedCommandLineWithTwo) {
    for (const char* args :
         {" --quit-after", " --quit-after 0", " --quit-after 5s", " a.bmp b.bmp", " --colour"})
        EXPECT_EQ(RunProgram(kProgram + args).status, 2) << args;
}

TEST(CharvaneProgram, QuitAfterClosesTheWindowByItself) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run is not installed";
    // Closing by itself within the timeout is the point: without it the run never ends.
    const auto run = RunProgram("timeout 60 xvfb-run -a -s '-screen 0 1280x1024x24' env " + kLeaks +
                                kProgram + " --quit-after 300");
    EXPECT_EQ(run.status, 0) << run.err;
}

} // namespace
