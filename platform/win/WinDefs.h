#pragma once
// The window system's vocabulary: handle and parameter types, message numbers, styles, hit-test
// codes, system commands, scroll codes, virtual keys. Every number keeps the value the program
// was written against, so a message or style named anywhere in the program means what it says.
//
// Handles are small values: a window handle is a table slot plus a generation, so a handle of a
// destroyed window never reaches a window created later in the same slot.

#include <compare>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gfx/Geometry.h"

namespace platform {

using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using HANDLE = std::intptr_t; // window properties hold any pointer-sized value

class HWND {
public:
    constexpr HWND() = default;
    constexpr explicit HWND(std::uint32_t value) : m_value(value) {}
    constexpr std::uint32_t Value() const { return m_value; }
    constexpr explicit operator bool() const { return m_value != 0; }
    friend constexpr bool operator==(HWND, HWND) = default;
    friend constexpr auto operator<=>(HWND, HWND) = default;

private:
    std::uint32_t m_value = 0;
};

inline std::ostream& operator<<(std::ostream& os, HWND h) {
    return os << "HWND#" << h.Value();
}

// Windows travel in message parameters (the previous focus in WM_SETFOCUS, the other window in
// WM_ACTIVATE, the capture taker in WM_CAPTURECHANGED).
constexpr LPARAM HwndParam(HWND h) {
    return static_cast<LPARAM>(h.Value());
}
constexpr HWND HwndFromParam(std::uintmax_t p) {
    return HWND(static_cast<std::uint32_t>(p));
}

constexpr WORD LOWORD(std::uintmax_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintmax_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) {
    return static_cast<LPARAM>(static_cast<std::int32_t>(static_cast<std::uint32_t>(lo) |
                                                         static_cast<std::uint32_t>(hi) << 16));
}
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) {
    return static_cast<WPARAM>(static_cast<std::uint32_t>(lo) | static_cast<std::uint32_t>(hi)
                                                                    << 16);
}
// Signed coordinates packed into an LPARAM (mouse messages).
constexpr std::int32_t GET_X_LPARAM(LPARAM l) {
    return static_cast<std::int16_t>(LOWORD(l));
}
constexpr std::int32_t GET_Y_LPARAM(LPARAM l) {
    return static_cast<std::int16_t>(HIWORD(l));
}
constexpr LPARAM PointToLParam(Point p) {
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}
constexpr Point LParamToPoint(LPARAM l) {
    return {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
}
constexpr std::int16_t GET_WHEEL_DELTA_WPARAM(WPARAM w) {
    return static_cast<std::int16_t>(HIWORD(w));
}

using WindowProcFn = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// A window procedure. Either a plain function (two procedures made from the same function are
// equal) or a bound callable with an identity of its own, which is how an object subclasses a
// window: it makes a procedure of its method, installs it, keeps the previous one and calls it
// with CallWindowProc.
class WNDPROC {
public:
    using Fn = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

    WNDPROC() = default;
    WNDPROC(std::nullptr_t) {}
    WNDPROC(WindowProcFn fn) : m_plain(fn) {}
    static WNDPROC Bind(Fn fn) {
        WNDPROC p;
        p.m_bound = std::make_shared<const Fn>(std::move(fn));
        return p;
    }

    LRESULT operator()(HWND h, UINT msg, WPARAM w, LPARAM l) const {
        if (m_plain)
            return m_plain(h, msg, w, l);
        if (m_bound && *m_bound)
            return (*m_bound)(h, msg, w, l);
        return 0;
    }
    explicit operator bool() const { return m_plain || m_bound; }
    friend bool operator==(const WNDPROC& a, const WNDPROC& b) {
        return a.m_plain == b.m_plain && a.m_bound == b.m_bound;
    }

private:
    WindowProcFn m_plain = nullptr;
    std::shared_ptr<const Fn> m_bound;
};

struct MSG {
    HWND hwnd;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    Point pt; // cursor position in screen coordinates when the message was queued
};

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HWND hwndParent;
    LONG_PTR hMenu = 0; // the child id for child windows
    int cy = 0, cx = 0, y = 0, x = 0;
    DWORD style = 0;
    const char* lpszName = "";
    const char* lpszClass = "";
    DWORD dwExStyle = 0;
};

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;
};

struct NCCALCSIZE_PARAMS {
    // [0]: in the proposed window rectangle, out the client rectangle (both in the parent's
    // client coordinates, screen for top-level windows); [1], [2]: old window and client rects.
    Rect rgrc[3];
    WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
    Point ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};

