#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/Exceptions.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TPicture.h"

using namespace toolkit;
using platform::RGB;

namespace {

class TFakeGraphic : public TGraphic {
public:
    std::string ClassName() const override { return "TFakeGraphic"; }
    std::int32_t Width() const override { return 2; }
    std::int32_t Height() const override { return 2; }
    bool Empty() const override { return false; }
    void SetWidth(std::int32_t) override {}
    void SetHeight(std::int32_t) override {}
    void Draw(TCanvas&, const platform::Rect& rect) override { drawnInto = rect; }
    void LoadFromStream(TStream& stream) override { loaded = stream.Size(); }
    void SaveToStream(TStream&) override {}
    void Assign(const TPersistent* source) override {
        if (dynamic_cast<const TFakeGraphic*>(source) == nullptr)
            TGraphic::Assign(source);
    }
    platform::Rect drawnInto;
    std::int64_t loaded = -1;
};

} // namespace

TEST(TPicture, RegistryListsFormatsForTheFileDialog) {
    auto create = [] { return std::unique_ptr<TGraphic>(new TFakeGraphic); };
    TPicture::RegisterFileFormat("fk1", "Fake One", "TFakeGraphic", create);
    TPicture::RegisterFileFormat(".FK2", "Fake Two", "TFakeGraphic", create);
    ASSERT_NE(TPicture::FindFileFormat("FK1"), nullptr);
    EXPECT_EQ(TPicture::FindFileFormat(".fk2")->description, "Fake Two");
    const std::string filter = TPicture::GraphicFilter();
    EXPECT_NE(filter.find("*.fk1;*.fk2"), std::string::npos) << filter;
    EXPECT_NE(filter.find("|Fake Two (*.fk2)|*.fk2"), std::string::npos) << filter;
    // The program's types come first, the toolkit's own after them, all in the "All" entry.
    EXPECT_LT(filter.find("*.fk2"), filter.find("*.bmp")) << filter;
    EXPECT_NE(filter.find(";*.bmp;*.ico;*.emf;*.wmf)"), std::string::npos) << filter;

    TPicture::UnregisterGraphicClass("TFakeGraphic");
    EXPECT_EQ(TPicture::FindFileFormat("fk1"), nullptr);
    EXPECT_EQ(TPicture::GraphicFilter().find("fk"), std::string::npos);
}

TEST(TPicture, LoadFromFilePicksTheClassByExtension) {
    TPicture picture;
    try {
        picture.LoadFromFile("/tmp/whatever.xyz");
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
    }
    // Listed for the dialogs, but nothing here reads icons.
    EXPECT_THROW(
        try { picture.LoadFromFile("/tmp/whatever.ico"); } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), "Icons cannot be read");
            throw;
        },
        EInvalidGraphic);
    TPicture::RegisterFileFormat("fk3", "Fake", "TFakeGraphic",
                                 [] { return std::unique_ptr<TGraphic>(new TFakeGraphic); });
    const std::string path = ::testing::TempDir() + "picture.FK3";
    TMemoryStream bytes(std::vector<std::uint8_t>(5, 1));
    bytes.SaveToFile(path);
    picture.LoadFromFile(path);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(static_cast<TFakeGraphic*>(picture.Graphic())->loaded, 5);
    TPicture::UnregisterGraphicClass("TFakeGraphic");
}

TEST(TPersistent, UnknownPairsCannotBeAssigned) {
    TFakeGraphic fake;
    TBitmap bitmap;
    try {
        bitmap.Assign(&fake);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TFakeGraphic to a TBitmap");
    }
    try {
        fake.Assign(nullptr);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TFakeGraphic");
    }
}

TEST(TCanvas, WithoutContextDoesNotAllowDrawing) {
    TCanvas canvas;
    TFakeGraphic fake;
    int changing = 0;
    canvas.OnChanging = [&] { ++changing; };
    for (auto draw :
         {std::function<void()>([&] {
              canvas.FillRect({0, 0, 1, 1});
          }),
          std::function<void()>([&] { canvas.Draw(0, 0, fake); }), std::function<void()>([&] {
              canvas.StretchDraw({0, 0, 1, 1}, fake);
          })}) {
        try {
            draw();
            ADD_FAILURE() << "no exception";
        } catch (const EInvalidOperation& e) {
            EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
        }
    }
    EXPECT_EQ(changing, 3); // the owner may supply a context in its change hook
}

TEST(TCanvas, DrawPassesTheGraphicsOwnSize) {
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    TFakeGraphic fake;
    bitmap.Canvas().Draw(1, 2, fake);
    EXPECT_EQ(fake.drawnInto, (platform::Rect{1, 2, 3, 4}));
}

TEST(TBitmap, RowsRunTopToBottomAtIncreasingAddresses) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(5, 3);
    EXPECT_EQ(bitmap.ScanLineStride(), 16);
    EXPECT_EQ(bitmap.ScanLine(1), bitmap.ScanLine(0) + 16);
    EXPECT_EQ(bitmap.ScanLine(2), bitmap.ScanLine(0) + 32);
    EXPECT_THROW(bitmap.ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
    bitmap.ScanLine(0)[0] = 0x30; // blue
    bitmap.ScanLine(0)[2] = 0x10; // red
    EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), RGB(0x10, 0, 0x30));
}

TEST(TBitmap, EightBitPaletteDrawsItsColours) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    const platform::Color colours[2] = {RGB(0, 0, 0), RGB(200, 100, 50)};
    bitmap.SetPaletteColors(colours);
    bitmap.SetSize(2, 1);
    bitmap.ScanLine(0)[1] = 1;
    ASSERT_TRUE(bitmap.GetPalette());
    EXPECT_EQ(bitmap.GetPalette()->Entries().size(), 2u);

    TBitmap target;
    target.SetSize(4, 2);
    target.Canvas().StretchDraw({0, 0, 4, 2}, bitmap);
    EXPECT_EQ(target.Canvas().Pixels(0, 1), RGB(0, 0, 0));
    EXPECT_EQ(target.Canvas().Pixels(3, 1), RGB(200, 100, 50));
}

TEST(TBitmap, StreamRoundTripAndCopy) {
    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 9; ++i)
            bitmap.ScanLine(y)[i] = static_cast<std::uint8_t>(10 * y + i);
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    ASSERT_EQ(loaded.Width(), 3);
    EXPECT_EQ(std::memcmp(loaded.ScanLine(1), bitmap.ScanLine(1), 9), 0);

    TBitmap copy;
    copy.Assign(&loaded);
    EXPECT_EQ(std::memcmp(copy.ScanLine(0), bitmap.ScanLine(0), 9), 0);

    TMemoryStream garbage(std::vector<std::uint8_t>(30, 7));
    EXPECT_THROW(loaded.LoadFromStream(garbage), EInvalidGraphic);
    EXPECT_EQ(loaded.Width(), 3);
}
