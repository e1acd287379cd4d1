#include <string>
#include <vector>

#include "app/SaveFileTypes.h"
#include "engine/PagedExport.h"
#include "tests/app/AppTestSupport.h"

namespace {

using app::testing::ProgramTest;
using namespace toolkit;

class Save : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        form->OpenPicture(Asset("sample.bmp"));
        ClickOn(*form->sBitBtn2);
        ASSERT_GT(form->sMemo1->Lines().Count(), 0);
        // The window gives the focus back to the control that had it last time; the scripts
        // below start from the first field every time.
        saveOptions->OnActivate = [this](TObject*) {
            saveOptions->FocusControl(saveOptions->SpinEdit1);
        };
    }

    // Presses "Сохранить" with the save options window's input queued behind it: Tab moves on
    // from SpinEdit1 in tab order. `fields` are the texts for SpinEdit1,
    // Edit1 (empty: left as it is) and SpinEdit3; then `finish` (Enter for OK, Esc for
    // Cancel). After OK an Esc follows for the save dialog, which OK opens once more: the name
    // in Edit1 stands.
    void SaveThroughOptions(const std::string& cpl, const std::string& name, const std::string& lpp,
                            int finish = platform::VK_RETURN) {
        std::uint64_t t = 0;
        auto next = [&] { return t += 10; };
        host->Click(form->sBitBtn3->ClientToScreen({20, 15}));
        // An edit entered by the keyboard has all its text selected, so typing replaces it.
        auto replace = [&](const std::string& text) {
            if (!text.empty())
                host->Text(text, next());
        };
        replace(cpl);
        host->Key(platform::VK_TAB, next());
        replace(name);
        host->Key(platform::VK_TAB, next()); // BitBtn2
        host->Key(platform::VK_TAB, next()); // SpinEdit3
        replace(lpp);
        host->Key(finish, next());
        if (finish == platform::VK_RETURN)
            host->Key(platform::VK_ESCAPE, next());
        Pump();
        while (host->HasPendingInput())
            app->HandleMessage();
        Pump();
    }

    std::string CliSave(const std::string& file, int cpl, int lpp, int width = 80) {
        cli::CliOptions options;
        options.pictures = {Asset("sample.bmp")};
        options.saveFile = file;
        options.charsPerLine = cpl;
        options.linesPerPage = lpp;
        options.width = width;
        CliOutput(options);
        return ReadFile(file);
    }
};

TEST_F(Save, OkWritesTheSameBytesAsTheCommandLineToolWithTheWindowsValues) {
    const std::string file = TempFile("art.txt");
    SaveThroughOptions("", file, "");
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    EXPECT_FALSE(saveOptions->Visible());
    EXPECT_EQ(saveOptions->Edit1->Text(), file);
    const std::string written = ReadFile(file);
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written, CliSave(TempFile("cli.txt"), 55, 42));

    // The window keeps its values; new ones apply to the next save, and so does a new width in
    // the main window.
    TypeInto(*form->sSpinEdit3, "100");
    SaveThroughOptions("30", "", "7");
    EXPECT_EQ(saveOptions->SpinEdit1->Value(), 30);
    EXPECT_EQ(saveOptions->SpinEdit3->Value(), 7);
    EXPECT_EQ(saveOptions->Edit1->Text(), file);
    // The pane still holds the 80 symbols wide conversion; the width cuts it into more strips.
    cli::CliOptions options;
    options.pictures = {Asset("sample.bmp")};
    std::vector<std::string> lines;
    std::istringstream converted(CliOutput(options));
    for (std::string line; std::getline(converted, line);)
        lines.push_back(line);
    EXPECT_EQ(ReadFile(file), engine::BuildPagedText(lines, 100, 30, 7));
}

TEST_F(Save, CancelWritesNothing) {
    const std::string file = TempFile("never.txt");
    SaveThroughOptions("", file, "", platform::VK_ESCAPE);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(saveOptions->ModalResult(), mrCancel);
}

TEST_F(Save, FailuresShowTheErrorBoxAndWriteNothing) {
    // The first save with an empty name: the current folder cannot be created as a file.
    SaveThroughOptions("", "", "");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Cannot create file \"", 0), 0u) << boxes[0].text;
    EXPECT_EQ(boxes[0].type, MsgDlgType::Error);

    const std::string file = TempFile("one.txt");
    SaveThroughOptions("1", file, "");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Division by zero.");
    EXPECT_FALSE(std::filesystem::exists(file));

    SaveThroughOptions("55", "", "0");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, "Division by zero.");
    EXPECT_FALSE(std::filesystem::exists(file));

    const std::string noFolder = TempFile("no/such/folder.txt");
    SaveThroughOptions("", noFolder, "42");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[3].text, "Cannot create file \"" + noFolder + "\". No such file or directory.");

    // A disk that refuses the bytes is an error, not a save.
    SaveThroughOptions("", "/dev/full", "");
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[4].text, "Cannot write file \"/dev/full\". No space left on device.");

    // The window still saves.
    SaveThroughOptions("", file, "");
    EXPECT_EQ(boxes.size(), 5u);
    EXPECT_EQ(ReadFile(file), CliSave(TempFile("cli.txt"), 55, 42));
}

} // namespace

TEST_F(Save, FileTypesBeyondTheFirstExportTheSamePages) {
    // The default type writes the paged text whatever the name says.
    const std::string named = TempFile("art.html");
    SaveThroughOptions("", named, "");
    EXPECT_EQ(ReadFile(named), CliSave(TempFile("cli.txt"), 55, 42));

    // A web page in colour: a span for each run, from the picture the pane was converted from.
    saveOptions->SaveDialog1->SetFilterIndex(3);
    SaveThroughOptions("", "", "");
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    const std::string page = ReadFile(named);
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>")) << page.substr(0, 40);
    EXPECT_NE(page.find("<span style=\"color:#"), std::string::npos);
    cli::CliOptions options;
    options.pictures = {Asset("sample.bmp")};
    options.saveFile = TempFile("cli.html");
    options.format = cli::OutputFormat::Html;
    options.color = cli::ColorMode::TrueColor;
    CliOutput(options);
    EXPECT_EQ(page, ReadFile(TempFile("cli.html")));

    // A picture in the pane's font, pixel for pixel as charvane-cli draws it.
    saveOptions->SaveDialog1->SetFilterIndex(4);
    SaveThroughOptions("", "", "");
    options.saveFile = TempFile("cli.png");
    options.format = cli::OutputFormat::Png;
    options.color = cli::ColorMode::None;
    CliOutput(options);
    EXPECT_EQ(ReadFile(named), ReadFile(TempFile("cli.png")));
}

// A type's extension is added to a name that has none; a dot in a folder's name or a hidden
// file's leading dot is no extension, and the paged text adds nothing.
TEST(SaveFileTypes, ATypeAddsItsExtensionOnlyToANameWithoutOne) {
    const app::TSaveFileType& page = app::SaveFileTypeAt(2);
    const app::TSaveFileType& text = app::SaveFileTypeAt(1);
    EXPECT_EQ(app::WithTypeExtension("/tmp/art", page), "/tmp/art.html");
    EXPECT_EQ(app::WithTypeExtension("/tmp/art.txt", page), "/tmp/art.txt");
    EXPECT_EQ(app::WithTypeExtension("/tmp/.notes", page), "/tmp/.notes.html");
    EXPECT_EQ(app::WithTypeExtension("/tmp/a.b/art", page), "/tmp/a.b/art.html");
    EXPECT_EQ(app::WithTypeExtension("/tmp/art", text), "/tmp/art");
}
