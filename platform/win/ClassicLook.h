#pragma once
// The plain classic look the window system draws when nobody else paints: three-dimensional
// edges, button faces and the small glyphs of caption buttons and scroll arrows. Rectangles are
// in the context's logical coordinates; everything stays inside the rectangle given.

#include "platform/gfx/DeviceContext.h"

namespace platform {

enum class EdgeKind { Raised, Sunken };
// A two-pixel edge; returns the rectangle inside it.
Rect DrawEdge3D(DeviceContext& dc, const Rect& r, EdgeKind kind);
// One-pixel frame lines: light on the top and left, dark on the bottom and right.
Rect DrawBevel(DeviceContext& dc, const Rect& r, Color topLeft, Color bottomRight);

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
