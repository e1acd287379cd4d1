#pragma once
// A headless window system per test, a recording window class and small helpers.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace platform::testing {

struct Logged {
    HWND hwnd;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class WinTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<HeadlessBackend>();
        host = backend.get();
        system = std::make_unique<WindowSystem>(std::move(backend));
        WNDCLASS wc;
        wc.lpszClassName = "Recorder";
        wc.style = CS_DBLCLKS;
        wc.hbrBackground = RGB(255, 255, 255);
        wc.lpfnWndProc = WNDPROC::Bind([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            log.push_back({h, m, w, l});
            if (auto it = handlers.find(m); it != handlers.end()) {
                LRESULT result = 0;
                if (it->second(h, w, l, result))
                    return result;
            }
            return DefWindowProc(h, m, w, l);
        });
        ASSERT_TRUE(RegisterClass(wc));
    }
    void TearDown() override {
        handlers.clear();
        system.reset();
    }

    HWND TopLevel(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect r = {100, 100, 400, 300},
                  DWORD exStyle = 0) {
        return CreateWindowEx(exStyle, "Recorder", "Top", style, r.left, r.top, r.Width(),
                              r.Height(), HWND{}, 0, nullptr);
    }
    HWND Child(HWND parent, Rect r, DWORD style = WS_CHILD | WS_VISIBLE, int id = 1) {
        return CreateWindowEx(0, "Recorder", "", style, r.left, r.top, r.Width(), r.Height(),
                              parent, id, nullptr);
    }

    // Messages logged for a window (or all), in order.
    std::vector<UINT> Messages(HWND h = HWND{}) const {
        std::vector<UINT> out;
        for (const Logged& l : log)
            if (!h || l.hwnd == h)
                out.push_back(l.msg);
        return out;
    }
    std::vector<Logged> Of(UINT msg, HWND h = HWND{}) const {
        std::vector<Logged> out;
        for (const Logged& l : log)
            if (l.msg == msg && (!h || l.hwnd == h))
                out.push_back(l);
        return out;
    }
    // Position of the first msg for h in the log after `from`, or -1.
    int IndexOf(UINT msg, HWND h = HWND{}, int from = 0) const {
        for (int i = from; i < static_cast<int>(log.size()); ++i)
            if (log[i].msg == msg && (!h || log[i].hwnd == h))
                return i;
        return -1;
    }
    void Pump() { ProcessPendingMessages(); }
    Point ScreenOf(HWND h, Point client) {
        ClientToScreen(h, client);
        return client;
    }

    HeadlessBackend* host = nullptr;
    std::unique_ptr<WindowSystem> system;
    std::vector<Logged> log;
    // Per-message handlers: return true to answer with `result` instead of DefWindowProc.
    std::map<UINT, std::function<bool(HWND, WPARAM, LPARAM, LRESULT&)>> handlers;
};

// The colour of a top-level window's surface pixel (window coordinates).
inline Color SurfacePixel(HWND top, int x, int y) {
    const DibSection* s = GetWindowSurface(top);
    if (!s || x < 0 || y < 0 || x >= s->Width() || y >= s->Height())
        return 0xFFFFFFFF;
    const std::uint8_t* p = const_cast<DibSection*>(s)->Row(y) + x * 4;
    return RGB(p[2], p[1], p[0]);
}

} // namespace platform::testing
