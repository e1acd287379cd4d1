#include "platform/win/DefWindowProc.h"

#include <algorithm>
#include <string>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/Input.h"
#include "platform/win/Menu.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::State;
using detail::WindowData;

NonClientLayout ComputeNonClientLayout(DWORD style, DWORD exStyle, int width, int height) {
    NonClientLayout L;
    int border = 0;
    if (style & WS_THICKFRAME)
        border = GetSystemMetrics(SM_CXFRAME);
    else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME))
        border = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        border = GetSystemMetrics(SM_CXBORDER);
    L.borderX = L.borderY = border;
    Rect inner = Rect{0, 0, width, height}.Inflate(-border, -border);

    if ((style & WS_CAPTION) == WS_CAPTION) {
        const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
        const int height = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
        // The bar, then a one-pixel line of the face colour below it.
        L.caption = {inner.left, inner.top, inner.right, inner.top + height - 1};
        inner.top += height;
        if (style & WS_SYSMENU) {
            const int bw = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE) - 2;
            const int bh = height - 5;
            int right = L.caption.right - 2;
            const int top = L.caption.top + 2;
            L.closeButton = {right - bw, top, right, top + bh};
            right = L.closeButton.left - 2;
            if (!tool && (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX))) {
                L.maxButton = {right - bw, top, right, top + bh};
                L.minButton = {L.maxButton.left - bw, top, L.maxButton.left, top + bh};
            }
            // The icon's place; dialog frames show no icon and give the caption text its room.
            if (!tool && !(exStyle & WS_EX_DLGMODALFRAME))
                L.sysMenu = {L.caption.left, L.caption.top, L.caption.left + height - 1,
                             L.caption.bottom};
        }
    }
    L.edge = (exStyle & WS_EX_CLIENTEDGE)   ? GetSystemMetrics(SM_CXEDGE)
             : (exStyle & WS_EX_STATICEDGE) ? 1
                                            : 0;
    inner = inner.Inflate(-L.edge, -L.edge);
    inner.right = std::max(inner.left, inner.right);
    inner.bottom = std::max(inner.top, inner.bottom);
    const int vw = GetSystemMetrics(SM_CXVSCROLL), hh = GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_HSCROLL) {
        const int top = std::max(inner.top, inner.bottom - hh);
        L.hscroll = {inner.left, top, inner.right, inner.bottom};
        inner.bottom = top;
    }
    if (style & WS_VSCROLL) {
        const int left = std::max(inner.left, inner.right - vw);
        L.vscroll = {left, inner.top, inner.right, inner.bottom};
        inner.right = left;
        if (style & WS_HSCROLL) {
            L.hscroll.right = left;
            L.sizeBox = {left, L.hscroll.top, L.vscroll.right, L.hscroll.bottom};
        }
    }
    L.client = inner;
    return L;
}

NonClientLayout GetNonClientLayout(HWND h) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return {};
    NonClientLayout L =
        ComputeNonClientLayout(w->style, w->exStyle, w->rect.Width(), w->rect.Height());
    // The client rectangle is the window procedure's answer, which may differ from ours.
    L.client = w->client;
    return L;
}

bool AdjustWindowRectEx(Rect& rect, DWORD style, bool menu, DWORD exStyle) {
    const NonClientLayout L =
        ComputeNonClientLayout(style & ~(WS_HSCROLL | WS_VSCROLL), exStyle, 1000, 1000);
    rect.left -= L.client.left;
    rect.top -= L.client.top + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
    rect.right += 1000 - L.client.right;
    rect.bottom += 1000 - L.client.bottom;
    return true;
}

