#include "platform/win/ClassicLook.h"

#include <algorithm>

#include "platform/win/SystemMetrics.h"

namespace platform {

Rect DrawBevel(DeviceContext& dc, const Rect& r, Color topLeft, Color bottomRight) {
    if (r.IsEmpty())
        return r;
    FillRect(dc, {r.left, r.top, r.right, r.top + 1}, topLeft);
    FillRect(dc, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
    FillRect(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    FillRect(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    return r.Inflate(-1, -1);
}

Rect DrawEdge3D(DeviceContext& dc, const Rect& r, EdgeKind kind) {
    if (kind == EdgeKind::Raised) {
        const Rect inner =
            DrawBevel(dc, r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        return DrawBevel(dc, inner, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }
    const Rect inner =
        DrawBevel(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    return DrawBevel(dc, inner, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
}

bool DrawEdge(DeviceContext& dc, Rect& rect, UINT edge, UINT flags) {
    Rect r = rect;
    auto lines = [&](Color topLeft, Color bottomRight) {
        if (r.IsEmpty())
            return;
        if (flags & BF_TOP)
            FillRect(dc, {r.left, r.top, r.right, r.top + 1}, topLeft);
        if (flags & BF_LEFT)
            FillRect(dc, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
        if (flags & BF_BOTTOM)
            FillRect(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
        if (flags & BF_RIGHT)
            FillRect(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
        r = {r.left + ((flags & BF_LEFT) ? 1 : 0), r.top + ((flags & BF_TOP) ? 1 : 0),
             r.right - ((flags & BF_RIGHT) ? 1 : 0), r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)};
    };
    const Color light = GetSysColor(COLOR_3DLIGHT), white = GetSysColor(COLOR_BTNHIGHLIGHT),
                shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
    if (flags & BF_MONO) {
        if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER))
            lines(dark, dark);
        if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER))
            lines(dark, dark);
    } else if (flags & BF_FLAT) {
        if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER))
            lines(shadow, shadow);
        if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER))
            lines(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    } else {
        const bool soft = (flags & BF_SOFT) != 0;
        if (edge & BDR_RAISEDOUTER)
            lines(soft ? white : light, dark);
        else if (edge & BDR_SUNKENOUTER)
            lines(shadow, white);
        if (edge & BDR_RAISEDINNER)
            lines(soft ? light : white, shadow);
        else if (edge & BDR_SUNKENINNER)
            lines(dark, light);
    }
    if ((flags & BF_MIDDLE) && !r.IsEmpty())
        FillRect(dc, r, GetSysColor(COLOR_BTNFACE));
    if (flags & BF_ADJUST)
        rect = r;
    return true;
}

bool DrawFocusRect(DeviceContext& dc, const Rect& rect) {
    if (rect.IsEmpty())
        return false;
    auto flip = [&](int x, int y) {
        const Color c = GetPixel(dc, x, y);
        if (c != kInvalidColor)
            SetPixel(dc, x, y, c ^ 0x00FFFFFF);
    };
    // Every other pixel along the border, counted around it so corners stay in step.
    for (int x = rect.left; x < rect.right; x += 2) {
        flip(x, rect.top);
        if (rect.Height() > 1)
            flip(x, rect.bottom - 1);
    }
    for (int y = rect.top + 2; y < rect.bottom - 1; y += 2) {
        flip(rect.left, y);
        if (rect.Width() > 1)
            flip(rect.right - 1, y);
    }
    return true;
}

void DrawGlyph(DeviceContext& dc, const Rect& r, FrameGlyph glyph, Color color) {
    const int cx = r.left + r.Width() / 2;
    const int cy = r.top + r.Height() / 2;
    const int size = std::max(1, std::min(r.Width(), r.Height()) / 4);
    switch (glyph) {
    case FrameGlyph::ArrowUp:
    case FrameGlyph::ArrowDown:
        // A triangle of `size` rows, widest at the base.
        for (int i = 0; i < size; ++i) {
            const int y = glyph == FrameGlyph::ArrowUp ? cy - size / 2 + i : cy + size / 2 - i;
            FillRect(dc, {cx - i, y, cx + i + 1, y + 1}, color);
        }
        break;
    case FrameGlyph::ArrowLeft:
    case FrameGlyph::ArrowRight:
        for (int i = 0; i < size; ++i) {
            const int x = glyph == FrameGlyph::ArrowLeft ? cx - size / 2 + i : cx + size / 2 - i;
            FillRect(dc, {x, cy - i, x + 1, cy + i + 1}, color);
        }
        break;
    case FrameGlyph::Close: {
        const int half = std::max(2, size + 1);
        for (int i = -half; i <= half; ++i) {
            FillRect(dc, {cx + i - 1, cy + i, cx + i + 1, cy + i + 1}, color);
            FillRect(dc, {cx - i - 1, cy + i, cx - i + 1, cy + i + 1}, color);
        }
        break;
    }
    case FrameGlyph::Minimize:
        FillRect(dc, {cx - size - 1, cy + size - 1, cx + size, cy + size + 1}, color);
        break;
    case FrameGlyph::Maximize: {
        const Rect box{cx - size - 2, cy - size - 1, cx + size + 2, cy + size + 2};
        FillRect(dc, {box.left, box.top, box.right, box.top + 2}, color);
        DrawBevel(dc, box, color, color);
        break;
    }
    case FrameGlyph::Check:
        // A tick: down for three columns, then up for four, two pixels thick.
        for (int i = 0; i < 7; ++i) {
            const int y = i < 3 ? cy - 1 + i : cy + 1 - (i - 2);
            FillRect(dc, {cx - 3 + i, y, cx - 2 + i, y + 2}, color);
        }
        break;
    case FrameGlyph::Restore: {
        const Rect back{cx - size, cy - size - 2, cx + size + 2, cy + size};
        const Rect front{cx - size - 2, cy - size, cx + size, cy + size + 2};
        FillRect(dc, {back.left, back.top, back.right, back.top + 2}, color);
        DrawBevel(dc, back, color, color);
        FillRect(dc, front.Inflate(-1, -1), GetSysColor(COLOR_BTNFACE));
        FillRect(dc, {front.left, front.top, front.right, front.top + 2}, color);
        DrawBevel(dc, front, color, color);
        break;
    }
    }
}

void DrawClassicButton(DeviceContext& dc, const Rect& r, FrameGlyph glyph, bool pressed,
                       bool enabled) {
    if (r.IsEmpty())
        return;
    Rect inner;
    if (pressed) {
        inner = DrawBevel(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    } else {
        inner = DrawEdge3D(dc, r, EdgeKind::Raised);
    }
    FillRect(dc, inner, GetSysColor(COLOR_BTNFACE));
    const Rect glyphRect = pressed ? r.Offset(1, 1) : r;
    if (enabled) {
        DrawGlyph(dc, glyphRect, glyph, GetSysColor(COLOR_BTNTEXT));
    } else {
        DrawGlyph(dc, glyphRect.Offset(1, 1), glyph, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawGlyph(dc, glyphRect, glyph, GetSysColor(COLOR_GRAYTEXT));
    }
}

} // namespace platform
