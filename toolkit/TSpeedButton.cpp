#include "toolkit/TSpeedButton.h"

#include <algorithm>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/Input.h"
#include "toolkit/ControlText.h"
#include "toolkit/TMenu.h"
#include "toolkit/TWinControl.h"

namespace toolkit {
namespace {

// One drop-down at a time in the whole program: a second press while a menu runs is refused.
bool g_dropDownRunning = false;

constexpr unsigned kCaptionFlags = platform::DT_CENTER | platform::DT_EXPANDTABS;

platform::Color Mix(platform::Color a, platform::Color b) {
    return platform::RGB((platform::GetRValue(a) + platform::GetRValue(b)) / 2,
                         (platform::GetGValue(a) + platform::GetGValue(b)) / 2,
                         (platform::GetBValue(a) + platform::GetBValue(b)) / 2);
}

} // namespace

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    // Clicks are ours to decide: the drop-down zone must not click.
    SetControlStyle(ControlStyle() - TControlStyle{csClickEvents, csSetCaption});
    SetBounds(0, 0, 23, 22);
    m_glyph.OnChange = [this] { Invalidate(); };
}

TSpeedButton::~TSpeedButton() {
    if (m_glyph.Images())
        m_glyph.Images()->RemoveFreeNotification(this);
    SetDropdownMenu(nullptr);
    if (m_menuOpen)
        g_dropDownRunning = false;
}

// ---- picture --------------------------------------------------------------------------------

void TSpeedButton::SetGlyph(const TBitmap& bitmap, TColor transparent) {
    m_glyph.Assign(bitmap, transparent);
}

void TSpeedButton::SetGlyphPixels(int width, int height, std::span<const std::uint8_t> bgr,
                                  platform::Color transparent) {
    m_glyph.SetPixels(width, height, bgr, transparent);
}

void TSpeedButton::SetImages(TImageList* images) {
    m_glyph.SetImages(images, *this);
}

void TSpeedButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove)
        m_glyph.ForgetImages(component);
    if (operation == TOperation::opRemove && component == m_dropdownMenu)
        m_dropdownMenu = nullptr;
}

void TSpeedButton::SetDropdownMenu(TPopupMenu* menu) {
    if (menu == m_dropdownMenu)
        return;
    if (m_dropdownMenu)
        m_dropdownMenu->RemoveFreeNotification(this);
    m_dropdownMenu = menu;
    if (m_dropdownMenu)
        m_dropdownMenu->FreeNotification(this);
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
    if (layout == m_layout)
        return;
    m_layout = layout;
    Invalidate();
}

void TSpeedButton::SetMargin(int margin) {
    margin = std::max(margin, -1);
    if (margin == m_margin)
        return;
    m_margin = margin;
    Invalidate();
}

void TSpeedButton::SetSpacing(int spacing) {
    spacing = std::max(spacing, -1);
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    Invalidate();
}

// ---- behaviour ------------------------------------------------------------------------------

void TSpeedButton::SetFlat(bool on) {
    if (on == m_flat)
        return;
    m_flat = on;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int index) {
    if (index == m_groupIndex)
        return;
    m_groupIndex = index;
    if (!Toggles() && m_down) {
        m_down = false;
        Invalidate();
    }
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool down) {
    if (!Toggles())
        down = false;
    if (down == m_down)
        return;
    // The last one down of a group stays down unless the group may be all up.
    if (m_down && m_groupIndex != 0 && !m_allowAllUp)
        return;
    m_down = down;
    Invalidate();
    if (down)
        UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool on) {
    if (on == m_allowAllUp)
        return;
    m_allowAllUp = on;
    UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
    if (m_groupIndex == 0 || !Parent())
        return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(m_groupIndex), ControlParam(this), 0};
    Parent()->Broadcast(m);
}

void TSpeedButton::SetButtonStyle(TToolButtonStyle style) {
    if (style == m_style)
        return;
    const TToolButtonStyle old = m_style;
    m_style = style;
    if (!IsLoading()) {
        if (style == tbsDropDown)
            SetWidth(Width() + kDropDownWidth);
        else if (old == tbsDropDown)
            SetWidth(Width() - kDropDownWidth);
    }
    if (!Toggles() && m_down)
        m_down = false;
    Invalidate();
}

