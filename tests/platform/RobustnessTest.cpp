#include "WinTestSupport.h"

#include <stdexcept>

#include "platform/win/Menu.h"
#include "platform/win/MessageBox.h"
#include "platform/win/ScrollBar.h"

namespace platform::testing {
namespace {

// A procedure's exception reaches the caller of the loop, and the modal helpers it passed
// through leave no capture, timer, pressed state or window behind.
using ThrowingProcedures = WinTest;

TEST_F(ThrowingProcedures, ScrollTrackingEndsCleanly) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE | WS_VSCROLL, {0, 0, 216, 200});
    SCROLLINFO si{SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
    SetScrollInfo(h, SB_VERT, si, true);
    Pump();
    int calls = 0;
    handlers[WM_VSCROLL] = [&](HWND, WPARAM, LPARAM, LRESULT&) -> bool {
        if (++calls == 2)
            throw std::runtime_error("handler failed");
        return false;
    };
    host->MouseDown({208, 195});
    host->MouseUp({208, 195}, MouseButton::Left, 1000);
    EXPECT_THROW(Pump(), std::runtime_error);
    EXPECT_EQ(GetCapture(), HWND{});
    host->Advance(2000);
    Pump();
    EXPECT_EQ(calls, 2) << "no repeat timer is left running";
    host->Click({208, 195});
    Pump();
    EXPECT_EQ(calls, 4) << "the bar works again: line down and end scroll";
}

TEST_F(ThrowingProcedures, MenuLoopEndsCleanly) {
    const HWND owner = TopLevel();
    const HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, 1, "One");
    handlers[WM_MENUSELECT] = [](HWND, WPARAM, LPARAM, LRESULT&) -> bool {
        throw std::runtime_error("owner failed");
    };
    host->MouseMove({120, 112});
    EXPECT_THROW(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, owner), std::runtime_error);
    EXPECT_EQ(GetTopLevelWindows().size(), 1u) << "the menu window is gone";
    EXPECT_EQ(GetCapture(), HWND{});
    handlers.erase(WM_MENUSELECT);
    host->Click({120, 112});
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, owner), 1);
}

TEST_F(ThrowingProcedures, MessageBoxGivesTheOwnerBack) {
    const HWND owner = TopLevel();
    SetTimer(owner, 5, 100);
    handlers[WM_TIMER] = [](HWND, WPARAM, LPARAM, LRESULT&) -> bool {
        throw std::runtime_error("timer failed");
    };
    EXPECT_THROW(MessageBox(owner, "text", "caption", MB_OK), std::runtime_error);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetTopLevelWindows(), (std::vector<HWND>{owner}));
    KillTimer(owner, 5);
    host->Key(VK_RETURN);
    EXPECT_EQ(MessageBox(owner, "text", "caption", MB_OK), IDOK);
}

using HostileGeometry = WinTest;

TEST_F(HostileGeometry, HugeOrNegativeSizesAreClampedAndNeverAllocated) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 10, 10});
    SetWindowPos(h, HWND{}, INT32_MIN, INT32_MAX, INT32_MAX, -5, SWP_NOZORDER);
    Rect r;
    GetWindowRect(h, r);
    EXPECT_EQ(r, (Rect{-32768, 32767, -32768 + 32767, 32767}));
    EXPECT_EQ(GetWindowSurface(h), nullptr) << "an empty window has no pixels";
    SetWindowPos(h, HWND{}, 0, 0, 32767, 32767, SWP_NOZORDER);
    EXPECT_EQ(GetWindowSurface(h), nullptr) << "a gigapixel surface is refused";
    Pump(); // painting such a window draws nowhere and does not fail
    SetWindowPos(h, HWND{}, 0, 0, 50, 40, SWP_NOZORDER);
    ASSERT_NE(GetWindowSurface(h), nullptr);
    EXPECT_EQ(GetWindowSurface(h)->Width(), 50);
    const HWND child = Child(h, {0, 0, 10, 10});
    SetWindowPos(child, HWND{}, INT32_MAX, INT32_MAX, 10, 10, SWP_NOZORDER);
    Point p{0, 0};
    ClientToScreen(child, p);
    EXPECT_EQ(p, (Point{32767, 32767}));
}

TEST_F(HostileGeometry, SetParentRefusesCycles) {
    const HWND top = TopLevel();
    const HWND child = Child(top, {0, 0, 10, 10});
    const HWND grand = Child(child, {0, 0, 5, 5});
    EXPECT_EQ(SetParent(child, grand), HWND{});
    EXPECT_EQ(SetParent(top, top), HWND{});
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(SetParent(grand, top), child);
    EXPECT_EQ(GetChildren(top).size(), 2u);
}

TEST_F(HostileGeometry, ProceduresMayDestroyWindowsWhileTheyAreBusy) {
    const HWND top = TopLevel();
    const HWND child = Child(top, {0, 0, 10, 10});
    handlers[WM_SIZE] = [&](HWND w, WPARAM, LPARAM, LRESULT&) {
        if (w == child)
            DestroyWindow(top);
        return false;
    };
    EXPECT_FALSE(SetWindowPos(child, HWND{}, 0, 0, 20, 20, SWP_NOZORDER) && IsWindow(child));
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(child));
    handlers.clear();
    handlers[WM_CREATE] = [](HWND w, WPARAM, LPARAM, LRESULT&) {
        DestroyWindow(w);
        return false;
    };
    EXPECT_FALSE(TopLevel()) << "a window destroyed during its creation gives no handle";
}

} // namespace
} // namespace platform::testing
