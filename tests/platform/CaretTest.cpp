#include "WinTestSupport.h"

#include "platform/win/Caret.h"
#include "platform/win/Clipboard.h"

namespace platform::testing {
namespace {

class Carets : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 60, 40}); // white background
        Pump();
        ASSERT_TRUE(CreateCaret(h, 2, 10));
        SetCaretPos(20, 5);
    }
    bool CaretShown() { return SurfacePixel(h, 21, 10) == RGB(0, 0, 0); }
    HWND h;
};

TEST_F(Carets, StartsHiddenThenBlinksOnASystemTimer) {
    EXPECT_FALSE(CaretShown());
    ShowCaret(h);
    EXPECT_TRUE(CaretShown());
    EXPECT_EQ(SurfacePixel(h, 22, 10), RGB(255, 255, 255)) << "two pixels wide";
    host->Advance(530);
    Pump();
    EXPECT_FALSE(CaretShown());
    host->Advance(530);
    Pump();
    EXPECT_TRUE(CaretShown());
    EXPECT_TRUE(Of(WM_TIMER).empty()) << "the blink is the system's own";
    Point origin{0, 0};
    ClientToScreen(h, origin);
    Rect window;
    GetWindowRect(h, window);
    EXPECT_EQ(host->Host(h)->lastDirty,
              Rect::FromSize(origin.x - window.left + 20, origin.y - window.top + 5, 2, 10))
        << "a blink shows the host the caret's pixels only";
}

TEST_F(Carets, HideAndShowNest) {
    ShowCaret(h);
    HideCaret(h);
    HideCaret(h);
    ShowCaret(h);
    EXPECT_FALSE(CaretShown());
    ShowCaret(h);
    EXPECT_TRUE(CaretShown());
    EXPECT_FALSE(ShowCaret(h)) << "already shown";
}

TEST_F(Carets, PaintingUnderTheCaretKeepsItWhole) {
    ShowCaret(h);
    InvalidateRect(h, nullptr, true);
    Pump();
    EXPECT_TRUE(CaretShown()) << "taken off before the paint, put back after";
    SetCaretPos(40, 5);
    EXPECT_FALSE(CaretShown());
    EXPECT_EQ(SurfacePixel(h, 41, 10), RGB(0, 0, 0));
    DestroyCaret();
    EXPECT_EQ(SurfacePixel(h, 41, 10), RGB(255, 255, 255));
    EXPECT_FALSE(SetCaretPos(1, 1));
}

TEST_F(Carets, DiesWithItsWindow) {
    ShowCaret(h);
    DestroyWindow(h);
    Point p;
    EXPECT_FALSE(GetCaretPos(p));
    // Its blink stops too: a new window in the same place never shows it, nor can show it.
    h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 60, 40});
    Pump();
    for (int blink = 0; blink < 4; ++blink) {
        host->Advance(530);
        Pump();
        EXPECT_FALSE(CaretShown()) << "blink " << blink;
    }
    EXPECT_FALSE(ShowCaret(h));
    EXPECT_FALSE(CaretShown());
}

TEST(Clipboard, TextGoesThroughTheBackend) {
    WindowSystem ws(std::make_unique<HeadlessBackend>());
    EXPECT_EQ(GetClipboardText(), "");
    SetClipboardText("строка\r\nвторая");
    EXPECT_EQ(GetClipboardText(), "строка\r\nвторая");
}

} // namespace
} // namespace platform::testing
