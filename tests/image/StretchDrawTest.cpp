// The stretched drawing of a picture into an 8-bit grey scratch picture: what the conversion
// reads back with Pixels.

#include <gtest/gtest.h>

#include <set>

#include "image/DIB.h"
#include "tests/image/BitmapBytes.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TBitmap.h"

using namespace image;

namespace {

// A 24-bit picture of w × h whose pixel (x, y) has grey level f(x, y).
template <typename F> void GreyPicture(TDIB& dib, std::int32_t w, std::int32_t h, F f) {
    dib.SetSize(w, h, 24);
    for (std::int32_t y = 0; y < h; ++y) {
        std::uint8_t* row = dib.ScanLine(y);
        for (std::int32_t x = 0; x < w; ++x) {
            const auto v = static_cast<std::uint8_t>(f(x, y));
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
        }
    }
}

void DrawGrey(TDIB& source, TDIB& scratch, std::int32_t w, std::int32_t h) {
    scratch.SetSize(w, h, 8);
    scratch.Canvas().StretchDraw({0, 0, w, h}, source);
}

} // namespace

TEST(StretchDraw, OneWhitePixelFillsTheScratch) {
    TDIB source;
    GreyPicture(source, 1, 1, [](int, int) { return 255; });
    TDIB scratch;
    DrawGrey(source, scratch, 3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(scratch.Pixels(x, y), 255u);
}

TEST(StretchDraw, EnlargingMakesBlocksAndKeepsTopLeft) {
    TDIB source;
    GreyPicture(source, 2, 2, [](int x, int y) { return 10 + x + 100 * y; });
    TDIB scratch;
    DrawGrey(source, scratch, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(scratch.Pixels(x, y), 10u + x / 2 + 100 * (y / 2)) << x << ", " << y;
}

TEST(StretchDraw, ShrinkingPicksOnePixelOfEachQuarter) {
    TDIB source;
    GreyPicture(source, 4, 4, [](int x, int y) { return 16 * y + x; });
    TDIB scratch;
    DrawGrey(source, scratch, 2, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            std::set<std::uint32_t> quarter;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    quarter.insert(16u * (2 * y + dy) + 2 * x + dx);
            EXPECT_TRUE(quarter.count(scratch.Pixels(x, y))) << x << ", " << y;
        }
    }
    TDIB stripes;
    GreyPicture(stripes, 8, 1, [](int x, int) { return x % 2 ? 255 : 0; });
    DrawGrey(stripes, scratch, 4, 1);
    for (int x = 0; x < 4; ++x)
        EXPECT_TRUE(scratch.Pixels(x, 0) == 0 || scratch.Pixels(x, 0) == 255);
}

TEST(StretchDraw, ColoursBecomeTheNearestGrey) {
    TDIB source;
    source.SetSize(5, 1, 24);
    const std::uint8_t bgr[5][3] = {
        {128, 128, 128}, {10, 10, 10}, {0, 0, 255}, {255, 255, 255}, {30, 60, 91}};
    for (int x = 0; x < 5; ++x)
        std::copy_n(bgr[x], 3, source.ScanLine(0) + 3 * x);
    TDIB scratch;
    DrawGrey(source, scratch, 5, 1);
    EXPECT_EQ(scratch.Pixels(0, 0), 128u);
    EXPECT_EQ(scratch.Pixels(1, 0), 10u);
    EXPECT_EQ(scratch.Pixels(2, 0), 85u);
    EXPECT_EQ(scratch.Pixels(3, 0), 255u);
    EXPECT_EQ(scratch.Pixels(4, 0), 60u); // (91 + 60 + 30) / 3 = 60.33
}

TEST(StretchDraw, PaletteSourcesMapThroughTheirTables) {
    TDIB mono;
    mono.ColorTable()[0] = {0, 0, 0, 0};
    mono.ColorTable()[1] = {255, 255, 255, 0};
    mono.SetSize(8, 1, 1);
    mono.ScanLine(0)[0] = 0xA5;
    TDIB scratch;
    DrawGrey(mono, scratch, 8, 1);
    const std::uint32_t expected[8] = {255, 0, 255, 0, 0, 255, 0, 255};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(scratch.Pixels(x, 0), expected[x]);

    TDIB ramp;
    ramp.SetSize(16, 16, 8);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ramp.ScanLine(y)[x] = static_cast<std::uint8_t>(16 * y + x);
    DrawGrey(ramp, scratch, 16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(scratch.Pixels(x, y), 16u * y + x);
}

TEST(StretchDraw, SixteenBitChannelsWiden) {
    TDIB source;
    source.PixelFormat() = MakePixelFormat(5, 6, 5);
    source.SetSize(2, 1, 16);
    std::uint8_t* row = source.ScanLine(0);
    row[0] = 0xFF; // white
    row[1] = 0xFF;
    row[2] = 0x10; // green 0: v = 16 in 5-bit blue → 132; red 0
    row[3] = 0x00;
    TDIB scratch;
    DrawGrey(source, scratch, 2, 1);
    EXPECT_EQ(scratch.Pixels(0, 0), 255u);
    EXPECT_EQ(scratch.Pixels(1, 0), 44u); // round(132 / 3)
}

TEST(StretchDraw, CompressedSourceIsDrawnWithoutDecoding) {
    using testbmp::InfoFile;
    const std::vector<std::uint8_t> rle = {4, 200, 0, 0, 2, 50, 2, 100, 0, 1};
    auto file = InfoFile({.width = 4,
                          .height = 2,
                          .bitCount = 8,
                          .compression = 1,
                          .sizeImage = static_cast<std::uint32_t>(rle.size())});
    for (int i = 0; i < 256; ++i)
        file.U8(i).U8(i).U8(i).U8(0);
    file.Raw(rle);
    TDIB source;
    toolkit::TMemoryStream stream(file.data);
    source.LoadFromStream(stream);
    TDIB scratch;
    DrawGrey(source, scratch, 4, 2);
    EXPECT_TRUE(source.Image().Compressed());
    EXPECT_EQ(scratch.Pixels(0, 1), 200u); // storage row 0 is the bottom
    EXPECT_EQ(scratch.Pixels(1, 0), 50u);
    EXPECT_EQ(scratch.Pixels(3, 0), 100u);
}

TEST(StretchDraw, SurfaceSourceDrawsTheSame) {
    TDIB source;
    GreyPicture(source, 3, 3, [](int x, int y) { return 40 * x + y; });
    source.Canvas(); // moves the pixels onto a surface
    ASSERT_FALSE(source.Image().MemoryImage());
    TDIB scratch;
    DrawGrey(source, scratch, 3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(scratch.Pixels(x, y), 40u * x + y);
}

TEST(StretchDraw, EmptyScratchDoesNotAllowDrawing) {
    TDIB source;
    GreyPicture(source, 2, 2, [](int, int) { return 1; });
    TDIB scratch;
    scratch.SetSize(0, 5, 8);
    try {
        scratch.Canvas().StretchDraw({0, 0, 0, 5}, source);
        FAIL() << "no exception";
    } catch (const toolkit::EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
    }
}

TEST(StretchDraw, TargetStateIsRestored) {
    TDIB source;
    source.SetSize(2, 2, 8);
    TDIB target;
    target.SetSize(2, 2, 24);
    platform::DeviceContext& dc = target.Canvas().Handle();
    platform::SetStretchBltMode(dc, platform::StretchMode::Halftone);
    target.Canvas().Draw(0, 0, source);
    EXPECT_EQ(platform::GetStretchBltMode(dc), platform::StretchMode::Halftone);
    EXPECT_EQ(dc.GetState().palette, nullptr);
}

TEST(TDIBAssign, OtherPicturesArriveAs24BitWhateverTheLastLayout) {
    toolkit::TBitmap bitmap;
    bitmap.SetSize(2, 1);
    bitmap.ScanLine(0)[3] = 9; // blue of pixel 1
    TDIB dib;
    dib.PixelFormat() = MakePixelFormat(5, 6, 5);
    dib.SetSize(4, 4, 16);
    dib.Assign(&bitmap);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.Pixels(1, 0), 9u << 16);

    toolkit::TBitmap grey;
    grey.SetPixelFormat(toolkit::TPixelFormat::pf8bit);
    const platform::Color colours[2] = {platform::RGB(0, 0, 0), platform::RGB(7, 8, 9)};
    grey.SetPaletteColors(colours);
    grey.SetSize(1, 1);
    grey.ScanLine(0)[0] = 1;
    dib.Assign(&grey);
    EXPECT_EQ(dib.BitCount(), 8);
    EXPECT_EQ(dib.ColorTable()[1], (platform::RgbQuad{9, 8, 7, 0}));
    EXPECT_EQ(dib.Pixels(0, 0), 1u);

    toolkit::TBitmap back;
    back.Assign(&dib);
    EXPECT_EQ(back.BitCount(), 8);
    EXPECT_EQ(back.ScanLine(0)[0], 1);
}
