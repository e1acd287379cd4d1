#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gfx/text/TextDraw.h"
#include "skin/InternalSkin.h"
#include "skin/sGradient.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skin/sSkinManager.h"
#include "tests/skin/PaintTestSupport.h"
#include "tests/skin/SkinTestSupport.h"

using namespace skin;
using painttest::At;
using painttest::Filled;
using platform::Rect;
using platform::RGB;

namespace {

// Colours in the options are in the system layout: 255 red, 65280 green, 16711680 blue.
const char* const kOptions = R"([GLOBALINFO]
MASTERBITMAP=MASTER.BMP
[MIX]
COLOR=255
IMAGEPERCENT=50
GRADIENTPERCENT=50
PATTERN=~0000~0000~0004~0004~00
GRADIENTDATA=16711680;16711680;100;0;0
[GRADONLY]
COLOR=255
GRADIENTPERCENT=100
GRADIENTDATA=0;16777215;100;0;0
[IMAGEMIX]
COLOR=16711680
IMAGEPERCENT=40
PATTERN=~0000~0000~0004~0004~00
[PLAIN]
COLOR=65280
HOTCOLOR=16711680
FONTCOLOR=0
TCLEFT=255
[SEE]
COLOR=65280
TRANSPARENCY=100
BORDERSMASK=^0000^0000^0006^0006^0002^0002^0002^0002^1^0^0^2
[HALF]
COLOR=0
TRANSPARENCY=50
[QUARTER]
COLOR=7925780
TRANSPARENCY=25
HOTCOLOR=7925780
HOTTRANSPARENCY=80
)";

class SectionPainting : public testing::Test {
protected:
    SectionPainting() {
        m_dir.Write("Paint/Options.dat", std::string(kOptions));
        m_dir.Write("Paint/MASTER.BMP", skintest::Bitmap24(8, 8, RGB(0, 200, 0)));
        manager.SetSkinDirectory(m_dir.Str());
        manager.SetSkinName("Paint");
    }
    ~SectionPainting() override { ResetParentColor(); }

    TsSectionPaint Section(const char* name) {
        TsSectionPaint p;
        p.SectionName = name;
        p.SectionIndex = manager.FindSectionIndex(name);
        EXPECT_GE(p.SectionIndex, 0) << name;
        p.Manager = &manager;
        return p;
    }

    skintest::TempFolder m_dir;
    TsSkinManager manager;
};

} // namespace

TEST_F(SectionPainting, ImageAndGradientMixHalfAndHalfWithoutTheSectionColour) {
    auto target = Filled(6, 4, RGB(9, 9, 9));
    PaintSectionBackground(Section("MIX"), *target, {0, 0, 6, 4});
    // Texture green 200 weighted 127, gradient blue 255 weighted 128, no red of COLOR.
    EXPECT_EQ(At(*target, 0, 0), RGB(0, 99, 127));
    EXPECT_EQ(At(*target, 5, 3), RGB(0, 99, 127));
}

