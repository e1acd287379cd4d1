#include "WinTestSupport.h"

namespace platform::testing {
namespace {

using MessageLoop = WinTest;

// Paint before timers: a window whose timer keeps firing still gets to show each step.
TEST_F(MessageLoop, HandsOutPostedThenPaintThenTimers) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
    Pump();
    SetTimer(h, 7, 100);
    host->Advance(100);
    InvalidateRect(h, nullptr, false);
    PostMessage(h, WM_USER + 1, 0, 0);
    PostMessage(h, WM_USER + 2, 0, 0);
    std::vector<UINT> order;
    MSG m;
    while (PeekMessage(m, HWND{}, 0, 0, PM_REMOVE)) {
        order.push_back(m.message);
        DispatchMessage(m);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_PAINT, WM_TIMER}));
}

TEST_F(MessageLoop, PostedMessagesForDestroyedWindowsAreDropped) {
    const HWND a = TopLevel(WS_POPUP);
    const HWND b = TopLevel(WS_POPUP);
    PostMessage(a, WM_USER, 1, 0);
    PostMessage(b, WM_USER, 2, 0);
    DestroyWindow(a);
    log.clear();
    Pump();
    ASSERT_EQ(Of(WM_USER).size(), 1u);
    EXPECT_EQ(Of(WM_USER)[0].hwnd, b);
}

TEST_F(MessageLoop, SendIsSynchronousAndReentrant) {
    const HWND h = TopLevel(WS_POPUP);
    int depth = 0;
    handlers[WM_USER] = [&](HWND w, WPARAM n, LPARAM, LRESULT& r) {
        ++depth;
        r = n == 0 ? 1 : static_cast<LRESULT>(n) * SendMessage(w, WM_USER, n - 1, 0);
        return true;
    };
    EXPECT_EQ(SendMessage(h, WM_USER, 5, 0), 120);
    EXPECT_EQ(depth, 6);
}

TEST_F(MessageLoop, QuitEndsGetMessageAfterQueuedMessages) {
    const HWND h = TopLevel(WS_POPUP);
    PostQuitMessage(3);
    PostMessage(h, WM_USER, 0, 0);
    MSG m;
    ASSERT_TRUE(GetMessage(m, HWND{}, 0, 0));
    EXPECT_EQ(m.message, WM_USER);
    EXPECT_FALSE(GetMessage(m, HWND{}, 0, 0));
    EXPECT_EQ(m.wParam, 3u);
}

