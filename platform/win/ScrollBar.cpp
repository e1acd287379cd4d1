#include "platform/win/ScrollBar.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win/ClassicLook.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::State;
using detail::WindowData;

namespace {

constexpr int kMinThumb = 8;
// The system's own timer id for scroll repeats; the window's procedure never sees it.
constexpr UINT_PTR kScrollTimerId = 0xFFFE;

detail::ScrollBarData* BarOf(WindowData& w, int bar) {
    if (bar == SB_HORZ)
        return &w.hbar;
    if (bar == SB_VERT)
        return &w.vbar;
    return nullptr;
}

DWORD StyleBit(int bar) {
    return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
}

int MaxPos(const SCROLLINFO& si) {
    return si.nMax - std::max(static_cast<int>(si.nPage) - 1, 0);
}

void SetShown(HWND h, int bar, bool show) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return;
    DWORD bits = 0;
    if (bar == SB_BOTH)
        bits = WS_VSCROLL | WS_HSCROLL;
    else
        bits = StyleBit(bar);
    const DWORD style = show ? (w->style | bits) : (w->style & ~bits);
    if (style == w->style)
        return;
    w->style = style;
    SetWindowPos(h, HWND{}, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

Rect BarRect(HWND h, int bar) {
    const NonClientLayout nc = GetNonClientLayout(h);
    return bar == SB_VERT ? nc.vscroll : nc.hscroll;
}

void RepaintBar(HWND h) {
    if (!IsWindowVisible(h))
        return;
    HDC dc = GetWindowDC(h);
    if (!dc)
        return;
    detail::PaintScrollBars(h, *dc);
    ReleaseDC(h, dc);
}

ScrollBarGeometry GeometryOf(const Rect& r, int bar, const SCROLLINFO& si) {
    const bool vertical = bar == SB_VERT;
    return ComputeScrollBarGeometry(vertical ? r.Height() : r.Width(),
                                    vertical ? r.Width() : r.Height(), si, kMinThumb);
}

} // namespace

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t a = product < 0 ? -product : product;
    const std::int64_t d = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
    std::int64_t q = (a + d / 2) / d;
    if (negative)
        q = -q;
    if (q > INT32_MAX || q < INT32_MIN)
        return -1;
    return static_cast<int>(q);
}

ScrollBarGeometry ComputeScrollBarGeometry(int barLength, int thickness, const SCROLLINFO& si,
                                           int minThumb) {
    ScrollBarGeometry g;
    barLength = std::max(0, barLength);
    g.arrow = std::max(0, thickness);
    if (barLength < 2 * g.arrow) {
        g.arrow = barLength / 2;
        return g;
    }
    const int track = barLength - 2 * g.arrow;
    const std::int64_t range = static_cast<std::int64_t>(si.nMax) - si.nMin;
    if (range <= 0 || range >= INT32_MAX)
        return g;
    const int span = static_cast<int>(range) + 1;
    int thumb = si.nPage == 0
                    ? g.arrow
                    : MulDiv(static_cast<int>(std::min<UINT>(si.nPage, INT32_MAX)), track, span);
    thumb = std::max(thumb, minThumb);
    if (thumb > track)
        return g;
    const int denominator = span - std::max(static_cast<int>(si.nPage), 1);
    int offset = denominator > 0 ? MulDiv(si.nPos - si.nMin, track - thumb, denominator) : 0;
    offset = std::clamp(offset, 0, track - thumb);
    g.thumbOffset = g.arrow + offset;
    g.thumbLength = thumb;
    return g;
}

ScrollPart ScrollPartAt(int offset, int barLength, const ScrollBarGeometry& g) {
    if (offset < 0 || offset >= barLength)
        return ScrollPart::None;
    if (offset < g.arrow)
        return ScrollPart::FirstArrow;
    if (offset >= barLength - g.arrow)
        return ScrollPart::SecondArrow;
    if (g.thumbLength == 0)
        return ScrollPart::None;
    if (offset < g.thumbOffset)
        return ScrollPart::PageBefore;
    if (offset < g.thumbOffset + g.thumbLength)
        return ScrollPart::Thumb;
    return ScrollPart::PageAfter;
}