namespace {

LRESULT HitTest(HWND h, Point screen) {
    WindowData* w = State::Get().Find(h);
    Rect wr;
    if (!w || !GetWindowRect(h, wr) || !wr.Contains(screen))
        return HTNOWHERE;
    const Point p{screen.x - wr.left, screen.y - wr.top};
    if (w->windowRegion && !w->windowRegion->Contains(p))
        return HTNOWHERE;
    const NonClientLayout L = GetNonClientLayout(h);
    if (L.client.Contains(p))
        return HTCLIENT;
    const bool sizable = (w->style & WS_THICKFRAME) && !(w->style & WS_MAXIMIZE);
    if (L.vscroll.Contains(p))
        return HTVSCROLL;
    if (L.hscroll.Contains(p))
        return HTHSCROLL;
    if (L.sizeBox.Contains(p))
        return sizable ? HTBOTTOMRIGHT : HTGROWBOX;
    if (L.caption.Contains(p)) {
        if (L.closeButton.Contains(p))
            return HTCLOSE;
        if (L.maxButton.Contains(p))
            return HTMAXBUTTON;
        if (L.minButton.Contains(p))
            return HTMINBUTTON;
        if (L.sysMenu.Contains(p))
            return HTSYSMENU;
        return HTCAPTION;
    }
    const int width = wr.Width(), height = wr.Height();
    if (sizable && (p.x < L.borderX || p.x >= width - L.borderX || p.y < L.borderY ||
                    p.y >= height - L.borderY)) {
        // Corners reach as far along the edges as a caption button is wide.
        const int corner = GetSystemMetrics(SM_CXSIZE) + L.borderX;
        const bool left = p.x < corner, right = p.x >= width - corner;
        const bool top = p.y < corner, bottom = p.y >= height - corner;
        if (p.y < L.borderY)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (p.y >= height - L.borderY)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (p.x < L.borderX)
            return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    return HTBORDER;
}

Cursor CursorForHit(LRESULT hit) {
    switch (hit) {
    case HTLEFT:
    case HTRIGHT:
        return Cursor::SizeWE;
    case HTTOP:
    case HTBOTTOM:
        return Cursor::SizeNS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return Cursor::SizeNWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return Cursor::SizeNESW;
    default:
        return Cursor::Arrow;
    }
}

// A caption button acts when the button goes up over it.
void TrackCaptionButton(HWND h, LRESULT hit) {
    State& s = State::Get();
    s.captionPressWindow = h;
    s.captionPressHit = hit;
    detail::PaintFrame(h);
    SetCapture(h);
    bool over = true;
    try {
        detail::PumpWhileCaptured(h, [&](const MSG& m) {
            if (m.hwnd != h || (m.message != WM_MOUSEMOVE && m.message != WM_LBUTTONUP))
                return detail::CapturedStep::Dispatch;
            over = HitTest(h, m.pt) == hit;
            s.captionPressHit = over ? hit : 0;
            detail::PaintFrame(h);
            return m.message == WM_LBUTTONUP ? detail::CapturedStep::Stop
                                             : detail::CapturedStep::Handled;
        });
    } catch (...) {
        s.captionPressWindow = HWND{};
        s.captionPressHit = 0;
        if (GetCapture() == h)
            ReleaseCapture();
        throw;
    }
    s.captionPressWindow = HWND{};
    s.captionPressHit = 0;
    if (!IsWindow(h))
        return;
    if (GetCapture() == h)
        ReleaseCapture();
    detail::PaintFrame(h);
    if (!over)
        return;
    WPARAM command = 0;
    if (hit == HTCLOSE)
        command = SC_CLOSE;
    else if (hit == HTMINBUTTON)
        command = IsIconic(h) ? SC_RESTORE : SC_MINIMIZE;
    else if (hit == HTMAXBUTTON)
        command = IsZoomed(h) ? SC_RESTORE : SC_MAXIMIZE;
    if (command)
        SendMessage(h, WM_SYSCOMMAND, command, 0);
}

void DrawCaptionText(DeviceContext& dc, const NonClientLayout& L, const std::string& text,
                     bool active) {
    static const std::shared_ptr<Font> captionFont = [] {
        LOGFONT lf;
        lf.lfHeight = -11;
        lf.lfWeight = FW_BOLD;
        lf.lfFaceName = "MS Sans Serif";
        return CreateFontIndirect(lf);
    }();
    if (!captionFont || text.empty())
        return;
    Rect r = L.caption;
    r.left = (L.sysMenu.IsEmpty() ? r.left : L.sysMenu.right) + 2;
    const Rect& firstButton = !L.minButton.IsEmpty() ? L.minButton : L.closeButton;
    if (!firstButton.IsEmpty())
        r.right = firstButton.left - 2;
    if (r.IsEmpty())
        return;
    DcStateGuard guard(dc);
    SelectFont(dc, captionFont);
    SetBkMode(dc, BkMode::Transparent);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawText(dc, text, r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// The program's icon in the system-menu place, centred; see-through pixels show the caption.
// Runs of one colour go as one fill each.
void DrawCaptionIcon(DeviceContext& dc, const Rect& slot, const IconImage& icon) {
    if (icon.pixels.empty() || slot.IsEmpty())
        return;
    const int left = slot.left + (slot.Width() - icon.width) / 2;
    const int top = slot.top + (slot.Height() - icon.height) / 2;
    DcStateGuard guard(dc);
    IntersectClipRect(dc, slot);
    for (int y = 0; y < icon.height; ++y) {
        const std::uint32_t* row = icon.pixels.data() + static_cast<std::size_t>(y) * icon.width;
        int x = 0;
        while (x < icon.width) {
            const std::uint32_t p = row[x];
            int end = x + 1;
            while (end < icon.width && row[end] == p)
                ++end;
            if (p >> 24)
                FillRect(dc, {left + x, top + y, left + end, top + y + 1},
                         RGB(static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                             static_cast<std::uint8_t>(p)));
            x = end;
        }
    }
}

// The classic system menu, built as it is opened, its items enabled by the window's state.
void ShowSystemMenu(HWND h, Point screen) {
    WindowData* w = State::Get().Find(h);
    if (!w || !(w->style & WS_SYSMENU))
        return;
    const bool zoomed = IsZoomed(h), iconic = IsIconic(h);
    const bool sizable = (w->style & WS_THICKFRAME) != 0;
    const HMENU menu = CreatePopupMenu();
    AppendMenu(menu, zoomed || iconic ? MF_STRING : MF_GRAYED, SC_RESTORE, "&Restore");
    AppendMenu(menu, zoomed ? MF_GRAYED : MF_STRING, SC_MOVE, "&Move");
    AppendMenu(menu, sizable && !zoomed && !iconic ? MF_STRING : MF_GRAYED, SC_SIZE, "&Size");
    AppendMenu(menu, (w->style & WS_MINIMIZEBOX) && !iconic ? MF_STRING : MF_GRAYED, SC_MINIMIZE,
               "Mi&nimize");
    AppendMenu(menu, (w->style & WS_MAXIMIZEBOX) && !zoomed ? MF_STRING : MF_GRAYED, SC_MAXIMIZE,
               "Ma&ximize");
    AppendMenu(menu, MF_SEPARATOR, 0, "");
    AppendMenu(menu, MF_STRING | MF_DEFAULT, SC_CLOSE, "&Close\tAlt+F4");
    int command = 0;
    try {
        command = TrackPopupMenu(menu, TPM_RETURNCMD, screen.x, screen.y, h);
    } catch (...) {
        DestroyMenu(menu);
        throw;
    }
    DestroyMenu(menu);
    if (command && IsWindow(h)) {
        Point cursor;
        GetCursorPos(cursor);
        SendMessage(h, WM_SYSCOMMAND, static_cast<WPARAM>(command), PointToLParam(cursor));
    }
}

Point SystemMenuCorner(HWND h) {
    const NonClientLayout L = GetNonClientLayout(h);
    Rect wr;
    GetWindowRect(h, wr);
    const Rect anchor = L.sysMenu.IsEmpty() ? L.caption : L.sysMenu;
    return {wr.left + anchor.left, wr.top + anchor.bottom + 1};
}

} // namespace

namespace detail {

void PaintFrame(HWND h) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w || !IsWindowVisible(h))
        return;
    HDC dc = GetWindowDC(h);
    if (!dc)
        return;
    const NonClientLayout L = GetNonClientLayout(h);
    const Rect whole{0, 0, w->rect.Width(), w->rect.Height()};
    // The frame only: the client area is the window's own.
    ExcludeClipRect(*dc, L.client);
    if (L.borderX >= 3) {
        const Rect inner = DrawEdge3D(*dc, whole, EdgeKind::Raised);
        const Color face =
            GetSysColor(L.borderX > 3 ? (w->ncActive ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER)
                                      : COLOR_BTNFACE);
        Region ring(inner);
        ring.Subtract(inner.Inflate(-(L.borderX - 2), -(L.borderY - 2)));
        for (const Rect& r : ring.Rects())
            FillRect(*dc, r, face);
    } else if (L.borderX == 1) {
        DrawBevel(*dc, whole, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
    }
    if (!L.caption.IsEmpty()) {
        FillRect(*dc, L.caption,
                 GetSysColor(w->ncActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        FillRect(*dc, {L.caption.left, L.caption.bottom, L.caption.right, L.caption.bottom + 1},
                 GetSysColor(COLOR_BTNFACE));
        DrawCaptionText(*dc, L, w->text, w->ncActive);
        DrawCaptionIcon(*dc, L.sysMenu, s.applicationIcon);
        const bool pressing = s.captionPressWindow == h;
        auto pressed = [&](LRESULT hit) { return pressing && s.captionPressHit == hit; };
        DrawClassicButton(*dc, L.closeButton, FrameGlyph::Close, pressed(HTCLOSE), true);
        DrawClassicButton(*dc, L.maxButton,
                          IsZoomed(h) ? FrameGlyph::Restore : FrameGlyph::Maximize,
                          pressed(HTMAXBUTTON), (w->style & WS_MAXIMIZEBOX) != 0);
        DrawClassicButton(*dc, L.minButton,
                          IsIconic(h) ? FrameGlyph::Restore : FrameGlyph::Minimize,
                          pressed(HTMINBUTTON), (w->style & WS_MINIMIZEBOX) != 0);
    }
    if (L.edge) {
        Rect outer = L.client;
        outer.right = std::max({outer.right, L.vscroll.right, L.sizeBox.right});
        outer.bottom = std::max({outer.bottom, L.hscroll.bottom, L.sizeBox.bottom});
        outer = outer.Inflate(L.edge, L.edge);
        if (L.edge == 2)
            DrawEdge3D(*dc, outer, EdgeKind::Sunken);
        else
            DrawBevel(*dc, outer, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    PaintScrollBars(h, *dc);
    ReleaseDC(h, dc);
}

} // namespace detail

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    State& s = State::Get();
    WindowData* w = s.Find(h);
    if (!w)
        return 0;
    switch (msg) {
    case WM_NCCREATE: {
        // Windows created with scroll styles start with the platform's default range.
        if (w->style & WS_VSCROLL)
            w->vbar.info.nMax = 100;
        if (w->style & WS_HSCROLL)
            w->hbar.info.nMax = 100;
        return 1;
    }
    case WM_NCCALCSIZE: {
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        if (!p)
            return 0;
        const Rect r = p->rgrc[0];
        const NonClientLayout L =
            ComputeNonClientLayout(w->style, w->exStyle, r.Width(), r.Height());
        p->rgrc[0] = L.client.Offset(r.left, r.top);
        return 0;
    }
    case WM_NCHITTEST:
        return HitTest(h, LParamToPoint(lParam));
    case WM_NCPAINT:
        detail::PaintFrame(h);
        return 0;
    case WM_NCACTIVATE:
        w->ncActive = wParam != 0;
        detail::PaintFrame(h);
        return 1;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            SetFocus(h);
        return 0;
    case WM_MOUSEACTIVATE:
        if (w->parent) {
            const LRESULT r = SendMessage(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
            if (r)
                return r;
        }
        return MA_ACTIVATE;
    case WM_SETCURSOR: {
        if (w->parent && SendMessage(w->parent, WM_SETCURSOR, wParam, lParam))
            return 1;
        const LRESULT hit = static_cast<std::int16_t>(LOWORD(lParam));
        if (hit == HTCLIENT) {
            if (HwndFromParam(wParam) == h) {
                SetCursor(w->cls->cursor);
                return 1;
            }
            return 0;
        }
        SetCursor(CursorForHit(hit));
        return 1;
    }
    case WM_MOUSEWHEEL:
        if (w->parent)
            return SendMessage(w->parent, msg, wParam, lParam);
        return 0;
    case WM_ERASEBKGND: {
        auto* dc = reinterpret_cast<DeviceContext*>(wParam);
        if (!dc || !w->cls->background)
            return 0;
        FillRect(*dc, GetClipBox(*dc), *w->cls->background);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(h, ps);
        EndPaint(h, ps);
        return 0;
    }
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        w->text = text ? text : "";
        if (w->nativeHost)
            s.backend->SetHostTitle(h, w->text);
        if ((w->style & WS_CAPTION) == WS_CAPTION)
            detail::PaintFrame(h);
        return 1;
    }
    case WM_GETTEXT: {
        // lParam: a std::string to fill; wParam: at most that many bytes (0: no limit).
        auto* out = reinterpret_cast<std::string*>(lParam);
        if (!out)
            return 0;
        *out = wParam ? w->text.substr(0, wParam) : w->text;
        return static_cast<LRESULT>(out->size());
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_SETREDRAW:
        w->redraw = wParam != 0;
        return 0;
    case WM_CLOSE:
        DestroyWindow(h);
        return 0;
    case WM_CANCELMODE:
        if (s.capture == h)
            ReleaseCapture();
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!wp)
            return 0;
        if (!(wp->flags & SWP_NOCLIENTMOVE))
            SendMessage(h, WM_MOVE, 0,
                        MAKELPARAM(static_cast<WORD>(w->rect.left + w->client.left),
                                   static_cast<WORD>(w->rect.top + w->client.top)));
        if (!(wp->flags & SWP_NOCLIENTSIZE) && (w = s.Find(h)) != nullptr) {
            const WPARAM kind = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                                : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                           : SIZE_RESTORED;
            SendMessage(h, WM_SIZE, kind,
                        MAKELPARAM(static_cast<WORD>(w->client.Width()),
                                   static_cast<WORD>(w->client.Height())));
        }
        return 0;
    }
    case WM_SYSCOMMAND: {
        const WPARAM command = wParam & 0xFFF0;
        const Point pt = LParamToPoint(lParam);
        switch (command) {
        case SC_CLOSE:
            SendMessage(h, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            ShowWindow(h, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(h, SW_SHOWMAXIMIZED);
            break;
        case SC_RESTORE:
            ShowWindow(h, SW_RESTORE);
            break;
        case SC_MOVE:
            // Without a hit code in the low bits the command came from the menu or the
            // keyboard: the arrow keys move the window.
            if (wParam & 0xF)
                detail::MoveSizeLoop(h, HTCAPTION, pt);
            else
                detail::KeyboardMoveSize(h, HTCAPTION);
            break;
        case SC_SIZE: {
            // The low four bits name the edge, counted from HTLEFT; none: sizing by keyboard.
            const LRESULT edge = static_cast<LRESULT>(wParam & 0xF) + HTLEFT - 1;
            if (edge >= HTLEFT && edge <= HTBOTTOMRIGHT)
                detail::MoveSizeLoop(h, edge, pt);
            else if ((wParam & 0xF) == 0)
                detail::KeyboardMoveSize(h, HTNOWHERE);
            break;
        }
        case SC_VSCROLL:
            detail::TrackScrollBar(h, SB_VERT, pt);
            break;
        case SC_HSCROLL:
            detail::TrackScrollBar(h, SB_HORZ, pt);
            break;
        case SC_KEYMENU:
            if (lParam == ' ')
                ShowSystemMenu(h, SystemMenuCorner(h));
            break;
        default:
            break;
        }
        return 0;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        const LRESULT hit = static_cast<LRESULT>(wParam);
        const bool dbl = msg == WM_NCLBUTTONDBLCLK;
        if (hit == HTCAPTION) {
            if (dbl && (w->style & WS_MAXIMIZEBOX) && (w->style & WS_THICKFRAME))
                SendMessage(h, WM_SYSCOMMAND, IsZoomed(h) ? SC_RESTORE : SC_MAXIMIZE, lParam);
            else if (!dbl)
                SendMessage(h, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
        } else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
            SendMessage(h, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(hit - HTLEFT + 1), lParam);
        } else if (hit == HTVSCROLL) {
            SendMessage(h, WM_SYSCOMMAND, SC_VSCROLL | HTVSCROLL, lParam);
        } else if (hit == HTHSCROLL) {
            SendMessage(h, WM_SYSCOMMAND, SC_HSCROLL | HTHSCROLL, lParam);
        } else if (hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON) {
            if ((hit == HTMAXBUTTON && !(w->style & WS_MAXIMIZEBOX)) ||
                (hit == HTMINBUTTON && !(w->style & WS_MINIMIZEBOX)))
                return 0;
            TrackCaptionButton(h, hit);
        } else if (hit == HTSYSMENU && dbl) {
            SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, lParam);
        } else if (hit == HTSYSMENU) {
            ShowSystemMenu(h, SystemMenuCorner(h));
        }
        return 0;
    }
    case WM_NCRBUTTONUP:
        if (wParam == static_cast<WPARAM>(HTCAPTION) || wParam == static_cast<WPARAM>(HTSYSMENU))
            ShowSystemMenu(h, LParamToPoint(lParam));
        return 0;
    case WM_SYSTIMER:
        if (wParam == detail::kCaretTimerId)
            detail::BlinkCaret(h);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (HIWORD(lParam) & 0x2000))
            SendMessage(detail::RootOf(h), WM_SYSCOMMAND, SC_CLOSE, 0);
        else if (wParam == VK_SPACE && (HIWORD(lParam) & 0x2000))
            SendMessage(detail::RootOf(h), WM_SYSCOMMAND, SC_KEYMENU, ' ');
        return 0;
    default:
        return 0;
    }
}

} // namespace platform
