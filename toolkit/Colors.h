#pragma once
// Toolkit colours. A TColor is either an RGB value (red in the low byte, then green, then blue)
// or a system colour: 0x80000000 plus a system colour index (COLOR_BTNFACE, ...), which
// ColorToRGB resolves to the system's current value. clNone (0x1FFFFFFF) means "no colour" and
// clDefault (0x20000000) "whatever the control does by default"; ColorToRGB leaves both as they
// are, so callers test for them before drawing.

#include <cstdint>

#include "platform/gfx/Geometry.h"

namespace toolkit {

using TColor = platform::Color;

constexpr TColor kSystemColorFlag = 0x80000000;
constexpr TColor SystemColor(int index) {
    return kSystemColorFlag | static_cast<TColor>(index);
}

constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF;

// System colours (index = the platform's COLOR_* number).
constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1),
                 clActiveCaption = SystemColor(2), clInactiveCaption = SystemColor(3),
                 clMenu = SystemColor(4), clWindow = SystemColor(5), clWindowFrame = SystemColor(6),
                 clMenuText = SystemColor(7), clWindowText = SystemColor(8),
                 clCaptionText = SystemColor(9), clHighlight = SystemColor(13),
                 clHighlightText = SystemColor(14), clBtnFace = SystemColor(15),
                 clBtnShadow = SystemColor(16), clGrayText = SystemColor(17),
                 clBtnText = SystemColor(18), clBtnHighlight = SystemColor(20),
                 cl3DDkShadow = SystemColor(21), cl3DLight = SystemColor(22),
                 clInfoText = SystemColor(23), clInfoBk = SystemColor(24);

// The RGB value of a colour: system colours resolved, everything else unchanged.
platform::Color ColorToRGB(TColor color);

} // namespace toolkit
