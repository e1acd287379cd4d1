#include <gtest/gtest.h>

#include <stdexcept>

#include <string>

#include "JPEGMaker.h"
#include "image/jpeg.h"

using namespace image;
using platform::Color;
using platform::RGB;
using testjpeg::ColorDistance;
using testjpeg::Kind;
using testjpeg::MakeJPEG;
using testjpeg::RedOverBlue;

namespace {

TDecodedPicture Decode(const std::vector<std::uint8_t>& data,
                       const TJPEGDecodeSettings& settings = {}) {
    TDecodedPicture picture;
    DecodeJPEG(data, settings, picture);
    return picture;
}

int DecodeErrorCode(const std::vector<std::uint8_t>& data) {
    try {
        Decode(data);
    } catch (const EJPEG& e) {
        return e.Code();
    }
    return 0;
}

// Rewrites the height and width fields of the frame header.
void ClaimSize(std::vector<std::uint8_t>& data, int width, int height) {
    long sof = testjpeg::FindMarker(data, 0xC0);
    if (sof < 0) {
        sof = testjpeg::FindMarker(data, 0xC2);
    }
    ASSERT_GE(sof, 0);
    data[sof + 5] = static_cast<std::uint8_t>(height >> 8);
    data[sof + 6] = static_cast<std::uint8_t>(height);
    data[sof + 7] = static_cast<std::uint8_t>(width >> 8);
    data[sof + 8] = static_cast<std::uint8_t>(width);
}

std::vector<std::uint8_t> SmallProgressive(int width, int height) {
    return MakeJPEG(width, height,
                    [=](int x, int y) { return testjpeg::Gradient(x, y, width, height); },
                    {.kind = Kind::Gray, .progressive = true});
}

// Repeats the last scan of a progressive stream (a refinement scan, which the library only warns
// about when it comes again) the given number of times.
std::vector<std::uint8_t> RepeatLastScan(const std::vector<std::uint8_t>& progressive, int times) {
    long lastScan = -1;
    for (long at = testjpeg::FindMarker(progressive, 0xDA); at >= 0;
         at = testjpeg::FindMarker(progressive, 0xDA, static_cast<std::size_t>(at) + 2)) {
        lastScan = at;
    }
    const long end =
        testjpeg::FindMarker(progressive, 0xD9, static_cast<std::size_t>(std::max(lastScan, 0L)));
    EXPECT_GT(lastScan, 0);
    EXPECT_GT(end, lastScan);
    std::vector<std::uint8_t> data(progressive.begin(), progressive.begin() + end);
    const std::vector<std::uint8_t> scan(progressive.begin() + lastScan, progressive.begin() + end);
    for (int i = 0; i < times; ++i) {
        data.insert(data.end(), scan.begin(), scan.end());
    }
    data.push_back(0xFF);
    data.push_back(0xD9);
    return data;
}

} // namespace

TEST(JPEGHeader, ReportsSizeColourSpaceAndScansWithoutDecoding) {
    const auto colour =
        MakeJPEG(640, 480, [](int x, int y) { return testjpeg::Gradient(x, y, 640, 480); });
    const TJPEGHeader h = ReadJPEGHeader(colour);
    EXPECT_EQ(h.Width, 640);
    EXPECT_EQ(h.Height, 480);
    EXPECT_FALSE(h.Grayscale);
    EXPECT_FALSE(h.Progressive);

    const auto grey = MakeJPEG(33, 17, [](int, int) { return RGB(9, 9, 9); },
                               {.kind = Kind::Gray, .progressive = true});
    const TJPEGHeader g = ReadJPEGHeader(grey);
    EXPECT_EQ(g.Width, 33);
    EXPECT_EQ(g.Height, 17);
    EXPECT_TRUE(g.Grayscale);
    EXPECT_TRUE(g.Progressive);
}

TEST(JPEGHeader, TextIsNotAJPEGAndGivesCode53) {
    const std::string text = "Hello, this is plain text and no picture at all.\n";
    const std::vector<std::uint8_t> data(text.begin(), text.end());
    try {
        ReadJPEGHeader(data);
        FAIL() << "text was read as a JPEG header";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Code(), 53);
        EXPECT_EQ(e.Message(), "JPEG error #53");
    }
    EXPECT_EQ(DecodeErrorCode(data), 53);
    // The exception is a picture error, as callers catch it.
    EXPECT_THROW(ReadJPEGHeader(data), toolkit::EInvalidGraphic);
}

