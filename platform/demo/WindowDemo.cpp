// A small program that shows the window layer on a real screen: a framed, sizable window with a
// scroll bar, text in several faces, a child that opens a popup menu, a message box and a
// blinking caret. Run it with "--quit-after MS" to have it close itself (smoke runs), and with
// "--round R MS" to give it round corners of radius R (a window region) for MS milliseconds,
// after which the region is cleared and the window is square again.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/backend/sdl/SdlBackend.h"
#include "platform/gfx/text/TextDraw.h"
#include "platform/gfx/text/Utf8.h"
#include "platform/win/Caret.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Menu.h"
#include "platform/win/Message.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

using namespace platform;

namespace {

constexpr int kQuitTimer = 1;
constexpr int kSquareTimer = 2;
constexpr UINT_PTR kAbout = 10, kClose = 11;
int g_scroll = 0;
std::string g_typed = "Введите текст: ";

// Fonts are made once: opening a face on every paint would cost more than the painting, and
// a new font starts with an empty glyph cache.
std::shared_ptr<Font> Face(const char* name, int height, int weight = FW_NORMAL) {
    static std::map<std::tuple<std::string, int, int>, std::shared_ptr<Font>> fonts;
    auto& font = fonts[{name, height, weight}];
    if (!font) {
        LOGFONT lf;
        lf.lfFaceName = name;
        lf.lfHeight = height;
        lf.lfWeight = weight;
        font = CreateFontIndirect(lf);
    }
    return font;
}

LRESULT ButtonProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, ps);
        Rect r;
        GetClientRect(h, r);
        DrawEdge(*dc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
        SetBkMode(*dc, BkMode::Transparent);
        DrawText(*dc, "&Меню…", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(h, ps);
        return 0;
    }
    case WM_LBUTTONUP: {
        const HMENU menu = CreatePopupMenu();
        AppendMenu(menu, MF_STRING, kAbout, "&О программе…");
        AppendMenu(menu, MF_SEPARATOR, 0, "");
        AppendMenu(menu, MF_STRING, kClose, "&Закрыть\tAlt+F4");
        Point p{0, 0};
        Rect r;
        GetClientRect(h, r);
        p.y = r.bottom;
        ClientToScreen(h, p);
        const int command = TrackPopupMenu(menu, TPM_RETURNCMD, p.x, p.y, h);
        DestroyMenu(menu);
        if (command == kAbout)
            MessageBox(h, "Оконный слой: окна, сообщения, рамки, полосы прокрутки, меню и текст.",
                       "Charvane", MB_OK | MB_ICONINFORMATION);
        else if (command == kClose)
            PostMessage(GetAncestorRoot(h), WM_CLOSE, 0, 0);
        return 0;
    }
    default:
        return DefWindowProc(h, msg, w, l);
    }
}

// After the typed text, on the line it is drawn on.
void PlaceCaret() {
    const int width = TextExtent(*Face("MS Sans Serif", -11, FW_BOLD), Utf8ToUtf32(g_typed)).cx;
    SetCaretPos(10 + width, 40 + 3 * 24 + 8 - g_scroll);
}

