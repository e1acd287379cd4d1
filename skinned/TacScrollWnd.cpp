#include "skinned/TacScrollWnd.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/SkinModel.h"
#include "skin/sCommonData.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skin/sSkinManager.h"
#include "skinned/TacScrollPaint.h"
#include "toolkit/Colors.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TWinControl.h"

namespace skinned {

namespace {

using platform::Rect;
using scrollpaint::MaskAt;

// The one bar the mouse holds down, process-wide.
struct TacScrollPress {
    TacScrollWnd* window = nullptr;
    std::int32_t bar = -1;
    TacScrollPart part = kPartNone;
    std::int32_t code = 0;
    std::int32_t grab = 0; // thumb: where along the thumb it was taken
    std::int32_t trackPos = 0;
    bool repeating = false;
};

TacScrollPress& Press() {
    static TacScrollPress press;
    return press;
}

bool Scrollable(const platform::SCROLLINFO& si) {
    const std::int64_t span = std::int64_t{si.nMax} - si.nMin + 1;
    return si.nMin < si.nMax && std::int64_t{si.nPage} < span;
}

std::int32_t MaxPos(const platform::SCROLLINFO& si) {
    return std::max(
        si.nMin, static_cast<std::int32_t>(std::clamp<std::int64_t>(
                     std::int64_t{si.nMax} - std::max<std::int64_t>(std::int64_t{si.nPage} - 1, 0),
                     INT32_MIN, INT32_MAX)));
}

std::int32_t CodeOf(TacScrollPart part) {
    switch (part) {
    case kPartFirstButton:
        return platform::SB_LINEUP;
    case kPartSecondButton:
        return platform::SB_LINEDOWN;
    case kPartTrackBefore:
        return platform::SB_PAGEUP;
    case kPartTrackAfter:
        return platform::SB_PAGEDOWN;
    default:
        return platform::SB_ENDSCROLL;
    }
}

// The frame a border piece puts around a face along one direction (left + right or top +
// bottom), with the piece's own widths or its image divided in thirds; never negative.
std::int32_t FrameSize(const skin::TsMaskData& mask, bool horizontal) {
    const std::int64_t count = std::max<std::int64_t>(1, mask.ImageCount);
    const std::int64_t rows = std::max<std::int64_t>(1, std::int64_t{mask.MaskType} + 1);
    auto side = [&](std::int16_t own) -> std::int64_t {
        if (own > 0)
            return own;
        if (mask.BorderWidth > 0)
            return mask.BorderWidth;
        const std::int64_t extent = horizontal ? skin::PieceWidth(mask) / (count * 3)
                                               : skin::PieceHeight(mask) / (rows * 3);
        return std::max<std::int64_t>(0, extent);
    };
    const std::int64_t sum =
        horizontal ? side(mask.WL) + side(mask.WR) : side(mask.WT) + side(mask.WB);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, 0, 4096));
}

} // namespace

// ---- geometry -------------------------------------------------------------------------------

TacScrollGeometry ScrollGeometry(std::int32_t barLength, std::int32_t buttonLength,
                                 const platform::SCROLLINFO& info, std::int32_t minThumb) {
    const platform::ScrollBarGeometry g =
        platform::ComputeScrollBarGeometry(barLength, buttonLength, info, minThumb);
    TacScrollGeometry out;
    out.Length = std::max(0, barLength);
    out.Button = g.arrow;
    out.ThumbOffset = g.thumbOffset;
    out.ThumbLength = g.thumbLength;
    return out;
}

TacScrollPart ScrollPartAt(const TacScrollGeometry& g, std::int32_t along) {
    if (along < 0 || along >= g.Length)
        return kPartNone;
    if (along < g.Button)
        return kPartFirstButton;
    if (along >= g.Length - g.Button)
        return kPartSecondButton;
    if (g.ThumbLength == 0)
        return kPartNone;
    if (along < g.ThumbOffset)
        return kPartTrackBefore;
    if (along < g.ThumbOffset + g.ThumbLength)
        return kPartThumb;
    return kPartTrackAfter;
}

// ---- TacScrollWnd ---------------------------------------------------------------------------

