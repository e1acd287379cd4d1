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
        RunProgram("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR " +
                   kLeaks + kProgram);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("charvane: Cannot open the display")) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(CharvaneProgram, WithoutFontsSaysSoAndExitsWithOne) {
    const charvane::testing::TempFolder folder("charvane-nofonts");
    charvane::testing::WriteFile(folder.File("fonts.conf"),
                                 "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + folder.Str() +
                                     "</cachedir></fontconfig>\n");
    const auto run = RunProgram("FONTCONFIG_FILE=" + folder.File("fonts.conf") + " " + kLeaks +
                                kProgram + " --quit-after 300");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("charvane: no usable font"), std::string::npos) << run.err;
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

// A skin from the command line is started in and remembered; one that cannot be had is said so,
// the internal skin is used, and it does not become the remembered choice.
TEST(CharvaneProgram, StartsInTheSkinAskedForAndRemembersOnlyAGoodOne) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run is not installed";
    const charvane::testing::TempFolder home("charvane-home");
    charvane::testing::WriteFile(home.File("broken.asz"), "not a packed skin at all");
    const std::string settings = home.File("config/charvane/charvane.conf");
    const auto run = [&](const std::string& args) {
        return RunProgram(
            "timeout 60 xvfb-run -a -s '-screen 0 1280x1024x24' env XDG_CONFIG_HOME=" +
            home.File("config") + " XDG_DATA_HOME=" + home.File("data") + " " + kLeaks + kProgram +
            " --quit-after 300 " + args);
    };
    auto started = run("--skin Nightfall");
    EXPECT_EQ(started.status, 0) << started.err;
    EXPECT_NE(charvane::testing::ReadFile(settings).find("Name=Nightfall\n"), std::string::npos);

    for (const std::string& bad : {std::string("Nowhere"), home.File("broken.asz")}) {
        started = run("--skin '" + bad + "'");
        EXPECT_EQ(started.status, 0) << started.err;
        EXPECT_NE(started.err.find("charvane: "), std::string::npos) << bad;
        EXPECT_NE(started.err.find(bad), std::string::npos) << started.err;
        EXPECT_EQ(charvane::testing::ReadFile(settings).find("[Skin]"), std::string::npos)
            << charvane::testing::ReadFile(settings);
    }
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
