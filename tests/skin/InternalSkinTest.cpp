#include "skin/InternalSkin.h"

#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "skin/SkinColors.h"
#include "skin/SkinPaths.h"
#include "skin/sSkinManager.h"
#include "tests/support/Scoped.h"
#include "toolkit/TMemIniFile.h"

#include <filesystem>

namespace {

using skin::TsSkinManager;

TEST(InternalSkin, ContainerStartsWithItsOptionsMember) {
    const auto bytes = skin::InternalSkinData();
    ASSERT_GT(bytes.size(), 27u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "ASzf");
    EXPECT_EQ(bytes[4], 4);  // members
    EXPECT_EQ(bytes[8], 11); // name length
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 23), "Options.dat");
    EXPECT_EQ(bytes[27], 0x78); // zlib header
    EXPECT_EQ(bytes[28], 0x9C);

    skin::TacSkinConvertor reader;
    toolkit::TMemoryStream source(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    reader.LendSource(&source);
    reader.ReadContainer();
    reader.DetachSource();
    ASSERT_EQ(reader.Images().size(), 3u);
    EXPECT_EQ(reader.Images()[0].Name, "Btn_Huge.bmp");
    EXPECT_EQ(reader.Images()[1].Name, "Master.bmp");
    EXPECT_EQ(reader.Images()[2].Name, "BG.JPG");
    EXPECT_EQ(source.Position(), source.Size()); // the last stream ends with the data

    toolkit::TMemIniFile ini;
    ini.LoadFromStream(*reader.Options());
    const std::vector<std::string> expected = {"GLOBALINFO",
                                               "DRAGBAR",
                                               "TABSHEET",
                                               "PAGECONTROLBOTTOM",
                                               "PAGECONTROLLEFT",
                                               "PAGECONTROLRIGHT",
                                               "SPLITTER",
                                               "TABCONTROLRIGHT",
                                               "TABCONTROLBOTTOM",
                                               "GAUGE",
                                               "MENULINE",
                                               "COMBOBOX",
                                               "SCROLLBAR1H",
                                               "SCROLLBAR2H",
                                               "SCROLLBAR1V",
                                               "SCROLLBAR2V",
                                               "SPEEDBUTTON_SMALL",
                                               "SCROLLBTNRIGHT",
                                               "SCROLLBTNTOP",
                                               "SCROLLBTNLEFT",
                                               "SCROLLBTNBOTTOM",
                                               "TABCONTROL",
                                               "MENUITEM",
                                               "DIVIDER",
                                               "TABCONTROLLEFT",
                                               "PANEL",
                                               "FORMTITLE",
                                               "SCROLLSLIDERH",
                                               "SCROLLSLIDERV",
                                               "PROGRESSV",
                                               "PROGRESSH",
                                               "TOOLBAR",
                                               "TABBOTTOM",
                                               "EDIT",
                                               "STATUSBAR",
                                               "TABTOP",
                                               "TABLEFT",
                                               "TABRIGHT",
                                               "DIALOG",
                                               "FORM",
                                               "BAR",
                                               "BARPANEL",
                                               "PANEL_LOW",
                                               "WEBBUTTON",
                                               "CHECKBOX",
                                               "RADIOBUTTON",
                                               "BARTITLE",
                                               "SPEEDBUTTON",
                                               "TOOLBUTTON",
                                               "PAGECONTROL",
                                               "MAINMENU",
                                               "ICOLINE",
                                               "EXTRALINE",
                                               "GRIPH",
                                               "GROUPBOX",
                                               "HINT",
                                               "TRACKBAR",
                                               "BUTTON_HUGE",
                                               "BUTTON_BIG",
                                               "BUTTON",
                                               "FXEDIT",
                                               "FXCOMBOBOX"};
    EXPECT_EQ(ini.ReadSections(), expected);
}

