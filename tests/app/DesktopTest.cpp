// The program's windows as a user meets them on a desktop: the save dialog belongs to the save
// options window over the main window, the keyboard comes back to the main window when both
// close, a termination signal ends the program from inside them, and the main window's frame
// resizes it. (Gestures on a disabled window: tests/platform/DesktopTest.cpp.)

#include <csignal>
#include <optional>

#include "platform/sys/Signals.h"
#include "platform/win/Input.h"
#include "tests/app/AppTestSupport.h"
#include "toolkit/TTimer.h"

namespace {

using app::testing::ProgramTest;
using platform::HWND;
using namespace toolkit;

class ProgramDesktop : public ProgramTest {
protected:
    // Runs the scripted input through every modal loop it reaches.
    void RunScript() {
        Pump();
        while (host->HasPendingInput() && !app->Terminated())
            app->HandleMessage();
        Pump();
    }
    platform::Point Middle(TControl& c) {
        return c.ClientToScreen({c.Width() / 2, c.Height() / 2});
    }

    // Calls `probe` once from inside whatever loop runs `ms` milliseconds from now.
    void ProbeAfter(unsigned ms, std::function<void()> probe) {
        auto* timer = new TTimer(form);
        timer->SetInterval(ms);
        timer->SetOnTimer([timer, probe](TObject*) {
            timer->SetEnabled(false);
            probe();
        });
        timer->SetEnabled(true);
    }
};

// OK opens the save dialog as a second modal level over the options window; cancelling it
// closes both (the empty name then fails to save). Nobody on the host hands the keyboard back.
TEST_F(ProgramDesktop, AfterBothModalLevelsCloseTheKeyboardIsBackAtTheMainWindow) {
    const HWND main = form->Handle();
    host->Click(Middle(*form->sBitBtn3));
    host->Key(platform::VK_RETURN, 20);
    HWND dialog, dialogOwner;
    std::optional<platform::HostFrame> frame, optionsFrame;
    ProbeAfter(100, [&] {
        dialog = platform::GetActiveWindow();
        dialogOwner = platform::GetParent(dialog);
        frame = host->Host(dialog)->frame;
        optionsFrame = host->Host(saveOptions->Handle())->frame;
    });
    host->Key(platform::VK_ESCAPE, 150);
    RunScript();

    ASSERT_TRUE(frame && optionsFrame);
    EXPECT_EQ(optionsFrame->belongsTo, main);
    EXPECT_TRUE(optionsFrame->modal);
    EXPECT_EQ(dialogOwner, saveOptions->Handle());
    EXPECT_EQ(frame->belongsTo, saveOptions->Handle());
    EXPECT_TRUE(frame->modal);
    ASSERT_EQ(boxes.size(), 1u); // the empty name
    EXPECT_EQ(platform::GetActiveWindow(), main);
    EXPECT_EQ(host->HostKeyboard(), main);
}

TEST_F(ProgramDesktop, ATerminationSignalEndsTheProgramFromInsideTheSaveOptions) {
    platform::CatchTerminationSignals();
    const std::string file = TempFile("never.txt");
    saveOptions->Edit1->SetText(file);
    host->Click(Middle(*form->sBitBtn3));
    ProbeAfter(50, [] { std::raise(SIGTERM); });
    host->Key(platform::VK_RETURN, 100); // would save, were the program still running
    RunScript();
    platform::ReleaseTerminationSignals();

    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(saveOptions->Visible());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ProgramDesktop, DraggingTheFramesCornerResizesTheWindowAndThePanesFollow) {
    ASSERT_TRUE(host->Host(form->Handle())->frame.sizeable);
    const int width = form->Width(), height = form->Height();
    const int memoWidth = form->sMemo1->Width(), memoHeight = form->sMemo1->Height();
    const platform::Point corner{form->Left() + width - 2, form->Top() + height - 2};
    host->MouseDown(corner);
    host->MouseMove({corner.x + 100, corner.y + 60}, 10);
    host->MouseUp({corner.x + 100, corner.y + 60}, platform::MouseButton::Left, 20);
    RunScript();

    EXPECT_EQ(form->Width(), width + 100);
    EXPECT_EQ(form->Height(), height + 60);
    EXPECT_EQ(form->sPanel1->Width(), 211);
    EXPECT_EQ(form->sMemo1->Width(), memoWidth + 100);
    EXPECT_EQ(form->sMemo1->Height(), memoHeight + 60);
}

} // namespace
