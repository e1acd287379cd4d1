// The window table: handles and their records, the walks over parents and owners, sibling order,
// surfaces, which window is activated next, and whether a window is visible and enabled.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform::detail {

State* State::current = nullptr;

WindowData& State::Need(HWND h) {
    WindowData* w = Find(h);
    if (!w)
        throw std::invalid_argument("invalid window handle");
    return *w;
}

Point WindowOriginOnScreen(const WindowData& w) {
    Point p{w.rect.left, w.rect.top};
    if (w.parent) {
        const Point c = ClientOriginOnScreen(State::Get().Need(w.parent));
        p.x += c.x;
        p.y += c.y;
    }
    return p;
}

Point ClientOriginOnScreen(const WindowData& w) {
    Point p = WindowOriginOnScreen(w);
    return {p.x + w.client.left, p.y + w.client.top};
}

HWND RootOf(HWND h) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    while (w && w->parent) {
        h = w->parent;
        w = s.Find(h);
    }
    return w ? h : HWND{};
}

bool IsVisibleChain(HWND h) {
    State& s = State::Get();
    for (WindowData* w = s.Find(h); w; w = w->parent ? s.Find(w->parent) : nullptr) {
        if (!(w->style & WS_VISIBLE) || !w->redraw)
            return false;
        if (!w->parent)
            return true;
    }
    return false;
}

bool IsDescendantOrSelf(HWND ancestor, HWND h) {
    State& s = State::Get();
    for (WindowData* w = s.Find(h); w; w = s.Find(w->parent)) {
        if (w->self == ancestor)
            return true;
        if (!w->parent)
            break;
    }
    return false;
}

std::string Fold(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

HWND Allocate(State& s, std::unique_ptr<WindowData> w) {
    std::size_t index;
    if (!s.freeSlots.empty()) {
        index = s.freeSlots.back();
        s.freeSlots.pop_back();
    } else {
        if (s.slots.size() >= 0xFFFE)
            return {};
        s.slots.emplace_back();
        index = s.slots.size() - 1;
    }
    State::Slot& slot = s.slots[index];
    // Generation 0 is never handed out, so no live handle has the value of a special one.
    slot.generation = static_cast<std::uint16_t>(slot.generation % 0xFFFF + 1);
    const HWND h(static_cast<std::uint32_t>(slot.generation) << 16 |
                 static_cast<std::uint32_t>(index + 1));
    w->self = h;
    slot.window = std::move(w);
    return h;
}

void Free(State& s, HWND h) {
    const std::size_t index = (h.Value() & 0xFFFF) - 1;
    s.slots[index].window.reset();
    s.freeSlots.push_back(index);
}

std::vector<HWND>& Siblings(State& s, WindowData& w) {
    return w.parent ? s.Need(w.parent).children : s.topLevel;
}

int ClampCoord(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, kMinCoord, kMaxCoord));
}
int ClampExtent(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, kMaxCoord));
}

void ResizeSurface(WindowData& w) {
    if (w.parent)
        return;
    const int width = std::max(0, w.rect.Width()), height = std::max(0, w.rect.Height());
    const DibSection* old = w.surface.get();
    if (old && old->Width() == width && old->Height() == height)
        return;
    if (width == 0 || height == 0 ||
        static_cast<std::int64_t>(width) * height > kMaxSurfacePixels) {
        w.surface.reset();
        return;
    }
    BitmapInfo info;
    info.width = width;
    info.height = -height;
    info.bitCount = 32;
    std::shared_ptr<DibSection> fresh = CreateDIBSection(info);
    if (!fresh) {
        w.surface.reset(); // out of memory: the window draws nowhere until it shrinks
        return;
    }
    // Keep what was drawn, so a host that shows the window before its next paint shows that.
    if (old) {
        const int rows = std::min(height, old->Height());
        const std::size_t bytes = static_cast<std::size_t>(std::min(width, old->Width())) * 4;
        auto* src = const_cast<DibSection*>(old);
        for (int y = 0; y < rows; ++y)
            std::memcpy(fresh->Row(y), src->Row(y), bytes);
    }
    w.surface = std::move(fresh);
}