TEST_F(SectionPainting, PercentsChooseBetweenGradientTextureAndColour) {
    auto target = Filled(3, 5, RGB(9, 9, 9));
    PaintSectionBackground(Section("GRADONLY"), *target, {0, 0, 3, 5});
    EXPECT_EQ(At(*target, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(*target, 2, 4), RGB(255, 255, 255));

    PaintSectionBackground(Section("IMAGEMIX"), *target, {0, 0, 3, 5});
    EXPECT_EQ(At(*target, 1, 1), RGB(0, 80, 153)); // 40 % texture, 60 % COLOR

    auto plain = Section("PLAIN");
    PaintSectionBackground(plain, *target, {0, 0, 3, 5});
    EXPECT_EQ(At(*target, 1, 1), RGB(0, 255, 0));
    plain.State = 2;
    PaintSectionBackground(plain, *target, {0, 0, 3, 5});
    EXPECT_EQ(At(*target, 1, 1), RGB(0, 0, 255));
    plain.CustomColor = RGB(1, 2, 3);
    PaintSectionBackground(plain, *target, {1, 1, 2, 2});
    EXPECT_EQ(At(*target, 1, 1), RGB(1, 2, 3));
    EXPECT_EQ(At(*target, 0, 0), RGB(0, 0, 255));
}

TEST_F(SectionPainting, TransparencyShowsTheParentItsColourOrBlendsOverIt) {
    auto parent = Filled(40, 40, RGB(255, 255, 255));
    painttest::Put(*parent, 13, 24, RGB(10, 20, 30));
    auto see = Section("SEE");
    see.Parent = {parent.get(), 3, 4, true};
    see.Position = {10, 20};
    auto target = Filled(5, 5, RGB(9, 9, 9));
    PaintSectionBackground(see, *target, {0, 0, 5, 5});
    EXPECT_EQ(At(*target, 0, 0), RGB(10, 20, 30)); // parent (3 + 10, 4 + 20)
    EXPECT_EQ(At(*target, 1, 0), RGB(255, 255, 255));

    // Without a finished parent background, the parent's colour stands in for it.
    see.Parent.Ready = false;
    SetParentColor(RGB(7, 8, 9));
    PaintSection(see, *target, {0, 0, 5, 5});
    EXPECT_EQ(At(*target, 2, 2), RGB(7, 8, 9));
    EXPECT_EQ(ParentColor(), kKeyColor);
    PaintSectionBackground(see, *target, {0, 0, 5, 5});
    EXPECT_EQ(At(*target, 2, 2), RGB(0, 255, 0)); // nothing to see through: opaque

    auto half = Section("HALF");
    half.Parent = {parent.get(), 0, 0, true};
    PaintSectionBackground(half, *target, {1, 1, 4, 4});
    EXPECT_EQ(At(*target, 2, 2), RGB(127, 127, 127));
    EXPECT_EQ(At(*target, 0, 0), RGB(0, 255, 0));
}

// RGB(20, 240, 120) over RGB(200, 100, 40): a quarter of the parent shows through, and four
// fifths when hot. Each channel is (parent × k + own × (255 − k) + 127) ÷ 256 with k = 63 for
// 25 % and 204 for 80 %, e.g. red at 25 %: (200 × 63 + 20 × 192 + 127) ÷ 256 = 64.
TEST_F(SectionPainting, PartialTransparencyWeighsTheParentByItsShare) {
    auto parent = Filled(8, 8, RGB(200, 100, 40));
    auto quarter = Section("QUARTER");
    quarter.Parent = {parent.get(), 0, 0, true};
    auto target = Filled(6, 6, RGB(9, 9, 9));
    PaintSectionBackground(quarter, *target, {1, 1, 5, 5});
    EXPECT_EQ(At(*target, 1, 1), RGB(64, 205, 100));
    EXPECT_EQ(At(*target, 4, 4), RGB(64, 205, 100));
    EXPECT_EQ(At(*target, 5, 5), RGB(9, 9, 9));
    quarter.State = 1;
    PaintSectionBackground(quarter, *target, {1, 1, 5, 5});
    EXPECT_EQ(At(*target, 2, 3), RGB(163, 127, 56));
}

TEST_F(SectionPainting, PaintSectionDrawsTheBorderOverTheBackground) {
    auto target = Filled(10, 10, RGB(9, 9, 9));
    PaintSection(Section("SEE"), *target, {0, 0, 10, 10});
    // BORDERSMASK: a 6 × 6 master piece of plain green with corners of 2.
    EXPECT_EQ(At(*target, 0, 0), RGB(0, 200, 0));
    EXPECT_EQ(At(*target, 9, 5), RGB(0, 200, 0));
    EXPECT_EQ(At(*target, 5, 5), RGB(0, 255, 0)); // no centre: the piece has a border width
}

TEST_F(SectionPainting, ContourTextUsesTheContourAndDisabledColours) {
    const auto paint = Section("PLAIN");
    const auto draw = [&](bool enabled) {
        auto target = Filled(40, 24, RGB(255, 255, 255));
        target->Canvas().Font().SetSize(14);
        DrawContourText(target->Canvas(), "WM", enabled, &manager, false, paint.SectionIndex,
                        platform::DT_SINGLELINE, {4, 2, 40, 24});
        return target;
    };
    bool reddish = false, dark = false;
    auto enabled = draw(true);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            const auto c = At(*enabled, x, y);
            reddish |= platform::GetRValue(c) > platform::GetGValue(c) + 40;
            dark |= platform::GetRValue(c) < 60;
        }
    EXPECT_TRUE(reddish); // the left contour in red
    EXPECT_TRUE(dark);    // the text itself in black

    // Disabled: 0.4 × black + 0.6 × green, once.
    auto disabled = draw(false);
    bool drawn = false, onlyDisabled = true;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            const auto c = At(*disabled, x, y);
            drawn |= c != RGB(255, 255, 255);
            onlyDisabled &= platform::GetGValue(c) >= 153 &&
                            std::abs(platform::GetRValue(c) - platform::GetBValue(c)) <= 1;
        }
    EXPECT_TRUE(drawn);
    EXPECT_TRUE(onlyDisabled);
}