TacScrollWnd::TacScrollWnd(platform::HWND window, skin::TsCommonData* data,
                           skin::TsSkinManager* manager, const std::string& section)
    : TacMainWnd(window, data, manager, section) {
    m_hbar.Orientation = platform::SB_HORZ;
    m_vbar.Orientation = platform::SB_VERT;
    m_hbar.Owner = m_vbar.Owner = this;
    // A thumb at least as long as the system's keeps its grip visible.
    m_hbar.MinThumbLength = platform::GetSystemMetrics(platform::SM_CXHTHUMB);
    m_vbar.MinThumbLength = platform::GetSystemMetrics(platform::SM_CYVTHUMB);
    if (!Attached())
        return;
    platform::SetProp(Handle(), kScrollWndProp, reinterpret_cast<platform::HANDLE>(this));
    ReadBar(m_hbar);
    ReadBar(m_vbar);
    // The bars' space may differ from the classic one: let the frame be measured again.
    platform::SetWindowPos(Handle(), platform::HWND{}, 0, 0, 0, 0,
                           platform::SWP_NOMOVE | platform::SWP_NOSIZE | platform::SWP_NOZORDER |
                               platform::SWP_NOACTIVATE | platform::SWP_FRAMECHANGED);
}

TacScrollWnd::~TacScrollWnd() {
    Detach();
}

TacScrollWnd* TacScrollWnd::Of(platform::HWND window) {
    return reinterpret_cast<TacScrollWnd*>(platform::GetProp(window, kScrollWndProp));
}

void TacScrollWnd::Detaching() {
    const platform::HWND h = Handle();
    if (Press().window == this) {
        Press() = {};
        platform::KillTimer(h, kScrollTimerId);
        if (platform::GetCapture() == h)
            platform::ReleaseCapture();
    }
    m_tracking = false;
    if (platform::GetProp(h, kScrollWndProp) == reinterpret_cast<platform::HANDLE>(this))
        platform::RemoveProp(h, kScrollWndProp);
    // The classic bars take their own space again (a window on its way out needs nothing).
    if (platform::IsWindow(h) && !m_windowGoing)
        platform::SetWindowPos(h, platform::HWND{}, 0, 0, 0, 0,
                               platform::SWP_NOMOVE | platform::SWP_NOSIZE |
                                   platform::SWP_NOZORDER | platform::SWP_NOACTIVATE |
                                   platform::SWP_FRAMECHANGED);
}

void TacScrollWnd::SetVerticalOnLeft(bool left) {
    if (left == m_leftVertical)
        return;
    m_leftVertical = left;
    if (Attached())
        platform::SetWindowPos(Handle(), platform::HWND{}, 0, 0, 0, 0,
                               platform::SWP_NOMOVE | platform::SWP_NOSIZE |
                                   platform::SWP_NOZORDER | platform::SWP_NOACTIVATE |
                                   platform::SWP_FRAMECHANGED);
}

void TacScrollWnd::ReadBar(TacScrollBar& bar) {
    if (!Attached())
        return;
    platform::SCROLLINFO si;
    si.fMask = platform::SIF_ALL;
    if (platform::GetScrollInfo(Handle(), bar.Orientation, si))
        bar.Info = si;
    const auto style =
        static_cast<platform::DWORD>(platform::GetWindowLongPtr(Handle(), platform::GWL_STYLE));
    bar.Shown = (style & (bar.Orientation == platform::SB_VERT ? platform::WS_VSCROLL
                                                               : platform::WS_HSCROLL)) != 0;
    bar.DisabledArrows =
        Scrollable(bar.Info) ? platform::ESB_ENABLE_BOTH : platform::ESB_DISABLE_BOTH;
}

void TacScrollWnd::UpdateBars() {
    ReadBars();
    RepaintBars();
}

void TacScrollWnd::ReadBars() {
    ReadBar(m_hbar);
    ReadBar(m_vbar);
}

std::int32_t TacScrollWnd::Thickness(const TacScrollBar& bar) const {
    if (bar.BarThickness >= 0)
        return bar.BarThickness;
    return platform::GetSystemMetrics(
        bar.Orientation == platform::SB_VERT ? platform::SM_CXVSCROLL : platform::SM_CYHSCROLL);
}