TEST(JPEGHeader, DamagedHeadersFailWithALibraryCode) {
    const auto good = MakeJPEG(16, 16, [](int, int) { return RGB(1, 2, 3); });
    const std::vector<std::vector<std::uint8_t>> damaged = {
        {},                                   // nothing
        {0xFF, 0xD8},                         // start marker only
        {good.begin(), good.begin() + 40},    // cut inside the tables
        {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02}, // frame header of length 2
    };
    for (const auto& data : damaged) {
        EXPECT_THROW(ReadJPEGHeader(data), EJPEG) << data.size() << " bytes";
        EXPECT_GT(DecodeErrorCode(data), 0) << data.size() << " bytes";
    }
}

TEST(JPEGDecode, ColourBecomes24BitRowsTopRowFirst) {
    const auto data = MakeJPEG(640, 480, [](int x, int y) { return RedOverBlue(x, y, 480); });
    const TDecodedPicture p = Decode(data);
    ASSERT_EQ(p.Width(), 640);
    ASSERT_EQ(p.Height(), 480);
    EXPECT_EQ(p.BitCount(), 24);
    EXPECT_EQ(p.WidthBytes(), 1920);
    EXPECT_TRUE(p.Palette().empty());
    EXPECT_LE(ColorDistance(p.Pixel(0, 0), RGB(220, 20, 20)), 6) << std::hex << p.Pixel(0, 0);
    EXPECT_LE(ColorDistance(p.Pixel(639, 228), RGB(220, 20, 20)), 6);
    EXPECT_LE(ColorDistance(p.Pixel(0, 252), RGB(20, 20, 220)), 6);
    EXPECT_LE(ColorDistance(p.Pixel(639, 479), RGB(20, 20, 220)), 6);
}

TEST(JPEGDecode, OddSizesAndOnePixelHighPictures) {
    for (const auto& [w, h] : {std::pair{1, 1}, {37, 1}, {1, 23}, {101, 3}}) {
        const auto data = MakeJPEG(w, h, [](int, int) { return RGB(200, 100, 50); });
        const TDecodedPicture p = Decode(data);
        ASSERT_EQ(p.Width(), w);
        ASSERT_EQ(p.Height(), h);
        EXPECT_EQ(p.WidthBytes() % 4, 0);
        EXPECT_LE(ColorDistance(p.Pixel(w - 1, h - 1), RGB(200, 100, 50)), 6) << w << " x " << h;
    }
}

TEST(JPEGDecode, GreyscaleBecomes8BitOverTheQuantisedGreyPalette) {
    const auto data = MakeJPEG(256, 64,
                               [](int x, int) {
                                   const auto v = static_cast<std::uint8_t>(x);
                                   return RGB(v, v, v);
                               },
                               {.kind = Kind::Gray});
    const TDecodedPicture p = Decode(data);
    EXPECT_EQ(p.BitCount(), 8);
    ASSERT_EQ(p.Palette().size(), 236u);
    for (std::size_t i = 0; i < p.Palette().size(); ++i) {
        const Color c = p.Palette()[i];
        EXPECT_TRUE(platform::GetRValue(c) == platform::GetGValue(c) &&
                    platform::GetGValue(c) == platform::GetBValue(c))
            << "entry " << i << " is not grey";
        if (i > 0) {
            EXPECT_LT(platform::GetRValue(p.Palette()[i - 1]), platform::GetRValue(c));
        }
    }
    EXPECT_EQ(p.Palette().front(), RGB(0, 0, 0));
    EXPECT_EQ(p.Palette().back(), RGB(255, 255, 255));
    for (int x : {0, 64, 128, 200, 255}) {
        EXPECT_LE(ColorDistance(p.Pixel(x, 30), RGB(x, x, x)), 4) << "column " << x;
    }
}

TEST(JPEGDecode, EightBitColourOutputHasAPaletteOfAtMost236Colours) {
    const auto data = MakeJPEG(64, 64, [](int x, int y) { return RedOverBlue(x, y, 64); });
    TJPEGDecodeSettings settings;
    settings.OutputDepth = TJPEGOutputDepth::Bits8;
    for (auto speed : {TJPEGDecodeSpeed::Accurate, TJPEGDecodeSpeed::Fast}) {
        settings.DecodeSpeed = speed;
        const TDecodedPicture p = Decode(data, settings);
        EXPECT_EQ(p.BitCount(), 8);
        EXPECT_GE(p.Palette().size(), 2u);
        EXPECT_LE(p.Palette().size(), 236u);
        // The palette is read in the right component order: red stays red.
        EXPECT_LE(ColorDistance(p.Pixel(5, 5), RGB(220, 20, 20)), 40) << std::hex << p.Pixel(5, 5);
        EXPECT_LE(ColorDistance(p.Pixel(5, 60), RGB(20, 20, 220)), 40)
            << std::hex << p.Pixel(5, 60);
    }
}

