#include "toolkit/TControl.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TControlCanvas.h"
#include "toolkit/TForm.h"
#include "toolkit/TWinControl.h"

namespace toolkit {
namespace {

TControl* g_mouseControl = nullptr;
// The graphic control holding the mouse through its parent's window.
TControl* g_captureControl = nullptr;

bool Down(int vk) {
    return (platform::GetKeyState(vk) & 0x8000) != 0;
}

} // namespace

TShiftState ShiftStateFromMouse(WPARAM keys) {
    TShiftState s;
    s.Set(ssShift, keys & platform::MK_SHIFT);
    s.Set(ssCtrl, keys & platform::MK_CONTROL);
    s.Set(ssLeft, keys & platform::MK_LBUTTON);
    s.Set(ssRight, keys & platform::MK_RBUTTON);
    s.Set(ssMiddle, keys & platform::MK_MBUTTON);
    if (platform::WindowSystem::Running())
        s.Set(ssAlt, Down(platform::VK_MENU));
    return s;
}

TShiftState CurrentShiftState() {
    TShiftState s;
    if (!platform::WindowSystem::Running())
        return s;
    s.Set(ssShift, Down(platform::VK_SHIFT));
    s.Set(ssCtrl, Down(platform::VK_CONTROL));
    s.Set(ssAlt, Down(platform::VK_MENU));
    return s;
}

TControl* MouseControl() {
    return g_mouseControl;
}

void SetMouseControl(TControl* control) {
    if (control == g_mouseControl)
        return;
    TControl* old = g_mouseControl;
    g_mouseControl = control;
    if (old)
        old->Perform(CM_MOUSELEAVE, 0, 0);
    // The leave handler may have moved things on; enter only what is still wanted.
    if (control && g_mouseControl == control)
        control->Perform(CM_MOUSEENTER, 0, 0);
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    m_windowProc = [this](TMessage& m) { WndProc(m); };
    m_font.OnChange = [this](TObject*) {
        if (!m_changingFont)
            m_parentFont = false;
        Perform(CM_FONTCHANGED, 0, 0);
    };
}

TControl::~TControl() {
    Destroying();
    if (g_mouseControl == this)
        g_mouseControl = nullptr;
    if (g_captureControl == this)
        g_captureControl = nullptr;
    m_life.reset();
    if (m_parent)
        m_parent->RemoveControl(this);
}

void TControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    // A copy: the handler may replace WindowProc while it runs.
    const TWndMethod proc = m_windowProc;
    proc(m);
    return m.Result;
}

