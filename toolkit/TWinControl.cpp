#include "toolkit/TWinControl.h"

#include <algorithm>

#include "platform/win/DefWindowProc.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TApplication.h"
#include "toolkit/TControlCanvas.h"
#include "toolkit/TForm.h"

namespace toolkit {
namespace {

constexpr const char* kControlProp = "toolkit.TWinControl";

// The control whose window is being made; its first message attaches the window to it.
TWinControl* g_creating = nullptr;
// How deep window procedures of ours are nested; contexts taken by canvases go back when the
// outermost one ends.
int g_dispatchDepth = 0;

bool IsMouseMessage(UINT msg) {
    return msg >= platform::WM_MOUSEMOVE && msg <= platform::WM_MBUTTONDBLCLK;
}

LPARAM Shifted(LPARAM l, const TControl& c) {
    return platform::MAKELPARAM(static_cast<platform::WORD>(platform::GET_X_LPARAM(l) - c.Left()),
                                static_cast<platform::WORD>(platform::GET_Y_LPARAM(l) - c.Top()));
}

} // namespace

platform::LRESULT InitWndProc(platform::HWND h, platform::UINT msg, platform::WPARAM w,
                              platform::LPARAM l) {
    if (TWinControl* c = g_creating) {
        g_creating = nullptr;
        c->Attach(h);
        return c->MainWndProc(h, msg, w, l);
    }
    return platform::DefWindowProc(h, msg, w, l);
}

TWinControl* FindControl(platform::HWND h) {
    if (!h || !platform::WindowSystem::Running())
        return nullptr;
    return reinterpret_cast<TWinControl*>(platform::GetProp(h, kControlProp));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    Destroying();
    if (Parent())
        Parent()->RemoveControl(this);
    DestroyComponents();
    while (!m_controls.empty()) {
        TControl* c = m_controls.back();
        // A child that goes takes itself out of the list; make sure of it all the same.
        c->m_parent->RemoveControl(c);
        Free(c);
    }
    // Whatever replaced WindowProc belongs to an object that may be gone already.
    SetWindowProc(nullptr);
    m_inDestructor = true;
    DestroyHandle();
}

// ---- the window -----------------------------------------------------------------------------

platform::HWND TWinControl::Handle() {
    if (!m_handle)
        CreateHandle();
    return m_handle;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = Text();
    p.Style = platform::WS_CHILD | platform::WS_CLIPSIBLINGS;
    if (ControlStyle().Contains(csAcceptsControls)) {
        p.Style |= platform::WS_CLIPCHILDREN;
        p.ExStyle |= platform::WS_EX_CONTROLPARENT;
    }
    if (Visible())
        p.Style |= platform::WS_VISIBLE;
    if (!Enabled())
        p.Style |= platform::WS_DISABLED;
    if (m_tabStop)
        p.Style |= platform::WS_TABSTOP;
    p.X = m_left;
    p.Y = m_top;
    p.Width = m_width;
    p.Height = m_height;
    p.WinClassName = ClassName();
    p.ClassStyle = platform::CS_VREDRAW | platform::CS_HREDRAW | platform::CS_DBLCLKS;
}

void TWinControl::CreateHandle() {
    if (m_handle)
        return;
    CreateWnd();
    if (!m_handle)
        return;
    CreateChildHandles();
    Realign();
}

void TWinControl::CreateChildHandles() {
    const std::vector<TControl*> children = m_controls;
    for (TControl* c : children)
        if (auto* win = dynamic_cast<TWinControl*>(c); win && !win->m_handle)
            win->CreateHandle();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    platform::HWND parentHandle;
    if (p.Style & platform::WS_CHILD) {
        if (!Parent())
            throw EInvalidOperation::NoParentWindow(Name());
        parentHandle = Parent()->Handle();
        // Making the parent's window makes its children's windows, this one among them.
        if (m_handle)
            return;
    } else {
        parentHandle = ParentWindowHandle();
    }
    platform::WNDCLASS wc;
    if (!platform::GetClassInfo(p.WinClassName, wc)) {
        wc = platform::WNDCLASS{};
        wc.lpszClassName = p.WinClassName;
        wc.style = p.ClassStyle;
        wc.hCursor = p.ClassCursor;
        wc.lpfnWndProc = &InitWndProc;
        platform::RegisterClass(wc);
    }
    TWinControl* outer = g_creating;
    g_creating = this;
    platform::HWND h;
    try {
        h = platform::CreateWindowEx(p.ExStyle, p.WinClassName, p.Caption, p.Style, p.X, p.Y,
                                     p.Width, p.Height, parentHandle, 0, this);
    } catch (...) {
        g_creating = outer;
        throw;
    }
    g_creating = outer;
    if (!h)
        throw EOutOfResources("Window");
    // A class made elsewhere under the same name never passed through InitWndProc.
    if (!m_handle)
        Attach(h);
}

void TWinControl::Attach(platform::HWND h) {
    m_handle = h;
    platform::SetProp(h, kControlProp, reinterpret_cast<platform::HANDLE>(this));
    platform::WNDCLASS wc;
    const bool ours = platform::GetClassInfo(platform::GetClassName(h), wc) &&
                      wc.lpfnWndProc == platform::WNDPROC(&InitWndProc);
    m_defWndProc = ours ? platform::WNDPROC(&platform::DefWindowProc) : platform::GetWindowProc(h);
    std::weak_ptr<const bool> alive = LifeToken();
    m_objectProc = platform::WNDPROC::Bind([this, alive](platform::HWND hwnd, platform::UINT msg,
                                                         platform::WPARAM w,
                                                         platform::LPARAM l) -> platform::LRESULT {
        if (alive.expired())
            return platform::DefWindowProc(hwnd, msg, w, l);
        return MainWndProc(hwnd, msg, w, l);
    });
    platform::SetWindowProc(h, m_objectProc);
}

platform::LRESULT TWinControl::MainWndProc(platform::HWND h, platform::UINT msg, platform::WPARAM w,
                                           platform::LPARAM l) {
    if (m_inDestructor) {
        const platform::LRESULT r = platform::CallWindowProc(m_defWndProc, h, msg, w, l);
        if (msg == platform::WM_NCDESTROY)
            m_handle = {};
        return r;
    }
    TMessage m{msg, w, l, 0};
    ++g_dispatchDepth;
    struct Depth {
        ~Depth() {
            if (--g_dispatchDepth == 0)
                TControlCanvas::FreeDeviceContexts();
        }
    } depth;
    try {
        // A copy: the handler may replace WindowProc, or delete the control.
        const TWndMethod proc = WindowProc();
        proc(m);
    } catch (...) {
        TApplication* app = Application();
        if (!app)
            throw;
        app->HandleException(std::current_exception());
    }
    return m.Result;
}

void TWinControl::DestroyHandle() {
    if (!m_handle)
        return;
    if (!platform::WindowSystem::Running()) {
        m_handle = {};
        return;
    }
    MutableControlState().Include(csDestroyingHandle);
    const platform::HWND h = m_handle;
    platform::DestroyWindow(h);
    m_handle = {};
    MutableControlState().Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
    DestroyHandle();
}

void TWinControl::RecreateWnd() {
    if (!m_handle)
        return;
    DestroyWnd();
    CreateHandle();
    // A child window comes back visible through its style; a top-level one must be shown.
    if (m_handle && Visible() &&
        !(platform::GetWindowLongPtr(m_handle, platform::GWL_STYLE) & platform::WS_CHILD))
        platform::ShowWindow(m_handle, platform::SW_SHOWNORMAL);
}

void TWinControl::ApplyText() {
    if (m_handle)
        platform::SetWindowText(m_handle, TControl::Text());
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (m_handle)
        m.Result = platform::CallWindowProc(m_defWndProc, m_handle, m.Msg, m.WParam, m.LParam);
}

// ---- children -------------------------------------------------------------------------------

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError::IndexOutOfBounds(index);
    return m_controls[static_cast<std::size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

void TWinControl::InsertControl(TControl* c) {
    c->m_parent = this;
    m_controls.push_back(c);
    auto* win = dynamic_cast<TWinControl*>(c);
    if (win)
        m_tabList.push_back(win);
    c->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    c->Perform(CM_PARENTFONTCHANGED, 0, 0);
    c->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (win && m_handle)
        win->CreateHandle();
    if (c->Align() != alNone)
        Realign();
    c->Invalidate();
}

void TWinControl::RemoveControl(TControl* c) {
    if (TCustomForm* form = ParentForm())
        form->DefocusControl(c, true);
    if (auto* win = dynamic_cast<TWinControl*>(c)) {
        win->DestroyHandle();
        m_tabList.erase(std::remove(m_tabList.begin(), m_tabList.end(), win), m_tabList.end());
    } else {
        c->Invalidate();
    }
    m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), c), m_controls.end());
    c->m_parent = nullptr;
    if (c->Align() != alNone && !IsDestroying())
        Realign();
}