std::int32_t TacScrollWnd::ButtonLength(const TacScrollBar& bar) const {
    if (bar.ButtonLength >= 0)
        return bar.ButtonLength;
    const std::int32_t system = platform::GetSystemMetrics(platform::SM_CXHSCROLL);
    skin::TsSkinManager* manager = Manager();
    if (!manager)
        return system;
    const bool horizontal = bar.Orientation == platform::SB_HORZ;
    const skin::TsPieceIndexes& button =
        manager->CachedIndexes().ScrollButtons[horizontal ? skin::kLeft : skin::kTop];
    const skin::TsMaskData* border = MaskAt(*manager, button.Border);
    if (!border)
        return system;
    return std::max(system, FrameSize(*border, horizontal));
}

platform::Point TacScrollWnd::WindowPoint(platform::Point screen) const {
    Rect wr;
    platform::GetWindowRect(Handle(), wr);
    return {screen.x - wr.left, screen.y - wr.top};
}

TacScrollLayout TacScrollWnd::Layout() const {
    TacScrollLayout layout;
    Rect wr, cr;
    if (!Attached() || !platform::GetWindowRect(Handle(), wr) ||
        !platform::GetClientRect(Handle(), cr))
        return layout;
    platform::Point origin{0, 0};
    platform::ClientToScreen(Handle(), origin);
    const Rect client = cr.Offset(origin.x - wr.left, origin.y - wr.top);
    const Rect whole{0, 0, wr.Width(), wr.Height()};
    const auto style =
        static_cast<platform::DWORD>(platform::GetWindowLongPtr(Handle(), platform::GWL_STYLE));
    const bool horz = (style & platform::WS_HSCROLL) != 0;
    const bool vert = (style & platform::WS_VSCROLL) != 0;
    if (horz)
        layout.Horz =
            Rect{client.left, client.bottom, client.right, client.bottom + Thickness(m_hbar)}
                .Intersect(whole);
    if (vert) {
        const std::int32_t t = Thickness(m_vbar);
        const Rect r = m_leftVertical
                           ? Rect{client.left - t, client.top, client.left, client.bottom}
                           : Rect{client.right, client.top, client.right + t, client.bottom};
        layout.Vert = r.Intersect(whole);
    }
    if (horz && vert)
        layout.SizeBox =
            Rect{layout.Vert.left, layout.Horz.top, layout.Vert.right, layout.Horz.bottom}
                .Intersect(whole);
    return layout;
}

TacScrollGeometry TacScrollWnd::Geometry(const TacScrollBar& bar, const Rect& barRect) const {
    const bool vertical = bar.Orientation == platform::SB_VERT;
    platform::SCROLLINFO si = bar.Info;
    if (Press().window == this && Press().bar == bar.Orientation && Press().part == kPartThumb)
        si.nPos = Press().trackPos;
    return ScrollGeometry(vertical ? barRect.Height() : barRect.Width(), ButtonLength(bar), si,
                          bar.MinThumbLength);
}

TacScrollPart TacScrollWnd::PartAt(std::int32_t orientation, platform::Point window) const {
    const TacScrollLayout layout = Layout();
    const bool vertical = orientation == platform::SB_VERT;
    const Rect r = vertical ? layout.Vert : layout.Horz;
    if (r.IsEmpty() || !r.Contains(window))
        return kPartNone;
    const TacScrollBar& bar = vertical ? m_vbar : m_hbar;
    return ScrollPartAt(Geometry(bar, r), vertical ? window.y - r.top : window.x - r.left);
}

// ---- what a painted bar is made from ------------------------------------------------------

TacScrollWnd::BarLook TacScrollWnd::LookOf(const TacScrollBar& bar, const Rect& barRect) const {
    BarLook look;
    look.size = {barRect.Width(), barRect.Height()};
    look.geometry = Geometry(bar, barRect);
    const TacScrollPress& press = Press();
    look.pressed = press.window == this && press.bar == bar.Orientation ? press.part : kPartNone;
    look.hot = m_hotBar == bar.Orientation ? m_hotPart : kPartNone;
    look.enabled =
        platform::IsWindowEnabled(Handle()) && bar.DisabledArrows != platform::ESB_DISABLE_BOTH;
    look.manager = Manager();
    look.skinStamp = m_skinStamp;
    return look;
}

