// The sampled grey copy against the window's route (the whole picture loaded, then drawn
// stretched into a grey picture): the same bytes, or the same failure, for every picture kind,
// size and copy size.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "image/DIB.h"
#include "image/GreyCopy.h"
#include "image/PictureFile.h"
#include "tests/image/BitmapBytes.h"
#include "tests/image/JPEGMaker.h"
#include "tests/image/PNGMaker.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Exceptions.h"

using namespace image;

namespace {

struct Outcome {
    std::string failure;
    std::vector<std::uint8_t> grey;
    std::vector<std::uint8_t> colors; // the sampled pixels before greying
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

Outcome WindowRoute(const std::string& file, std::int32_t w, std::int32_t h) {
    Outcome outcome;
    try {
        TDIB picture;
        LoadPictureFile(picture, file);
        TDIB grey;
        DrawGreyCopy(picture, grey, w, h);
        const platform::PixelRows rows = grey.Image().Rows();
        for (std::int32_t y = 0; y < rows.height; ++y)
            outcome.grey.insert(outcome.grey.end(), rows.Row(y), rows.Row(y) + rows.width);
        outcome.colors = DrawColorCopy(picture, w, h);
    } catch (const toolkit::Exception& e) {
        outcome.failure = e.Message();
    }
    return outcome;
}

Outcome SampledRoute(const std::string& file, std::int32_t w, std::int32_t h) {
    Outcome outcome;
    try {
        const auto picture = TSampledPicture::OpenFile(file);
        TGreyCopy grey;
        picture->DrawGreyCopy(w, h, grey, TSampledPicture::Colors::With);
        outcome.grey = grey.pixels;
        outcome.colors = grey.colors;
    } catch (const toolkit::Exception& e) {
        outcome.failure = e.Message();
    }
    return outcome;
}

// Widths from 1 to beyond the picture's, each with the heights the three ratios give.
void ExpectSameCopies(const std::string& file, std::int32_t width, std::int32_t height) {
    std::vector<std::int32_t> widths = {1,  2,         3,         5,     8,         13,
                                        80, width / 2, width - 1, width, width + 1, 2 * width + 1};
    std::erase_if(widths, [](std::int32_t w) { return w < 1; });
    std::sort(widths.begin(), widths.end());
    widths.erase(std::unique(widths.begin(), widths.end()), widths.end());
    for (const std::int32_t w : widths) {
        const std::int32_t full = static_cast<std::int32_t>(std::int64_t{w} * height / width);
        for (const std::int32_t h : {full, full * 2 / 3, full / 2}) {
            const Outcome expected = WindowRoute(file, w, h);
            const Outcome sampled = SampledRoute(file, w, h);
            EXPECT_EQ(sampled.failure, expected.failure) << file << " " << w << " x " << h;
            EXPECT_TRUE(sampled.grey == expected.grey) << file << " " << w << " x " << h;
            EXPECT_TRUE(sampled.colors == expected.colors) << file << " " << w << " x " << h;
        }
    }
}

// Detail in every pixel, so that a row decoded from the wrong neighbours shows.
platform::Color Busy(int x, int y) {
    std::uint32_t n =
        static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
    n ^= n >> 13;
    n *= 0x5bd1e995u;
    n ^= n >> 15;
    return platform::RGB(static_cast<std::uint8_t>(x * 7 + (n & 63)),
                         static_cast<std::uint8_t>(y * 5 + (n >> 6 & 63)),
                         static_cast<std::uint8_t>((x + y) * 3 + (n >> 12 & 63)));
}

std::uint8_t Noise(std::size_t i) {
    std::uint32_t n = static_cast<std::uint32_t>(i) * 2654435761u;
    n ^= n >> 16;
    return static_cast<std::uint8_t>(n);
}

struct BitmapKind {
    const char* name;
    std::uint32_t bitCount;
    std::uint32_t compression = 0;
    bool topDown = false;
    bool core = false;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks = {};
    bool endEarly = false; // RLE data that stops halfway
};

std::uint32_t RowBytes(std::int32_t w, std::uint32_t bits) {
    return (static_cast<std::uint32_t>(w) * bits + 31) / 32 * 4;
}

// RLE data of runs and absolute runs, row by row from the bottom.
std::vector<std::uint8_t> RleData(const BitmapKind& kind, std::int32_t w, std::int32_t h) {
    std::vector<std::uint8_t> d;
    const bool four = kind.compression == 2;
    std::size_t seed = 0;
    const std::int32_t rows = kind.endEarly ? h / 2 : h;
    for (std::int32_t y = 0; y < rows; ++y) {
        std::int32_t x = 0;
        while (x < w) {
            const std::uint8_t v = Noise(++seed);
            if (w - x >= 4 && (v & 3) == 0) {
                const int n = 3 + (v >> 2 & 1);
                d.insert(d.end(), {0, static_cast<std::uint8_t>(n)});
                const int bytes = four ? (n + 1) / 2 : n;
                for (int i = 0; i < bytes; ++i)
                    d.push_back(Noise(++seed));
                if (bytes % 2)
                    d.push_back(0);
                x += n;
            } else {
                const int run = std::min<std::int32_t>(1 + (v & 7), w - x);
                d.insert(d.end(), {static_cast<std::uint8_t>(run), Noise(++seed)});
                x += run;
            }
        }
        d.insert(d.end(), {0, 0});
    }
    d.insert(d.end(), {0, 1});
    return d;
}

std::vector<std::uint8_t> MakeBitmap(const BitmapKind& kind, std::int32_t w, std::int32_t h) {
    const bool rle = kind.compression == 1 || kind.compression == 2;
    const std::vector<std::uint8_t> pixels = [&] {
        if (rle)
            return RleData(kind, w, h);
        std::vector<std::uint8_t> p(static_cast<std::size_t>(RowBytes(w, kind.bitCount)) *
                                    static_cast<std::size_t>(h));
        for (std::size_t i = 0; i < p.size(); ++i)
            p[i] = Noise(i);
        return p;
    }();
    testbmp::Bytes b = testbmp::FileHeader();
    if (kind.core) {
        b.U32(12).U16(static_cast<std::uint32_t>(w)).U16(static_cast<std::uint32_t>(h));
        b.U16(1).U16(kind.bitCount);
    } else {
        b.U32(40).U32(static_cast<std::uint32_t>(w));
        b.U32(static_cast<std::uint32_t>(kind.topDown ? -h : h));
        b.U16(1).U16(kind.bitCount).U32(kind.compression);
        b.U32(rle ? static_cast<std::uint32_t>(pixels.size()) : 0);
        b.U32(0).U32(0).U32(kind.colorsUsed).U32(0);
        for (const std::uint32_t m : kind.masks)
            b.U32(m);
    }
    std::uint32_t colors = kind.colorsUsed;
    if (colors == 0 && kind.bitCount <= 8)
        colors = 1u << kind.bitCount;
    for (std::uint32_t i = 0; i < colors; ++i) {
        b.U8(i * 37).U8(i * 91).U8(i * 13 + 5);
        if (!kind.core)
            b.U8(0);
    }
    b.Raw(pixels);
    return b.data;
}

class GreyCopy : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = m_folder.File(name);
        charvane::testing::WriteFile(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }

