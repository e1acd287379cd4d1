// Hierarchy, coordinates, position, size, z-order, visibility and enabling.

#include <algorithm>

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

HWND GetParent(HWND h) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return {};
    return w->parent ? w->parent : w->owner;
}

HWND SetParent(HWND h, HWND newParent) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    WindowData* p = s.Find(newParent);
    if (!w || (newParent && !p) || (newParent && detail::IsDescendantOrSelf(h, newParent)))
        return {};
    const HWND old = w->parent;
    const bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible)
        ShowWindow(h, SW_HIDE);
    if (!(w = s.Find(h)))
        return {};
    std::vector<HWND>& oldList = detail::Siblings(s, *w);
    oldList.erase(std::remove(oldList.begin(), oldList.end(), h), oldList.end());
    if (!old && w->nativeHost) {
        s.backend->DestroyHostWindow(h);
        w->nativeHost = false;
        w->surface.reset();
    }
    w->parent = newParent;
    if (newParent) {
        w->style = (w->style & ~WS_POPUP) | WS_CHILD;
        p->children.insert(p->children.begin(), h);
    } else {
        w->style &= ~WS_CHILD;
        detail::Restack(s, *w, HWND_TOP);
        detail::ResizeSurface(*w);
        s.backend->CreateHostWindow(h, w->rect, detail::HostKindOf(*w));
        w->nativeHost = true;
        // A child made top-level keeps its region; it now shapes a host window of its own.
        if (w->windowRegion)
            s.backend->SetHostShape(h, &*w->windowRegion);
    }
    if (visible)
        ShowWindow(h, SW_SHOWNA);
    return old;
}

HWND GetAncestorRoot(HWND h) {
    return detail::RootOf(h);
}

std::vector<HWND> GetChildren(HWND parent) {
    State& s = State::Get();
    if (!parent)
        return s.topLevel;
    WindowData* w = s.Find(parent);
    return w ? w->children : std::vector<HWND>{};
}

std::vector<HWND> GetTopLevelWindows() {
    return State::Get().topLevel;
}

HWND GetTopWindow(HWND parent) {
    const std::vector<HWND> list = GetChildren(parent);
    return list.empty() ? HWND{} : list.front();
}

HWND GetWindow(HWND h, UINT cmd) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return {};
    if (cmd == GW_CHILD)
        return w->children.empty() ? HWND{} : w->children.front();
    if (cmd == GW_OWNER)
        return w->owner;
    const std::vector<HWND>& list = detail::Siblings(s, *w);
    auto it = std::find(list.begin(), list.end(), h);
    switch (cmd) {
    case GW_HWNDFIRST:
        return list.front();
    case GW_HWNDLAST:
        return list.back();
    case GW_HWNDNEXT:
        return it + 1 < list.end() ? *(it + 1) : HWND{};
    case GW_HWNDPREV:
        return it > list.begin() ? *(it - 1) : HWND{};
    default:
        return {};
    }
}

bool IsChild(HWND parent, HWND h) {
    return parent != h && IsWindow(parent) && detail::IsDescendantOrSelf(parent, h);
}

HWND GetDlgItem(HWND parent, int id) {
    State& s = State::Get();
    WindowData* w = s.Find(parent);
    if (!w)
        return {};
    for (HWND c : w->children)
        if (s.Need(c).id == id)
            return c;
    return {};
}

bool GetWindowRect(HWND h, Rect& out) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return false;
    const Point o = detail::WindowOriginOnScreen(*w);
    out = Rect::FromSize(o.x, o.y, w->rect.Width(), w->rect.Height());
    return true;
}

bool GetClientRect(HWND h, Rect& out) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return false;
    out = Rect::FromSize(0, 0, w->client.Width(), w->client.Height());
    return true;
}

bool ClientToScreen(HWND h, Point& p) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return false;
    const Point o = detail::ClientOriginOnScreen(*w);
    p = {p.x + o.x, p.y + o.y};
    return true;
}

bool ScreenToClient(HWND h, Point& p) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return false;
    const Point o = detail::ClientOriginOnScreen(*w);
    p = {p.x - o.x, p.y - o.y};
    return true;
}

void MapWindowPoints(HWND from, HWND to, Point* points, int count) {
    for (int i = 0; i < count; ++i) {
        if (from)
            ClientToScreen(from, points[i]);
        if (to)
            ScreenToClient(to, points[i]);
    }
}

// ---- SetWindowPos -------------------------------------------------------------------------------

