#include "image/DIB.h"

#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/Exceptions.h"

using namespace image;
using platform::RGB;

namespace {

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           std::uint32_t{bytes[offset + 3]} << 24;
}

template <typename E> std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return "(no exception)";
}

} // namespace

TEST(TDIB, FreshPictureIsEmptyWithGreyRamp) {
    TDIB dib;
    EXPECT_TRUE(dib.Empty());
    EXPECT_EQ(dib.Width(), 0);
    EXPECT_EQ(dib.Height(), 0);
    EXPECT_EQ(dib.BitCount(), 0);
    EXPECT_EQ(dib.Size(), 0);
    EXPECT_EQ(dib.Pixels(0, 0), 0u);
    EXPECT_EQ(dib.ColorTable(), platform::GreyRamp());
    EXPECT_EQ(dib.PixelFormat(), MakePixelFormat(8, 8, 8));
    EXPECT_EQ(&dib.Image(), &EmptyImage());
}

TEST(TDIB, SetSizeGeometry) {
    struct Case {
        std::int32_t w, h, bits, widthBytes, size, header;
    };
    for (const Case& c :
         {Case{80, 40, 8, 80, 3200, 1064}, Case{81, 1, 8, 84, 84, 1064}, Case{3, 2, 24, 12, 24, 40},
          Case{7, 1, 1, 4, 4, 48}, Case{5, 3, 4, 4, 12, 104}, Case{3, 3, 32, 12, 36, 52}}) {
        TDIB dib;
        dib.SetSize(c.w, c.h, c.bits);
        EXPECT_EQ(dib.WidthBytes(), c.widthBytes) << c.w << "x" << c.h << "@" << c.bits;
        EXPECT_EQ(dib.Size(), c.size);
        EXPECT_EQ(static_cast<std::int32_t>(dib.Image().HeaderBlock().size()), c.header);
        EXPECT_TRUE(dib.Image().MemoryImage());
    }
    TDIB grey;
    grey.SetSize(80, 40, 8);
    EXPECT_EQ(grey.ColorTableSize(), 256);
    const auto& header = grey.Image().HeaderBlock();
    EXPECT_EQ(std::memcmp(header.data() + 40, platform::GreyRamp().data(), 1024), 0);
}

TEST(TDIB, SixteenBitsNeedA16BitLayout) {
    TDIB dib;
    EXPECT_EQ(MessageOf<toolkit::EInvalidGraphicOperation>([&] { dib.SetSize(10, 10, 16); }),
              "PixelFormat in invalid");
    EXPECT_TRUE(dib.Empty());
    dib.PixelFormat() = MakePixelFormat(5, 6, 5);
    dib.SetSize(10, 10, 16);
    const auto& header = dib.Image().HeaderBlock();
    EXPECT_EQ(U32At(header, 16), 3u);
    EXPECT_EQ(U32At(header, 40), 0xF800u);
    EXPECT_EQ(U32At(header, 44), 0x07E0u);
    EXPECT_EQ(U32At(header, 48), 0x001Fu);
}

TEST(TDIB, BadSizesAreRefusedAndKeepThePicture) {
    TDIB dib;
    dib.SetSize(4, 4, 8);
    const TDIBSharedImage* before = &dib.Image();
    EXPECT_EQ(MessageOf<toolkit::EInvalidGraphicOperation>([&] { dib.SetSize(10, 10, 2); }),
              "Bitcount in invalid (2)");
    EXPECT_EQ(MessageOf<toolkit::EInvalidGraphic>([&] { dib.SetSize(0x7FFFFFFF, 2, 32); }),
              "DIB is invalid");
    EXPECT_EQ(MessageOf<toolkit::EInvalidGraphic>([&] { dib.SetSize(40000, 40000, 24); }),
              "DIB is invalid");
    EXPECT_EQ(&dib.Image(), before);
    dib.SetSize(0, 10, 8);
    EXPECT_TRUE(dib.Empty());
}

