#include "toolkit/THintWindow.h"

#include <algorithm>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/Colors.h"

namespace toolkit {
namespace {

constexpr const char* kHintClass = "THintWindow";
constexpr unsigned kTextFormat = platform::DT_LEFT | platform::DT_NOPREFIX | platform::DT_WORDBREAK;

void EnsureClass() {
    platform::WNDCLASS wc;
    if (platform::GetClassInfo(kHintClass, wc))
        return;
    wc = platform::WNDCLASS{};
    wc.lpszClassName = kHintClass;
    wc.style = platform::CS_SAVEBITS;
    wc.lpfnWndProc = &platform::DefWindowProc;
    platform::RegisterClass(wc);
}

} // namespace

THintWindow::~THintWindow() {
    ReleaseHandle();
}

platform::Rect THintWindow::CalcHintRect(const std::string& hint) const {
    const platform::TextLayout layout = platform::LayoutText(
        *platform::DefaultGuiFont(), hint, platform::Rect{0, 0, kMaxWidth, 10000}, kTextFormat);
    // Two pixels of room around the text and one of frame.
    return {0, 0, layout.width + 6, layout.height + 4};
}

void THintWindow::ActivateHint(platform::Rect rect, const std::string& hint) {
    using namespace platform;
    if (!WindowSystem::Running())
        return;
    m_caption = hint;
    const Rect work = GetWorkArea();
    rect =
        rect.Offset(std::min(0, work.right - rect.right), std::min(0, work.bottom - rect.bottom));
    rect = rect.Offset(std::max(0, work.left - rect.left), std::max(0, work.top - rect.top));
    if (!IsWindow(m_handle)) {
        EnsureClass();
        m_handle = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kHintClass,
                                  "", WS_POPUP, rect.left, rect.top, rect.Width(), rect.Height(),
                                  {}, 0, nullptr);
        if (!m_handle)
            return;
        SetWindowProc(m_handle, WNDPROC::Bind([this](HWND h, UINT msg, WPARAM w, LPARAM l) {
                          switch (msg) {
                          case WM_PAINT:
                              Paint(h);
                              return LRESULT{0};
                          case WM_ERASEBKGND:
                              return LRESULT{1};
                          case WM_NCHITTEST:
                              return static_cast<LRESULT>(HTTRANSPARENT);
                          case WM_MOUSEACTIVATE:
                              return static_cast<LRESULT>(MA_NOACTIVATE);
                          default:
                              return DefWindowProc(h, msg, w, l);
                          }
                      }));
    } else {
        MoveWindow(m_handle, rect.left, rect.top, rect.Width(), rect.Height(), false);
    }
    InvalidateRect(m_handle, nullptr, true);
    ShowWindow(m_handle, SW_SHOWNA);
    UpdateWindow(m_handle);
}

void THintWindow::ReleaseHandle() {
    m_caption.clear();
    if (platform::WindowSystem::Running() && platform::IsWindow(m_handle))
        platform::DestroyWindow(m_handle);
    m_handle = {};
}

bool THintWindow::Showing() const {
    return platform::WindowSystem::Running() && platform::IsWindow(m_handle) &&
           platform::IsWindowVisible(m_handle);
}

void THintWindow::Paint(platform::HWND h) {
    using namespace platform;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    if (dc) {
        Rect client;
        GetClientRect(h, client);
        FillRect(*dc, client, RGB(0, 0, 0));
        FillRect(*dc, client.Inflate(-1, -1), ColorToRGB(clInfoBk));
        DcStateGuard guard(*dc);
        SelectFont(*dc, DefaultGuiFont());
        SetBkMode(*dc, BkMode::Transparent);
        SetTextColor(*dc, ColorToRGB(clInfoText));
        Rect text{client.left + 3, client.top + 2, client.right - 3, client.bottom - 2};
        DrawText(*dc, m_caption, text, kTextFormat);
    }
    EndPaint(h, ps);
}

} // namespace toolkit
