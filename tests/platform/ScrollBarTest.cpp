#include "WinTestSupport.h"

#include "platform/win/Menu.h"
#include "platform/win/ScrollBar.h"

namespace platform::testing {
namespace {

TEST(ScrollBarGeometry, FollowsThePageAndPosition) {
    SCROLLINFO si{SIF_ALL, 0, 99, 10, 0, 0};
    // 200 long, 16 thick: the track is 168.
    ScrollBarGeometry g = ComputeScrollBarGeometry(200, 16, si, 8);
    EXPECT_EQ(g.arrow, 16);
    EXPECT_EQ(g.thumbLength, 17); // MulDiv(10, 168, 100) rounds 16.8 up
    EXPECT_EQ(g.thumbOffset, 16);
    si.nPos = 90; // the last position puts the thumb at the end of the track
    g = ComputeScrollBarGeometry(200, 16, si, 8);
    EXPECT_EQ(g.thumbOffset + g.thumbLength, 200 - 16);
    si.nPos = 45;
    g = ComputeScrollBarGeometry(200, 16, si, 8);
    EXPECT_EQ(g.thumbOffset, 16 + 76); // MulDiv(45, 151, 90) = 75.5 rounds to 76
}

TEST(ScrollBarGeometry, ThumbNeverShorterThanTheMinimum) {
    const SCROLLINFO si{SIF_ALL, 0, 1000000, 1, 0, 0};
    EXPECT_EQ(ComputeScrollBarGeometry(200, 16, si, 8).thumbLength, 8);
}

TEST(ScrollBarGeometry, ShortBarsGetHalfArrowsAndNoThumb) {
    const SCROLLINFO si{SIF_ALL, 0, 99, 10, 0, 0};
    const ScrollBarGeometry g = ComputeScrollBarGeometry(20, 16, si, 8);
    EXPECT_EQ(g.arrow, 10);
    EXPECT_EQ(g.thumbLength, 0);
    EXPECT_EQ(ScrollPartAt(5, 20, g), ScrollPart::FirstArrow);
    EXPECT_EQ(ScrollPartAt(15, 20, g), ScrollPart::SecondArrow);
}

TEST(ScrollBarGeometry, MulDivRoundsHalfAwayFromZeroAndRefusesZero) {
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(1, 1, 3), 0);
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
    EXPECT_EQ(MulDiv(INT32_MAX, INT32_MAX, 1), -1);
}

class ScrollBars : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        // 200 x 200 client with a vertical bar: the bar is x 200..216, y 0..200 in the window.
        h = TopLevel(WS_POPUP | WS_VISIBLE | WS_VSCROLL, {0, 0, 216, 200});
        SCROLLINFO si{SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
        SetScrollInfo(h, SB_VERT, si, true);
        handlers[WM_VSCROLL] = [this](HWND w, WPARAM wp, LPARAM, LRESULT& r) {
            scrolls.push_back({host->NowMs(), LOWORD(wp), HIWORD(wp)});
            if (LOWORD(wp) == SB_LINEDOWN)
                SetScrollPos(w, SB_VERT, GetScrollPos(w, SB_VERT) + 1, true);
            if (LOWORD(wp) == SB_THUMBPOSITION)
                SetScrollPos(w, SB_VERT, HIWORD(wp), true);
            r = 0;
            return true;
        };
        Pump();
        t0 = host->NowMs();
    }
    struct Scroll {
        std::uint64_t time;
        int code, pos;
    };
    std::vector<int> Codes() const {
        std::vector<int> out;
        for (const Scroll& s : scrolls)
            out.push_back(s.code);
        return out;
    }
    HWND h;
    std::uint64_t t0 = 0;
    std::vector<Scroll> scrolls;
};

TEST_F(ScrollBars, RangeDecidesWhetherTheBarShows) {
    Rect c;
    GetClientRect(h, c);
    EXPECT_EQ(c.Width(), 200);
    SCROLLINFO fits{SIF_RANGE | SIF_PAGE, 0, 9, 10, 0, 0};
    SetScrollInfo(h, SB_VERT, fits, true);
    GetClientRect(h, c);
    EXPECT_EQ(c.Width(), 216) << "a range that fits the page hides the bar";
    fits.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(h, SB_VERT, fits, true);
    GetClientRect(h, c);
    EXPECT_EQ(c.Width(), 200) << "unless asked to keep it, disabled";
}

TEST_F(ScrollBars, PositionStaysWithinTheRangeLessThePage) {
    EXPECT_EQ(SetScrollPos(h, SB_VERT, 500, false), 0);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 90);
    SetScrollPos(h, SB_VERT, -5, false);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 0);
}