TEST(TDIB, SameSizeKeepsStoreAndPixels) {
    TDIB dib;
    dib.SetSize(3, 3, 8);
    dib.ScanLine(1)[1] = 77;
    const TDIBSharedImage* store = &dib.Image();
    dib.SetSize(3, 3, 8);
    EXPECT_EQ(&dib.Image(), store);
    EXPECT_EQ(dib.Pixels(1, 1), 77u);
}

TEST(TDIB, PixelsReadEachLayout) {
    TDIB dib;
    dib.SetSize(4, 2, 24);
    std::uint8_t* top = dib.ScanLine(0);
    top[0] = 0x10;
    top[1] = 0x20;
    top[2] = 0x30;
    EXPECT_EQ(dib.Pixels(0, 0), 0x102030u);
    EXPECT_EQ(dib.Pixels(-1, 0), 0u);
    EXPECT_EQ(dib.Pixels(4, 0), 0u);
    EXPECT_EQ(dib.Pixels(0, 2), 0u);
    // Row 0 is the top: it is stored last.
    EXPECT_EQ(dib.ScanLine(0), dib.PBits() + dib.WidthBytes());

    TDIB mono;
    mono.SetSize(8, 1, 1);
    mono.ScanLine(0)[0] = 0xA0;
    const std::uint32_t expected[8] = {1, 0, 1, 0, 0, 0, 0, 0};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(mono.Pixels(x, 0), expected[x]) << x;

    TDIB nibbles;
    nibbles.SetSize(3, 1, 4);
    nibbles.ScanLine(0)[0] = 0xAB;
    nibbles.ScanLine(0)[1] = 0xC0;
    EXPECT_EQ(nibbles.Pixels(0, 0), 0xAu);
    EXPECT_EQ(nibbles.Pixels(1, 0), 0xBu);
    EXPECT_EQ(nibbles.Pixels(2, 0), 0xCu);

    TDIB words;
    words.PixelFormat() = MakePixelFormat(5, 6, 5);
    words.SetSize(1, 1, 16);
    words.ScanLine(0)[0] = 0x34;
    words.ScanLine(0)[1] = 0x12;
    EXPECT_EQ(words.Pixels(0, 0), 0x1234u);
}

TEST(TDIB, AssignSharesAndDrawingCopiesOnWrite) {
    TDIB first;
    first.SetSize(4, 4, 24);
    std::memset(first.PBits(), 0x40, static_cast<std::size_t>(first.Size()));
    TDIB second;
    second.Assign(&first);
    EXPECT_EQ(&first.Image(), &second.Image());
    EXPECT_EQ(first.Image().RefCount(), 2);

    second.Canvas().Brush().SetColor(RGB(255, 0, 0));
    second.Canvas().FillRect({0, 0, 4, 4});
    EXPECT_NE(&first.Image(), &second.Image());
    EXPECT_EQ(first.Pixels(1, 1), 0x404040u);
    EXPECT_EQ(second.Pixels(1, 1), 0x0000FFu);
    EXPECT_FALSE(second.Image().MemoryImage());

    // Writing pixel data unshares too, and keeps a memory-only store memory-only.
    TDIB third;
    third.Assign(&first);
    third.PBits()[0] = 1;
    EXPECT_NE(&first.Image(), &third.Image());
    EXPECT_TRUE(third.Image().MemoryImage());
    EXPECT_EQ(first.PBits()[0], 0x40);
}

TEST(TDIB, CanvasOfEmptyPictureDoesNotAllowDrawing) {
    TDIB dib;
    toolkit::TCanvas& canvas = dib.Canvas();
    EXPECT_EQ(MessageOf<toolkit::EInvalidOperation>([&] {
                  canvas.FillRect({0, 0, 1, 1});
              }),
              "Canvas does not allow drawing");
    TDIB source;
    source.SetSize(2, 2, 24);
    EXPECT_EQ(MessageOf<toolkit::EInvalidOperation>([&] {
                  canvas.StretchDraw({0, 0, 1, 1}, source);
              }),
              "Canvas does not allow drawing");
    // Once sized, the same canvas draws.
    dib.SetSize(2, 2, 8);
    dib.Canvas().FillRect({0, 0, 2, 2});
    EXPECT_EQ(dib.Pixels(1, 1), 255u);
}

