// Message boxes with a choice of buttons: which platform row a set of buttons asks for, the
// captions by type, the answers from the platform's box driven by keys, and the safe answers
// when no window system runs.

#include "toolkit/MessageBox.h"

#include "ToolkitTestSupport.h"
#include "platform/win/MessageBox.h"

namespace toolkit::testing {
namespace {

using namespace platform;

class MessageDialogs : public ToolkitTest {};

TEST_F(MessageDialogs, ButtonSetsPickTheRowThatHoldsThemAndTypesTheCaption) {
    struct Case {
        TMsgDlgButtons buttons;
        unsigned row;
    };
    const Case cases[] = {{{mbYes, mbNo}, MB_YESNO},
                          {{mbYes, mbNo, mbCancel}, MB_YESNOCANCEL},
                          {{mbOK, mbCancel}, MB_OKCANCEL},
                          {{mbAbort, mbRetry, mbIgnore}, MB_ABORTRETRYIGNORE},
                          {{mbRetry, mbCancel}, MB_RETRYCANCEL},
                          {{mbOK}, MB_OK},
                          {{}, MB_OK}};
    for (const Case& c : cases)
        MessageDlg("text", MsgDlgType::Confirmation, c.buttons);
    ASSERT_EQ(boxes.size(), std::size(cases));
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(boxes[i].buttons, cases[i].row) << i;
        EXPECT_EQ(boxes[i].caption, "Confirm");
        EXPECT_EQ(boxes[i].type, MsgDlgType::Confirmation);
    }

    boxes.clear();
    app->SetTitle("Charvane");
    MessageDlg("w", MsgDlgType::Warning, {mbOK});
    MessageDlg("c", MsgDlgType::Custom, {mbOK});
    app->MessageBox("q", "Question", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[1].caption, "Charvane");
    EXPECT_EQ(boxes[1].type, MsgDlgType::Custom);
    EXPECT_EQ(boxes[2].caption, "Question");
    EXPECT_EQ(boxes[2].type, MsgDlgType::Confirmation);
    EXPECT_EQ(boxes[2].buttons, MB_YESNO | MB_DEFBUTTON2);
}

TEST_F(MessageDialogs, ThePlatformBoxAnswersWithTheButtonPressed) {
    SetMessageBoxHandler({});
    TForm* form = MakeForm();
    form->Show();
    Pump();
    host->Key(VK_RETURN, 10);
    EXPECT_EQ(MessageDlg("Save the changes?", MsgDlgType::Confirmation, {mbYes, mbNo, mbCancel}),
              mrYes);
    host->Key(VK_ESCAPE, 10);
    EXPECT_EQ(MessageDlg("Save the changes?", MsgDlgType::Confirmation, {mbYes, mbNo, mbCancel}),
              mrCancel);
    host->Key(VK_RETURN, 10);
    EXPECT_EQ(app->MessageBox("Replace it?", "Save As", MB_YESNO | MB_DEFBUTTON2), IDNO);
    host->Key(VK_RETURN, 10);
    EXPECT_EQ(MessageDlg("Done.", MsgDlgType::Information, {mbOK}), mrOk);
}

TEST(MessageDialogsWithoutWindows, AnswerWhatChangesNothing) {
    EXPECT_FALSE(platform::WindowSystem::Running());
    EXPECT_EQ(MessageDlg("Overwrite?", MsgDlgType::Confirmation, {mbYes, mbNo}), mrNo);
    EXPECT_EQ(MessageDlg("Go on?", MsgDlgType::Confirmation, {mbOK, mbCancel}), mrCancel);
    EXPECT_EQ(MessageDlg("Failed.", MsgDlgType::Error, {mbAbort, mbRetry, mbIgnore}), mrAbort);
    EXPECT_EQ(MessageDlg("Note.", MsgDlgType::Information, {mbOK}), mrOk);
}

} // namespace
} // namespace toolkit::testing