TEST_F(ScrollBars, HoldingAnArrowRepeatsAfterTheFirstDelay) {
    host->MouseDown({208, 195});
    host->MouseUp({208, 195}, MouseButton::Left, 475);
    Pump();
    std::vector<std::uint64_t> times;
    for (const Scroll& s : scrolls)
        times.push_back(s.time - t0);
    EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN,
                                         SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(times, (std::vector<std::uint64_t>{0, 200, 250, 300, 350, 400, 450, 475}));
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 7);
    EXPECT_EQ(GetCapture(), HWND{});
}

TEST_F(ScrollBars, RepeatPausesWhileThePointerIsOffThePressedPart) {
    host->MouseDown({208, 195});
    host->MouseMove({100, 100}, 100);
    host->MouseMove({208, 195}, 320);
    host->MouseUp({208, 195}, MouseButton::Left, 360);
    Pump();
    std::vector<std::uint64_t> times;
    for (const Scroll& s : scrolls)
        times.push_back(s.time - t0);
    EXPECT_EQ(times, (std::vector<std::uint64_t>{0, 350, 360}));
}

TEST_F(ScrollBars, PageClicksAndThumbTracking) {
    host->Click({208, 150}); // below the thumb
    Pump();
    EXPECT_EQ(Codes(), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
    scrolls.clear();
    // The thumb (17 long at 16..33): drag it down by 84 pixels, half the free track.
    host->MouseDown({208, 20});
    host->MouseMove({208, 62}, 10);
    host->MouseMove({208, 104}, 20);
    host->MouseUp({208, 104}, MouseButton::Left, 30);
    Pump();
    ASSERT_EQ(Codes(),
              (std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
    EXPECT_EQ(scrolls[1].pos, scrolls[2].pos);
    EXPECT_NEAR(scrolls[2].pos, 50, 1);
    SCROLLINFO si;
    si.fMask = SIF_TRACKPOS | SIF_POS;
    GetScrollInfo(h, SB_VERT, si);
    EXPECT_EQ(si.nTrackPos, scrolls[2].pos);
    EXPECT_EQ(si.nPos, scrolls[2].pos);
}

TEST_F(ScrollBars, ADisabledBarTakesNoClicks) {
    EnableScrollBar(h, SB_VERT, ESB_DISABLE_BOTH);
    host->Click({208, 195});
    Pump();
    EXPECT_TRUE(scrolls.empty());
}

using FrameMouse = WinTest;

TEST_F(FrameMouse, DraggingTheCaptionMovesAndTheBorderSizes) {
    const HWND w = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
    Pump();
    host->MouseDown({200, 110});
    host->MouseMove({230, 150}, 10);
    host->MouseUp({230, 150}, MouseButton::Left, 20);
    Pump();
    Rect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, (Rect{130, 140, 430, 340}));
    EXPECT_EQ(host->Host(w)->rect, r);
    EXPECT_EQ(Of(WM_ENTERSIZEMOVE).size(), 1u);
    EXPECT_EQ(Of(WM_EXITSIZEMOVE).size(), 1u);
    // The loop keeps the drag's moves and release to itself.
    EXPECT_TRUE(Of(WM_MOUSEMOVE, w).empty());
    EXPECT_TRUE(Of(WM_LBUTTONUP, w).empty());

    host->MouseDown({429, 200}); // right edge
    host->MouseMove({300, 200}, 10);
    host->MouseUp({300, 200}, MouseButton::Left, 20);
    Pump();
    GetWindowRect(w, r);
    EXPECT_EQ(r.Width(), 171);         // the edge moved with the pointer: 129 pixels
    host->MouseDown({429 - 130, 200}); // shrinking stops at the minimum tracking size
    host->MouseMove({0, 200}, 10);
    host->MouseUp({0, 200}, MouseButton::Left, 20);
    Pump();
    GetWindowRect(w, r);
    EXPECT_EQ(r.Width(), 112);
}

TEST_F(FrameMouse, CloseButtonActsOnlyWhenReleasedOverIt) {
    const HWND w = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    Pump();
    host->MouseDown({288, 10});
    host->MouseUp({150, 100}, MouseButton::Left, 10);
    Pump();
    EXPECT_TRUE(IsWindow(w));
    host->MouseDown({288, 10});
    host->MouseUp({288, 10}, MouseButton::Left, 10);
    Pump();
    EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(Of(WM_CLOSE).empty());
}

TEST_F(FrameMouse, TheSystemMenuOffersWhatTheWindowAllows) {
    const HWND w =
        TopLevel(WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_VISIBLE, {100, 100, 400, 300});
    Pump();
    std::vector<std::string> items;
    std::vector<bool> enabled;
    HHOOK hook = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM, LPARAM) -> LRESULT {
        if (code == HCBT_CREATEWND)
            host->Key(VK_ESCAPE); // look, then leave
        return 0;
    });
    handlers[WM_INITMENUPOPUP] = [&](HWND, WPARAM m, LPARAM, LRESULT&) {
        const HMENU menu = static_cast<HMENU>(m);
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            items.push_back(GetMenuString(menu, static_cast<UINT>(i), MF_BYPOSITION));
            enabled.push_back(
                !(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED));
        }
        return false;
    };
    host->MouseDown({200, 108}, MouseButton::Right);
    host->MouseUp({200, 108}, MouseButton::Right);
    Pump();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(items, (std::vector<std::string>{"&Restore", "&Move", "&Size", "Mi&nimize",
                                               "Ma&ximize", "", "&Close\tAlt+F4"}));
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false, false, true, true, true}));
    // Alt+Space opens it from the keyboard; "x" maximizes.
    handlers.clear();
    host->KeyDown(VK_MENU);
    host->Key(VK_SPACE);
    host->KeyUp(VK_MENU);
    host->Text("x", 10);
    Pump();
    EXPECT_TRUE(IsZoomed(w));
}