int SetScrollInfo(HWND h, int bar, const SCROLLINFO& si, bool redraw) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    detail::ScrollBarData* d = w ? BarOf(*w, bar) : nullptr;
    if (!d)
        return 0;
    SCROLLINFO& info = d->info;
    if (si.fMask & SIF_RANGE) {
        info.nMin = si.nMin;
        info.nMax = si.nMax;
    }
    const std::int64_t span = static_cast<std::int64_t>(info.nMax) - info.nMin + 1;
    if (si.fMask & SIF_PAGE)
        info.nPage = static_cast<UINT>(
            std::clamp<std::int64_t>(si.nPage, 0, std::max<std::int64_t>(span, 0)));
    if (si.fMask & SIF_POS)
        info.nPos = si.nPos;
    info.nPos = std::clamp(info.nPos, info.nMin, std::max(info.nMin, MaxPos(info)));

    bool changedShown = false;
    if (si.fMask & (SIF_RANGE | SIF_PAGE)) {
        const bool scrollable =
            info.nMin < info.nMax && static_cast<std::int64_t>(info.nPage) < span;
        const bool shown = (w->style & StyleBit(bar)) != 0;
        if (!scrollable && (si.fMask & SIF_DISABLENOSCROLL)) {
            d->disabledArrows = ESB_DISABLE_BOTH;
            if (!shown) {
                SetShown(h, bar, true);
                changedShown = true;
            }
        } else {
            if (scrollable)
                d->disabledArrows = ESB_ENABLE_BOTH;
            if (scrollable != shown) {
                SetShown(h, bar, scrollable);
                changedShown = true;
            }
        }
    }
    const int pos = info.nPos;
    if (redraw && !changedShown)
        RepaintBar(h);
    return pos;
}

bool GetScrollInfo(HWND h, int bar, SCROLLINFO& si) {
    WindowData* w = State::Get().Find(h);
    detail::ScrollBarData* d = w ? BarOf(*w, bar) : nullptr;
    if (!d)
        return false;
    const UINT mask = si.fMask;
    if (mask & SIF_RANGE) {
        si.nMin = d->info.nMin;
        si.nMax = d->info.nMax;
    }
    if (mask & SIF_PAGE)
        si.nPage = d->info.nPage;
    if (mask & SIF_POS)
        si.nPos = d->info.nPos;
    if (mask & SIF_TRACKPOS)
        si.nTrackPos = d->info.nTrackPos;
    return (mask & SIF_ALL) != 0;
}

int SetScrollPos(HWND h, int bar, int pos, bool redraw) {
    const int old = GetScrollPos(h, bar);
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(h, bar, si, redraw);
    return old;
}

int GetScrollPos(HWND h, int bar) {
    SCROLLINFO si;
    si.fMask = SIF_POS;
    return GetScrollInfo(h, bar, si) ? si.nPos : 0;
}

bool SetScrollRange(HWND h, int bar, int minPos, int maxPos, bool redraw) {
    if (!IsWindow(h) || (bar != SB_HORZ && bar != SB_VERT))
        return false;
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMin = minPos;
    si.nMax = maxPos;
    SetScrollInfo(h, bar, si, redraw);
    return true;
}

bool GetScrollRange(HWND h, int bar, int& minPos, int& maxPos) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    if (!GetScrollInfo(h, bar, si))
        return false;
    minPos = si.nMin;
    maxPos = si.nMax;
    return true;
}

bool ShowScrollBar(HWND h, int bar, bool show) {
    if (!IsWindow(h) || bar < SB_HORZ || bar > SB_BOTH || bar == SB_CTL)
        return false;
    SetShown(h, bar, show);
    return true;
}

bool EnableScrollBar(HWND h, int bar, UINT arrows) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return false;
    bool any = false;
    for (int b : {SB_HORZ, SB_VERT}) {
        if (bar != b && bar != SB_BOTH)
            continue;
        detail::ScrollBarData* d = BarOf(*w, b);
        any = any || d->disabledArrows != arrows;
        d->disabledArrows = arrows;
    }
    if (any)
        RepaintBar(h);
    return any;
}

