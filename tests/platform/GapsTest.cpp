// Application activation, hover tracking, timer callbacks and moving or sizing by keyboard.

#include "WinTestSupport.h"

#include "platform/win/SystemMetrics.h"

namespace platform::testing {
namespace {

using AppActivation = WinTest;

TEST_F(AppActivation, OnlyChangesBetweenOurWindowsAndTheHostAreAnnounced) {
    const HWND a = TopLevel();
    const HWND hidden = TopLevel(WS_OVERLAPPEDWINDOW, {500, 100, 700, 300});
    auto activateApp = [&] {
        std::vector<std::pair<HWND, WPARAM>> out;
        for (const Logged& l : log)
            if (l.msg == WM_ACTIVATEAPP)
                out.emplace_back(l.hwnd, l.wParam);
        return out;
    };
    // The first activation came from nowhere: every top-level window of ours heard of it.
    ASSERT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(Of(WM_ACTIVATEAPP, a).size(), 1u);
    EXPECT_LT(IndexOf(WM_ACTIVATEAPP, a), IndexOf(WM_NCACTIVATE, a));

    log.clear();
    const HWND b = TopLevel();
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_TRUE(activateApp().empty()) << "from one of our windows to another";

    log.clear();
    host->HostDeactivate();
    Pump();
    const std::vector<std::pair<HWND, WPARAM>> off{{b, 0}, {hidden, 0}, {a, 0}};
    EXPECT_EQ(activateApp(), off) << "every top-level window, hidden ones too";
    EXPECT_LT(IndexOf(WM_ACTIVATE, b), IndexOf(WM_ACTIVATEAPP, b)) << "after the deactivation";

    log.clear();
    host->HostFocus(a);
    Pump();
    EXPECT_EQ(activateApp().size(), 3u);
    EXPECT_EQ(Of(WM_ACTIVATEAPP, a).at(0).wParam, 1u);
    EXPECT_LT(IndexOf(WM_ACTIVATEAPP, a), IndexOf(WM_ACTIVATE, a));

    // The last window going away leaves the activation to the host.
    DestroyWindow(b);
    DestroyWindow(hidden);
    log.clear();
    DestroyWindow(a);
    EXPECT_EQ(Of(WM_ACTIVATEAPP, a).size(), 1u);
    EXPECT_EQ(GetActiveWindow(), HWND{});
}

TEST_F(AppActivation, AWindowActivatedWhileTheAppLosesTheActivationKeepsIt) {
    const HWND a = TopLevel();
    const HWND b = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {500, 100, 700, 300});
    handlers[WM_ACTIVATE] = [&](HWND h, WPARAM w, LPARAM, LRESULT&) {
        if (h == b && LOWORD(w) == WA_INACTIVE)
            SetActiveWindow(a);
        return false;
    };
    log.clear();
    host->HostDeactivate();
    Pump();
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_TRUE(Of(WM_ACTIVATEAPP).empty()) << "the application never lost the activation";
}

using Hover = WinTest;

TEST_F(Hover, ComesAfterTheMouseRestsForTheHoverTime) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    const HWND child = Child(top, {10, 10, 110, 110});
    host->MouseMove({50, 50});
    Pump();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_HOVER | TME_LEAVE;
    tme.hwndTrack = child;
    tme.dwHoverTime = HOVER_DEFAULT;
    ASSERT_TRUE(TrackMouseEvent(tme));
    TRACKMOUSEEVENT query;
    query.dwFlags = TME_QUERY;
    TrackMouseEvent(query);
    EXPECT_EQ(query.dwFlags, TME_HOVER | TME_LEAVE);
    EXPECT_EQ(query.dwHoverTime, 400u);

    host->Advance(300);
    host->MouseMove({52, 48}); // within the hover rectangle: still resting
    Pump();
    host->Advance(99);
    Pump();
    EXPECT_TRUE(Of(WM_MOUSEHOVER).empty());
    host->Advance(1);
    Pump();
    ASSERT_EQ(Of(WM_MOUSEHOVER).size(), 1u);
    EXPECT_EQ(Of(WM_MOUSEHOVER)[0].hwnd, child);
    EXPECT_EQ(LParamToPoint(Of(WM_MOUSEHOVER)[0].lParam), (Point{42, 38})) << "client point";

