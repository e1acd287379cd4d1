// The open and save buttons through the real file dialogs: a path typed into the dialog's
// focused file-name field and Enter choose the file.

#include <string>

#include "tests/app/AppTestSupport.h"

namespace {

using app::testing::ProgramTest;
using namespace toolkit;

class ProgramDialogs : public ProgramTest {
protected:
    // Presses a button of the main window with the dialog's answer queued behind it.
    void PressAndChoose(TControl& button, const std::string& path) {
        host->Click(button.ClientToScreen({20, 15}));
        host->Text(path, 50);
        host->Key(platform::VK_RETURN, 60);
        Pump();
        while (host->HasPendingInput())
            app->HandleMessage();
        Pump();
    }
};

TEST_F(ProgramDialogs, TheOpenDialogLoadsABitmapAndAJpeg) {
    for (const char* name : {"sample.bmp", "sample.jpg"}) {
        SCOPED_TRACE(name);
        PressAndChoose(*form->sBitBtn1, Asset(name));
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(form->sBitBtn1->Caption(), name);
        EXPECT_EQ(form->sBitBtn1->Hint(), Asset(name));
        ClickOn(*form->sBitBtn2);
        cli::CliOptions options;
        options.picture = Asset(name);
        EXPECT_EQ(MemoText(), CliOutput(options));
    }
    // A later cancel keeps the picture, its name and its path.
    host->Click(form->sBitBtn1->ClientToScreen({20, 15}));
    host->Key(platform::VK_ESCAPE, 50);
    Pump();
    while (host->HasPendingInput())
        app->HandleMessage();
    EXPECT_EQ(form->sBitBtn1->Caption(), "sample.jpg");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ProgramDialogs, OkAsksForTheNameOnceMoreAndSavesUnderTheChosenOne) {
    form->OpenPicture(Asset("sample.bmp"));
    ClickOn(*form->sBitBtn2);
    const std::string file = TempFile("chosen");
    // "Сохранить", then Enter (OK) in the options, then the name in the save dialog.
    host->Click(form->sBitBtn3->ClientToScreen({20, 15}));
    host->Key(platform::VK_RETURN, 20);
    host->Text(file, 60);
    host->Key(platform::VK_RETURN, 70);
    Pump();
    while (host->HasPendingInput())
        app->HandleMessage();
    Pump();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(saveOptions->Edit1->Text(), file); // no extension added
    cli::CliOptions options;
    options.picture = Asset("sample.bmp");
    options.saveFile = TempFile("cli.txt");
    CliOutput(options);
    EXPECT_EQ(ReadFile(file), ReadFile(TempFile("cli.txt")));
}

TEST_F(ProgramDialogs, ANameChosenWithTheDotsButtonStandsWhenTheSecondDialogIsCancelled) {
    form->OpenPicture(Asset("sample.bmp"));
    ClickOn(*form->sBitBtn2);
    const std::string file = TempFile("dots.txt");
    host->Click(form->sBitBtn3->ClientToScreen({20, 15}));
    // "..." inside the options window, the name, then OK and Esc for the second dialog.
    platform::Point dots{0, 0};
    saveOptions->OnShow = [&](TObject*) {
        dots = saveOptions->SpeedButton1->ClientToScreen({10, 10});
    };
    saveOptions->OnActivate = [&, queued = false](TObject*) mutable {
        if (queued)
            return;
        queued = true;
        host->Click(dots, platform::MouseButton::Left, 10);
        host->Text(file, 60);
        host->Key(platform::VK_RETURN, 70);
        host->Key(platform::VK_RETURN, 120);
        host->Key(platform::VK_ESCAPE, 170);
    };
    Pump();
    while (host->HasPendingInput())
        app->HandleMessage();
    Pump();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(saveOptions->Edit1->Text(), file);
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
}

} // namespace
