// Reads every file of the shared bitmap test corpus. Files with a 40- or 12-byte header, a bit
// count and a compression we support read to the corpus's test pattern; every other file is
// refused with one of the reader's own messages. Nothing may crash or read out of bounds (the
// sanitizer build runs this too).
//
// Some questionable files read, by design, to another picture: the pixels are taken right after
// the colour table whatever the file header's data offset says (pal8offs), a table of more than
// 256 colours is read as 256 (pal8oversizepal, rgb24largepal), and pixels that RLE data skips
// or never reaches stay at index 0 (the -trns and -cut files).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <tuple>

#include "image/DIB.h"
#include "toolkit/Exceptions.h"

using namespace image;
namespace fs = std::filesystem;

namespace {

const fs::path kSuite = fs::path(CHARVANE_SHARED_DIR) / "testdata" / "bmpsuite";

bool IsReaderMessage(const std::string& message) {
    static const std::regex bitCount("Bitcount in invalid \\(-?[0-9]+\\)");
    return message == "DIB is invalid" || message == "Stream read error" ||
           message == "PixelFormat in invalid" || std::regex_match(message, bitCount);
}

// The picture as 24-bit colours, through the same drawing the program uses.
std::vector<platform::Color> Colours(TDIB& dib) {
    TDIB target;
    target.SetSize(dib.Width(), dib.Height(), 24);
    target.Canvas().Draw(0, 0, dib);
    std::vector<platform::Color> colours;
    for (std::int32_t y = 0; y < dib.Height(); ++y)
        for (std::int32_t x = 0; x < dib.Width(); ++x)
            colours.push_back(target.Pixels(x, y));
    return colours;
}

// The file's info header is the 40-byte or the 12-byte one.
bool CoreOrInfoHeader(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char bytes[18] = {};
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    const unsigned size = bytes[14] | bytes[15] << 8 | bytes[16] << 16 | unsigned(bytes[17]) << 24;
    return size == 40 || size == 12;
}

int ChannelError(platform::Color a, platform::Color b) {
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return worst;
}

// The corpus is shared test data, outside the repository.
class BmpSuite : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(kSuite / "g"))
            GTEST_SKIP() << "the shared bitmap test corpus is missing: " << kSuite.string();
    }
};

} // namespace

// Loads a corpus file, or returns an empty picture when it is refused.
std::unique_ptr<TDIB> LoadSuite(const std::string& name) {
    auto dib = std::make_unique<TDIB>();
    dib->LoadFromFile((kSuite / name).string());
    return dib;
}

TEST_F(BmpSuite, EveryFileReadsOrIsRefusedWithAReaderMessage) {
    int files = 0, goodRead = 0;
    for (const char* folder : {"g", "q", "b", "x"}) {
        for (const auto& entry : fs::directory_iterator(kSuite / folder)) {
            if (entry.path().extension() != ".bmp")
                continue;
            ++files;
            const std::string name = std::string(folder) + "/" + entry.path().filename().string();
            // The good files hold the test pattern; those with a header we read must read.
            const bool mustRead = std::string(folder) == "g" && CoreOrInfoHeader(entry.path());
            TDIB dib;
            try {
                dib.LoadFromFile(entry.path().string());
            } catch (const toolkit::Exception& e) {
                EXPECT_TRUE(IsReaderMessage(e.Message())) << name << ": " << e.Message();
                EXPECT_FALSE(mustRead) << name << " refused: " << e.Message();
                continue;
            }
            // Whatever was read must decode and draw without touching memory it does not own,
            // and a good file draws its pattern, never one flat colour.
            const auto colours = dib.Empty() ? std::vector<platform::Color>{} : Colours(dib);
            EXPECT_EQ(colours.size(), std::size_t(dib.Width()) * std::size_t(dib.Height())) << name;
            if (mustRead)
                EXPECT_GE(std::set(colours.begin(), colours.end()).size(), 2u) << name;
            goodRead += mustRead;
        }
    }
    EXPECT_GT(files, 80);
    EXPECT_EQ(goodRead, 25) << "g/ holds 25 files with a 40- or 12-byte header";
}