void TControl::SetWindowProc(TWndMethod proc) {
    m_windowProc = proc ? std::move(proc) : TWndMethod([this](TMessage& m) { WndProc(m); });
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::HandleMouseMessage(TMessage& m) {
    const int x = platform::GET_X_LPARAM(m.LParam);
    const int y = platform::GET_Y_LPARAM(m.LParam);
    TShiftState shift = ShiftStateFromMouse(m.WParam);
    const std::weak_ptr<const bool> alive = m_life;
    switch (m.Msg) {
    case platform::WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        return;
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONDBLCLK:
        if (m.Msg == platform::WM_LBUTTONDBLCLK)
            shift.Include(ssDouble);
        if (m_controlStyle.Contains(csCaptureMouse))
            SetMouseCapture(true);
        if (m_controlStyle.Contains(csClickEvents))
            m_controlState.Include(csClicked);
        m_controlState.Include(csLButtonDown);
        if (m.Msg == platform::WM_LBUTTONDBLCLK && m_controlStyle.Contains(csDoubleClicks)) {
            DblClick();
            if (alive.expired())
                return;
        }
        MouseDown(mbLeft, shift, x, y);
        return;
    case platform::WM_LBUTTONUP: {
        const bool clicked = m_controlState.Contains(csClicked);
        m_controlState.Exclude(csClicked);
        m_controlState.Exclude(csLButtonDown);
        if (m_controlStyle.Contains(csCaptureMouse))
            SetMouseCapture(false);
        if (clicked && ClientRect().Contains({x, y})) {
            Click();
            if (alive.expired())
                return;
        }
        MouseUp(mbLeft, shift, x, y);
        return;
    }
    case platform::WM_RBUTTONDOWN:
    case platform::WM_RBUTTONDBLCLK:
        MouseDown(mbRight, shift, x, y);
        return;
    case platform::WM_RBUTTONUP:
        MouseUp(mbRight, shift, x, y);
        return;
    case platform::WM_MBUTTONDOWN:
    case platform::WM_MBUTTONDBLCLK:
        MouseDown(mbMiddle, shift, x, y);
        return;
    case platform::WM_MBUTTONUP:
        MouseUp(mbMiddle, shift, x, y);
        return;
    default:
        return;
    }
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case platform::WM_MOUSEMOVE:
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONDBLCLK:
    case platform::WM_LBUTTONUP:
    case platform::WM_RBUTTONDOWN:
    case platform::WM_RBUTTONDBLCLK:
    case platform::WM_RBUTTONUP:
    case platform::WM_MBUTTONDOWN:
    case platform::WM_MBUTTONDBLCLK:
    case platform::WM_MBUTTONUP: {
        const std::weak_ptr<const bool> alive = m_life;
        HandleMouseMessage(m);
        if (alive.expired())
            return;
        break;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (m.LParam == 0 && m_parent)
            m_parent->Perform(m.Msg, 0, ControlParam(this));
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    case CM_VISIBLECHANGED:
        return;
    case CM_PARENTCOLORCHANGED:
        if (m_parentColor && m_parent)
            ChangeColor(m_parent->Color());
        return;
    case CM_PARENTFONTCHANGED:
        if (m_parentFont && m_parent) {
            m_changingFont = true;
            m_font.Assign(&m_parent->Font());
            m_changingFont = false;
        }
        return;
    case CM_PARENTSHOWHINTCHANGED:
        if (m_parentShowHint && m_parent)
            m_showHint = m_parent->ShowHint();
        return;
    case CM_HITTEST:
        m.Result = platform::HTCLIENT;
        return;
    default:
        break;
    }
    DefaultHandler(m);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == m_parent)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (m_parent)
        m_parent->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->m_parent)
        c = c->m_parent;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    const bool resized = width != m_width || height != m_height;
    // The old place shows the parent afterwards, so it is erased even for an opaque control.
    if (IsWindowed())
        Invalidate();
    else
        InvalidateOnParent(true);
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    Invalidate();
    RequestAlign();
    if (resized)
        Resize();
}

platform::Rect TControl::ClientRect() const {
    return {0, 0, m_width, m_height};
}

void TControl::SetClientSize(std::int32_t width, std::int32_t height) {
    const platform::Rect c = ClientRect();
    SetBounds(m_left, m_top, m_width - c.Width() + width, m_height - c.Height() + height);
}

platform::Point TControl::ClientOrigin() const {
    if (!m_parent)
        return {m_left, m_top};
    const platform::Point p = m_parent->ClientOrigin();
    return {p.x + m_left, p.y + m_top};
}

platform::Point TControl::ClientToScreen(platform::Point p) const {
    const platform::Point o = ClientOrigin();
    return {p.x + o.x, p.y + o.y};
}

