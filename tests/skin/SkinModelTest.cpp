// Building the skin model from options texts: sections, inheritance, pieces, gradients.

#include <gtest/gtest.h>

#include <functional>

#include "SkinTestSupport.h"
#include "skin/sGraphUtils.h"
#include "skin/sPaintSection.h"
#include "skin/sSkinManager.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TBitmap.h"

namespace {

using skin::TacImgType;
using skin::TsSkinManager;
using skintest::TempFolder;

// A folder skin named "T" in a fresh skin directory, loaded into a fresh manager.
class FolderSkin {
public:
    explicit FolderSkin(const std::string& options, int masterWidth = 304, int masterHeight = 260) {
        folder.Write("T/Options.dat", options);
        folder.Write("T/Master.bmp", skintest::Bitmap24(masterWidth, masterHeight, 0x808080));
        manager.SetSkinDirectory(folder.Str());
        manager.SetSkinName("T");
    }
    const skin::TsGeneralData& Section(const char* name) {
        const auto i = manager.FindSectionIndex(name);
        EXPECT_GE(i, 0) << name;
        return manager.gd().at(static_cast<std::size_t>(i < 0 ? 0 : i));
    }
    const skin::TsMaskData& Piece(const char* section, const char* key) {
        const auto i = manager.FindOwnPieceIndex(section, key);
        EXPECT_GE(i, 0) << section << " " << key;
        return manager.ma().at(static_cast<std::size_t>(i < 0 ? 0 : i));
    }
    TempFolder folder;
    TsSkinManager manager;
};

const char* const kGlobal = "[GLOBALINFO]\r\nMASTERBITMAP=MASTER.BMP\r\nVERSION=5.2\r\n";

TEST(SkinSections, FollowTheTextOrderWithTheirDefaults) {
    FolderSkin s(std::string(kGlobal) + "[PANEL]\r\nCOLOR=14797990\r\n[EMPTY]\r\n");
    ASSERT_EQ(s.manager.gd().size(), 3u);
    EXPECT_EQ(s.manager.gd()[0].ClassName, "GLOBALINFO");
    EXPECT_EQ(s.manager.gd()[1].Color, 14797990);
    const auto& empty = s.Section("EMPTY");
    EXPECT_EQ(empty.Color, 16777215);
    EXPECT_EQ(empty.ShadowBlur, 6);
    EXPECT_EQ(empty.ShadowOffset, 3);
    EXPECT_EQ(empty.ShadowTransparency, 50);
    EXPECT_EQ(empty.FadingIterations, 5);
    EXPECT_EQ(empty.GradientData, " ");
    EXPECT_TRUE(empty.Gradient.empty());
    EXPECT_EQ(empty.FontColor, (skin::TsFontColors{0, -1, -1, -1, -1}));
    EXPECT_EQ(s.manager.SkinInfo(), "5.2");
}

TEST(SkinSections, InheritThroughParentClassChains) {
    FolderSkin s(std::string(kGlobal) +
                 "[EDIT]\r\nTRANSPARENCY=40\r\nSHOWFOCUS=TRUE\r\nSHADOWCOLOR=9\r\n"
                 "[COMBOBOX]\r\nPARENTCLASS=EDIT\r\n"
                 "[MINUS]\r\nPARENTCLASS=EDIT\r\nTRANSPARENCY=-1\r\n"
                 "[GRANDCHILD]\r\nPARENTCLASS=COMBOBOX\r\nGRADIENTDATA=\r\n"
                 "[SELF]\r\nPARENTCLASS=SELF\r\n"
                 "[LOOPA]\r\nPARENTCLASS=LOOPB\r\n[LOOPB]\r\nPARENTCLASS=loopa\r\n");
    EXPECT_EQ(s.Section("COMBOBOX").Transparency, 40);
    EXPECT_TRUE(s.Section("COMBOBOX").ShowFocus);
    EXPECT_EQ(s.Section("COMBOBOX").ShadowColor, 0); // read directly, never inherited
    EXPECT_EQ(s.Section("MINUS").Transparency, 40);  // -1 counts as absent
    EXPECT_EQ(s.Section("GRANDCHILD").Transparency, 40);
    EXPECT_EQ(s.Section("GRANDCHILD").GradientData, ""); // an empty value is a value
    EXPECT_EQ(s.Section("SELF").Transparency, 0);
    EXPECT_EQ(s.Section("LOOPA").ShadowBlur, 6); // the cycle ends in the defaults
    EXPECT_EQ(s.Section("LOOPB").Color, 16777215);
}

TEST(SkinSections, ParseGradientsInGroupsOfFive) {
    FolderSkin s(std::string(kGlobal) +
                 "[A]\r\nGRADIENTDATA=7754286;16777215;9;0;0;16777215;9661497;17;0;0\r\n"
                 "[B]\r\nGRADIENTDATA=1;2;150;1;0;3;4;5\r\nHOTGRADIENTDATA=5;6;7;2;0;\r\n");
    const auto& a = s.Section("A").Gradient;
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].Color1, 7754286);
    EXPECT_EQ(a[0].Color2, 16777215);
    EXPECT_EQ(a[0].Percent, 9);
    EXPECT_EQ(a[1].Color2, 9661497);
    EXPECT_EQ(a[1].Percent, 17);
    EXPECT_EQ(a[1].Mode, 0);
    const auto& b = s.Section("B");
    ASSERT_EQ(b.Gradient.size(), 1u); // the trailing incomplete group is dropped
    EXPECT_EQ(b.Gradient[0].Percent, 100);
    EXPECT_EQ(b.Gradient[0].Mode, 1);
    ASSERT_EQ(b.HotGradient.size(), 1u);
    EXPECT_EQ(b.HotGradient[0].Mode, 2);
}