    charvane::testing::TempFolder m_folder{"charvane-grey"};
};

} // namespace

// Both routes share the sampling and the grey matching, so the comparisons above cannot see a
// fault in those: a worked picture pins them. 5 x 4 drawn into 2 x 2 samples columns
// ((2x + 1) x 5) div 4 = 1, 3 and rows ((2y + 1) x 4) div 4 = 1, 3 from the top; a colour's grey
// is the third of its channels' sum, rounded.
TEST_F(GreyCopy, AWorkedPictureGivesTheHandWorkedGreys) {
    const auto colourAt = [](int x, int y) -> std::vector<std::uint8_t> { // blue, green, red
        if (x == 1 && y == 1)
            return {0, 1, 1}; // 2 / 3 rounds to 1
        if (x == 3 && y == 1)
            return {36, 37, 37}; // 110 / 3 rounds to 37
        if (x == 1 && y == 3)
            return {255, 255, 254}; // 764 / 3 rounds to 255
        if (x == 3 && y == 3)
            return {1, 0, 0}; // 1 / 3 rounds to 0
        return {128, 128, 128};
    };
    testbmp::Info info;
    info.width = 5;
    info.height = 4;
    testbmp::Bytes file = testbmp::InfoFile(info);
    for (int y = 3; y >= 0; --y) { // bottom row first
        for (int x = 0; x < 5; ++x)
            file.Raw(colourAt(x, y));
        file.Zeros(1); // 15 bytes padded to 16
    }
    const std::string path = Write("worked.bmp", file.data);
    const std::vector<std::uint8_t> expected = {1, 37, 255, 0};
    EXPECT_EQ(WindowRoute(path, 2, 2).grey, expected);
    EXPECT_EQ(SampledRoute(path, 2, 2).grey, expected);
}

