// Our windows among the host's: what the window manager is told, modal windows that stay in
// front, the keyboard handed back, the program's icon and ending on a signal.

#include <csignal>

#include "platform/sys/Signals.h"
#include "platform/win/Icon.h"
#include "platform/win/SystemMetrics.h"
#include "tests/platform/WinTestSupport.h"

namespace platform::testing {
namespace {

using Desktop = WinTest;

TEST_F(Desktop, TheHostLearnsWhichWindowsSizeAndWhichWindowAModalOneBelongsTo) {
    handlers[WM_GETMINMAXINFO] = [](HWND, WPARAM, LPARAM l, LRESULT&) {
        reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = {300, 200};
        return false;
    };
    const HWND main = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(host->Host(main));
    EXPECT_TRUE(host->Host(main)->frame.sizeable);
    EXPECT_EQ(host->Host(main)->frame.minSize, (Point{300, 200}));
    EXPECT_FALSE(host->Host(main)->frame.belongsTo);

    // A fixed dialog shown while the window it belongs to is disabled: modal, not sizeable.
    EnableWindow(main, false);
    const HWND dialog =
        CreateWindowEx(WS_EX_DLGMODALFRAME, "Recorder", "Dialog",
                       WS_POPUP | WS_CAPTION | WS_SYSMENU, 150, 150, 200, 100, main, 0, nullptr);
    ShowWindow(dialog, SW_SHOW);
    EXPECT_FALSE(host->Host(dialog)->frame.sizeable);
    EXPECT_EQ(host->Host(dialog)->frame.belongsTo, main);
    EXPECT_TRUE(host->Host(dialog)->frame.modal);

    // Given to another window while shown, it tells the host at once; an owner loop is refused.
    const HWND other = TopLevel();
    SetWindowLongPtr(dialog, GWL_HWNDPARENT, HwndParam(other));
    EXPECT_EQ(host->Host(dialog)->frame.belongsTo, other);
    EXPECT_FALSE(host->Host(dialog)->frame.modal);
    SetWindowLongPtr(other, GWL_HWNDPARENT, HwndParam(dialog));
    EXPECT_EQ(GetParent(other), HWND{});
}

// The modal window disables its owner; a press on the owner, the host giving the owner the
// focus, and the host's close request on the owner all bring the modal window forward with the
// keyboard, and nothing reaches the owner.
TEST_F(Desktop, ADisabledOwnerSendsEveryGestureToItsModalWindow) {
    const HWND main = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 600, 400});
    EnableWindow(main, false);
    const HWND modal = CreateWindowEx(0, "Recorder", "Modal", WS_OVERLAPPED | WS_CAPTION, 100, 100,
                                      200, 100, main, 0, nullptr);
    ShowWindow(modal, SW_SHOW);
    // Someone else's window, then the host raising the owner over the modal window.
    const HWND stranger = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {700, 0, 900, 200});
    host->RaiseHostWindow(main);
    host->FocusHostWindow(main);
    log.clear();

    host->Click({500, 300}); // on the owner, clear of the modal window
    Pump();
    EXPECT_EQ(GetActiveWindow(), modal);
    EXPECT_EQ(host->HostStackingOrder().front(), modal);
    EXPECT_EQ(host->HostKeyboard(), modal);
    EXPECT_TRUE(Of(WM_LBUTTONDOWN, main).empty());

    SetActiveWindow(stranger);
    host->HostFocus(main);
    Pump();
    EXPECT_EQ(GetActiveWindow(), modal);
    EXPECT_EQ(host->HostKeyboard(), modal);

    host->HostClose(main);
    Pump();
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(Of(WM_CLOSE, main).empty());
    EXPECT_EQ(GetActiveWindow(), modal);

    // Enabled again, the owner closes at the host's request as Alt+F4 closes it.
    EnableWindow(main, true);
    host->HostClose(main);
    Pump();
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(Desktop, AClickOnTheActiveWindowTakesBackAKeyboardThatWentAstray) {
    const HWND main = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 400, 300});
    ASSERT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(host->HostKeyboard(), main);
    // A window our side never activated takes the host's keyboard, then goes: with nobody to
    // hand it on, the keyboard is nowhere.
    const HWND box = TopLevel(WS_POPUP | WS_CAPTION | WS_VISIBLE, {500, 0, 600, 100});
    SetActiveWindow(main);
    host->FocusHostWindow(box);
    ShowWindow(box, SW_HIDE);
    ASSERT_EQ(host->HostKeyboard(), HWND{});
    host->Click({200, 150});
    Pump();
    EXPECT_EQ(host->HostKeyboard(), main);
}

TEST_F(Desktop, TheProgramIconFillsTheCaptionSlotAndGoesToTheHost) {
    const HWND main = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 400, 300});
    const HWND dialog = CreateWindowEx(WS_EX_DLGMODALFRAME, "Recorder", "Dialog",
                                       WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 500, 0, 200,
                                       100, HWND{}, 0, nullptr);
    IconImage icon;
    icon.width = icon.height = 16;
    icon.pixels.assign(16 * 16, 0xFFFF0000u); // opaque red
    icon.pixels[0] = 0;                       // one see-through corner
    SetApplicationIcon(icon);
    SetActiveWindow(main);
    Pump();

    const Rect slot = GetNonClientLayout(main).sysMenu;
    ASSERT_FALSE(slot.IsEmpty());
    const Point at{slot.left + (slot.Width() - 16) / 2, slot.top + (slot.Height() - 16) / 2};
    EXPECT_EQ(SurfacePixel(main, at.x + 8, at.y + 8), RGB(255, 0, 0));
    EXPECT_EQ(SurfacePixel(main, at.x, at.y), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(host->Host(main)->iconSize, (Point{16, 16}));
    // Dialog frames show no icon: their caption text starts at the left.
    EXPECT_TRUE(GetNonClientLayout(dialog).sysMenu.IsEmpty());
    for (int x = 0; x < 40; ++x)
        ASSERT_NE(SurfacePixel(dialog, x, 12), RGB(255, 0, 0)) << x;

    // A malformed icon is no icon.
    icon.pixels.pop_back();
    SetApplicationIcon(icon);
    EXPECT_NE(SurfacePixel(main, at.x + 8, at.y + 8), RGB(255, 0, 0));
}

TEST_F(Desktop, ATerminationSignalEndsTheLoopsAsTheQuitMessageDoes) {
    CatchTerminationSignals();
    const HWND main = TopLevel();
    handlers[WM_TIMER] = [](HWND h, WPARAM id, LPARAM, LRESULT&) {
        KillTimer(h, id);
        std::raise(SIGTERM);
        return true;
    };
    SetTimer(main, 1, 10);
    // The keyboard move loop runs when the signal comes: it ends and passes the quit on to the
    // loop below, which ends too.
    SendMessage(main, WM_SYSCOMMAND, SC_MOVE, 0);
    MSG m;
    EXPECT_FALSE(GetMessage(m, HWND{}, 0, 0));
    EXPECT_FALSE(TerminationPending());
    ReleaseTerminationSignals();
    EXPECT_TRUE(IsWindow(main));
}

} // namespace
} // namespace platform::testing