    // Once only; the leave tracking goes on.
    host->Advance(1000);
    Pump();
    EXPECT_EQ(Of(WM_MOUSEHOVER).size(), 1u);
    query.dwFlags = TME_QUERY;
    TrackMouseEvent(query);
    EXPECT_EQ(query.dwFlags, TME_LEAVE);

    // Moving on restarts the wait; a custom time counts from the last move.
    tme.dwFlags = TME_HOVER;
    tme.dwHoverTime = 50;
    TrackMouseEvent(tme);
    host->MouseMove({60, 60}, 40);
    host->Advance(40);
    Pump();
    host->Advance(49);
    Pump();
    EXPECT_EQ(Of(WM_MOUSEHOVER).size(), 1u);
    host->Advance(1);
    Pump();
    EXPECT_EQ(Of(WM_MOUSEHOVER).size(), 2u);
}

TEST_F(Hover, LeavingOrCancellingEndsIt) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    const HWND child = Child(top, {10, 10, 110, 110});
    host->MouseMove({50, 50});
    Pump();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_HOVER;
    tme.hwndTrack = child;
    TrackMouseEvent(tme);
    host->MouseMove({150, 150}, 100); // over the parent now
    host->Advance(100);
    Pump();
    host->Advance(1000);
    Pump();
    EXPECT_TRUE(Of(WM_MOUSEHOVER).empty());

    host->MouseMove({50, 50});
    Pump();
    TrackMouseEvent(tme);
    tme.dwFlags = TME_CANCEL | TME_HOVER;
    TrackMouseEvent(tme);
    host->Advance(1000);
    Pump();
    EXPECT_TRUE(Of(WM_MOUSEHOVER).empty());

    // Asked for while the mouse is elsewhere: nothing to wait for.
    host->MouseMove({150, 150});
    Pump();
    tme.dwFlags = TME_HOVER;
    TrackMouseEvent(tme);
    host->Advance(1000);
    Pump();
    EXPECT_TRUE(Of(WM_MOUSEHOVER).empty());
}

TEST_F(Hover, TakesItsTurnWithTheTimersAndWakesTheLoop) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    host->MouseMove({50, 50});
    Pump();
    SetTimer(top, 7, 500);
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_HOVER;
    tme.hwndTrack = top;
    TrackMouseEvent(tme);
    InvalidateRect(top, nullptr, false);
    const std::uint64_t start = host->NowMs();
    MSG m;
    ASSERT_TRUE(GetMessage(m, HWND{}, 0, 0));
    EXPECT_EQ(m.message, WM_PAINT) << "nothing due yet: paint first";
    DispatchMessage(m);
    ASSERT_TRUE(GetMessage(m, HWND{}, 0, 0));
    EXPECT_EQ(m.message, WM_MOUSEHOVER) << "the loop waits for the hover as for a timer";
    EXPECT_EQ(host->NowMs() - start, 400u);
    EXPECT_EQ(m.hwnd, top);
    ASSERT_TRUE(GetMessage(m, HWND{}, 0, 0));
    EXPECT_EQ(m.message, WM_TIMER);

    // The non-client kind answers the hit code and a screen point.
    const HWND framed = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {300, 100, 500, 300});
    host->MouseMove({400, 108}); // the caption
    Pump();
    tme.dwFlags = TME_HOVER | TME_NONCLIENT;
    tme.hwndTrack = framed;
    TrackMouseEvent(tme);
    host->Advance(400);
    Pump();
    ASSERT_EQ(Of(WM_NCMOUSEHOVER, framed).size(), 1u);
    EXPECT_EQ(Of(WM_NCMOUSEHOVER, framed)[0].wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(LParamToPoint(Of(WM_NCMOUSEHOVER, framed)[0].lParam), (Point{400, 108}));
}