TEST_F(GreyCopy, JpegPicturesMatchTheFullDecode) {
    struct Case {
        const char* name;
        testjpeg::Recipe recipe;
    };
    using testjpeg::Kind;
    const std::vector<Case> cases = {
        {"444", {Kind::Color, false, 90, 1, 1}},
        {"422", {Kind::Color, false, 90, 2, 1}},
        {"420", {Kind::Color, false, 90, 2, 2}},
        {"440", {Kind::Color, false, 90, 1, 2}},
        {"411", {Kind::Color, false, 90, 4, 1}},
        {"420-progressive", {Kind::Color, true, 90, 2, 2}},
        {"422-progressive", {Kind::Color, true, 75, 2, 1}},
        {"420-restarts", {Kind::Color, false, 90, 2, 2, 1}},
        {"440-restarts", {Kind::Color, false, 90, 1, 2, 3}},
        {"grey", {Kind::Gray}},
        {"grey-progressive", {Kind::Gray, true}},
        {"cmyk", {Kind::CMYK}},
    };
    const std::vector<std::pair<int, int>> sizes = {{157, 131}, {33, 70}, {70, 9}, {1, 1}};
    for (const Case& c : cases) {
        for (const auto& [w, h] : sizes) {
            const std::string file = Write(std::string(c.name) + "-" + std::to_string(w) + "x" +
                                               std::to_string(h) + ".jpg",
                                           testjpeg::MakeJPEG(w, h, Busy, c.recipe));
            ExpectSameCopies(file, w, h);
        }
    }
    // Grey pictures carry every row's error into the next: a larger one, for errors to add up.
    const std::string grey =
        Write("grey-600x400.jpg", testjpeg::MakeJPEG(600, 400, Busy, {Kind::Gray, false, 95}));
    ExpectSameCopies(grey, 600, 400);
}

TEST_F(GreyCopy, EveryBitmapKindMatchesTheFullLoad) {
    const std::vector<BitmapKind> kinds = {
        {"1", 1},
        {"4", 4},
        {"8", 8},
        {"8-five-colours", 8, 0, false, false, 5},
        {"8-top-down", 8, 0, true},
        {"8-core", 8, 0, false, true},
        {"24-core", 24, 0, false, true},
        {"16", 16},
        {"16-565", 16, 3, false, false, 0, {0xF800, 0x07E0, 0x001F}},
        {"24", 24},
        {"24-top-down", 24, 0, true},
        {"32", 32},
        {"32-other-order", 32, 3, false, false, 0, {0x000000FF, 0x0000FF00, 0x00FF0000}},
        {"rle8", 8, 1},
        {"rle4", 4, 2},
        {"rle8-ends-early", 8, 1, false, false, 0, {}, true},
    };
    const std::vector<std::pair<int, int>> sizes = {{37, 23}, {5, 60}, {64, 1}, {1, 1}};
    for (const BitmapKind& kind : kinds) {
        for (const auto& [w, h] : sizes) {
            const std::string file = Write(std::string(kind.name) + "-" + std::to_string(w) + "x" +
                                               std::to_string(h) + ".bmp",
                                           MakeBitmap(kind, w, h));
            ExpectSameCopies(file, w, h);
        }
    }
}

TEST_F(GreyCopy, PngPicturesMatchTheFullLoad) {
    const auto sample = [](int x, int y, int channel) {
        return static_cast<unsigned>(platform::GetRValue(Busy(x + channel * 11, y)));
    };
    ExpectSameCopies(Write("busy.png", testpng::MakePNG(41, 29, sample)), 41, 29);
}