TEST(TDIB, WidthAndHeightSetters) {
    TDIB dib;
    dib.SetWidth(5);
    EXPECT_EQ(dib.Width(), 5);
    EXPECT_EQ(dib.Height(), 1);
    EXPECT_EQ(dib.BitCount(), 8);
    dib.SetSize(5, 3, 24);
    dib.SetHeight(7);
    EXPECT_EQ(dib.Width(), 5);
    EXPECT_EQ(dib.BitCount(), 24);
    dib.SetWidth(0);
    EXPECT_TRUE(dib.Empty());
}

TEST(TDIB, ColorTableChangeUnsharesAndReachesPixels) {
    TDIB a;
    a.SetSize(2, 1, 8);
    a.ScanLine(0)[0] = 3;
    TDIB b;
    b.Assign(&a);
    b.ColorTable()[3] = {0, 0, 200, 0};
    b.ApplyColorTable();
    EXPECT_NE(&a.Image(), &b.Image());
    EXPECT_EQ(a.Image().ColorTable()[3], (platform::RgbQuad{3, 3, 3, 0}));
    EXPECT_EQ(b.Image().ColorTable()[3], (platform::RgbQuad{0, 0, 200, 0}));
    EXPECT_TRUE(b.PaletteModified());
}

TEST(TPaletteManager, EqualTablesShareOnePalette) {
    TDIB a;
    a.SetSize(2, 2, 8);
    TDIB b;
    b.SetSize(3, 3, 8);
    const auto pa = a.GetPalette();
    const auto pb = b.GetPalette();
    ASSERT_TRUE(pa);
    EXPECT_EQ(pa, pb);
    EXPECT_EQ(pa->Entries().size(), 256u);
    EXPECT_EQ(pa->Entries()[200], (platform::PaletteEntry{200, 200, 200, 0}));

    auto held = pa;
    PaletteManager().DeletePalette(held);
    EXPECT_EQ(held, nullptr);
    EXPECT_EQ(b.GetPalette(), pb); // the other reference keeps it

    TDIB c;
    c.SetSize(1, 1, 24);
    EXPECT_EQ(c.GetPalette(), nullptr);
}

TEST(TDIBPixelFormat, MasksMeasureRunsNotPositions) {
    EXPECT_EQ(MakePixelFormat(5, 5, 5).Masks(), platform::kMasks555);
    EXPECT_EQ(MakePixelFormat(5, 6, 5).Masks(), platform::kMasks565);
    EXPECT_EQ(MakePixelFormat(8, 8, 8).Masks(), platform::kMasks888);
    EXPECT_EQ(MakePixelFormatFromMasks(0xF800, 0x07E0, 0x001F), MakePixelFormat(5, 6, 5));
    EXPECT_EQ(MakePixelFormatFromMasks(0xFF000000, 0xFF0, 0xFF0000), MakePixelFormat(8, 8, 8));
    EXPECT_EQ(MakePixelFormatFromMasks(0, 0, 0), MakePixelFormat(0, 0, 0));
    EXPECT_EQ(MakePixelFormatFromMasks(0x80000000, 1, 1).RBitCount, 0u);
    EXPECT_EQ(MakePixelFormat(10, 10, 10).RBitMask, 0x3FF00000u);
}

TEST(TDIB, CanvasContextNeverDrawsIntoASharedStore) {
    TDIB first;
    first.SetSize(2, 2, 24);
    first.Canvas(); // a surface store
    TDIB second;
    second.Assign(&first);
    platform::DeviceContext& dc = second.Canvas().Handle();
    platform::FillRect(dc, {0, 0, 2, 2}, RGB(9, 9, 9));
    EXPECT_EQ(first.Pixels(0, 0), 0u);
    EXPECT_EQ(second.Pixels(0, 0), 0x090909u);
}
