#include "WinTestSupport.h"

#include "platform/win/MessageBox.h"

namespace platform::testing {
namespace {

class MessageBoxes : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 400});
        Pump();
        // Runs `onShow` with the box once it is activated (its loop is about to run).
        hook = SetWindowsHookEx(WH_CBT, [this](int code, WPARAM w, LPARAM) -> LRESULT {
            const HWND h = HwndFromParam(w);
            if (code == HCBT_ACTIVATE && GetClassName(h) == kDialogClassName) {
                box = h;
                ownerEnabledWhileShown = IsWindowEnabled(owner);
                if (onShow)
                    onShow(h);
            }
            return 0;
        });
        log.clear();
    }
    void TearDown() override {
        UnhookWindowsHookEx(hook);
        WinTest::TearDown();
    }
    // A box with one line of short text and two buttons, worked out by hand: 75 x 23 buttons 6
    // apart with 11 px margins make a 178 px wide client; the 13 px text line at the top margin,
    // 15 px of space and the buttons' row with its margin make it 73 high. The buttons' centres
    // are then (48, 50) and (129, 50).
    static Point TwoButtonCentre(HWND h, int i) {
        Rect c;
        GetClientRect(h, c);
        EXPECT_EQ(c.Width(), 178);
        EXPECT_EQ(c.Height(), 73);
        Point p{i == 0 ? 48 : 129, 50};
        ClientToScreen(h, p);
        return p;
    }
    HWND owner;
    HWND box;
    HHOOK hook = 0;
    bool ownerEnabledWhileShown = true;
    std::function<void(HWND)> onShow;
};

TEST_F(MessageBoxes, EnterPressesTheDefaultButtonWhileTheOwnerWaits) {
    // A click on the owner, away from the box, while it is shown.
    const Point onOwner = ScreenOf(owner, {10, 10});
    onShow = [&](HWND) {
        host->Click(onOwner);
        host->Key(VK_RETURN, 10);
    };
    EXPECT_EQ(MessageBox(owner, "Division by zero.", "charvane", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_FALSE(ownerEnabledWhileShown);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(host->Beeps(), 1);
    EXPECT_EQ(host->Host(box), nullptr);
    EXPECT_TRUE(Of(WM_LBUTTONDOWN, owner).empty()) << "the disabled owner took a click";
    host->Click(onOwner);
    Pump();
    EXPECT_EQ(Of(WM_LBUTTONDOWN, owner).size(), 1u) << "the same click reaches it afterwards";
}

TEST_F(MessageBoxes, ClickingAButtonAnswersItsId) {
    onShow = [this](HWND h) { host->Click(TwoButtonCentre(h, 1)); };
    EXPECT_EQ(MessageBox(owner, "Save?", "charvane", MB_OKCANCEL), IDCANCEL);
    // Pressing, then leaving the button before release, does nothing.
    onShow = [this](HWND h) {
        host->MouseDown(TwoButtonCentre(h, 0));
        host->MouseUp({0, 0}, MouseButton::Left, 10);
        host->Key(VK_TAB, 20);
        host->Key(VK_SPACE, 30);
    };
    EXPECT_EQ(MessageBox(owner, "Save?", "charvane", MB_OKCANCEL), IDCANCEL)
        << "Tab moved the focus from OK to Cancel";
}

TEST_F(MessageBoxes, EscapeNeedsACancelButton) {
    host->Key(VK_ESCAPE);
    host->Text("n", 10);
    EXPECT_EQ(MessageBox(owner, "Replace?", "charvane", MB_YESNO | MB_ICONQUESTION), IDNO);
    host->Key(VK_ESCAPE);
    EXPECT_EQ(MessageBox(owner, "Go on?", "charvane", MB_YESNOCANCEL | MB_DEFBUTTON2), IDCANCEL);
    host->Key(VK_RETURN);
    EXPECT_EQ(MessageBox(owner, "Go on?", "charvane", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
}

TEST_F(MessageBoxes, BoxesNestEachWithItsOwnAnswer) {
    int inner = -1;
    SetTimer(owner, 1, 100);
    handlers[WM_TIMER] = [&](HWND, WPARAM, LPARAM, LRESULT&) {
        KillTimer(owner, 1);
        host->Key('N');
        host->Text("n");
        inner = MessageBox(owner, "Inner?", "charvane", MB_YESNO);
        return true;
    };
    host->Key(VK_RETURN, 500); // after the inner box has come and gone
    EXPECT_EQ(MessageBox(owner, "Outer", "charvane", MB_OKCANCEL), IDOK);
    EXPECT_EQ(inner, IDNO);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(MessageBoxes, TheCloseBoxCancels) {
    onShow = [this](HWND h) { host->HostClose(h); };
    EXPECT_EQ(MessageBox(owner, "x", "charvane", MB_OKCANCEL), IDCANCEL);
}

TEST_F(MessageBoxes, LongTextWrapsWithinTheScreen) {
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "слово ";
    Rect shown;
    onShow = [&](HWND h) {
        GetWindowRect(h, shown);
        host->Key(VK_RETURN);
    };
    EXPECT_EQ(MessageBox(HWND{}, text, "charvane", MB_OK), IDOK);
    // Some 2000 px of words on a 1024 px screen: wrapped into a box that leaves room around it.
    EXPECT_GT(shown.Height(), 100) << "the text took several lines";
    EXPECT_GT(shown.Width(), 300) << "lines as wide as a readable box";
    EXPECT_LT(shown.Width(), 1024 * 3 / 4);
    EXPECT_GE(shown.left, 0);
    EXPECT_LE(shown.right, 1024);
}

} // namespace
} // namespace platform::testing
