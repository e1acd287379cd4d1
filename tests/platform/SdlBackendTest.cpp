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

} // namespace
} // namespace platform