TEST(PaintDisabledLook, GreysAndFadesTowardTheParent) {
    auto parent = Filled(20, 20, RGB(100, 100, 100));
    auto bmp = Filled(4, 4, RGB(0, 30, 60));
    PaintDisabledLook(*bmp, kDisabledGrey | kDisabledFade, RGB(0, 0, 0), {18, 18},
                      {parent.get(), 0, 0, true});
    EXPECT_EQ(At(*bmp, 0, 0), RGB(72, 72, 72)); // 0.6 × 100 + 0.4 × 30
    EXPECT_EQ(At(*bmp, 2, 2), RGB(30, 30, 30)); // outside the parent: grey only

    auto flat = Filled(2, 2, RGB(0, 0, 0));
    PaintDisabledLook(*flat, kDisabledFade, RGB(200, 100, 2), {0, 0}, {});
    EXPECT_EQ(At(*flat, 1, 1), RGB(100, 50, 1));
    SetParentColor(RGB(255, 255, 255));
    PaintDisabledLook(*flat, kDisabledFade, RGB(200, 100, 2), {0, 0}, {});
    ResetParentColor();
    EXPECT_EQ(At(*flat, 1, 1), RGB(178, 152, 128)); // 177.5 and 152.5 round to even
}

// Run under the sanitizers: every routine on every hostile geometry, nothing outside memory.
TEST(PaintingSafety, HostileRectanglesPiecesAndIndexesTouchNothingOutside) {
    TsSkinManager manager;
    AddInternalSkin(manager.InternalSkins());
    manager.SetSkinName(kInternalSkinName);
    const std::vector<Rect> rects{
        {},
        {5, 5, 2, 2},
        {-10, -10, 3, 3},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
        {INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX},
        {INT_MIN, 0, INT_MIN + 5, 3},
        {2, 1, 100000, 3},
        {0, 0, 1, 1},
        {0, 0, 7, 5},
    };
    const std::vector<std::pair<int, int>> sizes{{0, 0}, {1, 1}, {2, 2}, {7, 5}};
    TsMaskData wild;
    wild.R = {290, 250, 400, 400}; // past the master bitmap
    wild.ImageCount = 0;
    wild.MaskType = 1;
    wild.WL = 32000;
    wild.WT = -5;
    wild.WR = 3;
    wild.WB = 32000;
    wild.Manager = &manager;
    TsMaskData negative = wild;
    negative.R = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    negative.MaskType = 0;
    negative.ImageCount = -4;
    negative.StretchMode = 1;
    std::vector<TsMaskData> pieces{wild, negative};
    for (const auto& m : manager.ma())
        pieces.push_back(m);

    for (auto [w, h] : sizes) {
        auto target = NewBitmap24(w, h);
        auto parent = Filled(3, 3, RGB(4, 5, 6));
        for (const Rect& r : rects) {
            const TsBackdropInfo back{parent.get(), INT_MIN, INT_MAX, true};
            FillRect24(*target, r, RGB(9, 9, 9));
            MixColorInto(*target, r, 250, RGB(1, 1, 1));
            BlendBitmaps(*target, *parent, 300, {r.left, r.top}, r);
            FadeCopyKeyed(*target, r.right, r.bottom, kKeyColor, 7.0, r, *parent);
            CopyKeyed(*target, *parent, r.left, r.bottom, true, back, kKeyColor, r);
            StretchBlock24(*target, r, *parent, r);
            TileBlock24(*target, r, *parent, r);
            PaintGradientSteps(*target, r, {{0, 0xFFFFFF, 200, 0, 0}, {0, 1, 100, 0, 0}}, INT_MAX);
            for (int mode : {0, 1, 2})
                PaintGradientSteps(*target, r, {{0, 0xFFFFFF, 50, mode, 0}}, INT_MIN);
            for (const TsMaskData& piece : pieces) {
                for (int mode : {0, 1, 2, 3, 4, 5, 6, 7, 10, 99}) {
                    Rect rest = r;
                    DrawTexturePiece(*target, rest, nullptr, mode, &piece, back);
                }
                DrawFramePiece(*target, r, true, 2, 99, piece, back);
                DrawGlyphPiece(*target, {r.left, r.top}, -7, piece, 1);
                std::vector<Rect> runs;
                CornerKeyRuns(runs, INT_MAX, piece, true, INT_MIN);
            }
            for (std::int32_t section = -1; section <= 62; section += 7) {
                TsSectionPaint p;
                p.SectionIndex = section;
                p.SectionName = "FORM";
                p.Manager = &manager;
                p.Parent = back;
                p.Position = {INT_MAX, INT_MIN};
                p.TextureIndex = 100000;
                p.HotTextureIndex = -100;
                p.State = section & 1;
                PaintSection(p, *target, r);
            }
        }
        // The parent is only ever read, and the target keeps its size whatever was asked.
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(At(*parent, x, y), RGB(4, 5, 6))
                    << w << "x" << h << " at " << x << "," << y;
        EXPECT_EQ(target->Width(), w);
        EXPECT_EQ(target->Height(), h);
    }
    auto eightBit = NewBitmap24(4, 4);
    eightBit->SetPixelFormat(toolkit::TPixelFormat::pf8bit);
    FillRect24(*eightBit, {0, 0, 4, 4}, RGB(1, 1, 1)); // not 24-bit: nothing
    EXPECT_TRUE(TacRows24(*eightBit).Empty());
}

