#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "JPEGMaker.h"
#include "image/DIB.h"
#include "image/jpeg.h"
#include "platform/gfx/PixelMemory.h"
#include "tests/support/Bitmaps.h"
#include "tests/support/TempFolder.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TPicture.h"

using namespace image;
using charvane::testing::BitmapPixel;
using platform::Color;
using platform::RGB;
using testjpeg::ColorDistance;
using testjpeg::Kind;
using testjpeg::MakeJPEG;
using testjpeg::RedOverBlue;

namespace {

void Load(TJPEGImage& jpeg, const std::vector<std::uint8_t>& bytes) {
    toolkit::TMemoryStream stream(bytes);
    jpeg.LoadFromStream(stream);
}

std::filesystem::path TempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const auto path = charvane::testing::ProcessTempFolder("charvane-jpeg") / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const toolkit::Exception& e) {
        return e.Message();
    }
    return "";
}

} // namespace

TEST(TJPEGImage, LoadsTheHeaderFirstAndDecodes24BitTopRowFirstOnFirstNeed) {
    TJPEGImage jpeg;
    EXPECT_TRUE(jpeg.Empty());
    int changes = 0;
    jpeg.OnChange = [&](toolkit::TGraphic&) { ++changes; };
    Load(jpeg, MakeJPEG(640, 480, [](int x, int y) { return RedOverBlue(x, y, 480); }));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(jpeg.Decoded());
    EXPECT_EQ(jpeg.Width(), 640);
    EXPECT_EQ(jpeg.Height(), 480);
    EXPECT_FALSE(jpeg.Empty());
    EXPECT_FALSE(jpeg.Grayscale());
    EXPECT_FALSE(jpeg.Progressive());

    toolkit::TBitmap& bitmap = jpeg.Bitmap();
    EXPECT_TRUE(jpeg.Decoded());
    EXPECT_EQ(&bitmap, &jpeg.Bitmap()); // decoded once, kept
    EXPECT_EQ(bitmap.PixelFormat(), toolkit::TPixelFormat::pf24bit);
    ASSERT_EQ(bitmap.Width(), 640);
    ASSERT_EQ(bitmap.Height(), 480);
    EXPECT_LE(ColorDistance(BitmapPixel(bitmap, 5, 0), RGB(220, 20, 20)), 6);
    EXPECT_LE(ColorDistance(BitmapPixel(bitmap, 5, 479), RGB(20, 20, 220)), 6);
}

TEST(TJPEGImage, GreyscaleDecodesTo8BitWithTheQuantisedGreys) {
    TJPEGImage jpeg;
    Load(jpeg, MakeJPEG(64, 16, [](int x, int) { return RGB(x * 4, x * 4, x * 4); },
                        {.kind = Kind::Gray}));
    EXPECT_TRUE(jpeg.Grayscale());
    toolkit::TBitmap& bitmap = jpeg.Bitmap();
    EXPECT_EQ(bitmap.PixelFormat(), toolkit::TPixelFormat::pf8bit);
    const auto& palette = bitmap.PaletteColors();
    ASSERT_GE(palette.size(), 236u);
    EXPECT_EQ(palette[0], RGB(0, 0, 0));
    EXPECT_EQ(palette[235], RGB(255, 255, 255));
    EXPECT_TRUE(jpeg.PaletteModified());
    ASSERT_NE(jpeg.GetPalette(), nullptr);
}

TEST(TJPEGImage, ProgressiveOnePixelHighAndCMYKPicturesDecode) {
    struct Case {
        int width, height;
        testjpeg::Recipe recipe;
    };
    for (const Case& c : {Case{200, 150, {.progressive = true}}, Case{57, 1, {}},
                          Case{40, 24, {.kind = Kind::CMYK, .quality = 95}}}) {
        TJPEGImage jpeg;
        Load(jpeg, MakeJPEG(
                       c.width, c.height, [](int, int) { return RGB(30, 160, 90); }, c.recipe));
        EXPECT_EQ(jpeg.Progressive(), c.recipe.progressive);
        toolkit::TBitmap& bitmap = jpeg.Bitmap();
        ASSERT_EQ(bitmap.Width(), c.width);
        ASSERT_EQ(bitmap.Height(), c.height);
        EXPECT_EQ(bitmap.PixelFormat(), toolkit::TPixelFormat::pf24bit);
        EXPECT_LE(ColorDistance(BitmapPixel(bitmap, c.width - 1, c.height - 1), RGB(30, 160, 90)),
                  8)
            << c.width << " x " << c.height;
    }
}

