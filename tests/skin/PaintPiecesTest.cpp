#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "skin/InternalSkin.h"
#include "skin/sMaskData.h"
#include "skin/sSkinManager.h"
#include "tests/skin/PaintTestSupport.h"

using namespace skin;
using painttest::At;
using painttest::Filled;
using platform::Rect;
using platform::RGB;

namespace {

// A piece with its own bitmap of the given size, every pixel (x, y) coloured RGB(x, y, 50).
struct OwnPiece {
    explicit OwnPiece(int w, int h) {
        auto bmp = std::make_shared<TsSkinBitmap>(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bmp->SetPixel(x, y, RGB(x, y, 50));
        piece.Image = bmp;
        piece.R = {0, 0, w, h};
        piece.ImageCount = 1;
        piece.Manager = &manager;
    }
    TsSkinBitmap& Bmp() { return *piece.Image; }
    TsSkinManager manager;
    TsMaskData piece;
};

class InternalSkinPieces : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_manager = new TsSkinManager;
        AddInternalSkin(s_manager->InternalSkins());
        s_manager->SetSkinName(kInternalSkinName);
    }
    static void TearDownTestSuite() {
        delete s_manager;
        s_manager = nullptr;
    }
    static const TsMaskData& Border(const char* section) {
        const auto i =
            s_manager->FindPieceIndex(s_manager->FindSectionIndex(section), section, "BORDERSMASK");
        EXPECT_GE(i, 0) << section;
        return s_manager->ma().at(static_cast<std::size_t>(std::max(i, 0)));
    }
    static platform::Color Master(int x, int y) { return s_manager->MasterBitmap()->Pixel(x, y); }
    // A master piece of the given area, one image without mask.
    static TsMaskData MasterPiece(Rect r, std::int16_t stretchMode = 0) {
        TsMaskData m;
        m.R = r;
        m.ImageCount = 1;
        m.StretchMode = stretchMode;
        m.ImgType = TacImgType::itisaTexture;
        m.Manager = s_manager;
        return m;
    }
    static TsSkinManager* s_manager;
};
TsSkinManager* InternalSkinPieces::s_manager = nullptr;

platform::Color Combined(platform::Color d, platform::Color s, platform::Color m) {
    platform::Color out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int dc = (d >> shift) & 0xFF, sc = (s >> shift) & 0xFF, mc = (m >> shift) & 0xFF;
        out |= platform::Color(std::clamp((dc - sc) * mc / 256 + sc, 0, 255)) << shift;
    }
    return out;
}

} // namespace

// Tiles repeat from the rectangle's own corner, also where the bitmap clips it, across rows
// much wider than a period, and from a source part that is not at the bitmap's origin.
TEST(TileBlock24, RepeatsThePeriodFromTheRectanglesCorner) {
    auto source = Filled(8, 6, 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            painttest::Put(*source, x, y, RGB(x, y, 50));
    for (const Rect& r : {Rect{-7, -4, 90, 20}, Rect{3, 2, 61, 9}, Rect{0, 0, 2, 1}}) {
        auto target = Filled(64, 16, RGB(1, 1, 1));
        TileBlock24(*target, r, *source, {2, 1, 7, 4}); // a 5 × 3 period
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                const auto expected =
                    inside ? RGB(2 + (x - r.left) % 5, 1 + (y - r.top) % 3, 50) : RGB(1, 1, 1);
                ASSERT_EQ(At(*target, x, y), expected) << x << "," << y;
            }
    }
}

TEST(DrawFramePiece, NarrowRectanglesShareTheExcessBetweenTheCorners) {
    OwnPiece own(21, 21);
    own.piece.WL = own.piece.WT = own.piece.WR = own.piece.WB = 7;
    auto target = Filled(12, 12, RGB(1, 1, 1));
    DrawFramePiece(*target, {1, 1, 11, 11}, true, 1, 0, own.piece, {});
    // 7 + 7 into 10 pixels: corners of 5, the outer five columns and rows of each corner.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(At(*target, 1 + x, 1 + y), RGB(x < 5 ? x : x + 11, y < 5 ? y : y + 11, 50))
                << x << ", " << y;
    EXPECT_EQ(At(*target, 0, 0), RGB(1, 1, 1));
    EXPECT_EQ(At(*target, 11, 11), RGB(1, 1, 1));
}

