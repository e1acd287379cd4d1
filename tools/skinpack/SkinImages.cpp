#include "SkinImages.h"

namespace skinpack {

Raster DrawMaster(const PieceArtist& a) {
    Raster m(304, 260);

    // Tabs (TABTOP and its kin).
    m.Piece(0, 0, 21, 18, 3, true, [&](Raster& c, int s) { a.Tab(c, s); });
    m.Piece(63, 0, 12, 12, 1, false, [&](Raster& c, int) { a.ProgressTexture(c); });
    // Group box and hint frames.
    m.Piece(75, 0, 21, 21, 1, false, [&](Raster& c, int) { a.GroupFrame(c); });
    m.Piece(96, 0, 21, 21, 1, false, [&](Raster& c, int) { a.HintFrame(c); });
    // Speed buttons.
    m.Piece(135, 0, 39, 30, 3, true, [&](Raster& c, int s) { a.Button(c, s, 4); });
    m.Piece(252, 0, 18, 18, 1, true, [&](Raster& c, int) { a.Grip(c); });
    // Scroll-button arrows, three states each, no masks: key colour around them.
    const int arrowDirections[4][3] = {{1, 264, 39}, {0, 282, 39}, {2, 264, 47}, {3, 264, 53}};
    for (const auto& d : arrowDirections) {
        const bool wide = d[0] >= 2;
        m.Piece(d[1], d[2], wide ? 9 : 6, wide ? 5 : 8, 3, false,
                [&a, dir = d[0]](Raster& c, int s) { a.Arrow(c, dir, s); });
    }
    m.Piece(135, 60, 12, 12, 1, false, [&](Raster& c, int) { a.FormBorder(c); });
    m.Piece(231, 60, 21, 18, 1, true, [&](Raster& c, int) { a.FormTitle(c); });
    // Scroll buttons, and the horizontal slider.
    m.Piece(0, 72, 21, 21, 3, true, [&](Raster& c, int s) { a.Button(c, s, 3); });
    m.Piece(63, 72, 21, 21, 2, true, [&](Raster& c, int s) { a.Button(c, s, 3); });
    // The vertical slider is a button turned on its side: its face is tiled along its length,
    // which a top-to-bottom shade would show as stripes.
    m.Piece(48, 190, 21, 21, 2, true, [&](Raster& c, int s) {
        Raster upright(c.Width(), c.Height());
        a.Button(upright, s, 3);
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x)
                c.Set(x, y, upright.Get(y, x));
    });
    m.Piece(126, 72, 21, 21, 2, true, [&](Raster& c, int s) { a.MenuItem(c, s); });
    m.Piece(189, 72, 21, 21, 1, true, [&](Raster& c, int) { a.PanelFrame(c); });
    // Scroll-bar tracks, then the slider grips.
    m.Piece(261, 84, 15, 15, 1, true, [&](Raster& c, int) { a.Track(c, true); });
    m.Piece(276, 84, 15, 15, 1, true, [&](Raster& c, int) { a.Track(c, false); });
    m.Piece(291, 84, 8, 7, 1, true, [&](Raster& c, int) { a.SliderGrip(c, false); });
    m.Piece(292, 98, 7, 8, 1, true, [&](Raster& c, int) { a.SliderGrip(c, true); });
    // Title-bar buttons and their icons.
    m.Piece(0, 114, 20, 20, 3, true, [&](Raster& c, int s) { a.TitleButton(c, s); });
    const int iconX[4] = {61, 122, 183, 244};
    for (int kind = 0; kind < 4; ++kind)
        m.Piece(iconX[kind], 114, 20, 20, 3, true,
                [&a, kind](Raster& c, int s) { a.TitleIcon(c, kind, s); });
    // Radio buttons and check boxes.
    m.Piece(0, 154, 16, 18, 3, true, [&](Raster& c, int s) { a.Radio(c, s, false); });
    m.Piece(49, 154, 16, 18, 3, true, [&](Raster& c, int s) { a.Radio(c, s, true); });
    m.Piece(98, 154, 16, 18, 3, true, [&](Raster& c, int s) { a.CheckBox(c, s, 0); });
    m.Piece(147, 154, 16, 18, 3, true, [&](Raster& c, int s) { a.CheckBox(c, s, 1); });
    m.Piece(195, 188, 16, 18, 3, true, [&](Raster& c, int s) { a.CheckBox(c, s, 2); });
    m.Piece(195, 154, 19, 17, 3, true, [&](Raster& c, int s) { a.ComboButton(c, s); });
    m.Piece(120, 190, 75, 60, 1, false, [&](Raster& c, int) { a.EditFrame(c); });
    // Buttons.
    m.Piece(243, 190, 14, 15, 3, true, [&](Raster& c, int s) { a.Button(c, s, 4); });
    // Small check boxes (no masks).
    m.Piece(195, 224, 12, 12, 3, false, [&](Raster& c, int s) { a.SmallBox(c, s, 0); });
    m.Piece(195, 236, 12, 12, 3, false, [&](Raster& c, int s) { a.SmallBox(c, s, 1); });
    m.Piece(195, 248, 12, 12, 3, false, [&](Raster& c, int s) { a.SmallBox(c, s, 2); });
    m.Piece(0, 190, 16, 18, 3, true, [&](Raster& c, int s) { a.TrackThumb(c, s); });
    m.Piece(0, 250, 6, 2, 1, true, [&](Raster& c, int) { a.DividerTexture(c); });
    m.Piece(63, 24, 9, 2, 1, false, [&](Raster& c, int) { a.TrackChannel(c); });
    return m;
}

} // namespace skinpack