TButtonState TSpeedButton::State() const {
    if (!Enabled())
        return TButtonState::bsDisabled;
    if (m_pressed)
        return TButtonState::bsDown;
    if (m_down)
        return TButtonState::bsExclusive;
    return TButtonState::bsUp;
}

platform::Rect TSpeedButton::ContentRect() const {
    platform::Rect r = ClientRect();
    if (m_style == tbsDropDown)
        r.right = std::max(r.left, r.right - kDropDownWidth);
    return r;
}

platform::Rect TSpeedButton::DropDownRect() const {
    if (m_style != tbsDropDown)
        return {};
    const platform::Rect c = ClientRect();
    return {std::max(c.left, c.right - kDropDownWidth), c.top, c.right, c.bottom};
}

bool TSpeedButton::InDropDownZone(int x) const {
    return m_style == tbsDropDown && x > Width() - kDropDownWidth;
}

void TSpeedButton::DropDown() {
    if (g_dropDownRunning || !HasDropDown())
        return;
    // The menu takes the mouse; this press is over for the button.
    SetMouseCapture(false);
    m_dragging = m_pressed = false;
    g_dropDownRunning = m_menuOpen = true;
    Repaint();
    const std::weak_ptr<const bool> alive = LifeToken();
    struct Finish {
        TSpeedButton* self;
        const std::weak_ptr<const bool>& alive;
        ~Finish() {
            g_dropDownRunning = false;
            if (alive.expired())
                return;
            self->m_menuOpen = false;
            platform::Point cursor;
            if (self->m_mouseInControl && platform::GetCursorPos(cursor) &&
                !self->ClientRect().Contains(self->ScreenToClient(cursor))) {
                if (MouseControl() == self)
                    SetMouseControl(nullptr);
                else
                    self->Perform(CM_MOUSELEAVE, 0, 0);
            }
            self->Invalidate();
        }
    } finish{this, alive};
    if (OnDropDownClick) {
        Fire(OnDropDownClick, this);
    } else {
        m_dropdownMenu->SetPopupComponent(this);
        const platform::Point corner = ClientToScreen(DropDownPoint());
        m_dropdownMenu->Popup(corner.x, corner.y);
    }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const std::weak_ptr<const bool> alive = LifeToken();
    if (button == mbLeft && Enabled() && !Inert()) {
        if (m_style == tbsDropDown && HasDropDown() && (InDropDownZone(x) || !OnClick)) {
            DropDown();
            if (alive.expired())
                return;
        } else {
            m_dragging = true;
            m_pressed = true;
            Invalidate();
        }
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    if (m_dragging) {
        const bool inside = ClientRect().Contains({x, y});
        if (inside != m_pressed) {
            m_pressed = inside;
            Invalidate();
        }
    }
    TGraphicControl::MouseMove(shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && m_dragging) {
        m_dragging = false;
        m_pressed = false;
        const bool inside = ClientRect().Contains({x, y});
        if (inside && Toggles()) {
            const bool grouped = m_groupIndex != 0;
            if (!m_down)
                SetDown(true);
            else if (!grouped || m_allowAllUp) {
                // A check button without a group toggles freely.
                if (!grouped)
                    m_down = false;
                else
                    SetDown(false);
            }
        }
        Invalidate();
        if (inside) {
            const std::weak_ptr<const bool> alive = LifeToken();
            Click();
            if (alive.expired())
                return;
        }
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (m.LParam == 0) {
            const bool over = m.Msg == CM_MOUSEENTER && Enabled();
            if (over != m_mouseInControl) {
                m_mouseInControl = over;
                Invalidate();
            }
        }
        break;
    case CM_BUTTONPRESSED: {
        auto* sender = dynamic_cast<TSpeedButton*>(ControlFromParam(m.LParam));
        if (!sender || sender == this || static_cast<int>(m.WParam) != m_groupIndex ||
            m_groupIndex == 0)
            return;
        if (sender->Down() && m_down) {
            m_down = false;
            Invalidate();
        }
        m_allowAllUp = sender->AllowAllUp();
        return;
    }
    case CM_ENABLEDCHANGED:
        if (!Enabled()) {
            m_dragging = m_pressed = false;
            m_mouseInControl = false;
        }
        break;
    case CM_DIALOGCHAR:
        if (!Inert() && Enabled() && IsAccel(static_cast<char32_t>(m.WParam), Caption()) &&
            Showing()) {
            m.Result = 1;
            Click();
        }
        return;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}

// ---- painting -------------------------------------------------------------------------------

TButtonPlacement TSpeedButton::Placement() const {
    const platform::Rect content = ContentRect();
    platform::Size text;
    if (!Caption().empty()) {
        const platform::Rect measured = MeasureText(Font(), Caption(), content, kCaptionFlags);
        text = {measured.Width(), measured.Height()};
    }
    return CalcButtonLayout(content, m_glyph.GlyphSize(), text, m_layout, m_margin, m_spacing);
}

void TSpeedButton::Paint() {
    TCanvas& canvas = Canvas();
    const TButtonState state = State();
    if (m_style == tbsSeparator)
        return;
    if (m_style == tbsDivider) {
        const platform::Rect c = ClientRect();
        const int x = c.Width() / 2 - 1;
        platform::Rect line{x, c.top + 1, x + 2, c.bottom - 1};
        platform::DrawEdge(canvas.Handle(), line, platform::EDGE_ETCHED, platform::BF_LEFT);
        return;
    }
    // Without a handler the whole button is the drop-down and shows pressed with its menu.
    const bool wholeOpen = m_menuOpen && !OnClick;
    PaintFrame(canvas, ContentRect(), wholeOpen ? TButtonState::bsDown : state);
    if (m_style == tbsDropDown)
        PaintDropDown(canvas, DropDownRect());
    PaintContent(canvas, wholeOpen ? TButtonState::bsDown : state);
}

void TSpeedButton::PaintFrame(TCanvas& canvas, const platform::Rect& rect, TButtonState state) {
    platform::DeviceContext& dc = canvas.Handle();
    const platform::Color face = ColorToRGB(Color());
    const bool sunk = state == TButtonState::bsDown || state == TButtonState::bsExclusive;
    const bool exclusiveLook = state == TButtonState::bsExclusive && !m_mouseInControl;
    platform::FillRect(dc, rect, exclusiveLook ? Mix(face, ColorToRGB(clBtnHighlight)) : face);
    platform::Rect r = rect;
    if (m_flat) {
        if (sunk)
            platform::DrawEdge(dc, r, platform::BDR_SUNKENOUTER, platform::BF_RECT);
        else if (m_mouseInControl && state != TButtonState::bsDisabled)
            platform::DrawEdge(dc, r, platform::BDR_RAISEDINNER, platform::BF_RECT);
        return;
    }
    platform::DrawEdge3D(dc, r, sunk ? platform::EdgeKind::Sunken : platform::EdgeKind::Raised);
}

void TSpeedButton::PaintContent(TCanvas& canvas, TButtonState state) {
    TButtonPlacement p = Placement();
    const bool sunk = state == TButtonState::bsDown || state == TButtonState::bsExclusive;
    if (sunk) {
        p.glyph = p.glyph.Offset(1, 1);
        p.text = p.text.Offset(1, 1);
    }
    m_glyph.Draw(canvas, {p.glyph.left, p.glyph.top}, state);
    if (Caption().empty())
        return;
    canvas.Font().Assign(&Font());
    DrawControlText(canvas, Caption(), p.text, kCaptionFlags, Enabled());
}

void TSpeedButton::PaintDropDown(TCanvas& canvas, const platform::Rect& zone) {
    if (zone.IsEmpty())
        return;
    platform::DeviceContext& dc = canvas.Handle();
    platform::FillRect(dc, zone, ColorToRGB(Color()));
    const bool pressed = m_menuOpen;
    platform::Rect r = zone;
    if (!m_flat)
        platform::DrawEdge3D(dc, r,
                             pressed ? platform::EdgeKind::Sunken : platform::EdgeKind::Raised);
    else if (pressed)
        platform::DrawEdge(dc, r, platform::BDR_SUNKENOUTER, platform::BF_RECT);
    else if (m_mouseInControl)
        platform::DrawEdge(dc, r, platform::BDR_RAISEDINNER, platform::BF_RECT);
    // A small arrow: five pixels wide, three high, in the middle of the zone.
    const int shift = pressed ? 1 : 0;
    const int x = zone.left + (zone.Width() - 5) / 2 + shift;
    const int y = zone.top + (zone.Height() - 3) / 2 + shift;
    const platform::Color ink = ColorToRGB(Enabled() ? clBtnText : clBtnShadow);
    for (int i = 0; i < 3; ++i)
        platform::FillRect(dc, {x + i, y + i, x + 5 - i, y + i + 1}, ink);
}

} // namespace toolkit