TEST(SkinSections, UnparsableNumbersEndTheLoadWithAConversionError) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"[A]\r\nGRADIENTDATA=1;2;x;0;0\r\n", "'x' is not a valid integer value"},
        {"[A]\r\nBORDERSMASK=^01a9^0072^0210^0114^0000^0000^0000^0000^1^1^1^0\r\n",
         "'01a9' is not a valid integer value"},
        {"[A]\r\nGLYPH=@0147@0154@0195@0190@3\r\n", "'' is not a valid integer value"},
        {"[GLOBALINFO]\r\nSHADOW1OFFSET=one\r\n", "'one' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        folder.Write("T/Options.dat", c.text);
        TsSkinManager manager;
        manager.SetSkinDirectory(folder.Str());
        try {
            manager.SetSkinName("T");
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const skin::ESkinError& e) {
            EXPECT_EQ(e.Message(),
                      "Cannot load skin \"" + folder.Str() + "/T/Options.dat\". " + c.message);
        }
        EXPECT_FALSE(TsSkinManager::SkinChanging());
    }
}

// Every section names the next as its parent; from is the name of section i.
std::string Chain(int count, bool ring, const std::function<std::string(int)>& extra) {
    std::string text = kGlobal;
    for (int i = 0; i < count; ++i) {
        text += "[S" + std::to_string(i) + "]\r\n" + extra(i);
        if (i + 1 < count || ring)
            text += "PARENTCLASS=S" + std::to_string((i + 1) % count) + "\r\n";
    }
    return text;
}