TEST_F(FrameMouse, MinimizeIconifiesTheHostAndRestoreBringsItBack) {
    const HWND other = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 0, 800, 200});
    const HWND w = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {10, 20, 310, 220});
    Pump();
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_TRUE(host->Host(w)->iconic) << "iconified, not hidden: the task bar keeps it";
    EXPECT_EQ(Of(WM_SIZE, w).back().wParam, SIZE_MINIMIZED);
    EXPECT_EQ(GetActiveWindow(), other) << "a minimized window gives the activation away";
    EXPECT_EQ(WindowFromPoint({100, 100}), HWND{});
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(w));
    EXPECT_FALSE(host->Host(w)->iconic);
    Rect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, (Rect{10, 20, 310, 220}));
    EXPECT_EQ(GetActiveWindow(), w);
    // Maximized, minimized, restored: back to maximized, as the platform does.
    SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsZoomed(w));
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    GetWindowRect(w, r);
    EXPECT_EQ(r, (Rect{10, 20, 310, 220}));
}

// The desktop's own gestures (its task bar, its keys) reach the window as the system commands,
// and a late report of a state the window already left changes nothing.
TEST_F(FrameMouse, TheDesktopsIconifyAndRestoreReachTheWindow) {
    const HWND w = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {10, 20, 310, 220});
    Pump();
    host->HostIconify(w, true);
    Pump();
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(Of(WM_SIZE, w).back().wParam, SIZE_MINIMIZED);
    log.clear();
    host->HostIconify(w, false);
    Pump();
    EXPECT_FALSE(IsIconic(w));
    ASSERT_FALSE(Of(WM_SIZE, w).empty());
    EXPECT_EQ(Of(WM_SIZE, w).back().wParam, SIZE_RESTORED);
    EXPECT_FALSE(Of(WM_PAINT, w).empty()) << "a restored window paints again";
    EXPECT_EQ(GetActiveWindow(), w);

    SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    host->HostIconify(w, false);
    host->HostIconify(w, false); // late: must not restore the maximized window again
    Pump();
    EXPECT_TRUE(IsZoomed(w));
    host->HostIconify(w, true);
    Pump();
    EXPECT_TRUE(IsIconic(w));
    host->HostIconify(w, false);
    Pump();
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_FALSE(host->Host(w)->iconic);
}

TEST_F(FrameMouse, MaximizeFillsTheWorkAreaAndRestoreReturns) {
    const HWND w = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {10, 20, 310, 220});
    Pump();
    SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Rect r;
    GetWindowRect(w, r);
    EXPECT_EQ(r, (Rect{-4, -4, 1028, 742}));
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_TRUE(host->Host(w)->maximized) << "the desktop is told";
    EXPECT_EQ(Of(WM_SIZE).back().wParam, SIZE_MAXIMIZED);
    host->MouseDown({500, 8}); // a maximized window does not move
    host->MouseMove({600, 100}, 10);
    host->MouseUp({600, 100}, MouseButton::Left, 20);
    Pump();
    GetWindowRect(w, r);
    EXPECT_EQ(r.left, -4);
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    GetWindowRect(w, r);
    EXPECT_EQ(r, (Rect{10, 20, 310, 220}));
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_FALSE(host->Host(w)->maximized);
}

} // namespace
} // namespace platform::testing
