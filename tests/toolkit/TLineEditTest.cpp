// The one-line editor under the combo box's text part and the grid's in-place editor: editing
// by code points in UTF-8 text, selection with Shift, the clipboard, and change notices.

#include "toolkit/TLineEdit.h"
#include "ListControlsTestSupport.h"
#include "platform/win/Clipboard.h"

namespace toolkit::testing {
namespace {

using namespace platform;

class LineEdits : public ListControlsTest {
protected:
    void SetUp() override {
        ListControlsTest::SetUp();
        edit = Make<TLineEdit>("Edit1", {10, 10, 150, 31});
        edit->OnChange = [this](TObject*) { texts.push_back(edit->Text()); };
        edit->SetFocus();
        Pump();
    }
    TLineEdit* edit = nullptr;
    std::vector<std::string> texts;
};

TEST_F(LineEdits, EditsWholeCharactersOfUtf8Text) {
    Type("Знак");
    Press(VK_LEFT);
    Press(VK_BACK); // removes "а", not half of it
    Type("ё");
    Press(VK_HOME);
    Press(VK_DELETE);
    EXPECT_EQ(edit->Text(), "нёк");
    EXPECT_EQ(edit->CaretPosition(), 0);
    EXPECT_EQ(texts, (std::vector<std::string>{"З", "Зн", "Зна", "Знак", "Знк", "Знёк", "нёк"}));
    // Nothing to delete: no change, no notice.
    Press(VK_BACK);
    EXPECT_EQ(texts.size(), 7u);
}

TEST_F(LineEdits, ShiftSelectsAndTheClipboardCopiesCutsAndPastesOneLine) {
    Type("abcdef");
    PressWith(VK_SHIFT, VK_LEFT);
    PressWith(VK_SHIFT, VK_LEFT);
    EXPECT_EQ(edit->SelText(), "ef");
    PressWith(VK_CONTROL, 'X');
    EXPECT_EQ(edit->Text(), "abcd");
    EXPECT_EQ(GetClipboardText(), "ef");
    Press(VK_HOME);
    PressWith(VK_CONTROL, 'V');
    EXPECT_EQ(edit->Text(), "efabcd");
    SetClipboardText("12\r\n34");
    PressWith(VK_CONTROL, 'A');
    PressWith(VK_CONTROL, 'V');
    EXPECT_EQ(edit->Text(), "12");
    // A program write fires too and keeps the caret inside the text.
    edit->SetText("x");
    EXPECT_EQ(edit->CaretPosition(), 1);
    EXPECT_EQ(texts.back(), "x");
}

} // namespace
} // namespace toolkit::testing
