// The window layer's painting cost: a full repaint of a window laid out like the program's main
// window (panels, buttons, edits, a grid of text cells and a memo of monospaced text art, about
// forty children) on the headless backend, and text drawn through the glyph cache.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

using namespace platform;

namespace {

std::shared_ptr<Font> Face(const char* name, int height, int weight = FW_NORMAL) {
    LOGFONT lf;
    lf.lfFaceName = name;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    return CreateFontIndirect(lf);
}

std::shared_ptr<Font>& UiFont() {
    static std::shared_ptr<Font> font = Face("MS Sans Serif", -11);
    return font;
}
std::shared_ptr<Font>& MonoFont() {
    static std::shared_ptr<Font> font = Face("Courier New", -12);
    return font;
}

// Lines of text art, as the converter writes them into the memo.
std::vector<std::string> ArtLines(int count, int width) {
    static const char kRamp[] = "@%#*+=-:. ";
    std::vector<std::string> lines;
    for (int y = 0; y < count; ++y) {
        std::string line;
        for (int x = 0; x < width; ++x)
            line += kRamp[(x * 7 + y * 3 + (x * y) / 5) % 10];
        lines.push_back(line);
    }
    return lines;
}

LRESULT PanelProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_PAINT)
        return DefWindowProc(h, msg, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    Rect r;
    GetClientRect(h, r);
    FillRect(*dc, r, GetSysColor(COLOR_BTNFACE));
    DrawEdge(*dc, r, EDGE_RAISED, BF_RECT);
    const std::string text = GetWindowText(h);
    if (!text.empty()) {
        SelectFont(*dc, UiFont());
        SetBkMode(*dc, BkMode::Transparent);
        DrawText(*dc, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(h, ps);
    return 0;
}

LRESULT ButtonProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_PAINT)
        return DefWindowProc(h, msg, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    Rect r;
    GetClientRect(h, r);
    DrawEdge(*dc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    SelectFont(*dc, UiFont());
    SetBkMode(*dc, BkMode::Transparent);
    DrawText(*dc, GetWindowText(h), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(h, ps);
    return 0;
}

LRESULT LabelProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_PAINT)
        return DefWindowProc(h, msg, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    Rect r;
    GetClientRect(h, r);
    FillRect(*dc, r, GetSysColor(COLOR_BTNFACE));
    SelectFont(*dc, UiFont());
    SetBkMode(*dc, BkMode::Transparent);
    DrawText(*dc, GetWindowText(h), r, DT_LEFT | DT_WORDBREAK);
    EndPaint(h, ps);
    return 0;
}

// An edit: sunken frame from the non-client edge, white face, the text in the interface font.
LRESULT EditProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_PAINT)
        return DefWindowProc(h, msg, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    Rect r;
    GetClientRect(h, r);
    SelectFont(*dc, UiFont());
    SetBkColor(*dc, RGB(255, 255, 255));
    ExtTextOut(*dc, 2, 2, ETO_OPAQUE | ETO_CLIPPED, &r, GetWindowText(h));
    EndPaint(h, ps);
    return 0;
}

// A two-column grid of text cells: a fixed header row, grid lines, one text per cell.
LRESULT GridProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_PAINT)
        return DefWindowProc(h, msg, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    Rect client;
    GetClientRect(h, client);
    SelectFont(*dc, UiFont());
    SetBkMode(*dc, BkMode::Transparent);
    constexpr int kRowHeight = 18, kColumns = 2;
    const int colWidth = client.Width() / kColumns;
    for (int row = 0; row * kRowHeight < client.bottom; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            Rect cell = Rect::FromSize(col * colWidth, row * kRowHeight, colWidth, kRowHeight);
            if (row == 0) {
                DrawEdge(*dc, cell, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
            } else {
                FillRect(*dc, cell, RGB(255, 255, 255));
                FrameRect(*dc, cell, GetSysColor(COLOR_BTNFACE));
                cell = cell.Inflate(-2, -1);
            }
            const std::string text = row == 0   ? (col == 0 ? "Символ" : "Яркость")
                                     : col == 0 ? std::string(1, "@%#*+=-:. "[row % 10])
                                                : std::to_string(row * 255 / 40);
            DrawText(*dc, text, cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
    }
    EndPaint(h, ps);
    return 0;
}

LRESULT MemoProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_PAINT)
        return DefWindowProc(h, msg, w, l);
    static const std::vector<std::string> lines = ArtLines(40, 100);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    Rect r;
    GetClientRect(h, r);
    FillRect(*dc, r, RGB(255, 255, 255));
    SelectFont(*dc, MonoFont());
    SetBkMode(*dc, BkMode::Transparent);
    TEXTMETRIC tm;
    GetTextMetrics(*dc, tm);
    for (std::size_t i = 0; i < lines.size(); ++i)
        TextOut(*dc, 1, static_cast<int>(i) * tm.tmHeight, lines[i]);
    EndPaint(h, ps);
    return 0;
}