class LoadedInternalSkin : public testing::Test {
protected:
    LoadedInternalSkin() {
        skin::AddInternalSkin(manager.InternalSkins());
        manager.SetSkinName(skin::kInternalSkinName);
    }
    const skin::TsMaskData& Piece(const char* section, const char* key) {
        const auto i = manager.FindPieceIndex(manager.FindSectionIndex(section), section, key);
        EXPECT_GE(i, 0) << section << " " << key;
        return manager.ma().at(static_cast<std::size_t>(std::max(i, 0)));
    }
    TsSkinManager manager;
};

TEST_F(LoadedInternalSkin, BuildsTheWholeModel) {
    EXPECT_EQ(manager.SkinInfo(), "5.2");
    EXPECT_TRUE(manager.FromContainer());
    EXPECT_EQ(manager.gd().size(), 62u);
    ASSERT_NE(manager.MasterBitmap(), nullptr);
    EXPECT_EQ(manager.MasterBitmap()->Width(), 304);
    EXPECT_EQ(manager.MasterBitmap()->Height(), 260);
    const auto& huge = Piece("BUTTON_HUGE", "BORDERSMASK");
    ASSERT_NE(huge.Image, nullptr);
    EXPECT_EQ(huge.R, (platform::Rect{0, 0, 288, 192}));
    ASSERT_EQ(manager.pa().size(), 3u); // FORM's PATTERN and HOTPATTERN, MAINMENU's PATTERN
    EXPECT_EQ(manager.pa()[0].Img->Width(), 300);
    EXPECT_EQ(manager.SkinData().Shadow1Blur, 2);
    EXPECT_EQ(manager.SkinData().BorderColor, 11036203);
    EXPECT_EQ(manager.GetGlobalColor(), 13282167u);

    const auto& button = Piece("BUTTON", "BORDERSMASK");
    EXPECT_EQ((std::array<int, 4>{button.WL, button.WT, button.WR, button.WB}),
              (std::array<int, 4>{6, 6, 7, 8}));
    const auto& form = Piece("FORM", "BORDERSMASK");
    EXPECT_EQ((std::array<int, 4>{form.WL, form.WT, form.WR, form.WB}),
              (std::array<int, 4>{4, 4, 4, 4}));
    // Inherited through PARENTCLASS chains.
    EXPECT_EQ(
        manager.FindPieceIndex(manager.FindSectionIndex("SPLITTER"), "SPLITTER", "BORDERSMASK"),
        manager.FindOwnPieceIndex("SPEEDBUTTON_SMALL", "BORDERSMASK"));
    EXPECT_EQ(
        manager.gd()[static_cast<std::size_t>(manager.FindSectionIndex("COMBOBOX"))].ShowFocus,
        true);
    EXPECT_EQ(
        manager.gd()[static_cast<std::size_t>(manager.FindSectionIndex("SPEEDBUTTON"))].ShowFocus,
        true); // from BUTTON
}

TEST_F(LoadedInternalSkin, CachesTheIndexesControlsAskFor) {
    const auto& c = manager.CachedIndexes();
    EXPECT_EQ(c.GlobalInfo, 0);
    for (std::size_t i = 0; i < c.CheckGlyphs.size(); ++i) {
        // The skin draws no greyed radio button.
        if (i == static_cast<std::size_t>(skin::TacCheckGlyph::RadioGrayed))
            EXPECT_EQ(c.CheckGlyphs[i], -1);
        else
            EXPECT_GE(c.CheckGlyphs[i], 0) << i;
    }
    EXPECT_EQ(c.ComboButton.Section, -1); // the skin has no COMBOBTN
    EXPECT_GE(c.ComboGlyph, 0);
    for (const auto& p : c.ScrollButtons) {
        EXPECT_GE(p.Border, 0);
        EXPECT_GE(p.Glyph, 0);
    }
    EXPECT_EQ(c.ScrollButtons[skin::kRight].Border,
              manager.FindOwnPieceIndex("SCROLLBTNRIGHT", "BORDERSMASK"));
    for (const auto& p : c.Tabs)
        EXPECT_EQ(p.Border, manager.FindOwnPieceIndex("TABTOP", "BORDERSMASK"));
    for (const auto& p : c.ScrollBars)
        EXPECT_GE(p.Border, 0);
}

