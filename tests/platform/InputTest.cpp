#include "WinTestSupport.h"

namespace platform::testing {
namespace {

using Activation = WinTest;

TEST_F(Activation, SwitchingTellsTheOldWindowFirst) {
    const HWND a = TopLevel();
    const HWND b = TopLevel(WS_OVERLAPPEDWINDOW);
    log.clear();
    ShowWindow(b, SW_SHOW);
    std::vector<std::pair<HWND, UINT>> seq;
    for (const Logged& l : log)
        if (l.msg == WM_NCACTIVATE || l.msg == WM_ACTIVATE || l.msg == WM_SETFOCUS ||
            l.msg == WM_KILLFOCUS)
            seq.emplace_back(l.hwnd, l.msg);
    const std::vector<std::pair<HWND, UINT>> expected{{a, WM_NCACTIVATE}, {a, WM_ACTIVATE},
                                                      {a, WM_KILLFOCUS},  {b, WM_NCACTIVATE},
                                                      {b, WM_ACTIVATE},   {b, WM_SETFOCUS}};
    EXPECT_EQ(seq, expected);
    EXPECT_EQ(LOWORD(Of(WM_ACTIVATE, a)[0].wParam), WA_INACTIVE);
    EXPECT_EQ(HwndFromParam(Of(WM_ACTIVATE, a)[0].lParam), b);
    EXPECT_EQ(LOWORD(Of(WM_ACTIVATE, b)[0].wParam), WA_ACTIVE);
    EXPECT_EQ(Of(WM_NCACTIVATE, b)[0].wParam, 1u);
    EXPECT_EQ(GetTopLevelWindows().front(), b);
}

TEST_F(Activation, HidingOrDestroyingTheActiveWindowActivatesAnother) {
    const HWND a = TopLevel();
    const HWND b = TopLevel();
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), a);
    ShowWindow(b, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), b);
    DestroyWindow(b);
    EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(Activation, SetFocusOnAChildOfAnInactiveWindowActivatesIt) {
    const HWND a = TopLevel();
    const HWND child = Child(a, {0, 0, 20, 20});
    const HWND b = TopLevel();
    ASSERT_EQ(GetActiveWindow(), b);
    log.clear();
    EXPECT_EQ(SetFocus(child), a) << "the activation gave the focus to the top-level first";
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), child);
    const int kill = IndexOf(WM_KILLFOCUS, a);
    const int set = IndexOf(WM_SETFOCUS, child);
    ASSERT_NE(kill, -1);
    EXPECT_LT(kill, set);
    EXPECT_EQ(HwndFromParam(log[set].wParam), a);
}

TEST_F(Activation, TheHostsFocusActivatesNormalWindowsOnly) {
    const HWND a = TopLevel();
    const HWND b = TopLevel();
    const HWND tip = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 10, 10}, WS_EX_NOACTIVATE);
    ASSERT_EQ(GetActiveWindow(), b);
    host->HostFocus(a);
    Pump();
    EXPECT_EQ(GetActiveWindow(), a);
    host->HostFocus(tip);
    Pump();
    EXPECT_EQ(GetActiveWindow(), a) << "a popup the host focused does not take the activation";
    log.clear();
    host->HostDeactivate();
    Pump();
    EXPECT_EQ(GetActiveWindow(), HWND{});
    ASSERT_EQ(Of(WM_NCACTIVATE, a).size(), 1u);
    EXPECT_EQ(Of(WM_NCACTIVATE, a)[0].wParam, 0u);
    host->HostFocus(a);
    Pump();
    EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(Activation, FocusLeavesADisabledWindow) {
    const HWND a = TopLevel();
    const HWND child = Child(a, {0, 0, 20, 20});
    SetFocus(child);
    EnableWindow(child, false);
    EXPECT_EQ(GetFocus(), HWND{});
    EXPECT_EQ(Of(WM_ENABLE, child).back().wParam, 0u);
}

using Mouse = WinTest;

TEST_F(Mouse, ClickOnAnInactiveWindowsChildActivatesAndDelivers) {
    const HWND a = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 200, 200});
    const HWND child = Child(a, {10, 10, 60, 60});
    const HWND b = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {300, 0, 500, 200});
    ASSERT_EQ(GetActiveWindow(), b);
    Pump();
    log.clear();
    host->Click(ScreenOf(child, {5, 6}));
    Pump();
    EXPECT_EQ(GetActiveWindow(), a);
    const int ma = IndexOf(WM_MOUSEACTIVATE, child);
    const int act = IndexOf(WM_ACTIVATE, a);
    const int down = IndexOf(WM_LBUTTONDOWN, child);
    ASSERT_NE(ma, -1);
    EXPECT_LT(ma, act);
    EXPECT_LT(act, down);
    EXPECT_EQ(LOWORD(log[act].wParam), WA_CLICKACTIVE);
    EXPECT_EQ(log[down].lParam, MAKELPARAM(5, 6));
    EXPECT_EQ(log[down].wParam, MK_LBUTTON);
    EXPECT_EQ(Of(WM_LBUTTONUP, child).size(), 1u);
    EXPECT_EQ(Of(WM_LBUTTONUP, child)[0].wParam, 0u);
}