void TacScrollWnd::SkinChanged() {
    ++m_skinStamp;
}

// ---- messages -------------------------------------------------------------------------------

void TacScrollWnd::CalcSize(platform::LPARAM l) {
    // The previous procedure reserved the classic bars; the skinned ones may be thicker or
    // thinner, or the vertical one may stand on the left.
    auto* p = reinterpret_cast<platform::NCCALCSIZE_PARAMS*>(l);
    const Rect proposed = p->rgrc[0];
    Rect& client = p->rgrc[0];
    const auto style =
        static_cast<platform::DWORD>(platform::GetWindowLongPtr(Handle(), platform::GWL_STYLE));
    if (style & platform::WS_HSCROLL)
        client.bottom += platform::GetSystemMetrics(platform::SM_CYHSCROLL) - Thickness(m_hbar);
    if (style & platform::WS_VSCROLL) {
        const std::int32_t system = platform::GetSystemMetrics(platform::SM_CXVSCROLL);
        if (m_leftVertical) {
            client.right += system;
            client.left += Thickness(m_vbar);
        } else {
            client.right += system - Thickness(m_vbar);
        }
    }
    client.left = std::clamp(client.left, proposed.left, proposed.right);
    client.top = std::clamp(client.top, proposed.top, proposed.bottom);
    client.right = std::clamp(client.right, client.left, proposed.right);
    client.bottom = std::clamp(client.bottom, client.top, proposed.bottom);
}

bool TacScrollWnd::SendScroll(std::int32_t orientation, std::int32_t code, std::int32_t pos) {
    const std::weak_ptr<const bool> alive = AliveToken();
    const platform::HWND h = Handle();
    auto gone = [&] { return alive.expired() || !Attached(); };
    platform::SendMessage(h, toolkit::kLibraryCommandMessage, skin::MakeCommand(kCmdBeforeScroll),
                          0);
    if (gone())
        return false;
    if (code == platform::SB_THUMBTRACK || code == platform::SB_THUMBPOSITION) {
        platform::SetScrollTrackPos(h, orientation, pos);
        // A position beyond 16 bits does not travel in the message: the window reads it.
        const TacScrollBar& bar = Bar(orientation);
        if (std::int64_t{bar.Info.nMax} - bar.Info.nMin > 65534)
            platform::SetScrollPos(h, orientation, pos, false);
    }
    const platform::UINT message =
        orientation == platform::SB_VERT ? platform::WM_VSCROLL : platform::WM_HSCROLL;
    m_inScroll = true;
    platform::SendMessage(
        h, message,
        platform::MAKEWPARAM(static_cast<platform::WORD>(code), static_cast<platform::WORD>(pos)),
        0);
    if (gone())
        return false;
    m_inScroll = false;
    platform::SendMessage(h, toolkit::kLibraryCommandMessage,
                          skin::MakeCommand(kCmdAfterScroll, static_cast<std::uint16_t>(code)),
                          static_cast<platform::LPARAM>(message));
    return !gone();
}

void TacScrollWnd::PressBar(std::int32_t orientation, platform::Point window) {
    const platform::HWND h = Handle();
    if (!platform::IsWindowEnabled(h) || Press().window)
        return;
    TacScrollBar& bar = Bar(orientation);
    ReadBar(bar);
    const TacScrollLayout layout = Layout();
    const bool vertical = orientation == platform::SB_VERT;
    const Rect r = vertical ? layout.Vert : layout.Horz;
    const TacScrollGeometry g = Geometry(bar, r);
    const std::int32_t along = vertical ? window.y - r.top : window.x - r.left;
    const TacScrollPart part = ScrollPartAt(g, along);
    if (part == kPartNone || bar.DisabledArrows == platform::ESB_DISABLE_BOTH)
        return;
    TacScrollPress& press = Press();
    press = {};
    press.window = this;
    press.bar = orientation;
    press.part = part;
    press.code = CodeOf(part);
    press.trackPos = bar.Info.nPos;
    platform::SetCapture(h);
    if (part == kPartThumb) {
        m_tracking = true;
        press.grab = along - g.ThumbOffset;
        platform::SetScrollTrackPos(h, orientation, press.trackPos);
        RepaintBars();
        return;
    }
    RepaintBars();
    if (!SendScroll(orientation, press.code, 0))
        return;
    if (Press().window == this)
        platform::SetTimer(h, kScrollTimerId, kScrollFirstRepeatMs);
}

