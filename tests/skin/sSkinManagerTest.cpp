// Choosing, listing, re-colouring and the manager's own state.

#include "skin/sSkinManager.h"

#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "platform/gfx/CreationRefusal.h"
#include "skin/InternalSkin.h"
#include "skin/SkinColors.h"
#include "toolkit/Exceptions.h"
#include "toolkit/MessageBox.h"

namespace {

using skin::TacSkinListMode;
using skin::TsSkinManager;
using skintest::Bytes;
using skintest::TempFolder;
using skintest::ToBytes;

std::string Options(const std::string& name, int color) {
    return "[GLOBALINFO]\r\nMASTERBITMAP=MASTER.BMP\r\nVERSION=5.2\r\nDESCRIPTION=" + name +
           "\r\n[PANEL]\r\nCOLOR=" + std::to_string(color) + "\r\n";
}

Bytes Container(const std::string& name, int color) {
    return skintest::Pack({{"Options.dat", ToBytes(Options(name, color))},
                           {"Master.bmp", skintest::Bitmap24(8, 4, 0x0000FF)}});
}

TEST(SkinChoice, PackedFileComesBeforeFolderBeforeInternal) {
    TempFolder dir;
    dir.Write("Blue.asz", Container("packed", 1));
    dir.Write("Blue/Options.dat", Options("folder", 2));
    dir.Write("Green/Options.dat", Options("folder", 3));
    dir.Write("Green/master.bmp", skintest::Bitmap24(6, 6, 0));
    TsSkinManager m;
    m.InternalSkins().Add().Name = "Red";
    m.InternalSkins()[0].Data().WriteBuffer(Container("internal", 4).data(),
                                            Container("internal", 4).size());
    m.SetSkinDirectory(dir.Str());

    m.SetSkinName("Blue");
    EXPECT_EQ(m.SkinData().Description, "packed");
    EXPECT_TRUE(m.FromContainer());
    EXPECT_EQ(m.SkinData().SkinPath, dir.Str() + "\\");
    ASSERT_NE(m.MasterBitmap(), nullptr);
    EXPECT_EQ(m.MasterBitmap()->Width(), 8);
    EXPECT_TRUE(m.MasterBitmap()->Transparent);

    m.SetSkinName("Green");
    EXPECT_EQ(m.SkinData().Description, "folder");
    EXPECT_FALSE(m.FromContainer());
    EXPECT_EQ(m.SkinData().SkinPath, dir.Str() + "\\Green\\");
    EXPECT_EQ(m.MasterBitmap()->Width(), 6); // "MASTER.BMP" finds master.bmp

    m.SetSkinName("Red");
    EXPECT_EQ(m.SkinData().Description, "internal");
    EXPECT_TRUE(m.FromContainer());
    EXPECT_GT(m.InternalSkins()[0].Data().Size(), 0); // lent, not consumed

    m.SetSkinName("Nowhere");
    EXPECT_EQ(m.SkinName(), "Red");
    EXPECT_TRUE(m.Active());
    EXPECT_EQ(m.SkinInfo(), "5.2");
}

TEST(SkinChoice, NoSkinAnywhereSwitchesSkinningOff) {
    TsSkinManager m;
    EXPECT_EQ(m.SkinDirectory(), "c:\\Skins"); // our data folder, without "Anything"
    EXPECT_EQ(m.SkinInfo(), "N/A");
    m.SetSkinName("Anything");
    EXPECT_FALSE(m.Active());
    EXPECT_EQ(m.SkinInfo(), "N/A");
    EXPECT_TRUE(m.gd().empty());
}

TEST(SkinChoice, InactiveManagerOnlyStoresTheNameUntilActivated) {
    TsSkinManager m;
    m.InternalSkins().Add().Name = "Red";
    const Bytes data = Container("internal", 4);
    m.InternalSkins()[0].Data().WriteBuffer(data.data(), data.size());
    m.SetActive(false);
    m.SetSkinName("Red");
    EXPECT_TRUE(m.gd().empty());
    EXPECT_EQ(m.SkinInfo(), "N/A");
    m.SetActive(true);
    EXPECT_EQ(m.gd().size(), 2u);
    EXPECT_EQ(m.SkinInfo(), "5.2");
    EXPECT_EQ(m.CachedIndexes().GlobalInfo, 0);
    m.SetActive(false);
    EXPECT_TRUE(m.gd().empty());
    EXPECT_EQ(m.CachedIndexes().GlobalInfo, -1);
}

TEST(SkinChoice, WrongMagicKeepsThePreviousSkin) {
    toolkit::MessageBoxRequest shown;
    const auto previous = toolkit::SetMessageBoxHandler([&](const toolkit::MessageBoxRequest& r) {
        shown = r;
        return toolkit::ModalResult::OK;
    });
    TempFolder dir;
    dir.Write("Good.asz", Container("good", 1));
    dir.Write("Bad.asz", ToBytes("PK\x03\x04 something else"));
    TsSkinManager m;
    m.SetSkinDirectory(dir.Str());
    m.SetSkinName("Good");
    m.SetSkinName("Bad");
    toolkit::SetMessageBoxHandler(previous);
    EXPECT_EQ(shown.text, "Loaded data is not packed Quorril file");
    EXPECT_EQ(m.SkinData().Description, "good");
    EXPECT_EQ(m.gd().size(), 2u);
}

// Every skin brings its own pictures: none of the previous skin's may stay behind, where the
// first match by section and key would find it before the new skin's own.
TEST(SkinChoice, ChangingSkinsReplacesThePreviousSkinsPictures) {
    TsSkinManager m;
    skin::AddInternalSkin(m.InternalSkins());
    const auto data = skin::InternalSkinData();
    auto& again = m.InternalSkins().Add();
    again.Name = "Again";
    again.Data().WriteBuffer(data.data(), data.size());
    m.SetSkinName(skin::kInternalSkinName);
    const std::size_t pictures = m.pa().size();
    ASSERT_GT(pictures, 0u);
    m.SetSkinName("Again");
    m.SetSkinName(skin::kInternalSkinName);
    EXPECT_EQ(m.pa().size(), pictures);
}

// A skin that fails anywhere in its load changes nothing: the skin in use stays whole.
TEST(SkinChoice, FailingSkinNamesItsFileAndLeavesThePreviousSkinWhole) {
    TempFolder dir;
    Bytes cut = Container("x", 1);
    cut.resize(cut.size() - 10);
    dir.Write("Cut.asz", cut);
    dir.Write("Bad.asz",
              skintest::Pack({{"Options.dat",
                               ToBytes(Options("bad", 5) + "[EDIT]\r\nGRADIENTDATA=1;2;x;0;0\r\n")},
                              {"Master.bmp", skintest::Bitmap24(2, 2, 0)}}));
    dir.Write("Good.asz", Container("good", 1));
    TsSkinManager m;
    m.SetSkinDirectory(dir.Str());
    m.SetSkinName("Good");
    const skin::TsSkinBitmap* master = m.MasterBitmap();
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {{"Cut", "Stream read error"}, {"Bad", "'x' is not a valid integer value"}};
    for (const auto& c : cases) {
        try {
            m.SetSkinName(c.name);
            ADD_FAILURE() << c.name;
        } catch (const skin::ESkinError& e) {
            EXPECT_EQ(e.Message(),
                      "Cannot load skin \"" + dir.Str() + "/" + c.name + ".asz\". " + c.reason);
        }
        EXPECT_FALSE(TsSkinManager::SkinChanging());
        EXPECT_EQ(m.SkinName(), "Good");
        EXPECT_EQ(m.SkinData().Description, "good");
        EXPECT_EQ(m.SkinInfo(), "5.2");
        EXPECT_EQ(m.MasterBitmap(), master);
        EXPECT_EQ(m.gd().size(), 2u);
        EXPECT_EQ(m.CachedIndexes().GlobalInfo, 0);
    }

    // The entry for a skin chosen outside the program says what happened instead of raising,
    // and never falls back to another skin.
    const skin::TacSkinChange bad = m.TryChangeSkin("Bad");
    EXPECT_EQ(bad.Result, skin::TacSkinChange::Outcome::Failed);
    EXPECT_NE(bad.Message.find("Bad.asz"), std::string::npos);
    EXPECT_EQ(m.TryChangeSkin("Nowhere").Result, skin::TacSkinChange::Outcome::NotFound);
    EXPECT_EQ(m.SkinName(), "Good");
    EXPECT_TRUE(m.TryChangeSkin("Good").Applied());
}

TEST(SkinChoice, StoredSkinWithoutDataUsesItsCollections) {
    TsSkinManager m;
    auto& item = m.InternalSkins().Add();
    item.Name = "Plain";
    item.Version = 1.5;
    item.MasterBitmap = std::make_shared<skin::TsSkinBitmap>(60, 30);
    skin::TsSkinGeneral panel;
    panel.SectionName = "PANEL";
    panel.FontColor = "1 2 3 4 5";
    panel.HotFontColor = "7 8";
    item.GeneralData.push_back(panel);
    skin::TsSkinImage piece;
    piece.SectionName = "PANEL";
    piece.PropertyName = "BORDERSMASK";
    piece.Right = 30;
    piece.Bottom = 30;
    item.Images.push_back(piece);
    m.SetSkinName("Plain");
    ASSERT_EQ(m.gd().size(), 1u);
    EXPECT_EQ(m.gd()[0].FontColor, (skin::TsFontColors{1, 2, 3, 4, 5}));
    EXPECT_EQ(m.gd()[0].HotFontColor, (skin::TsFontColors{0, -1, -1, -1, -1}));
    ASSERT_EQ(m.ma().size(), 1u);
    EXPECT_EQ(m.ma()[0].ImageCount, 3); // a count of 0 means three images with masks
    EXPECT_EQ(m.ma()[0].MaskType, 1);
    EXPECT_EQ(m.ma()[0].WL, 3);
    EXPECT_EQ(m.ma()[0].WT, 5);
    EXPECT_EQ(m.MasterBitmap()->Width(), 60);
    EXPECT_EQ(m.SkinInfo(), "1.5");
}

TEST(SkinDirectory, ResolvesAgainstTheProgramFolder) {
    struct Case {
        const char* directory;
        const char* expected;
    };
    const Case cases[] = {
        {"..\\Skins", "C:\\Apps\\Skins"},           {"../Skins", "C:\\Apps\\Skins"},
        {".\\Skins", "C:\\Apps\\Tool\\Skins"},      {"./Skins", "C:\\Apps\\Tool\\Skins"},
        {"Skins", "C:\\Apps\\Tool\\Skins"},         {"c:\\Skins", "c:\\Skins"},
        {"\\\\server\\Skins", "\\\\server\\Skins"}, {"/opt/skins", "/opt/skins"}};
    for (const Case& c : cases)
        EXPECT_EQ(TsSkinManager::ResolveSkinDirectory(c.directory, "C:\\Apps\\Tool\\"), c.expected)
            << c.directory;
    EXPECT_EQ(TsSkinManager::ResolveSkinDirectory("..\\Skins", "/usr/lib/charvane/"),
              "/usr/lib/Skins");
}

TEST(SkinDirectory, PackedFileNamesUseTheTextAsSet) {
    EXPECT_EQ(TsSkinManager::PackedSkinFileName("c:\\Skins", "Blue"), "c:\\Skins\\Blue.asz");
    EXPECT_EQ(TsSkinManager::PackedSkinFileName("c:\\Skins\\", "Blue"), "c:\\Skins\\Blue.asz");
    EXPECT_EQ(TsSkinManager::PackedSkinFileName("/tmp/Skins/", "Blue"), "/tmp/Skins\\Blue.asz");
    EXPECT_EQ(TsSkinManager::PackedSkinFileName("d", "Blue"), "d:\\Blue.asz");
}

TEST(SkinList, ModesPickFoldersPackedFilesOrBoth) {
    TempFolder dir;
    dir.Write("Blue.asz", Container("b", 1));
    dir.Write("Blue.ASZ", Container("b", 1));
    dir.Write("two.dots.asz", Container("b", 1));
    dir.MakeFolder("X.asz");
    dir.Write("Folder/Options.dat", Options("f", 1));
    dir.MakeFolder("NoOptions");
    dir.Write(".hidden.asz", Container("b", 1));
    TsSkinManager m;
    m.SetActive(false);
    m.InternalSkins().Add().Name = "Winter";
    m.SetSkinDirectory(dir.Str());
    toolkit::TStringList list;
    EXPECT_EQ(m.GetSkinNames(list, TacSkinListMode::PackedFiles), "Winter");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"Blue", "two", "Winter"}));
    m.GetSkinNames(list, TacSkinListMode::Folders);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"Folder", "Winter"}));
    m.GetSkinNames(list, TacSkinListMode::Both);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"Blue", "Folder", "two", "Winter"}));

    TsSkinManager bare;
    bare.SetActive(false);
    bare.SetSkinDirectory(dir.Str());
    EXPECT_EQ(bare.GetSkinNames(list, TacSkinListMode::Both), "Blue");
}