TEST(TJPEGImage, TextFailsWithCode53AndKeepsTheBytesButNoSize) {
    const std::string text = "Plain text, not a picture.\r\n";
    const auto path = TempFile("text.jpg", {text.begin(), text.end()});
    TJPEGImage jpeg;
    EXPECT_EQ(ErrorOf([&] { jpeg.LoadFromFile(path.string()); }), "JPEG error #53");
    EXPECT_EQ(jpeg.Width(), 0);
    EXPECT_EQ(jpeg.Height(), 0);
    EXPECT_FALSE(jpeg.Empty());
    ASSERT_NE(jpeg.Image().Data(), nullptr);
    EXPECT_EQ(jpeg.Image().Data()->Size(), static_cast<std::int64_t>(text.size()));
}

TEST(TJPEGImage, AnEmptyStreamLoadsAsAPictureOfNoSizeThatIsNotEmpty) {
    TJPEGImage jpeg;
    Load(jpeg, {});
    EXPECT_EQ(jpeg.Width(), 0);
    EXPECT_EQ(jpeg.Height(), 0);
    EXPECT_FALSE(jpeg.Empty());
    // There is nothing to decode.
    EXPECT_THROW(jpeg.Bitmap(), EJPEG);
}

TEST(TJPEGImage, AFailedDecodingKeepsItsBitmapAndReportsTheEnd) {
    auto bytes = MakeJPEG(16, 16, [](int, int) { return RGB(1, 2, 3); });
    const long sof = testjpeg::FindMarker(bytes, 0xC0);
    ASSERT_GT(sof, 0);
    bytes[sof + 5] = bytes[sof + 7] = 0xFF; // 65 000-odd pixels each way
    TJPEGImage jpeg;
    Load(jpeg, bytes);
    EXPECT_GT(jpeg.Width(), 60000);
    std::vector<TProgressStage> stages;
    std::vector<int> percents;
    jpeg.OnProgress = [&](TJPEGImage&, const TJPEGProgress& p) {
        stages.push_back(p.Stage);
        percents.push_back(p.PercentDone);
    };
    EXPECT_EQ(ErrorOf([&] { jpeg.Bitmap(); }), "JPEG error #41");
    EXPECT_TRUE(jpeg.Decoded());
    EXPECT_TRUE(jpeg.Bitmap().Empty()); // kept, not decoded again
    ASSERT_EQ(stages.size(), 2u);
    EXPECT_EQ(stages.front(), TProgressStage::Starting);
    EXPECT_EQ(stages.back(), TProgressStage::Ending);
    EXPECT_EQ(percents.back(), 0);
}

TEST(TJPEGImage, TruncatedPicturesDecodeWithWhatIsThere) {
    auto bytes =
        MakeJPEG(320, 240, [](int x, int y) { return testjpeg::Gradient(x, y, 320, 240); });
    bytes.resize(bytes.size() / 3);
    TJPEGImage jpeg;
    Load(jpeg, bytes);
    EXPECT_EQ(jpeg.Bitmap().Width(), 320);
    EXPECT_EQ(jpeg.Bitmap().Height(), 240);
}

TEST(TJPEGImage, TheSizeCannotBeSet) {
    TJPEGImage jpeg;
    EXPECT_EQ(ErrorOf([&] { jpeg.SetWidth(10); }), "Cannot change the size of a JPEG image");
    EXPECT_EQ(ErrorOf([&] { jpeg.SetHeight(10); }), "Cannot change the size of a JPEG image");
    EXPECT_THROW(jpeg.SetWidth(1), toolkit::EInvalidGraphicOperation);
}