void TacScrollWnd::RepeatTick() {
    const platform::HWND h = Handle();
    TacScrollPress& press = Press();
    if (press.window != this || press.part == kPartThumb) {
        platform::KillTimer(h, kScrollTimerId);
        return;
    }
    if (!press.repeating) {
        press.repeating = true;
        platform::SetTimer(h, kScrollTimerId, kScrollRepeatMs);
    }
    // Only while the pointer stays on the part that was pressed.
    TacScrollBar& bar = Bar(press.bar);
    ReadBar(bar);
    platform::Point cursor;
    platform::GetCursorPos(cursor);
    if (PartAt(press.bar, WindowPoint(cursor)) == press.part)
        SendScroll(press.bar, press.code, 0);
}

void TacScrollWnd::MouseMoveWhilePressed(platform::Point window) {
    TacScrollPress& press = Press();
    if (press.part != kPartThumb)
        return;
    TacScrollBar& bar = Bar(press.bar);
    ReadBar(bar);
    const TacScrollLayout layout = Layout();
    const bool vertical = press.bar == platform::SB_VERT;
    const Rect r = vertical ? layout.Vert : layout.Horz;
    const TacScrollGeometry g = Geometry(bar, r);
    if (g.ThumbLength == 0)
        return;
    const platform::SCROLLINFO& si = bar.Info;
    const std::int32_t room = g.Length - 2 * g.Button - g.ThumbLength;
    const std::int32_t along = vertical ? window.y - r.top : window.x - r.left;
    const std::int32_t offset = std::clamp(along - press.grab - g.Button, 0, std::max(room, 0));
    const std::int64_t span =
        std::int64_t{si.nMax} - si.nMin + 1 - std::max<std::int64_t>(si.nPage, 1);
    std::int32_t pos = si.nMin;
    if (room > 0 && span > 0 && span <= INT32_MAX)
        pos =
            si.nMin + std::max(0, platform::MulDiv(offset, static_cast<std::int32_t>(span), room));
    pos = std::clamp(pos, si.nMin, MaxPos(si));
    if (pos == press.trackPos)
        return;
    press.trackPos = pos;
    if (!SendScroll(press.bar, platform::SB_THUMBTRACK, pos))
        return;
    RepaintBars();
}

void TacScrollWnd::EndPress(bool notify) {
    if (Press().window != this)
        return;
    const TacScrollPress was = Press();
    Press() = {};
    m_tracking = false;
    const platform::HWND h = Handle();
    platform::KillTimer(h, kScrollTimerId);
    if (platform::GetCapture() == h && !HoldsMouse())
        platform::ReleaseCapture();
    if (notify) {
        if (was.part == kPartThumb &&
            !SendScroll(was.bar, platform::SB_THUMBPOSITION, was.trackPos))
            return;
        if (!SendScroll(was.bar, platform::SB_ENDSCROLL, 0))
            return;
    }
    UpdateBars();
}

void TacScrollWnd::SetHotPart(std::int32_t orientation, TacScrollPart part) {
    if (orientation == m_hotBar && part == m_hotPart)
        return;
    const bool wasNone = m_hotPart == kPartNone;
    m_hotBar = orientation;
    m_hotPart = part;
    if (wasNone && part != kPartNone) {
        platform::TRACKMOUSEEVENT tme;
        tme.dwFlags = platform::TME_LEAVE | platform::TME_NONCLIENT;
        tme.hwndTrack = Handle();
        platform::TrackMouseEvent(tme);
    }
    RepaintBars();
}

