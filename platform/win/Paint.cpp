#include "platform/win/Paint.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::State;
using detail::WindowData;

namespace {

Rect ClientBounds(const WindowData& w) {
    return Rect::FromSize(0, 0, w.client.Width(), w.client.Height());
}

// Window origin of w in its top-level window's coordinates.
Point OriginInRoot(State& s, const WindowData& w) {
    Point p{0, 0};
    for (const WindowData* cur = &w; cur->parent; cur = &s.Need(cur->parent)) {
        const WindowData& parent = s.Need(cur->parent);
        p.x += cur->rect.left + parent.client.left;
        p.y += cur->rect.top + parent.client.top;
    }
    return p;
}

Region ShapeOf(const WindowData& w, Point originInRoot) {
    Region r(Rect::FromSize(originInRoot.x, originInRoot.y, w.rect.Width(), w.rect.Height()));
    if (w.windowRegion) {
        Region shape = *w.windowRegion;
        shape.Offset(originInRoot.x, originInRoot.y);
        r.IntersectWith(shape);
    }
    return r;
}

// Takes o's shape away from r. Most windows lie apart from r or have no region of their own:
// neither needs a region built for the shape.
void SubtractShape(Region& r, const WindowData& o, Point originInRoot) {
    const Rect box =
        Rect::FromSize(originInRoot.x, originInRoot.y, o.rect.Width(), o.rect.Height());
    if (!r.Intersects(box))
        return;
    if (o.windowRegion)
        r.Subtract(ShapeOf(o, originInRoot));
    else
        r.Subtract(box);
}

void SubtractHigherSiblings(State& s, const WindowData& w, Region& r) {
    if (!w.parent)
        return;
    const WindowData& parent = s.Need(w.parent);
    const Point parentOrigin = OriginInRoot(s, parent);
    for (HWND sib : parent.children) {
        if (sib == w.self)
            break;
        const WindowData& o = s.Need(sib);
        if (o.style & WS_VISIBLE)
            SubtractShape(r, o,
                          {parentOrigin.x + parent.client.left + o.rect.left,
                           parentOrigin.y + parent.client.top + o.rect.top});
    }
}

// The part of w that shows, in its top-level window's coordinates.
Region VisibleRegion(State& s, const WindowData& w, bool wholeWindow, bool clipChildren,
                     bool clipSiblings) {
    const Point origin = OriginInRoot(s, w);
    Region r = ShapeOf(w, origin);
    if (!wholeWindow)
        r.IntersectWith(w.client.Offset(origin.x, origin.y));
    if (clipSiblings)
        SubtractHigherSiblings(s, w, r);
    for (const WindowData* cur = &w; cur->parent;) {
        const WindowData& parent = s.Need(cur->parent);
        const Point po = OriginInRoot(s, parent);
        r.IntersectWith(parent.client.Offset(po.x, po.y));
        r.IntersectWith(ShapeOf(parent, po));
        if (parent.style & WS_CLIPSIBLINGS)
            SubtractHigherSiblings(s, parent, r);
        cur = &parent;
    }
    if (clipChildren) {
        for (HWND c : w.children) {
            const WindowData& cw = s.Need(c);
            if (cw.style & WS_VISIBLE)
                SubtractShape(r, cw,
                              {origin.x + w.client.left + cw.rect.left,
                               origin.y + w.client.top + cw.rect.top});
        }
    }
    return r;
}

HDC Lend(State& s, WindowData& w, bool wholeWindow, const Region* extra, bool intersect,
         bool clipChildren, bool clipSiblings) {
    const HWND root = detail::RootOf(w.self);
    WindowData& r = s.Need(root);
    auto dc = CreateCompatibleDC();
    if (r.surface)
        SelectObject(*dc, r.surface);
    const Point origin = OriginInRoot(s, w);
    const Point logicalOrigin =
        wholeWindow ? origin : Point{origin.x + w.client.left, origin.y + w.client.top};
    Region clip;
    if (IsWindowVisible(w.self))
        clip = VisibleRegion(s, w, wholeWindow, clipChildren, clipSiblings);
    if (extra) {
        Region e = *extra;
        e.Offset(logicalOrigin.x, logicalOrigin.y);
        if (intersect)
            clip.IntersectWith(e);
        else
            clip.Subtract(e);
    }
    SetVisibleRegion(*dc, &clip);
    SetViewportOrgEx(*dc, logicalOrigin);
    HDC out = dc.get();
    s.lentDcs.push_back({w.self, std::move(dc)});
    return out;
}

bool NeedsPaint(const WindowData& w) {
    return !w.update.IsEmpty() || w.ncPaintPending || w.internalPaint;
}

HWND FindIn(State& s, const std::vector<HWND>& list, HWND filter) {
    for (HWND h : list) {
        WindowData* w = s.Find(h);
        if (!w || !(w->style & WS_VISIBLE) || !w->redraw || (w->style & WS_MINIMIZE))
            continue;
        if (NeedsPaint(*w) && (!filter || filter == h))
            return h;
        if (HWND c = FindIn(s, w->children, filter))
            return c;
    }
    return {};
}

// Applies RedrawWindow's invalidate/validate flags to w and, as the flags and styles ask, to its
// children. area is in w's client coordinates.
void Mark(State& s, WindowData& w, const Region& area, bool wholeClient, UINT flags) {
    if (flags & RDW_INVALIDATE) {
        if (w.redraw) {
            Region a = area;
            a.IntersectWith(ClientBounds(w));
            w.update.Unite(a);
            if ((flags & RDW_ERASE) && !a.IsEmpty())
                w.erasePending = true;
            if ((flags & RDW_FRAME) && wholeClient)
                w.ncPaintPending = true;
        }
    }
    if (flags & RDW_INTERNALPAINT)
        w.internalPaint = true;
    if (flags & RDW_VALIDATE) {
        w.update.Subtract(area);
        if (w.update.IsEmpty() || (flags & RDW_NOERASE))
            w.erasePending = false;
        if (flags & RDW_NOFRAME)
            w.ncPaintPending = false;
        if (flags & RDW_NOINTERNALPAINT)
            w.internalPaint = false;
    }
    const bool children =
        (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w.style & WS_CLIPCHILDREN));
    if (!children)
        return;
    for (HWND c : w.children) {
        WindowData& cw = s.Need(c);
        if (!(cw.style & WS_VISIBLE))
            continue;
        Region inChild = area;
        inChild.IntersectWith(cw.rect);
        if (inChild.IsEmpty())
            continue;
        // Into the child's client coordinates.
        inChild.Offset(-cw.rect.left - cw.client.left, -cw.rect.top - cw.client.top);
        UINT childFlags = flags;
        const Rect childClientInParent = cw.client.Offset(cw.rect.left, cw.rect.top);
        Region frame(cw.rect);
        frame.Subtract(childClientInParent);
        frame.IntersectWith(area);
        if (!frame.IsEmpty() && (flags & RDW_INVALIDATE))
            cw.ncPaintPending = cw.redraw || cw.ncPaintPending;
        childFlags &= ~RDW_FRAME;
        Mark(s, cw, inChild, false, childFlags);
    }
}