TControl* TWinControl::ControlAtPos(platform::Point p, bool allowDisabled,
                                    bool allowWinControls) const {
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && c->IsWindowed())
            continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled()))
            continue;
        if (!c->BoundsRect().Contains(p))
            continue;
        const LPARAM at = platform::MAKELPARAM(static_cast<platform::WORD>(p.x - c->Left()),
                                               static_cast<platform::WORD>(p.y - c->Top()));
        if (c->Perform(CM_HITTEST, 0, at) != 0)
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
    const std::vector<TControl*> children = m_controls;
    for (TControl* c : children) {
        if (std::find(m_controls.begin(), m_controls.end(), c) == m_controls.end())
            continue;
        c->WindowProc()(m);
        if (m.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT msg) {
    TMessage m{msg, 0, 0, 0};
    Broadcast(m);
}

// ---- painting -------------------------------------------------------------------------------

void TWinControl::Invalidate() {
    if (m_handle && platform::WindowSystem::Running())
        platform::InvalidateRect(m_handle, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
    if (m_handle && platform::WindowSystem::Running())
        platform::UpdateWindow(m_handle);
}

void TWinControl::PaintWindow(platform::DeviceContext&) {}

void TWinControl::PaintControls(platform::DeviceContext& dc, TControl* first) {
    const std::vector<TControl*> children = m_controls;
    bool started = first == nullptr;
    for (TControl* c : children) {
        if (!started) {
            if (c != first)
                continue;
            started = true;
        }
        if (c->IsWindowed() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0)
            continue;
        if (platform::GetClipBox(dc).Intersect(c->BoundsRect()).IsEmpty())
            continue;
        PaintGraphicControl(*c, dc);
    }
}

void TWinControl::PaintHandler(TMessage& m) {
    if (auto* given = reinterpret_cast<platform::DeviceContext*>(m.WParam)) {
        PaintWindow(*given);
        PaintControls(*given, nullptr);
        return;
    }
    if (!m_handle)
        return;
    const platform::HWND h = m_handle;
    platform::PAINTSTRUCT ps;
    platform::HDC dc = platform::BeginPaint(h, ps);
    struct End {
        platform::HWND h;
        platform::PAINTSTRUCT& ps;
        ~End() { platform::EndPaint(h, ps); }
    } end{h, ps};
    if (!dc)
        return;
    PaintWindow(*dc);
    PaintControls(*dc, nullptr);
}

// ---- messages -------------------------------------------------------------------------------

void TWinControl::UpdateShowing() {
    if (!m_handle || !platform::WindowSystem::Running())
        return;
    platform::ShowWindow(m_handle, Visible() ? platform::SW_SHOWNOACTIVATE : platform::SW_HIDE);
}

void TWinControl::WndProc(TMessage& m) {
    using namespace platform;
    switch (m.Msg) {
    case WM_PAINT:
        PaintHandler(m);
        return;
    case WM_ERASEBKGND: {
        auto* dc = reinterpret_cast<DeviceContext*>(m.WParam);
        if (dc && Color() != clNone)
            FillRect(*dc, ClientRect(), ColorToRGB(Color()));
        m.Result = 1;
        return;
    }
    case WM_MOUSELEAVE: {
        TControl* under = MouseControl();
        if (under == this || (under && under->Parent() == this && !under->IsWindowed()))
            SetMouseControl(nullptr);
        break;
    }
    case WM_SETFOCUS:
        DefaultHandler(m);
        if (TCustomForm* form = ParentForm())
            form->SetFocusedControl(this);
        return;
    case WM_KILLFOCUS:
        DefaultHandler(m);
        return;
    case CN_KEYDOWN: {
        // Before the key is translated: dialog keys the focused control does not want go to
        // the form, and a used key never becomes a character.
        const auto key = static_cast<WORD>(m.WParam);
        m.Result = 0;
        if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE)
            return;
        if (WantsKey(key))
            return;
        TCustomForm* form = ParentForm();
        if (form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0)
            m.Result = 1;
        return;
    }
    case CN_CHAR: {
        // A character the focused control does not take goes to the form's controls first
        // (mnemonics, the space of a skinned button).
        m.Result = 0;
        if (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS)
            return;
        TCustomForm* form = ParentForm();
        if (form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
            m.Result = 1;
        return;
    }
    case WM_SYSCHAR: {
        // Alt+letter is never text: it is an accelerator for the form's controls.
        TCustomForm* form = ParentForm();
        if (form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) {
            m.Result = 0;
            return;
        }
        break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        auto key = static_cast<WORD>(m.WParam);
        if (DoKeyDown(key, CurrentShiftState()))
            return;
        m.WParam = key;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        auto key = static_cast<WORD>(m.WParam);
        if (DoKeyUp(key, CurrentShiftState()))
            return;
        m.WParam = key;
        break;
    }
    case WM_CHAR: {
        auto key = static_cast<char32_t>(m.WParam);
        if (DoKeyPress(key))
            return;
        m.WParam = key;
        break;
    }
    case WM_SETTEXT:
        DefaultHandler(m);
        m_text = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
        return;
    case WM_WINDOWPOSCHANGED:
    case WM_SIZE:
    case WM_MOVE:
        DefaultHandler(m);
        UpdateBounds();
        return;
    case WM_NCDESTROY:
        DefaultHandler(m);
        m_handle = {};
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        Broadcast(m);
        return;
    case CM_ENTER:
        Fire(OnEnter, this);
        return;
    case CM_EXIT:
        Fire(OnExit, this);
        return;
    case CM_VISIBLECHANGED:
        UpdateShowing();
        return;
    case CM_ENABLEDCHANGED:
        if (!Enabled())
            if (TCustomForm* form = ParentForm())
                form->DefocusControl(this, false);
        if (m_handle && WindowSystem::Running())
            EnableWindow(m_handle, Enabled());
        Invalidate();
        return;
    case CM_COLORCHANGED:
        Invalidate();
        NotifyControls(CM_PARENTCOLORCHANGED);
        return;
    case CM_FONTCHANGED:
        Invalidate();
        NotifyControls(CM_PARENTFONTCHANGED);
        return;
    case CM_SHOWHINTCHANGED:
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        return;
    default:
        break;
    }
    if (IsMouseMessage(m.Msg)) {
        // Graphic children have no window: the mouse reaches them through this one.
        const Point p = LParamToPoint(m.LParam);
        TControl* target = nullptr;
        TControl* captured = nullptr;
        for (TControl* c : m_controls)
            if (!c->IsWindowed() && c->MouseCapture())
                captured = c;
        target = captured ? captured : ControlAtPos(p, false);
        // Leaving the window is noticed whichever of its controls the mouse is over.
        if (m.Msg == WM_MOUSEMOVE && m_handle) {
            TRACKMOUSEEVENT tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = m_handle;
            TrackMouseEvent(tme);
        }
        if (target) {
            if (m.Msg == WM_MOUSEMOVE)
                SetMouseControl(target);
            m.Result = target->Perform(m.Msg, m.WParam, Shifted(m.LParam, *target));
            return;
        }
        if (m.Msg == WM_MOUSEMOVE && m_handle)
            SetMouseControl(this);
    }
    TControl::WndProc(m);
}

// ---- TCustomControl -------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), m_canvas(std::make_unique<TControlCanvas>(*this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(platform::DeviceContext& dc) {
    m_canvas->FreeHandle();
    m_canvas->SetHandle(&dc);
    struct Release {
        TControlCanvas& c;
        ~Release() { c.SetHandle(nullptr); }
    } release{*m_canvas};
    Paint();
}

} // namespace toolkit