TEST(SkinSections, LongChainsAndRingsResolveOnceWithTheValuesAShortChainGives) {
    // Worked by hand on a chain of three: S0 takes S1's colour and S2's transparency.
    FolderSkin shortChain(Chain(3, false, [](int i) {
        return i == 1 ? "COLOR=11\r\n" : i == 2 ? "COLOR=22\r\nTRANSPARENCY=30\r\n" : "";
    }));
    EXPECT_EQ(shortChain.Section("S0").Color, 11);
    EXPECT_EQ(shortChain.Section("S0").Transparency, 30);
    EXPECT_EQ(shortChain.Section("S2").Color, 22);

    // A thousand sections, every tenth with a colour of its own: each takes the next one up.
    FolderSkin chain(Chain(1000, false, [](int i) {
        return i % 10 == 0 ? "COLOR=" + std::to_string(i) + "\r\n" : std::string();
    }));
    for (const int i : {1, 9, 10, 11, 555, 989})
        EXPECT_EQ(chain.Section(("S" + std::to_string(i)).c_str()).Color, (i + 9) / 10 * 10) << i;
    EXPECT_EQ(chain.Section("S995").Color, 16777215); // nothing above it
    EXPECT_EQ(chain.manager.gd().size(), 1001u);

    // Two thousand in a ring: the link that closes it is cut, so S1999 ends it; each section
    // keeps its own values and finds the border piece of S1000 (within the depth bound).
    FolderSkin ring(Chain(2000, true, [](int i) {
        std::string own = "SHADOWBLUR=" + std::to_string(i) + "\r\n";
        if (i == 1000 || i == 0)
            own += (i == 0 ? "GLYPHMASK" : "BORDERSMASK") +
                   std::string("=^0000^0072^0063^0114^0000^0000^0000^0000^3^1^1^0\r\n");
        return own;
    }));
    auto& m = ring.manager;
    EXPECT_EQ(ring.Section("S1234").ShadowBlur, 1234);
    EXPECT_EQ(ring.Section("S1999").Color, 16777215);
    const auto piece = m.FindOwnPieceIndex("S1000", "BORDERSMASK");
    ASSERT_GE(piece, 0);
    EXPECT_EQ(m.FindPieceIndex(m.FindSectionIndex("S990"), "S990", "BORDERSMASK"), piece);
    EXPECT_EQ(m.FindPieceIndex(m.FindSectionIndex("S1500"), "S1500", "BORDERSMASK"), -1);
    EXPECT_GE(m.FindPieceIndex(m.FindSectionIndex("S0"), "S0", "GLYPHMASK"), 0);
    EXPECT_EQ(m.FindPieceIndex(m.FindSectionIndex("S1999"), "S1999", "GLYPHMASK"), -1)
        << "followed the link that closes the ring";
}

struct PieceCase {
    const char* value;
    TacImgType type;
    platform::Rect r;
    int imageCount, maskType, stretchMode, borderWidth;
    int wl, wt, wr, wb;
};