void PaintNow(State& s, HWND h, UINT flags, bool allChildren) {
    WindowData* w = s.Find(h);
    if (!w || !IsWindowVisible(h) || !w->redraw)
        return;
    if (flags & RDW_UPDATENOW) {
        if (NeedsPaint(*w))
            SendMessage(h, WM_PAINT, 0, 0);
    } else if (flags & RDW_ERASENOW) {
        if (w->ncPaintPending) {
            w->ncPaintPending = false;
            SendMessage(h, WM_NCPAINT, 1, 0);
        }
        if ((w = s.Find(h)) && w->erasePending) {
            w->erasePending = false;
            HDC dc = GetDCEx(h, &w->update, DCX_INTERSECTRGN | DCX_CACHE);
            SendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            ReleaseDC(h, dc);
        }
    }
    if (!allChildren || !(w = s.Find(h)))
        return;
    const std::vector<HWND> children = w->children;
    for (HWND c : children)
        PaintNow(s, c, flags, true);
}

} // namespace

namespace detail {

HWND FindWindowToPaint(HWND filter) {
    State& s = State::Get();
    return FindIn(s, s.topLevel, filter);
}

void PresentTopLevel(HWND root, const Rect& dirty) {
    State& s = State::Get();
    WindowData* w = s.Find(root);
    if (!w || !w->surface || !w->nativeHost || dirty.IsEmpty())
        return;
    if (s.paintBurst) {
        const Rect& p = w->presentPending;
        w->presentPending =
            p.IsEmpty() ? dirty
                        : Rect{std::min(p.left, dirty.left), std::min(p.top, dirty.top),
                               std::max(p.right, dirty.right), std::max(p.bottom, dirty.bottom)};
        return;
    }
    HostPixels px;
    px.pixels = reinterpret_cast<const std::uint32_t*>(w->surface->Row(0));
    px.width = w->surface->Width();
    px.height = w->surface->Height();
    px.stride = w->surface->WidthBytes() / 4;
    s.backend->PresentHostWindow(root, px, dirty);
}

void FlushPresents() {
    State& s = State::Get();
    s.paintBurst = false;
    for (const HWND h : std::vector<HWND>(s.topLevel)) {
        WindowData* w = s.Find(h);
        if (w && !w->presentPending.IsEmpty())
            PresentTopLevel(h, std::exchange(w->presentPending, Rect{}));
    }
}

} // namespace detail

