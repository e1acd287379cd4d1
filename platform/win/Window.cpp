#include "platform/win/Window.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "platform/gfx/CreationRefusal.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Icon.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/WindowState.h"

namespace platform {

// Undocumented WINDOWPOS flags the platform uses to tell DefWindowProc whether WM_MOVE and
// WM_SIZE are due; kept so a procedure that looks at them sees what it expects.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800, SWP_NOCLIENTMOVE = 0x1000;

namespace detail {

State* State::current = nullptr;

State& State::Get() {
    if (!current)
        throw std::logic_error("no window system is running");
    return *current;
}

WindowData* State::Find(HWND h) {
    const std::uint32_t index = h.Value() & 0xFFFF;
    const std::uint32_t generation = h.Value() >> 16;
    if (index == 0 || index > slots.size())
        return nullptr;
    Slot& slot = slots[index - 1];
    if (slot.generation != generation || !slot.window)
        return nullptr;
    return slot.window.get();
}

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

} // namespace detail

using detail::State;
using detail::WindowData;

namespace detail {

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
} // namespace detail

using namespace detail;

const IconImage& GetApplicationIcon() {
    return State::Get().applicationIcon;
}

void SetApplicationIcon(IconImage icon) {
    State& s = State::Get();
    if (icon.width <= 0 || icon.height <= 0 ||
        icon.pixels.size() != static_cast<std::size_t>(icon.width) * icon.height)
        icon = {};
    s.applicationIcon = std::move(icon);
    for (const HWND t : std::vector<HWND>(s.topLevel))
        if (IsWindowVisible(t)) {
            UpdateHostFrame(t);
            detail::PaintFrame(t);
        }
}

// ---- classes --------------------------------------------------------------------------------

bool RegisterClass(const WNDCLASS& wc) {
    State& s = State::Get();
    const std::string key = Fold(wc.lpszClassName);
    if (key.empty() || s.classes.count(key))
        return false;
    auto data = std::make_shared<detail::WindowClassData>();
    data->name = wc.lpszClassName;
    data->style = wc.style;
    data->proc = wc.lpfnWndProc;
    data->cursor = wc.hCursor;
    data->background = wc.hbrBackground;
    data->extraBytes = std::max(0, wc.cbWndExtra);
    s.classes[key] = std::move(data);
    return true;
}

bool UnregisterClass(const std::string& name) {
    State& s = State::Get();
    auto it = s.classes.find(Fold(name));
    if (it == s.classes.end())
        return false;
    // A class with live windows stays, as on the platform.
    for (auto& slot : s.slots)
        if (slot.window && slot.window->cls == it->second)
            return false;
    s.classes.erase(it);
    return true;
}

bool GetClassInfo(const std::string& name, WNDCLASS& out) {
    State& s = State::Get();
    auto it = s.classes.find(Fold(name));
    if (it == s.classes.end())
        return false;
    const detail::WindowClassData& c = *it->second;
    out.style = c.style;
    out.lpfnWndProc = c.proc;
    out.cbWndExtra = c.extraBytes;
    out.hCursor = c.cursor;
    out.hbrBackground = c.background;
    out.lpszClassName = c.name;
    return true;
}

LONG_PTR GetClassLongPtr(HWND h, int index) {
    WindowData* w = State::Get().Find(h);
    return w && index == GCL_STYLE ? static_cast<LONG_PTR>(w->cls->style) : 0;
}

std::string GetClassName(HWND h) {
    WindowData* w = State::Get().Find(h);
    return w ? w->cls->name : std::string();
}

// ---- creation and destruction -----------------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    LONG_PTR menuOrId, void* createParams) {
    State& s = State::Get();
    auto cls = s.classes.find(Fold(className));
    if (cls == s.classes.end() || CreationRefused(Creation::Window))
        return {};
    WindowData* parentData = s.Find(parent);
    if (parent && !parentData)
        return {};
    const bool child = (style & WS_CHILD) != 0;
    if (child && !parentData)
        return {};