TEST(TJPEGImage, ReadDataTakesACountedBlockAndRefusesCountsTheStreamCannotBack) {
    const auto bytes = MakeJPEG(24, 8, [](int, int) { return RGB(9, 9, 9); });
    toolkit::TMemoryStream stream;
    const auto count = static_cast<std::uint32_t>(bytes.size());
    stream.WriteBuffer(&count, 4);
    stream.WriteBuffer(bytes.data(), bytes.size());
    stream.WriteBuffer("tail", 4);
    stream.SetPosition(0);
    TJPEGImage jpeg;
    jpeg.ReadData(stream);
    EXPECT_EQ(jpeg.Width(), 24);
    EXPECT_EQ(stream.Remaining(), 4);

    for (std::uint32_t claimed : {0x7FFFFFF0u, 0xFFFFFFFFu}) {
        toolkit::TMemoryStream shortStream;
        shortStream.WriteBuffer(&claimed, 4);
        shortStream.WriteBuffer(bytes.data(), 10);
        shortStream.SetPosition(0);
        EXPECT_EQ(ErrorOf([&] { jpeg.ReadData(shortStream); }), "Stream read error");
        EXPECT_EQ(jpeg.Width(), 0);
    }
}

TEST(TJPEGImage, AssignSharesTheBytesAndCopiesTheDecodedBitmap) {
    TJPEGImage source;
    Load(source, MakeJPEG(48, 32, [](int x, int y) { return RedOverBlue(x, y, 32); }));

    TJPEGImage undecoded;
    undecoded.Assign(&source);
    EXPECT_EQ(&undecoded.Image(), &source.Image());
    EXPECT_EQ(source.Image().RefCount(), 2);
    EXPECT_FALSE(undecoded.Decoded());
    EXPECT_EQ(undecoded.Width(), 48);

    source.Bitmap();
    TJPEGImage copy;
    copy.Assign(&source);
    ASSERT_TRUE(copy.Decoded());
    EXPECT_NE(&copy.Bitmap(), &source.Bitmap());
    EXPECT_EQ(BitmapPixel(copy.Bitmap(), 3, 3), BitmapPixel(source.Bitmap(), 3, 3));
    EXPECT_EQ(source.Image().RefCount(), 3);

    // Loading again lets go of the shared bytes.
    Load(copy, MakeJPEG(8, 8, [](int, int) { return RGB(0, 0, 0); }));
    EXPECT_EQ(source.Image().RefCount(), 2);
    EXPECT_EQ(copy.Width(), 8);
}

TEST(TJPEGImage, AssignsFromAndToToolkitBitmaps) {
    TJPEGImage jpeg;
    Load(jpeg, MakeJPEG(16, 16, [](int x, int y) { return RedOverBlue(x, y, 16); }));
    toolkit::TBitmap bitmap;
    bitmap.Assign(&jpeg);
    ASSERT_EQ(bitmap.Width(), 16);
    EXPECT_LE(ColorDistance(BitmapPixel(bitmap, 2, 2), RGB(220, 20, 20)), 8);

    TJPEGImage fromBitmap;
    fromBitmap.Assign(&bitmap);
    EXPECT_EQ(fromBitmap.Image().Data(), nullptr);
    EXPECT_EQ(fromBitmap.Width(), 16);
    EXPECT_FALSE(fromBitmap.Empty());
    EXPECT_EQ(BitmapPixel(fromBitmap.Bitmap(), 2, 2), BitmapPixel(bitmap, 2, 2));
    toolkit::TMemoryStream out;
    EXPECT_THROW(fromBitmap.SaveToStream(out), toolkit::EInvalidGraphicOperation);

    EXPECT_EQ(ErrorOf([&] { jpeg.Assign(nullptr); }), "Cannot assign a nil to a TJPEGImage");
}

TEST(TJPEGImage, SavesTheBytesItLoaded) {
    const auto bytes = MakeJPEG(10, 10, [](int, int) { return RGB(50, 60, 70); });
    TJPEGImage jpeg;
    Load(jpeg, bytes);
    toolkit::TMemoryStream out;
    jpeg.SaveToStream(out);
    EXPECT_EQ(out.Bytes(), bytes);
}

