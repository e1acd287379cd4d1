#include "toolkit/TButton.h"

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/Input.h"
#include "toolkit/ControlText.h"

namespace toolkit {

TButton::TButton(TComponent* owner)
    : TButtonControl(owner), m_canvas(std::make_unique<TControlCanvas>(*this)) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    SetBounds(0, 0, 75, 25);
    SetColor(clBtnFace);
}

TButton::~TButton() = default;

void TButton::CancelPress() {
    const bool was = m_mouseHeld || m_spaceHeld;
    m_mouseHeld = m_mouseInside = m_spaceHeld = false;
    MutableControlState().Exclude(csClicked);
    if (was)
        Invalidate();
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled()) {
        m_mouseHeld = true;
        m_mouseInside = ClientRect().Contains({x, y});
        Invalidate();
    }
    TButtonControl::MouseDown(button, shift, x, y);
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
    if (m_mouseHeld) {
        const bool inside = ClientRect().Contains({x, y});
        if (inside != m_mouseInside) {
            m_mouseInside = inside;
            Invalidate();
        }
    }
    TButtonControl::MouseMove(shift, x, y);
}

bool TButton::DoKeyDown(platform::WORD& key, TShiftState shift) {
    if (TButtonControl::DoKeyDown(key, shift))
        return true;
    if (key == platform::VK_SPACE && Enabled() && !m_mouseHeld) {
        if (!m_spaceHeld) {
            m_spaceHeld = true;
            Invalidate();
        }
        return true;
    }
    return false;
}

bool TButton::DoKeyUp(platform::WORD& key, TShiftState shift) {
    if (TButtonControl::DoKeyUp(key, shift))
        return true;
    if (key == platform::VK_SPACE && m_spaceHeld) {
        m_spaceHeld = false;
        Invalidate();
        Click();
        return true;
    }
    return false;
}

void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case platform::WM_LBUTTONUP:
        // Up first, so whatever the click starts (a modal form) sees the button released.
        if (m_mouseHeld) {
            m_mouseHeld = m_mouseInside = false;
            Invalidate();
        }
        break;
    case platform::WM_CAPTURECHANGED:
        // Our own release comes after the held state is gone; anything else takes the mouse.
        CancelPress();
        break;
    case platform::WM_SETFOCUS:
    case platform::WM_KILLFOCUS:
        if (m.Msg == platform::WM_KILLFOCUS)
            CancelPress();
        Invalidate();
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (m.LParam == 0) {
            m_mouseOver = m.Msg == CM_MOUSEENTER;
            Invalidate();
        }
        break;
    case CM_ENABLEDCHANGED:
        if (!Enabled())
            CancelPress();
        break;
    case CM_FOCUSCHANGED: {
        const bool wasActive = Active();
        TButtonControl::WndProc(m);
        if (Active() != wasActive)
            Invalidate();
        return;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char32_t>(m.WParam), Caption()) && CanFocus()) {
            m.Result = 1;
            Click();
        }
        return;
    default:
        break;
    }
    TButtonControl::WndProc(m);
}

void TButton::PaintWindow(platform::DeviceContext& dc) {
    m_canvas->FreeHandle();
    m_canvas->SetHandle(&dc);
    struct Release {
        TControlCanvas& c;
        ~Release() { c.SetHandle(nullptr); }
    } release{*m_canvas};
    Paint();
}

void TButton::Paint() {
    TCanvas& canvas = Canvas();
    const platform::Rect r = ClientRect();
    platform::Rect content = PaintFace(canvas, r);
    if (Pressed())
        content = content.Offset(1, 1);
    PaintContent(canvas, content);
    if (Focused())
        PaintFocus(canvas, r);
}

platform::Rect TButton::PaintFace(TCanvas& canvas, const platform::Rect& rect) {
    platform::DeviceContext& dc = canvas.Handle();
    platform::Rect r = rect;
    platform::FillRect(dc, r, ColorToRGB(Color()));
    if ((Active() || Focused()) && Enabled()) {
        platform::FrameRect(dc, r, ColorToRGB(clBlack));
        r = r.Inflate(-1, -1);
    }
    if (Pressed()) {
        platform::FrameRect(dc, r, ColorToRGB(clBtnShadow));
        return r.Inflate(-2, -2);
    }
    return platform::DrawEdge3D(dc, r, platform::EdgeKind::Raised);
}

void TButton::PaintContent(TCanvas& canvas, const platform::Rect& content) {
    canvas.Font().Assign(&Font());
    DrawControlText(canvas, Caption(), content,
                    platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE,
                    Enabled());
}

void TButton::PaintFocus(TCanvas& canvas, const platform::Rect& rect) {
    platform::DrawFocusRect(canvas.Handle(), rect.Inflate(-4, -4));
}

} // namespace toolkit