TEST(SkinPieces, ReadEveryValueForm) {
    const PieceCase cases[] = {
        {"^0189^0072^0210^0114^0000^0000^0000^0000^1^1^1^0",
         TacImgType::itisaBorder,
         {189, 72, 210, 114},
         1,
         1,
         1,
         0,
         7,
         7,
         7,
         7},
        {"^0135^0060^0147^0072^0000^0000^0000^0000^1^0^1^4",
         TacImgType::itisaBorder,
         {135, 60, 147, 72},
         1,
         0,
         1,
         4,
         4,
         4,
         4,
         4},
        {"^0243^0190^0286^0220^0006^0006^0007^0008^3^1^1^1",
         TacImgType::itisaBorder,
         {243, 190, 286, 220},
         3,
         1,
         1,
         1,
         6,
         6,
         7,
         8},
        {"@0147@0154@0195@0190@3@1",
         TacImgType::itisaGlyph,
         {147, 154, 195, 190},
         3,
         1,
         0,
         0,
         0,
         0,
         0,
         0},
        {"~0000~0250~0006~0254~10~1",
         TacImgType::itisaTexture,
         {0, 250, 6, 254},
         1,
         1,
         10,
         0,
         0,
         0,
         0,
         0},
        {"~0000~0250~0006~0254~02",
         TacImgType::itisaTexture,
         {0, 250, 6, 254},
         1,
         0,
         2,
         0,
         0,
         0,
         0,
         0},
        {"MASTER.BMP#(0,0,30,60)(3,1,0,2)",
         TacImgType::itisaBorder,
         {0, 0, 30, 60},
         3,
         1,
         2,
         0,
         3,
         10,
         3,
         10},
        {"# (10 20 40 50) (0,-1,5)",
         TacImgType::itisaBorder,
         {10, 20, 40, 50},
         1,
         0,
         1,
         5,
         5,
         5,
         5,
         5},
    };
    for (const PieceCase& c : cases) {
        FolderSkin s(std::string(kGlobal) + "[S]\r\nBORDERSMASK=" + c.value + "\r\n");
        SCOPED_TRACE(c.value);
        ASSERT_EQ(s.manager.ma().size(), 1u);
        const auto& m = s.Piece("S", "BORDERSMASK");
        EXPECT_EQ(m.ImgType, c.type);
        EXPECT_EQ(m.R, c.r);
        EXPECT_EQ(m.ImageCount, c.imageCount);
        EXPECT_EQ(m.MaskType, c.maskType);
        EXPECT_EQ(m.StretchMode, c.stretchMode);
        EXPECT_EQ(m.BorderWidth, c.borderWidth);
        EXPECT_EQ((std::array<int, 4>{m.WL, m.WT, m.WR, m.WB}),
                  (std::array<int, 4>{c.wl, c.wt, c.wr, c.wb}));
        EXPECT_EQ(m.Manager, &s.manager);
        EXPECT_EQ(m.Image, nullptr);
    }
}

TEST(SkinPieces, OwnBitmapFilesAndWholeBitmapValues) {
    TempFolder folder;
    folder.Write("T/Options.dat", std::string(kGlobal) +
                                      "[Button_Huge]\r\nBordersMask=!BTN_HUGE.BMP!3!1!0\r\n"
                                      "[B]\r\nK=!BTN_HUGE.BMP!3!1!2!1!2!3!4\r\n"
                                      "[c]\r\nglyph=small.bmp\r\n"
                                      "[D]\r\nA=!btn_huge.bmp!3!1!0\r\nB=plain\r\nC=123\r\n"
                                      "E=!MISSING.BMP!1!0!0\r\nF=bg.jpg\r\nG=#\r\n"
                                      "H=Skin #2 of many\r\n");
    folder.Write("T/Master.bmp", skintest::Bitmap24(304, 260, 0x808080));
    folder.Write("T/Btn_Huge.bmp", skintest::Bitmap24(288, 192, 0xFF0000));
    folder.Write("T/small.BMP", skintest::Bitmap24(30, 20, 0xFF0000));
    TsSkinManager manager;
    manager.SetSkinDirectory(folder.Str());
    manager.SetSkinName("T");
    ASSERT_EQ(manager.ma().size(), 3u);

    const auto& huge = manager.ma()[0];
    EXPECT_EQ(huge.SectionName, "Button_Huge"); // as written
    EXPECT_EQ(huge.PropertyName, "BordersMask");
    EXPECT_EQ(huge.R, (platform::Rect{0, 0, 288, 192}));
    ASSERT_NE(huge.Image, nullptr);
    EXPECT_EQ((std::array<int, 4>{huge.WL, huge.WT, huge.WR, huge.WB}),
              (std::array<int, 4>{32, 32, 32, 32}));
    EXPECT_EQ(manager.GetStateImageSize(0), (platform::Size{96, 96}));

    const auto& explicitWidths = manager.ma()[1];
    EXPECT_EQ(explicitWidths.ImgType, TacImgType::itisaGlyph);
    EXPECT_EQ((std::array<int, 4>{explicitWidths.WL, explicitWidths.WT, explicitWidths.WR,
                                  explicitWidths.WB}),
              (std::array<int, 4>{1, 2, 3, 4}));

    const auto& whole = manager.ma()[2];
    EXPECT_EQ(whole.SectionName, "C");
    EXPECT_EQ(whole.PropertyName, "GLYPH");
    EXPECT_EQ(whole.ImageCount, 3);
    EXPECT_EQ(whole.MaskType, 1);
    EXPECT_EQ(whole.WL, 3);
    EXPECT_EQ(whole.WT, 3);
}

