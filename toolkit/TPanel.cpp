#include "toolkit/TPanel.h"

#include "platform/win/ClassicLook.h"
#include "toolkit/ControlText.h"

namespace toolkit {
namespace {

// One bevel of the given cut, width lines deep; answers what lies inside it.
platform::Rect DrawCut(platform::DeviceContext& dc, platform::Rect r, TBevelCut cut, int width) {
    if (cut == bvNone)
        return r;
    const platform::Color light = ColorToRGB(clBtnHighlight);
    const platform::Color dark = ColorToRGB(clBtnShadow);
    for (int i = 0; i < width && !r.IsEmpty(); ++i) {
        switch (cut) {
        case bvRaised:
            r = platform::DrawBevel(dc, r, light, dark);
            break;
        case bvLowered:
            r = platform::DrawBevel(dc, r, dark, light);
            break;
        default: // bvSpace keeps the background showing
            r = r.Inflate(-1, -1);
            break;
        }
    }
    return r;
}

} // namespace

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
    SetBevelOuter(bvRaised);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetAlignment(TAlignment alignment) {
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    Invalidate();
}

platform::Rect TCustomPanel::InnerRect() const {
    platform::Rect r = ClientRect();
    AdjustClientRect(r);
    return r;
}

unsigned TCustomPanel::CaptionFlags() const {
    return AlignmentFlags(m_alignment) | platform::DT_NOPREFIX | platform::DT_EXPANDTABS;
}

platform::Rect TCustomPanel::CaptionRect() const {
    const platform::Rect inner = InnerRect();
    const platform::Rect text = MeasureText(Font(), Caption(), inner, CaptionFlags());
    const int top = inner.top + (inner.Height() - text.Height()) / 2;
    return {inner.left, top, inner.right, top + text.Height()};
}

void TCustomPanel::Paint() {
    TCanvas& canvas = Canvas();
    const platform::Rect r = ClientRect();
    PaintBackground(canvas, r);
    PaintBevels(canvas, r);
    PaintCaption(canvas);
}

void TCustomPanel::PaintBackground(TCanvas& canvas, const platform::Rect& rect) {
    if (Color() == clNone)
        return;
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(rect);
}

platform::Rect TCustomPanel::PaintBevels(TCanvas& canvas, const platform::Rect& rect) {
    platform::DeviceContext& dc = canvas.Handle();
    platform::Rect r = DrawCut(dc, rect, BevelOuter(), BevelWidth());
    r = r.Inflate(-BorderWidth(), -BorderWidth());
    return DrawCut(dc, r, BevelInner(), BevelWidth());
}

void TCustomPanel::PaintCaption(TCanvas& canvas) {
    const std::string text = Caption();
    if (text.empty())
        return;
    canvas.Font().Assign(&Font());
    const platform::Rect inner = InnerRect();
    platform::Rect r = CaptionRect();
    // The block may be taller than the inside; never draw over the bevels.
    r = {inner.left, r.top, inner.right, r.bottom};
    platform::DeviceContext& dc = canvas.Handle();
    platform::DcStateGuard guard(dc);
    platform::IntersectClipRect(dc, inner);
    DrawControlText(canvas, text, r, CaptionFlags(), Enabled());
}

} // namespace toolkit