HostKind HostKindOf(const WindowData& w) {
    return (w.style & WS_POPUP) && (w.style & WS_CAPTION) != WS_CAPTION && w.owner
               ? HostKind::Popup
               : HostKind::Normal;
}

// Places h in its sibling list. Top-level windows keep the topmost ones in front.
void Restack(State& s, WindowData& w, HWND after) {
    std::vector<HWND>& list = Siblings(s, w);
    list.erase(std::remove(list.begin(), list.end(), w.self), list.end());
    auto isTopmost = [&](HWND h) {
        WindowData* o = s.Find(h);
        return o && (o->exStyle & WS_EX_TOPMOST);
    };
    if (!w.parent) {
        if (after == HWND_TOPMOST)
            w.exStyle |= WS_EX_TOPMOST;
        else if (after == HWND_NOTOPMOST)
            w.exStyle &= ~WS_EX_TOPMOST;
    }
    auto groupBegin = list.begin();
    auto groupEnd = list.end();
    if (!w.parent) {
        auto firstNormal =
            std::find_if(list.begin(), list.end(), [&](HWND h) { return !isTopmost(h); });
        if (w.exStyle & WS_EX_TOPMOST)
            groupEnd = firstNormal;
        else
            groupBegin = firstNormal;
    }
    auto pos = groupBegin;
    if (after == HWND_BOTTOM) {
        pos = groupEnd;
    } else if (after && after != HWND_TOPMOST && after != HWND_NOTOPMOST && after != HWND_TOP) {
        auto it = std::find(groupBegin, groupEnd, after);
        pos = it == groupEnd ? groupBegin : it + 1;
    }
    list.insert(pos, w.self);
}

HWND NextToActivate(State& s, HWND leaving) {
    WindowData* w = s.Find(leaving);
    if (w && w->owner && IsWindowVisible(w->owner) && IsWindowEnabled(w->owner))
        return w->owner;
    for (HWND h : s.topLevel) {
        WindowData* o = s.Find(h);
        if (h != leaving && o && (o->style & WS_VISIBLE) && !(o->style & WS_MINIMIZE) &&
            !(o->style & WS_DISABLED) && !(o->exStyle & WS_EX_NOACTIVATE) &&
            HostKindOf(*o) == HostKind::Normal)
            return h;
    }
    return {};
}

HWND NextWindowToActivate(HWND leaving) {
    return NextToActivate(State::Get(), leaving);
}

void UpdateHostFrame(HWND h) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w || w->parent || !w->nativeHost || HostKindOf(*w) != HostKind::Normal)
        return;
    HostFrame frame;
    frame.sizeable = (w->style & WS_THICKFRAME) != 0;
    if (frame.sizeable) {
        frame.minSize = MinTrackSize(h);
        if (!(w = s.Find(h)))
            return;
    }
    if (w->owner && s.Find(w->owner)) {
        frame.belongsTo = w->owner;
        frame.modal = !IsWindowEnabled(w->owner);
    }
    s.backend->SetHostFrame(h, frame);
    const IconImage& icon = s.applicationIcon;
    if (!icon.pixels.empty())
        s.backend->SetHostIcon(h, {icon.pixels.data(), icon.width, icon.height, icon.width});
}

} // namespace platform::detail

namespace platform {

using detail::State;
using detail::WindowData;

// The two states the walks above ask of a window's owner.
bool IsWindowVisible(HWND h) {
    State& s = State::Get();
    for (WindowData* w = s.Find(h); w; w = s.Find(w->parent)) {
        if (!(w->style & WS_VISIBLE))
            return false;
        if (!w->parent)
            return true;
    }
    return false;
}

bool IsWindowEnabled(HWND h) {
    WindowData* w = State::Get().Find(h);
    return w && !(w->style & WS_DISABLED);
}

} // namespace platform
