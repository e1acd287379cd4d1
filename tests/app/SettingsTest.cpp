// The settings file: what goes in comes back, and a file that is not ours is ignored whole.

#include "app/Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/Scoped.h"
#include "tests/support/TempFolder.h"

namespace {

using app::TSettings;
using platform::Rect;

std::vector<std::string> g_warnings;
void Collect(const std::string& line) {
    g_warnings.push_back(line);
}

TEST(Settings, WrittenAllOrNothingBelowTheConfigFolderAndReadBack) {
    const charvane::testing::TempFolder config("charvane-config");
    const charvane::testing::ScopedEnvironment xdg("XDG_CONFIG_HOME", config.Str() + "/");
    const std::string file = app::SettingsFileName();
    EXPECT_EQ(file, config.Str() + "/charvane/charvane.conf");

    TSettings settings;
    settings.skin = "Nightfall";
    settings.window = app::TWindowPlace{Rect::FromSize(-20, 35, 900, 640), true};
    settings.openFolder = "/home/ann/Фото с моря";
    settings.saveFolder = "/tmp/a=b;c";
    app::WriteSettings(file, settings);
    g_warnings.clear();
    EXPECT_EQ(app::ReadSettings(file, Collect), settings);
    EXPECT_EQ(app::ReadSettings(config.File("missing.conf"), Collect), TSettings{});
    EXPECT_TRUE(g_warnings.empty());
}

TEST(Settings, ADamagedOrHostileFileGivesTheDefaultsAndOneLine) {
    const charvane::testing::TempFolder folder("charvane-config");
    const std::string file = folder.File("charvane.conf");
    const std::vector<std::string> damaged = {
        std::string("[Skin]\nName=Night\0fall\n", 23),
        "[Window]\nLeft=10\nTop=10\nWidth=wide\nHeight=400\n",
        "[Window]\nLeft=10\nTop=10\nWidth=3\nHeight=400\n",
        "[Window]\nLeft=99999999999\nTop=10\nWidth=300\nHeight=400\n",
        "[Folders]\nOpen=../elsewhere\n",
        "[Skin]\nName=" + std::string(5000, 'x') + "\n",
        "[Skin]\nName=Nightfall\n" + std::string(70000, ';'),
    };
    for (const std::string& text : damaged) {
        charvane::testing::WriteFile(file, text);
        g_warnings.clear();
        EXPECT_EQ(app::ReadSettings(file, Collect), TSettings{}) << text.substr(0, 40);
        ASSERT_EQ(g_warnings.size(), 1u) << text.substr(0, 40);
        EXPECT_NE(g_warnings[0].find(file), std::string::npos) << g_warnings[0];
    }
    // A folder where the file should be is not read (nor is a pipe, which would never end).
    std::filesystem::create_directory(folder.File("folder.conf"));
    g_warnings.clear();
    EXPECT_EQ(app::ReadSettings(folder.File("folder.conf"), Collect), TSettings{});
    EXPECT_EQ(g_warnings.size(), 1u);
}

TEST(Settings, APlaceOffTheScreenIsPulledBackOntoIt) {
    const Rect work = Rect::FromSize(0, 30, 1280, 994);
    struct Case {
        Rect place;
        Rect expected;
    };
    const std::vector<Case> cases = {
        {Rect::FromSize(100, 100, 782, 570), Rect::FromSize(100, 100, 782, 570)},
        {Rect::FromSize(-500, 100, 782, 570), Rect::FromSize(-500, 100, 782, 570)}, // grabbable
        {Rect::FromSize(3000, 100, 782, 570), Rect::FromSize(498, 100, 782, 570)},
        {Rect::FromSize(-900, 100, 782, 570), Rect::FromSize(0, 100, 782, 570)},
        {Rect::FromSize(100, 0, 782, 570), Rect::FromSize(100, 30, 782, 570)}, // caption hidden
        {Rect::FromSize(100, 1000, 782, 570), Rect::FromSize(100, 454, 782, 570)},
        {Rect::FromSize(10, 40, 4000, 3000), Rect::FromSize(0, 30, 1280, 994)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::PlaceOnScreen(c.place, work), c.expected) << c.place;
}

} // namespace