// Both of our skins: the internal one and the packed one the build puts where the default skin
// directory leads.
class OurSkins : public testing::TestWithParam<const char*> {
protected:
    OurSkins() {
        skin::AddInternalSkin(manager.InternalSkins());
        manager.SetSkinName(GetParam());
    }
    TsSkinManager manager;
};
INSTANTIATE_TEST_SUITE_P(Skins, OurSkins, testing::Values(skin::kInternalSkinName, "Nightfall"));

TEST_P(OurSkins, EveryMaskedPieceHasItsMaskBelowItsImages) {
    ASSERT_EQ(manager.SkinName(), GetParam());
    // The lower half of a piece with a mask is black where the image is drawn and white where
    // the image shows the key colour, so the quoted rectangles and the drawing agree.
    const skin::TsSkinBitmap& master = *manager.MasterBitmap();
    int checked = 0;
    for (const auto& m : manager.ma()) {
        const skin::TsSkinBitmap& image = m.Image ? *m.Image : master;
        SCOPED_TRACE(m.SectionName + " " + m.PropertyName);
        ASSERT_LE(m.R.right, image.Width());
        ASSERT_LE(m.R.bottom, image.Height());
        if (m.MaskType != 1)
            continue;
        const int half = m.R.Height() / 2;
        const int cells = m.R.Width() / m.ImageCount * m.ImageCount;
        int opaque = 0;
        for (int y = m.R.top; y < m.R.top + half; ++y)
            for (int x = m.R.left; x < m.R.left + cells; ++x) {
                const platform::Color mask = image.Pixel(x, y + half);
                const bool key = image.Pixel(x, y) == 0xFF00FF;
                ASSERT_EQ(mask, key ? 0xFFFFFFu : 0u) << "at " << x << ", " << y;
                opaque += key ? 0 : 1;
            }
        if (m.SectionName != "MENUITEM") {
            EXPECT_GT(opaque, 0);
        }
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

TEST_F(LoadedInternalSkin, HueChangesKeepGreysAndTheKey) {
    const skin::TsSkinBitmap before = *manager.MasterBitmap();
    manager.SetHueOffset(120);
    const skin::TsSkinBitmap& after = *manager.MasterBitmap();
    int changed = 0;
    for (int y = 0; y < before.Height(); ++y)
        for (int x = 0; x < before.Width(); ++x) {
            const platform::Color c = before.Pixel(x, y);
            const bool grey = platform::GetRValue(c) == platform::GetGValue(c) &&
                              platform::GetGValue(c) == platform::GetBValue(c);
            if (grey || c == 0xFF00FF)
                ASSERT_EQ(after.Pixel(x, y), c);
            else
                changed += after.Pixel(x, y) != c;
        }
    EXPECT_GT(changed, 1000);
    manager.SetHueOffset(0);
    EXPECT_EQ(manager.MasterBitmap()->Pixel(150, 20), before.Pixel(150, 20));
}

TEST(NightfallSkin, IsListedFromTheDefaultDirectoryAndCoversEveryInternalSection) {
    TsSkinManager manager;
    skin::AddInternalSkin(manager.InternalSkins());
    toolkit::TStringList names;
    EXPECT_EQ(manager.GetSkinNames(names, skin::TacSkinListMode::Both), skin::kInternalSkinName);
    EXPECT_EQ(names.Lines(), (std::vector<std::string>{"Nightfall", skin::kInternalSkinName}));

    manager.SetSkinName(skin::kInternalSkinName);
    std::vector<std::string> internalSections;
    for (const auto& d : manager.gd())
        internalSections.push_back(d.ClassName);
    manager.SetSkinName("Nightfall");
    ASSERT_EQ(manager.SkinName(), "Nightfall");
    EXPECT_TRUE(manager.FromContainer());
    std::vector<std::string> sections;
    for (const auto& d : manager.gd())
        sections.push_back(d.ClassName);
    EXPECT_EQ(sections, internalSections);
    // Dark artwork wants light text wherever text is drawn on a face of its own.
    for (const char* name : {"GLOBALINFO", "BUTTON", "SPEEDBUTTON", "PANEL", "EDIT", "MENUITEM",
                             "CHECKBOX", "FORMTITLE", "HINT"}) {
        const auto& d = manager.gd()[static_cast<std::size_t>(manager.FindSectionIndex(name))];
        const auto font = skin::ColorToRGB(d.FontColor[0]);
        EXPECT_GT(platform::GetGValue(font), 120) << name;
    }
    EXPECT_LT(platform::GetGValue(manager.GetGlobalColor()), 80);
    EXPECT_LT(platform::GetGValue(manager.GetActiveEditColor()), 80);
}

TEST(SkinDirectory, DataFolderIsBesideTheProgramOrOneFolderHigher) {
    skintest::TempFolder root;
    root.MakeFolder("usr/bin");
    root.MakeFolder("build/tests/app");
    root.MakeFolder("build/app");
    EXPECT_EQ(skin::DataSkinFolderFor(root.Str() + "/usr/bin/"),
              root.Str() + "/usr/share/charvane/skins"); // none yet: the installed place
    root.MakeFolder("usr/share/charvane/skins");
    root.MakeFolder("build/share/charvane/skins");
    EXPECT_EQ(skin::DataSkinFolderFor(root.Str() + "/usr/bin/"),
              root.Str() + "/usr/share/charvane/skins");
    EXPECT_EQ(skin::DataSkinFolderFor(root.Str() + "/build/app/"),
              root.Str() + "/build/share/charvane/skins");
    EXPECT_EQ(skin::DataSkinFolderFor(root.Str() + "/build/tests/app/"),
              root.Str() + "/build/share/charvane/skins");
    EXPECT_EQ(skin::DataSkinFolderFor("/"), "");
    // Only the program's own default leads there; another drive names nothing.
    EXPECT_TRUE(skin::SkinFileExists("C:\\SKINS\\Nightfall.asz"));
    EXPECT_FALSE(skin::SkinFileExists("d:\\Skins\\Nightfall.asz"));
    EXPECT_FALSE(skin::SkinFileExists("c:\\SkinsX\\Nightfall.asz"));
}

TEST(SkinDirectory, UserSkinsJoinOursAndWinANameClash) {
    skintest::TempFolder data;
    const charvane::testing::ScopedEnvironment xdg("XDG_DATA_HOME", data.Str());
    data.MakeFolder("charvane/skins");
    const std::string ours = skin::DataSkinFolder() + "/Nightfall.asz";
    const std::string user = data.Str() + "/charvane/skins/";
    std::filesystem::copy_file(ours, user + "Mine.asz");
    std::filesystem::copy_file(ours, user + "nightfall.asz");

    TsSkinManager manager;
    skin::AddInternalSkin(manager.InternalSkins());
    toolkit::TStringList names;
    manager.GetSkinNames(names, skin::TacSkinListMode::Both);
    EXPECT_EQ(names.Lines(),
              (std::vector<std::string>{"Mine", "nightfall", skin::kInternalSkinName}));
    EXPECT_EQ(skin::FindSkinFile("c:\\Skins\\Nightfall.asz"), user + "nightfall.asz");
    manager.SetSkinName("Mine");
    EXPECT_EQ(manager.SkinName(), "Mine");
    EXPECT_TRUE(manager.FromContainer());
}

} // namespace