// LParam of WM_STYLECHANGING and WM_STYLECHANGED; a WM_STYLECHANGING handler may change
// styleNew (setting it back to styleOld refuses the change).
struct STYLESTRUCT {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};

// ---- messages -------------------------------------------------------------------------------
constexpr UINT WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003,
               WM_SIZE = 0x0005, WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008,
               WM_ENABLE = 0x000A, WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D,
               WM_GETTEXTLENGTH = 0x000E, WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012,
               WM_ERASEBKGND = 0x0014, WM_SHOWWINDOW = 0x0018, WM_ACTIVATEAPP = 0x001C,
               WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020, WM_MOUSEACTIVATE = 0x0021,
               WM_GETMINMAXINFO = 0x0024, WM_SETFONT = 0x0030, WM_GETFONT = 0x0031,
               WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047,
               WM_STYLECHANGING = 0x007C, WM_STYLECHANGED = 0x007D, WM_NCCREATE = 0x0081,
               WM_NCDESTROY = 0x0082, WM_NCCALCSIZE = 0x0083, WM_NCHITTEST = 0x0084,
               WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086, WM_GETDLGCODE = 0x0087,
               WM_NCMOUSEMOVE = 0x00A0, WM_NCLBUTTONDOWN = 0x00A1, WM_NCLBUTTONUP = 0x00A2,
               WM_NCLBUTTONDBLCLK = 0x00A3, WM_NCRBUTTONDOWN = 0x00A4, WM_NCRBUTTONUP = 0x00A5,
               WM_NCRBUTTONDBLCLK = 0x00A6, WM_NCMBUTTONDOWN = 0x00A7, WM_NCMBUTTONUP = 0x00A8,
               WM_NCMBUTTONDBLCLK = 0x00A9, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101,
               WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105, WM_SYSCHAR = 0x0106,
               WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113, WM_SYSTIMER = 0x0118,
               WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115, WM_ENTERIDLE = 0x0121,
               WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
               WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
               WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208,
               WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A, WM_PARENTNOTIFY = 0x0210,
               WM_ENTERMENULOOP = 0x0211, WM_EXITMENULOOP = 0x0212, WM_CAPTURECHANGED = 0x0215,
               WM_ENTERSIZEMOVE = 0x0231, WM_EXITSIZEMOVE = 0x0232, WM_NCMOUSEHOVER = 0x02A0,
               WM_MOUSEHOVER = 0x02A1, WM_NCMOUSELEAVE = 0x02A2, WM_MOUSELEAVE = 0x02A3,
               WM_PRINT = 0x0317, WM_PRINTCLIENT = 0x0318, WM_USER = 0x0400, WM_APP = 0x8000;
// The edit commands an edit control answers (cut, copy and paste through the clipboard, clear
// the selection, undo the last change).
constexpr UINT WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302, WM_CLEAR = 0x0303,
               WM_UNDO = 0x0304;

// ---- window styles --------------------------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
                WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000,
                WS_MAXIMIZE = 0x01000000, WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000,
                WS_DLGFRAME = 0x00400000, WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000,
                WS_SYSMENU = 0x00080000, WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000,
                WS_TABSTOP = 0x00010000, WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,
                WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                      WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001, WS_EX_NOPARENTNOTIFY = 0x00000004,
                WS_EX_TOPMOST = 0x00000008, WS_EX_TRANSPARENT = 0x00000020,
                WS_EX_TOOLWINDOW = 0x00000080, WS_EX_WINDOWEDGE = 0x00000100,
                WS_EX_CLIENTEDGE = 0x00000200, WS_EX_CONTROLPARENT = 0x00010000,
                WS_EX_STATICEDGE = 0x00020000, WS_EX_APPWINDOW = 0x00040000,
                WS_EX_LAYERED = 0x00080000, WS_EX_NOACTIVATE = 0x08000000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_SAVEBITS = 0x0800,
               CS_DROPSHADOW = 0x00020000;

// Get/SetWindowLong indexes.
constexpr int GWL_WNDPROC = -4, GWL_HWNDPARENT = -8, GWL_STYLE = -16, GWL_EXSTYLE = -20,
              GWL_USERDATA = -21, GWL_ID = -12;

// ---- hit-test codes (WM_NCHITTEST) ----------------------------------------------------------
constexpr LRESULT HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2,
                  HTSYSMENU = 3, HTGROWBOX = 4, HTSIZE = 4, HTMENU = 5, HTHSCROLL = 6,
                  HTVSCROLL = 7, HTMINBUTTON = 8, HTMAXBUTTON = 9, HTLEFT = 10, HTRIGHT = 11,
                  HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14, HTBOTTOM = 15, HTBOTTOMLEFT = 16,
                  HTBOTTOMRIGHT = 17, HTBORDER = 18, HTCLOSE = 20, HTHELP = 21;