TEST(SkinColors, HueRotatesAndSaturationMovesTowardGrey) {
    using skin::ChangeHue;
    using skin::ChangeSaturation;
    EXPECT_EQ(ChangeHue(0x0000FF, 120), 0x00FF00u);
    EXPECT_EQ(ChangeHue(0x0000FF, -120), 0xFF0000u);
    EXPECT_EQ(ChangeHue(0x0000FF, 720), 0x0000FFu);
    EXPECT_EQ(ChangeHue(0x808080, 77), 0x808080u);
    EXPECT_EQ(ChangeSaturation(0x0000FF, 101), 0x0000FFu);
    // -150 acts like -49: 49 % of the way to grey 85 → 255 - 83.3 = 171.7, 0 + 41.65 = 42
    EXPECT_EQ(ChangeSaturation(0x0000FF, -150), platform::RGB(172, 42, 42));
    EXPECT_EQ(ChangeSaturation(0x0000FF, -100), platform::RGB(85, 85, 85));
    EXPECT_EQ(ChangeSaturation(0x0000FF, 100), platform::RGB(255, 0, 0)); // limited to 0..255
    EXPECT_EQ(skin::ColorToRGB(skin::kClBtnFace), platform::RGB(212, 208, 200));
}

TEST(SkinColors, TransformTheWholeModelButGreyAndMagentaPixels) {
    TempFolder dir;
    Bytes master = skintest::Bitmap24(3, 1, 0);
    // Pixels in file order: blue, green, red bytes.
    const std::uint8_t pixels[] = {0, 0, 255, 128, 128, 128, 255, 0, 255};
    std::copy(std::begin(pixels), std::end(pixels), master.begin() + 54);
    dir.Write("T/Options.dat", "[GLOBALINFO]\r\nMASTERBITMAP=MASTER.BMP\r\nSHADOW1COLOR=255\r\n"
                               "BORDERCOLOR=255\r\n[A]\r\nCOLOR=255\r\nHOTCOLOR=255\r\n"
                               "FONTCOLOR=255\r\nGRADIENTDATA=255;255;50;0;0\r\n");
    dir.Write("T/Master.bmp", master);
    TsSkinManager m;
    m.SetSkinDirectory(dir.Str());
    m.SetSkinName("T");
    m.SetHueOffset(120);
    const auto& a = m.gd()[1];
    EXPECT_EQ(a.Color, 0x00FF00);
    EXPECT_EQ(a.HotColor, 0x00FF00);
    EXPECT_EQ(a.FontColor[0], 0x00FF00);
    EXPECT_EQ(a.FontColor[1], -1);
    EXPECT_EQ(a.Gradient[0].Color2, 0x00FF00);
    EXPECT_EQ(m.SkinData().Shadow1Color, 0x00FF00);
    EXPECT_EQ(m.MasterBitmap()->Pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(m.MasterBitmap()->Pixel(1, 0), 0x808080u);
    EXPECT_EQ(m.MasterBitmap()->Pixel(2, 0), 0xFF00FFu);

    // A change starts again from the stored colours, hue first, then saturation.
    m.SetHueOffset(-120);
    EXPECT_EQ(m.gd()[1].Color, 0xFF0000);
    m.SetSaturation(-100);
    EXPECT_EQ(m.gd()[1].Color, 0x555555);
    EXPECT_EQ(m.MasterBitmap()->Pixel(0, 0), 0x555555u);
}

TEST(DefaultManager, FirstCreatedIsTheDefaultUntilDestroyed) {
    ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
    {
        TsSkinManager first;
        TsSkinManager second;
        EXPECT_TRUE(first.IsDefault());
        EXPECT_FALSE(second.IsDefault());
        second.SetIsDefault(false);
        EXPECT_TRUE(first.IsDefault());
        second.SetIsDefault(true);
        EXPECT_EQ(TsSkinManager::DefaultManager(), &second);
    }
    EXPECT_EQ(TsSkinManager::DefaultManager(), nullptr);
}

TEST(ManagerProperties, StartWithTheirDefaults) {
    TsSkinManager m;
    EXPECT_TRUE(m.Active());
    EXPECT_TRUE(m.SkinnedPopups());
    EXPECT_EQ(m.Version(), "5.32");
    m.SetVersion("1.0");
    EXPECT_EQ(m.Version(), "5.32");
    EXPECT_EQ(m.SkinningRules().size(), 3u);
    EXPECT_EQ(m.MenuSupport().IcoLineSkin, "ICOLINE");
    EXPECT_EQ(m.MenuSupport().ExtraLineWidth, 32);
    EXPECT_EQ(m.AnimEffects().DialogShow.Time, 100);
    EXPECT_EQ(m.AnimEffects().SkinChanging.Time, 100);
    EXPECT_EQ(m.AnimEffects().Buttons.Events.size(), 4u);
    m.BeginLoading();
    m.SetSkinDirectory("");
    m.MenuSupport().IcoLineSkin = "";
    m.Loaded();
    EXPECT_EQ(m.SkinDirectory(), "c:\\Skins");
    EXPECT_EQ(m.MenuSupport().IcoLineSkin, "ICOLINE");
}

} // namespace