void Register(const char* name, WindowProcFn proc, std::optional<Color> background = {}) {
    WNDCLASS wc;
    wc.lpszClassName = name;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = background;
    RegisterClass(wc);
}

HWND Make(const char* cls, const char* text, HWND parent, Rect r, DWORD style = 0,
          DWORD exStyle = 0) {
    return CreateWindowEx(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                          r.left, r.top, r.Width(), r.Height(), parent, 0, nullptr);
}

// The main window of the program, roughly: a tool panel along the top, a settings panel with
// the preview on the left, the character table in the middle and the memo on the right.
struct Scene {
    std::unique_ptr<WindowSystem> system;
    HWND top;
    HWND memo;
    int children = 0;

    Scene() {
        system = std::make_unique<WindowSystem>(
            std::make_unique<HeadlessBackend>(Rect{0, 0, 1280, 1024}));
        Register("BenchForm", &DefWindowProc, GetSysColor(COLOR_BTNFACE));
        Register("BenchPanel", &PanelProc);
        Register("BenchButton", &ButtonProc);
        Register("BenchLabel", &LabelProc);
        Register("BenchEdit", &EditProc);
        Register("BenchGrid", &GridProc);
        Register("BenchMemo", &MemoProc);
        Register("BenchPreview", &DefWindowProc, RGB(96, 96, 96));
        top = CreateWindowEx(0, "BenchForm", "Charvane", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40,
                             40, 782, 570, HWND{}, 0, nullptr);
        Rect client;
        GetClientRect(top, client);
        const DWORD container = WS_CLIPCHILDREN;

        const HWND tools = Make("BenchPanel", "", top, {0, 0, client.right, 40}, container);
        const char* toolNames[] = {"Открыть", "Сохранить", "Преобразовать",
                                   "Таблица", "Пороги",    "Справка"};
        for (int i = 0; i < 6; ++i)
            Make("BenchButton", toolNames[i], tools, Rect::FromSize(6 + i * 96, 8, 90, 25));
        Make("BenchLabel", "Ширина:", tools, Rect::FromSize(600, 13, 50, 16));
        Make("BenchEdit", "80", tools, Rect::FromSize(652, 9, 60, 21), 0, WS_EX_CLIENTEDGE);
        Make("BenchButton", "▲", tools, Rect::FromSize(714, 9, 17, 10));
        Make("BenchButton", "▼", tools, Rect::FromSize(714, 19, 17, 10));

        const HWND settings = Make("BenchPanel", "", top, {0, 40, 260, client.bottom}, container);
        Make("BenchPreview", "", settings, Rect::FromSize(8, 8, 244, 220), 0, WS_EX_CLIENTEDGE);
        const char* labels[] = {"Высота знака:", "Символов в строке:", "Строк на странице:",
                                "Генератор:",    "Уровней:",           "Контраст:"};
        for (int i = 0; i < 6; ++i) {
            const int y = 240 + i * 30;
            Make("BenchLabel", labels[i], settings, Rect::FromSize(8, y + 3, 120, 16));
            Make("BenchEdit", std::to_string(10 + i * 7).c_str(), settings,
                 Rect::FromSize(130, y, 100, 21), 0, WS_EX_CLIENTEDGE);
            Make("BenchButton", "", settings, Rect::FromSize(232, y, 17, 21));
        }
        // A status strip of three sunken parts, as panels inside a panel.
        const HWND status =
            Make("BenchPanel", "", settings,
                 {4, client.bottom - 40 - 28, 256, client.bottom - 40 - 4}, container);
        for (int i = 0; i < 3; ++i)
            Make("BenchPanel", i == 0 ? "Готово" : "", status,
                 Rect::FromSize(2 + i * 84, 2, 82, 20));
        Make("BenchButton", "По умолчанию", settings, Rect::FromSize(8, 420, 118, 25));
        Make("BenchButton", "Применить", settings, Rect::FromSize(132, 420, 118, 25));

        Make("BenchGrid", "", top, {262, 44, 462, client.bottom - 4}, WS_VSCROLL, WS_EX_CLIENTEDGE);
        memo = Make("BenchMemo", "", top, {466, 44, client.right - 4, client.bottom - 4},
                    WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE);
        SCROLLINFO si{SIF_ALL, 0, 99, 40, 0, 0};
        SetScrollInfo(memo, SB_HORZ, si, false);
        ShowWindow(top, SW_SHOWNORMAL);
        ProcessPendingMessages();
        children = static_cast<int>(CountChildren(top));
    }

