#include "WinTestSupport.h"

#include "platform/win/SystemMetrics.h"

namespace platform::testing {
namespace {

using WindowLifecycle = WinTest;

TEST_F(WindowLifecycle, CreationSendsTheFrameMessagesBeforeCreateAndShowAfter) {
    const HWND h = TopLevel();
    ASSERT_TRUE(h);
    const std::vector<UINT> seq = Messages(h);
    const int nccreate = IndexOf(WM_NCCREATE, h);
    const int calc = IndexOf(WM_NCCALCSIZE, h);
    const int create = IndexOf(WM_CREATE, h);
    const int size = IndexOf(WM_SIZE, h);
    const int move = IndexOf(WM_MOVE, h);
    const int show = IndexOf(WM_SHOWWINDOW, h);
    const int activate = IndexOf(WM_ACTIVATE, h);
    const int focus = IndexOf(WM_SETFOCUS, h);
    EXPECT_EQ(IndexOf(WM_GETMINMAXINFO, h), 0);
    EXPECT_LT(nccreate, calc);
    EXPECT_LT(calc, create);
    EXPECT_LT(create, size);
    EXPECT_LT(size, move);
    EXPECT_LT(move, show);
    EXPECT_LT(show, activate);
    EXPECT_LT(activate, focus);
    EXPECT_EQ(IndexOf(WM_PAINT, h), -1) << "painting waits for the loop";

    log.clear();
    Pump();
    EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}));
    EXPECT_EQ(GetActiveWindow(), h);
    EXPECT_EQ(GetFocus(), h);
}

