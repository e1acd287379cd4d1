// "Winter2003 (internal)": navy, ice blue and white faces with rounded corners and a glint along
// their top edge. Unlike Nightfall's square, flat pieces, its glyphs are solid shapes with a dark
// outline and its background is frosted glass with snow crystals.

#include "SkinImages.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace skinpack {
namespace {

constexpr Rgb kNavy{46, 82, 118};
constexpr Rgb kEdge{43, 102, 168}; // the skin's border colour
constexpr Rgb kSteel{101, 155, 194};
constexpr Rgb kFace{153, 187, 212};
constexpr Rgb kIce{166, 204, 225};
constexpr Rgb kFrost{230, 241, 249};
constexpr Rgb kAccent{0, 92, 185};
constexpr Rgb kShade{35, 50, 82};
constexpr Rgb kGrey{150, 160, 170};
constexpr double kTurn = 6.28318530717959;

// States of most pieces: 0 normal, 1 hot (mouse over), 2 pressed.
struct StateLook {
    Rgb edge, top, bottom;
};
StateLook ButtonLook(int state) {
    switch (state) {
    case 1:
        return {kAccent, kWhite, kIce};
    case 2:
        return {kNavy, kFace, kFrost};
    default:
        return {kEdge, kFrost, kFace};
    }
}

void FaceButton(Raster& c, int state, double radius) {
    const StateLook look = ButtonLook(state);
    c.RoundBox(0, 0, c.Width(), c.Height(), radius, look.edge, look.top, look.bottom);
    // A glint along the top edge reads as ice.
    if (c.Height() > 6 && state != 2)
        for (int x = static_cast<int>(radius); x < c.Width() - static_cast<int>(radius); ++x)
            c.Set(x, 1, kWhite);
}

void ArrowGlyph(Raster& c, int direction, Rgb color) { // 0 left, 1 right, 2 up, 3 down
    const double w = c.Width(), h = c.Height(), m = 1;
    switch (direction) {
    case 0:
        c.Triangle(w - m, m, w - m, h - m, m, h / 2, color);
        break;
    case 1:
        c.Triangle(m, m, m, h - m, w - m, h / 2, color);
        break;
    case 2:
        c.Triangle(m, h - m, w - m, h - m, w / 2, m - 0.5, color);
        break;
    default:
        c.Triangle(m, m, w - m, m, w / 2, h - m + 0.5, color);
        break;
    }
}

Rgb GlyphColor(int state) {
    return state == 0 ? kNavy : state == 1 ? kAccent : kShade;
}

void Box(Raster& c, int state, int mark) { // mark: 0 none, 1 tick, 2 grey fill
    const int x0 = 1, y0 = 2, size = 13;
    const StateLook look = ButtonLook(state);
    c.RoundBox(x0, y0, x0 + size, y0 + size, 2, look.edge, kWhite, look.bottom);
    if (mark == 1)
        c.Line(x0 + 3.5, y0 + 6.5, x0 + 5.5, y0 + 9.5, 1.6, GlyphColor(state)),
            c.Line(x0 + 5.5, y0 + 9.5, x0 + 10, y0 + 3.5, 1.6, GlyphColor(state));
    if (mark == 2)
        c.Fill(x0 + 3, y0 + 3, x0 + size - 3, y0 + size - 3, kGrey);
}

void RadioGlyph(Raster& c, int state, bool checked) {
    const StateLook look = ButtonLook(state);
    c.Disc(8, 9, 6.5, look.edge);
    c.Disc(8, 9, 5.5, Mix(kWhite, look.bottom, 0.4));
    if (checked)
        c.Disc(8, 9, 2.6, GlyphColor(state));
}

void SmallBoxGlyph(Raster& c, int state, int mark) {
    c.Fill(0, 0, 12, 12, kKey);
    c.Fill(1, 1, 11, 11, state == 1 ? kAccent : kEdge);
    c.Fill(2, 2, 10, 10, kWhite);
    if (mark == 1)
        c.Line(3.5, 6, 5, 8, 1.3, kNavy), c.Line(5, 8, 8.5, 3.5, 1.3, kNavy);
    if (mark == 2)
        c.Fill(4, 4, 8, 8, kGrey);
}

// A frame whose centre stays open for the section's own background.
void OpenFrame(Raster& c, Rgb outer, Rgb inner, double radius) {
    c.RoundBox(0, 0, c.Width(), c.Height(), radius, outer, inner, inner);
    c.Fill(2, 2, c.Width() - 2, c.Height() - 2, kKey);
}

void TitleIconGlyph(Raster& c, int kind, int state) { // 0 minimise, 1 maximise, 2 help, 3 close
    using Segment = std::array<double, 4>;
    static const std::vector<Segment> kShapes[4] = {
        {{6, 13, 14, 13}},
        {{6, 6, 14, 6}, {14, 6, 14, 14}, {14, 14, 6, 14}, {6, 14, 6, 6}},
        {{7, 7, 9, 5}, {9, 5, 12, 5.5}, {12, 5.5, 13, 8}, {13, 8, 10, 11}, {10, 11, 10, 12}},
        {{6, 6, 14, 14}, {14, 6, 6, 14}}};
    const Rgb ink = state == 2 ? kFrost : kWhite;
    const Rgb outline = state == 1 ? kAccent : kNavy;
    // A dark outline first, then the white stroke inside it.
    for (const auto& [width, color] : {std::pair{3.2, outline}, std::pair{1.6, ink}})
        for (const Segment& s : kShapes[kind])
            c.Line(s[0], s[1], s[2], s[3], width, color);
    if (kind == 2)
        c.Disc(10, 15, 1.8, outline), c.Disc(10, 15, 0.9, ink);
}

class Winter final : public PieceArtist {
public:
    const std::array<Rgb, 256>& Palette() const override {
        // The key, a grey ramp (masks and neutral greys), a ramp from deep navy through ice
        // blue to white, and a ramp of vivid accent blues.
        static const std::array<Rgb, 256> palette = MakePalette(
            {{20, 35, 70},
             {46, 82, 118},
             {43, 102, 168},
             {101, 155, 194},
             {153, 187, 212},
             {166, 204, 225},
             {230, 241, 249},
             {255, 255, 255}},
            {{0, 40, 100}, {0, 92, 185}, {60, 150, 230}, {150, 205, 250}, {215, 236, 255}});
        return palette;
    }
    void Tab(Raster& c, int s) const override {
        const StateLook look = ButtonLook(s);
        c.RoundBox(0, 0, 21, 22, 4, look.edge, look.top, look.bottom);
    }
    // Diagonal ice stripes.
    void ProgressTexture(Raster& c) const override {
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                c.Set(x, y, (x + y) % 12 < 6 ? kSteel : kIce);
    }
    void GroupFrame(Raster& c) const override { OpenFrame(c, kSteel, kFrost, 4); }
    void HintFrame(Raster& c) const override { OpenFrame(c, kNavy, kWhite, 2); }
    void Button(Raster& c, int s, double radius) const override { FaceButton(c, s, radius); }
    // Three rows of frost dots.
    void Grip(Raster& c) const override {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j <= i; ++j) {
                const int x = 14 - 4 * j, y = 14 - 4 * (i - j);
                c.Fill(x - 1, y - 1, x + 1, y + 1, kNavy);
                c.Set(x - 1, y - 1, kWhite);
            }
    }
    void Arrow(Raster& c, int direction, int s) const override {
        ArrowGlyph(c, direction, GlyphColor(s));
    }
    // Four pixels of navy blue with an icy inner line.
    void FormBorder(Raster& c) const override {
        c.Fill(0, 0, 12, 12, kEdge);
        c.Fill(1, 1, 11, 11, kSteel);
        c.Fill(3, 3, 9, 9, kFrost);
        c.Fill(4, 4, 8, 8, kKey);
    }
    // Rounded top corners and a glint; the gradient shows through the middle.
    void FormTitle(Raster& c) const override {
        c.RoundBox(0, 0, 21, 24, 5, kEdge, kKey, kKey);
        for (int x = 4; x < 17; ++x)
            c.Set(x, 1, kFrost);
    }
    // Nothing normally, an ice bar when hot.
    void MenuItem(Raster& c, int s) const override {
        if (s == 1)
            c.RoundBox(0, 0, 21, 21, 3, kAccent, kFrost, kIce);
    }
    // A soft raised edge.
    void PanelFrame(Raster& c) const override {
        c.RoundBox(0, 0, 21, 21, 3, kSteel, kWhite, kIce);
        c.Fill(2, 2, 19, 19, kKey);
        for (int x = 3; x < 18; ++x)
            c.Set(x, 1, kWhite), c.Set(x, 19, kFace);
    }
    // A frosted trough.
    void Track(Raster& c, bool vertical) const override {
        c.Fill(0, 0, 15, 15, kFrost);
        if (vertical)
            c.Fill(0, 0, 1, 15, kIce), c.Fill(14, 0, 15, 15, kIce);
        else
            c.Fill(0, 0, 15, 1, kIce), c.Fill(0, 14, 15, 15, kIce);
    }
    void SliderGrip(Raster& c, bool vertical) const override {
        if (vertical)
            for (int y = 1; y < 8; y += 2)
                c.Fill(1, y, 6, y + 1, kSteel);
        else
            for (int x = 1; x < 8; x += 2)
                c.Fill(x, 1, x + 1, 6, kSteel);
    }
    void TitleButton(Raster& c, int s) const override {
        const StateLook look = ButtonLook(s);
        c.RoundBox(0, 0, 20, 20, 4, kNavy, look.top, s == 1 ? kAccent : kSteel);
    }
    void TitleIcon(Raster& c, int kind, int s) const override { TitleIconGlyph(c, kind, s); }
    void Radio(Raster& c, int s, bool checked) const override { RadioGlyph(c, s, checked); }
    void CheckBox(Raster& c, int s, int mark) const override { Box(c, s, mark); }
    void ComboButton(Raster& c, int s) const override {
        FaceButton(c, s, 3);
        c.Triangle(5, 6, 14, 6, 9.5, 11.5, GlyphColor(s));
    }
    // One pixel of steel around white.
    void EditFrame(Raster& c) const override {
        c.Fill(0, 0, 75, 60, kSteel);
        c.Fill(1, 1, 74, 59, kWhite);
    }
    void SmallBox(Raster& c, int s, int mark) const override { SmallBoxGlyph(c, s, mark); }
    // An icicle pointing down.
    void TrackThumb(Raster& c, int s) const override {
        const StateLook look = ButtonLook(s);
        c.RoundBox(2, 0, 14, 11, 2, look.edge, look.top, look.bottom);
        c.Triangle(2, 10, 14, 10, 8, 17, look.edge);
        c.Triangle(3.5, 10, 12.5, 10, 8, 15.5, look.bottom);
    }
    // A dotted frost line.
    void DividerTexture(Raster& c) const override {
        c.Set(1, 0, kSteel), c.Set(2, 0, kSteel), c.Set(4, 1, kIce);
    }
    // A groove cut into the ice, shadowed above and lit below.
    void TrackChannel(Raster& c) const override {
        c.Fill(0, 0, 9, 1, kSteel);
        c.Fill(0, 1, 9, 2, kWhite);
        c.Set(0, 0, kIce), c.Set(8, 0, kIce);
    }