namespace {

TEST(GlobalQueries, FallBackToSystemColoursWithoutGlobalInfo) {
    TempFolder dir;
    dir.Write("T/Options.dat", std::string("[PANEL]\r\nCOLOR=1\r\n"));
    TsSkinManager m;
    m.SetSkinDirectory(dir.Str());
    m.SetSkinName("T");
    EXPECT_EQ(m.GetGlobalColor(), skin::ColorToRGB(skin::kClBtnFace));
    EXPECT_EQ(m.GetGlobalFontColor(), skin::kMagenta);
    EXPECT_EQ(m.GetActiveEditColor(), skin::ColorToRGB(skin::kClWindow));
    EXPECT_TRUE(m.IsValidSkinIndex(0));
    EXPECT_FALSE(m.IsValidSkinIndex(1));
    EXPECT_EQ(m.MasterBitmap()->Width(), 0); // no MASTERBITMAP: an empty master bitmap
}

TEST(StoredSkin, DataStreamsTheContainerBytesAsTheyAre) {
    skin::TsStoredSkins skins;
    auto& item = skins.Add();
    EXPECT_EQ(item.Shadow1Blur, -1);
    EXPECT_EQ(item.BorderColor, 0xFF00FF);
    const Bytes bytes = Container("x", 1);
    toolkit::TMemoryStream in(bytes);
    item.ReadData(in);
    toolkit::TMemoryStream out;
    item.WriteData(out);
    EXPECT_EQ(out.Bytes(), bytes);
    EXPECT_THROW(skins[1], toolkit::EListError);
}

} // namespace