TEST(TJPEGImage, DrawsTheDecodedPictureStretchedIntoACanvas) {
    TJPEGImage jpeg;
    Load(jpeg, MakeJPEG(32, 32, [](int x, int y) { return RedOverBlue(x, y, 32); }));
    toolkit::TBitmap target;
    target.SetSize(8, 8);
    target.Canvas().StretchDraw({0, 0, 8, 8}, jpeg);
    EXPECT_LE(ColorDistance(target.Canvas().Pixels(1, 1), RGB(220, 20, 20)), 8);
    EXPECT_LE(ColorDistance(target.Canvas().Pixels(6, 6), RGB(20, 20, 220)), 8);

    // A picture that was never loaded draws nothing.
    TJPEGImage nothing;
    target.Canvas().StretchDraw({0, 0, 8, 8}, nothing);
    EXPECT_FALSE(nothing.Decoded());
}

TEST(TJPEGImage, IsRegisteredForJpegAndJpgFiles) {
    for (const char* extension : {"jpg", "JPEG", ".jpg"}) {
        const toolkit::TFileFormat* format = toolkit::TPicture::FindFileFormat(extension);
        ASSERT_NE(format, nullptr) << extension;
        EXPECT_EQ(format->description, "JPEG Image File");
        EXPECT_EQ(format->className, "TJPEGImage");
        EXPECT_EQ(format->create()->ClassName(), "TJPEGImage");
    }
    const auto path =
        TempFile("picture.JPG", MakeJPEG(12, 7, [](int, int) { return RGB(1, 1, 1); }));
    toolkit::TPicture picture;
    picture.LoadFromFile(path.string());
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->ClassName(), "TJPEGImage");
    EXPECT_EQ(picture.Width(), 12);
}

TEST(TJPEGImage, EntersATDIBAsA24BitPicture) {
    TJPEGImage jpeg;
    Load(jpeg,
         MakeJPEG(40, 32, [](int, int y) { return y < 16 ? RGB(200, 200, 200) : RGB(40, 40, 40); },
                  {.kind = Kind::Gray}));
    TDIB dib;
    dib.Assign(&jpeg);
    EXPECT_EQ(dib.BitCount(), 24);
    ASSERT_EQ(dib.Width(), 40);
    ASSERT_EQ(dib.Height(), 32);
    // The greys of the 8-bit decoded picture arrive as they are, the light half on top.
    for (const auto& [y, grey] : {std::pair{3, 200u}, {28, 40u}}) {
        const std::uint32_t pixel = dib.Pixels(3, y);
        EXPECT_EQ(pixel & 0xFF, (pixel >> 16) & 0xFF);
        EXPECT_NEAR(pixel & 0xFF, grey, 4) << "row " << y;
    }
}

TEST(TJPEGImage, EntersATDIBStraightFromTheDecoderWithTheDrawnPicturesPixels) {
    const auto bytes =
        MakeJPEG(37, 23, [](int x, int y) { return testjpeg::Gradient(x, y, 37, 23); });
    TJPEGImage jpeg;
    Load(jpeg, bytes);
    TDIB dib;
    dib.Assign(&jpeg);
    EXPECT_FALSE(jpeg.Decoded()); // no second copy of the picture kept
    EXPECT_FALSE(dib.Image().MemoryImage());
    ASSERT_EQ(dib.BitCount(), 24);
    ASSERT_EQ(dib.Width(), 37);
    ASSERT_EQ(dib.Height(), 23);

    // The same pixels as drawing the decoded bitmap, which the JPEG still makes on request.
    TJPEGImage decoded;
    Load(decoded, bytes);
    decoded.Bitmap();
    TDIB drawn;
    drawn.Assign(&decoded);
    toolkit::TBitmap& bitmap = jpeg.Bitmap();
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            const Color c = BitmapPixel(bitmap, x, y);
            ASSERT_EQ(dib.Pixels(x, y), c) << x << ", " << y;
            ASSERT_EQ(drawn.Pixels(x, y), c) << x << ", " << y;
        }
    }
}