platform::Point TControl::ScreenToClient(platform::Point p) const {
    const platform::Point o = ClientOrigin();
    return {p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign align) {
    if (align == m_align)
        return;
    // Back to alNone the control keeps the place alignment gave it.
    m_align = align;
    if (m_parent)
        m_parent->Realign();
}

void TControl::RequestAlign() {
    if (m_parent && m_align != alNone)
        m_parent->Realign();
}

bool TControl::Showing() const {
    if (!m_visible)
        return false;
    return m_parent ? m_parent->Showing() : true;
}

void TControl::SetVisible(bool visible) {
    if (visible == m_visible)
        return;
    if (!visible)
        Invalidate();
    m_visible = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
    if (visible)
        Invalidate();
    if (m_parent && m_align != alNone)
        m_parent->Realign();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::ChangeColor(TColor color) {
    if (color == m_color)
        return;
    m_color = color;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetColor(TColor color) {
    m_parentColor = false;
    ChangeColor(color);
}

void TControl::SetParentColor(bool on) {
    if (on == m_parentColor)
        return;
    m_parentColor = on;
    if (on && m_parent)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool on) {
    if (on == m_parentFont)
        return;
    m_parentFont = on;
    if (on && m_parent)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool on) {
    m_parentShowHint = false;
    if (on == m_showHint)
        return;
    m_showHint = on;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool on) {
    if (on == m_parentShowHint)
        return;
    m_parentShowHint = on;
    if (on && m_parent)
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetText(const std::string& text) {
    if (text == Text())
        return;
    m_text = text;
    ApplyText();
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetName(const std::string& name) {
    const std::string old = Name();
    TComponent::SetName(name);
    // Until someone gives it a caption, a new control shows its name.
    if (m_controlStyle.Contains(csSetCaption) && !IsLoading() && Text() == old)
        SetText(name);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (m_parent) {
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
        Perform(CM_PARENTFONTCHANGED, 0, 0);
        RequestAlign();
    }
}

void TControl::Invalidate() {
    InvalidateOnParent(!m_controlStyle.Contains(csOpaque));
}

void TControl::InvalidateOnParent(bool erase) {
    if (!m_parent || !m_visible || m_width <= 0 || m_height <= 0)
        return;
    if (!m_parent->HandleAllocated())
        return;
    const platform::Rect r = BoundsRect();
    platform::InvalidateRect(m_parent->HandleIfAllocated(), &r, erase);
}

void TControl::Update() {
    if (m_parent)
        m_parent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!m_parent)
        return;
    auto& list = m_parent->m_controls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        platform::SetWindowPos(win->HandleIfAllocated(), platform::HWND_TOP, 0, 0, 0, 0,
                               platform::SWP_NOMOVE | platform::SWP_NOSIZE |
                                   platform::SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (!m_parent)
        return;
    auto& list = m_parent->m_controls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        platform::SetWindowPos(win->HandleIfAllocated(), platform::HWND_BOTTOM, 0, 0, 0, 0,
                               platform::SWP_NOMOVE | platform::SWP_NOSIZE |
                                   platform::SWP_NOACTIVATE);
    Invalidate();
}

bool TControl::MouseCapture() const {
    if (auto* win = dynamic_cast<const TWinControl*>(this))
        return win->HandleAllocated() && platform::GetCapture() == win->HandleIfAllocated();
    return g_captureControl == this;
}

void TControl::SetMouseCapture(bool on) {
    if (!platform::WindowSystem::Running())
        return;
    if (auto* win = dynamic_cast<TWinControl*>(this)) {
        if (!win->HandleAllocated())
            return;
        if (on)
            platform::SetCapture(win->HandleIfAllocated());
        else if (platform::GetCapture() == win->HandleIfAllocated())
            platform::ReleaseCapture();
        return;
    }
    if (on) {
        if (!m_parent || !m_parent->HandleAllocated())
            return;
        g_captureControl = this;
        platform::SetCapture(m_parent->HandleIfAllocated());
    } else if (g_captureControl == this) {
        g_captureControl = nullptr;
        if (m_parent && platform::GetCapture() == m_parent->HandleIfAllocated())
            platform::ReleaseCapture();
    }
}

void TControl::Click() {
    Fire(OnClick, this);
}

void TControl::DblClick() {
    Fire(OnDblClick, this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Fire(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Fire(OnMouseUp, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    Fire(OnMouseMove, this, shift, x, y);
}

void TControl::Resize() {
    Fire(OnResize, this);
}

// ---- TGraphicControl ------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), m_canvas(std::make_unique<TControlCanvas>(*this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == platform::WM_PAINT) {
        auto* dc = reinterpret_cast<platform::DeviceContext*>(m.WParam);
        if (!dc)
            return;
        m_canvas->FreeHandle();
        m_canvas->SetHandle(dc);
        struct Release {
            TControlCanvas& c;
            ~Release() { c.SetHandle(nullptr); }
        } release{*m_canvas};
        Paint();
        return;
    }
    TControl::WndProc(m);
}

void PaintGraphicControl(TControl& control, platform::DeviceContext& dc) {
    platform::DcStateGuard guard(dc);
    platform::OffsetViewportOrgEx(dc, control.Left(), control.Top());
    if (platform::IntersectClipRect(dc, {0, 0, control.Width(), control.Height()}) ==
        platform::RegionKind::Null)
        return;
    control.Perform(platform::WM_PAINT, reinterpret_cast<WPARAM>(&dc), 0);
}

} // namespace toolkit