TEST_F(MessageLoop, FiltersByWindowAndRange) {
    const HWND a = TopLevel(WS_POPUP);
    const HWND b = TopLevel(WS_POPUP);
    PostMessage(a, WM_USER, 0, 0);
    PostMessage(b, WM_USER + 5, 0, 0);
    MSG m;
    ASSERT_TRUE(PeekMessage(m, b, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 5u);
    ASSERT_TRUE(PeekMessage(m, HWND{}, WM_USER + 1, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(m.hwnd, b);
    ASSERT_TRUE(PeekMessage(m, HWND{}, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.hwnd, a);
    EXPECT_FALSE(PeekMessage(m, HWND{}, 0, 0, PM_REMOVE));
}

using Timers = WinTest;

TEST_F(Timers, FireOnTheTestClockAndCoalesce) {
    const HWND h = TopLevel(WS_POPUP);
    SetTimer(h, 1, 100);
    host->Advance(99);
    Pump();
    EXPECT_TRUE(Of(WM_TIMER).empty());
    host->Advance(1);
    Pump();
    ASSERT_EQ(Of(WM_TIMER).size(), 1u);
    EXPECT_EQ(Of(WM_TIMER)[0].wParam, 1u);
    host->Advance(350); // three intervals late: one message, not three
    Pump();
    EXPECT_EQ(Of(WM_TIMER).size(), 2u);
    host->Advance(100);
    Pump();
    EXPECT_EQ(Of(WM_TIMER).size(), 3u);
    EXPECT_TRUE(KillTimer(h, 1));
    EXPECT_FALSE(KillTimer(h, 1));
    host->Advance(1000);
    Pump();
    EXPECT_EQ(Of(WM_TIMER).size(), 3u);
}

TEST_F(Timers, GetMessageWaitsForTheNextTimerOnTheTestClock) {
    const HWND h = TopLevel(WS_POPUP);
    SetTimer(h, 1, 400);
    SetTimer(h, 2, 100); // a short interval raised to the minimum
    SetTimer(h, 3, 1);
    const std::uint64_t start = host->NowMs();
    MSG m;
    ASSERT_TRUE(GetMessage(m, HWND{}, 0, 0));
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_EQ(host->NowMs() - start, 10u);
    KillTimer(h, 3);
    ASSERT_TRUE(GetMessage(m, HWND{}, 0, 0));
    EXPECT_EQ(m.wParam, 2u);
    EXPECT_EQ(host->NowMs() - start, 100u);
    KillTimer(h, 1);
    KillTimer(h, 2);
    EXPECT_THROW(GetMessage(m, HWND{}, 0, 0), std::logic_error)
        << "nothing can ever arrive: a test bug, reported rather than hanging";
}

TEST_F(Timers, DieWithTheirWindow) {
    const HWND h = TopLevel(WS_POPUP);
    SetTimer(h, 1, 50);
    DestroyWindow(h);
    host->Advance(100);
    MSG m;
    EXPECT_FALSE(PeekMessage(m, HWND{}, 0, 0, PM_REMOVE));
    EXPECT_EQ(SetTimer(h, 1, 50), 0u);
}

using Hooks = WinTest;

TEST_F(Hooks, CbtSeesCreationBeforeTheWindowAndMayRefuseIt) {
    std::vector<std::string> seen;
    int refuse = 0;
    HHOOK hook = 0;
    hook = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
        if (code == HCBT_CREATEWND) {
            auto* cbt = reinterpret_cast<CBT_CREATEWND*>(l);
            seen.push_back(std::string(cbt->lpcs->lpszClass) + "/" + cbt->lpcs->lpszName);
            EXPECT_TRUE(IsWindow(HwndFromParam(w)));
            EXPECT_TRUE(log.empty()) << "before any message";
            if (refuse)
                return 1;
        }
        return CallNextHookEx(hook, code, w, l);
    });
    ASSERT_NE(hook, 0);
    log.clear();
    const HWND h = CreateWindowEx(0, "Recorder", "One", WS_POPUP, 0, 0, 5, 5, HWND{}, 0, nullptr);
    EXPECT_TRUE(h);
    refuse = 1;
    log.clear();
    EXPECT_FALSE(CreateWindowEx(0, "Recorder", "Two", WS_POPUP, 0, 0, 5, 5, HWND{}, 0, nullptr));
    EXPECT_TRUE(log.empty()) << "a refused window gets no message at all";
    EXPECT_EQ(seen, (std::vector<std::string>{"Recorder/One", "Recorder/Two"}));
    EXPECT_TRUE(UnhookWindowsHookEx(hook));
    EXPECT_FALSE(UnhookWindowsHookEx(hook));
    EXPECT_TRUE(TopLevel(WS_POPUP));
}

TEST_F(Hooks, CbtSeesActivationAndChainsToOlderHooks) {
    std::vector<std::pair<std::string, HWND>> seen;
    HHOOK older = 0, newer = 0;
    older = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
        if (code == HCBT_ACTIVATE)
            seen.emplace_back("older", HwndFromParam(w));
        return CallNextHookEx(older, code, w, l);
    });
    newer = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
        if (code == HCBT_ACTIVATE) {
            seen.emplace_back("newer", HwndFromParam(w));
            auto* a = reinterpret_cast<CBTACTIVATESTRUCT*>(l);
            EXPECT_FALSE(a->fMouse);
        }
        return CallNextHookEx(newer, code, w, l);
    });
    const HWND a = TopLevel();
    const HWND b = TopLevel();
    const std::vector<std::pair<std::string, HWND>> expected{
        {"newer", a}, {"older", a}, {"newer", b}, {"older", b}};
    EXPECT_EQ(seen, expected);
    UnhookWindowsHookEx(newer);
    UnhookWindowsHookEx(older);
}

TEST_F(Hooks, RefusedActivationLeavesTheActiveWindow) {
    const HWND a = TopLevel();
    HHOOK hook = SetWindowsHookEx(
        WH_CBT, [](int code, WPARAM, LPARAM) -> LRESULT { return code == HCBT_ACTIVATE ? 1 : 0; });
    const HWND b = TopLevel();
    EXPECT_TRUE(IsWindowVisible(b));
    EXPECT_EQ(GetActiveWindow(), a);
    UnhookWindowsHookEx(hook);
}

TEST(RegisteredMessages, SameNameSameNumber) {
    WindowSystem ws(std::make_unique<HeadlessBackend>());
    const UINT a = RegisterWindowMessage("SM_SKINCMD");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage("sm_skincmd"), a);
    EXPECT_NE(RegisterWindowMessage("other"), a);
}

} // namespace
} // namespace platform::testing