void SetScrollTrackPos(HWND h, int bar, int pos) {
    WindowData* w = State::Get().Find(h);
    detail::ScrollBarData* d = w ? BarOf(*w, bar) : nullptr;
    if (!d)
        return;
    d->info.nTrackPos = std::clamp(pos, d->info.nMin, std::max(d->info.nMin, MaxPos(d->info)));
}

namespace detail {

void PaintScrollBars(HWND h, DeviceContext& dc) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return;
    const NonClientLayout nc = GetNonClientLayout(h);
    for (int bar : {SB_HORZ, SB_VERT}) {
        const Rect r = bar == SB_VERT ? nc.vscroll : nc.hscroll;
        if (r.IsEmpty())
            continue;
        const ScrollBarData& d = bar == SB_VERT ? w->vbar : w->hbar;
        const bool vertical = bar == SB_VERT;
        const bool pressedBar = s.scrollPress.hwnd == h && s.scrollPress.bar == bar;
        const auto pressed = static_cast<ScrollPart>(pressedBar ? s.scrollPress.part : 0);
        SCROLLINFO si = d.info;
        if (pressedBar && pressed == ScrollPart::Thumb)
            si.nPos = si.nTrackPos;
        const bool enabled = IsWindowEnabled(h) && d.disabledArrows != ESB_DISABLE_BOTH;
        const ScrollBarGeometry g = GeometryOf(r, bar, si);
        auto span = [&](int from, int to) {
            return vertical ? Rect{r.left, r.top + from, r.right, r.top + to}
                            : Rect{r.left + from, r.top, r.left + to, r.bottom};
        };
        const int length = vertical ? r.Height() : r.Width();
        FillRect(dc, span(g.arrow, length - g.arrow), GetSysColor(COLOR_SCROLLBAR));
        if (pressed == ScrollPart::PageBefore && g.thumbLength)
            FillRect(dc, span(g.arrow, g.thumbOffset), GetSysColor(COLOR_3DDKSHADOW));
        if (pressed == ScrollPart::PageAfter && g.thumbLength)
            FillRect(dc, span(g.thumbOffset + g.thumbLength, length - g.arrow),
                     GetSysColor(COLOR_3DDKSHADOW));
        DrawClassicButton(
            dc, span(0, g.arrow), vertical ? FrameGlyph::ArrowUp : FrameGlyph::ArrowLeft,
            pressed == ScrollPart::FirstArrow, enabled && !(d.disabledArrows & ESB_DISABLE_LTUP));
        DrawClassicButton(dc, span(length - g.arrow, length),
                          vertical ? FrameGlyph::ArrowDown : FrameGlyph::ArrowRight,
                          pressed == ScrollPart::SecondArrow,
                          enabled && !(d.disabledArrows & ESB_DISABLE_RTDN));
        if (enabled && g.thumbLength) {
            const Rect thumb = span(g.thumbOffset, g.thumbOffset + g.thumbLength);
            FillRect(dc, DrawEdge3D(dc, thumb, EdgeKind::Raised), GetSysColor(COLOR_BTNFACE));
        }
    }
    if (!nc.sizeBox.IsEmpty())
        FillRect(dc, nc.sizeBox, GetSysColor(COLOR_BTNFACE));
}

