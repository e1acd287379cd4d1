#include <gtest/gtest.h>

#include "platform/gfx/Dib.h"
#include "skin/sGradient.h"
#include "skin/sGraphUtils.h"
#include "tests/skin/PaintTestSupport.h"

using namespace skin;
using painttest::At;
using painttest::Filled;
using platform::RGB;

TEST(BlendBitmaps, WeightsRoundAsTheFastBlendDoes) {
    // k = 0 takes the source: (255 × 255 + 127) ÷ 256 leaves white one step short.
    auto dst = Filled(4, 4, RGB(10, 20, 30));
    auto white = Filled(4, 4, RGB(255, 255, 255));
    BlendBitmaps(*dst, *white, 0, {0, 0}, {0, 0, 4, 4});
    EXPECT_EQ(At(*dst, 3, 3), RGB(254, 254, 254));

    // k = 255 keeps the destination within one step whatever the source.
    auto keep = Filled(4, 4, RGB(200, 0, 255));
    auto black = Filled(4, 4, RGB(0, 0, 0));
    BlendBitmaps(*keep, *black, 255, {0, 0}, {0, 0, 4, 4});
    EXPECT_LE(painttest::Distance(At(*keep, 0, 0), RGB(200, 0, 255)), 1);
    BlendBitmaps(*black, *white, 255, {0, 0}, {0, 0, 4, 4});
    EXPECT_LE(painttest::Distance(At(*black, 0, 0), RGB(0, 0, 0)), 1);
}

TEST(BlendBitmaps, ClipsBothRectanglesToBothBitmaps) {
    auto dst = Filled(6, 6, RGB(0, 0, 0));
    auto src = Filled(4, 4, RGB(255, 255, 255));
    // Source rectangle reaches past the source's top left; destination past the target's right.
    BlendBitmaps(*dst, *src, 0, {4, -1}, {-1, 0, 4, 4});
    EXPECT_EQ(At(*dst, 5, 0), RGB(254, 254, 254)); // source (2, 1)
    EXPECT_EQ(At(*dst, 5, 3), RGB(0, 0, 0));       // source row 4 does not exist
    EXPECT_EQ(At(*dst, 4, 0), RGB(0, 0, 0));       // source column -1 does not exist
    EXPECT_EQ(At(*dst, 3, 1), RGB(0, 0, 0));

    // Bitmaps under 2 pixels are not blended; whole-bitmap blends need equal sizes.
    auto one = Filled(1, 1, RGB(0, 0, 0));
    BlendBitmaps(*one, *src, 0, {0, 0}, {0, 0, 4, 4});
    EXPECT_EQ(At(*one, 0, 0), RGB(0, 0, 0));
    BlendWholeBitmaps(*dst, *src, 0);
    EXPECT_EQ(At(*dst, 0, 0), RGB(0, 0, 0));
}

TEST(PixelMixes, MixColorIntoRoundsHalvesToEvenAndStopsAtTheRectangle) {
    auto bmp = Filled(4, 4, RGB(100, 101, 0));
    MixColorInto(*bmp, {1, 1, 3, 3}, 50, RGB(201, 200, 255));
    EXPECT_EQ(At(*bmp, 1, 1), RGB(150, 150, 128)); // 150.5 → 150, 150.5 → 150, 127.5 → 128
    EXPECT_EQ(At(*bmp, 3, 3), RGB(100, 101, 0));   // right and bottom are exclusive
    EXPECT_EQ(At(*bmp, 0, 1), RGB(100, 101, 0));
    MixColorInto(*bmp, {0, 0, 4, 4}, 100, RGB(0, 0, 0));
    EXPECT_EQ(At(*bmp, 0, 0), RGB(100, 101, 0));
}

