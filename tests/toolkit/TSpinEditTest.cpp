// The plain spin edit driven through real keys, characters and mouse presses on the headless
// host, with the repeat timing read off the test clock.

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "toolkit/TSpinEdit.h"

#include <cstdlib>

#include "EditTestSupport.h"
#include "tests/support/Scoped.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Colors.h"

namespace toolkit::testing {
namespace {

using platform::VK_DOWN;
using platform::VK_UP;

class SpinEdits : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        spin = Make<TSpinEdit>({20, 20, 141, 41});
        other = Make<TEdit>({20, 60, 141, 81});
        spin->OnChange = [this](TObject*) { changes.push_back(spin->Text()); };
        Pump();
    }
    platform::Point Centre(const platform::Rect& r) {
        return ScreenOf(*spin, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    void Press(const platform::Rect& half) {
        host->MouseDown(Centre(half));
        Pump();
    }
    void Release(const platform::Rect& half) {
        host->MouseUp(Centre(half));
        Pump();
    }
    void Wait(int ms) {
        host->Advance(ms);
        Pump();
    }

    TSpinEdit* spin = nullptr;
    TEdit* other = nullptr;
    std::vector<std::string> changes;
};

TEST_F(SpinEdits, ArrowKeysStepOnceEachAndReadOnlyOnlyBeeps) {
    EXPECT_EQ(spin->Text(), "0");
    EXPECT_EQ(spin->Value(), 0);
    Focus(*spin);
    Keys({VK_DOWN});
    EXPECT_EQ(spin->Text(), "-1"); // no limits while both are 0
    EXPECT_EQ(changes, std::vector<std::string>{"-1"});
    spin->SetIncrement(5);
    Keys({VK_UP, VK_UP});
    EXPECT_EQ(changes, (std::vector<std::string>{"-1", "4", "9"}));

    spin->SetReadOnly(true);
    const int beeps = host->Beeps();
    Keys({VK_UP});
    EXPECT_EQ(spin->Value(), 9);
    EXPECT_EQ(changes.size(), 3u);
    EXPECT_EQ(host->Beeps(), beeps + 1);
}

TEST_F(SpinEdits, TypingKeepsSignsAndDigitsAndBeepsAtEverythingElse) {
    Focus(*spin);
    spin->SelectAll();
    Type("-");
    EXPECT_EQ(spin->Text(), "-");
    EXPECT_EQ(spin->Value(), 0); // unparsable text reads as MinValue
    const int beeps = host->Beeps();
    Type("a");
    EXPECT_EQ(host->Beeps(), beeps + 1);
    Type("12");
    EXPECT_EQ(spin->Text(), "-12");
    EXPECT_EQ(spin->Value(), -12);
    EXPECT_EQ(changes, (std::vector<std::string>{"-", "-1", "-12"}));

    // Writing the value the text already shows tells nobody; a differently written one does.
    spin->SetValue(-12);
    EXPECT_EQ(changes.size(), 3u);
    spin->SetText("-012");
    spin->SetValue(-12);
    EXPECT_EQ(spin->Text(), "-12");
    EXPECT_EQ(changes.size(), 5u);
}

// Blocks allocated while one lives are not reported as leaks.
struct IgnoredLeaks {
#if defined(__SANITIZE_ADDRESS__)
    IgnoredLeaks() { __lsan_disable(); }
    ~IgnoredLeaks() { __lsan_enable(); }
#endif
};

// The separator typing accepts is the user's locale's, not always the point. A German locale
// is compiled into a scratch folder for the purpose.
TEST_F(SpinEdits, TypingTakesTheLocalesDecimalSeparator) {
    const charvane::testing::TempFolder folder;
    const std::string build =
        "localedef -i de_DE -f UTF-8 '" + folder.Path().string() + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0)
        GTEST_SKIP() << "localedef or the de_DE locale source is missing";
    // The C library keeps a copy of a locale path given through LOCPATH and never frees it.
    const IgnoredLeaks libraryKeepsLocalePath;
    const charvane::testing::ScopedEnvironment path("LOCPATH", folder.Path().string());
    const charvane::testing::ScopedEnvironment all("LC_ALL", "de_DE.UTF-8");
    auto* german = Make<TSpinEdit>({20, 100, 141, 121});
    Focus(*german);
    german->SelectAll();
    const int beeps = host->Beeps();
    Type("1,5.");
    EXPECT_EQ(german->Text(), "1,5");
    EXPECT_EQ(host->Beeps(), beeps + 1);
}

TEST_F(SpinEdits, PasteAndCutReachTheTextOnlyWhileTheEditorIsOpen) {
    Focus(*spin);
    platform::SetClipboardText("12ab");
    spin->SelectAll();
    CtrlKeys({'V'});
    EXPECT_EQ(spin->Text(), "12ab"); // a paste may bring in anything
    EXPECT_EQ(spin->Value(), 0);

    spin->SetEditorEnabled(false);
    spin->SelectAll();
    const int beeps = host->Beeps();
    Type("7");
    Keys({platform::VK_BACK, platform::VK_DELETE});
    CtrlKeys({'X'});
    platform::SetClipboardText("99");
    CtrlKeys({'V'});
    EXPECT_EQ(spin->Text(), "12ab");
    EXPECT_GE(host->Beeps(), beeps + 2); // the character and Backspace
    Keys({VK_UP});                       // stepping still works
    EXPECT_EQ(spin->Text(), "1");

    spin->SetEditorEnabled(true);
    spin->SetReadOnly(true);
    spin->SelectAll();
    CtrlKeys({'V'});
    CtrlKeys({'X'});
    EXPECT_EQ(spin->Text(), "1");
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(SpinEdits, EachHalfStepsOnceWhenReleasedOverItAndTakesTheFocus) {
    Focus(*other);
    Press(spin->UpButtonRect());
    EXPECT_TRUE(spin->Focused());
    EXPECT_EQ(spin->HeldButton(), TSpinEdit::SpinButton::Up);
    EXPECT_TRUE(changes.empty()); // not on the press
    Release(spin->UpButtonRect());
    EXPECT_EQ(spin->HeldButton(), TSpinEdit::SpinButton::None);
    EXPECT_FALSE(spin->MouseCapture());
    Press(spin->DownButtonRect());
    Release(spin->DownButtonRect());
    Press(spin->DownButtonRect());
    Release(spin->DownButtonRect());
    EXPECT_EQ(changes, (std::vector<std::string>{"1", "0", "-1"}));

    // Dragged off and let go elsewhere, or onto the other half: no step.
    Press(spin->UpButtonRect());
    Release(spin->DownButtonRect());
    Press(spin->DownButtonRect());
    host->MouseUp(ScreenOf(*spin, {5, 5}));
    Pump();
    EXPECT_EQ(changes.size(), 3u);
    EXPECT_FALSE(spin->MouseCapture());

    // The pair is 15 x 17 at the right edge and the text stays left of it.
    const platform::Rect pair = spin->ButtonRect();
    const platform::Rect client = spin->ClientRect();
    EXPECT_EQ(pair.right, client.right);
    EXPECT_EQ(pair.Width(), TSpinEdit::kButtonWidth);
    EXPECT_EQ(pair.Height(), std::min(TSpinEdit::kButtonHeight, client.Height()));
    EXPECT_LE(spin->TextRect().right, pair.left);
    auto pairPixels = [&] {
        Pump();
        std::vector<platform::Color> out;
        for (int y = pair.top; y < pair.bottom; ++y)
            for (int x = pair.left; x < pair.right; ++x)
                out.push_back(PixelAt(*spin, {x, y}));
        return out;
    };
    const std::vector<platform::Color> shortText = pairPixels();
    spin->SetText("88888888888888888888888888888");
    spin->SetSelStart(29);
    EXPECT_EQ(pairPixels(), shortText);
    EXPECT_TRUE(HasColourIn(*spin, pair, ColorToRGB(clBtnFace)));
    EXPECT_TRUE(HasColourIn(*spin, spin->UpButtonRect(), platform::RGB(0, 0, 0))); // the arrow
}

TEST_F(SpinEdits, HoldingRepeatsAfter400ThenEvery100MsWhileShownPressed) {
    const platform::Rect up = spin->UpButtonRect();
    Press(up);
    Wait(399);
    EXPECT_EQ(spin->Value(), 0);
    Wait(1);
    EXPECT_EQ(spin->Value(), 1);
    Wait(99);
    EXPECT_EQ(spin->Value(), 1);
    Wait(1);
    Wait(100);
    EXPECT_EQ(spin->Value(), 3);

    // Off the half it shows raised and stops stepping; back on, it goes on.
    host->MouseMove(ScreenOf(*spin, {5, 5}));
    Pump();
    EXPECT_FALSE(spin->HeldShownPressed());
    Wait(300);
    EXPECT_EQ(spin->Value(), 3);
    host->MouseMove(Centre(up));
    Pump();
    Wait(100);
    EXPECT_EQ(spin->Value(), 4);

    // Letting go over the half is its click, one step more; then the repeats stop.
    Release(up);
    EXPECT_EQ(spin->Value(), 5);
    Wait(1000);
    EXPECT_EQ(spin->Value(), 5);
    EXPECT_EQ(changes.size(), 5u);
}

TEST_F(SpinEdits, LimitsApplyWhenTheFocusLeaves) {
    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    Focus(*spin);
    spin->SelectAll();
    Type("25");
    EXPECT_EQ(spin->Value(), 25);
    Keys({platform::VK_END});
    changes.clear();
    Focus(*other);
    EXPECT_EQ(spin->Text(), "10");
    EXPECT_EQ(changes, std::vector<std::string>{"10"});

    // Emptied text reads as the lower limit, which lies inside, so leaving keeps it empty; a
    // step below the limit stops at it.
    Focus(*spin);
    spin->SelectAll();
    Keys({platform::VK_BACK});
    EXPECT_EQ(spin->Value(), 1);
    Focus(*other);
    EXPECT_EQ(spin->Text(), "");
    Focus(*spin);
    Keys({VK_DOWN});
    EXPECT_EQ(spin->Text(), "1");
}

TEST_F(SpinEdits, AHandlerMayRewriteTheValueOrFreeTheEdit) {
    spin->OnChange = [this](TObject*) {
        changes.push_back(spin->Text());
        if (spin->Value() > 50)
            spin->SetValue(50);
    };
    Focus(*spin);
    spin->SelectAll();
    Type("99");
    EXPECT_EQ(spin->Text(), "50");
    EXPECT_EQ(changes, (std::vector<std::string>{"9", "99", "50"}));

    // Freed by its own handler in the middle of a held press: no repeat reaches it.
    spin->OnChange = [this](TObject*) {
        delete spin;
        spin = nullptr;
    };
    Press(spin->UpButtonRect());
    Wait(400);
    EXPECT_EQ(spin, nullptr);
    Wait(1000);
    host->MouseUp(ScreenOf(*form, {0, 0}));
    Pump();
}

} // namespace
} // namespace toolkit::testing