TEST(SkinPieces, BorderWidthQueriesFallBackInOrder) {
    FolderSkin s(std::string(kGlobal) +
                 "[S]\r\nA=^0000^0000^0030^0060^0005^0000^0000^0000^3^1^1^0\r\n"
                 "B=@0000@0000@0030@0060@0@1\r\n");
    const auto a = s.manager.FindOwnPieceIndex("S", "A");
    EXPECT_EQ(s.manager.GetMaskWidthLeft(a), 5);
    EXPECT_EQ(s.manager.GetMaskWidthTop(a), 0 + 60 / 6);
    EXPECT_EQ(s.manager.GetMaskWidthRight(a), 30 / 9);
    EXPECT_EQ(s.manager.GetStateImageSize(a), (platform::Size{10, 30}));
    const auto b = s.manager.FindOwnPieceIndex("S", "B");
    // The file's image count of 0 is held at 1 on load: no query divides by zero.
    EXPECT_EQ(s.manager.GetMaskWidthRight(b), 10);
    EXPECT_EQ(s.manager.GetMaskWidthLeft(b), 10);
    EXPECT_EQ(s.manager.GetMaskWidthLeft(99), 0);
}

TEST(SkinLookups, InheritPiecesAndStopAtCycles) {
    FolderSkin s(std::string(kGlobal) +
                 "[SPEEDBUTTON_SMALL]\r\nBORDERSMASK=^0000^0072^0063^0114^0000^0000^0000^0000^3"
                 "^1^1^0\r\nPATTERN=~0000~0250~0006~0254~10~1\r\n"
                 "[SPLITTER]\r\nPARENTCLASS=SPEEDBUTTON_SMALL\r\n"
                 "[PANEL]\r\nCOLOR=1\r\n"
                 "[LOOPA]\r\nPARENTCLASS=LOOPB\r\n[LOOPB]\r\nPARENTCLASS=LOOPA\r\n");
    auto& m = s.manager;
    const auto splitter = m.FindSectionIndex("SPLITTER");
    const auto own = m.FindOwnPieceIndex("SPEEDBUTTON_SMALL", "BORDERSMASK");
    ASSERT_GE(own, 0);
    EXPECT_EQ(m.FindPieceIndex(splitter, "SPLITTER", "BORDERSMASK"), own);
    EXPECT_EQ(m.FindOwnPieceIndex("SPLITTER", "BORDERSMASK"), -1);
    EXPECT_EQ(m.FindTextureIndex(splitter, "SPLITTER", "BORDERSMASK"), -1);
    EXPECT_GE(m.FindTextureIndex(splitter, "SPLITTER", "PATTERN"), 0);
    EXPECT_EQ(m.FindSectionIndex("panel"), -1);
    EXPECT_GE(m.FindSectionIndex("PANEL"), 0);
    EXPECT_EQ(m.FindPieceIndex(-1, "SPLITTER", "BORDERSMASK"), -1);
    EXPECT_EQ(m.FindPieceIndex(splitter, "", "BORDERSMASK"), -1);
    EXPECT_EQ(m.FindPieceIndex(m.FindSectionIndex("LOOPA"), "LOOPA", "BORDERSMASK"), -1);
    EXPECT_EQ(m.FindPatternIndex(m.FindSectionIndex("LOOPA"), "LOOPA", "PATTERN"), -1);
}

