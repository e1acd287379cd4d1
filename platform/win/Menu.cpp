// Showing a popup menu: its windows, one a level, and the modal loop that tracks the mouse
// and keys until an item is chosen or the menu is dismissed. Menus as data are in MenuItems.cpp,
// the items' look in MenuLook.cpp.

#include "platform/win/Menu.h"

#include <algorithm>

#include "platform/gfx/text/Utf8.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Input.h"
#include "platform/win/MenuLook.h"
#include "platform/win/MenuTable.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::Enabled;
using detail::FindMenu;
using detail::MeasureMenu;
using detail::MenuData;
using detail::MenuItemData;
using detail::PaintMenuItem;
using detail::Selectable;
using Level = detail::MenuLevel;
using detail::State;

namespace {

constexpr int kBorder = 3; // the dialog frame of the menu window

struct Tracking {
    HWND owner;
    UINT flags = 0;
    std::vector<Level> levels;
    bool done = false;
    UINT_PTR result = 0;
};

Tracking* Current() {
    return static_cast<Tracking*>(State::Get().menuTracking);
}

Level* LevelOf(HWND h) {
    Tracking* t = Current();
    if (!t)
        return nullptr;
    for (Level& l : t->levels)
        if (l.window == h)
            return &l;
    return nullptr;
}

void NotifySelect(Tracking& t, Level& level) {
    if (t.flags & TPM_NONOTIFY)
        return;
    MenuData* m = FindMenu(level.menu);
    if (!m || level.selected < 0 || level.selected >= static_cast<int>(m->items.size()))
        return;
    const MenuItemData& i = m->items[static_cast<std::size_t>(level.selected)];
    const WORD idOrPos = static_cast<WORD>((i.flags & MF_POPUP) ? level.selected : i.id);
    SendMessage(t.owner, WM_MENUSELECT,
                MAKEWPARAM(idOrPos, static_cast<WORD>((i.flags & 0xFFFF) | MF_HILITE)),
                static_cast<LPARAM>(level.menu));
}

void OpenLevel(Tracking& t, HMENU menu, Point at, const Rect* avoid) {
    if (!(t.flags & TPM_NONOTIFY))
        SendMessage(t.owner, WM_INITMENUPOPUP, static_cast<WPARAM>(menu),
                    MAKELPARAM(static_cast<WORD>(t.levels.size()), 0));
    Level level;
    level.menu = menu;
    const Size content = MeasureMenu(t.owner, level);
    const int w = content.cx + 2 * kBorder, h = content.cy + 2 * kBorder;
    const Rect work = GetWorkArea();
    int x = at.x, y = at.y;
    if (x + w > work.right)
        x = avoid ? avoid->left - w : work.right - w;
    if (y + h > work.bottom)
        y = std::max(work.top, work.bottom - h);
    x = std::max(work.left, x);
    // The window exists before it is shown, so a hook can subclass it first.
    t.levels.push_back(level);
    const HWND wnd = CreateWindowEx(
        WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_NOACTIVATE, kMenuClassName,
        "", WS_POPUP | WS_CLIPSIBLINGS, x, y, w, h, t.owner, 0, nullptr);
    t.levels.back().window = wnd;
    if (wnd) {
        // Shown painted, before any input reaches the loop.
        ShowWindow(wnd, SW_SHOWNA);
        UpdateWindow(wnd);
    }
}

void CloseLevelsFrom(Tracking& t, std::size_t depth) {
    while (t.levels.size() > depth) {
        const Level l = t.levels.back();
        t.levels.pop_back();
        if (IsWindow(l.window))
            DestroyWindow(l.window);
        if (!(t.flags & TPM_NONOTIFY))
            SendMessage(t.owner, WM_UNINITMENUPOPUP, static_cast<WPARAM>(l.menu), 0);
    }
}

void Repaint(const Level& l) {
    if (IsWindow(l.window)) {
        InvalidateRect(l.window, nullptr, true);
        UpdateWindow(l.window);
    }
}

void Select(Tracking& t, std::size_t depth, int item) {
    Level& level = t.levels[depth];
    if (level.selected == item) {
        CloseLevelsFrom(t, depth + 1);
        return;
    }
    CloseLevelsFrom(t, depth + 1);
    level.selected = item;
    Repaint(level);
    NotifySelect(t, t.levels[depth]);
}

// Opens the selected item's submenu beside it.
void OpenSelectedSubmenu(Tracking& t, std::size_t depth, bool selectFirst) {
    Level& level = t.levels[depth];
    MenuData* m = FindMenu(level.menu);
    if (!m || level.selected < 0)
        return;
    const MenuItemData& i = m->items[static_cast<std::size_t>(level.selected)];
    if (!(i.flags & MF_POPUP) || !Enabled(i) || !FindMenu(i.submenu) || t.levels.size() > depth + 1)
        return;
    Rect r = level.items[static_cast<std::size_t>(level.selected)];
    Point corner{r.right, r.top};
    ClientToScreen(level.window, corner);
    Rect avoid = Rect::FromSize(corner.x - r.Width(), corner.y, r.Width(), r.Height());
    OpenLevel(t, i.submenu, {corner.x + kBorder, corner.y - kBorder}, &avoid);
    if (selectFirst) {
        MenuData* sub = FindMenu(i.submenu);
        for (std::size_t k = 0; sub && k < sub->items.size(); ++k)
            if (Selectable(sub->items[k])) {
                Select(t, t.levels.size() - 1, static_cast<int>(k));
                break;
            }
    }
}

// Chooses the selected item of a level: a command ends the loop, a submenu opens.
void Choose(Tracking& t, std::size_t depth) {
    Level& level = t.levels[depth];
    MenuData* m = FindMenu(level.menu);
    if (!m || level.selected < 0)
        return;
    const MenuItemData& i = m->items[static_cast<std::size_t>(level.selected)];
    if (!Enabled(i) || !Selectable(i))
        return;
    if (i.flags & MF_POPUP) {
        OpenSelectedSubmenu(t, depth, true);
        return;
    }
    t.result = i.id;
    t.done = true;
}

// Which level and item lie under a screen point; depth -1 when none.
std::pair<int, int> ItemAt(Tracking& t, Point screen) {
    for (int d = static_cast<int>(t.levels.size()) - 1; d >= 0; --d) {
        const Level& l = t.levels[static_cast<std::size_t>(d)];
        Rect wr;
        if (!GetWindowRect(l.window, wr) || !wr.Contains(screen))
            continue;
        Point p = screen;
        ScreenToClient(l.window, p);
        for (std::size_t k = 0; k < l.items.size(); ++k)
            if (l.items[k].Contains(p))
                return {d, static_cast<int>(k)};
        return {d, -1};
    }
    return {-1, -1};
}

void MoveSelection(Tracking& t, int step) {
    const std::size_t depth = t.levels.size() - 1;
    Level& level = t.levels[depth];
    MenuData* m = FindMenu(level.menu);
    if (!m || m->items.empty())
        return;
    const int n = static_cast<int>(m->items.size());
    int k = level.selected;
    for (int tries = 0; tries < n; ++tries) {
        k = k < 0 ? (step > 0 ? 0 : n - 1) : (k + step + n) % n;
        if (Selectable(m->items[static_cast<std::size_t>(k)])) {
            Select(t, depth, k);
            return;
        }
    }
}

// The item whose "&" letter is c, in the deepest level.
int MnemonicItem(Tracking& t, char32_t c) {
    const Level& level = t.levels.back();
    MenuData* m = FindMenu(level.menu);
    if (!m)
        return -1;
    auto lower = [](char32_t x) -> char32_t {
        if (x >= U'A' && x <= U'Z')
            return x + 32;
        if (x >= 0x410 && x <= 0x42F)
            return x + 32;
        return x;
    };
    for (std::size_t k = 0; k < m->items.size(); ++k) {
        const std::u32string text = Utf8ToUtf32(m->items[k].text);
        for (std::size_t p = 0; p + 1 < text.size(); ++p) {
            if (text[p] != U'&')
                continue;
            if (text[p + 1] == U'&') {
                ++p;
                continue;
            }
            if (lower(text[p + 1]) == lower(c))
                return static_cast<int>(k);
            break;
        }
    }
    return -1;
}

LRESULT MenuWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1; // every pixel of the client is an item's
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, ps);
        Tracking* t = Current();
        Level* level = LevelOf(h);
        if (dc && t && level && FindMenu(level->menu)) {
            Rect client;
            GetClientRect(h, client);
            FillRect(*dc, client, GetSysColor(COLOR_MENU));
            for (std::size_t k = 0; k < level->items.size(); ++k)
                PaintMenuItem(*dc, h, *level, k, t->owner);
        }
        EndPaint(h, ps);
        return 0;
    }
    default:
        return DefWindowProc(h, msg, wParam, lParam);
    }
}

} // namespace

