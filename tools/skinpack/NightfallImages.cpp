// "Nightfall": charcoal and slate faces cut square, a faint light rim along their top edge, and
// amber for whatever the mouse is on. Glyphs are thin light strokes without outlines, so they
// stay crisp on the dark faces. Unlike the internal skin's rounded, glinting pieces, corners
// here are barely rounded, glyphs carry no outline, and the background is a night sky.

#include <array>
#include <cmath>
#include <cstdint>

#include "SkinImages.h"

namespace skinpack {
namespace {

constexpr Rgb kInk{14, 15, 19};
constexpr Rgb kCoal{28, 30, 36};
constexpr Rgb kSlate{44, 47, 56};
constexpr Rgb kSlateHi{62, 66, 78};
constexpr Rgb kRim{84, 90, 104};
constexpr Rgb kMist{150, 156, 170};
constexpr Rgb kPale{222, 225, 232};
constexpr Rgb kAmberDeep{176, 96, 20};
constexpr Rgb kAmber{232, 150, 40};
constexpr Rgb kAmberLight{255, 196, 110};
constexpr double kPi = 3.14159265358979;

struct StateLook {
    Rgb edge, top, bottom, rim;
};
StateLook FaceLook(int state) {
    switch (state) {
    case 1:
        return {kAmber, {80, 76, 72}, {58, 56, 56}, {120, 108, 92}};
    case 2:
        return {kAmberDeep, kCoal, {40, 40, 44}, kCoal};
    default:
        return {kInk, kSlateHi, kSlate, kRim};
    }
}

Rgb GlyphColor(int state) {
    return state == 0 ? kMist : state == 1 ? kAmber : kAmberLight;
}

// A face with square corners; the rim is one lighter line inside its top edge.
void Face(Raster& c, int x0, int y0, int x1, int y1, int state, double radius = 1.5) {
    const StateLook look = FaceLook(state);
    c.RoundBox(x0, y0, x1, y1, radius, look.edge, look.top, look.bottom);
    if (y1 - y0 > 6)
        c.Fill(x0 + 2, y0 + 1, x1 - 2, y0 + 2, look.rim);
}

// A chevron pointing in direction (0 left, 1 right, 2 up, 3 down) inside the cell.
void Chevron(Raster& c, int direction, Rgb color, double width = 1.4) {
    const double w = c.Width(), h = c.Height();
    switch (direction) {
    case 0:
        c.Line(w - 1.5, 1, 1.5, h / 2, width, color),
            c.Line(1.5, h / 2, w - 1.5, h - 1, width, color);
        break;
    case 1:
        c.Line(1.5, 1, w - 1.5, h / 2, width, color),
            c.Line(w - 1.5, h / 2, 1.5, h - 1, width, color);
        break;
    case 2:
        c.Line(1, h - 1.5, w / 2, 1.5, width, color),
            c.Line(w / 2, 1.5, w - 1, h - 1.5, width, color);
        break;
    default:
        c.Line(1, 1.5, w / 2, h - 1.5, width, color),
            c.Line(w / 2, h - 1.5, w - 1, 1.5, width, color);
        break;
    }
}

// A frame whose centre stays open for the section's own background.
void OpenFrame(Raster& c, Rgb outer, Rgb inner) {
    c.Fill(0, 0, c.Width(), c.Height(), outer);
    c.Fill(1, 1, c.Width() - 1, c.Height() - 1, inner);
    c.Fill(2, 2, c.Width() - 2, c.Height() - 2, kKey);
}

void Tick(Raster& c, double x, double y, double size, Rgb color) {
    c.Line(x, y + size * 0.5, x + size * 0.35, y + size * 0.85, 1.7, color);
    c.Line(x + size * 0.35, y + size * 0.85, x + size, y, 1.7, color);
}

class Nightfall final : public PieceArtist {
public:
    const std::array<Rgb, 256>& Palette() const override {
        static const std::array<Rgb, 256> palette = MakePalette(
            {{6, 7, 9}, kInk, kCoal, kSlate, kSlateHi, kRim, kMist, kPale},
            {{90, 30, 12}, {200, 70, 40}, kAmberDeep, kAmber, kAmberLight, {255, 236, 205}});
        return palette;
    }
    void Tab(Raster& c, int s) const override {
        Face(c, 0, 0, 21, 22, s);
        if (s == 1)
            c.Fill(1, 1, 20, 3, kAmber);
    }
    // Slanted amber bars on deep amber.
    void ProgressTexture(Raster& c) const override {
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                c.Set(x, y, (x + 12 - y) % 12 < 7 ? kAmber : kAmberDeep);
    }
    void GroupFrame(Raster& c) const override { OpenFrame(c, kRim, kInk); }
    void HintFrame(Raster& c) const override { OpenFrame(c, kAmber, kCoal); }
    void Button(Raster& c, int s, double) const override {
        Face(c, 0, 0, c.Width(), c.Height(), s);
    }
    // Three diagonal ridges, each lit on one side.
    void Grip(Raster& c) const override {
        for (int k = 0; k < 3; ++k) {
            const double d = 5 + 4.5 * k;
            c.Line(17 - d, 16.5, 16.5, 17 - d, 1.1, kInk);
            c.Line(16 - d, 16.5, 16.5, 16 - d, 1.0, kMist);
        }
    }
    void Arrow(Raster& c, int direction, int s) const override {
        Chevron(c, direction, GlyphColor(s), 1.3);
    }
    // A black outline, a slate band and a dark inner edge: four pixels in all.
    void FormBorder(Raster& c) const override {
        c.Fill(0, 0, 12, 12, kInk);
        c.Fill(1, 1, 11, 11, kSlateHi);
        c.Fill(2, 2, 10, 10, kSlate);
        c.Fill(3, 3, 9, 9, kInk);
        c.Fill(4, 4, 8, 8, kKey);
    }
    // Barely rounded top corners and an amber line along the top.
    void FormTitle(Raster& c) const override {
        c.RoundBox(0, 0, 21, 24, 2, kInk, kKey, kKey);
        c.Fill(2, 1, 19, 3, kAmber);
    }
    // Nothing normally; when hot, a warm bar with an amber mark at its left end.
    void MenuItem(Raster& c, int s) const override {
        if (s != 1)
            return;
        c.RoundBox(0, 0, 21, 21, 1, kAmberDeep, {72, 60, 44}, {56, 48, 38});
        c.Fill(1, 1, 3, 20, kAmber);
    }
    // A dark outline with a faint lit edge inside it at the top and left.
    void PanelFrame(Raster& c) const override {
        c.Fill(0, 0, 21, 21, kInk);
        c.Fill(1, 1, 20, 20, kKey);
        c.Fill(1, 1, 20, 2, kSlateHi);
        c.Fill(1, 1, 2, 20, kSlateHi);
    }
    // A sunken trough.
    void Track(Raster& c, bool vertical) const override {
        c.Fill(0, 0, 15, 15, kCoal);
        if (vertical)
            c.Fill(0, 0, 1, 15, kInk), c.Fill(14, 0, 15, 15, kSlate);
        else
            c.Fill(0, 0, 15, 1, kInk), c.Fill(0, 14, 15, 15, kSlate);
    }
    void SliderGrip(Raster& c, bool vertical) const override {
        for (int i = 1; i < 8; i += 3) {
            if (vertical)
                c.Fill(1, i, 6, i + 1, kMist), c.Fill(1, i + 1, 6, i + 2, kInk);
            else
                c.Fill(i, 1, i + 1, 6, kMist), c.Fill(i + 1, 1, i + 2, 6, kInk);
        }
    }
    // Square caption buttons; hot ones glow amber, pressed ones sink.
    void TitleButton(Raster& c, int s) const override {
        const StateLook look = FaceLook(s);
        c.RoundBox(0, 0, 20, 20, 1, look.edge, look.top, look.bottom);
        if (s == 1)
            c.Fill(1, 17, 19, 19, kAmber);
    }
    void TitleIcon(Raster& c, int kind, int s) const override {
        const Rgb ink = s == 0 ? kPale : s == 1 ? kAmberLight : kAmber;
        switch (kind) {
        case 0:
            c.Fill(6, 12, 14, 14, ink);
            break;
        case 1:
            c.Fill(6, 6, 14, 8, ink);
            c.Fill(6, 8, 7, 14, ink), c.Fill(13, 8, 14, 14, ink), c.Fill(6, 13, 14, 14, ink);
            break;
        case 2:
            c.Line(7, 7.5, 8.5, 5.5, 1.5, ink), c.Line(8.5, 5.5, 11.5, 5.5, 1.5, ink);
            c.Line(11.5, 5.5, 13, 7.5, 1.5, ink), c.Line(13, 7.5, 10, 10.5, 1.5, ink);
            c.Line(10, 10.5, 10, 12, 1.5, ink);
            c.Fill(9, 14, 11, 16, ink);
            break;
        default:
            c.Line(6.5, 6.5, 13.5, 13.5, 1.7, ink), c.Line(13.5, 6.5, 6.5, 13.5, 1.7, ink);
            break;
        }
    }
    void Radio(Raster& c, int s, bool checked) const override {
        c.Disc(8, 9, 6.5, s == 0 ? kRim : GlyphColor(s));
        c.Disc(8, 9, 5.3, kCoal);
        if (checked)
            c.Disc(8, 9, 2.8, s == 0 ? kAmber : kAmberLight);
    }
    void CheckBox(Raster& c, int s, int mark) const override {
        const int x0 = 1, y0 = 2, size = 13;
        c.Fill(x0, y0, x0 + size, y0 + size, s == 0 ? kRim : GlyphColor(s));
        c.Fill(x0 + 1, y0 + 1, x0 + size - 1, y0 + size - 1, kCoal);
        if (mark == 1)
            Tick(c, x0 + 3, y0 + 3.5, 7, s == 0 ? kAmber : kAmberLight);
        if (mark == 2)
            c.Fill(x0 + 4, y0 + 4, x0 + size - 4, y0 + size - 4, kRim);
    }
    void ComboButton(Raster& c, int s) const override {
        Face(c, 0, 0, c.Width(), c.Height(), s);
        c.Line(6, 7, 9.5, 10.5, 1.5, GlyphColor(s)), c.Line(9.5, 10.5, 13, 7, 1.5, GlyphColor(s));
    }
    // A dark well with one rim pixel.
    void EditFrame(Raster& c) const override {
        c.Fill(0, 0, 75, 60, kRim);
        c.Fill(1, 1, 74, 59, kCoal);
        c.Fill(1, 1, 74, 2, kInk);
    }
    void SmallBox(Raster& c, int s, int mark) const override {
        c.Fill(0, 0, 12, 12, kKey);
        c.Fill(1, 1, 11, 11, s == 1 ? kAmber : kRim);
        c.Fill(2, 2, 10, 10, kCoal);
        if (mark == 1)
            Tick(c, 3, 3.5, 5.5, kAmber);
        if (mark == 2)
            c.Fill(4, 4, 8, 8, kRim);
    }
    // A square-shouldered pointer.
    void TrackThumb(Raster& c, int s) const override {
        Face(c, 2, 0, 14, 11, s, 1);
        c.Triangle(2, 10, 14, 10, 8, 16.5, FaceLook(s).edge);
        c.Triangle(3.5, 10, 12.5, 10, 8, 15, FaceLook(s).bottom);
    }
    // A groove: a dark line with a lit line under it.
    void DividerTexture(Raster& c) const override {
        c.Fill(0, 0, 6, 1, kInk);
        c.Fill(0, 1, 6, 2, kSlateHi);
    }
    void TrackChannel(Raster& c) const override {
        c.Fill(0, 0, 9, 1, kInk);
        c.Fill(0, 1, 9, 2, kSlateHi);
    }

