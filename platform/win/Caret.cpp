#include "platform/win/Caret.h"

#include <algorithm>

#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::State;

namespace {

void Invert(State& s) {
    State::Caret& c = s.caret;
    if (!IsWindow(c.owner))
        return;
    HDC dc = GetDC(c.owner);
    if (!dc)
        return;
    DibSection* bmp = dc->Bitmap();
    if (bmp && bmp->BitCount() == 32) {
        const Rect r = dc->ToDevice(c.rect);
        const Region drawable = dc->DrawableRegion();
        for (const Rect& part : drawable.Rects()) {
            const Rect a = r.Intersect(part);
            for (int y = a.top; y < a.bottom; ++y) {
                std::uint8_t* p = bmp->Row(y) + a.left * 4;
                for (int x = a.left; x < a.right; ++x, p += 4) {
                    p[0] = static_cast<std::uint8_t>(~p[0]);
                    p[1] = static_cast<std::uint8_t>(~p[1]);
                    p[2] = static_cast<std::uint8_t>(~p[2]);
                }
            }
        }
    }
    // Only the caret's rectangle changed, so only that is shown again: ReleaseDC shows what the
    // context's visible region allows.
    if (const auto& visible = dc->GetState().visible) {
        Region changed = *visible;
        changed.IntersectWith(dc->ToDevice(c.rect));
        SetVisibleRegion(*dc, &changed);
    }
    ReleaseDC(c.owner, dc);
    c.drawn = !c.drawn;
}

void StartBlink(State& s) {
    State::Caret& c = s.caret;
    for (detail::Timer& t : s.timers)
        if (t.system && t.hwnd == c.owner && t.id == detail::kCaretTimerId) {
            t.due = s.Now() + c.blinkMs;
            return;
        }
    detail::Timer blink;
    blink.hwnd = c.owner;
    blink.id = detail::kCaretTimerId;
    blink.interval = c.blinkMs;
    blink.due = s.Now() + c.blinkMs;
    blink.system = true;
    s.timers.push_back(std::move(blink));
}

void StopBlink(State& s, HWND owner) {
    s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(),
                                  [&](const detail::Timer& t) {
                                      return t.system && t.hwnd == owner &&
                                             t.id == detail::kCaretTimerId;
                                  }),
                   s.timers.end());
}

} // namespace

namespace detail {

void BlinkCaret(HWND h) {
    State& s = State::Get();
    if (s.caret.owner == h && s.caret.hideCount == 0 && !s.caret.pausedForPaint)
        Invert(s);
}

void HideCaretForPaint(HWND h) {
    State& s = State::Get();
    State::Caret& c = s.caret;
    if (!c.drawn || !c.owner || c.pausedForPaint)
        return;
    if (c.owner == h || IsChild(h, c.owner) || IsChild(c.owner, h)) {
        Invert(s);
        c.pausedForPaint = true;
    }
}

void RestoreCaretAfterPaint(HWND h) {
    State& s = State::Get();
    State::Caret& c = s.caret;
    if (!c.pausedForPaint || !(c.owner == h || IsChild(h, c.owner) || IsChild(c.owner, h)))
        return;
    c.pausedForPaint = false;
    if (c.hideCount == 0 && !c.drawn)
        Invert(s);
}

void ForgetCaretOf(HWND h) {
    State& s = State::Get();
    if (s.caret.owner == h) {
        StopBlink(s, h);
        s.caret = State::Caret{HWND{}, {}, 1, false, false, s.caret.blinkMs};
    }
}

} // namespace detail

bool CreateCaret(HWND h, int width, int height) {
    State& s = State::Get();
    if (!IsWindow(h))
        return false;
    DestroyCaret();
    State::Caret& c = s.caret;
    c.owner = h;
    c.rect = Rect::FromSize(0, 0, width > 0 ? std::min(width, 1024) : GetSystemMetrics(SM_CXBORDER),
                            height > 0 ? std::min(height, 1024) : GetSystemMetrics(SM_CYBORDER));
    c.hideCount = 1;
    c.drawn = false;
    c.pausedForPaint = false;
    return true;
}

bool DestroyCaret() {
    State& s = State::Get();
    State::Caret& c = s.caret;
    if (!c.owner)
        return false;
    if (c.drawn)
        Invert(s);
    detail::ForgetCaretOf(c.owner);
    return true;
}

bool ShowCaret(HWND h) {
    State& s = State::Get();
    State::Caret& c = s.caret;
    if (!c.owner || (h && h != c.owner) || c.hideCount == 0)
        return false;
    if (--c.hideCount == 0) {
        if (!c.drawn && !c.pausedForPaint)
            Invert(s);
        StartBlink(s);
    }
    return true;
}

bool HideCaret(HWND h) {
    State& s = State::Get();
    State::Caret& c = s.caret;
    if (!c.owner || (h && h != c.owner))
        return false;
    if (c.drawn)
        Invert(s);
    ++c.hideCount;
    StopBlink(s, c.owner);
    return true;
}

bool SetCaretPos(int x, int y) {
    State& s = State::Get();
    State::Caret& c = s.caret;
    if (!c.owner)
        return false;
    const bool wasDrawn = c.drawn;
    if (wasDrawn)
        Invert(s);
    c.rect = Rect::FromSize(detail::ClampCoord(x), detail::ClampCoord(y), c.rect.Width(),
                            c.rect.Height());
    // A moved caret shows at once and starts a fresh blink, so typing never hides it.
    if (c.hideCount == 0 && !c.pausedForPaint) {
        Invert(s);
        StartBlink(s);
    }
    return true;
}

bool GetCaretPos(Point& p) {
    State& s = State::Get();
    if (!s.caret.owner)
        return false;
    p = {s.caret.rect.left, s.caret.rect.top};
    return true;
}

UINT GetCaretBlinkTime() {
    return State::Get().caret.blinkMs;
}

bool SetCaretBlinkTime(UINT ms) {
    State::Get().caret.blinkMs = std::max<UINT>(ms, 10);
    return true;
}

} // namespace platform
