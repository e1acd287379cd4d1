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
    // Screen centre of button i of n, from the layout the box uses (centred row at the bottom).
    static Point ButtonCentre(HWND h, int i, int n) {
        Rect c;
        GetClientRect(h, c);
        const int row = n * 75 + (n - 1) * 6;
        Point p{(c.Width() - row) / 2 + i * 81 + 37, c.Height() - 11 - 12};
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
    host->Key(VK_RETURN);
    EXPECT_EQ(MessageBox(owner, "Division by zero.", "charvane", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_FALSE(ownerEnabledWhileShown);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(host->Beeps(), 1);
    EXPECT_EQ(host->Host(box), nullptr);
    EXPECT_TRUE(Of(WM_LBUTTONDOWN, owner).empty());
}

TEST_F(MessageBoxes, ClickingAButtonAnswersItsId) {
    onShow = [this](HWND h) { host->Click(ButtonCentre(h, 1, 2)); };
    EXPECT_EQ(MessageBox(owner, "Save?", "charvane", MB_OKCANCEL), IDCANCEL);
    // Pressing, then leaving the button before release, does nothing.
    onShow = [this](HWND h) {
        host->MouseDown(ButtonCentre(h, 0, 2));
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
    EXPECT_LE(shown.Width(), 1024 * 6 / 10 + 40);
    EXPECT_GT(shown.Height(), 100) << "the text took several lines";
    EXPECT_GE(shown.left, 0);
}

} // namespace
} // namespace platform::testing