namespace detail {

void RegisterMenuClass() {
    WNDCLASS wc;
    wc.lpszClassName = kMenuClassName;
    wc.style = CS_SAVEBITS | CS_DBLCLKS;
    wc.lpfnWndProc = &MenuWindowProc;
    wc.hbrBackground = GetSysColor(COLOR_MENU);
    RegisterClass(wc);
}

} // namespace detail

namespace {

// The menu loop proper; leaves the windows open for the caller to close.
void RunMenu(Tracking& t, HMENU menu, int x, int y) {
    const UINT flags = t.flags;
    const HWND owner = t.owner;
    if (!(flags & TPM_NONOTIFY))
        SendMessage(owner, WM_ENTERMENULOOP, 1, 0);

    // Alignment: measure first, then place the named corner at (x, y).
    {
        Level probe;
        probe.menu = menu;
        const Size content = MeasureMenu(t.owner, probe);
        const int w = content.cx + 2 * kBorder, h = content.cy + 2 * kBorder;
        if (flags & TPM_CENTERALIGN)
            x -= w / 2;
        else if (flags & TPM_RIGHTALIGN)
            x -= w;
        if (flags & TPM_VCENTERALIGN)
            y -= h / 2;
        else if (flags & TPM_BOTTOMALIGN)
            y -= h;
    }
    OpenLevel(t, menu, {x, y}, nullptr);
    const HWND top = t.levels.empty() ? HWND{} : t.levels.front().window;
    if (top)
        SetCapture(top);
    bool pressedInside = false;

    while (!t.done && top && IsWindow(top) && GetCapture() == top && IsWindow(owner)) {
        MSG m;
        if (!GetMessage(m, HWND{}, 0, 0)) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        const bool mouse = m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONDBLCLK;
        if (mouse) {
            const auto [depth, item] = ItemAt(t, m.pt);
            switch (m.message) {
            case WM_MOUSEMOVE:
                if (depth >= 0 && item >= 0) {
                    Select(t, static_cast<std::size_t>(depth), item);
                    OpenSelectedSubmenu(t, static_cast<std::size_t>(depth), false);
                } else if (depth < 0 && !t.levels.empty() && t.levels.size() == 1 &&
                           t.levels.back().selected >= 0) {
                    t.levels.back().selected = -1;
                    Repaint(t.levels.back());
                }
                break;
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDBLCLK:
                if (depth < 0)
                    t.done = true; // a click elsewhere dismisses the menu and is used up
                else
                    pressedInside = true;
                break;
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
                if (m.message == WM_RBUTTONUP && !(flags & TPM_RIGHTBUTTON) && !pressedInside)
                    break;
                if (depth >= 0 && item >= 0) {
                    Select(t, static_cast<std::size_t>(depth), item);
                    Choose(t, static_cast<std::size_t>(depth));
                }
                break;
            default:
                break;
            }
            continue;
        }
        if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
            switch (m.wParam) {
            case VK_ESCAPE:
                if (t.levels.size() > 1)
                    CloseLevelsFrom(t, t.levels.size() - 1);
                else
                    t.done = true;
                break;
            case VK_DOWN:
                MoveSelection(t, 1);
                break;
            case VK_UP:
                MoveSelection(t, -1);
                break;
            case VK_RIGHT:
                OpenSelectedSubmenu(t, t.levels.size() - 1, true);
                break;
            case VK_LEFT:
                if (t.levels.size() > 1)
                    CloseLevelsFrom(t, t.levels.size() - 1);
                break;
            case VK_RETURN:
                Choose(t, t.levels.size() - 1);
                break;
            case VK_MENU:
            case VK_F10:
                t.done = true;
                break;
            default:
                TranslateMessage(m); // the letter comes back as WM_CHAR
                break;
            }
            continue;
        }
        if (m.message == WM_CHAR || m.message == WM_SYSCHAR) {
            const int k = MnemonicItem(t, static_cast<char32_t>(m.wParam));
            if (k >= 0) {
                Select(t, t.levels.size() - 1, k);
                Choose(t, t.levels.size() - 1);
            }
            continue;
        }
        if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP)
            continue;
        TranslateMessage(m);
        DispatchMessage(m);
    }
}