TEST_F(GreyCopy, FailsAsTheFullLoadFails) {
    const std::vector<std::uint8_t> jpeg = testjpeg::MakeJPEG(48, 32, Busy);
    // Frame headers that claim far more pixels than any picture may have.
    const long frame = testjpeg::FindMarker(jpeg, 0xC0);
    ASSERT_GT(frame, 0);
    auto claiming = [&](std::uint16_t side) {
        std::vector<std::uint8_t> claim = jpeg;
        for (int i : {5, 7}) {
            claim[static_cast<std::size_t>(frame + i)] = static_cast<std::uint8_t>(side >> 8);
            claim[static_cast<std::size_t>(frame + i + 1)] = static_cast<std::uint8_t>(side);
        }
        return claim;
    };
    const std::vector<std::uint8_t> bitmap = MakeBitmap({"24", 24}, 20, 10);
    testbmp::Info hugeBitmap;
    hugeBitmap.width = 30000;
    hugeBitmap.height = 30000;
    const std::vector<std::string> files = {
        Write("empty.jpg", {}),
        Write("empty.bmp", {}),
        Write("header-only.bmp", std::vector<std::uint8_t>(bitmap.begin(), bitmap.begin() + 14)),
        Write("text.jpg", {'h', 'e', 'l', 'l', 'o'}),
        Write("short.bmp", std::vector<std::uint8_t>(bitmap.begin(), bitmap.end() - 1)),
        Write("cut.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)),
        Write("huge.jpg", claiming(60000)),
        Write("big.jpg", claiming(20000)),
        Write("huge.bmp", testbmp::InfoFile(hugeBitmap).Zeros(16).data),
        m_folder.File("missing.bmp"),
    };
    for (const std::string& file : files)
        for (const auto& [w, h] : std::vector<std::pair<int, int>>{
                 {20, 10}, {0, 10}, {20, 0}, {-3, 5}, {30000, 30000}}) {
            const Outcome expected = WindowRoute(file, w, h);
            const Outcome sampled = SampledRoute(file, w, h);
            EXPECT_EQ(sampled.failure, expected.failure) << file << " " << w << " x " << h;
            EXPECT_TRUE(sampled.grey == expected.grey) << file << " " << w << " x " << h;
            EXPECT_TRUE(sampled.colors == expected.colors) << file << " " << w << " x " << h;
        }
}

// Only ".jpg" chooses the reader by name; every other name is read by what the file holds, so a
// JPEG named ".bmp" opens and a bitmap named ".jpeg" still gets the bitmap reader's answer.
TEST_F(GreyCopy, OnlyTheJpgNameOverridesWhatTheFileHolds) {
    const std::map<std::string, std::vector<std::uint8_t>> contents = {
        {"jpeg", testjpeg::MakeJPEG(12, 8, Busy)},
        {"png",
         testpng::MakePNG(12, 8, [](int x, int y, int c) { return (x * 9 + y * c) & 255u; })},
        {"bitmap", MakeBitmap({"24", 24}, 12, 8)},
        {"junk", {'B', 'M', 'x', 'y'}},
    };
    const auto reference = [&](const std::string& kind) {
        const char* name = kind == "jpeg" ? "ref.jpg" : kind == "png" ? "ref.png" : "ref.bmp";
        return WindowRoute(Write(name, contents.at(kind)), 12, 8);
    };
    ASSERT_EQ(reference("bitmap").failure, "");
    ASSERT_NE(reference("junk").failure, "");
    for (const std::string name : {"a.jpeg", "a.JPE", "a.jfif", "a", "a.bmp", "a.png", "a.dib"})
        for (const auto& [kind, bytes] : contents) {
            const std::string file = Write(name, bytes);
            const Outcome window = WindowRoute(file, 12, 8);
            EXPECT_EQ(window, reference(kind)) << name << " holding " << kind;
            EXPECT_EQ(SampledRoute(file, 12, 8), window) << name << " holding " << kind;
        }
    for (const auto& [kind, bytes] : contents) {
        const Outcome outcome = WindowRoute(Write("a.JpG", bytes), 12, 8);
        EXPECT_EQ(outcome.failure.empty(), kind == "jpeg") << kind << ": " << outcome.failure;
    }
}