TEST(JPEGDecode, AnImposedColourMapIsTheOneThePixelsIndex) {
    const auto data = MakeJPEG(32, 32, [](int x, int y) { return RedOverBlue(x, y, 32); });
    TJPEGDecodeSettings settings;
    settings.OutputDepth = TJPEGOutputDepth::Bits8;
    settings.ColorMap = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255)};
    const TDecodedPicture p = Decode(data, settings);
    EXPECT_EQ(p.Palette(), settings.ColorMap);
    EXPECT_EQ(p.ScanLine(2)[2], 1);
    EXPECT_EQ(p.ScanLine(29)[2], 2);
}

TEST(JPEGDecode, ProgressiveStreamsDecodeCompletelyAlsoPassByPass) {
    const auto baseline =
        MakeJPEG(120, 90, [](int x, int y) { return testjpeg::Gradient(x, y, 120, 90); });
    const auto progressive =
        MakeJPEG(120, 90, [](int x, int y) { return testjpeg::Gradient(x, y, 120, 90); },
                 {.progressive = true});
    const TDecodedPicture reference = Decode(baseline);
    TJPEGDecodeSettings incremental;
    incremental.IncrementalDisplay = true;
    for (const auto& settings : {TJPEGDecodeSettings{}, incremental}) {
        const TDecodedPicture p = Decode(progressive, settings);
        ASSERT_EQ(p.Width(), 120);
        ASSERT_EQ(p.Height(), 90);
        int worst = 0;
        for (int y = 0; y < 90; ++y) {
            for (int x = 0; x < 120; ++x) {
                worst = std::max(worst, ColorDistance(p.Pixel(x, y), reference.Pixel(x, y)));
            }
        }
        // Every scan has arrived: the last pass is as good as the baseline picture.
        EXPECT_LE(worst, 8);
    }
    // Incremental grey output ends on the full grey palette.
    incremental.Grayscale = true;
    const TDecodedPicture grey = Decode(progressive, incremental);
    EXPECT_EQ(grey.BitCount(), 8);
    EXPECT_EQ(grey.Palette().size(), 236u);
}

TEST(JPEGDecode, ScaleAndGreyOutputSettings) {
    const auto data = MakeJPEG(640, 480, [](int x, int y) { return RedOverBlue(x, y, 480); });
    TJPEGDecodeSettings settings;
    settings.DecodeScale = 1;
    EXPECT_EQ(Decode(data, settings).Width(), 320);
    settings.DecodeScale = 200; // beyond an eighth acts as an eighth
    const TDecodedPicture eighth = Decode(data, settings);
    EXPECT_EQ(eighth.Width(), 80);
    EXPECT_EQ(eighth.Height(), 60);

    settings = {};
    settings.Grayscale = true;
    const TDecodedPicture grey = Decode(data, settings);
    EXPECT_EQ(grey.BitCount(), 8);
    const Color top = grey.Pixel(0, 0);
    EXPECT_EQ(platform::GetRValue(top), platform::GetBValue(top));
}

TEST(JPEGDecode, TruncatedEntropyDataIsFilledInWithWarnings) {
    auto data = MakeJPEG(640, 480, [](int x, int y) { return testjpeg::Gradient(x, y, 640, 480); });
    data.resize(data.size() / 2);
    TDecodedPicture p;
    const TJPEGDecodeResult result = DecodeJPEG(data, {}, p);
    EXPECT_GT(result.Warnings, 0);
    EXPECT_EQ(p.Width(), 640);
    EXPECT_EQ(p.Height(), 480);

    auto progressive =
        MakeJPEG(200, 150, [](int x, int y) { return testjpeg::Gradient(x, y, 200, 150); },
                 {.progressive = true});
    progressive.resize(progressive.size() * 2 / 3);
    TJPEGDecodeSettings incremental;
    incremental.IncrementalDisplay = true;
    EXPECT_EQ(Decode(progressive).Height(), 150);
    EXPECT_EQ(Decode(progressive, incremental).Height(), 150);
}

