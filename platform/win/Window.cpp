// Window classes, and making and destroying windows with everything they own.

#include "platform/win/Window.h"

#include <algorithm>

#include "platform/gfx/CreationRefusal.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Icon.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/WindowState.h"

namespace platform {

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

} // namespace platform
