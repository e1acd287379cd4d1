#pragma once
// The images of our skins. Every skin shares one master layout: each piece sits at the
// rectangle the options texts name (WinterOptions.ini, NightfallOptions.ini), so the layout is
// drawn in one place and a skin's artist says only how each kind of piece looks.
//
// Piece states: 0 normal, 1 hot (mouse over), 2 pressed; a piece with a mask gets its mask
// from the key colour of what the artist drew.

#include <array>
#include <cstdint>

#include "Raster.h"

namespace skinpack {

class PieceArtist {
public:
    virtual ~PieceArtist() = default;

    // The 256 colours the skin's bitmaps are reduced to; entry 0 is the key.
    virtual const std::array<Rgb, 256>& Palette() const = 0;

    virtual void Tab(Raster& c, int state) const = 0;  // open at the bottom
    virtual void ProgressTexture(Raster& c) const = 0; // tiled
    virtual void GroupFrame(Raster& c) const = 0;      // centre left as key
    virtual void HintFrame(Raster& c) const = 0;       // centre left as key
    virtual void Button(Raster& c, int state, double radius) const = 0;
    virtual void Grip(Raster& c) const = 0;                            // the size grip, 18 × 18
    virtual void Arrow(Raster& c, int direction, int state) const = 0; // 0 ← 1 → 2 ↑ 3 ↓
    virtual void FormBorder(Raster& c) const = 0;           // 12 × 12, centre 4 × 4 key
    virtual void FormTitle(Raster& c) const = 0;            // 21 × 18, middle key
    virtual void MenuItem(Raster& c, int state) const = 0;  // states 0 and 1
    virtual void PanelFrame(Raster& c) const = 0;           // centre key
    virtual void Track(Raster& c, bool vertical) const = 0; // scroll-bar trough, 15 × 15
    virtual void SliderGrip(Raster& c, bool vertical) const = 0;
    virtual void TitleButton(Raster& c, int state) const = 0;         // 20 × 20
    virtual void TitleIcon(Raster& c, int kind, int state) const = 0; // 0 min 1 max 2 help 3 close
    virtual void Radio(Raster& c, int state, bool checked) const = 0;
    virtual void CheckBox(Raster& c, int state, int mark) const = 0; // 0 none 1 tick 2 grey
    virtual void ComboButton(Raster& c, int state) const = 0;
    virtual void EditFrame(Raster& c) const = 0;                     // 75 × 60, opaque
    virtual void SmallBox(Raster& c, int state, int mark) const = 0; // 12 × 12, no mask
    virtual void TrackThumb(Raster& c, int state) const = 0;
    virtual void DividerTexture(Raster& c) const = 0; // 6 × 2
    virtual void TrackChannel(Raster& c) const = 0;   // 9 × 2, menus' separators too

    virtual Raster HugeButton() const = 0; // 288 × 192: three 96 × 96 states over their masks
    virtual Raster Background() const = 0; // tiles without seams
};

// The same numbers on every build, so pictures scattered at random come out byte for byte alike.
class SeededSequence {
public:
    explicit SeededSequence(std::uint32_t seed) : m_seed(seed) {}
    // The next number in 0 ... range - 1; range is at least 1.
    int Next(int range) {
        m_seed = m_seed * 1664525u + 1013904223u;
        return static_cast<int>((m_seed >> 8) % static_cast<std::uint32_t>(range));
    }

private:
    std::uint32_t m_seed;
};

Raster DrawMaster(const PieceArtist& artist); // 304 × 260, "Master.bmp"

// The one artist of a kind, made on first use.
template <class Artist> const PieceArtist& SoleInstance() {
    static const Artist artist;
    return artist;
}

// "Winter2003 (internal)": navy, ice blue and white, rounded and glinting.
const PieceArtist& WinterArtist();
// "Nightfall": charcoal and slate with an amber accent, square-cut, flat.
const PieceArtist& NightfallArtist();

} // namespace skinpack
