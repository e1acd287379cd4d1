#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>

#include "platform/backend/sdl/SdlBackend.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "tests/support/Scoped.h"

namespace platform {
namespace {

TEST(SdlKeys, PhysicalPositionsGiveVirtualKeys) {
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_A), 'A');
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_0), '0');
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_F4), VK_F4);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_ENTER), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_RCTRL), VK_CONTROL);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_DOWN), VK_DOWN);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_MUTE), 0);
}

// SDL's dummy video driver has windows with surfaces but no display, so the backend's whole
// path (creation, showing, presenting, title, destruction) runs anywhere.
TEST(SdlBackendDummy, ShowsAndPresentsWindows) {
    const charvane::testing::ScopedEnvironment driver("SDL_VIDEODRIVER", "dummy");
    std::unique_ptr<SdlBackend> backend;
    try {
        backend = std::make_unique<SdlBackend>();
    } catch (const std::runtime_error& e) {
        GTEST_SKIP() << e.what();
    }
    WindowSystem ws(std::move(backend));
    WNDCLASS wc;
    wc.lpszClassName = "Plain";
    wc.lpfnWndProc = &DefWindowProc;
    wc.hbrBackground = RGB(0, 128, 0);
    ASSERT_TRUE(RegisterClass(wc));
    const HWND h = CreateWindowEx(0, "Plain", "Title", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                  200, 100, HWND{}, 0, nullptr);
    ASSERT_TRUE(h);
    ProcessPendingMessages();
    EXPECT_FALSE(GetUpdateRect(h, nullptr, false));
    MoveWindow(h, 20, 20, 150, 80, true);
    ProcessPendingMessages();
    Rect r;
    GetWindowRect(h, r);
    EXPECT_EQ(r, (Rect{20, 20, 170, 100}));
    EXPECT_TRUE(DestroyWindow(h));
}

// At a scale of 2 each window shows twice as large, in blocks of 2 x 2 identical device pixels,
// and what the host reports in device pixels comes back to our side in its own pixels.
TEST(SdlBackendDummy, ScaleTwoShowsWindowsDoubledAndMapsTheHostBack) {
    const charvane::testing::ScopedEnvironment driver("SDL_VIDEODRIVER", "dummy");
    const charvane::testing::ScopedEnvironment scale("CHARVANE_SCALE", "2");
    std::unique_ptr<SdlBackend> owned;
    try {
        owned = std::make_unique<SdlBackend>();
    } catch (const std::runtime_error& e) {
        GTEST_SKIP() << e.what();
    }
    SdlBackend& backend = *owned;
    WindowSystem ws(std::move(owned));
    static Point pressedAt;
    WNDCLASS wc;
    wc.lpszClassName = "Pressed";
    wc.lpfnWndProc = +[](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_LBUTTONDOWN)
            pressedAt = LParamToPoint(lParam);
        return DefWindowProc(h, msg, wParam, lParam);
    };
    wc.hbrBackground = RGB(0, 128, 0);
    ASSERT_TRUE(RegisterClass(wc));
    const HWND h = CreateWindowEx(0, "Pressed", "", WS_POPUP | WS_BORDER | WS_VISIBLE, 10, 10, 200,
                                  100, HWND{}, 0, nullptr);
    ASSERT_TRUE(h);
    ProcessPendingMessages();
    const Rect screen = backend.ScreenRect();

    SDL_Window* host = SDL_GetMouseFocus();
    for (Uint32 id = 1; !host && id < 64; ++id)
        host = SDL_GetWindowFromID(id);
    ASSERT_NE(host, nullptr);
    int x = 0, y = 0, w = 0, hgt = 0;
    SDL_GetWindowPosition(host, &x, &y);
    SDL_GetWindowSize(host, &w, &hgt);
    EXPECT_EQ(Rect::FromSize(x, y, w, hgt), (Rect{20, 20, 420, 220}));
    SDL_Surface* shown = SDL_GetWindowSurface(host);
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->format->BytesPerPixel, 4);
    auto pixel = [&](int px, int py) {
        return static_cast<const Uint32*>(shown->pixels)[py * shown->pitch / 4 + px];
    };
    int unlikeBlocks = 0;
    for (int py = 0; py + 1 < hgt; py += 2)
        for (int px = 0; px + 1 < w; px += 2) {
            const Uint32 c = pixel(px, py);
            unlikeBlocks +=
                pixel(px + 1, py) != c || pixel(px, py + 1) != c || pixel(px + 1, py + 1) != c;
        }
    EXPECT_EQ(unlikeBlocks, 0);
    EXPECT_NE(pixel(0, 0), pixel(w / 2, hgt / 2)) << "the border shows as drawn";
    EXPECT_EQ(pixel(w - 3, hgt - 3), pixel(w / 2, hgt / 2)) << "the last column is filled";

    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.windowID = SDL_GetWindowID(host);
    press.button.button = SDL_BUTTON_LEFT;
    press.button.state = SDL_PRESSED;
    press.button.x = 101; // device pixels 100 and 101 are our 50
    press.button.y = 61;
    SDL_PushEvent(&press);
    ProcessPendingMessages();
    Point expected{10 + 50, 10 + 30};
    ScreenToClient(h, expected);
    EXPECT_EQ(pressedAt, expected);

    MoveWindow(h, 30, 40, 150, 80, true);
    ProcessPendingMessages();
    SDL_GetWindowPosition(host, &x, &y);
    SDL_GetWindowSize(host, &w, &hgt);
    EXPECT_EQ(Rect::FromSize(x, y, w, hgt), (Rect{60, 80, 360, 240}));
    Rect r;
    GetWindowRect(h, r);
    EXPECT_EQ(r, (Rect{30, 40, 180, 120})) << "the host's report maps back unchanged";
    EXPECT_EQ(screen.Width() * 2, [] {
        SDL_Rect d{};
        SDL_GetDisplayBounds(0, &d);
        return d.w;
    }());
    EXPECT_TRUE(DestroyWindow(h));
}

} // namespace
} // namespace platform