LRESULT MainProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, ps);
        SetBkMode(*dc, BkMode::Transparent);
        const char* faces[] = {"MS Sans Serif", "Times New Roman", "Courier New"};
        int y = 40 - g_scroll;
        for (const char* face : faces) {
            SelectFont(*dc, Face(face, -16));
            TextOut(*dc, 10, y, std::string(face) + ": Съешь же ещё этих мягких французских булок");
            y += 24;
        }
        SelectFont(*dc, Face("MS Sans Serif", -11, FW_BOLD));
        TextOut(*dc, 10, y + 8, g_typed);
        EndPaint(h, ps);
        return 0;
    }
    case WM_VSCROLL: {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        GetScrollInfo(h, SB_VERT, si);
        int pos = si.nPos;
        switch (LOWORD(w)) {
        case SB_LINEUP:
            pos -= 5;
            break;
        case SB_LINEDOWN:
            pos += 5;
            break;
        case SB_PAGEUP:
            pos -= static_cast<int>(si.nPage);
            break;
        case SB_PAGEDOWN:
            pos += static_cast<int>(si.nPage);
            break;
        case SB_THUMBTRACK:
            pos = si.nTrackPos;
            break;
        default:
            break;
        }
        SetScrollPos(h, SB_VERT, pos, true);
        g_scroll = GetScrollPos(h, SB_VERT);
        InvalidateRect(h, nullptr, true);
        PlaceCaret();
        return 0;
    }
    case WM_SIZE: {
        SCROLLINFO si{SIF_RANGE | SIF_PAGE, 0, 300, static_cast<UINT>(HIWORD(l)), 0, 0};
        SetScrollInfo(h, SB_VERT, si, true);
        return 0;
    }
    case WM_SETFOCUS:
        CreateCaret(h, 1, 13);
        PlaceCaret();
        ShowCaret(h);
        return 0;
    case WM_KILLFOCUS:
        DestroyCaret();
        return 0;
    case WM_CHAR:
        if (w >= 32) {
            g_typed += Utf32ToUtf8(std::u32string(1, static_cast<char32_t>(w)));
            InvalidateRect(h, nullptr, true);
            PlaceCaret();
        }
        return 0;
    case WM_TIMER:
        if (w == kQuitTimer)
            DestroyWindow(h);
        if (w == kSquareTimer) {
            KillTimer(h, kSquareTimer);
            SetWindowRgn(h, std::nullopt, true);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProc(h, msg, w, l);
    }
}

// The window's rectangle with its four corners cut round, one run of rows per corner.
Region RoundCorners(HWND h, int radius) {
    Rect r;
    GetWindowRect(h, r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    Region shape(Rect{0, 0, width, height});
    for (int y = 0; y < radius; ++y) {
        const double dy = radius - y - 0.5;
        const int cut =
            radius - static_cast<int>(std::lround(std::sqrt(radius * radius - dy * dy)));
        if (cut <= 0)
            continue;
        for (const int row : {y, height - 1 - y}) {
            shape.Subtract(Rect{0, row, cut, row + 1});
            shape.Subtract(Rect{width - cut, row, width, row + 1});
        }
    }
    return shape;
}

} // namespace

int main(int argc, char** argv) {
    int quitAfter = 0, radius = 0, roundFor = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--quit-after") == 0)
            quitAfter = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--round") == 0 && i + 2 < argc) {
            radius = std::atoi(argv[i + 1]);
            roundFor = std::atoi(argv[i + 2]);
        }
    }
    try {
        WindowSystem system(std::make_unique<SdlBackend>());
        WNDCLASS main;
        main.lpszClassName = "DemoMain";
        main.lpfnWndProc = &MainProc;
        main.hbrBackground = GetSysColor(COLOR_BTNFACE);
        RegisterClass(main);
        WNDCLASS button;
        button.lpszClassName = "DemoButton";
        button.lpfnWndProc = &ButtonProc;
        RegisterClass(button);
        const HWND h = CreateWindowEx(0, "DemoMain", "Charvane — оконный слой",
                                      WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_CLIPCHILDREN, 80, 80,
                                      560, 300, HWND{}, 0, nullptr);
        CreateWindowEx(0, "DemoButton", "", WS_CHILD | WS_VISIBLE, 10, 8, 90, 24, h, 1, nullptr);
        ShowWindow(h, SW_SHOWNORMAL);
        if (quitAfter > 0)
            SetTimer(h, kQuitTimer, static_cast<UINT>(quitAfter));
        if (radius > 0) {
            SetWindowRgn(h, RoundCorners(h, radius), true);
            if (roundFor > 0)
                SetTimer(h, kSquareTimer, static_cast<UINT>(roundFor));
        }
        MSG m;
        while (GetMessage(m, HWND{}, 0, 0)) {
            TranslateMessage(m);
            DispatchMessage(m);
        }
        return static_cast<int>(m.wParam);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