HDC GetDCEx(HWND h, const Region* clip, DWORD flags) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return nullptr;
    const bool clipChildren = (flags & DCX_CLIPCHILDREN) || (w->style & WS_CLIPCHILDREN);
    const bool clipSiblings = (flags & DCX_CLIPSIBLINGS) || (w->style & WS_CLIPSIBLINGS);
    const bool useClip = clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN));
    return Lend(s, *w, (flags & DCX_WINDOW) != 0, useClip ? clip : nullptr,
                (flags & DCX_INTERSECTRGN) != 0, clipChildren, clipSiblings);
}

HDC GetDC(HWND h) {
    return GetDCEx(h, nullptr, DCX_CACHE);
}
HDC GetWindowDC(HWND h) {
    return GetDCEx(h, nullptr, DCX_WINDOW | DCX_CACHE);
}

bool ReleaseDC(HWND h, HDC dc) {
    State& s = State::Get();
    auto it = std::find_if(s.lentDcs.begin(), s.lentDcs.end(),
                           [&](const State::LentDc& l) { return l.dc.get() == dc; });
    if (it == s.lentDcs.end())
        return false;
    (void)h;
    const HWND owner = it->hwnd;
    // What the window could have drawn is what the host must show again.
    const std::optional<Region>& visible = dc->GetState().visible;
    const Rect dirty = visible ? visible->Bounds() : Rect{};
    s.lentDcs.erase(it);
    if (s.Find(owner))
        detail::PresentTopLevel(detail::RootOf(owner), dirty);
    return true;
}

HDC BeginPaint(HWND h, PAINTSTRUCT& ps) {
    State& s = State::Get();
    ps = PAINTSTRUCT{};
    WindowData* w = s.Find(h);
    if (!w)
        return nullptr;
    if (w->ncPaintPending) {
        w->ncPaintPending = false;
        SendMessage(h, WM_NCPAINT, 1, 0);
        if (!(w = s.Find(h)))
            return nullptr;
    }
    detail::HideCaretForPaint(h);
    Region paint = std::move(w->update);
    w->update.Clear();
    w->internalPaint = false;
    paint.IntersectWith(ClientBounds(*w));
    ps.rcPaint = paint.Bounds();
    const bool erase = w->erasePending;
    w->erasePending = false;
    HDC dc = GetDCEx(h, &paint, DCX_INTERSECTRGN);
    ps.hdc = dc;
    if (erase && dc)
        ps.fErase = SendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    return dc;
}

bool EndPaint(HWND h, const PAINTSTRUCT& ps) {
    const bool released = ps.hdc && ReleaseDC(h, ps.hdc);
    if (IsWindow(h))
        detail::RestoreCaretAfterPaint(h);
    return released;
}

bool RedrawWindow(HWND h, const Rect* rect, const Region* rgn, UINT flags) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return false;
    Region area = rgn ? *rgn : rect ? Region(*rect) : Region(ClientBounds(*w));
    const bool whole = !rgn && !rect;
    if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT)) {
        if (whole && (flags & RDW_VALIDATE))
            area = Region(ClientBounds(*w)); // validating everything clears the frame as asked
        Mark(s, *w, area, whole || (flags & RDW_FRAME), flags);
        // The update may reach past a client area that has shrunk since it was invalidated;
        // validating the whole window must leave none of it, or the paint comes back for ever.
        if (whole && (flags & RDW_VALIDATE)) {
            w->update.Clear();
            w->erasePending = false;
        }
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        PaintNow(s, h, flags, (flags & RDW_ALLCHILDREN) != 0);
    return true;
}

