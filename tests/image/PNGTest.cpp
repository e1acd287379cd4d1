// PNG pictures made by the PNG library's writing half in every colour type and depth, read back
// through our decoder, the picture class and the open button's path.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "PNGMaker.h"
#include "image/PictureFile.h"
#include "image/jpeg/TDecodedPicture.h"
#include "image/png/PNGDecoder.h"
#include "image/png/TPNGImage.h"
#include "tests/support/TempFolder.h"
#include "toolkit/TPicture.h"

namespace {

using platform::Color;
using platform::RGB;

std::string TempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const auto path = charvane::testing::ProcessTempFolder("charvane-png") / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

image::TDecodedPicture Decode(const std::vector<std::uint8_t>& bytes) {
    image::TDecodedPicture picture;
    image::DecodePNG(bytes, picture);
    return picture;
}

std::string DecodeError(const std::vector<std::uint8_t>& bytes) {
    try {
        Decode(bytes);
    } catch (const image::EPNG& e) {
        return e.Message();
    }
    return "no error";
}

// Alpha a of colour value v over white, as a page would show it.
unsigned OverWhite(unsigned v, unsigned a) {
    return (v * a + 255 * (255 - a) + 127) / 255;
}

struct Case {
    const char* name;
    testpng::Recipe recipe;
    testpng::SampleFunction sample;
    std::function<Color(int x, int y)> expected;
};

} // namespace

TEST(PNGDecoder, ReadsEveryColourTypeAndDepthAsTwentyFourBitRows) {
    const std::vector<png_color> palette = {{0, 0, 0}, {255, 0, 0}, {0, 128, 255}, {9, 99, 199}};
    const std::vector<Case> cases = {
        {"rgb 8",
         {},
         [](int x, int y, int c) {
             return unsigned(c == 0 ? 20 * x : c == 1 ? 30 * y : 77);
         },
         [](int x, int y) { return RGB(20 * x, 30 * y, 77); }},
        {"rgb 16 keeps the high byte's meaning",
         {.colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 16},
         [](int x, int y, int c) {
             return unsigned(c == 0 ? 0xFFFF : c == 1 ? 257 * (x + y) : 0);
         },
         [](int x, int y) { return RGB(255, x + y, 0); }},
        {"rgba over white",
         {.colorType = PNG_COLOR_TYPE_RGB_ALPHA},
         [](int x, int, int c) {
             return unsigned(c == 3 ? 40 * x : c == 2 ? 200 : 0);
         },
         [](int x, int) {
             const unsigned a = 40 * x;
             return RGB(OverWhite(0, a), OverWhite(0, a), OverWhite(200, a));
         }},
        {"grey 1 bit",
         {.colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1},
         [](int x, int y, int) { return unsigned((x + y) % 2); },
         [](int x, int y) { return (x + y) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0); }},
        {"grey 16 bit",
         {.colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 16},
         [](int x, int, int) { return unsigned(257 * 30 * x); },
         [](int x, int) { return RGB(30 * x, 30 * x, 30 * x); }},
        {"grey and alpha",
         {.colorType = PNG_COLOR_TYPE_GRAY_ALPHA},
         [](int, int y, int c) { return unsigned(c == 0 ? 0 : 255 - 50 * y); },
         [](int, int y) {
             const unsigned g = OverWhite(0, 255 - 50 * y);
             return RGB(g, g, g);
         }},
        {"palette 2 bits with a transparent entry",
         {.colorType = PNG_COLOR_TYPE_PALETTE,
          .bitDepth = 2,
          .palette = palette,
          .transparent = {255, 255, 0}},
         [](int x, int, int) { return unsigned(x % 4); },
         [](int x, int) {
             switch (x % 4) {
             case 0:
                 return RGB(0, 0, 0);
             case 1:
                 return RGB(255, 0, 0);
             case 2:
                 return RGB(255, 255, 255); // fully transparent: the page shows
             default:
                 return RGB(9, 99, 199);
             }
         }},
        {"interlaced at an odd size",
         {.interlaced = true},
         [](int x, int y, int c) {
             return unsigned(c == 0 ? 11 * x : c == 1 ? 13 * y : x * y);
         },
         [](int x, int y) { return RGB(11 * x, 13 * y, x * y); }},
    };
    for (const Case& c : cases) {
        const auto picture = Decode(testpng::MakePNG(7, 5, c.sample, c.recipe));
        ASSERT_EQ(picture.BitCount(), 24) << c.name;
        ASSERT_EQ(picture.Width(), 7) << c.name;
        ASSERT_EQ(picture.Height(), 5) << c.name;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(picture.Pixel(x, y), c.expected(x, y))
                    << c.name << " at " << x << "," << y;
    }
}

TEST(PNGDecoder, RefusesBrokenFilesWithTheLibrarysReason) {
    const auto good = testpng::MakePNG(16, 16, [](int x, int y, int) { return unsigned(x * y); });
    EXPECT_EQ(DecodeError({}), "Invalid PNG picture (not a PNG file)");
    EXPECT_EQ(DecodeError({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}),
              "Invalid PNG picture (not a PNG file)");

    auto truncated = good;
    truncated.resize(good.size() - 30);
    EXPECT_EQ(DecodeError(truncated), "Invalid PNG picture (the file ends early)");

    auto damaged = good;
    damaged[18] ^= 0x40; // inside the header chunk: its checksum no longer fits
    EXPECT_EQ(DecodeError(damaged), "Invalid PNG picture (IHDR: CRC error)");

    // Sizes the data cannot back are refused before any row is allocated.
    auto huge = good;
    testpng::SetHeaderSize(huge, 1000000, 1000);
    EXPECT_EQ(DecodeError(huge), "Invalid PNG picture (the picture is too large)");
    testpng::SetHeaderSize(huge, 16000, 16000);
    EXPECT_EQ(DecodeError(huge),
              "Invalid PNG picture (the picture is larger than its data could hold)");
    testpng::SetHeaderSize(huge, 1u << 30, 1);
    EXPECT_EQ(DecodeError(huge).rfind("Invalid PNG picture (", 0), 0u);
}

TEST(TPNGImage, OpensLikeTheOtherPicturesAndAFailureKeepsTheOldPicture) {
    const toolkit::TFileFormat* format = toolkit::TPicture::FindFileFormat("PNG");
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->description, "PNG Image File");
    EXPECT_EQ(format->create()->ClassName(), "TPNGImage");

    const auto bytes =
        testpng::MakePNG(9, 4, [](int x, int, int c) { return c == 1 ? 25u * x : 0u; });
    image::TDIB dib;
    image::LoadPictureFile(dib, TempFile("Photo.PnG", bytes));
    ASSERT_EQ(dib.Width(), 9);
    ASSERT_EQ(dib.Height(), 4);
    EXPECT_EQ(dib.Pixels(8, 3), RGB(0, 200, 0));

    auto broken = bytes;
    broken.resize(broken.size() / 2);
    EXPECT_THROW(image::LoadPictureFile(dib, TempFile("broken.png", broken)), image::EPNG);
    EXPECT_EQ(dib.Width(), 9);
    EXPECT_EQ(dib.Pixels(8, 3), RGB(0, 200, 0));
    // A PNG under another name is still known by its signature.
    image::TDIB renamed;
    image::LoadPictureFile(renamed, TempFile("photo.png.bmp", bytes));
    EXPECT_EQ(renamed.Pixels(8, 3), RGB(0, 200, 0));

    image::TPNGImage png;
    toolkit::TMemoryStream out;
    EXPECT_THROW(png.SaveToStream(out), toolkit::EInvalidGraphicOperation);
}
