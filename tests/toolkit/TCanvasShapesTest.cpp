// Shapes, lines and text on a canvas, the drawing tools' values, and image lists, drawn into a
// bitmap whose pixels are then read back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/text/TextDraw.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TGraphicsObject.h"
#include "toolkit/TImageList.h"

namespace toolkit {
namespace {

using platform::RGB;

constexpr platform::Color kWhite = RGB(255, 255, 255);
constexpr platform::Color kBlack = RGB(0, 0, 0);

class Shapes : public ::testing::Test {
protected:
    void SetUp() override {
        bmp.SetSize(40, 30);
        c().Brush().SetColor(clWhite);
        c().FillRect({0, 0, 40, 30});
    }
    TCanvas& c() { return bmp.Canvas(); }
    platform::Color P(int x, int y) { return c().Pixels(x, y); }
    // The row as a string: '#' for colour, '.' for white.
    std::string Row(int y, int x0, int x1, platform::Color colour) {
        std::string s;
        for (int x = x0; x < x1; ++x)
            s += P(x, y) == colour ? '#' : (P(x, y) == kWhite ? '.' : '?');
        return s;
    }
    TBitmap bmp;
};

TEST_F(Shapes, LinesLeaveOutTheirEndPointInEveryDirection) {
    c().Pen().SetColor(clBlack);
    c().MoveTo(2, 1);
    c().LineTo(7, 1);
    EXPECT_EQ(Row(1, 0, 9, kBlack), "..#####..");
    c().MoveTo(7, 3);
    c().LineTo(2, 3);
    EXPECT_EQ(Row(3, 0, 9, kBlack), "...#####.");
    c().MoveTo(0, 10);
    c().LineTo(4, 14); // diagonal
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(P(i, 10 + i), kBlack) << i;
    EXPECT_EQ(P(4, 14), kWhite);
    EXPECT_EQ(c().PenPos(), (platform::Point{4, 14}));
}

TEST_F(Shapes, DottedAndClearPens) {
    c().Pen().SetColor(clBlack);
    c().Pen().SetStyle(TPenStyle::psDot);
    c().MoveTo(0, 0);
    c().LineTo(14, 0);
    EXPECT_EQ(Row(0, 0, 14, kBlack), "###...###...##");
    c().Pen().SetStyle(TPenStyle::psClear);
    c().MoveTo(0, 5);
    c().LineTo(14, 5);
    EXPECT_EQ(Row(5, 0, 14, kBlack), "..............");
}

TEST_F(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    c().Pen().SetColor(clBlack);
    c().Brush().SetColor(clRed);
    c().Rectangle(2, 2, 8, 6);
    const platform::Color red = RGB(255, 0, 0);
    EXPECT_EQ(Row(2, 0, 10, kBlack), "..######..");
    EXPECT_EQ(Row(3, 3, 7, red), "####");
    EXPECT_EQ(P(2, 3), kBlack);
    EXPECT_EQ(P(7, 3), kBlack);
    EXPECT_EQ(Row(5, 0, 10, kBlack), "..######..");
    EXPECT_EQ(P(5, 6), kWhite);
    // A clear brush leaves the inside alone.
    c().Brush().SetStyle(TBrushStyle::bsClear);
    c().Pen().SetColor(clBlue);
    c().Rectangle(20, 2, 26, 6);
    EXPECT_EQ(P(22, 3), kWhite);
    EXPECT_EQ(P(20, 2), RGB(0, 0, 255));
}

TEST_F(Shapes, PolygonFillsItsInsideOnly) {
    c().Pen().SetStyle(TPenStyle::psClear);
    c().Brush().SetColor(clBlack);
    const platform::Point triangle[] = {{0, 0}, {20, 0}, {0, 20}};
    c().Polygon(triangle);
    EXPECT_EQ(P(2, 2), kBlack);
    EXPECT_EQ(P(15, 2), kBlack);
    EXPECT_EQ(P(15, 15), kWhite);
    EXPECT_EQ(P(1, 17), kBlack);
    EXPECT_EQ(P(25, 2), kWhite);
    const platform::Point tooFew[] = {{30, 0}};
    c().Polygon(tooFew);
    EXPECT_EQ(P(30, 0), kWhite);
}

TEST_F(Shapes, TextDrawsInTheFontColourOverTheBrushOrTransparently) {
    c().Font().SetColor(clBlack);
    c().Brush().SetColor(clYellow);
    c().TextOut(1, 1, "W");
    const platform::Size size = c().TextExtent("W");
    EXPECT_GT(size.cx, 4);
    EXPECT_EQ(size.cy, c().TextHeight("W"));
    int dark = 0, yellow = 0;
    for (int y = 1; y < 1 + size.cy; ++y)
        for (int x = 1; x < 1 + size.cx; ++x) {
            dark += platform::GetRValue(P(x, y)) < 128; // antialiased ink
            yellow += P(x, y) == RGB(255, 255, 0);
        }
    EXPECT_GT(dark, 3);
    EXPECT_GT(yellow, 3);
    EXPECT_EQ(c().PenPos().x, 1 + size.cx);

    c().Brush().SetStyle(TBrushStyle::bsClear);
    c().TextOut(20, 1, "W");
    int notWhiteOrInk = 0;
    for (int y = 1; y < 1 + size.cy; ++y)
        for (int x = 20; x < 20 + size.cx; ++x)
            notWhiteOrInk += P(x, y) == RGB(255, 255, 0);
    EXPECT_EQ(notWhiteOrInk, 0);
}

TEST_F(Shapes, TextRectClipsToItsRectangle) {
    c().Font().SetColor(clBlack);
    c().Brush().SetColor(clWhite);
    c().TextRect({5, 5, 8, 20}, 2, 5, "WWWW");
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if (x < 5 || x >= 8 || y < 5 || y >= 20) {
                ASSERT_EQ(P(x, y), kWhite) << x << "," << y;
            }
}

TEST_F(Shapes, DrawTextMeasuresWithCalcRect) {
    platform::Rect r{0, 0, 1000, 0};
    const int h = c().DrawText("one\r\ntwo", r, platform::DT_CALCRECT);
    EXPECT_EQ(h, 2 * c().TextHeight("W"));
    EXPECT_EQ(r.bottom, h);
    EXPECT_LT(r.right, 1000);
    // Nothing was drawn.
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(P(x, 5), kWhite);
}

TEST_F(Shapes, ACanvasWithoutContextRefusesToDraw) {
    TCanvas bare;
    EXPECT_THROW(bare.TextOut(0, 0, "x"), EInvalidOperation);
    EXPECT_THROW(bare.LineTo(3, 3), EInvalidOperation);
    EXPECT_EQ(bare.TextWidth(""), 0); // measuring needs no context
}

TEST(TFont, SizeAndHeightConvertAtNinetySixPixelsPerInch) {
    TFont f;
    EXPECT_EQ(f.Name(), "MS Sans Serif");
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    const std::pair<int, int> sizes[] = {{8, -11}, {10, -13}, {12, -16}, {20, -27}, {1, -1}};
    for (auto [points, height] : sizes) {
        f.SetSize(points);
        EXPECT_EQ(f.Height(), height) << points;
        EXPECT_EQ(f.Size(), points) << height;
    }
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetHeight(-13);
    f.SetHeight(-13);
    f.SetStyle({TFontStyle::fsBold});
    TFont g;
    g.Assign(&f);
    EXPECT_TRUE(g.SameAs(f));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(f.Handle()->Logical().lfWeight, platform::FW_BOLD);
    EXPECT_EQ(f.Handle()->Logical().lfHeight, -13);
}

// Any number typed as a size gives a font: heights beyond 32 bits saturate, nothing wraps or
// negates INT_MIN (UBSan), and the font engine caps what it draws.
TEST(TFont, EverySizeGivesADefinedFont) {
    TFont f;
    const std::pair<int, int> sizes[] = {{1610612735, -2147483647},
                                         {1610612736, -2147483647},
                                         {INT32_MAX, -2147483647},
                                         {-1610612736, 2147483647},
                                         {INT32_MIN, 2147483647}};
    for (auto [points, height] : sizes) {
        f.SetSize(points);
        EXPECT_EQ(f.Height(), height) << points;
        EXPECT_EQ(f.Size(), points < 0 ? -1610612735 : 1610612735) << points;
        ASSERT_NE(f.Handle(), nullptr);
        EXPECT_LE(f.Handle()->Metrics().tmAscent, 4000) << points;
    }
    f.SetHeight(INT32_MIN);
    EXPECT_EQ(f.Size(), 1610612736);
    EXPECT_NE(f.Handle(), nullptr);
}

TEST(TImageList, DrawsWithTheMagentaKeyTransparentAndAGreyShapeWhenDisabled) {
    TImageList list(nullptr);
    // A 16 × 16 picture: a red square 4..11 on magenta.
    std::vector<std::uint8_t> bgr(16 * 16 * 3);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            std::uint8_t* p = &bgr[(y * 16 + x) * 3];
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            p[0] = inside ? 0 : 255;
            p[1] = 0;
            p[2] = 255;
        }
    EXPECT_EQ(list.AddPixels(16, 16, bgr), 0);
    EXPECT_THROW(list.AddPixels(8, 8, std::vector<std::uint8_t>(8 * 8 * 3)), EInvalidOperation);
    EXPECT_EQ(list.Count(), 1);

    TBitmap target;
    target.SetSize(40, 20);
    target.Canvas().Brush().SetColor(clLime);
    target.Canvas().FillRect({0, 0, 40, 20});
    list.Draw(target.Canvas(), 0, 0, 0, true);
    list.Draw(target.Canvas(), 20, 0, 0, false);
    list.Draw(target.Canvas(), 0, 0, 5, true); // not in the list: nothing
    auto px = [&](int x, int y) { return target.Canvas().Pixels(x, y); };
    EXPECT_EQ(px(1, 1), RGB(0, 255, 0));
    EXPECT_EQ(px(6, 6), RGB(255, 0, 0));
    EXPECT_EQ(px(21, 1), RGB(0, 255, 0));
    EXPECT_EQ(px(26, 6), ColorToRGB(clBtnShadow));
    EXPECT_EQ(px(32, 12), ColorToRGB(clBtnHighlight));  // the highlight one pixel down-right
    EXPECT_EQ(target.Canvas().Brush().Color(), clLime); // the canvas's brush is kept

    list.SetBkColor(clWhite);
    list.Draw(target.Canvas(), 0, 0, 0, true);
    EXPECT_EQ(px(1, 1), kWhite);
}

} // namespace
} // namespace toolkit