TEST(DrawFramePiece, EdgesTileOrStretchAndTheCentreFollowsItsFlags) {
    OwnPiece own(21, 21);
    own.piece.WL = own.piece.WT = own.piece.WR = own.piece.WB = 7;
    auto tiled = Filled(30, 30, RGB(1, 1, 1));
    DrawFramePiece(*tiled, {0, 0, 30, 30}, true, 1, 0, own.piece, {});
    EXPECT_EQ(At(*tiled, 15, 0), RGB(8, 0, 50)); // 7 + (15 − 7) mod 7
    EXPECT_EQ(At(*tiled, 29, 22), RGB(20, 8, 50));
    EXPECT_EQ(At(*tiled, 15, 15), RGB(8, 8, 50));

    own.piece.StretchMode = 1;
    auto stretched = Filled(30, 30, RGB(1, 1, 1));
    DrawFramePiece(*stretched, {0, 0, 30, 30}, false, 1, 0, own.piece, {});
    EXPECT_EQ(At(*stretched, 22, 0), RGB(13, 0, 50)); // 7 + 15 × 7 ÷ 16
    EXPECT_EQ(At(*stretched, 15, 15), RGB(1, 1, 1));  // no centre without the flag

    own.piece.BorderWidth = 3; // an unmasked piece with a border width keeps its centre empty
    DrawFramePiece(*stretched, {0, 0, 30, 30}, true, 1, 0, own.piece, {});
    EXPECT_EQ(At(*stretched, 15, 15), RGB(1, 1, 1));
}

TEST(DrawFramePiece, KeyColouredCornersShowTheParent) {
    OwnPiece own(21, 21);
    own.piece.WL = own.piece.WT = own.piece.WR = own.piece.WB = 7;
    own.Bmp().SetPixel(0, 0, kKeyColor);
    auto parent = Filled(50, 50, RGB(7, 7, 7));
    painttest::Put(*parent, 12, 13, RGB(90, 91, 92));
    auto target = Filled(20, 20, RGB(1, 1, 1));
    DrawFramePiece(*target, {2, 3, 20, 20}, false, 1, 0, own.piece, {parent.get(), 10, 10, true});
    EXPECT_EQ(At(*target, 2, 3), RGB(90, 91, 92));
    auto alone = Filled(20, 20, RGB(1, 1, 1));
    DrawFramePiece(*alone, {2, 3, 20, 20}, false, 1, 0, own.piece, {});
    EXPECT_EQ(At(*alone, 2, 3), RGB(1, 1, 1));
}

TEST_F(InternalSkinPieces, FormBorderCopiesCornersAndStretchesEdges) {
    const TsMaskData& form = Border("FORM"); // (135, 60, 147, 72), widths 4, stretched
    const platform::Color ground = RGB(1, 2, 3);
    auto target = Filled(40, 30, ground);
    DrawFramePiece(*target, {0, 0, 40, 30}, true, 1, 0, form, {});
    // Corners leave their key colour out; edges are copied as they are.
    const auto expect = [&](int x, int y, int sx, int sy, bool corner) {
        const platform::Color s = Master(sx, sy);
        EXPECT_EQ(At(*target, x, y), s == kKeyColor && corner ? ground : s) << x << ", " << y;
    };
    expect(0, 0, 135, 60, true);
    expect(3, 3, 138, 63, true);
    expect(39, 29, 146, 71, true);
    expect(36, 0, 143, 60, true);
    expect(20, 0, 135 + 4 + 16 * 4 / 32, 60, false);
    expect(0, 15, 135, 60 + 4 + 11 * 4 / 22, false);
    EXPECT_EQ(At(*target, 20, 15), ground); // BorderWidth 4: the centre is left to the caller
}

