// The program's start as a user meets it: its exit status and what it says on standard error.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>

#include "app/Startup.h"

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

// What escapes the program's body (window creation, the loop's logic errors) is said on
// standard error with exit status 1; a clean run keeps its own status.
TEST(CharvaneProgram, AFailureEscapingTheBodyIsReportedWithOne) {
    const auto said = [](const std::function<int()>& body) {
        ::testing::internal::CaptureStderr();
        const int status = app::ReportEscapingFailures(body);
        return std::make_pair(status, ::testing::internal::GetCapturedStderr());
    };
    EXPECT_EQ(said([] { return 0; }), std::make_pair(0, std::string{}));
    EXPECT_EQ(said([]() -> int { throw std::logic_error("the loop stopped"); }),
              std::make_pair(1, std::string{"charvane: the loop stopped\n"}));
    EXPECT_EQ(said([]() -> int { throw std::bad_alloc(); }),
              std::make_pair(1, std::string{"charvane: Out of memory\n"}));
    EXPECT_EQ(said([]() -> int { throw 7; }),
              std::make_pair(1, std::string{"charvane: Unknown error\n"}));
}

} // namespace
