#include <gtest/gtest.h>

#include <vector>

#include "platform/gfx/BlitClip.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/PixelCodec.h"

using namespace platform;

namespace {

BitmapInfo InfoOf(std::int32_t w, std::int32_t h, int bits) {
    BitmapInfo info;
    info.width = w;
    info.height = h;
    info.bitCount = static_cast<std::uint16_t>(bits);
    if (bits <= 8)
        info.colors = GreyRamp();
    return info;
}

struct Surface {
    std::shared_ptr<DibSection> section;
    std::unique_ptr<DeviceContext> dc;
    Surface(std::int32_t w, std::int32_t h, int bits) {
        section = CreateDIBSection(InfoOf(w, h, bits));
        dc = CreateCompatibleDC();
        SelectObject(*dc, section);
    }
    std::uint8_t Index(std::int32_t x, std::int32_t y) { return section->Row(y)[x]; }
};

// A 24-bit surface whose pixel (x, y) is grey x + 10 y.
Surface Gradient(std::int32_t w, std::int32_t h) {
    Surface s(w, h, 24);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            SetPixel(*s.dc, x, y, RGB(x + 10 * y, x + 10 * y, x + 10 * y));
    return s;
}

} // namespace

TEST(StretchBlt, EnlargingRepeatsEachSourcePixelAsABlock) {
    Surface src = Gradient(2, 2);
    Surface dst(4, 4, 8);
    ASSERT_TRUE(StretchBlt(*dst.dc, 0, 0, 4, 4, *src.dc, 0, 0, 2, 2, RasterOp::SrcCopy));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dst.Index(x, y), x / 2 + 10 * (y / 2)) << x << ", " << y;
}

TEST(StretchBlt, ShrinkingSamplesWithoutAveraging) {
    // Alternating black and white columns at half width come out in one of the two, never grey.
    Surface src(8, 2, 24);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 2; ++y)
            SetPixel(*src.dc, x, y, x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    Surface dst(4, 1, 8);
    StretchBlt(*dst.dc, 0, 0, 4, 1, *src.dc, 0, 0, 8, 2, RasterOp::SrcCopy);
    // Column ((2x + 1) × 8) div 8 = 2x + 1: always a white one.
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(dst.Index(x, 0), 255);
}