TEST_F(WindowLifecycle, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
    const HWND top = TopLevel();
    const HWND a = Child(top, {0, 0, 50, 50});
    const HWND grand = Child(a, {0, 0, 10, 10});
    const HWND b = Child(top, {60, 0, 100, 50});
    log.clear();
    ASSERT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> seq;
    for (const Logged& l : log)
        if (l.msg == WM_DESTROY || l.msg == WM_NCDESTROY)
            seq.emplace_back(l.hwnd, l.msg);
    // Children are in z-order, newest on top: b before a.
    const std::vector<std::pair<HWND, UINT>> expected{
        {top, WM_DESTROY}, {b, WM_DESTROY},       {a, WM_DESTROY},   {grand, WM_DESTROY},
        {b, WM_NCDESTROY}, {grand, WM_NCDESTROY}, {a, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(seq, expected);
    for (HWND h : {top, a, grand, b})
        EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(GetFocus(), HWND{});
    EXPECT_EQ(GetActiveWindow(), HWND{});
}

TEST_F(WindowLifecycle, StaleHandlesNeverReachANewWindowInTheSameSlot) {
    const HWND first = TopLevel(WS_POPUP);
    ASSERT_TRUE(DestroyWindow(first));
    const HWND second = TopLevel(WS_POPUP);
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.Value() & 0xFFFF, second.Value() & 0xFFFF) << "the slot is reused";
    log.clear();
    EXPECT_EQ(SendMessage(first, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessage(first, WM_USER, 0, 0));
    EXPECT_FALSE(SetWindowText(first, "x"));
    EXPECT_FALSE(DestroyWindow(first));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(IsWindow(second));
}

TEST_F(WindowLifecycle, CreationFailsCleanly) {
    EXPECT_FALSE(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, HWND{}, 0, nullptr));
    EXPECT_FALSE(Child(HWND{}, {0, 0, 10, 10})) << "a child needs a parent";
    handlers[WM_CREATE] = [](HWND, WPARAM, LPARAM, LRESULT& r) {
        r = -1;
        return true;
    };
    log.clear();
    EXPECT_FALSE(TopLevel());
    EXPECT_NE(IndexOf(WM_DESTROY), -1) << "a refused WM_CREATE is followed by destruction";
    EXPECT_NE(IndexOf(WM_NCDESTROY), -1);
    EXPECT_TRUE(GetTopLevelWindows().empty());
}

TEST_F(WindowLifecycle, ClassNamesIgnoreCaseAndRegisterOnce) {
    WNDCLASS wc;
    wc.lpszClassName = "recorder";
    EXPECT_FALSE(RegisterClass(wc));
    const HWND h = CreateWindowEx(0, "RECORDER", "", WS_POPUP, 0, 0, 5, 5, HWND{}, 0, nullptr);
    EXPECT_EQ(GetClassName(h), "Recorder");
    EXPECT_FALSE(UnregisterClass("Recorder")) << "a class with windows stays";
}

using WindowGeometry = WinTest;

TEST_F(WindowGeometry, ClientAreaFollowsTheFrameStyles) {
    struct Case {
        DWORD style, exStyle;
        Rect client;
    };
    // 300 x 200 windows.
    const Case cases[] = {
        {WS_POPUP, 0, {0, 0, 300, 200}},
        {WS_POPUP | WS_BORDER, 0, {1, 1, 299, 199}},
        {WS_OVERLAPPEDWINDOW, 0, {4, 4 + 19, 296, 196}},
        {WS_CAPTION | WS_SYSMENU, 0, {3, 3 + 19, 297, 197}},
        {WS_POPUP, WS_EX_CLIENTEDGE, {2, 2, 298, 198}},
        {WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {0, 0, 284, 184}},
        {WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, {3, 3 + 15, 297, 197}},
    };
    for (const Case& c : cases) {
        const HWND h = TopLevel(c.style, {10, 10, 310, 210}, c.exStyle);
        Rect client;
        ASSERT_TRUE(GetClientRect(h, client));
        Point origin{0, 0};
        ClientToScreen(h, origin);
        EXPECT_EQ(Rect::FromSize(origin.x - 10, origin.y - 10, client.Width(), client.Height()),
                  c.client)
            << std::hex << c.style << " " << c.exStyle;
        Rect adjusted = c.client;
        if (!(c.style & (WS_VSCROLL | WS_HSCROLL))) {
            AdjustWindowRectEx(adjusted, c.style, false, c.exStyle);
            EXPECT_EQ(adjusted, (Rect{0, 0, 300, 200}));
        }
    }
}

TEST_F(WindowGeometry, ProcedureAnswerToNcCalcSizeDecidesTheClientArea) {
    handlers[WM_NCCALCSIZE] = [](HWND, WPARAM, LPARAM l, LRESULT& r) {
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
        p->rgrc[0] = p->rgrc[0].Inflate(-10, -5);
        r = 0;
        return true;
    };
    const HWND h = TopLevel(WS_OVERLAPPEDWINDOW, {0, 0, 100, 100});
    Rect c;
    GetClientRect(h, c);
    EXPECT_EQ(c, (Rect{0, 0, 80, 90}));
    SetWindowPos(h, HWND{}, 0, 0, 60, 40, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(h, c);
    EXPECT_EQ(c, (Rect{0, 0, 40, 30}));
}

TEST_F(WindowGeometry, ChildCoordinatesAreRelativeToTheParentClient) {
    const HWND top = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
    const HWND child = Child(top, {10, 20, 60, 50});
    Rect wr;
    GetWindowRect(child, wr);
    EXPECT_EQ(wr, (Rect{100 + 4 + 10, 100 + 23 + 20, 100 + 4 + 60, 100 + 23 + 50}));
    Point p{0, 0};
    MapWindowPoints(child, top, &p, 1);
    EXPECT_EQ(p, (Point{10, 20}));
    EXPECT_EQ(WindowFromPoint({wr.left + 1, wr.top + 1}), child);
    EXPECT_EQ(WindowFromPoint({wr.right + 1, wr.top + 1}), top);
    EnableWindow(child, false);
    EXPECT_EQ(WindowFromPoint({wr.left + 1, wr.top + 1}), top)
        << "a disabled child is part of its parent for the mouse";
}

TEST_F(WindowGeometry, PositionChangesGoThroughWindowPosMessages) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    handlers[WM_WINDOWPOSCHANGING] = [](HWND, WPARAM, LPARAM l, LRESULT& r) {
        auto* wp = reinterpret_cast<WINDOWPOS*>(l);
        wp->cx = std::min(wp->cx, 150); // the procedure may limit the size
        r = 0;
        return true;
    };
    log.clear();
    MoveWindow(h, 5, 6, 300, 80, true);
    Rect r;
    GetWindowRect(h, r);
    EXPECT_EQ(r, (Rect{5, 6, 155, 86}));
    EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE,
                                              WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
    EXPECT_EQ(Of(WM_SIZE).back().lParam, MAKELPARAM(150, 80));
    EXPECT_EQ(host->Host(h)->rect, r) << "the host window follows";

    // A procedure that keeps WM_WINDOWPOSCHANGED from DefWindowProc gets no WM_MOVE / WM_SIZE.
    handlers[WM_WINDOWPOSCHANGED] = [](HWND, WPARAM, LPARAM, LRESULT& res) {
        res = 0;
        return true;
    };
    log.clear();
    MoveWindow(h, 0, 0, 20, 20, true);
    EXPECT_EQ(IndexOf(WM_SIZE, h), -1);
    EXPECT_EQ(IndexOf(WM_MOVE, h), -1);
}

TEST_F(WindowGeometry, ZOrderAndTopmost) {
    const HWND a = TopLevel(WS_POPUP | WS_VISIBLE);
    const HWND b = TopLevel(WS_POPUP | WS_VISIBLE);
    const HWND pinned = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 10, 10}, WS_EX_TOPMOST);
    EXPECT_EQ(GetTopLevelWindows(), (std::vector<HWND>{pinned, b, a}));
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopLevelWindows(), (std::vector<HWND>{pinned, a, b}))
        << "a normal window never passes a topmost one";
    SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopLevelWindows().front(), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), pinned);
}