void TrackScrollBar(HWND h, int bar, Point screen) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w || (bar != SB_HORZ && bar != SB_VERT))
        return;
    const bool vertical = bar == SB_VERT;
    const UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
    auto along = [&](Point p) {
        Rect wr;
        GetWindowRect(h, wr);
        const Rect r = BarRect(h, bar);
        return vertical ? p.y - wr.top - r.top : p.x - wr.left - r.left;
    };
    auto info = [&]() -> SCROLLINFO {
        WindowData* cur = s.Find(h);
        return cur ? BarOf(*cur, bar)->info : SCROLLINFO{};
    };
    auto partAt = [&](Point p) {
        const Rect r = BarRect(h, bar);
        return ScrollPartAt(along(p), vertical ? r.Height() : r.Width(),
                            GeometryOf(r, bar, info()));
    };
    const ScrollBarData& d = *BarOf(*w, bar);
    if (!IsWindowEnabled(h) || d.disabledArrows == ESB_DISABLE_BOTH)
        return;
    const ScrollPart part = partAt(screen);
    if (part == ScrollPart::None ||
        (part == ScrollPart::FirstArrow && (d.disabledArrows & ESB_DISABLE_LTUP)) ||
        (part == ScrollPart::SecondArrow && (d.disabledArrows & ESB_DISABLE_RTDN)))
        return;
    int code = SB_LINEUP;
    switch (part) {
    case ScrollPart::SecondArrow:
        code = SB_LINEDOWN;
        break;
    case ScrollPart::PageBefore:
        code = SB_PAGEUP;
        break;
    case ScrollPart::PageAfter:
        code = SB_PAGEDOWN;
        break;
    default:
        break;
    }
    auto send = [&](int c, int pos) {
        SendMessage(h, message, MAKEWPARAM(static_cast<WORD>(c), static_cast<WORD>(pos)), 0);
    };

    // The press ends cleanly even when a scroll handler throws.
    auto release = [&]() {
        s.scrollPress = {};
        if (IsWindow(h)) {
            KillTimer(h, kScrollTimerId);
            if (GetCapture() == h)
                ReleaseCapture();
        }
    };
    int grab = 0;
    int trackPos = d.info.nPos;
    try {
        s.scrollPress = {h, bar, static_cast<int>(part)};
        SetCapture(h);
        if (part == ScrollPart::Thumb) {
            const Rect r = BarRect(h, bar);
            grab = along(screen) - GeometryOf(r, bar, d.info).thumbOffset;
            BarOf(*w, bar)->info.nTrackPos = trackPos;
            RepaintBar(h);
        } else {
            RepaintBar(h);
            send(code, 0);
            SetTimer(h, kScrollTimerId, kScrollFirstDelayMs);
        }

        while (IsWindow(h) && GetCapture() == h) {
            MSG m;
            if (!GetMessage(m, HWND{}, 0, 0)) {
                PostQuitMessage(static_cast<int>(m.wParam));
                break;
            }
            if (m.hwnd == h && m.message == WM_TIMER && m.wParam == kScrollTimerId) {
                SetTimer(h, kScrollTimerId, kScrollRepeatMs);
                // Only while the pointer stays on the part that was pressed.
                if (partAt(s.cursor) == part)
                    send(code, 0);
                continue;
            }
            if (m.hwnd == h && (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP)) {
                if (part == ScrollPart::Thumb) {
                    const SCROLLINFO si = info();
                    const Rect r = BarRect(h, bar);
                    const ScrollBarGeometry g = GeometryOf(r, bar, si);
                    const int track = (vertical ? r.Height() : r.Width()) - 2 * g.arrow;
                    const int room = track - g.thumbLength;
                    const int offset =
                        std::clamp(along(m.pt) - grab - g.arrow, 0, std::max(room, 0));
                    const int span =
                        si.nMax - si.nMin + 1 - std::max(static_cast<int>(si.nPage), 1);
                    int pos = si.nMin + (room > 0 ? MulDiv(offset, span, room) : 0);
                    pos = std::clamp(pos, si.nMin, std::max(si.nMin, MaxPos(si)));
                    if (pos != trackPos) {
                        trackPos = pos;
                        if (WindowData* cur = s.Find(h))
                            BarOf(*cur, bar)->info.nTrackPos = pos;
                        send(SB_THUMBTRACK, pos);
                        RepaintBar(h);
                    }
                }
                if (m.message == WM_LBUTTONUP)
                    break;
                continue;
            }
            if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE)
                break;
            TranslateMessage(m);
            DispatchMessage(m);
        }
    } catch (...) {
        try {
            release();
        } catch (...) {
        }
        throw;
    }
    if (IsWindow(h)) {
        KillTimer(h, kScrollTimerId);
        if (GetCapture() == h)
            ReleaseCapture();
    }
    s.scrollPress = {};
    if (!IsWindow(h))
        return;
    if (part == ScrollPart::Thumb)
        send(SB_THUMBPOSITION, trackPos);
    send(SB_ENDSCROLL, 0);
    RepaintBar(h);
}

} // namespace detail

} // namespace platform