platform::LRESULT TacScrollWnd::WndProc(platform::UINT msg, platform::WPARAM w,
                                        platform::LPARAM l) {
    using namespace platform;
    const bool pressedHere = Press().window == this;
    switch (msg) {
    case toolkit::kLibraryCommandMessage:
        switch (skin::CommandOf(w)) {
        case skin::kCmdNewSkin:
        case skin::kCmdSkinRemoved:
        case skin::kCmdRefresh:
            SkinChanged();
            break;
        default:
            break;
        }
        break;
    case WM_NCCALCSIZE: {
        const LRESULT r = CallPrevious(msg, w, l);
        if (l && Attached())
            CalcSize(l);
        return r;
    }
    case WM_NCHITTEST: {
        const TacScrollLayout layout = Layout();
        const Point p = WindowPoint(LParamToPoint(l));
        if (layout.Vert.Contains(p))
            return HTVSCROLL;
        if (layout.Horz.Contains(p))
            return HTHSCROLL;
        break;
    }
    case WM_NCPAINT: {
        const std::weak_ptr<const bool> alive = AliveToken();
        const LRESULT r = CallPrevious(msg, w, l);
        if (!alive.expired())
            RepaintBars();
        return r;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (static_cast<LRESULT>(w) == HTVSCROLL || static_cast<LRESULT>(w) == HTHSCROLL) {
            PressBar(static_cast<LRESULT>(w) == HTVSCROLL ? SB_VERT : SB_HORZ,
                     WindowPoint(LParamToPoint(l)));
            return 0;
        }
        break;
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
        if (static_cast<LRESULT>(w) == HTVSCROLL || static_cast<LRESULT>(w) == HTHSCROLL)
            return 0;
        break;
    case WM_NCMOUSEMOVE:
        if (!pressedHere) {
            const Point p = WindowPoint(LParamToPoint(l));
            const std::int32_t bar = static_cast<LRESULT>(w) == HTVSCROLL   ? SB_VERT
                                     : static_cast<LRESULT>(w) == HTHSCROLL ? SB_HORZ
                                                                            : -1;
            const TacScrollPart part = bar < 0 ? kPartNone : PartAt(bar, p);
            SetHotPart(part == kPartNone ? -1 : bar, part);
        }
        break;
    case WM_NCMOUSELEAVE:
        SetHotPart(-1, kPartNone);
        break;
    case WM_MOUSEMOVE:
        if (pressedHere) {
            Point screen = LParamToPoint(l);
            ClientToScreen(Handle(), screen);
            MouseMoveWhilePressed(WindowPoint(screen));
            return 0;
        }
        if (m_hotPart != kPartNone)
            SetHotPart(-1, kPartNone);
        break;
    case WM_LBUTTONUP:
        if (pressedHere) {
            if (m_tracking) {
                Point screen = LParamToPoint(l);
                ClientToScreen(Handle(), screen);
                MouseMoveWhilePressed(WindowPoint(screen));
            }
            EndPress(true);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        if (pressedHere)
            return 0;
        break;
    case WM_TIMER:
        if (w == kScrollTimerId) {
            RepeatTick();
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        // Someone else took the mouse: the press ends as if released. The scroll messages of
        // that end may free the adapter (and the window with it).
        if (pressedHere) {
            const std::weak_ptr<const bool> alive = AliveToken();
            const HWND h = Handle();
            EndPress(true);
            // Let go meanwhile: the window's own procedure, restored by now, still hears of it.
            if (alive.expired() || !Attached())
                return IsWindow(h) ? SendMessage(h, msg, w, l) : 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((w & 0xFFF0) == SC_VSCROLL || (w & 0xFFF0) == SC_HSCROLL)
            return 0;
        break;
    case WM_STYLECHANGED:
    case WM_MOUSEWHEEL: {
        const std::weak_ptr<const bool> alive = AliveToken();
        const LRESULT r = CallPrevious(msg, w, l);
        if (!alive.expired() && !m_inScroll)
            UpdateBars();
        return r;
    }
    case WM_DESTROY:
        m_windowGoing = true;
        if (pressedHere) {
            Press() = {};
            m_tracking = false;
        }
        break;
    default:
        break;
    }
    return TacMainWnd::WndProc(msg, w, l);
}

} // namespace skinned