TEST(PixelMixes, FadeCopyKeyedSkipsTheKeyAndFadesTheRest) {
    auto src = Filled(2, 2, RGB(100, 0, 255));
    painttest::Put(*src, 1, 0, kKeyColor);
    auto dst = Filled(4, 4, RGB(200, 50, 0));
    FadeCopyKeyed(*dst, 2, 2, kKeyColor, 0.4, {0, 0, 2, 2}, *src);
    EXPECT_EQ(At(*dst, 2, 2), RGB(140, 20, 153)); // s − 0.4 × (s − d)
    EXPECT_EQ(At(*dst, 3, 2), RGB(200, 50, 0));   // key pixel left out
    EXPECT_EQ(At(*dst, 1, 1), RGB(200, 50, 0));
    FadeCopyKeyed(*dst, 0, 0, kNoKeyColor, 0.0, {1, 0, 2, 1}, *src);
    EXPECT_EQ(At(*dst, 0, 0), kKeyColor); // with no key, magenta is an ordinary colour
}

TEST(PixelMixes, CopyKeyedShowsTheParentBehindKeyPixelsOnlyWhenReady) {
    auto src = Filled(2, 1, RGB(1, 2, 3));
    painttest::Put(*src, 0, 0, kKeyColor);
    auto parent = Filled(10, 10, RGB(0, 0, 0));
    painttest::Put(*parent, 7, 6, RGB(9, 9, 9)); // behind target (2, 1) at parent offset (5, 5)

    auto dst = Filled(4, 4, RGB(50, 50, 50));
    CopyKeyed(*dst, *src, 2, 1, true, {parent.get(), 5, 5, true}, kKeyColor, {0, 0, 2, 1});
    EXPECT_EQ(At(*dst, 2, 1), RGB(9, 9, 9));
    EXPECT_EQ(At(*dst, 3, 1), RGB(1, 2, 3));

    auto dst2 = Filled(4, 4, RGB(50, 50, 50));
    CopyKeyed(*dst2, *src, 2, 1, true, {parent.get(), 5, 5, false}, kKeyColor, {0, 0, 2, 1});
    EXPECT_EQ(At(*dst2, 2, 1), RGB(50, 50, 50));
}

TEST(PixelMixes, GreyColourMixAndCrossFade) {
    auto bmp = Filled(2, 2, RGB(10, 20, 31));
    MakeGrey(*bmp);
    EXPECT_EQ(At(*bmp, 1, 1), RGB(20, 20, 20));

    EXPECT_EQ(MixColors(0x12000000u | RGB(200, 100, 1), RGB(0, 0, 0), 0.5),
              0x12000000u | RGB(100, 50, 0)); // 0.5 rounds to even
    EXPECT_EQ(MixColors(RGB(255, 0, 0), RGB(0, 255, 0), 0.4), RGB(102, 153, 0));

    auto a = Filled(3, 2, RGB(255, 255, 255));
    auto b = Filled(3, 2, RGB(0, 100, 200));
    platform::BitmapInfo info;
    info.width = 3;
    info.height = -2;
    info.bitCount = 32;
    auto target = platform::CreateDIBSection(info);
    ASSERT_NE(target, nullptr);
    target->Row(1)[2 * 4 + 3] = 77;
    CrossFadeInto(*a, *b, 128, *target);
    const std::uint8_t* px = target->Row(1) + 2 * 4;
    EXPECT_EQ(px[0], 227); // blue: ((255 − 200) × 128 + 200 × 256) ÷ 256
    EXPECT_EQ(px[1], 177);
    EXPECT_EQ(px[2], 127);
    EXPECT_EQ(px[3], 77); // the fourth byte is the target's own

    auto small = Filled(2, 2, RGB(0, 0, 0));
    const std::uint8_t before = target->Row(0)[0];
    CrossFadeInto(*a, *small, 0, *target);
    EXPECT_EQ(target->Row(0)[0], before);
}