TEST_F(Hover, AFilteredWaitIsNotWokenByOtherWindowsTimers) {
    const HWND a = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    const HWND b = TopLevel(WS_POPUP | WS_VISIBLE, {200, 0, 300, 100});
    Pump();
    SetTimer(a, 1, 100);
    SetTimer(b, 2, 300);
    host->MouseMove({50, 50});
    Pump();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_HOVER;
    tme.hwndTrack = a;
    TrackMouseEvent(tme);
    const std::uint64_t start = host->NowMs();
    MSG m;
    ASSERT_TRUE(GetMessage(m, b, 0, 0)); // a's timer and hover fall due first, unseen
    EXPECT_EQ(m.hwnd, b);
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(host->NowMs() - start, 300u);
    ASSERT_TRUE(GetMessage(m, HWND{}, WM_MOUSEHOVER, WM_MOUSEHOVER));
    EXPECT_EQ(m.hwnd, a);
}

using TimerCallbacks = WinTest;

TEST_F(TimerCallbacks, TheCallbackTakesTheMessageInsteadOfTheWindow) {
    const HWND h = TopLevel(WS_POPUP);
    std::vector<std::tuple<HWND, UINT, UINT_PTR, DWORD>> calls;
    SetTimer(h, 5, 100, [&](HWND w, UINT msg, UINT_PTR id, DWORD time) {
        calls.emplace_back(w, msg, id, time);
    });
    host->Advance(100);
    const DWORD due = static_cast<DWORD>(host->NowMs());
    Pump();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], std::make_tuple(h, WM_TIMER, UINT_PTR{5}, due));
    EXPECT_TRUE(Of(WM_TIMER, h).empty());

    // Setting the timer again without a callback gives the messages back to the window.
    SetTimer(h, 5, 100);
    host->Advance(100);
    Pump();
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(Of(WM_TIMER, h).size(), 1u);
    EXPECT_EQ(Of(WM_TIMER, h)[0].lParam, 0);

    // Thread timers have no window: the callback is their only receiver.
    const UINT_PTR id = SetTimer(HWND{}, 0, 50, [&](HWND w, UINT, UINT_PTR tid, DWORD) {
        calls.emplace_back(w, WM_TIMER, tid, 0);
        KillTimer(HWND{}, tid); // a callback may end its own timer
    });
    host->Advance(200);
    Pump();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(std::get<0>(calls[1]), HWND{});
    EXPECT_EQ(std::get<2>(calls[1]), id);
    host->Advance(200);
    Pump();
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(TimerCallbacks, AMessageOutlivingItsTimerCallsNothing) {
    const HWND h = TopLevel(WS_POPUP);
    int calls = 0;
    SetTimer(h, 1, 100, [&](HWND, UINT, UINT_PTR, DWORD) { ++calls; });
    host->Advance(100);
    MSG m;
    ASSERT_TRUE(PeekMessage(m, HWND{}, 0, 0, PM_REMOVE));
    ASSERT_EQ(m.message, WM_TIMER);
    ASSERT_NE(m.lParam, 0);
    KillTimer(h, 1);
    DispatchMessage(m);
    EXPECT_EQ(calls, 0);
    // Nor does a made-up key posted by someone: the window gets its message as posted.
    PostMessage(h, WM_TIMER, 1, 12345);
    Pump();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(Of(WM_TIMER, h).size(), 2u);
}

using AltKeys = WinTest;

TEST_F(AltKeys, TextTypedWithAltHeldIsAMnemonicNotText) {
    const HWND h = TopLevel();
    const HWND edit = Child(h, {10, 10, 100, 30});
    SetFocus(edit);
    host->KeyDown(VK_MENU);
    host->Text("a");
    host->KeyUp(VK_MENU);
    host->Text("b");
    Pump();
    ASSERT_EQ(Of(WM_SYSCHAR, edit).size(), 1u);
    EXPECT_EQ(Of(WM_SYSCHAR, edit)[0].wParam, static_cast<WPARAM>('a'));
    ASSERT_EQ(Of(WM_CHAR, edit).size(), 1u);
    EXPECT_EQ(Of(WM_CHAR, edit)[0].wParam, static_cast<WPARAM>('b'));
    // Ctrl and Alt together type the layout's third level: plain text.
    host->KeyDown(VK_CONTROL);
    host->KeyDown(VK_MENU);
    host->Text("@");
    host->KeyUp(VK_MENU);
    host->KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(Of(WM_CHAR, edit).back().wParam, static_cast<WPARAM>('@'));
}