TEST_F(Mouse, NonClientPartsGetNonClientMessagesWithScreenPoints) {
    const HWND h = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 200, 200});
    Pump();
    log.clear();
    host->MouseMove({100, 10}); // on the caption
    Pump();
    ASSERT_EQ(Of(WM_NCMOUSEMOVE, h).size(), 1u);
    EXPECT_EQ(Of(WM_NCMOUSEMOVE, h)[0].wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(Of(WM_NCMOUSEMOVE, h)[0].lParam, MAKELPARAM(100, 10));
    struct Case {
        Point pt;
        LRESULT hit;
    };
    for (const Case& c :
         {Case{{1, 100}, HTLEFT}, Case{{198, 198}, HTBOTTOMRIGHT}, Case{{100, 1}, HTTOP},
          Case{{190, 10}, HTCLOSE}, Case{{10, 10}, HTSYSMENU}, Case{{100, 100}, HTCLIENT},
          Case{{300, 300}, HTNOWHERE}})
        EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(c.pt)), c.hit)
            << c.pt.x << "," << c.pt.y;
}

TEST_F(Mouse, TransparentHitTestPassesThePointToTheParent) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    const HWND child = Child(top, {0, 0, 50, 50});
    handlers[WM_NCHITTEST] = [&](HWND w, WPARAM, LPARAM, LRESULT& r) {
        if (w != child)
            return false;
        r = HTTRANSPARENT;
        return true;
    };
    log.clear();
    host->MouseDown({10, 10});
    Pump();
    EXPECT_TRUE(Of(WM_LBUTTONDOWN, child).empty());
    EXPECT_EQ(Of(WM_LBUTTONDOWN, top).size(), 1u);
}

TEST_F(Mouse, KeyColouredPixelsOfLayeredWindowsLetTheMouseThrough) {
    const HWND below = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    const HWND above = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100}, WS_EX_LAYERED);
    Pump(); // both white
    EXPECT_FALSE(SetLayeredWindowAttributes(below, 0, 255, LWA_COLORKEY));
    ASSERT_TRUE(SetLayeredWindowAttributes(above, RGB(255, 0, 255), 200, LWA_COLORKEY | LWA_ALPHA));
    EXPECT_EQ(host->Host(above)->opacity, 200);
    HDC dc = GetDC(above);
    FillRect(*dc, {0, 0, 50, 100}, RGB(255, 0, 255));
    ReleaseDC(above, dc);
    EXPECT_EQ(WindowFromPoint({10, 10}), below);
    EXPECT_EQ(WindowFromPoint({60, 10}), above);
}

TEST_F(Mouse, DoubleClickNeedsTheClassStyleTimeAndPlace) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    host->Click({10, 10});
    host->Click({11, 10}, MouseButton::Left, 100);
    host->Click({10, 10}, MouseButton::Left, 1000); // too late
    host->Click({30, 10}, MouseButton::Left, 1100); // too far
    for (int i = 0; i < 4; ++i) {
        host->Advance(i == 0 ? 0 : (i == 1 ? 100 : (i == 2 ? 900 : 100)));
        Pump();
    }
    EXPECT_EQ(Of(WM_LBUTTONDOWN, h).size(), 3u);
    EXPECT_EQ(Of(WM_LBUTTONDBLCLK, h).size(), 1u);
}

TEST_F(Mouse, CaptureTakesEveryMoveAsClientMessages) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    const HWND child = Child(top, {10, 10, 50, 50});
    const HWND other = TopLevel(WS_POPUP | WS_VISIBLE, {300, 0, 400, 100});
    EXPECT_EQ(SetCapture(child), HWND{});
    EXPECT_TRUE(host->HostCaptured());
    log.clear();
    host->MouseMove({350, 50}); // over another window
    Pump();
    ASSERT_EQ(Of(WM_MOUSEMOVE, child).size(), 1u);
    EXPECT_EQ(Of(WM_MOUSEMOVE, child)[0].lParam, MAKELPARAM(340, 40));
    EXPECT_TRUE(Of(WM_MOUSEMOVE, other).empty());
    EXPECT_EQ(IndexOf(WM_NCHITTEST), -1) << "no hit testing under capture";

    EXPECT_EQ(SetCapture(top), child);
    ASSERT_EQ(Of(WM_CAPTURECHANGED, child).size(), 1u);
    EXPECT_EQ(HwndFromParam(Of(WM_CAPTURECHANGED, child)[0].lParam), top);
    ReleaseCapture();
    EXPECT_EQ(Of(WM_CAPTURECHANGED, top).size(), 1u);
    EXPECT_FALSE(host->HostCaptured());
    DestroyWindow(child);
    SetCapture(top);
    DestroyWindow(top);
    EXPECT_EQ(GetCapture(), HWND{}) << "capture dies with its window";
}

