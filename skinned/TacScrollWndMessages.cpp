// The scroll-window adapter's messages: the non-client size its bars take, hit testing, the
// mouse pressing, dragging and repeating on a bar, and the scroll messages that follow.

#include "skinned/TacScrollWnd.h"

#include <algorithm>
#include <cstdint>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/sCommonData.h"
#include "skinned/TacScrollPress.h"
#include "toolkit/TWinControl.h"

namespace skinned {

namespace {

using platform::Rect;
using scrollpress::Press;
using scrollpress::TacScrollPress;

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

} // namespace

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
