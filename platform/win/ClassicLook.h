#pragma once
// The plain classic look the window system draws when nobody else paints: three-dimensional
// edges, button faces and the small glyphs of caption buttons and scroll arrows. Rectangles are
// in the context's logical coordinates; everything stays inside the rectangle given.

#include "platform/gfx/DeviceContext.h"
#include "platform/win/WinDefs.h"

namespace platform {

enum class EdgeKind { Raised, Sunken };
// A two-pixel edge; returns the rectangle inside it.
Rect DrawEdge3D(DeviceContext& dc, const Rect& r, EdgeKind kind);
// One-pixel frame lines: light on the top and left, dark on the bottom and right.
Rect DrawBevel(DeviceContext& dc, const Rect& r, Color topLeft, Color bottomRight);

// The platform's DrawEdge: an outer and an inner one-pixel edge, each raised or sunken, on the
// sides BF_* names; BF_ADJUST shrinks rect to what lies inside, BF_MIDDLE fills it with the
// face colour.
constexpr UINT BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4,
               BDR_SUNKENINNER = 0x8, EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
               EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
               EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
               EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8,
               BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM, BF_MIDDLE = 0x800,
               BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000;
bool DrawEdge(DeviceContext& dc, Rect& rect, UINT edge, UINT flags);
// The dotted focus frame, drawn by inverting every other pixel: drawing it twice removes it.
bool DrawFocusRect(DeviceContext& dc, const Rect& rect);

enum class FrameGlyph {
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    Close,
    Minimize,
    Maximize,
    Restore,
    Check
};
// A button face (raised, or flat and shifted while pressed) with a glyph in the middle.
void DrawClassicButton(DeviceContext& dc, const Rect& r, FrameGlyph glyph, bool pressed,
                       bool enabled);
void DrawGlyph(DeviceContext& dc, const Rect& r, FrameGlyph glyph, Color color);

} // namespace platform