using WindowData = WinTest;

TEST_F(WindowData, SubclassingChainsProceduresAndRestores) {
    const HWND h = TopLevel(WS_POPUP);
    std::vector<std::string> calls;
    WNDPROC original = GetWindowProc(h);
    WNDPROC first;
    first = WNDPROC::Bind([&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_USER) {
            calls.push_back("first");
            return CallWindowProc(original, w, m, wp, lp) + 1;
        }
        return CallWindowProc(original, w, m, wp, lp);
    });
    EXPECT_EQ(SetWindowProc(h, first), original);
    WNDPROC second;
    WNDPROC previous;
    second = WNDPROC::Bind([&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_USER)
            calls.push_back("second");
        return CallWindowProc(previous, w, m, wp, lp) * 10;
    });
    previous = SetWindowLongPtr(h, GWL_WNDPROC, second);
    EXPECT_TRUE(previous == first);
    handlers[WM_USER] = [](HWND, WPARAM, LPARAM, LRESULT& r) {
        r = 4;
        return true;
    };
    EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 50);
    EXPECT_EQ(calls, (std::vector<std::string>{"second", "first"}));
    // The outer one unhooks itself only when it is still on top.
    ASSERT_TRUE(GetWindowProc(h) == second);
    SetWindowProc(h, previous);
    EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 5);
    DestroyWindow(h); // while the procedures' captures live
    EXPECT_TRUE(WNDPROC(static_cast<WindowProcFn>(&DefWindowProc)) ==
                WNDPROC(static_cast<WindowProcFn>(&DefWindowProc)));
}

TEST_F(WindowData, PropertiesLongsAndText) {
    const HWND h = TopLevel(WS_POPUP);
    EXPECT_TRUE(SetProp(h, "ACSBSC", 1234));
    EXPECT_TRUE(SetProp(h, "acsbsc", 5)) << "names compare exactly";
    EXPECT_EQ(GetProp(h, "ACSBSC"), 1234);
    EXPECT_EQ(RemoveProp(h, "ACSBSC"), 1234);
    EXPECT_EQ(GetProp(h, "ACSBSC"), 0);
    EXPECT_EQ(GetProp(h, "acsbsc"), 5);

    EXPECT_EQ(SetWindowLongPtr(h, GWL_USERDATA, 77), 0);
    EXPECT_EQ(GetWindowLongPtr(h, GWL_USERDATA), 77);
    EXPECT_EQ(GetWindowLongPtr(h, 0), 0) << "the class has no extra words";
    log.clear();
    SetWindowLongPtr(h, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP | WS_BORDER));
    EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtr(h, GWL_STYLE)), WS_POPUP | WS_BORDER);

    EXPECT_TRUE(SetWindowText(h, "Преобразовать"));
    EXPECT_EQ(GetWindowText(h), "Преобразовать");
    std::string viaMessage;
    EXPECT_EQ(SendMessage(h, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(&viaMessage)), 26);
    EXPECT_EQ(viaMessage, "Преобразовать");
}

TEST_F(WindowData, SystemMetricsHaveTheClassicValues) {
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
    EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), 3);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetWorkArea(), (Rect{0, 0, 1024, 738}));
    EXPECT_EQ(GetSystemMetrics(9999), 0);
}

} // namespace
} // namespace platform::testing