    auto w = std::make_unique<WindowData>();
    w->cls = cls->second;
    w->text = windowName;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    if (!child && (style & WS_CAPTION) == WS_CAPTION)
        w->exStyle |= WS_EX_WINDOWEDGE;
    w->extra.assign((w->cls->extraBytes + sizeof(LONG_PTR) - 1) / sizeof(LONG_PTR), 0);
    w->proc = w->cls->proc;
    if (child) {
        w->parent = parent;
        w->id = menuOrId;
    } else if (parentData) {
        w->owner = RootOf(parent);
    }
    if (x == CW_USEDEFAULT) {
        const Rect work = GetWorkArea();
        x = work.left + 32;
        y = work.top + 32;
    }
    if (width == CW_USEDEFAULT) {
        const Rect work = GetWorkArea();
        width = work.Width() * 3 / 4;
        height = work.Height() * 3 / 4;
    }
    w->rect = Rect::FromSize(ClampCoord(x), ClampCoord(y), ClampExtent(width), ClampExtent(height));
    w->client = Rect::FromSize(0, 0, w->rect.Width(), w->rect.Height());
    w->normalRect = w->rect;
    WindowData& ref = *w;
    const HWND h = Allocate(s, std::move(w));
    if (!h)
        return {};
    if (child)
        parentData->children.insert(parentData->children.begin(), h);
    else
        Restack(s, ref, HWND_TOP);

    CREATESTRUCT cs;
    cs.lpCreateParams = createParams;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.x = x;
    cs.y = y;
    cs.cx = ref.rect.Width();
    cs.cy = ref.rect.Height();
    cs.style = style;
    cs.lpszName = windowName.c_str();
    cs.lpszClass = className.c_str();
    cs.dwExStyle = exStyle;

    auto abandon = [&](bool destroyMessages) {
        if (destroyMessages && s.Find(h)) {
            DestroyWindow(h);
            return HWND{};
        }
        if (WindowData* d = s.Find(h)) {
            Siblings(s, *d).erase(std::remove(Siblings(s, *d).begin(), Siblings(s, *d).end(), h),
                                  Siblings(s, *d).end());
            Free(s, h);
        }
        return HWND{};
    };

    CBT_CREATEWND cbt{&cs, HWND_TOP};
    if (detail::CallHooks(WH_CBT, HCBT_CREATEWND, static_cast<WPARAM>(h.Value()),
                          reinterpret_cast<LPARAM>(&cbt)) != 0)
        return abandon(false);
    if (!s.Find(h))
        return {};
    if (!child) {
        ResizeSurface(ref);
        s.backend->CreateHostWindow(h, ref.rect, HostKindOf(ref));
        s.backend->SetHostTitle(h, ref.text);
        ref.nativeHost = true;
    }

    if (!child && ((style & WS_THICKFRAME) || !(style & WS_POPUP))) {
        MINMAXINFO mmi{};
        mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
        SendMessage(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    }
    if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (WindowData* d = s.Find(h)) {
            d->destroying = true;
            SendMessage(h, WM_NCDESTROY, 0, 0);
        }
        return abandon(false);
    }
    if (!s.Find(h))
        return {};

    // The frame from the procedure's answer to the size calculation.
    {
        WindowData& d = s.Need(h);
        NCCALCSIZE_PARAMS p;
        p.rgrc[0] = d.rect;
        SendMessage(h, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&p));
        if (WindowData* again = s.Find(h)) {
            Rect c = p.rgrc[0].Offset(-again->rect.left, -again->rect.top);
            c.right = std::max(c.left, c.right);
            c.bottom = std::max(c.top, c.bottom);
            again->client = c;
        }
    }
    if (SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1)
        return abandon(true);
    WindowData* d = s.Find(h);
    if (!d)
        return {};
    SendMessage(
        h, WM_SIZE, SIZE_RESTORED,
        MAKELPARAM(static_cast<WORD>(d->client.Width()), static_cast<WORD>(d->client.Height())));
    if ((d = s.Find(h)) != nullptr)
        SendMessage(h, WM_MOVE, 0,
                    MAKELPARAM(static_cast<WORD>(d->rect.left + d->client.left),
                               static_cast<WORD>(d->rect.top + d->client.top)));
    if ((d = s.Find(h)) == nullptr)
        return {};
    if (child && !(d->exStyle & WS_EX_NOPARENTNOTIFY))
        SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<WORD>(menuOrId)),
                    HwndParam(h));
    if (!s.Find(h))
        return {};
    if (style & WS_MAXIMIZE)
        ShowWindow(h, SW_SHOWMAXIMIZED);
    else if (style & WS_VISIBLE)
        ShowWindow(h, SW_SHOW);
    return s.Find(h) ? h : HWND{};
}