    static std::size_t CountChildren(HWND h) {
        std::size_t n = 0;
        for (HWND c : GetChildren(h))
            n += 1 + CountChildren(c);
        return n;
    }

    // A picture of what the benchmark paints, to check it by eye: CHARVANE_BENCH_SHOT=file.ppm.
    void SaveShot() const {
        const char* path = std::getenv("CHARVANE_BENCH_SHOT");
        const DibSection* surface = GetWindowSurface(top);
        if (!path || !surface)
            return;
        std::FILE* f = std::fopen(path, "wb");
        if (!f)
            return;
        std::fprintf(f, "P6\n%d %d\n255\n", surface->Width(), surface->Height());
        for (int y = 0; y < surface->Height(); ++y) {
            const std::uint8_t* row = surface->Bits() + std::ptrdiff_t{y} * surface->WidthBytes();
            for (int x = 0; x < surface->Width(); ++x) {
                const std::uint8_t rgb[3] = {row[x * 4 + 2], row[x * 4 + 1], row[x * 4]};
                std::fwrite(rgb, 1, 3, f);
            }
        }
        std::fclose(f);
    }

    void FullRepaint() {
        RedrawWindow(top, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        ProcessPendingMessages();
    }
};

void BM_FullRepaint(benchmark::State& state) {
    Scene scene;
    for (auto _ : state)
        scene.FullRepaint();
    scene.SaveShot();
    state.counters["children"] = scene.children;
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

// A paint of only the memo, as typing or scrolling there causes.
void BM_MemoRepaint(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        InvalidateRect(scene.memo, nullptr, true);
        ProcessPendingMessages();
    }
}
BENCHMARK(BM_MemoRepaint)->Unit(benchmark::kMicrosecond);

struct TextTarget {
    std::shared_ptr<DibSection> section;
    std::unique_ptr<DeviceContext> dc = CreateCompatibleDC();
    explicit TextTarget(int bits) {
        BitmapInfo info;
        info.width = 800;
        info.height = -600;
        info.bitCount = static_cast<std::uint16_t>(bits);
        section = CreateDIBSection(info);
        SelectObject(*dc, section);
        FillRect(*dc, {0, 0, 800, 600}, RGB(255, 255, 255));
    }
};

// One memo line of text art through the glyph cache, into the 32-bit surface format.
void BM_TextOutArtLine(benchmark::State& state) {
    TextTarget t(static_cast<int>(state.range(0)));
    SelectFont(*t.dc, MonoFont());
    SetBkMode(*t.dc, BkMode::Transparent);
    const std::string line = ArtLines(1, 100)[0];
    for (auto _ : state)
        TextOut(*t.dc, 0, 10, line);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_TextOutArtLine)->Arg(32)->Arg(24)->Unit(benchmark::kMicrosecond);

// A button caption: centred, one line, through DrawText's layout.
void BM_DrawTextCaption(benchmark::State& state) {
    TextTarget t(32);
    SelectFont(*t.dc, UiFont());
    SetBkMode(*t.dc, BkMode::Transparent);
    for (auto _ : state) {
        Rect r{10, 10, 110, 35};
        DrawText(*t.dc, "Преобразовать", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}
BENCHMARK(BM_DrawTextCaption)->Unit(benchmark::kMicrosecond);

// A paragraph with word breaks, as labels and message boxes lay out.
void BM_DrawTextWrapped(benchmark::State& state) {
    TextTarget t(32);
    SelectFont(*t.dc, UiFont());
    SetBkMode(*t.dc, BkMode::Transparent);
    const std::string text = "Каждая строка картинки становится строкой текста: каждый пиксель "
                             "получает символ первой строки таблицы, чья граница не ниже его "
                             "яркости. The quick brown fox jumps over the lazy dog.";
    for (auto _ : state) {
        Rect r{10, 10, 250, 200};
        DrawText(*t.dc, text, r, DT_LEFT | DT_WORDBREAK);
    }
}
BENCHMARK(BM_DrawTextWrapped)->Unit(benchmark::kMicrosecond);

void BM_FillRect(benchmark::State& state) {
    TextTarget t(32);
    for (auto _ : state)
        FillRect(*t.dc, {5, 5, 5 + static_cast<int>(state.range(0)), 25}, RGB(212, 208, 200));
}
BENCHMARK(BM_FillRect)->Arg(16)->Arg(400)->Unit(benchmark::kMicrosecond);

} // namespace
