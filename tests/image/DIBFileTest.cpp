#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "image/DIB.h"
#include "tests/image/BitmapBytes.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Streams.h"

using namespace image;
using testbmp::Bytes;
using testbmp::Info;
using testbmp::InfoFile;

namespace {

void Load(TDIB& dib, const Bytes& bytes) {
    toolkit::TMemoryStream stream(bytes.data);
    dib.LoadFromStream(stream);
}

// The message of the toolkit exception that loading raises, or "" when it loads.
std::string LoadError(TDIB& dib, const Bytes& bytes) {
    try {
        Load(dib, bytes);
    } catch (const toolkit::Exception& e) {
        return e.Message();
    }
    return "";
}

std::vector<std::uint8_t> Save(TDIB& dib) {
    toolkit::TMemoryStream stream;
    dib.SaveToStream(stream);
    return stream.Bytes();
}

// A picture whose every pixel differs from its neighbours at the given bit depth.
void Fill(TDIB& dib, std::int32_t w, std::int32_t h, std::int32_t bits) {
    if (bits == 16)
        dib.PixelFormat() = MakePixelFormat(5, 6, 5);
    dib.SetSize(w, h, bits);
    for (std::int32_t y = 0; y < h; ++y) {
        std::uint8_t* row = dib.ScanLine(y);
        for (std::int32_t i = 0; i < dib.WidthBytes(); ++i)
            row[i] = static_cast<std::uint8_t>(i * 7 + y * 13 + 1);
    }
}

} // namespace

TEST(BitmapFile, RoundTripsEveryBitDepthAtOddSizes) {
    for (std::int32_t bits : {1, 4, 8, 16, 24, 32}) {
        for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 5}, std::pair{17, 2}, std::pair{33, 7}}) {
            TDIB original;
            Fill(original, w, h, bits);
            const auto bytes = Save(original);
            TDIB copy;
            Load(copy, Bytes{bytes});
            ASSERT_EQ(copy.Width(), w);
            ASSERT_EQ(copy.Height(), h);
            ASSERT_EQ(copy.BitCount(), bits);
            for (std::int32_t y = 0; y < h; ++y)
                for (std::int32_t x = 0; x < w; ++x)
                    ASSERT_EQ(copy.Pixels(x, y), original.Pixels(x, y))
                        << bits << " bits, " << w << "x" << h << " at " << x << ", " << y;
            EXPECT_EQ(Save(copy), bytes);
        }
    }
}

TEST(BitmapFile, SavedLayoutOfAn8BitPicture) {
    TDIB dib;
    dib.SetSize(10, 10, 8);
    const auto bytes = Save(dib);
    ASSERT_EQ(bytes.size(), 14u + 40 + 1024 + 120);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 1198);
    EXPECT_EQ(bytes[10] | bytes[11] << 8, 1078);
    TDIB empty;
    EXPECT_TRUE(Save(empty).empty());
}

TEST(BitmapFile, EmptyShortAndHeaderOnlyFiles) {
    TDIB dib;
    dib.SetSize(2, 2, 8);
    EXPECT_EQ(LoadError(dib, Bytes{}), "");
    EXPECT_EQ(dib.Width(), 2); // nothing read: unchanged
    for (std::size_t n = 1; n < 14; ++n) {
        Bytes shortFile = testbmp::FileHeader();
        shortFile.data.resize(n);
        EXPECT_EQ(LoadError(dib, shortFile), "DIB is invalid") << n;
        EXPECT_EQ(dib.Width(), 2);
    }
    EXPECT_EQ(LoadError(dib, testbmp::FileHeader()), "");
    EXPECT_TRUE(dib.Empty());
}