namespace {

void SendDestroyTree(State& s, HWND h) {
    WindowData* w = s.Find(h);
    if (!w)
        return;
    w->destroying = true;
    if (s.capture && detail::IsDescendantOrSelf(h, s.capture))
        ReleaseCapture();
    if (s.focus && detail::IsDescendantOrSelf(h, s.focus)) {
        // The focus leaves for nowhere: a destroyed window never keeps it.
        SetFocus(HWND{});
        if (s.focus && detail::IsDescendantOrSelf(h, s.focus))
            s.focus = HWND{};
    }
    SendMessage(h, WM_DESTROY, 0, 0);
    w = s.Find(h);
    if (!w)
        return;
    const std::vector<HWND> children = w->children;
    for (HWND c : children)
        SendDestroyTree(s, c);
}

void FreeTree(State& s, HWND h) {
    WindowData* w = s.Find(h);
    if (!w)
        return;
    const std::vector<HWND> children = w->children;
    for (HWND c : children)
        FreeTree(s, c);
    SendMessage(h, WM_NCDESTROY, 0, 0);
    w = s.Find(h);
    if (!w)
        return;
    s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(),
                                  [&](const detail::Timer& t) { return t.hwnd == h; }),
                   s.timers.end());
    s.posted.erase(
        std::remove_if(s.posted.begin(), s.posted.end(), [&](const MSG& m) { return m.hwnd == h; }),
        s.posted.end());
    detail::ForgetWindowInInput(h);
    detail::ForgetCaretOf(h);
    if (s.active == h)
        s.active = HWND{};
    if (s.focus == h)
        s.focus = HWND{};
    if (s.capture == h)
        s.capture = HWND{};
    std::vector<HWND>& list = Siblings(s, *w);
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
    if (w->nativeHost)
        s.backend->DestroyHostWindow(h);
    Free(s, h);
}

} // namespace

bool DestroyWindow(HWND h) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w || w->destroying)
        return false;
    if (detail::CallHooks(WH_CBT, HCBT_DESTROYWND, static_cast<WPARAM>(h.Value()), 0) != 0)
        return false;
    // Owned windows go first.
    if (!w->parent) {
        std::vector<HWND> owned;
        for (HWND t : s.topLevel)
            if (WindowData* o = s.Find(t); o && o->owner == h)
                owned.push_back(t);
        for (HWND t : owned)
            DestroyWindow(t);
    }
    if (!(w = s.Find(h)))
        return true;
    if (w->parent && !(w->exStyle & WS_EX_NOPARENTNOTIFY))
        SendMessage(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, static_cast<WORD>(w->id)),
                    HwndParam(h));
    if ((w = s.Find(h)) && (w->style & WS_VISIBLE))
        SetWindowPos(h, HWND{}, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!(w = s.Find(h)))
        return true;
    if (!w->parent && s.active == h) {
        const HWND next = detail::NextWindowToActivate(h);
        if (next)
            SetActiveWindow(next);
        else
            detail::Activate(HWND{}, WA_INACTIVE);
    }
    SendDestroyTree(s, h);
    FreeTree(s, h);
    return true;
}

bool IsWindow(HWND h) {
    return State::current && State::Get().Find(h) != nullptr;
}

