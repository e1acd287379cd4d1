#include "toolkit/TForm.h"

#include <vector>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TApplication.h"
#include "toolkit/TScreen.h"

namespace toolkit {

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetParentColor(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetVisible(false);
    m_width = 320;
    m_height = 240;
    Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    Screen().RemoveForm(this);
    if (TApplication* app = Application(); app && app->MainForm() == this) {
        app->m_mainForm = nullptr;
        // The main form going ends the program, unless the program is ending already.
        if (!app->IsDestroying())
            app->Terminate();
    }
    // The controls go while the form is still whole: they tell it they leave.
    DestroyComponents();
    while (ControlCount() > 0) {
        TControl* c = ControlList().back();
        c->SetParent(nullptr);
        Free(c);
    }
    m_activeControl = nullptr;
    m_focusedControl = nullptr;
}

void TCustomForm::AfterConstruction() {
    if (m_created)
        return;
    m_created = true;
    Fire(OnCreate, this);
}

void TCustomForm::BeforeDestruction() {
    TWinControl::BeforeDestruction();
    if (!m_destroyed) {
        m_destroyed = true;
        Fire(OnDestroy, this);
    }
}

// ---- window ---------------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    using namespace platform;
    p.Style = WS_CLIPCHILDREN | (Enabled() ? 0 : WS_DISABLED);
    p.ExStyle = 0;
    switch (m_borderStyle) {
    case bsNone:
        p.Style |= WS_POPUP;
        break;
    case bsSingle:
    case bsToolWindow:
        p.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION;
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (m_borderStyle == bsToolWindow || m_borderStyle == bsSizeToolWin)
        p.ExStyle |= WS_EX_TOOLWINDOW;
    if (m_borderStyle != bsNone && m_borderIcons.Contains(biSystemMenu)) {
        p.Style |= WS_SYSMENU;
        if (m_borderStyle == bsSingle || m_borderStyle == bsSizeable) {
            if (m_borderIcons.Contains(biMinimize))
                p.Style |= WS_MINIMIZEBOX;
            if (m_borderIcons.Contains(biMaximize))
                p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (m_transparentColor)
        p.ExStyle |= WS_EX_LAYERED;
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyColorKey();
}

platform::HWND TCustomForm::ParentWindowHandle() const {
    TApplication* app = Application();
    if (!app || !app->MainForm() || app->MainForm() == this)
        return {};
    return app->MainForm()->HandleIfAllocated();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == m_borderIcons)
        return;
    m_borderIcons = icons;
    RecreateWnd();
}

void TCustomForm::SetTransparentColor(bool on) {
    if (on == m_transparentColor)
        return;
    m_transparentColor = on;
    ApplyColorKey();
}

void TCustomForm::SetTransparentColorValue(TColor color) {
    if (color == m_transparentColorValue)
        return;
    m_transparentColorValue = color;
    ApplyColorKey();
}

std::optional<platform::Color> TCustomForm::LayeredColorKey() const {
    if (!m_transparentColor)
        return std::nullopt;
    return ColorToRGB(m_transparentColorValue);
}

void TCustomForm::ApplyColorKey() {
    const platform::HWND h = HandleIfAllocated();
    if (!h || !platform::WindowSystem::Running())
        return;
    platform::LONG_PTR ex = platform::GetWindowLongPtr(h, platform::GWL_EXSTYLE);
    ex = m_transparentColor ? (ex | platform::WS_EX_LAYERED)
                            : (ex & ~platform::LONG_PTR{platform::WS_EX_LAYERED});
    platform::SetWindowLongPtr(h, platform::GWL_EXSTYLE, ex);
    if (m_transparentColor)
        platform::SetLayeredWindowAttributes(h, ColorToRGB(m_transparentColorValue), 255,
                                             platform::LWA_COLORKEY);
}

void TCustomForm::PlaceByPosition() {
    m_placed = true;
    if (!platform::WindowSystem::Running())
        return;
    platform::Rect area;
    switch (m_position) {
    case poScreenCenter:
    case poDesktopCenter:
        area = {0, 0, platform::GetSystemMetrics(platform::SM_CXSCREEN),
                platform::GetSystemMetrics(platform::SM_CYSCREEN)};
        break;
    case poMainFormCenter: {
        TApplication* app = Application();
        if (!app || !app->MainForm() || app->MainForm() == this)
            return;
        area = app->MainForm()->BoundsRect();
        break;
    }
    default:
        return;
    }
    SetBounds(area.left + (area.Width() - Width()) / 2, area.top + (area.Height() - Height()) / 2,
              Width(), Height());
}

void TCustomForm::ShowingChanged() {
    if (Visible()) {
        HandleNeeded();
        if (!m_placed)
            PlaceByPosition();
        const std::weak_ptr<const bool> alive = LifeToken();
        Fire(OnShow, this);
        if (alive.expired() || !Visible() || !HandleAllocated())
            return;
        platform::ShowWindow(HandleIfAllocated(), platform::SW_SHOWNORMAL);
    } else {
        Fire(OnHide, this);
        if (HandleAllocated() && platform::WindowSystem::Running())
            platform::ShowWindow(HandleIfAllocated(), platform::SW_HIDE);
    }
}

// ---- closing and modal use ------------------------------------------------------------------

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    Fire(OnCloseQuery, this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    Fire(OnClose, this, action);
}

void TCustomForm::Release() {
    if (TApplication* app = Application()) {
        if (HandleAllocated() && platform::WindowSystem::Running()) {
            platform::PostMessage(HandleIfAllocated(), CM_RELEASE, 0, 0);
            return;
        }
        app->ReleaseLater(this);
        return;
    }
    Free(this);
}

void TCustomForm::Close() {
    if (m_modal) {
        m_modalResult = mrCancel;
        return;
    }
    const std::weak_ptr<const bool> alive = LifeToken();
    if (!CloseQuery() || alive.expired())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (alive.expired() || action == caNone)
        return;
    TApplication* app = Application();
    if (app && app->MainForm() == this) {
        app->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        if (HandleAllocated())
            platform::ShowWindow(HandleIfAllocated(), platform::SW_MINIMIZE);
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || m_modal)
        throw EInvalidOperation::CannotMakeVisibleWindowModal();
    if (platform::GetCapture())
        platform::ReleaseCapture();
    m_modal = true;
    const platform::HWND activeBefore = platform::GetActiveWindow();
    const platform::HWND self = Handle();
    std::vector<platform::HWND> disabled;
    for (platform::HWND top : platform::GetTopLevelWindows())
        if (top != self && platform::IsWindowVisible(top) && platform::IsWindowEnabled(top)) {
            platform::EnableWindow(top, false);
            disabled.push_back(top);
        }
    const std::weak_ptr<const bool> alive = LifeToken();
    // Puts the other windows back however the loop ends, exceptions included.
    struct Restore {
        TCustomForm* form;
        const std::weak_ptr<const bool>& alive;
        std::vector<platform::HWND>& disabled;
        platform::HWND activeBefore;
        ~Restore() {
            if (!platform::WindowSystem::Running())
                return;
            for (platform::HWND h : disabled)
                if (platform::IsWindow(h))
                    platform::EnableWindow(h, true);
            if (activeBefore && platform::IsWindow(activeBefore))
                platform::SetActiveWindow(activeBefore);
            if (!alive.expired()) {
                form->Hide();
                form->m_modal = false;
            }
        }
    } restore{this, alive, disabled, activeBefore};

    Show();
    m_modalResult = mrNone;
    TApplication* app = Application();
    do {
        if (app) {
            app->HandleMessage();
        } else {
            platform::MSG msg;
            if (!platform::GetMessage(msg, {}, 0, 0)) {
                platform::PostQuitMessage(static_cast<int>(msg.wParam));
                if (!alive.expired())
                    m_modalResult = mrCancel;
                break;
            }
            platform::TranslateMessage(msg);
            platform::DispatchMessage(msg);
        }
        if (alive.expired())
            return mrCancel;
        if (app && app->Terminated()) {
            m_modalResult = mrCancel;
        } else if (m_modalResult != mrNone) {
            // The form may refuse to close, which keeps it up.
            TCloseAction action = CloseQuery() ? caHide : caNone;
            if (alive.expired())
                return mrCancel;
            if (action != caNone)
                DoClose(action);
            if (alive.expired())
                return mrCancel;
            if (action == caNone)
                m_modalResult = mrNone;
            else if (action == caFree)
                Release();
        }
    } while (m_modalResult == mrNone);
    return m_modalResult;
}

bool TCustomForm::Active() const {
    return HandleAllocated() && platform::WindowSystem::Running() &&
           platform::GetActiveWindow() == HandleIfAllocated();
}

// ---- focus ----------------------------------------------------------------------------------

bool TCustomForm::CanFocus() const {
    return Visible() && Enabled();
}

void TCustomForm::SetFocus() {
    if (!Visible() || !Enabled())
        throw EInvalidOperation::CannotFocus();
    platform::SetActiveWindow(Handle());
    if (m_activeControl && m_activeControl->HandleAllocated())
        platform::SetFocus(m_activeControl->HandleIfAllocated());
    else
        platform::SetFocus(Handle());
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == m_activeControl)
        return;
    if (control &&
        (control == this || control->ParentForm() != this || !(IsLoading() || control->CanFocus())))
        throw EInvalidOperation::CannotFocus();
    m_activeControl = control;
    if (!IsLoading() && Active() && platform::WindowSystem::Running())
        platform::SetFocus(control ? control->Handle() : Handle());
}

void TCustomForm::FocusControl(TWinControl* control) {
    SetActiveControl(control);
    if (control && Showing() && HandleAllocated() && platform::WindowSystem::Running() &&
        !control->Focused())
        platform::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
    if (control == m_focusedControl)
        return;
    TWinControl* old = m_focusedControl;
    m_focusedControl = control;
    if (control && control != this)
        m_activeControl = control;
    const std::weak_ptr<const bool> alive = LifeToken();
    if (old && old != this)
        old->Perform(CM_EXIT, 0, 0);
    if (alive.expired())
        return;
    if (control && control != this && m_focusedControl == control)
        control->Perform(CM_ENTER, 0, 0);
    if (alive.expired())
        return;
    Perform(CM_FOCUSCHANGED, 0, ControlParam(control));
}

void TCustomForm::DefocusControl(TControl* control, bool removing) {
    auto inside = [control](const TControl* c) {
        for (; c; c = c->Parent())
            if (c == control)
                return true;
        return false;
    };
    if (m_activeControl && inside(m_activeControl))
        m_activeControl = nullptr;
    if (m_focusedControl && inside(m_focusedControl)) {
        m_focusedControl = nullptr;
        // The window that had the focus is going or can no longer take it: the form keeps it.
        if (!removing && HandleAllocated() && platform::WindowSystem::Running())
            platform::SetFocus(HandleIfAllocated());
    }
}

// ---- keys and messages ----------------------------------------------------------------------

bool TCustomForm::DoKeyDown(platform::WORD& key, TShiftState shift) {
    Fire(OnKeyDown, this, key, shift);
    return key == 0;
}

bool TCustomForm::DoKeyUp(platform::WORD& key, TShiftState shift) {
    Fire(OnKeyUp, this, key, shift);
    return key == 0;
}

bool TCustomForm::DoKeyPress(char32_t& key) {
    Fire(OnKeyPress, this, key);
    return key == 0;
}

void TCustomForm::WndProc(TMessage& m) {
    using namespace platform;
    if (TApplication* app = Application();
        app && app->MainForm() == this && app->MainWindowHooked(m))
        return;
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_ACTIVATE: {
        DefaultHandler(m);
        const std::weak_ptr<const bool> alive = LifeToken();
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            Screen().SetActiveForm(this);
            if (m_activeControl && m_activeControl->CanFocus())
                platform::SetFocus(m_activeControl->Handle());
            if (!alive.expired())
                Fire(OnActivate, this);
        } else {
            if (Screen().ActiveForm() == this)
                Screen().SetActiveForm(nullptr);
            Fire(OnDeactivate, this);
        }
        return;
    }
    case CM_DIALOGKEY:
        if (m.WParam == VK_TAB && !CurrentShiftState().Contains(ssCtrl)) {
            SelectNext(m_activeControl, !CurrentShiftState().Contains(ssShift), true);
            m.Result = 1;
            return;
        }
        break;
    case CM_VISIBLECHANGED:
        ShowingChanged();
        return;
    case CM_RELEASE:
        if (TApplication* app = Application())
            app->ReleaseLater(this);
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

} // namespace toolkit