// A picture of the skin that cannot be made (out of memory) is dropped like an unreadable one:
// the skin still loads, short of that one picture.
TEST(SkinChoice, APictureThatCannotBeMadeDropsOnlyThatPicture) {
    const auto pictures = [](TsSkinManager& m) {
        int count = m.MasterBitmap() != nullptr && m.MasterBitmap()->Width() > 0 ? 1 : 0;
        for (const auto& piece : m.ma())
            count += piece.Image != nullptr;
        return count;
    };
    TsSkinManager whole;
    skin::AddInternalSkin(whole.InternalSkins());
    whole.SetSkinName(skin::kInternalSkinName);

    platform::RefuseCreations(platform::Creation::DibSection, 1);
    TsSkinManager shortOfOne;
    skin::AddInternalSkin(shortOfOne.InternalSkins());
    shortOfOne.SetSkinName(skin::kInternalSkinName);
    const bool refused = !platform::CreationRefused(platform::Creation::DibSection);
    platform::RefuseCreations(platform::Creation::DibSection, 0);
    EXPECT_TRUE(refused) << "no picture was made";
    EXPECT_TRUE(shortOfOne.Active());
    EXPECT_GT(pictures(whole), 1);
    EXPECT_EQ(pictures(shortOfOne), pictures(whole) - 1);
}