// ---- longs, procedures, properties, text -----------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND h, int index) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(w->exStyle);
    case GWL_ID:
        return w->id;
    case GWL_USERDATA:
        return w->userData;
    case GWL_HWNDPARENT:
        return HwndParam(w->parent ? w->parent : w->owner);
    default:
        if (index >= 0 && index % static_cast<int>(sizeof(LONG_PTR)) == 0 &&
            static_cast<std::size_t>(index) / sizeof(LONG_PTR) < w->extra.size())
            return w->extra[static_cast<std::size_t>(index) / sizeof(LONG_PTR)];
        return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND h, int index, LONG_PTR value) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return 0;
    LONG_PTR old = GetWindowLongPtr(h, index);
    switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        STYLESTRUCT ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
        SendMessage(h, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        if (!(w = s.Find(h)))
            return 0;
        if (index == GWL_STYLE) {
            // Visibility is ShowWindow's to change: the bit changes without messages here.
            w->style = ss.styleNew;
        } else {
            w->exStyle = ss.styleNew;
        }
        SendMessage(h, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        if (IsWindowVisible(h))
            UpdateHostFrame(h);
        return old;
    }
    case GWL_ID:
        w->id = value;
        return old;
    case GWL_USERDATA:
        w->userData = value;
        return old;
    case GWL_HWNDPARENT:
        if (!w->parent) {
            const HWND owner = RootOf(HwndFromParam(static_cast<std::uintmax_t>(value)));
            // A window never owns itself, nor one of its owners (a loop of owners).
            for (HWND o = owner; o; o = s.Find(o) ? s.Find(o)->owner : HWND{})
                if (o == h)
                    return 0;
            w->owner = owner;
            if (IsWindowVisible(h))
                UpdateHostFrame(h);
        }
        return old;
    default:
        if (index >= 0 && index % static_cast<int>(sizeof(LONG_PTR)) == 0 &&
            static_cast<std::size_t>(index) / sizeof(LONG_PTR) < w->extra.size()) {
            w->extra[static_cast<std::size_t>(index) / sizeof(LONG_PTR)] = value;
            return old;
        }
        return 0;
    }
}

WNDPROC SetWindowLongPtr(HWND h, int index, WNDPROC proc) {
    return index == GWL_WNDPROC ? SetWindowProc(h, std::move(proc)) : WNDPROC{};
}

WNDPROC GetWindowProc(HWND h) {
    WindowData* w = State::Get().Find(h);
    return w ? w->proc : WNDPROC{};
}

WNDPROC SetWindowProc(HWND h, WNDPROC proc) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return {};
    WNDPROC old = w->proc;
    w->proc = std::move(proc);
    return old;
}

LRESULT CallWindowProc(const WNDPROC& proc, HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc)
        return DefWindowProc(h, msg, wParam, lParam);
    return proc(h, msg, wParam, lParam);
}

bool SetProp(HWND h, const std::string& name, HANDLE value) {
    WindowData* w = State::Get().Find(h);
    if (!w || name.empty())
        return false;
    for (auto& [n, v] : w->props)
        if (n == name) {
            v = value;
            return true;
        }
    w->props.emplace_back(name, value);
    return true;
}

HANDLE GetProp(HWND h, const std::string& name) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return 0;
    for (auto& [n, v] : w->props)
        if (n == name)
            return v;
    return 0;
}

HANDLE RemoveProp(HWND h, const std::string& name) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return 0;
    for (auto it = w->props.begin(); it != w->props.end(); ++it)
        if (it->first == name) {
            const HANDLE v = it->second;
            w->props.erase(it);
            return v;
        }
    return 0;
}

bool SetLayeredWindowAttributes(HWND h, Color key, std::uint8_t alpha, DWORD flags) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w || !(w->exStyle & WS_EX_LAYERED))
        return false;
    w->layeredKey = key & 0xFFFFFF;
    w->layeredAlpha = alpha;
    w->layeredFlags = flags & (LWA_COLORKEY | LWA_ALPHA);
    if (w->nativeHost)
        s.backend->SetHostOpacity(h, (flags & LWA_ALPHA) ? alpha : 255);
    return true;
}

bool GetLayeredWindowAttributes(HWND h, Color* key, std::uint8_t* alpha, DWORD* flags) {
    WindowData* w = State::Get().Find(h);
    if (!w || !(w->exStyle & WS_EX_LAYERED))
        return false;
    if (key)
        *key = w->layeredKey;
    if (alpha)
        *alpha = w->layeredAlpha;
    if (flags)
        *flags = w->layeredFlags;
    return true;
}

bool SetWindowText(HWND h, const std::string& text) {
    if (!IsWindow(h))
        return false;
    return SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

std::string GetWindowText(HWND h) {
    WindowData* w = State::Get().Find(h);
    return w ? w->text : std::string();
}

} // namespace platform