TEST(SkinPatterns, LargeJpegPicturesStayPatternsSmallOnesBecomeTextures) {
    TempFolder folder;
    folder.Write("T/Options.dat", std::string(kGlobal) +
                                      "[FORM]\r\nPATTERN=bg.jpg\r\nHOTPATTERN=BG.JPG\r\n"
                                      "[MAINMENU]\r\nPATTERN=missing.jpg\r\nA=broken.jpeg\r\n"
                                      "[Small]\r\nPattern=small.JPG\r\n");
    folder.Write("T/Master.bmp", skintest::Bitmap24(10, 10, 0));
    folder.Write("T/BG.JPG", skintest::Jpeg(300, 300, 0xC08040));
    folder.Write("T/small.jpg", skintest::Jpeg(299, 300, 0xC08040));
    folder.Write("T/broken.jpeg", std::string("plain text, not a picture"));
    TsSkinManager manager;
    manager.SetSkinDirectory(folder.Str());
    manager.SetSkinName("T");
    ASSERT_EQ(manager.pa().size(), 2u);
    EXPECT_EQ(manager.pa()[0].SectionName, "FORM");
    EXPECT_EQ(manager.pa()[0].PropertyName, "PATTERN");
    EXPECT_EQ(manager.pa()[0].Img->Width(), 300);
    const auto form = manager.FindSectionIndex("FORM");
    EXPECT_EQ(manager.FindPatternIndex(form, "FORM", "HOTPATTERN"), 1);
    // 299 × 300 is under 90,000 pixels: drawn once into a texture piece of its own.
    ASSERT_EQ(manager.ma().size(), 1u);
    const auto& texture = manager.ma()[0];
    EXPECT_EQ(texture.SectionName, "SMALL");
    EXPECT_EQ(texture.PropertyName, "PATTERN");
    EXPECT_EQ(texture.ImgType, skin::TacImgType::itisaTexture);
    EXPECT_EQ(texture.ImageCount, 1);
    EXPECT_EQ(texture.R, (platform::Rect{0, 0, 299, 300}));
    ASSERT_NE(texture.Image, nullptr);
    const platform::Color middle = texture.Image->Pixel(150, 150);
    EXPECT_NEAR(platform::GetRValue(middle), 0x40, 3);
    EXPECT_NEAR(platform::GetBValue(middle), 0xC0, 3);
    // The piece is named in capitals while the section keeps its spelling.
    const auto small = manager.FindSectionIndex("Small");
    EXPECT_EQ(manager.FindTextureIndex(small, "Small", "PATTERN"), -1);
    EXPECT_EQ(manager.FindTextureIndex(small, "SMALL", "PATTERN"), 0);

    // The next skin's pictures replace these: a lookup must not find the skin before's.
    folder.Write("U/Options.dat", std::string(kGlobal) + "[FORM]\r\nPATTERN=bg.jpg\r\n");
    folder.Write("U/Master.bmp", skintest::Bitmap24(10, 10, 0));
    folder.Write("U/bg.jpg", skintest::Jpeg(320, 300, 0x204080));
    manager.SetSkinName("U");
    ASSERT_EQ(manager.pa().size(), 1u);
    EXPECT_EQ(manager.pa()[0].Img->Width(), 320);
}