bool InvalidateRect(HWND h, const Rect* rect, bool erase) {
    return RedrawWindow(h, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

bool InvalidateRgn(HWND h, const Region* rgn, bool erase) {
    return RedrawWindow(h, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

bool ValidateRect(HWND h, const Rect* rect) {
    return RedrawWindow(h, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool ValidateRgn(HWND h, const Region* rgn) {
    return RedrawWindow(h, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool GetUpdateRect(HWND h, Rect* rect, bool erase) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return false;
    if (rect)
        *rect = w->update.Bounds();
    if (erase && w->erasePending && !w->update.IsEmpty())
        RedrawWindow(h, nullptr, nullptr, RDW_ERASENOW | RDW_NOCHILDREN);
    return !w->update.IsEmpty();
}

bool GetUpdateRgn(HWND h, Region& rgn, bool erase) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return false;
    rgn = w->update;
    if (erase && w->erasePending && !w->update.IsEmpty())
        RedrawWindow(h, nullptr, nullptr, RDW_ERASENOW | RDW_NOCHILDREN);
    return !rgn.IsEmpty();
}

bool UpdateWindow(HWND h) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return false;
    PaintNow(s, h, RDW_UPDATENOW, false);
    return true;
}

int ScrollWindowEx(HWND h, int dx, int dy, const Rect* scroll, const Rect* clip, Region* update,
                   Rect* updateRect, UINT flags) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return 0;
    dx = std::clamp(dx, detail::kMinCoord, detail::kMaxCoord);
    dy = std::clamp(dy, detail::kMinCoord, detail::kMaxCoord);
    const Rect client = ClientBounds(*w);
    const Rect area = scroll ? scroll->Intersect(client) : client;
    const Rect limit = clip ? clip->Intersect(client) : client;
    detail::HideCaretForPaint(h);

    // What shows of the window, in client coordinates.
    Region visible;
    Region moved;
    if (IsWindowVisible(h)) {
        visible = VisibleRegion(s, *w, false, (w->style & WS_CLIPCHILDREN) != 0,
                                (w->style & WS_CLIPSIBLINGS) != 0);
        const Point origin = OriginInRoot(s, *w);
        const Point clientOrigin{origin.x + w->client.left, origin.y + w->client.top};
        visible.Offset(-clientOrigin.x, -clientOrigin.y);
        Region source = visible;
        source.IntersectWith(area);
        moved = source;
        moved.Offset(dx, dy);
        moved.IntersectWith(limit);
        moved.IntersectWith(visible);
        WindowData& root = s.Need(detail::RootOf(h));
        if (root.surface && !moved.IsEmpty() && root.surface->BitCount() == 32) {
            // Through a copy of the source's bounds, since source and target overlap.
            const Rect from = source.Bounds();
            const int fw = from.Width();
            std::vector<std::uint32_t> copy(static_cast<std::size_t>(fw) * from.Height());
            DibSection& px = *root.surface;
            for (int y = from.top; y < from.bottom; ++y)
                std::memcpy(copy.data() + static_cast<std::size_t>(y - from.top) * fw,
                            px.Row(y + clientOrigin.y) + (from.left + clientOrigin.x) * 4,
                            static_cast<std::size_t>(fw) * 4);
            for (const Rect& r : moved.Rects())
                for (int y = r.top; y < r.bottom; ++y)
                    std::memcpy(px.Row(y + clientOrigin.y) + (r.left + clientOrigin.x) * 4,
                                copy.data() + static_cast<std::size_t>(y - dy - from.top) * fw +
                                    (r.left - dx - from.left),
                                static_cast<std::size_t>(r.Width()) * 4);
            Region shown = moved;
            shown.Offset(clientOrigin.x, clientOrigin.y);
            detail::PresentTopLevel(detail::RootOf(h), shown.Bounds());
        }
    }
    Region uncovered(area.Intersect(limit));
    uncovered.Subtract(moved);

    // The pending update inside the area moves with the pixels.
    Region pending = w->update;
    pending.IntersectWith(area);
    if (!pending.IsEmpty()) {
        w->update.Subtract(area);
        pending.Offset(dx, dy);
        pending.IntersectWith(limit);
        w->update.Unite(pending);
    }
    if (flags & SW_INVALIDATE)
        InvalidateRgn(h, &uncovered, (flags & SW_ERASE) != 0);
    if (flags & SW_SCROLLCHILDREN) {
        const std::vector<HWND> children = w->children;
        for (HWND c : children) {
            WindowData* cw = s.Find(c);
            if (cw && !cw->rect.Intersect(area).IsEmpty())
                SetWindowPos(c, HWND{}, cw->rect.left + dx, cw->rect.top + dy, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (IsWindow(h))
        detail::RestoreCaretAfterPaint(h);
    if (update)
        *update = uncovered;
    if (updateRect)
        *updateRect = uncovered.Bounds();
    return static_cast<int>(uncovered.Kind());
}

bool ScrollWindow(HWND h, int dx, int dy, const Rect* scroll, const Rect* clip) {
    return ScrollWindowEx(h, dx, dy, scroll, clip, nullptr, nullptr,
                          SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN)) != 0;
}

bool SetWindowRgn(HWND h, std::optional<Region> rgn, bool redraw) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return false;
    w->windowRegion = std::move(rgn);
    if (!w->parent && w->nativeHost)
        s.backend->SetHostShape(h, w->windowRegion ? &*w->windowRegion : nullptr);
    if (redraw) {
        if (w->parent) {
            RedrawWindow(w->parent, &w->rect, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return true;
}

std::optional<Region> GetWindowRgn(HWND h) {
    WindowData* w = State::Get().Find(h);
    return w ? w->windowRegion : std::nullopt;
}

const DibSection* GetWindowSurface(HWND topLevel) {
    WindowData* w = State::Get().Find(topLevel);
    return w && !w->parent ? w->surface.get() : nullptr;
}

} // namespace platform