// ---- system commands (WM_SYSCOMMAND, low four bits are the system's own) ---------------------
constexpr WPARAM SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
                 SC_CLOSE = 0xF060, SC_VSCROLL = 0xF070, SC_HSCROLL = 0xF080, SC_KEYMENU = 0xF100,
                 SC_RESTORE = 0xF120, SC_CONTEXTHELP = 0xF180;

// ---- scroll bars ----------------------------------------------------------------------------
constexpr int SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3;
constexpr int SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
              SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4,
              SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7,
              SB_ENDSCROLL = 8;
constexpr UINT SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8,
               SIF_TRACKPOS = 0x10, SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
struct SCROLLINFO {
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
constexpr UINT ESB_ENABLE_BOTH = 0, ESB_DISABLE_LTUP = 1, ESB_DISABLE_RTDN = 2,
               ESB_DISABLE_BOTH = 3;

// ---- ShowWindow, SetWindowPos, RedrawWindow, GetWindow -----------------------------------------
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
              SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6,
              SW_SHOWMINNOACTIVE = 7, SW_SHOWNA = 8, SW_RESTORE = 9;
constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004,
               SWP_NOREDRAW = 0x0008, SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020,
               SWP_SHOWWINDOW = 0x0040, SWP_HIDEWINDOW = 0x0080, SWP_NOCOPYBITS = 0x0100,
               SWP_NOOWNERZORDER = 0x0200, SWP_NOSENDCHANGING = 0x0400;
inline const HWND HWND_TOP{0};
// Special insert-after values; they never name a real window (slot 0 is never used).
inline const HWND HWND_BOTTOM{0x00010000}, HWND_TOPMOST{0x00020000}, HWND_NOTOPMOST{0x00030000};

constexpr UINT RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004,
               RDW_VALIDATE = 0x0008, RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020,
               RDW_NOCHILDREN = 0x0040, RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100,
               RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400, RDW_NOFRAME = 0x0800;
constexpr UINT GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4,
               GW_CHILD = 5;

// WM_SIZE kinds, WM_ACTIVATE states, WM_MOUSEACTIVATE answers.
constexpr WPARAM SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;
constexpr WORD WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
constexpr LRESULT MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3,
                  MA_NOACTIVATEANDEAT = 4;

// Mouse key state in wParam of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
                 MK_MBUTTON = 0x0010;
constexpr int WHEEL_DELTA = 120;

// TrackMouseEvent.
constexpr DWORD TME_HOVER = 0x1, TME_LEAVE = 0x2, TME_NONCLIENT = 0x10, TME_QUERY = 0x40000000,
                TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;
struct TRACKMOUSEEVENT {
    DWORD dwFlags = 0;
    HWND hwndTrack;
    DWORD dwHoverTime = 0; // milliseconds; HOVER_DEFAULT (or 0): the system's hover time
};

// PeekMessage.
constexpr UINT PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001, PM_NOYIELD = 0x0002;

// ---- virtual keys ---------------------------------------------------------------------------
constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
              VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
              VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
              VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
              VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
              VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_LWIN = 0x5B,
              VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
              VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
              VK_F1 = 0x70, VK_F4 = 0x73, VK_F10 = 0x79, VK_F12 = 0x7B, VK_NUMLOCK = 0x90,
              VK_SCROLL = 0x91, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2,
              VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5, VK_OEM_1 = 0xBA,
              VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
              VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD,
              VK_OEM_7 = 0xDE;

// ---- hooks ----------------------------------------------------------------------------------
constexpr int WH_CBT = 5;
constexpr int HCBT_MOVESIZE = 0, HCBT_MINMAX = 1, HCBT_ACTIVATE = 5, HCBT_CREATEWND = 3,
              HCBT_DESTROYWND = 4, HCBT_SETFOCUS = 9;
struct CBT_CREATEWND {
    CREATESTRUCT* lpcs = nullptr;
    HWND hwndInsertAfter;
};
struct CBTACTIVATESTRUCT {
    bool fMouse = false;
    HWND hWndActive; // the window active before
};

// Cursors (the standard set; a class or WM_SETCURSOR picks one).
enum class Cursor {
    Arrow,
    IBeam,
    Wait,
    Cross,
    SizeNWSE,
    SizeNESW,
    SizeWE,
    SizeNS,
    SizeAll,
    Hand,
    No
};

} // namespace platform