// After a procedure threw inside the loop: close what is open without telling anyone, so the
// exception reaches the application's loop with no menu state left behind.
void AbandonMenu(Tracking& t) noexcept {
    State::Get().menuTracking = nullptr;
    for (auto it = t.levels.rbegin(); it != t.levels.rend(); ++it) {
        try {
            if (IsWindow(it->window))
                DestroyWindow(it->window);
        } catch (...) {
        }
    }
    t.levels.clear();
}

} // namespace

bool EndMenu() {
    Tracking* t = Current();
    if (!t)
        return false;
    t->done = true;
    t->result = 0;
    return true;
}

int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    State& s = State::Get();
    if (!FindMenu(menu) || !IsWindow(owner) || s.menuTracking)
        return 0;
    Tracking t;
    t.owner = owner;
    t.flags = flags;
    s.menuTracking = &t;
    try {
        RunMenu(t, menu, x, y);
    } catch (...) {
        AbandonMenu(t);
        throw;
    }
    const HWND top = t.levels.empty() ? HWND{} : t.levels.front().window;
    CloseLevelsFrom(t, 0);
    if (GetCapture() == top && top)
        ReleaseCapture();
    s.menuTracking = nullptr;
    if (IsWindow(owner) && !(flags & TPM_NONOTIFY)) {
        SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(owner, WM_EXITMENULOOP, 1, 0);
    }
    const UINT_PTR chosen = t.done ? t.result : 0;
    if (flags & TPM_RETURNCMD)
        return static_cast<int>(chosen);
    if (chosen && IsWindow(owner))
        PostMessage(owner, WM_COMMAND, chosen & 0xFFFF, 0);
    return chosen != 0;
}

} // namespace platform