    Raster HugeButton() const override {
        Raster r(288, 192);
        r.Piece(0, 0, 96, 96, 3, true, [](Raster& c, int s) {
            FaceButton(c, s, 14);
            // A large snow crystal in the middle of the face.
            const Rgb ink = s == 1 ? kAccent : kSteel;
            for (int arm = 0; arm < 6; ++arm) {
                const double a = arm * 3.14159265358979 / 3;
                const double dx = std::cos(a), dy = std::sin(a);
                c.Line(48, 48, 48 + 26 * dx, 48 + 26 * dy, 3, ink);
                for (const double at : {12.0, 19.0}) {
                    const double bx = 48 + at * dx, by = 48 + at * dy;
                    for (const double side : {-1.0, 1.0}) {
                        const double b = a + side * 0.8;
                        c.Line(bx, by, bx + 7 * std::cos(b), by + 7 * std::sin(b), 2, ink);
                    }
                }
            }
            c.Disc(48, 48, 4, kWhite);
        });
        return r;
    }

    Raster Background() const override {
        Raster r(300, 300);
        // Frosted glass: a pale vertical wash with faint horizontal drift...
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x) {
                // Whole periods across 300 pixels, so the picture tiles without seams.
                const double wave = 0.5 + 0.5 * std::sin(kTurn * (2 * x + 3 * y) / 300) *
                                              std::cos(kTurn * (x - y) / 300);
                r.Set(x, y, Mix(Mix(kIce, kFrost, y / 299.0), kWhite, 0.35 * wave));
            }
        // ...and scattered snow crystals. A fixed generator keeps the picture the same each build.
        SeededSequence random(2003);
        for (int i = 0; i < 28; ++i) {
            const double cx = random.Next(300), cy = random.Next(300), size = 4 + random.Next(9);
            const Rgb ink = Mix(kWhite, kSteel, random.Next(40) / 100.0);
            for (int arm = 0; arm < 3; ++arm) {
                const double a = arm * 3.14159265358979 / 3 + random.Next(100) / 400.0;
                // Crystals that cross an edge appear again on the far side, so the picture tiles.
                for (const int ox : {-300, 0, 300})
                    for (const int oy : {-300, 0, 300})
                        r.Line(cx + ox - size * std::cos(a), cy + oy - size * std::sin(a),
                               cx + ox + size * std::cos(a), cy + oy + size * std::sin(a), 1.3,
                               ink);
            }
        }
        return r;
    }
};

} // namespace

const PieceArtist& WinterArtist() {
    return SoleInstance<Winter>();
}

} // namespace skinpack