TEST(StretchBlt, SamplesTheFixedColumnAndRow) {
    // 7 × 5 onto 3 × 2: target column x samples ((2x + 1) × 7) div 6 = 1, 3, 5 and row y samples
    // ((2y + 1) × 5) div 4 = 1, 3; the source holds x + 10 y.
    Surface src = Gradient(7, 5);
    Surface dst(3, 2, 8);
    StretchBlt(*dst.dc, 0, 0, 3, 2, *src.dc, 0, 0, 7, 5, RasterOp::SrcCopy);
    const int expected[2][3] = {{11, 13, 15}, {31, 33, 35}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(dst.Index(x, y), expected[y][x]) << x << ", " << y;
}

TEST(StretchBlt, ANegativeSizeOnOneSideMirrorsAndOnBothDoesNot) {
    Surface src = Gradient(3, 2);
    const auto row = [](Surface& s, int y) {
        return std::vector<int>{s.Index(0, y), s.Index(1, y), s.Index(2, y)};
    };
    {
        Surface dst(3, 1, 8);
        StretchBlt(*dst.dc, 3, 0, -3, 1, *src.dc, 0, 0, 3, 1, RasterOp::SrcCopy);
        EXPECT_EQ(row(dst, 0), (std::vector<int>{2, 1, 0})) << "target width negative";
    }
    {
        Surface dst(3, 1, 8);
        StretchBlt(*dst.dc, 0, 0, 3, 1, *src.dc, 3, 0, -3, 1, RasterOp::SrcCopy);
        EXPECT_EQ(row(dst, 0), (std::vector<int>{2, 1, 0})) << "source width negative";
    }
    {
        Surface dst(3, 1, 8);
        StretchBlt(*dst.dc, 3, 0, -3, 1, *src.dc, 3, 0, -3, 1, RasterOp::SrcCopy);
        EXPECT_EQ(row(dst, 0), (std::vector<int>{0, 1, 2})) << "both widths negative";
    }
    {
        Surface dst(3, 2, 8);
        StretchBlt(*dst.dc, 0, 0, 3, 2, *src.dc, 0, 2, 3, -2, RasterOp::SrcCopy);
        EXPECT_EQ(row(dst, 0), (std::vector<int>{10, 11, 12})) << "source height negative";
        EXPECT_EQ(row(dst, 1), (std::vector<int>{0, 1, 2}));
    }
    {
        Surface dst(3, 2, 8);
        StretchBlt(*dst.dc, 0, 2, 3, -2, *src.dc, 0, 2, 3, -2, RasterOp::SrcCopy);
        EXPECT_EQ(row(dst, 0), (std::vector<int>{0, 1, 2})) << "both heights negative";
        EXPECT_EQ(row(dst, 1), (std::vector<int>{10, 11, 12}));
    }
}

TEST(StretchBlt, NearestGreyOfColours) {
    Surface src(4, 1, 24);
    SetPixel(*src.dc, 0, 0, RGB(128, 128, 128));
    SetPixel(*src.dc, 1, 0, RGB(10, 10, 10));
    SetPixel(*src.dc, 2, 0, RGB(255, 0, 0));   // 85
    SetPixel(*src.dc, 3, 0, RGB(255, 255, 0)); // 170
    Surface dst(4, 1, 8);
    BitBlt(*dst.dc, 0, 0, 4, 1, *src.dc, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(dst.Index(0, 0), 128);
    EXPECT_EQ(dst.Index(1, 0), 10);
    EXPECT_EQ(dst.Index(2, 0), 85);
    EXPECT_EQ(dst.Index(3, 0), 170);

    // Channel sums that leave 1 or 2 over three: the nearest grey is the rounded third, so
    // (1, 1, 0) is 1 (not 0), (37, 37, 36) is 37 (not 36) and (1, 0, 0) is 0.
    SetPixel(*src.dc, 0, 0, RGB(1, 1, 0));
    SetPixel(*src.dc, 1, 0, RGB(37, 37, 36));
    SetPixel(*src.dc, 2, 0, RGB(1, 0, 0));
    SetPixel(*src.dc, 3, 0, RGB(254, 255, 255));
    BitBlt(*dst.dc, 0, 0, 4, 1, *src.dc, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(dst.Index(0, 0), 1);
    EXPECT_EQ(dst.Index(1, 0), 37);
    EXPECT_EQ(dst.Index(2, 0), 0);
    EXPECT_EQ(dst.Index(3, 0), 255);
}

TEST(ColorMatcher, ArbitraryTableTakesNearestAndLowerIndexOnTies) {
    std::vector<RgbQuad> table = {{0, 0, 0, 0}, {0, 0, 200, 0}, {0, 0, 100, 0}, {0, 0, 100, 0}};
    ColorMatcher m(table.data(), 4);
    EXPECT_EQ(m.IndexOf(RGB(90, 0, 0)), 2); // nearest is 100, first of the two equal entries
    EXPECT_EQ(m.IndexOf(RGB(50, 0, 0)), 0); // tie between 0 and 100: lower index
    EXPECT_EQ(m.IndexOf(RGB(160, 0, 0)), 1);
    EXPECT_EQ(m.IndexOf(RGB(90, 0, 0)), 2); // cached answer stays right
}

TEST(PixelCodec, ChannelsWidenByRepeatingTopBits) {
    EXPECT_EQ(WidenChannel(31, 5), 255);
    EXPECT_EQ(WidenChannel(1, 5), 8);
    EXPECT_EQ(WidenChannel(16, 5), 16 * 8 + 4);
    EXPECT_EQ(WidenChannel(63, 6), 255);
    EXPECT_EQ(WidenChannel(33, 6), 33 * 4 + 2);
    EXPECT_EQ(WidenChannel(1, 1), 255);
    EXPECT_EQ(WidenChannel(0x3FF, 10), 255);
}

TEST(BitBlt, ClipKeepsOutsidePixels) {
    Surface src(4, 4, 24);
    FillRect(*src.dc, Rect{0, 0, 4, 4}, RGB(255, 255, 255));
    Surface dst(4, 4, 8);
    const Region clip = Region::FromRects({Rect{0, 0, 2, 2}, Rect{3, 3, 4, 4}});
    SelectClipRgn(*dst.dc, &clip);
    BitBlt(*dst.dc, 0, 0, 4, 4, *src.dc, 0, 0, RasterOp::SrcCopy);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dst.Index(x, y), clip.Contains({x, y}) ? 255 : 0) << x << ", " << y;
}

TEST(BitBlt, OriginsShiftBothSides) {
    Surface src = Gradient(4, 4);
    Surface dst(4, 4, 8);
    SetViewportOrgEx(*dst.dc, {1, 1});
    SetWindowOrgEx(*src.dc, {-1, 0});
    // Logical source (1, 0) is device (2, 0); logical target (0, 0) is device (1, 1).
    BitBlt(*dst.dc, 0, 0, 2, 1, *src.dc, 1, 0, RasterOp::SrcCopy);
    EXPECT_EQ(dst.Index(1, 1), 2);
    EXPECT_EQ(dst.Index(2, 1), 3);
    EXPECT_EQ(dst.Index(0, 1), 0);
    EXPECT_EQ(dst.Index(3, 1), 0);
}

TEST(BitBlt, SourceOutsideItsPictureLeavesTargetAlone) {
    Surface src = Gradient(2, 2);
    Surface dst(4, 1, 24);
    FillRect(*dst.dc, Rect{0, 0, 4, 1}, RGB(1, 2, 3));
    BitBlt(*dst.dc, 0, 0, 4, 1, *src.dc, -1, 0, RasterOp::SrcCopy);
    EXPECT_EQ(GetPixel(*dst.dc, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(*dst.dc, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(*dst.dc, 2, 0), RGB(1, 1, 1));
    EXPECT_EQ(GetPixel(*dst.dc, 3, 0), RGB(1, 2, 3));
}

TEST(BitBlt, OverlappingCopyWithinOneSection) {
    Surface s = Gradient(3, 3);
    BitBlt(*s.dc, 0, 1, 3, 2, *s.dc, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(GetPixel(*s.dc, 1, 1), RGB(1, 1, 1));
    EXPECT_EQ(GetPixel(*s.dc, 1, 2), RGB(11, 11, 11));
}

// 24-bit pictures onto 32-bit surfaces and back, one to one, at every run length up to a few
// steps of the wide copies and from every column: each pixel lands whole, nothing beside it moves,
// and the surface's fourth byte is zero.
TEST(BitBlt, OneToOneBetween24And32BitsAtEveryLengthAndColumn) {
    constexpr int kWidth = 23;
    Surface src(kWidth, 2, 24);
    for (int x = 0; x < kWidth; ++x)
        for (int y = 0; y < 2; ++y)
            SetPixel(*src.dc, x, y, RGB(x + 1, 100 + y, 200 - x));
    for (int from = 0; from < kWidth; ++from)
        for (int n = 1; from + n <= kWidth; ++n) {
            Surface dst(kWidth + 2, 2, 32);
            FillRect(*dst.dc, Rect{0, 0, kWidth + 2, 2}, RGB(7, 7, 7));
            ASSERT_TRUE(BitBlt(*dst.dc, 1, 0, n, 2, *src.dc, from, 0, RasterOp::SrcCopy));
            Surface back(kWidth, 2, 24);
            ASSERT_TRUE(BitBlt(*back.dc, 0, 0, n, 2, *dst.dc, 1, 0, RasterOp::SrcCopy));
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < kWidth + 2; ++x) {
                    const bool inside = x >= 1 && x <= n;
                    const Color want = inside ? GetPixel(*src.dc, from + x - 1, y) : RGB(7, 7, 7);
                    ASSERT_EQ(GetPixel(*dst.dc, x, y), want) << from << " " << n << " " << x;
                    ASSERT_EQ(dst.section->Row(y)[4 * x + 3], 0);
                    if (inside)
                        ASSERT_EQ(GetPixel(*back.dc, x - 1, y), want);
                }
        }
}

TEST(BitBlt, NoSectionOrUnknownOpFails) {
    auto empty = CreateCompatibleDC();
    Surface src = Gradient(2, 2);
    EXPECT_FALSE(BitBlt(*empty, 0, 0, 2, 2, *src.dc, 0, 0, RasterOp::SrcCopy));
    EXPECT_FALSE(BitBlt(*src.dc, 0, 0, 2, 2, *empty, 0, 0, RasterOp::SrcCopy));
    EXPECT_FALSE(BitBlt(*src.dc, 0, 0, 2, 2, *src.dc, 0, 0, static_cast<RasterOp>(0x00EE0086)));
}

TEST(PlanBlit, SaysNothingToDoWhenClippedAway) {
    const Region drawable(Rect{0, 0, 10, 10});
    EXPECT_FALSE(PlanBlit({20, 0, 5, 5}, {0, 0, 5, 5}, {5, 5}, drawable));
    EXPECT_FALSE(PlanBlit({0, 0, 0, 5}, {0, 0, 5, 5}, {5, 5}, drawable));
    EXPECT_FALSE(PlanBlit({0, 0, 5, 5}, {5, 0, 5, 5}, {5, 5}, drawable));
    EXPECT_FALSE(PlanBlit({0, 0, 5, 5}, {0, 0, 5, 5}, {5, 5}, Region()));
    // Extreme origins and sizes neither overflow nor draw.
    EXPECT_FALSE(PlanBlit({INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, {0, 0, INT32_MIN, 1},
                          {5, 5}, drawable));
    const auto plan = PlanBlit({-3, -3, 8, 8}, {0, 0, 8, 8}, {8, 8}, drawable);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->targets.front(), (Rect{0, 0, 5, 5}));
}

TEST(StretchDIBits, DrawsRle8WithoutChangingTheData) {
    BitmapInfo info = InfoOf(4, 2, 8);
    info.compression = Compression::Rle8;
    const std::vector<std::uint8_t> data = {2, 7, 0, 2, 1, 1, 1, 9, 0, 1};
    const auto copy = data;
    info.sizeImage = static_cast<std::uint32_t>(data.size());
    Surface dst(4, 2, 8);
    FillRect(*dst.dc, Rect{0, 0, 4, 2}, RGB(50, 50, 50));
    EXPECT_EQ(StretchDIBits(*dst.dc, 0, 0, 4, 2, 0, 0, 4, 2, data.data(), data.size(), info,
                            RasterOp::SrcCopy),
              2);
    EXPECT_EQ(data, copy);
    // Bottom row (storage row 0): 7 7 0 0; top row: pixel 9 at column 3.
    EXPECT_EQ(dst.Index(0, 1), 7);
    EXPECT_EQ(dst.Index(1, 1), 7);
    EXPECT_EQ(dst.Index(2, 1), 0);
    EXPECT_EQ(dst.Index(3, 0), 9);
    EXPECT_EQ(dst.Index(0, 0), 0);
}

TEST(StretchDIBits, RefusesWrongPairingsAndShortData) {
    Surface dst(2, 2, 8);
    BitmapInfo info = InfoOf(2, 2, 4);
    info.compression = Compression::Rle8;
    const std::uint8_t data[8] = {};
    EXPECT_EQ(StretchDIBits(*dst.dc, 0, 0, 2, 2, 0, 0, 2, 2, data, 8, info, RasterOp::SrcCopy), 0);
    info = InfoOf(2, 2, 24);
    EXPECT_EQ(StretchDIBits(*dst.dc, 0, 0, 2, 2, 0, 0, 2, 2, data, 8, info, RasterOp::SrcCopy), 0);
    info = InfoOf(1, 1, 24);
    info.compression = Compression::BitFields;
    EXPECT_EQ(StretchDIBits(*dst.dc, 0, 0, 2, 2, 0, 0, 1, 1, data, 8, info, RasterOp::SrcCopy), 0);
}

TEST(DecodeRle, ItemsRunningPastRowsAndDataAreClipped) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        Compression compression;
        std::vector<std::uint8_t> bottomRow;
    };
    const std::vector<Case> cases = {
        {"run longer than the row", {9, 3, 0, 1}, Compression::Rle8, {3, 3, 3, 3}},
        {"absolute run cut by the data", {0, 5, 1, 2}, Compression::Rle8, {1, 2, 0, 0}},
        {"delta past the last row", {1, 4, 0, 2, 0, 9, 1, 5}, Compression::Rle8, {4, 0, 0, 0}},
        {"delta missing its bytes", {1, 4, 0, 2, 1}, Compression::Rle8, {4, 0, 0, 0}},
        {"no end of bitmap", {2, 6}, Compression::Rle8, {6, 6, 0, 0}},
        {"rle4 run", {5, 0xAB, 0, 1}, Compression::Rle4, {0xAB, 0xAB}},
        {"rle4 absolute", {0, 3, 0x12, 0x30, 0, 1}, Compression::Rle4, {0x12, 0x30}},
    };
    for (const Case& c : cases) {
        const int bits = c.compression == Compression::Rle8 ? 8 : 4;
        BitmapInfo info = InfoOf(4, 2, bits);
        std::vector<std::uint8_t> pixels(8, 0xEE);
        info.height = -2;
        const PixelRows rows = MakePixelRows(info, pixels.data());
        ASSERT_TRUE(DecodeRle(c.data.data(), c.data.size(), c.compression, rows)) << c.name;
        const std::vector<std::uint8_t> bottom(rows.Row(1), rows.Row(1) + c.bottomRow.size());
        EXPECT_EQ(bottom, c.bottomRow) << c.name;
    }
}

TEST(DibGeometry, RefusesWhatDoesNotFit32Bits) {
    EXPECT_EQ(DibGeometryOf(81, 1, 8)->widthBytes, 84);
    EXPECT_EQ(DibGeometryOf(3, 2, 24)->imageSize, 24);
    EXPECT_EQ(DibGeometryOf(7, 1, 1)->widthBytes, 4);
    EXPECT_FALSE(DibGeometryOf(0, 1, 8));
    EXPECT_FALSE(DibGeometryOf(1, 1, 2));
    EXPECT_FALSE(DibGeometryOf(0x7FFFFFFF, 1, 32));
    EXPECT_FALSE(DibGeometryOf(20000, 30000, 32));
    // A row of gigabytes times a tall picture overflows even 64 bits unless refused first.
    EXPECT_FALSE(DibGeometryOf(0x7FFFFFFF, 0x7FFFFFFF, 32));
    EXPECT_FALSE(DibGeometryOf(0x63000008, 0x77F3FEE0, 32));
    EXPECT_TRUE(DibGeometryOf(20000, 20000, 32)); // 1.6 GB fits 32 bits: refusing is the reader's
}

TEST(DeviceContextState, GuardAndSaveStackRestoreEverything) {
    Surface s(4, 4, 24);
    const Region clip(Rect{1, 1, 3, 3});
    {
        DcStateGuard guard(*s.dc);
        SelectClipRgn(*s.dc, &clip);
        SetViewportOrgEx(*s.dc, {5, 5});
        SetStretchBltMode(*s.dc, StretchMode::ColorOnColor);
        SelectObject(*s.dc, nullptr);
    }
    EXPECT_FALSE(s.dc->GetState().clip);
    EXPECT_EQ(s.dc->GetState().viewportOrg, (Point{0, 0}));
    EXPECT_EQ(GetStretchBltMode(*s.dc), StretchMode::BlackOnWhite);
    EXPECT_EQ(s.dc->Bitmap(), s.section.get());

    EXPECT_EQ(SaveDC(*s.dc), 1);
    IntersectClipRect(*s.dc, Rect{0, 0, 2, 2});
    EXPECT_EQ(SaveDC(*s.dc), 2);
    ExcludeClipRect(*s.dc, Rect{0, 0, 1, 1});
    EXPECT_EQ(GetClipBox(*s.dc), (Rect{0, 0, 2, 2}));
    EXPECT_FALSE(s.dc->DrawableRegion().Contains({0, 0}));
    EXPECT_TRUE(RestoreDC(*s.dc, -1));
    EXPECT_TRUE(s.dc->DrawableRegion().Contains({0, 0}));
    EXPECT_TRUE(RestoreDC(*s.dc, 1));
    EXPECT_EQ(GetClipBox(*s.dc), (Rect{0, 0, 4, 4}));
    EXPECT_FALSE(RestoreDC(*s.dc, 1));
}

TEST(FillRect, FillsOnlyInsideClipAndSection) {
    Surface s(5, 5, 8);
    SetViewportOrgEx(*s.dc, {2, 2});
    IntersectClipRect(*s.dc, Rect{-2, -2, 2, 2}); // device (0, 0) to (4, 4)
    EXPECT_TRUE(FillRect(*s.dc, Rect{-10, -10, 10, 10}, RGB(200, 200, 200)));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(s.Index(x, y), x < 4 && y < 4 ? 200 : 0) << x << ", " << y;
    EXPECT_EQ(GetPixel(*s.dc, 3, 3), kInvalidColor); // device (5, 5): outside
    EXPECT_EQ(GetPixel(*s.dc, -2, -2), RGB(200, 200, 200));
}

TEST(StretchDIBits, ShrinkingRleDecodesOnlyTheSampledRows) {
    // Storage row r (from the bottom) holds index 10 + r; picture row y = 3 - r.
    const std::vector<std::uint8_t> data = {4, 10, 0, 0, 4, 11, 0, 0, 4, 12, 0, 0, 4, 13, 0, 1};
    BitmapInfo info = InfoOf(4, 4, 8);
    info.compression = Compression::Rle8;
    Surface dst(1, 2, 8);
    ASSERT_EQ(StretchDIBits(*dst.dc, 0, 0, 1, 2, 0, 0, 4, 4, data.data(), data.size(), info,
                            RasterOp::SrcCopy),
              4);
    EXPECT_EQ(dst.Index(0, 0), 12); // picture row 1
    EXPECT_EQ(dst.Index(0, 1), 10); // picture row 3

    // A huge picture that its data leaves blank draws small without decoding all of it.
    info.width = 20000;
    info.height = 20000;
    const std::uint8_t end[2] = {0, 1};
    FillRect(*dst.dc, Rect{0, 0, 1, 2}, RGB(255, 255, 255));
    EXPECT_EQ(
        StretchDIBits(*dst.dc, 0, 0, 1, 2, 0, 0, 20000, 20000, end, 2, info, RasterOp::SrcCopy),
        20000);
    EXPECT_EQ(dst.Index(0, 0), 0);
}

TEST(FillRect, FrameAndRegionFills) {
    Surface s(5, 4, 24);
    SetViewportOrgEx(*s.dc, {1, 0});
    EXPECT_TRUE(FrameRect(*s.dc, Rect{0, 0, 4, 4}, RGB(9, 9, 9)));
    const char* expected[4] = {".####", ".#..#", ".#..#", ".####"};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(GetPixel(*s.dc, x - 1, y) == RGB(9, 9, 9), expected[y][x] == '#')
                << x << ", " << y;
    EXPECT_TRUE(
        FillRgn(*s.dc, Region::FromRects({Rect{1, 1, 2, 2}, Rect{2, 2, 3, 3}}), RGB(1, 1, 1)));
    EXPECT_EQ(GetPixel(*s.dc, 1, 1), RGB(1, 1, 1));
    EXPECT_EQ(GetPixel(*s.dc, 2, 1), RGB(0, 0, 0));
}

TEST(DeviceContextState, ClipNeverReachesBeyondTheVisibleRegion) {
    Surface s(6, 1, 8);
    const Region visible(Rect{2, 0, 4, 1});
    SetVisibleRegion(*s.dc, &visible);
    SelectClipRgn(*s.dc, nullptr);
    const Region wide(Rect{0, 0, 6, 1});
    EXPECT_EQ(SelectClipRgn(*s.dc, &wide), RegionKind::Simple);
    FillRect(*s.dc, Rect{0, 0, 6, 1}, RGB(255, 255, 255));
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(s.Index(x, 0), x >= 2 && x < 4 ? 255 : 0) << x;
    EXPECT_EQ(GetClipBox(*s.dc), (Rect{2, 0, 4, 1}));
    EXPECT_EQ(IntersectClipRect(*s.dc, Rect{5, 0, 6, 1}), RegionKind::Null);
}

// The kind a clip operation reports is that of the visible region and the clip together: pieces
// from different bands that make up one rectangle are simple, a notch makes it complex.
TEST(DeviceContextState, ClipKindIsThatOfTheWholeDrawableArea) {
    Surface s(6, 4, 8);
    const Region visible = Region::FromRects({Rect{0, 0, 4, 2}, Rect{0, 2, 2, 4}});
    SetVisibleRegion(*s.dc, &visible);
    EXPECT_EQ(IntersectClipRect(*s.dc, Rect{0, 0, 2, 4}), RegionKind::Simple);
    EXPECT_EQ(GetClipBox(*s.dc), (Rect{0, 0, 2, 4}));
    EXPECT_EQ(ExcludeClipRect(*s.dc, Rect{1, 1, 2, 2}), RegionKind::Complex);
    EXPECT_EQ(GetClipBox(*s.dc), (Rect{0, 0, 2, 4}));
    EXPECT_EQ(ExcludeClipRect(*s.dc, Rect{0, 0, 2, 4}), RegionKind::Null);
    EXPECT_EQ(GetClipBox(*s.dc), (Rect{}));
}

// Fills take the drawable area as the visible region and the clip together make it, holes and
// all, in every format with its own fill loop.
TEST(FillRect, FollowsVisibleRegionAndClipTogetherInEveryFormat) {
    const Region visible = Region::FromRects({Rect{0, 0, 7, 12}, Rect{9, 2, 16, 10}});
    for (int bits : {8, 16, 24, 32}) {
        Surface s(16, 12, bits);
        SetVisibleRegion(*s.dc, &visible);
        ExcludeClipRect(*s.dc, Rect{3, 4, 12, 6});
        SetViewportOrgEx(*s.dc, {1, 1});
        const Region shape = Region::FromRects({Rect{-1, -1, 4, 9}, Rect{5, 0, 20, 3}});
        EXPECT_TRUE(FillRgn(*s.dc, shape, RGB(255, 255, 255)));
        EXPECT_TRUE(FillRect(*s.dc, Rect{-1, 9, 30, 10}, RGB(255, 255, 255)));
        const Region drawable = s.dc->DrawableRegion();
        SetVisibleRegion(*s.dc, nullptr);
        SelectClipRgn(*s.dc, nullptr);
        SetViewportOrgEx(*s.dc, {0, 0});
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool inShape = shape.Contains({x - 1, y - 1}) || (y == 10 && x >= 0);
                const bool want = inShape && drawable.Contains({x, y});
                EXPECT_EQ(GetPixel(*s.dc, x, y), want ? RGB(255, 255, 255) : RGB(0, 0, 0))
                    << bits << " bits at " << x << ", " << y;
            }
    }
}