TEST_F(InternalSkinPieces, ButtonBorderBlendsTheStateImageThroughItsMask) {
    const TsMaskData& button = Border("BUTTON"); // (243, 190, 286, 220), 3 images, masked
    const platform::Color ground = RGB(200, 150, 100);
    auto target = Filled(60, 25, ground);
    DrawFramePiece(*target, {0, 0, 60, 25}, true, 1, 1, button, {});
    const int imageX = 243 + 14; // state 1 of images 14 wide, 15 high
    const auto expect = [&](int x, int y, int sx, int sy) {
        const platform::Color s = Master(imageX + sx, 190 + sy);
        const platform::Color m = Master(imageX + sx, 190 + 15 + sy);
        EXPECT_EQ(At(*target, x, y), s == kKeyColor ? ground : Combined(ground, s, m))
            << x << ", " << y;
    };
    expect(0, 0, 0, 0);
    expect(59, 24, 13, 14);
    expect(5, 20, 5, 10);
    expect(6, 0, 6, 0); // top edge, first tile
    expect(30, 10, 6, 6 + (10 - 6) % 1);
}

TEST(DrawGlyphPiece, MaskBlackShowsTheImageAndWhiteTheDestination) {
    OwnPiece own(3, 2);
    own.piece.MaskType = 1;
    own.Bmp().SetPixel(0, 0, RGB(10, 20, 30));
    own.Bmp().SetPixel(1, 0, RGB(10, 20, 30));
    own.Bmp().SetPixel(2, 0, kKeyColor);
    own.Bmp().SetPixel(0, 1, RGB(0, 0, 0));
    own.Bmp().SetPixel(1, 1, RGB(255, 255, 255));
    own.Bmp().SetPixel(2, 1, RGB(0, 0, 0));
    const platform::Color ground = RGB(200, 100, 50);

    auto target = Filled(4, 2, ground);
    DrawGlyphPiece(*target, {1, 1}, 0, own.piece, 1);
    EXPECT_EQ(At(*target, 1, 1), RGB(10, 20, 30));
    EXPECT_LE(painttest::Distance(At(*target, 2, 1), ground), 1);
    EXPECT_EQ(At(*target, 3, 1), ground); // key colour
    EXPECT_EQ(At(*target, 1, 0), ground);

    auto pale = Filled(4, 2, ground);
    DrawGlyphPiece(*pale, {-1, 0}, 0, own.piece, 0); // the first column is clipped off
    EXPECT_LE(painttest::Distance(At(*pale, 0, 0), ground), 1);
    auto pale2 = Filled(4, 2, ground);
    DrawGlyphPiece(*pale2, {0, 0}, 0, own.piece, 0);
    EXPECT_EQ(At(*pale2, 0, 0), RGB(84, 51, 37)); // black mask made paler: M = 100
}

TEST(DrawGlyphPiece, StatesAreLimitedAndUnmaskedGlyphsLeaveTheKeyOut) {
    OwnPiece own(4, 1); // two states of 2 × 1, no mask
    own.piece.ImageCount = 2;
    own.Bmp().SetPixel(2, 0, kKeyColor);
    auto target = Filled(2, 1, RGB(9, 9, 9));
    DrawGlyphPiece(*target, {0, 0}, 7, own.piece, 1);
    EXPECT_EQ(At(*target, 0, 0), RGB(9, 9, 9));
    EXPECT_EQ(At(*target, 1, 0), RGB(3, 0, 50));
    DrawGlyphPiece(*target, {0, 0}, -3, own.piece, 2); // faded in at 0.5
    EXPECT_EQ(At(*target, 0, 0), RGB(4, 4, 30));       // 4.5 and 29.5 round to even
}

