// Moving and sizing windows in a modal loop of our own, by the pointer or by the keyboard.

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform::detail {

Point MinTrackSize(HWND h) {
    MINMAXINFO mmi{};
    mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessage(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    return mmi.ptMinTrackSize;
}

namespace {

// Which sides follow the pointer or the keys: -1 the left (top) edge, 1 the right (bottom)
// edge, 0 neither; `all` moves the whole window.
struct Edges {
    int x = 0;
    int y = 0;
    bool all = false;
};

Edges EdgesOf(LRESULT hit) {
    Edges e;
    e.all = hit == HTCAPTION;
    if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT)
        e.x = -1;
    if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT)
        e.x = 1;
    if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT)
        e.y = -1;
    if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT)
        e.y = 1;
    return e;
}

// from moved by dx, dy on the sides e names, never smaller than minSize.
Rect Moved(const Rect& from, const Edges& e, int dx, int dy, Point minSize) {
    if (e.all)
        return from.Offset(dx, dy);
    Rect r = from;
    if (e.x < 0)
        r.left = std::min(r.left + dx, r.right - minSize.x);
    if (e.x > 0)
        r.right = std::max(r.right + dx, r.left + minSize.x);
    if (e.y < 0)
        r.top = std::min(r.top + dy, r.bottom - minSize.y);
    if (e.y > 0)
        r.bottom = std::max(r.bottom + dy, r.top + minSize.y);
    return r;
}

void Place(HWND h, const Rect& r) {
    SetWindowPos(h, HWND{}, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsKeyDown(UINT msg) {
    return msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
}
bool IsKeyboard(UINT msg) {
    return msg >= WM_KEYDOWN && msg <= WM_SYSCHAR;
}

// One move/size loop's hold on the window: WM_ENTERSIZEMOVE and the capture when it starts; the
// capture given back however the loop ends, and WM_EXITSIZEMOVE only when it ends normally (a
// throwing procedure just frees the pointer).
class MoveSizeSession {
public:
    explicit MoveSizeSession(HWND h) : m_h(h) {
        SendMessage(h, WM_ENTERSIZEMOVE, 0, 0);
        SetCapture(h);
    }
    ~MoveSizeSession() {
        if (GetCapture() == m_h)
            ReleaseCapture();
    }
    MoveSizeSession(const MoveSizeSession&) = delete;
    MoveSizeSession& operator=(const MoveSizeSession&) = delete;

    void Finish() {
        if (!IsWindow(m_h))
            return;
        if (GetCapture() == m_h)
            ReleaseCapture();
        SendMessage(m_h, WM_EXITSIZEMOVE, 0, 0);
    }

private:
    HWND m_h;
};

} // namespace

// Our own move/size loop: the window follows the pointer until the button goes up; Escape puts
// it back. hit says which edge moves (HTCAPTION: the whole window).
void MoveSizeLoop(HWND h, LRESULT hit, Point start) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w || (w->style & WS_MAXIMIZE))
        return;
    const Rect original = w->rect;
    const Point minSize = w->parent ? Point{0, 0} : MinTrackSize(h);
    MoveSizeSession session(h);
    auto apply = [&](Point p) {
        Place(h, Moved(original, EdgesOf(hit), p.x - start.x, p.y - start.y, minSize));
    };
    PumpWhileCaptured(h, [&](const MSG& m) {
        if (m.hwnd == h && (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP)) {
            apply(m.pt);
            return m.message == WM_LBUTTONUP ? CapturedStep::Stop : CapturedStep::Handled;
        }
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
            Place(h, original);
            return CapturedStep::Stop;
        }
        return CapturedStep::Dispatch;
    });
    session.Finish();
}

void PumpWhileCaptured(HWND h, const std::function<CapturedStep(const MSG&)>& look) {
    while (IsWindow(h) && GetCapture() == h) {
        MSG m;
        if (!GetMessage(m, HWND{}, 0, 0)) {
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        const CapturedStep step = look(m);
        if (step == CapturedStep::Stop)
            return;
        if (step == CapturedStep::Handled)
            continue;
        TranslateMessage(m);
        DispatchMessage(m);
    }
}

void KeyboardMoveSize(HWND h, LRESULT hit) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w || (w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
        return;
    const Rect original = w->rect;
    const Point minSize = w->parent ? Point{0, 0} : MinTrackSize(h);
    // Sizing starts with no edge: the first arrow key on an axis picks that side's edge.
    Edges edges = EdgesOf(hit);
    Rect current = original;
    // The pointer moves the window too, by as much as it moves from where it was when the loop
    // started or a key last moved the window.
    Point mouseFrom = s.cursor;
    Rect atMouse = original;
    MoveSizeSession session(h);
    auto move = [&](const Rect& r) {
        current = r;
        Place(h, r);
    };
    while (IsWindow(h) && GetCapture() == h) {
        MSG m;
        if (!GetMessage(m, HWND{}, 0, 0)) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (IsKeyDown(m.message)) {
            const WPARAM key = m.wParam;
            if (key == VK_RETURN)
                break;
            if (key == VK_ESCAPE) {
                move(original);
                break;
            }
            const int dx = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0;
            const int dy = key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0;
            if (!edges.all && dx && !edges.x) {
                edges.x = dx;
            } else if (!edges.all && dy && !edges.y) {
                edges.y = dy;
            } else if (dx || dy) {
                move(
                    Moved(current, edges, dx * kKeyboardMoveStep, dy * kKeyboardMoveStep, minSize));
            }
            mouseFrom = s.cursor;
            atMouse = current;
            continue;
        }
        if (IsKeyboard(m.message))
            continue; // the loop owns the keyboard while it runs
        if (m.hwnd == h && m.message == WM_MOUSEMOVE) {
            if (edges.all || edges.x || edges.y)
                move(Moved(atMouse, edges, m.pt.x - mouseFrom.x, m.pt.y - mouseFrom.y, minSize));
            continue;
        }
        if (m.hwnd == h && (m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONUP ||
                            m.message == WM_RBUTTONDOWN))
            break;
        TranslateMessage(m);
        DispatchMessage(m);
    }
    session.Finish();
}

} // namespace platform::detail