    Raster HugeButton() const override {
        Raster r(288, 192);
        r.Piece(0, 0, 96, 96, 3, true, [](Raster& c, int s) {
            Face(c, 0, 0, 96, 96, s, 3);
            // A crescent moon with three stars.
            const Rgb moon = s == 0 ? kPale : s == 1 ? kAmberLight : kAmber;
            const Rgb face = FaceLook(s).bottom;
            c.Disc(46, 50, 24, moon);
            c.Disc(57, 42, 21, Mix(FaceLook(s).top, face, 0.45));
            const double stars[3][3] = {{70, 66, 3}, {76, 24, 2.2}, {28, 22, 1.8}};
            for (const auto& st : stars) {
                c.Line(st[0] - st[2] * 1.6, st[1], st[0] + st[2] * 1.6, st[1], 1.2, moon);
                c.Line(st[0], st[1] - st[2] * 1.6, st[0], st[1] + st[2] * 1.6, 1.2, moon);
                c.Disc(st[0], st[1], st[2] * 0.5, moon);
            }
        });
        return r;
    }

    // A quiet night sky: dark slate with a slow swell and a few faint stars. Every wave has
    // whole periods across 300 pixels and stars wrap around, so the picture tiles.
    Raster Background() const override {
        Raster r(300, 300);
        const double turn = 2 * kPi;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x) {
                const double wave = 0.5 + 0.25 * std::sin(turn * (x + 2 * y) / 300) +
                                    0.25 * std::cos(turn * (3 * x - y) / 300);
                r.Set(x, y, Mix(kCoal, {40, 44, 54}, wave));
            }
        SeededSequence random(1907);
        for (int i = 0; i < 40; ++i) {
            const int x = random.Next(300), y = random.Next(300), glow = random.Next(3);
            const Rgb star = Mix({60, 64, 76}, kMist, random.Next(60) / 100.0);
            r.Set(x, y, star);
            if (glow == 0)
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                    r.Set((x + dx + 300) % 300, (y + dy + 300) % 300, Mix(star, kCoal, 0.6));
        }
        return r;
    }
};

} // namespace

const PieceArtist& NightfallArtist() {
    return SoleInstance<Nightfall>();
}

} // namespace skinpack
