// Windows and bitmaps that cannot be made, as on a system short of memory or handles: the error
// box names what could not be made and the window goes on working.

#include "tests/app/AppTestSupport.h"
#include "toolkit/Exceptions.h"

namespace app::testing {
namespace {

using platform::Creation;

class Shortages : public ProgramTest {
protected:
    // Clicks a button, then answers what it opens with the keys queued after the click.
    void ClickAndRun(toolkit::TControl& button) {
        host->Click(button.ClientToScreen({20, 15}));
        Pump();
        while (host->HasPendingInput())
            app->HandleMessage();
        Pump();
    }
    std::string SampleLines() {
        cli::CliOptions options;
        options.pictures = {Asset("sample.bmp")};
        return CliOutput(options);
    }
};

TEST_F(Shortages, AnOpenDialogThatCannotBeMadeIsReportedAndTheNextOneOpens) {
    host->RefuseCreations(Creation::Window);
    host->Key(platform::VK_ESCAPE, 50);
    ClickAndRun(*form->sBitBtn1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Window cannot be made."});

    host->Text(Asset("sample.bmp"), 50);
    host->Key(platform::VK_RETURN, 60);
    ClickAndRun(*form->sBitBtn1);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(form->sBitBtn1->Caption(), "sample.bmp");
}

TEST_F(Shortages, APictureThatCannotBeMadeIsReportedAndTheNextLoadWorks) {
    // A JPEG is decoded into a DIB section of its own, made once the dialog has closed.
    form->OpenPictureDialog1->OnClose = [&](toolkit::TObject*) {
        host->RefuseCreations(Creation::DibSection);
        form->OpenPictureDialog1->OnClose = nullptr;
    };
    host->Text(Asset("sample.jpg"), 50);
    host->Key(platform::VK_RETURN, 60);
    ClickAndRun(*form->sBitBtn1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"DIB cannot be made."});

    host->Text(Asset("sample.bmp"), 50);
    host->Key(platform::VK_RETURN, 60);
    ClickAndRun(*form->sBitBtn1);
    ClickOn(*form->sBitBtn2);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(MemoText(), SampleLines());
}

TEST_F(Shortages, AConversionWhoseBitmapCannotBeMadeIsReportedAndTheNextOneWorks) {
    form->OpenPicture(Asset("sample.bmp"));
    host->RefuseCreations(Creation::DibSection);
    ClickOn(*form->sBitBtn2);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"DIB cannot be made."});
    ClickOn(*form->sBitBtn2);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(MemoText(), SampleLines());
}

} // namespace
} // namespace app::testing