using KeyboardMoveSize = WinTest;

TEST_F(KeyboardMoveSize, ArrowsMoveEnterKeepsEscapeRestores) {
    const HWND h = TopLevel(); // 100, 100, 400, 300
    host->Key(VK_RIGHT);
    host->Key(VK_RIGHT);
    host->Key(VK_DOWN);
    host->Key(VK_RETURN);
    SendMessage(h, WM_SYSCOMMAND, SC_MOVE, 0);
    Rect r;
    GetWindowRect(h, r);
    EXPECT_EQ(r, (Rect{116, 108, 416, 308}));
    EXPECT_EQ(Of(WM_ENTERSIZEMOVE, h).size(), 1u);
    EXPECT_EQ(Of(WM_EXITSIZEMOVE, h).size(), 1u);
    EXPECT_TRUE(Of(WM_KEYDOWN, h).empty()) << "the loop keeps the keys to itself";
    EXPECT_EQ(GetCapture(), HWND{});

    host->Key(VK_LEFT);
    host->Key(VK_UP);
    host->Key(VK_ESCAPE);
    SendMessage(h, WM_SYSCOMMAND, SC_MOVE, 0);
    GetWindowRect(h, r);
    EXPECT_EQ(r, (Rect{116, 108, 416, 308})) << "Escape puts it back";
}

TEST_F(KeyboardMoveSize, TheFirstArrowChoosesTheEdgeToSize) {
    const HWND h = TopLevel(); // 100, 100, 400, 300
    host->Key(VK_RIGHT);       // the right edge
    host->Key(VK_RIGHT);
    host->Key(VK_RIGHT);
    host->Key(VK_UP); // and the top edge
    host->Key(VK_UP);
    host->Key(VK_RETURN);
    SendMessage(h, WM_SYSCOMMAND, SC_SIZE, 0);
    Rect r;
    GetWindowRect(h, r);
    EXPECT_EQ(r, (Rect{100, 92, 416, 300}));

    // The left edge chosen, moving it right shrinks the window, never below the smallest
    // track size.
    host->Key(VK_LEFT);
    for (int i = 0; i < 100; ++i)
        host->Key(VK_RIGHT);
    host->Key(VK_RETURN);
    SendMessage(h, WM_SYSCOMMAND, SC_SIZE, 0);
    GetWindowRect(h, r);
    EXPECT_EQ(r.right, 416);
    EXPECT_EQ(r.Width(), GetSystemMetrics(SM_CXMINTRACK));
}

TEST_F(KeyboardMoveSize, ReachedFromTheSystemMenuByKeys) {
    const HWND h = TopLevel();
    host->KeyDown(VK_MENU);
    host->Key(VK_SPACE);
    host->KeyUp(VK_MENU);
    host->Key('M');
    host->Text("m");
    host->Key(VK_LEFT);
    host->Key(VK_RETURN);
    ProcessPendingMessages();
    Rect r;
    GetWindowRect(h, r);
    EXPECT_EQ(r, (Rect{92, 100, 392, 300}));
}

TEST_F(KeyboardMoveSize, APointerMoveCarriesTheWindowAndAClickKeepsIt) {
    const HWND h = TopLevel();
    host->MouseMove({200, 200});
    Pump();
    host->MouseMove({230, 190});
    host->Click({230, 190});
    SendMessage(h, WM_SYSCOMMAND, SC_MOVE, 0);
    Rect r;
    GetWindowRect(h, r);
    EXPECT_EQ(r, (Rect{130, 90, 430, 290}));
    EXPECT_EQ(GetCapture(), HWND{});
}

} // namespace
} // namespace platform::testing