TEST(JPEGDecode, CMYKAndYCCKAreConvertedToColour) {
    for (Kind kind : {Kind::CMYK, Kind::YCCK}) {
        const auto data = MakeJPEG(32, 32, [](int x, int y) { return RedOverBlue(x, y, 32); },
                                   {.kind = kind, .quality = 95});
        TJPEGDecodeSettings settings;
        settings.OutputDepth = TJPEGOutputDepth::Bits8; // four components never quantise
        const TDecodedPicture p = Decode(data, settings);
        EXPECT_EQ(p.BitCount(), 24);
        EXPECT_LE(ColorDistance(p.Pixel(3, 3), RGB(220, 20, 20)), 8) << std::hex << p.Pixel(3, 3);
        EXPECT_LE(ColorDistance(p.Pixel(3, 28), RGB(20, 20, 220)), 8) << std::hex << p.Pixel(3, 28);
    }
}

TEST(JPEGDecode, ComponentCountsNoBitmapCanHoldAreRefused) {
    const auto data =
        MakeJPEG(8, 8, [](int, int) { return RGB(1, 2, 3); }, {.kind = Kind::TwoComponents});
    EXPECT_NO_THROW(ReadJPEGHeader(data));
    EXPECT_EQ(DecodeErrorCode(data), 27);
}

TEST(JPEGDecode, HugeClaimedSizesAreRefusedBeforeAllocating) {
    // A few hundred bytes claiming the largest size the format allows.
    auto data = MakeJPEG(16, 16, [](int, int) { return RGB(5, 5, 5); });
    ClaimSize(data, 65500, 65500);
    EXPECT_EQ(ReadJPEGHeader(data).Width, 65500);
    EXPECT_EQ(DecodeErrorCode(data), 41);

    // Within the absolute cap, but far more pixels than such little data can carry.
    ClaimSize(data, 12000, 12000);
    EXPECT_EQ(DecodeErrorCode(data), 41);

    // Small pictures need no proof: the missing data decodes as a warning-filled grey area.
    ClaimSize(data, 2000, 1000);
    const TDecodedPicture p = Decode(data);
    EXPECT_EQ(p.Width(), 2000);
}

TEST(JPEGDecode, RepeatedScansAreBoundedInCountAndInWork) {
    // 1100 scans, past the limit: refused.
    EXPECT_EQ(DecodeErrorCode(RepeatLastScan(SmallProgressive(64, 64), 1100)), 41);
    // One scan too many is only a warning.
    EXPECT_EQ(Decode(RepeatLastScan(SmallProgressive(64, 64), 1)).Height(), 64);

    // Pass by pass, 300 scans of a megapixel would redraw 300 megapixels; the passes stop being
    // drawn past the budget and the last pass still shows the whole picture.
    const auto many = RepeatLastScan(SmallProgressive(1024, 1024), 300);
    TJPEGDecodeSettings incremental;
    incremental.IncrementalDisplay = true;
    const TDecodedPicture p = Decode(many, incremental);
    EXPECT_EQ(p.Height(), 1024);
    EXPECT_LE(ColorDistance(p.Pixel(1023, 1023), Decode(many).Pixel(1023, 1023)), 2);
}

TEST(JPEGDecode, AProgressHandlerThatThrowsStopsTheDecodeWithItsOwnError) {
    // Hundreds of refinement scans of a megapixel take longer than the half second before the
    // first report; the handler refuses that report.
    const auto slow = RepeatLastScan(SmallProgressive(1024, 1024), 900);
    int reports = 0;
    TDecodedPicture picture;
    try {
        DecodeJPEG(slow, {}, picture, [&](const TJPEGProgress& p) {
            ++reports;
            EXPECT_EQ(p.Stage, TProgressStage::Running);
            EXPECT_LT(p.PercentDone, 100);
            throw std::runtime_error("cancelled");
        });
        if (reports == 0)
            GTEST_SKIP() << "decoded within half a second, before any progress report";
        ADD_FAILURE() << "the decode went on after its handler failed";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cancelled");
    }
    EXPECT_EQ(reports, 1);
    // Nothing of the failed decode lingers: the next one, without a handler, is whole.
    TDecodedPicture again;
    DecodeJPEG(slow, {}, again);
    EXPECT_EQ(again.Height(), 1024);
}

TEST(JPEGProgressPercent, CountsPassesAndNeverDividesByZero) {
    EXPECT_EQ(JPEGProgressPercent(0, 100, 0, 1), 0);
    EXPECT_EQ(JPEGProgressPercent(50, 100, 0, 1), 50);
    EXPECT_EQ(JPEGProgressPercent(50, 100, 1, 2), 75);
    EXPECT_EQ(JPEGProgressPercent(99, 100, 2, 3), 99);
    EXPECT_EQ(JPEGProgressPercent(5, 0, 0, 1), 0);
    EXPECT_EQ(JPEGProgressPercent(5, 10, 0, 0), 0);
    EXPECT_EQ(JPEGProgressPercent(500, 10, 3, 2), 100);
}