TEST_F(InternalSkinPieces, TextureModesCoverTheirBandsAndReportTheRest) {
    struct Case {
        int mode;
        int x, y;   // probe in the target
        int sx, sy; // expected master pixel, relative to (0, 0)
        Rect rest;
    };
    const Case cases[] = {
        {0, 9, 8, 1, 2, {}},
        {1, 9, 8, 3, 2, {}},
        {2, 5, 1, 1, 1, {0, 3, 10, 9}},
        {3, 2, 7, 2, 1, {4, 0, 10, 9}},
        {4, 9, 2, 3, 2, {0, 3, 10, 9}},
        {5, 3, 8, 3, 2, {4, 0, 10, 9}},
        {6, 0, 6, 0, 0, {0, 0, 10, 6}},
        {7, 6, 0, 0, 0, {0, 0, 6, 9}},
        {10, 9, 8, 1, 2, {}},
    };
    const TsMaskData piece = MasterPiece({0, 0, 4, 3});
    for (const Case& c : cases) {
        auto target = Filled(12, 12, RGB(1, 1, 1));
        Rect rect{0, 0, 10, 9};
        DrawTexturePiece(*target, rect, nullptr, c.mode, &piece, {});
        EXPECT_EQ(rect, c.rest) << "mode " << c.mode;
        EXPECT_EQ(At(*target, c.x, c.y), Master(c.sx, c.sy)) << "mode " << c.mode;
        EXPECT_EQ(At(*target, 10, 0), RGB(1, 1, 1)) << "mode " << c.mode;
        EXPECT_EQ(At(*target, 0, 9), RGB(1, 1, 1)) << "mode " << c.mode;
        if (!c.rest.IsEmpty()) {
            EXPECT_EQ(At(*target, c.rest.left, c.rest.top), RGB(1, 1, 1)) << "mode " << c.mode;
        }
    }
    // Mode 10 leaves the part below the last whole row of tiles to the caller.
    auto target = Filled(12, 12, RGB(1, 1, 1));
    Rect rect{0, 0, 10, 10};
    DrawTexturePiece(*target, rect, nullptr, 10, &piece, {});
    EXPECT_EQ(rect, (Rect{0, 9, 10, 10}));
    // A band taller than the rectangle covers it and stops at its edge.
    Rect low{0, 0, 10, 2};
    DrawTexturePiece(*target, low, nullptr, 4, &piece, {});
    EXPECT_TRUE(low.IsEmpty());
    EXPECT_EQ(At(*target, 0, 2), Master(0, 2)); // from the mode-10 tiles, not from the band
}

TEST(DrawTexturePiece, MaskedTilesInModeTenLeaveTheBandsToTheParent) {
    OwnPiece own(2, 4); // one 2 × 2 image over its mask
    own.piece.MaskType = 1;
    own.piece.ImgType = TacImgType::itisaTexture;
    for (int y = 2; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            own.Bmp().SetPixel(x, y, RGB(0, 0, 0));
    auto parent = Filled(20, 20, RGB(60, 70, 80));
    auto target = Filled(8, 8, RGB(1, 1, 1));
    Rect rect{0, 0, 5, 5};
    DrawTexturePiece(*target, rect, nullptr, 10, &own.piece, {parent.get(), 3, 3, true});
    EXPECT_TRUE(rect.IsEmpty());
    EXPECT_EQ(At(*target, 3, 3), RGB(1, 1, 50));
    EXPECT_EQ(At(*target, 4, 0), RGB(60, 70, 80));
    EXPECT_EQ(At(*target, 0, 4), RGB(60, 70, 80));
    EXPECT_EQ(At(*target, 5, 5), RGB(1, 1, 1));
}

TEST(CornerKeyRuns, CollectsKeyRunsOfBothCornersInWindowCoordinates) {
    OwnPiece own(6, 6);
    own.piece.WL = own.piece.WT = own.piece.WR = own.piece.WB = 2;
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {5, 0}, {4, 5}, {5, 5}, {2, 0}})
        own.Bmp().SetPixel(x, y, kKeyColor);
    std::vector<Rect> runs;
    CornerKeyRuns(runs, 100, own.piece, false, 0);
    EXPECT_EQ(runs, (std::vector<Rect>{{0, 0, 2, 1}, {99, 0, 100, 1}, {0, 1, 1, 2}}));
    runs.clear();
    CornerKeyRuns(runs, 100, own.piece, true, 50);
    EXPECT_EQ(runs, (std::vector<Rect>{{98, 51, 100, 52}}));

    // Nothing without a manager, or when the image does not reach the last row examined.
    runs.clear();
    TsMaskData orphan = own.piece;
    orphan.Manager = nullptr;
    CornerKeyRuns(runs, 100, orphan, false, 0);
    own.Bmp().SetPixel(0, 3, kKeyColor);
    TsMaskData low = own.piece;
    low.R = {0, 3, 6, 9};
    CornerKeyRuns(runs, 100, low, true, 0);
    EXPECT_TRUE(runs.empty());
    CornerKeyRuns(runs, 100, low, false, 0); // rows 3 and 4 exist
    EXPECT_FALSE(runs.empty());
}
