// Hints: shown after the mouse rests on a control, on the test clock, and hidden again by leaving,
// pressing or typing; nothing with the application's hints off.

#include "toolkit/THintWindow.h"

#include "StandardControlsSupport.h"
#include "platform/win/Input.h"
#include "platform/win/SystemMetrics.h"
#include "toolkit/TButton.h"

namespace toolkit::testing {
namespace {

using platform::Point;

class Hints : public StandardControlsTest {
protected:
    void SetUp() override {
        StandardControlsTest::SetUp();
        button = Add<TButton>(form, "Open", {20, 20, 100, 45});
        button->SetHint("Opens a picture");
        button->SetShowHint(true);
        quiet = Add<TButton>(form, "Quiet", {20, 80, 100, 105});
        quiet->SetHint("Never shown");
        ShowForm();
    }
    // Rests the mouse on c for ms milliseconds of the test clock.
    void Rest(TControl& c, std::uint64_t ms) {
        host->MouseMove(Screen(c, {10, 10}));
        Pump();
        host->Advance(ms);
        Pump();
    }
    const THintWindow* Shown() const { return app->ShownHint(); }

    TButton* button = nullptr;
    TButton* quiet = nullptr;
};

TEST_F(Hints, AppearAfterTheMouseHasRestedAndLookPlain) {
    Rest(*button, 499);
    EXPECT_EQ(Shown(), nullptr);
    host->Advance(1);
    Pump();
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(Shown()->Caption(), "Opens a picture");

    const platform::HWND h = Shown()->Handle();
    EXPECT_EQ(platform::GetClassName(h), "THintWindow");
    platform::Rect r;
    platform::GetWindowRect(h, r);
    const Point mouse = Screen(*button, {10, 10});
    EXPECT_EQ(r.left, mouse.x);
    EXPECT_GT(r.top, mouse.y) << "below the pointer";
    EXPECT_GT(r.Width(), 60);
    const platform::DibSection* s = platform::GetWindowSurface(h);
    ASSERT_NE(s, nullptr);
    auto pixel = [&](int x, int y) {
        const std::uint8_t* px = const_cast<platform::DibSection*>(s)->Row(y) + x * 4;
        return platform::RGB(px[2], px[1], px[0]);
    };
    EXPECT_EQ(pixel(0, 0), platform::RGB(0, 0, 0));
    EXPECT_EQ(pixel(r.Width() - 2, r.Height() - 2), ColorToRGB(clInfoBk));
    EXPECT_EQ(platform::GetActiveWindow(), form->Handle()) << "the hint takes no activation";
}

TEST_F(Hints, NearTheScreenBottomTheyGoAboveThePointer) {
    form->SetTop(platform::GetWorkArea().bottom - 60);
    Pump();
    Rest(*button, 600);
    ASSERT_NE(Shown(), nullptr);
    platform::Rect r;
    platform::GetWindowRect(Shown()->Handle(), r);
    EXPECT_LE(r.bottom, Screen(*button, {10, 10}).y);
}

TEST_F(Hints, LeavingPressingOrTypingHideThem) {
    Rest(*button, 600);
    ASSERT_NE(Shown(), nullptr);
    Rest(*quiet, 1000); // a control without ShowHint shows nothing
    EXPECT_EQ(Shown(), nullptr);

    Rest(*button, 600);
    ASSERT_NE(Shown(), nullptr);
    host->Key(platform::VK_SHIFT);
    Pump();
    EXPECT_EQ(Shown(), nullptr);
    host->Advance(1000);
    Pump();
    EXPECT_EQ(Shown(), nullptr) << "not again until the mouse comes back";

    Rest(*quiet, 10);
    Rest(*button, 600);
    ASSERT_NE(Shown(), nullptr);
    host->MouseDown(Screen(*button, {10, 10}));
    Pump();
    EXPECT_EQ(Shown(), nullptr);
    host->MouseUp(Screen(*button, {10, 10}));
    Pump();

    // Off the form altogether.
    Rest(*quiet, 10);
    Rest(*button, 600);
    ASSERT_NE(Shown(), nullptr);
    host->MouseMove({900, 700});
    Pump();
    Pump(); // the leave is posted by the move that finds no window
    EXPECT_EQ(Shown(), nullptr);
}

TEST_F(Hints, NothingWhileTheApplicationHasThemOff) {
    app->SetShowHint(false);
    Rest(*button, 2000);
    EXPECT_EQ(Shown(), nullptr);
    Rest(*quiet, 10);
    app->SetShowHint(true);
    Rest(*button, 600);
    ASSERT_NE(Shown(), nullptr);
    app->SetShowHint(false);
    EXPECT_EQ(Shown(), nullptr) << "turning hints off hides the one shown";
}

TEST_F(Hints, AControlFreedUnderTheMouseTakesItsHintAlong) {
    Rest(*button, 600);
    ASSERT_NE(Shown(), nullptr);
    TComponent::Free(button);
    Pump();
    EXPECT_EQ(Shown(), nullptr);
    host->Advance(1000);
    Pump();
    EXPECT_EQ(Shown(), nullptr);
}

// Alt+letter: the form hands the character to its controls as an accelerator.
TEST_F(Hints, AltLetterClicksTheButtonThatMarksIt) {
    button->SetCaption("&Open");
    int opened = 0, quietClicks = 0;
    button->OnClick = [&](TObject*) { ++opened; };
    quiet->SetCaption("&Quiet");
    quiet->OnClick = [&](TObject*) { ++quietClicks; };
    quiet->SetFocus();
    Pump();
    host->KeyDown(platform::VK_MENU);
    host->Text("o");
    host->KeyUp(platform::VK_MENU);
    Pump();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(quietClicks, 0);

    // With the focus nowhere the form itself gets the character.
    platform::SetFocus({});
    host->KeyDown(platform::VK_MENU);
    host->Text("O");
    host->Text("x"); // no control marks x
    host->KeyUp(platform::VK_MENU);
    Pump();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(quietClicks, 0);
}

} // namespace
} // namespace toolkit::testing