TEST(CommonSections, ApplyOnTopOfTheSkin) {
    FolderSkin s(std::string(kGlobal) + "[EDIT]\r\nCOLOR=5\r\nTRANSPARENCY=30\r\n"
                                        "[PANEL]\r\nCOLOR=7\r\nSHOWFOCUS=TRUE\r\n");
    toolkit::TStringList common{"; comment lines stay",
                                "[PANEL]",
                                "PARENT CLASS = EDIT",
                                "COLOR = 9",
                                "",
                                "[MINE]",
                                "PARENTCLASS=EDIT",
                                "BORDERSMASK=^0000^0000^0030^0060^0000^0000^0000^0000^1^1^1^0"};
    s.manager.SetCommonSections(common);
    EXPECT_EQ(s.manager.CommonSections()[2], "PARENTCLASS=EDIT");
    EXPECT_EQ(s.manager.CommonSections()[0], "; comment lines stay");
    ASSERT_EQ(s.manager.gd().size(), 4u); // PANEL replaced, MINE appended
    const auto& panel = s.Section("PANEL");
    EXPECT_EQ(panel.Color, 9);
    EXPECT_EQ(panel.Transparency, 30); // from EDIT, not from the old PANEL
    EXPECT_FALSE(panel.ShowFocus);
    EXPECT_EQ(s.Section("MINE").Color, 5);
    EXPECT_GE(s.manager.FindOwnPieceIndex("MINE", "BORDERSMASK"), 0);
    // Given its own lines back (re-applying them), the manager keeps them.
    s.manager.SetCommonSections(s.manager.CommonSections());
    EXPECT_EQ(s.manager.CommonSections().Count(), common.Count());
    EXPECT_EQ(s.Section("PANEL").Color, 9);
}

// A skin file may give an image count of 0 or less and a mask type of -1 or 9: painting divides
// by both and sizes state images from them, so they are held at 1 or more and 0 … 1 on load,
// and every section still paints without a fault.
TEST(SkinPieces, HostileCountsAreHeldSaneAndStillPaint) {
    TempFolder folder;
    folder.Write("T/Options.dat",
                 std::string(kGlobal) +
                     "[ZERO]\r\nBORDERSMASK=!P.BMP!0!-1!0\r\n"
                     "[NEG]\r\nBORDERSMASK=!P.BMP!-5!9!0\r\nGLYPHMASK=!P.BMP!-1!-1!2\r\n"
                     "[HUGE]\r\nBORDERSMASK=!P.BMP!32767!32767!0!30000!30000!-30000!0\r\n"
                     "[OLD]\r\nBORDERSMASK=x (0,0,30,30) (0,-3,-2,-7)\r\n"
                     "[SCROLLBTNBOTTOM]\r\nGLYPHMASK=!P.BMP!0!-1!2\r\n");
    folder.Write("T/Master.bmp", skintest::Bitmap24(304, 260, 0x808080));
    folder.Write("T/P.bmp", skintest::Bitmap24(30, 20, 0x00FF00));
    TsSkinManager manager;
    manager.SetSkinDirectory(folder.Str());
    manager.SetSkinName("T");
    ASSERT_GE(manager.ma().size(), 5u);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(manager.ma().size()); ++i) {
        const skin::TsMaskData& m = manager.ma()[static_cast<std::size_t>(i)];
        EXPECT_GE(m.ImageCount, 1) << m.SectionName;
        EXPECT_GE(m.MaskType, 0) << m.SectionName;
        EXPECT_LE(m.MaskType, 1) << m.SectionName;
        EXPECT_NO_THROW(manager.GetStateImageSize(i));
        EXPECT_NO_THROW(manager.GetMaskWidthRight(i));
        EXPECT_NO_THROW(manager.GetMaskWidthBottom(i));
    }
    for (const char* name : {"ZERO", "NEG", "HUGE", "OLD", "SCROLLBTNBOTTOM"}) {
        skin::TsSectionPaint p;
        p.SectionName = name;
        p.SectionIndex = manager.FindSectionIndex(name);
        p.Manager = &manager;
        for (std::int32_t state : {0, 1, 2, 7}) {
            p.State = state;
            for (platform::Size size : {platform::Size{0, 0}, platform::Size{1, 1},
                                        platform::Size{40, 25}, platform::Size{3, 200}}) {
                auto target = skin::NewBitmap24(std::max(size.cx, 1), std::max(size.cy, 1));
                EXPECT_NO_THROW(skin::PaintSection(p, *target, {0, 0, size.cx, size.cy}))
                    << name << " " << state;
            }
        }
    }
}

} // namespace