TEST_F(BmpSuite, GoodFilesReadToTheTestPattern) {
    const auto reference = Colours(*LoadSuite("g/rgb24.bmp"));
    // True-colour files hold the pattern itself; 16-bit channels lose their low bits.
    for (auto [name, tolerance] :
         {std::pair{"g/rgb24pal.bmp", 0}, std::pair{"g/rgb32.bmp", 0},
          std::pair{"g/rgb32bf.bmp", 0}, std::pair{"g/rgb32bfdef.bmp", 0},
          std::pair{"g/rgb16.bmp", 7}, std::pair{"g/rgb16bfdef.bmp", 7},
          std::pair{"g/rgb16-565.bmp", 7}, std::pair{"g/rgb16-565pal.bmp", 7},
          std::pair{"q/rgb32fakealpha.bmp", 0}, std::pair{"q/rgb16faketrns.bmp", 7}}) {
        const auto colours = Colours(*LoadSuite(name));
        ASSERT_EQ(colours.size(), reference.size()) << name;
        int worst = 0;
        for (std::size_t i = 0; i < colours.size(); ++i)
            worst = std::max(worst, ChannelError(colours[i], reference[i]));
        EXPECT_LE(worst, tolerance) << name;
    }

    // 252 palette colours cannot hold the pattern exactly: close on average, and every other
    // encoding of the 8-bit file reads to exactly the same colours.
    const auto pal8 = Colours(*LoadSuite("g/pal8.bmp"));
    double total = 0;
    for (std::size_t i = 0; i < pal8.size(); ++i)
        total += ChannelError(pal8[i], reference[i]);
    EXPECT_LT(total / static_cast<double>(pal8.size()), 24.0);
    for (const char* name : {"g/pal8-0.bmp", "g/pal8rle.bmp", "g/pal8topdown.bmp", "g/pal8os2.bmp",
                             "q/pal8os2-hs.bmp", "q/pal8os2-sz.bmp", "q/pal8os2v2-40sz.bmp"})
        EXPECT_EQ(Colours(*LoadSuite(name)), pal8) << name;

    EXPECT_EQ(Colours(*LoadSuite("g/pal4rle.bmp")), Colours(*LoadSuite("g/pal4.bmp")));

    // The 1-bit files differ only in their two colours: the same pixels are the darker one.
    auto darkMask = [](const std::string& name) {
        const auto colours = Colours(*LoadSuite(name));
        const auto [lo, hi] = std::minmax_element(colours.begin(), colours.end());
        std::vector<bool> dark;
        for (platform::Color c : colours)
            dark.push_back(c == *lo && *lo != *hi);
        return dark;
    };
    const auto pal1 = darkMask("g/pal1.bmp");
    EXPECT_EQ(darkMask("g/pal1bg.bmp").size(), pal1.size());
    auto wb = darkMask("g/pal1wb.bmp");
    wb.flip();
    EXPECT_TRUE(darkMask("g/pal1wb.bmp") == pal1 || wb == pal1);

    // Other sizes of the pattern.
    for (auto [name, w, h] :
         {std::tuple{"g/pal8w124.bmp", 124, 61}, std::tuple{"g/pal8w125.bmp", 125, 62},
          std::tuple{"g/pal8w126.bmp", 126, 63}, std::tuple{"g/pal8nonsquare.bmp", 127, 32}}) {
        const auto dib = LoadSuite(name);
        EXPECT_EQ(dib->Width(), w) << name;
        EXPECT_EQ(dib->Height(), h) << name;
    }
}

TEST_F(BmpSuite, LargerHeadersAndUnsupportedFormatsAreRefused) {
    struct Case {
        const char* name;
        const char* message;
    };
    for (const Case& c :
         {Case{"g/pal8v4.bmp", "DIB is invalid"}, Case{"g/pal8v5.bmp", "DIB is invalid"},
          Case{"q/rgb24jpeg.bmp", "DIB is invalid"},
          Case{"q/rgba64.bmp", "Bitcount in invalid (64)"},
          Case{"q/pal2.bmp", "Bitcount in invalid (2)"},
          Case{"q/rgb32-111110.bmp", "PixelFormat in invalid"},
          Case{"b/badbitcount.bmp", "Bitcount in invalid (30000)"},
          Case{"b/rletopdown.bmp", "DIB is invalid"}, Case{"b/reallybig.bmp", "DIB is invalid"},
          Case{"b/shortfile.bmp", "Stream read error"}}) {
        try {
            LoadSuite(c.name);
            ADD_FAILURE() << c.name << " loaded";
        } catch (const toolkit::Exception& e) {
            EXPECT_EQ(e.Message(), c.message) << c.name;
        }
    }
}