TEST_F(Mouse, LeaveIsPostedOnceWhenThePointerLeavesTheTrackedWindow) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    const HWND child = Child(top, {10, 10, 50, 50});
    host->MouseMove({20, 20});
    Pump();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = child;
    ASSERT_TRUE(TrackMouseEvent(tme));
    host->MouseMove({25, 25});
    Pump();
    EXPECT_TRUE(Of(WM_MOUSELEAVE).empty());
    host->MouseMove({100, 100});
    host->MouseMove({20, 20}, 10);
    host->MouseMove({100, 100}, 20);
    for (int i = 0; i < 3; ++i) {
        Pump();
        host->Advance(10);
    }
    EXPECT_EQ(Of(WM_MOUSELEAVE).size(), 1u);
    EXPECT_EQ(Of(WM_MOUSELEAVE)[0].hwnd, child);

    // Asking while the pointer is already outside gets the leave at once.
    TrackMouseEvent(tme);
    Pump();
    EXPECT_EQ(Of(WM_MOUSELEAVE).size(), 2u);
}

TEST_F(Mouse, AFilteredPeekFindsTheLeaveThatTakingAMovePosted) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    const HWND a = Child(top, {10, 10, 50, 50});
    const HWND b = Child(top, {60, 10, 100, 50}, WS_CHILD | WS_VISIBLE, 2);
    host->MouseMove({20, 20});
    Pump();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = a;
    ASSERT_TRUE(TrackMouseEvent(tme));
    // The move goes to b; taking it from the host posts a's leave, which one call must find,
    // by window or by message number.
    host->MouseMove({70, 20});
    MSG m;
    ASSERT_TRUE(PeekMessage(m, a, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_MOUSELEAVE);
    EXPECT_FALSE(PeekMessage(m, a, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(m, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_MOUSEMOVE);

    tme.hwndTrack = b;
    ASSERT_TRUE(TrackMouseEvent(tme));
    host->MouseMove({120, 120});
    ASSERT_TRUE(PeekMessage(m, HWND{}, WM_MOUSELEAVE, WM_MOUSELEAVE, PM_REMOVE));
    EXPECT_EQ(m.hwnd, b);
    // The move itself is still there, in order.
    ASSERT_TRUE(PeekMessage(m, HWND{}, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_MOUSEMOVE);
    EXPECT_EQ(m.hwnd, top);
}

TEST_F(Mouse, WheelGoesToTheFocusAndBubblesUntilHandled) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    const HWND mid = Child(top, {0, 0, 100, 100});
    const HWND leaf = Child(mid, {0, 0, 50, 50});
    SetFocus(leaf);
    handlers[WM_MOUSEWHEEL] = [&](HWND w, WPARAM, LPARAM, LRESULT& r) {
        r = 0;
        return w == mid;
    };
    log.clear();
    host->Wheel(-120, {150, 150}); // the pointer is elsewhere: the focus decides
    Pump();
    const auto wheel = Of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 2u);
    EXPECT_EQ(wheel[0].hwnd, leaf);
    EXPECT_EQ(wheel[1].hwnd, mid);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -120);
    EXPECT_EQ(wheel[0].lParam, MAKELPARAM(150, 150));
}

using Keyboard = WinTest;

TEST_F(Keyboard, KeysGoToTheFocusWithCharactersInBetween) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    const HWND edit = Child(top, {0, 0, 50, 50});
    SetFocus(edit);
    log.clear();
    host->Key(VK_RETURN);
    host->Text("Жa");
    host->KeyDown(VK_CONTROL);
    host->Key('C');
    host->KeyUp(VK_CONTROL);
    Pump();
    std::vector<std::pair<UINT, WPARAM>> seq;
    for (const Logged& l : log)
        if (l.hwnd == edit && (l.msg == WM_KEYDOWN || l.msg == WM_KEYUP || l.msg == WM_CHAR))
            seq.emplace_back(l.msg, l.wParam);
    const std::vector<std::pair<UINT, WPARAM>> expected{
        {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13},  {WM_KEYUP, VK_RETURN},
        {WM_CHAR, 0x416},        {WM_CHAR, 'a'}, {WM_KEYDOWN, VK_CONTROL},
        {WM_KEYDOWN, 'C'},       {WM_CHAR, 3},   {WM_KEYUP, 'C'},
        {WM_KEYUP, VK_CONTROL}};
    EXPECT_EQ(seq, expected);
    EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
}

TEST_F(Keyboard, MalformedTextBecomesReplacementCharacters) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    SetFocus(top);
    log.clear();
    host->Text(std::string("a\xC3(\xF0\x9F\x98\x80", 7));
    Pump();
    std::vector<WPARAM> chars;
    for (const Logged& l : Of(WM_CHAR))
        chars.push_back(l.wParam);
    EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 0xFFFD, '(', 0x1F600}));
}

TEST_F(Keyboard, AltF4ClosesTheTopLevelWindow) {
    const HWND top = TopLevel();
    const HWND child = Child(top, {0, 0, 10, 10});
    SetFocus(child);
    host->KeyDown(VK_MENU);
    host->KeyDown(VK_F4);
    Pump();
    EXPECT_FALSE(IsWindow(top));
}

} // namespace
} // namespace platform::testing