bool SetWindowPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return false;
    WINDOWPOS wp{h, insertAfter, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        wp.x = w->rect.left;
        wp.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        wp.cx = w->rect.Width();
        wp.cy = w->rect.Height();
    }
    if (!(flags & SWP_NOSENDCHANGING)) {
        SendMessage(h, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (!(w = s.Find(h)))
            return false;
    }
    wp.x = detail::ClampCoord(wp.x);
    wp.y = detail::ClampCoord(wp.y);
    wp.cx = detail::ClampExtent(wp.cx);
    wp.cy = detail::ClampExtent(wp.cy);
    const Rect oldRect = w->rect;
    const Rect oldClient = w->client;
    const Rect newRect = Rect::FromSize(wp.x, wp.y, wp.cx, wp.cy);
    const bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
    const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    const bool wasVisible = IsWindowVisible(h);

    Rect newClient = oldClient;
    if (sized || (wp.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS p;
        p.rgrc[0] = newRect;
        p.rgrc[1] = oldRect;
        p.rgrc[2] = oldClient.Offset(oldRect.left, oldRect.top);
        p.lppos = &wp;
        SendMessage(h, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&p));
        if (!(w = s.Find(h)))
            return false;
        newClient = p.rgrc[0].Offset(-newRect.left, -newRect.top);
        newClient.right = std::max(newClient.left, newClient.right);
        newClient.bottom = std::max(newClient.top, newClient.bottom);
    }
    w->rect = newRect;
    w->client = newClient;
    if (!(wp.flags & SWP_NOZORDER))
        detail::Restack(s, *w, wp.hwndInsertAfter);
    if (wp.flags & SWP_SHOWWINDOW)
        w->style |= WS_VISIBLE;
    if (wp.flags & SWP_HIDEWINDOW)
        w->style &= ~WS_VISIBLE;
    const bool nowVisible = IsWindowVisible(h);

    if (!w->parent && w->nativeHost) {
        detail::ResizeSurface(*w);
        if (moved || sized)
            s.backend->SetHostRect(h, w->rect);
        if (!wasVisible && nowVisible) {
            detail::UpdateHostFrame(h);
            if (!(w = s.Find(h)))
                return false;
        }
        if (wasVisible != nowVisible) {
            // A minimized window that shows goes straight to the desktop's lists.
            s.backend->ShowHostWindow(h, nowVisible);
            if (nowVisible && (w->style & WS_MINIMIZE))
                s.backend->IconifyHostWindow(h);
        }
        if (!(wp.flags & SWP_NOZORDER) && nowVisible)
            s.backend->RaiseHostWindow(h);
    }

    if (!(wp.flags & SWP_NOREDRAW)) {
        const bool clientChanged =
            newClient.Width() != oldClient.Width() || newClient.Height() != oldClient.Height();
        const bool redrawAll = (w->cls->style & (CS_HREDRAW | CS_VREDRAW)) && clientChanged;
        if (nowVisible && (!wasVisible || sized || (wp.flags & SWP_FRAMECHANGED) ||
                           (moved && w->parent) || redrawAll || clientChanged))
            RedrawWindow(h, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        // Whatever the window covered in its parent shows again.
        if (w->parent && wasVisible && (moved || sized || !nowVisible)) {
            if (WindowData* parent = s.Find(w->parent)) {
                const Rect inParentClient = oldRect;
                RedrawWindow(w->parent, &inParentClient, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                (void)parent;
            }
        }
    }

    if (!moved)
        wp.flags |= SWP_NOMOVE | SWP_NOCLIENTMOVE;
    if (!sized)
        wp.flags |= SWP_NOSIZE;
    if (newClient.Width() == oldClient.Width() && newClient.Height() == oldClient.Height())
        wp.flags |= SWP_NOCLIENTSIZE;
    if (moved && newClient.left == oldClient.left && newClient.top == oldClient.top &&
        !(wp.flags & SWP_NOMOVE))
        wp.flags &= ~SWP_NOCLIENTMOVE;
    if (!moved && (newClient.left != oldClient.left || newClient.top != oldClient.top))
        wp.flags &= ~SWP_NOCLIENTMOVE;
    wp.x = newRect.left;
    wp.y = newRect.top;
    wp.cx = newRect.Width();
    wp.cy = newRect.Height();
    SendMessage(h, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    return true;
}

bool MoveWindow(HWND h, int x, int y, int width, int height, bool repaint) {
    return SetWindowPos(h, HWND{}, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

// ---- visibility ---------------------------------------------------------------------------------

namespace {

Rect MaximizedRect(const WindowData& w) {
    const NonClientLayout nc = ComputeNonClientLayout(w.style, w.exStyle, 100, 100);
    Rect area = w.parent ? Rect{} : GetWorkArea();
    // A window manager keeps a maximized window on its work area, borders and all.
    if (!w.parent && w.nativeHost && State::Get().backend->HostDrivesMoveSize())
        return area;
    if (w.parent) {
        Rect pc;
        GetClientRect(w.parent, pc);
        area = pc;
    }
    return area.Inflate(nc.borderX, nc.borderY);
}

void LoseActivation(State& s, HWND h) {
    if (s.active == h || (s.active && detail::IsDescendantOrSelf(h, s.active))) {
        const HWND next = detail::NextWindowToActivate(h);
        if (next)
            SetActiveWindow(next);
        else
            detail::Activate(HWND{}, WA_INACTIVE);
    }
    if (s.focus && detail::IsDescendantOrSelf(h, s.focus))
        SetFocus(HWND{});
}

} // namespace

bool ShowWindow(HWND h, int cmd) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return false;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    const bool topLevel = !w->parent;
    bool activate = topLevel && !(w->exStyle & WS_EX_NOACTIVATE);
    UINT swp = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    switch (cmd) {
    case SW_HIDE:
        if (!wasVisible)
            return false;
        SendMessage(h, WM_SHOWWINDOW, 0, 0);
        SetWindowPos(h, HWND{}, 0, 0, 0, 0, swp | SWP_HIDEWINDOW | SWP_NOZORDER);
        if (IsWindow(h))
            LoseActivation(s, h);
        return wasVisible;
    case SW_SHOWMAXIMIZED:
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
        const bool minimize =
            cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE;
        bool maximize = cmd == SW_SHOWMAXIMIZED;
        if (!minimize && !maximize && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
            break; // restoring a normal window is a plain show
        if (minimize && (w->style & WS_MINIMIZE))
            return wasVisible;
        if (!minimize && !maximize && (w->style & WS_MINIMIZE) && w->restoreToMaximized)
            maximize = true; // a window minimized from maximized comes back maximized
        if (!wasVisible) {
            SendMessage(h, WM_SHOWWINDOW, 1, 0);
            if (!(w = s.Find(h)))
                return false;
        }
        if (!(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
            w->normalRect = w->rect;
        const bool wasIconic = (w->style & WS_MINIMIZE) != 0;
        // A window manager is told before the window is placed, so the geometry it keeps to
        // restore is the normal one, and a maximized window is let go before it is placed
        // back. Coming back from the task bar undoes the host's maximized state: told after.
        if (w->nativeHost && !minimize && !wasIconic)
            s.backend->MaximizeHostWindow(h, maximize);
        if (minimize)
            w->restoreToMaximized = (w->style & WS_MAXIMIZE) != 0;
        w->style = (w->style & ~(WS_MAXIMIZE | WS_MINIMIZE)) | (minimize   ? WS_MINIMIZE
                                                                : maximize ? WS_MAXIMIZE
                                                                           : 0);
        const WPARAM kind = minimize ? SIZE_MINIMIZED : maximize ? SIZE_MAXIMIZED : SIZE_RESTORED;
        if (minimize)
            LoseActivation(s, h);
        if (!(w = s.Find(h)))
            return false;
        // A minimized window keeps its place; only its host window goes to the task bar.
        const Rect target = minimize ? w->rect : maximize ? MaximizedRect(*w) : w->normalRect;
        const Rect clientBefore = w->client;
        SetWindowPos(h, HWND{}, target.left, target.top, target.Width(), target.Height(),
                     SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
        if (!(w = s.Find(h)))
            return false;
        // Iconified, not hidden: the user brings it back from the desktop's task bar.
        if (w->nativeHost) {
            if (minimize) {
                s.backend->IconifyHostWindow(h);
            } else {
                s.backend->ShowHostWindow(h, true);
                if (wasIconic)
                    s.backend->MaximizeHostWindow(h, maximize);
            }
        }
        // The new state is news even when the client kept its size.
        if (minimize || (w->client.Width() == clientBefore.Width() &&
                         w->client.Height() == clientBefore.Height()))
            SendMessage(h, WM_SIZE, kind,
                        minimize ? 0
                                 : MAKELPARAM(static_cast<WORD>(w->client.Width()),
                                              static_cast<WORD>(w->client.Height())));
        if (!minimize && activate && IsWindow(h))
            SetActiveWindow(h);
        return wasVisible;
    }
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        activate = false;
        break;
    default:
        break;
    }
    if (!wasVisible) {
        SendMessage(h, WM_SHOWWINDOW, 1, 0);
        if (!s.Find(h))
            return false;
        SetWindowPos(h, HWND{}, 0, 0, 0, 0,
                     swp | SWP_SHOWWINDOW | (topLevel && activate ? 0 : SWP_NOZORDER));
    }
    if (activate && IsWindow(h) && IsWindowVisible(h))
        SetActiveWindow(h);
    return wasVisible;
}

bool EnableWindow(HWND h, bool enable) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return false;
    const bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable)
        return wasDisabled;
    if (!enable) {
        w->style |= WS_DISABLED;
        if (s.focus && detail::IsDescendantOrSelf(h, s.focus))
            SetFocus(HWND{});
        if (s.capture && detail::IsDescendantOrSelf(h, s.capture))
            ReleaseCapture();
    } else {
        w->style &= ~WS_DISABLED;
    }
    if (IsWindow(h))
        SendMessage(h, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

bool IsIconic(HWND h) {
    WindowData* w = State::Get().Find(h);
    return w && (w->style & WS_MINIMIZE);
}

bool IsZoomed(HWND h) {
    WindowData* w = State::Get().Find(h);
    return w && (w->style & WS_MAXIMIZE);
}

Rect GetNormalRect(HWND h) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return {};
    return (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) ? w->normalRect : w->rect;
}

bool BringWindowToTop(HWND h) {
    return SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ---- finding windows by position
// ------------------------------------------------------------------

namespace {

// A layered window's key-coloured pixels are holes for the mouse.
bool ShowsKeyColourAt(const WindowData& w, Point p) {
    if (!(w.exStyle & WS_EX_LAYERED) || !(w.layeredFlags & LWA_COLORKEY) || !w.surface || p.x < 0 ||
        p.y < 0 || p.x >= w.surface->Width() || p.y >= w.surface->Height())
        return false;
    const std::uint8_t* px = const_cast<DibSection*>(w.surface.get())->Row(p.y) + p.x * 4;
    return RGB(px[2], px[1], px[0]) == w.layeredKey;
}

} // namespace

namespace detail {

HWND FindWindowAt(Point screen, const std::vector<HWND>& skip) {
    State& s = State::Get();
    auto skipped = [&](HWND h) { return std::find(skip.begin(), skip.end(), h) != skip.end(); };
    for (HWND top : s.topLevel) {
        WindowData* w = s.Find(top);
        if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE) || skipped(top) ||
            !w->rect.Contains(screen) ||
            (w->windowRegion &&
             !w->windowRegion->Contains({screen.x - w->rect.left, screen.y - w->rect.top})) ||
            ShowsKeyColourAt(*w, {screen.x - w->rect.left, screen.y - w->rect.top}))
            continue;
        HWND found = top;
        for (;;) {
            WindowData* cur = s.Find(found);
            if (cur->style & WS_DISABLED)
                break;
            Point local = screen;
            ScreenToClient(found, local);
            if (!Rect::FromSize(0, 0, cur->client.Width(), cur->client.Height()).Contains(local))
                break;
            HWND next;
            for (HWND c : cur->children) {
                WindowData* cw = s.Find(c);
                if (cw && (cw->style & WS_VISIBLE) && !skipped(c) && cw->rect.Contains(local) &&
                    (!cw->windowRegion || cw->windowRegion->Contains(
                                              {local.x - cw->rect.left, local.y - cw->rect.top}))) {
                    next = c;
                    break;
                }
            }
            if (!next)
                break;
            // A disabled child belongs to its parent as far as the mouse is concerned.
            if (s.Find(next)->style & WS_DISABLED)
                break;
            found = next;
        }
        return found;
    }
    return {};
}

} // namespace detail

HWND WindowFromPoint(Point screen) {
    return detail::FindWindowAt(screen, {});
}

HWND ChildWindowFromPoint(HWND parent, Point client) {
    State& s = State::Get();
    WindowData* w = s.Find(parent);
    if (!w)
        return {};
    if (!Rect::FromSize(0, 0, w->client.Width(), w->client.Height()).Contains(client))
        return {};
    for (HWND c : w->children) {
        WindowData* cw = s.Find(c);
        if (cw && cw->rect.Contains(client))
            return c;
    }
    return parent;
}

} // namespace platform
