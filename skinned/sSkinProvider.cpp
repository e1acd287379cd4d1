// The provider's life, its properties and the form's messages. The frame's painting is in
// sSkinProviderPaint.cpp, the mouse on the frame in sSkinProviderMouse.cpp.
#include "skinned/sSkinProvider.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Icon.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/sCommonData.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skinned/ChildPainting.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TForm.h"

namespace skinned {

using namespace platform;

namespace {

constexpr std::int32_t kFormProviderType = skin::kTypeFormProvider;

std::map<const toolkit::TCustomForm*, TsSkinProvider*>& Providers() {
    static std::map<const toolkit::TCustomForm*, TsSkinProvider*> providers;
    return providers;
}

// One coordinate of a moving window: an edge within buffer pixels of the area's edge on the
// same side is put on it; the near edge wins when the window is too large for both.
int SnapCoord(int pos, int extent, int areaFrom, int areaTo, int buffer) {
    if (std::abs(pos - areaFrom) <= buffer)
        return areaFrom;
    if (std::abs(pos + extent - areaTo) <= buffer)
        return areaTo - extent;
    return pos;
}

Point PointOf(LPARAM l) {
    return {static_cast<std::int16_t>(l & 0xFFFF), static_cast<std::int16_t>((l >> 16) & 0xFFFF)};
}

bool IsCaptionButtonHit(LRESULT hit) {
    return hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON || hit == HTHELP ||
           hit >= kTitleButtonHit;
}

} // namespace

// What the form's WindowProc holds: outlives the provider, which clears it as it goes.
struct TsSkinProvider::Link {
    TsSkinProvider* provider = nullptr;
    toolkit::TWndMethod previous;
};

struct TsSkinProvider::Proc {
    std::shared_ptr<Link> link;
    void operator()(toolkit::TMessage& m) const {
        if (link->provider)
            link->provider->WndProc(m);
        else if (link->previous)
            link->previous(m);
    }
};

TsSkinProvider* ProviderOf(const toolkit::TCustomForm& form) {
    const auto it = Providers().find(&form);
    return it == Providers().end() ? nullptr : it->second;
}

TsSkinProvider::TsSkinProvider(toolkit::TCustomForm& form, skin::TsSkinManager* manager)
    : toolkit::TComponent(nullptr), m_form(form), m_manager(manager) {
    m_skinData = std::make_unique<skin::TsCommonData>(this, true);
    m_skinData->SetControlTypeCode(kFormProviderType);
    if (manager)
        m_skinData->SetSkinManager(manager);
    m_skinData->SetSkinSection("FORM");
    if (ProviderOf(form)) {
        m_inert = true;
        return;
    }
    Providers()[&form] = this;
    Start();
}

TsSkinProvider::~TsSkinProvider() {
    if (m_inert)
        return;
    Stop();
    Providers().erase(&m_form);
}

void TsSkinProvider::Start() {
    m_link = std::make_shared<Link>();
    m_link->provider = this;
    m_link->previous = m_form.WindowProc();
    m_form.SetWindowProc(Proc{m_link});
    m_started = true;
    skin::RegisterSkinnedForm(&m_form);
    skin::RegisterFormProvider(this);
    m_systemMenu = std::make_unique<TsSystemMenu>(*this);
    m_skinData->UpdateIndexes();
    ReadButtonMasks();
    if (m_form.HandleAllocated())
        m_active = GetActiveWindow() == m_form.HandleIfAllocated();
    SyncSystemMenuStyle();
    if (Skinned() && m_useGlobalColor && !m_skinData->CustomColor()) {
        m_formColor = m_form.Color();
        m_form.SetColor(Manager()->GetGlobalColor());
    }
    m_changed = m_shapeStale = true;
    UpdateAdapter();
    if (m_form.HandleAllocated() && IsWindowVisible(m_form.HandleIfAllocated()))
        RedrawWindow(m_form.HandleIfAllocated(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TsSkinProvider::UpdateAdapter() {
    skin::TsSkinManager* manager = Manager();
    const bool wanted = Skinned() && manager &&
                        manager->SkinningRules().contains(skin::TacSkinningRule::srThirdParty);
    if (!wanted) {
        m_adapter.reset();
        return;
    }
    if (!m_adapter) {
        m_adapter = std::make_unique<TacCtrlAdapter>(m_form, *m_skinData);
        m_adapter->OnSkinItem = OnSkinItem;
    }
    m_adapter->AddAllItems();
}

void TsSkinProvider::Stop() {
    if (!m_started)
        return;
    m_started = false;
    skin::UnregisterFormProvider(this);
    skin::UnregisterSkinnedForm(&m_form);
    m_link->provider = nullptr;
    // Someone who took the procedure after us keeps ours in their chain as a pass-through.
    if (const Proc* ours = m_form.WindowProc().target<Proc>(); ours && ours->link == m_link)
        m_form.SetWindowProc(m_link->previous);
    m_systemMenu.reset();
    // The controls get their own looks back while the form is still whole.
    m_adapter.reset();
    if (m_form.IsDestroying() || !m_form.HandleAllocated())
        return;
    const HWND h = m_form.HandleIfAllocated();
    if (m_removedSysMenu)
        SetWindowLongPtr(h, GWL_STYLE, GetWindowLongPtr(h, GWL_STYLE) | WS_SYSMENU);
    if (m_formColor)
        m_form.SetColor(*m_formColor);
    SetWindowRgn(h, std::nullopt, false);
    if (IsWindowVisible(h))
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

// Our buttons stand where the system's would: the system draws none while we skin the frame,
// and its own icon and buttons again while the skin leaves the frame plain.
void TsSkinProvider::SyncSystemMenuStyle() {
    if (!m_form.HandleAllocated() || m_form.IsDestroying())
        return;
    const HWND h = m_form.HandleIfAllocated();
    const LONG_PTR style = GetWindowLongPtr(h, GWL_STYLE);
    if (Skinned() && (style & WS_SYSMENU)) {
        SetWindowLongPtr(h, GWL_STYLE, style & ~LONG_PTR{WS_SYSMENU});
        m_removedSysMenu = true;
    } else if (!Skinned() && m_removedSysMenu) {
        SetWindowLongPtr(h, GWL_STYLE, style | WS_SYSMENU);
        m_removedSysMenu = false;
    }
}

skin::TsSkinManager* TsSkinProvider::Manager() {
    return m_skinData->SkinManager();
}

bool TsSkinProvider::Skinned() const {
    return !m_inert && m_skinData->Skinned(true);
}

toolkit::TBitmap* TsSkinProvider::Cache() const {
    return m_skinData->CacheBmp();
}

// ---- properties ----

void TsSkinProvider::SetCaptionAlignment(toolkit::TAlignment value) {
    m_captionAlignment = value;
    RebuildFrame();
}
void TsSkinProvider::SetGripMode(TsGripMode value) {
    m_gripMode = value;
    RebuildFrame();
}
void TsSkinProvider::SetShowAppIcon(bool value) {
    m_showAppIcon = value;
    RebuildFrame();
}
void TsSkinProvider::SetTitleSkin(const std::string& value) {
    m_titleSkin = value;
    RebuildFrame();
}

// ---- form facts ----

Size TsSkinProvider::WindowSize() const {
    Rect r;
    if (!m_form.HandleAllocated() || !GetWindowRect(m_form.HandleIfAllocated(), r))
        return {m_form.Width(), m_form.Height()};
    return {r.Width(), r.Height()};
}

TsSkinProvider::Metrics TsSkinProvider::FrameMetrics() const {
    Metrics m;
    if (!m_form.HandleAllocated())
        return m;
    const HWND h = m_form.HandleIfAllocated();
    const DWORD style = static_cast<DWORD>(GetWindowLongPtr(h, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtr(h, GWL_EXSTYLE));
    const NonClientLayout L = ComputeNonClientLayout(style, exStyle, 1000, 1000);
    m.BorderWidth = L.borderX;
    m.BorderHeight = L.borderY;
    if ((style & WS_CAPTION) == WS_CAPTION)
        m.CaptionHeight =
            GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    return m;
}

bool TsSkinProvider::HasSystemMenu() const {
    return m_form.BorderIcons().Contains(toolkit::biSystemMenu) &&
           m_form.BorderStyle() != toolkit::bsNone;
}
bool TsSkinProvider::MayMaximize() const {
    return HasSystemMenu() && m_form.HandleAllocated() &&
           (GetWindowLongPtr(m_form.HandleIfAllocated(), GWL_STYLE) & WS_MAXIMIZEBOX);
}
bool TsSkinProvider::MayMinimize() const {
    return HasSystemMenu() && m_form.HandleAllocated() &&
           (GetWindowLongPtr(m_form.HandleIfAllocated(), GWL_STYLE) & WS_MINIMIZEBOX);
}
bool TsSkinProvider::Sizeable() const {
    return m_form.BorderStyle() == toolkit::bsSizeable ||
           m_form.BorderStyle() == toolkit::bsSizeToolWin;
}

// ---- messages ----

void TsSkinProvider::CallPrevious(toolkit::TMessage& m) {
    // A copy: the call may free us.
    const toolkit::TWndMethod previous = m_link->previous;
    if (previous)
        previous(m);
}

void TsSkinProvider::WndProc(toolkit::TMessage& m) {
    if (m.Msg == toolkit::kLibraryCommandMessage) {
        HandleCommand(m);
        return;
    }
    if (m_form.HandleAllocated() && !m_form.IsDestroying() &&
        (Skinned() ? HandleSkinned(m) : HandlePlain(m)))
        return;
    CallPrevious(m);
}

// A skin may leave the frame plain (it has no form section, or no skin is applied): the frame
// is then the system's, but its system menu stays ours, so that "Available skins" is always
// there to choose another skin.
bool TsSkinProvider::HandlePlain(toolkit::TMessage& m) {
    switch (m.Msg) {
    case WM_NCLBUTTONDOWN:
        if (m.WParam != static_cast<WPARAM>(HTSYSMENU))
            return false;
        ShowSystemMenu(SystemMenuPoint());
        return true;
    case WM_NCRBUTTONUP:
        if (m.WParam != static_cast<WPARAM>(HTCAPTION) &&
            m.WParam != static_cast<WPARAM>(HTSYSMENU))
            return false;
        ShowSystemMenu(PointOf(m.LParam));
        return true;
    case WM_SYSCOMMAND:
        if ((m.WParam & 0xFFF0) != SC_KEYMENU || m.LParam != ' ')
            return false;
        ShowSystemMenu(SystemMenuPoint());
        return true;
    default:
        return false;
    }
}

void TsSkinProvider::HandleCommand(toolkit::TMessage& m) {
    const std::uint16_t command = skin::CommandOf(m.WParam);
    const auto* from = reinterpret_cast<const skin::TsSkinManager*>(m.LParam);
    switch (command) {
    case skin::kCmdAreYouSkinned:
        m.Result = 1;
        return;
    case skin::kCmdGiveBackground: {
        // Asked before the first frame was painted, the cache is made here.
        if (Skinned() && m_changed)
            RebuildCache();
        toolkit::TBitmap* cache = Cache();
        if (!Skinned() || !cache || cache->Empty()) {
            CallPrevious(m);
            return;
        }
        const Metrics fm = FrameMetrics();
        skin::CommandBackdrop() = skin::TsBackdropInfo{
            cache, fm.BorderWidth, fm.BorderHeight + fm.CaptionHeight + fm.MenuHeight, true};
        return;
    }
    case skin::kCmdNewSkin:
    case skin::kCmdSkinRemoved:
    case skin::kCmdRefresh: {
        if (from != Manager()) {
            CallPrevious(m);
            return;
        }
        toolkit::TMessage own = m;
        m_skinData->WndProc(own);
        m_skinData->UpdateIndexes();
        ReadButtonMasks();
        SyncSystemMenuStyle();
        m_changed = m_shapeStale = true;
        if (command == skin::kCmdSkinRemoved && m_form.HandleAllocated())
            SetWindowRgn(m_form.HandleIfAllocated(), std::nullopt, false);
        if (command != skin::kCmdNewSkin && Skinned() && m_useGlobalColor &&
            !m_skinData->CustomColor()) {
            if (!m_formColor)
                m_formColor = m_form.Color();
            m_form.SetColor(Manager()->GetGlobalColor());
        }
        CallPrevious(m);
        if (m_adapter)
            m_adapter->SkinCommand(command);
        // A new skin arrives before it counts as loaded: the walk that takes the controls in
        // comes with the refresh.
        if (command == skin::kCmdRefresh)
            UpdateAdapter();
        // A removed skin shows the plain frame at once; a new one is painted when its refresh
        // ends the update.
        RebuildFrame();
        return;
    }
    default:
        CallPrevious(m);
        return;
    }
}

bool TsSkinProvider::HandleSkinned(toolkit::TMessage& m) {
    const HWND h = m_form.HandleIfAllocated();
    switch (m.Msg) {
    case WM_NCPAINT:
        // While a skin arrives or the form loads, the frame on the screen stays as it was: the
        // refresh that ends the update repaints it (never the plain frame in between).
        if (IsWindowVisible(h) && !m_skinData->Updating() && !m_form.IsLoading()) {
            if (HDC dc = GetWindowDC(h)) {
                PaintFrameTo(*dc);
                ReleaseDC(h, dc);
            }
        }
        return true;
    case WM_NCACTIVATE: {
        const bool active = m.WParam != 0;
        if (active != m_active) {
            m_active = active;
            m_changed = true;
        }
        m.Result = 1;
        if (m_pressed && !active)
            m_pressed = 0;
        if (skin::TsSkinManager* manager = Manager();
            manager && manager->SkinnedPopups() && manager->SkinnedMenus())
            manager->SkinnedMenus()->InitMenuItems(true);
        if (active)
            UpdateAdapter();
        if (IsWindowVisible(h))
            RedrawWindow(h, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return true;
    }
    case WM_NCHITTEST:
        m.Result = HitTest(PointOf(m.LParam));
        return true;
    case WM_ERASEBKGND:
        m.Result = 1;
        return true;
    case WM_PAINT:
        PaintClient(m);
        return true;
    case WM_SIZE: {
        CallPrevious(m);
        m_changed = m_shapeStale = true;
        // The buttons answer hit tests before the next paint: they move with the size now.
        ReadButtonMasks();
        LayoutButtons(WindowSize().cx);
        const skin::TsGeneralData* section = m_skinData->Section();
        if (section && section->GradientPercent > 0)
            for (toolkit::TControl* child : m_form.ControlList())
                skin::SendCommand(*child, skin::kCmdBackgroundChanged, 1);
        if (IsWindowVisible(h))
            RedrawWindow(h, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return true;
    }
    case WM_WINDOWPOSCHANGING: {
        // Snapping only moves: a window being sized keeps the edge the user holds.
        auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
        Rect wr;
        if (m_screenSnap && wp && !(wp->flags & SWP_NOMOVE) && !IsZoomed(h) && !IsIconic(h) &&
            GetParent(h) == HWND{} && GetWindowRect(h, wr) && wp->cx == wr.Width() &&
            wp->cy == wr.Height()) {
            const Rect area = GetWorkArea();
            const int buffer = std::max(0, m_snapBuffer);
            wp->x = SnapCoord(wp->x, wp->cx, area.left, area.right, buffer);
            wp->y = SnapCoord(wp->y, wp->cy, area.top, area.bottom, buffer);
        }
        CallPrevious(m);
        return true;
    }
    case WM_SETTEXT: {
        CallPrevious(m);
        m_changed = true;
        RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return true;
    }
    case WM_NCMOUSEMOVE:
        SetHotButton(static_cast<LRESULT>(m.WParam));
        CallPrevious(m);
        return true;
    case WM_NCMOUSELEAVE:
        SetHotButton(HTNOWHERE);
        CallPrevious(m);
        return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        const LRESULT hit = static_cast<LRESULT>(m.WParam);
        const bool dbl = m.Msg == WM_NCLBUTTONDBLCLK;
        if (IsCaptionButtonHit(hit)) {
            PressButton(hit);
            return true;
        }
        if (hit == HTSYSMENU) {
            if (dbl)
                SysCommand(SC_CLOSE);
            else
                ShowSystemMenu(SystemMenuPoint());
            return true;
        }
        if (hit == HTCAPTION && dbl) {
            if (MayMaximize() && Sizeable())
                SysCommand(IsZoomed(h) ? SC_RESTORE : SC_MAXIMIZE);
            return true;
        }
        if (hit == HTCAPTION && IsZoomed(h))
            return true;
        return false;
    }
    case WM_LBUTTONUP:
        if (m_pressed) {
            Point p = PointOf(m.LParam);
            ClientToScreen(h, p);
            ReleaseButton(p);
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
        if (m_pressed) {
            Point p = PointOf(m.LParam);
            ClientToScreen(h, p);
            TsCaptionButton* held = ButtonOfHit(m_pressed);
            const bool over = held && HitTest(p) == m_pressed;
            if (held && held->State != (over ? 2 : 0)) {
                held->State = over ? 2 : 0;
                RepaintButtons({held->Rect});
            }
            return true;
        }
        return false;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (m_pressed) {
            if (TsCaptionButton* held = ButtonOfHit(m_pressed)) {
                held->State = 0;
                RepaintButtons({held->Rect});
            }
            m_pressed = 0;
        }
        return false;
    case WM_NCRBUTTONDOWN:
        return m.WParam == static_cast<WPARAM>(HTCAPTION) ||
               m.WParam == static_cast<WPARAM>(HTSYSMENU);
    case WM_NCRBUTTONUP:
        if (m.WParam == static_cast<WPARAM>(HTCAPTION) ||
            m.WParam == static_cast<WPARAM>(HTSYSMENU)) {
            ShowSystemMenu(PointOf(m.LParam));
            return true;
        }
        return false;
    case WM_SYSCOMMAND:
        if ((m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam == ' ') {
            ShowSystemMenu(SystemMenuPoint());
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace skinned