TEST(BitmapFile, TopDownAndBottomUpReadAlike) {
    const std::vector<std::uint8_t> bottom = {1, 2, 3, 4, 5, 6, 0, 0};
    const std::vector<std::uint8_t> top = {7, 8, 9, 10, 11, 12, 0, 0};
    TDIB up;
    Load(up, InfoFile({.width = 2, .height = 2}).Raw(bottom).Raw(top));
    TDIB down;
    Load(down, InfoFile({.width = 2, .height = -2}).Raw(top).Raw(bottom));
    EXPECT_EQ(up.Height(), 2);
    EXPECT_EQ(down.Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(up.Pixels(x, y), down.Pixels(x, y));
    EXPECT_EQ(up.Pixels(0, 0), 0x070809u); // red 9, green 8, blue 7
}

TEST(BitmapFile, ColourTableCounts) {
    // Core header: 256 three-byte entries.
    Bytes core = testbmp::FileHeader();
    core.U32(12).U16(1).U16(1).U16(1).U16(8);
    for (int i = 0; i < 256; ++i)
        core.U8(i).U8(255 - i).U8(7);
    core.U32(5);
    TDIB dib;
    Load(dib, core);
    EXPECT_EQ(dib.ColorTable()[5], (platform::RgbQuad{5, 250, 7, 0}));
    EXPECT_EQ(dib.Pixels(0, 0), 5u);

    // Colours used 16: entries beyond are zero.
    Bytes sixteen = InfoFile({.bitCount = 8, .colorsUsed = 16});
    for (int i = 0; i < 16; ++i)
        sixteen.U32(0x00010101 * (i + 1));
    sixteen.U32(0);
    Load(dib, sixteen);
    EXPECT_EQ(dib.ColorTable()[15], (platform::RgbQuad{16, 16, 16, 0}));
    EXPECT_EQ(dib.ColorTable()[16], (platform::RgbQuad{}));

    // A 24-bit file with 5 colours skips 20 bytes before its pixels.
    Load(dib, InfoFile({.colorsUsed = 5}).Zeros(20).Raw({1, 2, 3, 0}));
    EXPECT_EQ(dib.Pixels(0, 0), 0x010203u);

    // 300 colours read as 256, pixels right after.
    Load(dib, InfoFile({.bitCount = 8, .colorsUsed = 300}).Zeros(1024).Raw({9, 0, 0, 0}));
    EXPECT_EQ(dib.Pixels(0, 0), 9u);
}

TEST(BitmapFile, SixteenAndThirtyTwoBitLayouts) {
    TDIB dib;
    Load(dib, InfoFile({.bitCount = 16}).Raw({0x1F, 0x7C, 0, 0}));
    EXPECT_EQ(dib.Image().PixelFormat(), MakePixelFormat(5, 5, 5));
    EXPECT_EQ(dib.Pixels(0, 0), 0x7C1Fu);

    Load(dib, InfoFile({.bitCount = 16, .compression = 3})
                  .U32(0xF800)
                  .U32(0x07E0)
                  .U32(0x001F)
                  .Raw({0, 0xF8, 0, 0}));
    EXPECT_EQ(dib.Image().PixelFormat(), MakePixelFormat(5, 6, 5));

    EXPECT_EQ(LoadError(dib, InfoFile({.bitCount = 16, .compression = 3})
                                 .U32(0x0F00)
                                 .U32(0x00F0)
                                 .U32(0x000F)
                                 .Zeros(4)),
              "PixelFormat in invalid");
    EXPECT_EQ(LoadError(dib, InfoFile({.bitCount = 32, .compression = 3})
                                 .U32(0x3FF00000)
                                 .U32(0xFFC00)
                                 .U32(0x3FF)
                                 .Zeros(4)),
              "PixelFormat in invalid");
    EXPECT_EQ(dib.Image().PixelFormat(), MakePixelFormat(5, 6, 5)); // still the last good one

    // Channels stored in another byte order are moved into the packed layout.
    Load(dib, InfoFile({.bitCount = 32, .compression = 3})
                  .U32(0xFF000000)
                  .U32(0x0000FF00)
                  .U32(0x00FF0000)
                  .Raw({0, 0x22, 0x33, 0x11}));
    EXPECT_EQ(dib.Pixels(0, 0), 0x112233u); // red 0x11, green 0x22, blue 0x33, blue lowest
}

TEST(BitmapFile, RleDataDecodesWhenFirstRead) {
    struct Case {
        const char* name;
        std::int32_t width, height, bits;
        std::vector<std::uint8_t> data;
        // Expected indexes, bottom storage row first.
        std::vector<std::vector<std::uint32_t>> rows;
    };
    const std::vector<Case> cases = {
        {"encoded run", 4, 2, 8, {3, 5, 0, 0, 0, 1}, {{5, 5, 5, 0}, {0, 0, 0, 0}}},
        // An odd absolute run is padded to a word: the pad is skipped, not read as a run.
        {"absolute run with pad", 4, 1, 8, {0, 3, 1, 2, 3, 0, 1, 7, 0, 1}, {{1, 2, 3, 7}}},
        // An even one has no pad: the next byte is the following run's count.
        {"absolute run without pad", 6, 1, 8, {0, 4, 1, 2, 3, 4, 2, 9, 0, 1}, {{1, 2, 3, 4, 9, 9}}},
        {"delta",
         6,
         2,
         8,
         {2, 7, 0, 2, 3, 1, 1, 9, 0, 1},
         {{7, 7, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 9}}},
        {"rle4 run", 5, 1, 4, {5, 0xAB, 0, 1}, {{10, 11, 10, 11, 10}}},
        {"zero bytes", 2, 1, 8, {}, {{0, 0}}},
    };
    for (const Case& c : cases) {
        Bytes file = InfoFile({.width = c.width,
                               .height = c.height,
                               .bitCount = static_cast<std::uint32_t>(c.bits),
                               .compression = c.bits == 8 ? 1u : 2u,
                               .sizeImage = static_cast<std::uint32_t>(c.data.size())});
        file.Zeros(4u << c.bits).Raw(c.data);
        TDIB dib;
        Load(dib, file);
        EXPECT_TRUE(dib.Image().Compressed()) << c.name;
        EXPECT_EQ(dib.Size(), static_cast<std::int32_t>(c.data.size()));
        // Saving keeps the data as loaded.
        const auto saved = Save(dib);
        EXPECT_EQ(std::vector<std::uint8_t>(saved.end() - c.data.size(), saved.end()), c.data);
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            for (std::size_t x = 0; x < c.rows[r].size(); ++x)
                EXPECT_EQ(dib.Pixels(static_cast<std::int32_t>(x),
                                     c.height - 1 - static_cast<std::int32_t>(r)),
                          c.rows[r][x])
                    << c.name << " row " << r << " column " << x;
        EXPECT_FALSE(dib.Image().Compressed());
    }
}

TEST(BitmapFile, MalformedFilesFailWithTheirMessageAndKeepThePicture) {
    struct Case {
        const char* name;
        Bytes file;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"wrong type", Bytes().U16(0x4D43).Zeros(60), "DIB is invalid"},
        {"header size 1 to 3 bytes", testbmp::FileHeader().U8(40), "DIB is invalid"},
        {"v4 header", testbmp::FileHeader().U32(108).Zeros(200), "DIB is invalid"},
        {"header size 64", testbmp::FileHeader().U32(64).Zeros(200), "DIB is invalid"},
        {"truncated info header", testbmp::FileHeader().U32(40).Zeros(10), "Stream read error"},
        {"compression 4", InfoFile({.compression = 4}).Zeros(4), "DIB is invalid"},
        {"rle8 at 4 bits", InfoFile({.bitCount = 4, .compression = 1}).Zeros(64), "DIB is invalid"},
        {"rle4 at 8 bits", InfoFile({.bitCount = 8, .compression = 2}).Zeros(1100),
         "DIB is invalid"},
        {"rle top-down", InfoFile({.height = -1, .bitCount = 8, .compression = 1}).Zeros(1100),
         "DIB is invalid"},
        {"bit count 2", InfoFile({.bitCount = 2}).Zeros(32), "Bitcount in invalid (2)"},
        {"bit count 0", InfoFile({.bitCount = 0}).Zeros(32), "Bitcount in invalid (0)"},
        {"width 0", InfoFile({.width = 0}).Zeros(4), "DIB is invalid"},
        {"negative width", InfoFile({.width = -3}).Zeros(16), "DIB is invalid"},
        {"height 0", InfoFile({.height = 0}).Zeros(4), "DIB is invalid"},
        {"row size beyond 32 bits", InfoFile({.width = 0x7FFFFFFF, .bitCount = 32}).Zeros(4),
         "DIB is invalid"},
        {"gigabyte rows, a tall top-down picture",
         InfoFile({.width = 0x63000008, .height = -0x77F3FEE0, .bitCount = 32}).Zeros(4),
         "DIB is invalid"},
        {"short colour table", InfoFile({.bitCount = 8}).Zeros(100), "Stream read error"},
        {"short masks", InfoFile({.bitCount = 16, .compression = 3}).Zeros(6), "Stream read error"},
        {"short pixels", InfoFile({.width = 3, .height = 3}).Zeros(35), "Stream read error"},
        {"short top-down pixels", InfoFile({.width = 3, .height = -3}).Zeros(35),
         "Stream read error"},
        {"huge picture in a small file",
         InfoFile({.width = 20000, .height = 20000, .bitCount = 32}), "Stream read error"},
        {"huge compressed size",
         InfoFile({.bitCount = 8, .compression = 1, .sizeImage = 0xFFFFFFF0}).Zeros(1024 + 8),
         "Stream read error"},
    };
    for (const Case& c : cases) {
        TDIB dib;
        dib.SetSize(2, 3, 24);
        dib.ScanLine(0)[0] = 42;
        const TDIBSharedImage* before = &dib.Image();
        EXPECT_EQ(LoadError(dib, c.file), c.message) << c.name;
        EXPECT_EQ(&dib.Image(), before) << c.name;
        EXPECT_EQ(dib.Pixels(0, 0) & 0xFF0000, 42u << 16) << c.name;
    }
}

TEST(BitmapFile, LoadFromFileReportsUnopenableFiles) {
    TDIB dib;
    try {
        dib.LoadFromFile("/nonexistent/picture.bmp");
        FAIL() << "no exception";
    } catch (const toolkit::EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file \"/nonexistent/picture.bmp\". ", 0), 0u);
    }
}

TEST(BitmapFile, ClipboardDataIsTheFileWithoutItsHeader) {
    TDIB dib;
    Fill(dib, 3, 2, 8);
    std::uint32_t format = 0;
    const auto data = dib.SaveToClipboardFormat(format);
    EXPECT_EQ(format, 8u);
    const auto file = Save(dib);
    EXPECT_EQ(data, std::vector<std::uint8_t>(file.begin() + 14, file.end()));
    TDIB pasted;
    pasted.LoadFromClipboardFormat(format, data);
    EXPECT_EQ(pasted.Pixels(2, 1), dib.Pixels(2, 1));
    EXPECT_EQ(Save(pasted), file);
}