// Whatever a routine draws, the ring of pixels around its rectangle keeps its colour.
TEST(PaintingSafety, EveryRoutineStaysInsideItsRectangle) {
    TsSkinManager manager;
    AddInternalSkin(manager.InternalSkins());
    manager.SetSkinName(kInternalSkinName);
    auto parent = Filled(30, 30, RGB(4, 5, 6));
    const TsBackdropInfo back{parent.get(), 0, 0, true};
    const Rect r{3, 2, 17, 13};
    const platform::Color ground = RGB(1, 2, 3);
    const auto check = [&](const char* what, auto draw) {
        auto target = Filled(20, 16, ground);
        draw(*target);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x)
                if (!r.Contains({x, y})) {
                    ASSERT_EQ(At(*target, x, y), ground) << what << " at " << x << ", " << y;
                }
    };
    check("mix", [&](auto& t) { MixColorInto(t, r, 10, RGB(200, 0, 0)); });
    check("fade", [&](auto& t) {
        FadeCopyKeyed(t, 3, 2, kNoKeyColor, 0.2, {0, 0, 14, 11}, *parent);
    });
    check("copy", [&](auto& t) {
        CopyKeyed(t, *parent, 3, 2, true, back, kKeyColor, {0, 0, 14, 11});
    });
    for (int mode : {0, 1, 2})
        check("gradient", [&](auto& t) {
            PaintGradientSteps(t, r, {{0, 0xFFFFFF, 30, mode, 0}, {0xFF, 0xFF00, 70, mode, 0}}, 0);
        });
    for (const TsMaskData& piece : manager.ma()) {
        for (int mode : {0, 1, 2, 3, 4, 5, 6, 7, 10}) {
            Rect rest = r;
            check("texture",
                  [&](auto& t) { DrawTexturePiece(t, rest, nullptr, mode, &piece, back); });
        }
        check("frame", [&](auto& t) { DrawFramePiece(t, r, true, 1, 1, piece, back); });
    }
    for (std::size_t i = 0; i < manager.gd().size(); ++i)
        for (int state : {0, 1})
            check(manager.gd()[i].ClassName.c_str(), [&](auto& t) {
                TsSectionPaint p;
                p.SectionIndex = static_cast<std::int32_t>(i);
                p.SectionName = manager.gd()[i].ClassName;
                p.Manager = &manager;
                p.Parent = back;
                p.State = state;
                PaintSection(p, t, r);
            });
}
