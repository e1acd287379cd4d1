// The scroll-window adapter's bars: reading them from the window, their thickness, layout and
// geometry, and what a painted bar is made from. Messages and the mouse are in
// TacScrollWndMessages.cpp, painting in TacScrollPaint.cpp.

#include "skinned/TacScrollWnd.h"

#include <algorithm>
#include <cstdint>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/SkinModel.h"
#include "skin/sCommonData.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skin/sSkinManager.h"
#include "skinned/TacScrollPaint.h"
#include "skinned/TacScrollPress.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TWinControl.h"

namespace skinned {

namespace {

using platform::Rect;
using scrollpaint::MaskAt;
using scrollpress::Press;
using scrollpress::TacScrollPress;

bool Scrollable(const platform::SCROLLINFO& si) {
    const std::int64_t span = std::int64_t{si.nMax} - si.nMin + 1;
    return si.nMin < si.nMax && std::int64_t{si.nPage} < span;
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

} // namespace skinned
