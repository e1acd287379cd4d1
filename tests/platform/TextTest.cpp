#include <gtest/gtest.h>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/text/TextDraw.h"
#include "platform/gfx/text/Utf8.h"

namespace platform {
namespace {

std::shared_ptr<Font> Make(const std::string& face, int height, int weight = FW_NORMAL) {
    LOGFONT lf;
    lf.lfFaceName = face;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    auto f = CreateFontIndirect(lf);
    EXPECT_TRUE(f) << face;
    return f;
}

int Width(const Font& f, const std::string& s) {
    return TextExtent(f, Utf8ToUtf32(s)).cx;
}

TEST(Fonts, ClassicFacesMapToMetricCompatibleOnes) {
    EXPECT_NE(Make("MS Sans Serif", -11)->FaceFile().find("LiberationSans-Regular"),
              std::string::npos);
    EXPECT_NE(Make("Courier New", -13)->FaceFile().find("LiberationMono"), std::string::npos);
    EXPECT_NE(Make("Times New Roman", -13)->FaceFile().find("LiberationSerif"), std::string::npos);
    EXPECT_NE(Make("MS Sans Serif", -11, FW_BOLD)->FaceFile().find("LiberationSans-Bold"),
              std::string::npos);
    EXPECT_TRUE(Make("No Such Face At All", -11)) << "an unknown face still gives a font";
}

// Fonts are handed out again for the same request (skin changes ask for the same ones over and
// over); any difference in the request must still give its own font.
TEST(Fonts, TheSameRequestGetsTheSameFontAndAnyDifferenceAnother) {
    LOGFONT lf;
    lf.lfFaceName = "Arial";
    lf.lfHeight = -13;
    const auto first = CreateFontIndirect(lf);
    EXPECT_EQ(CreateFontIndirect(lf), first);
    std::vector<LOGFONT> others(6, lf);
    others[0].lfHeight = -14;
    others[1].lfWeight = FW_BOLD;
    others[2].lfItalic = true;
    others[3].lfUnderline = true;
    others[4].lfStrikeOut = true;
    others[5].lfFaceName = "Courier New";
    for (const LOGFONT& other : others) {
        const auto font = CreateFontIndirect(other);
        ASSERT_TRUE(font);
        EXPECT_NE(font, first);
        EXPECT_EQ(font->Logical().lfUnderline, other.lfUnderline);
        EXPECT_EQ(font->Logical().lfStrikeOut, other.lfStrikeOut);
    }
}

TEST(Fonts, HeightsFollowTheSignConvention) {
    const auto gui = Make("MS Sans Serif", -11);
    EXPECT_EQ(gui->Metrics().tmHeight, 13) << "the interface font's cell";
    EXPECT_EQ(gui->Metrics().tmAscent + gui->Metrics().tmDescent, gui->Metrics().tmHeight);
    EXPECT_EQ(gui->Metrics().tmInternalLeading, 2);
    const auto cell = Make("Arial", 20);
    EXPECT_NEAR(cell->Metrics().tmHeight, 20, 1) << "a positive height is the cell";
    EXPECT_EQ(DefaultGuiFont()->Metrics().tmHeight, 13);
    EXPECT_GT(gui->Metrics().tmAveCharWidth, 3);
}

TEST(Fonts, WidthsDependOnFaceAndWeight) {
    const auto mono = Make("Courier New", -13);
    EXPECT_TRUE(mono->Metrics().tmFixedPitch);
    EXPECT_EQ(Width(*mono, "iii"), Width(*mono, "WWW"));
    const auto sans = Make("Arial", -13);
    EXPECT_LT(Width(*sans, "iii"), Width(*sans, "WWW"));
    EXPECT_GT(Width(*Make("Arial", -13, FW_BOLD), "Hello"), Width(*sans, "Hello"));
    EXPECT_EQ(Width(*sans, ""), 0);
}

// Fonts are made once per description and shared after; every part of the description counts.
TEST(Fonts, OneFontPerDescription) {
    LOGFONT lf;
    lf.lfHeight = -11;
    const auto plain = CreateFontIndirect(lf);
    EXPECT_EQ(CreateFontIndirect(lf), plain);
    for (auto change : std::initializer_list<void (*)(LOGFONT&)>{
             [](LOGFONT& f) { f.lfHeight = -12; }, [](LOGFONT& f) { f.lfWeight = FW_BOLD; },
             [](LOGFONT& f) { f.lfItalic = true; }, [](LOGFONT& f) { f.lfUnderline = true; },
             [](LOGFONT& f) { f.lfStrikeOut = true; },
             [](LOGFONT& f) { f.lfFaceName = "Courier New"; }}) {
        LOGFONT other = lf;
        change(other);
        const auto font = CreateFontIndirect(other);
        ASSERT_TRUE(font);
        EXPECT_NE(font, plain);
        EXPECT_EQ(font->Logical().lfHeight, other.lfHeight);
        EXPECT_EQ(font->Logical().lfUnderline, other.lfUnderline);
        EXPECT_EQ(font->Logical().lfStrikeOut, other.lfStrikeOut);
        EXPECT_EQ(font->Logical().lfFaceName, other.lfFaceName);
    }
}

TEST(Fonts, CyrillicIsComplete) {
    const auto f = Make("MS Sans Serif", -11);
    const std::u32string abc =
        Utf8ToUtf32("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    ASSERT_EQ(abc.size(), 66u);
    for (char32_t c : abc) {
        const Glyph& g = f->GlyphOf(c);
        EXPECT_GT(g.advance, 0) << static_cast<unsigned>(c);
        EXPECT_GT(g.width * g.height, 0) << static_cast<unsigned>(c);
    }
}

class Layout : public ::testing::Test {
protected:
    std::shared_ptr<Font> font = Make("MS Sans Serif", -11);
    int W(const std::string& s) { return Width(*font, s); }
    static std::string Text(const TextLine& l) { return Utf32ToUtf8(l.text); }
};

TEST_F(Layout, WordBreakKeepsWordsWhole) {
    const Rect r{0, 0, W("one two") + 2, 100};
    const TextLayout t = LayoutText(*font, "one two three", r, DT_WORDBREAK);
    ASSERT_EQ(t.lines.size(), 2u);
    EXPECT_EQ(Text(t.lines[0]), "one two");
    EXPECT_EQ(Text(t.lines[1]), "three");
    EXPECT_EQ(t.lines[1].y, font->Metrics().tmHeight);

    const Rect narrow{0, 0, W("ab"), 100};
    const TextLayout whole = LayoutText(*font, "abcdef", narrow, DT_WORDBREAK);
    ASSERT_EQ(whole.lines.size(), 1u) << "a long word stays whole";
    const TextLayout split = LayoutText(*font, "abcdef", narrow, DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_EQ(split.lines.size(), 3u);
}

TEST_F(Layout, LineBreaksAndCalcRect) {
    std::shared_ptr<Font> f = font;
    Rect r{10, 20, 10, 20};
    auto section = [] {
        BitmapInfo info;
        info.width = 4;
        info.height = -4;
        info.bitCount = 32;
        return CreateDIBSection(info);
    }();
    auto dc = CreateCompatibleDC();
    SelectObject(*dc, section);
    SelectFont(*dc, f);
    const int h = DrawText(*dc, "a\r\nbbbb\nc", r, DT_CALCRECT);
    EXPECT_EQ(h, 3 * f->Metrics().tmHeight);
    EXPECT_EQ(r, (Rect{10, 20, 10 + W("bbbb"), 20 + h}));
    Rect single{0, 0, 0, 0};
    DrawText(*dc, "x\ny", single, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(single.Height(), f->Metrics().tmHeight);
    EXPECT_EQ(single.Width(), W("xy"));
}

TEST_F(Layout, PrefixesUnderlineAndEscape) {
    const Rect r{0, 0, 200, 50};
    TextLayout t = LayoutText(*font, "&File", r, 0);
    EXPECT_EQ(Text(t.lines[0]), "File");
    EXPECT_EQ(t.lines[0].prefix, 0);
    t = LayoutText(*font, "Save && E&xit", r, 0);
    EXPECT_EQ(Text(t.lines[0]), "Save & Exit");
    EXPECT_EQ(t.lines[0].prefix, 8);
    t = LayoutText(*font, "&File", r, DT_NOPREFIX);
    EXPECT_EQ(Text(t.lines[0]), "&File");
    t = LayoutText(*font, "end&", r, 0);
    EXPECT_EQ(Text(t.lines[0]), "end");
    EXPECT_EQ(t.lines[0].prefix, -1);
}

TEST_F(Layout, AlignmentAndVerticalCentring) {
    const Rect r{0, 0, 200, 41};
    const int w = W("Hi");
    const int h = font->Metrics().tmHeight;
    TextLayout t = LayoutText(*font, "Hi", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(t.lines[0].x, (200 - w) / 2);
    EXPECT_EQ(t.lines[0].y, (41 - h) / 2);
    t = LayoutText(*font, "Hi", r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    EXPECT_EQ(t.lines[0].x, 200 - w);
    EXPECT_EQ(t.lines[0].y, 41 - h);
    t = LayoutText(*font, "Hi", r, DT_VCENTER);
    EXPECT_EQ(t.lines[0].y, 0) << "vertical placement needs a single line";
}

TEST_F(Layout, EllipsisFitsTheRectangle) {
    const Rect r{0, 0, W("Преобразовать") / 2, 20};
    const TextLayout t = LayoutText(*font, "Преобразовать", r, DT_SINGLELINE | DT_END_ELLIPSIS);
    const std::string shown = Text(t.lines[0]);
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_LE(t.lines[0].width, r.Width());
    EXPECT_EQ(Text(LayoutText(*font, "ok", r, DT_END_ELLIPSIS).lines[0]), "ok");
}

TEST_F(Layout, TabsExpandToStops) {
    const Rect r{0, 0, 500, 20};
    const int stop = 8 * font->Metrics().tmAveCharWidth;
    EXPECT_EQ(LayoutText(*font, "a\tb", r, DT_EXPANDTABS).lines[0].width, stop + W("b"));
    EXPECT_EQ(LayoutText(*font, "a\tb", r, DT_EXPANDTABS | DT_TABSTOP | (2 << 8)).lines[0].width,
              2 * font->Metrics().tmAveCharWidth + W("b"));
    EXPECT_EQ(LayoutText(*font, "a\tb", r, 0).lines[0].width, W("ab"));
}

TEST_F(Layout, RightToLeftRunsShowInVisualOrder) {
    const Rect r{0, 0, 500, 20};
    EXPECT_EQ(Text(LayoutText(*font, "אבג 12", r, DT_RTLREADING).lines[0]), "12 גבא");
    EXPECT_EQ(Text(LayoutText(*font, "abc def", r, DT_RTLREADING).lines[0]), "abc def");
    EXPECT_EQ(Text(LayoutText(*font, "אבג", r, 0).lines[0]), "אבג");
}

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        BitmapInfo info;
        info.width = 100;
        info.height = -30;
        info.bitCount = bits;
        section = CreateDIBSection(info);
        ASSERT_TRUE(section);
        dc = CreateCompatibleDC();
        SelectObject(*dc, section);
        FillRect(*dc, {0, 0, 100, 30}, RGB(255, 255, 255));
        SetBkMode(*dc, BkMode::Transparent);
    }
    // Counts dark and partly covered pixels inside a rectangle.
    std::pair<int, int> Ink(const Rect& r) {
        int dark = 0, partial = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const Color c = GetPixel(*dc, x, y);
                if (GetRValue(c) < 128)
                    ++dark;
                if (GetRValue(c) > 0 && GetRValue(c) < 255)
                    ++partial;
            }
        return {dark, partial};
    }
    int bits = 32;
    std::shared_ptr<DibSection> section;
    std::unique_ptr<DeviceContext> dc;
};

TEST_F(Drawing, TextOutDrawsAntialiasedInsideTheCellOnly) {
    TextOut(*dc, 10, 5, "Жук");
    Size extent;
    GetTextExtentPoint32(*dc, "Жук", extent);
    const Rect cell = Rect::FromSize(10, 5, extent.cx, extent.cy);
    const auto [dark, partial] = Ink(cell);
    EXPECT_GT(dark, 10);
    EXPECT_GT(partial, 0) << "antialiased edges";
    EXPECT_EQ(Ink({0, 0, 100, 5}).first + Ink({0, cell.bottom, 100, 30}).first +
                  Ink({cell.right + 1, 0, 100, 30}).first,
              0);
}

TEST_F(Drawing, DrawTextKeepsToItsRectangleAndTheClip) {
    Rect r{0, 0, 30, 30};
    DrawText(*dc, "WWWWWWWWWW", r, DT_SINGLELINE);
    EXPECT_GT(Ink({0, 0, 30, 30}).first, 0);
    EXPECT_EQ(Ink({30, 0, 100, 30}).first, 0);
    FillRect(*dc, {0, 0, 100, 30}, RGB(255, 255, 255));
    Rect all{0, 0, 100, 30};
    ExcludeClipRect(*dc, {0, 0, 50, 30});
    DrawText(*dc, "WWWWWWWWWWWWWWW", all, DT_SINGLELINE);
    EXPECT_EQ(Ink({0, 0, 50, 30}).first, 0);
    EXPECT_GT(Ink({50, 0, 100, 30}).first, 0);
}

TEST_F(Drawing, OpaqueModeFillsTheCellAndPrefixesUnderline) {
    SetBkMode(*dc, BkMode::Opaque);
    SetBkColor(*dc, RGB(0, 0, 255));
    TextOut(*dc, 0, 0, "a");
    EXPECT_EQ(GetPixel(*dc, 0, 0), RGB(0, 0, 255));
    SetBkMode(*dc, BkMode::Transparent);
    FillRect(*dc, {0, 0, 100, 30}, RGB(255, 255, 255));
    Rect r{0, 0, 100, 30};
    DrawText(*dc, "&_", r, DT_SINGLELINE | DT_PREFIXONLY);
    const TEXTMETRIC tm = CurrentFont(*dc)->Metrics();
    const int underline = tm.tmAscent + CurrentFont(*dc)->UnderlinePosition();
    EXPECT_EQ(GetPixel(*dc, 1, underline), RGB(0, 0, 0));
    EXPECT_EQ(Ink({0, 0, 100, underline}).first, 0) << "only the underline";
}

// Text under a visible region with holes and a clip cut out of it: inside the drawable area
// every pixel is what unclipped text gives, outside it nothing changes.
TEST(ClippedText, MatchesUnclippedTextInsideTheDrawableAreaOnly) {
    for (int bits : {8, 24, 32}) {
        BitmapInfo info;
        info.width = 120;
        info.height = -30;
        info.bitCount = static_cast<std::uint16_t>(bits);
        if (bits == 8)
            info.colors = GreyRamp();
        auto section = CreateDIBSection(info);
        auto dc = CreateCompatibleDC();
        SelectObject(*dc, section);
        SetBkMode(*dc, BkMode::Transparent);
        auto draw = [&] {
            FillRect(*dc, {0, 0, 120, 30}, RGB(255, 255, 255));
            TextOut(*dc, 3, 4, "WAVY Жук gjq");
        };
        draw();
        std::vector<Color> plain;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x)
                plain.push_back(GetPixel(*dc, x, y));
        FillRect(*dc, {0, 0, 120, 30}, RGB(64, 64, 64));
        const Region visible = Region::FromRects({Rect{0, 0, 40, 30}, Rect{50, 8, 120, 30}});
        SetVisibleRegion(*dc, &visible);
        ExcludeClipRect(*dc, {10, 10, 70, 14});
        draw();
        const Region drawable = dc->DrawableRegion();
        SetVisibleRegion(*dc, nullptr);
        SelectClipRgn(*dc, nullptr);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x)
                ASSERT_EQ(GetPixel(*dc, x, y), drawable.Contains({x, y})
                                                   ? plain[static_cast<std::size_t>(y * 120 + x)]
                                                   : RGB(64, 64, 64))
                    << bits << " bits at " << x << ", " << y;
    }
}

class Drawing24 : public Drawing {
protected:
    void SetUp() override {
        bits = 24;
        Drawing::SetUp();
    }
};

TEST_F(Drawing24, TwentyFourBitTargetsToo) {
    TextOut(*dc, 0, 0, "Ёж");
    EXPECT_GT(Ink({0, 0, 100, 30}).first, 5);
}

class Drawing8 : public Drawing {
protected:
    void SetUp() override {
        bits = 8;
        Drawing::SetUp();
    }
};

TEST_F(Drawing8, PalettedTargetsGoThroughTheColourTable) {
    section->SetColorTable(0, 256, GreyRamp().data());
    FillRect(*dc, {0, 0, 100, 30}, RGB(255, 255, 255));
    TextOut(*dc, 0, 0, "Ёж");
    EXPECT_GT(Ink({0, 0, 100, 30}).first, 5);
}

TEST(Utf8, RoundTripsAndReplacesMalformedBytes) {
    EXPECT_EQ(Utf32ToUtf8(Utf8ToUtf32("Жук ✓ 😀")), "Жук ✓ 😀");
    EXPECT_EQ(Utf8ToUtf32("\xC0\x80"), (std::u32string{0xFFFD, 0xFFFD})) << "overlong";
    EXPECT_EQ(Utf8ToUtf32("\xED\xA0\x80").size(), 3u) << "surrogates are not characters";
    EXPECT_EQ(Utf8ToUtf32("\xE2\x9C"), (std::u32string{0xFFFD, 0xFFFD})) << "cut short";
}

} // namespace
} // namespace platform