TEST(TJPEGImage, EnteringATDIBLeavesACopySharingItsStoreAlone) {
    TJPEGImage red, blue;
    Load(red, MakeJPEG(16, 8, [](int, int) { return RGB(230, 10, 10); }));
    Load(blue, MakeJPEG(16, 8, [](int, int) { return RGB(10, 10, 230); }));
    TDIB dib, copy;
    dib.Assign(&red);
    copy.Assign(&dib);
    dib.Assign(&blue);
    EXPECT_NE(&dib.Image(), &copy.Image());
    EXPECT_LE(ColorDistance(copy.Pixels(4, 4), RGB(230, 10, 10)), 6);
    EXPECT_LE(ColorDistance(dib.Pixels(4, 4), RGB(10, 10, 230)), 6);

    // Its own unshared store of the same size is taken again, all of it overwritten.
    const TDIBSharedImage* store = &dib.Image();
    dib.Assign(&red);
    EXPECT_EQ(&dib.Image(), store);
    EXPECT_LE(ColorDistance(dib.Pixels(15, 7), RGB(230, 10, 10)), 6);
}

TEST(TJPEGImage, AFailureWhileEnteringATDIBLeavesItBlackAtTheJPEGsSize) {
    TJPEGImage white;
    Load(white, MakeJPEG(24, 12, [](int, int) { return RGB(255, 255, 255); }));
    // Before any row is decoded, and after all of them: either way nothing of it shows.
    for (const TProgressStage failAt : {TProgressStage::Starting, TProgressStage::Ending}) {
        TJPEGImage jpeg;
        Load(jpeg, MakeJPEG(24, 12, [](int, int) { return RGB(200, 180, 160); }));
        jpeg.OnProgress = [failAt](TJPEGImage&, const TJPEGProgress& p) {
            if (p.Stage == failAt)
                throw toolkit::EInvalidGraphic("stopped");
        };
        for (const bool reused : {false, true}) {
            TDIB dib;
            if (reused)
                dib.Assign(&white);
            EXPECT_EQ(ErrorOf([&] { dib.Assign(&jpeg); }), "stopped");
            ASSERT_EQ(dib.BitCount(), 24);
            ASSERT_EQ(dib.Width(), 24);
            ASSERT_EQ(dib.Height(), 12);
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 24; ++x)
                    ASSERT_EQ(dib.Pixels(x, y), 0u) << x << ", " << y << " reused " << reused;
        }
    }
}

TEST(TJPEGImage, AFewBytesClaimingAHugePictureDoNotMakeATDIBThatSize) {
    auto bytes = MakeJPEG(16, 16, [](int, int) { return RGB(1, 2, 3); });
    const long sof = testjpeg::FindMarker(bytes, 0xC0);
    ASSERT_GT(sof, 0);
    // 20 000 pixels each way: 1.2 GB at 24 bits, a size whose geometry is valid.
    bytes[sof + 5] = bytes[sof + 7] = 0x4E;
    bytes[sof + 6] = bytes[sof + 8] = 0x20;
    TJPEGImage jpeg;
    Load(jpeg, bytes);
    TDIB dib;
    dib.SetSize(3, 2, 24);
    EXPECT_EQ(ErrorOf([&] { dib.Assign(&jpeg); }), "Out of memory");
    EXPECT_EQ(ErrorOf([&] { dib.SetSize(20000, 20000, 8); }), "Out of memory");
    EXPECT_EQ(dib.Width(), 3);
}

TEST(TJPEGImage, AJPEGOfNoBytesLeavesATDIBEmptyAndCannotBeDrawn) {
    TJPEGImage jpeg;
    Load(jpeg, {});
    TDIB dib;
    EXPECT_EQ(ErrorOf([&] { dib.Assign(&jpeg); }), "Canvas does not allow drawing");
    EXPECT_TRUE(dib.Empty());
}

TEST(TJPEGImage, TheBundledSamplePictureLoadsAndDecodes) {
    TJPEGImage jpeg;
    jpeg.LoadFromFile(std::string(CHARVANE_SOURCE_DIR) + "/assets/sample.jpg");
    ASSERT_EQ(jpeg.Width(), 640);
    ASSERT_EQ(jpeg.Height(), 480);
    toolkit::TBitmap& bitmap = jpeg.Bitmap();
    const Color sun = BitmapPixel(bitmap, 455, 200), sky = BitmapPixel(bitmap, 320, 4);
    EXPECT_GT(platform::GetRValue(sun), 240);
    EXPECT_LT(platform::GetRValue(sky), 60);
    EXPECT_GT(platform::GetBValue(sky), platform::GetRValue(sky));
}