TEST(PaintGradientSteps, OneFullStepRunsFromFirstToLastRow) {
    auto bmp = Filled(3, 11, RGB(1, 2, 3));
    PaintGradientSteps(*bmp, {0, 0, 3, 11}, {{0x000000, 0xFFFFFF, 100, 0, 0}}, 0);
    EXPECT_EQ(At(*bmp, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(*bmp, 2, 5), RGB(128, 128, 128)); // 127.5 rounds to even
    EXPECT_EQ(At(*bmp, 1, 10), RGB(255, 255, 255));
}

TEST(PaintGradientSteps, StepsShareTheirBoundaryRowAndShortStepsAreSkipped) {
    auto bmp = Filled(2, 10, RGB(1, 2, 3));
    const TsGradArray steps{{RGB(255, 0, 0), RGB(255, 0, 0), 5, 0, 0}, // 0 rows: skipped
                            {RGB(0, 0, 0), RGB(0, 0, 90), 50, 0, 0},   // rows 0 … 5
                            {RGB(0, 90, 0), RGB(0, 0, 0), 10, 0, 0}};  // rows 5 … 9 (last)
    PaintGradientSteps(*bmp, {0, 0, 2, 10}, steps, 0);
    EXPECT_EQ(At(*bmp, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(*bmp, 0, 4), RGB(0, 0, 72));
    EXPECT_EQ(At(*bmp, 0, 5), RGB(0, 90, 0)); // repainted by the next step
    EXPECT_EQ(At(*bmp, 1, 9), RGB(0, 0, 0));
}

// Rows are filled by repeating their first pixel in growing blocks: every width must come out
// whole, up to its last pixel and not one beyond.
TEST(PaintGradientSteps, RowsAndSolidFillsCoverEveryWidthExactly) {
    for (const int width : {1, 2, 3, 5, 8, 33, 100}) {
        SCOPED_TRACE(width);
        auto bmp = Filled(width + 2, 4, RGB(1, 2, 3));
        PaintGradientSteps(*bmp, {1, 0, width + 1, 2}, {{RGB(9, 9, 9), RGB(9, 9, 9), 100, 0, 0}},
                           0);
        FillRect24(*bmp, {1, 2, width + 1, 4}, RGB(7, 8, 9));
        for (int y = 0; y < 4; ++y) {
            EXPECT_EQ(At(*bmp, 0, y), RGB(1, 2, 3));
            EXPECT_EQ(At(*bmp, 1, y), y < 2 ? RGB(9, 9, 9) : RGB(7, 8, 9));
            EXPECT_EQ(At(*bmp, width, y), y < 2 ? RGB(9, 9, 9) : RGB(7, 8, 9));
            EXPECT_EQ(At(*bmp, width + 1, y), RGB(1, 2, 3));
        }
    }
}

TEST(PaintGradientSteps, ColumnsAndTrianglesStayInsideTheRectangle) {
    auto bmp = Filled(12, 6, RGB(1, 2, 3));
    PaintGradientSteps(*bmp, {1, 1, 11, 5}, {{RGB(0, 0, 0), RGB(90, 0, 0), 100, 1, 0}}, 0);
    EXPECT_EQ(At(*bmp, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(At(*bmp, 10, 4), RGB(90, 0, 0));
    EXPECT_EQ(At(*bmp, 4, 2), RGB(30, 0, 0));
    EXPECT_EQ(At(*bmp, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(At(*bmp, 11, 5), RGB(1, 2, 3));

    auto tri = Filled(21, 21, RGB(1, 2, 3));
    const TsGradArray corners{
        {RGB(255, 0, 0), 0, 0, 2, 0}, {RGB(0, 0, 0), 0, 0, 2, 0}, {RGB(0, 255, 0), 0, 0, 2, 0}};
    PaintGradientSteps(*tri, {0, 0, 21, 21}, corners, 0);
    EXPECT_EQ(At(*tri, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(At(*tri, 10, 10), RGB(0, 0, 0)); // the centre
    // The missing steps repeat the third colour at the bottom corners.
    EXPECT_LE(painttest::Distance(At(*tri, 20, 20), RGB(0, 255, 0)), 1);
    EXPECT_LE(painttest::Distance(At(*tri, 0, 20), RGB(0, 255, 0)), 1);
}
