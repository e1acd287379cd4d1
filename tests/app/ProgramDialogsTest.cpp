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
        options.pictures = {Asset(name)};
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
    options.pictures = {Asset("sample.bmp")};
    options.saveFile = TempFile("cli.txt");
    CliOutput(options);
    EXPECT_EQ(ReadFile(file), ReadFile(TempFile("cli.txt")));
}

TEST_F(ProgramDialogs, ANameChosenWithTheDotsButtonStandsWhenTheSecondDialogIsCancelled) {
    form->OpenPicture(Asset("sample.bmp"));
    ClickOn(*form->sBitBtn2);
    const std::string file = TempFile("dots.txt");
    host->Click(form->sBitBtn3->ClientToScreen({20, 15}));
    // "..." inside the options window and the name in its dialog; then OK, and Esc for the
    // second dialog that OK opens.
    int dialogs = 0;
    // Once: the handler is copied when it runs, so its own state would not last.
    bool queued = false;
    saveOptions->OnActivate = [&](TObject*) {
        if (!queued)
            host->Click(saveOptions->SpeedButton1->ClientToScreen({10, 10}),
                        platform::MouseButton::Left, 10);
        queued = true;
    };
    saveOptions->SaveDialog1->OnShow = [&](TObject*) {
        if (++dialogs == 1) {
            host->Text(file, 10);
            host->Key(platform::VK_RETURN, 20);
        } else {
            host->Key(platform::VK_ESCAPE, 10);
        }
    };
    saveOptions->SaveDialog1->OnClose = [&](TObject*) {
        if (dialogs == 1)
            host->Key(platform::VK_RETURN, 30);
    };
    Pump();
    while (host->HasPendingInput())
        app->HandleMessage();
    Pump();
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(saveOptions->Edit1->Text(), file);
    // Saved under that name all the same, as the command-line tool would save it.
    cli::CliOptions options;
    options.pictures = {Asset("sample.bmp")};
    options.saveFile = TempFile("cli.txt");
    CliOutput(options);
    EXPECT_EQ(ReadFile(file), ReadFile(TempFile("cli.txt")));
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
}

} // namespace
