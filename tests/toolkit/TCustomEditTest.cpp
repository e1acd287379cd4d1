// The one-line edit driven through the headless host: typing, keys, mouse selection, the
// clipboard, undo, OnChange counts, the character filter and paste/cut gates a derived control
// uses, scrolling to the caret and a few painted pixels.

#include "EditTestSupport.h"

namespace toolkit::testing {
namespace {

using platform::RGB;

// A derived edit that takes digits only and can shut paste and cut, as a number field does.
class TDigitsEdit : public TEdit {
public:
    using TEdit::TEdit;
    bool allowClipboardEdits = true;
    int refused = 0;
    void CutToClipboard() override {
        if (allowClipboardEdits)
            TEdit::CutToClipboard();
    }
    void PasteFromClipboard() override {
        if (allowClipboardEdits)
            TEdit::PasteFromClipboard();
    }

protected:
    void KeyPress(char32_t& key) override {
        if (key >= 32 && (key < U'0' || key > U'9')) {
            key = 0;
            ++refused;
        }
        TEdit::KeyPress(key);
    }
};

class Edit : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        edit = Make<TEdit>({10, 10, 160, 31});
        edit->OnChange = [this](TObject*) { ++changes; };
        Focus(*edit);
    }
    TEdit* edit = nullptr;
    int changes = 0;
};

TEST_F(Edit, TypingInsertsAtTheCaretAndReplacesTheSelection) {
    Type("hello");
    EXPECT_EQ(edit->Text(), "hello");
    EXPECT_EQ(edit->SelStart(), 5);
    EXPECT_EQ(changes, 5);
    Keys({platform::VK_HOME});
    Type("¡Ж");
    EXPECT_EQ(edit->Text(), "¡Жhello");
    EXPECT_EQ(edit->SelStart(), 2); // code points, not bytes
    Keys({platform::VK_RIGHT, platform::VK_RIGHT});
    ShiftKeys({platform::VK_RIGHT, platform::VK_RIGHT});
    EXPECT_EQ(edit->SelText(), "ll");
    Type("LL");
    EXPECT_EQ(edit->Text(), "¡ЖheLLo");
    EXPECT_EQ(edit->SelLength(), 0);
    // The window's own messages give the typed text back too.
    std::string viaMessage;
    platform::SendMessage(edit->Handle(), platform::WM_GETTEXT, 0,
                          reinterpret_cast<LPARAM>(&viaMessage));
    EXPECT_EQ(viaMessage, "¡ЖheLLo");
    EXPECT_EQ(platform::SendMessage(edit->Handle(), platform::WM_GETTEXTLENGTH, 0, 0),
              static_cast<LRESULT>(viaMessage.size()));
}

TEST_F(Edit, BackspaceAndDeleteRemoveOneCharacterOrTheSelectionOrAWordWithCtrl) {
    Type("one two three");
    Keys({platform::VK_BACK});
    EXPECT_EQ(edit->Text(), "one two thre");
    Keys({platform::VK_HOME, platform::VK_DELETE});
    EXPECT_EQ(edit->Text(), "ne two thre");
    // Backspace at the start and Delete at the end change nothing and tell nobody.
    const int before = changes;
    Keys({platform::VK_BACK});
    Keys({platform::VK_END, platform::VK_DELETE});
    EXPECT_EQ(changes, before);
    CtrlKeys({platform::VK_BACK});
    EXPECT_EQ(edit->Text(), "ne two ");
    CtrlKeys({platform::VK_HOME});
    CtrlKeys({platform::VK_DELETE});
    EXPECT_EQ(edit->Text(), "two ");
    ShiftKeys({platform::VK_END});
    Keys({platform::VK_DELETE});
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(Edit, HomeEndAndCtrlArrowsMoveByWordsAndShiftExtends) {
    edit->SetText("alpha, beta  gamma");
    Keys({platform::VK_HOME});
    CtrlKeys({platform::VK_RIGHT});
    EXPECT_EQ(edit->SelStart(), 5); // before the comma
    CtrlKeys({platform::VK_RIGHT});
    EXPECT_EQ(edit->SelStart(), 7);
    CtrlKeys({platform::VK_RIGHT});
    EXPECT_EQ(edit->SelStart(), 13);
    CtrlKeys({platform::VK_RIGHT});
    EXPECT_EQ(edit->SelStart(), 18);
    CtrlKeys({platform::VK_LEFT});
    EXPECT_EQ(edit->SelStart(), 13);
    ShiftKeys({platform::VK_HOME});
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 13);
    // Left without Shift collapses to the selection's start, Right to its end.
    Keys({platform::VK_RIGHT});
    EXPECT_EQ(edit->SelStart(), 13);
    EXPECT_EQ(edit->SelLength(), 0);
    host->KeyDown(platform::VK_CONTROL);
    host->KeyDown(platform::VK_SHIFT);
    host->Key(platform::VK_LEFT);
    host->KeyUp(platform::VK_SHIFT);
    host->KeyUp(platform::VK_CONTROL);
    Pump();
    EXPECT_EQ(edit->SelText(), "beta  ");
}

TEST_F(Edit, MouseDragSelectsAndDoubleClickSelectsAWord) {
    edit->SetText("abc defg hij");
    const int y = 10;
    const int xOf3 = edit->PointOfPos({0, 3}).x, xOf9 = edit->PointOfPos({0, 9}).x;
    host->MouseDown(ScreenOf(*edit, {xOf3, y}));
    host->MouseMove(ScreenOf(*edit, {xOf9 - 2, y}));
    host->MouseMove(ScreenOf(*edit, {xOf9, y}));
    host->MouseUp(ScreenOf(*edit, {xOf9, y}));
    Pump();
    EXPECT_EQ(edit->SelText(), " defg ");
    // Shift+click extends from the anchor.
    host->KeyDown(platform::VK_SHIFT);
    host->Click(ScreenOf(*edit, {edit->PointOfPos({0, 12}).x, y}));
    host->KeyUp(platform::VK_SHIFT);
    Pump();
    EXPECT_EQ(edit->SelText(), " defg hij");
    const platform::Point inWord = ScreenOf(*edit, {edit->PointOfPos({0, 5}).x + 1, y});
    host->Click(inWord);
    host->Click(inWord);
    Pump();
    EXPECT_EQ(edit->SelText(), "defg ");
    Type("X");
    EXPECT_EQ(edit->Text(), "abc Xhij");
}

TEST_F(Edit, ClipboardRoundTripWithCtrlKeysAndShiftDelIns) {
    edit->SetText("copy me");
    CtrlKeys({'A'});
    CtrlKeys({'C'});
    EXPECT_EQ(platform::GetClipboardText(), "copy me");
    Keys({platform::VK_END});
    CtrlKeys({'V'});
    EXPECT_EQ(edit->Text(), "copy mecopy me");
    ShiftKeys({platform::VK_HOME});
    ShiftKeys({platform::VK_DELETE}); // cut
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(platform::GetClipboardText(), "copy mecopy me");
    ShiftKeys({platform::VK_INSERT}); // paste
    EXPECT_EQ(edit->Text(), "copy mecopy me");
    // A one-line edit takes only the first line of pasted text.
    platform::SetClipboardText("first\r\nsecond");
    edit->SetText("");
    CtrlKeys({'V'});
    EXPECT_EQ(edit->Text(), "first");
    // Cut on a read-only edit copies nothing away and changes nothing; copy works.
    edit->SetReadOnly(true);
    CtrlKeys({'A'});
    CtrlKeys({'X'});
    Type("zz");
    EXPECT_EQ(edit->Text(), "first");
    platform::SetClipboardText("");
    CtrlKeys({'C'});
    EXPECT_EQ(platform::GetClipboardText(), "first");
}

// The desktop's other clipboard: selecting offers the text, a middle click pastes it where it
// lands; the Ctrl+C clipboard is left alone by both.
TEST_F(Edit, SelectingSetsThePrimarySelectionAndAMiddleClickPastesIt) {
    platform::SetClipboardText("kept");
    edit->SetText("abc defg hij");
    const int y = 10;
    host->MouseDown(ScreenOf(*edit, {edit->PointOfPos({0, 3}).x, y}));
    host->MouseMove(ScreenOf(*edit, {edit->PointOfPos({0, 9}).x, y}));
    host->MouseUp(ScreenOf(*edit, {edit->PointOfPos({0, 9}).x, y}));
    Pump();
    EXPECT_EQ(platform::GetPrimarySelectionText(), " defg ");
    ShiftKeys({platform::VK_END});
    EXPECT_EQ(platform::GetPrimarySelectionText(), " defg hij");

    TEdit* other = Make<TEdit>({10, 40, 160, 61});
    other->SetText("12");
    Pump();
    host->Click(ScreenOf(*other, {other->PointOfPos({0, 1}).x, y}), platform::MouseButton::Middle);
    Pump();
    EXPECT_EQ(other->Text(), "1 defg hij2");
    EXPECT_TRUE(other->Focused());
    other->SetReadOnly(true);
    host->Click(ScreenOf(*other, {2, y}), platform::MouseButton::Middle);
    Pump();
    EXPECT_EQ(other->Text(), "1 defg hij2");
    EXPECT_EQ(platform::GetClipboardText(), "kept");
}

TEST_F(Edit, UndoRevertsTheLastChangeAndASecondUndoRedoesIt) {
    Type("abc");
    Type(" def"); // consecutive typing is one step
    CtrlKeys({'Z'});
    EXPECT_EQ(edit->Text(), "");
    CtrlKeys({'Z'});
    EXPECT_EQ(edit->Text(), "abc def");
    EXPECT_EQ(edit->SelText(), "abc def"); // what came back is selected
    Keys({platform::VK_END});
    ShiftKeys({platform::VK_LEFT, platform::VK_LEFT, platform::VK_LEFT});
    Keys({platform::VK_DELETE});
    EXPECT_EQ(edit->Text(), "abc ");
    CtrlKeys({'Z'});
    EXPECT_EQ(edit->Text(), "abc def");
    EXPECT_EQ(edit->SelText(), "def");
    // Setting the text by program leaves nothing to undo.
    edit->SetText("new");
    EXPECT_FALSE(edit->CanUndo());
    CtrlKeys({'Z'});
    EXPECT_EQ(edit->Text(), "new");
}

TEST_F(Edit, OnChangeRunsOncePerRealChangeAndNeverForTheSameText) {
    edit->SetText("abc");
    EXPECT_EQ(changes, 1);
    edit->SetText("abc");
    EXPECT_EQ(changes, 1);
    Keys({platform::VK_LEFT, platform::VK_HOME, platform::VK_END}); // moving changes nothing
    EXPECT_EQ(changes, 1);
    edit->SelectAll();
    edit->SetSelText("abc"); // the same text again
    EXPECT_EQ(changes, 1);
    edit->SelectAll();
    edit->SetSelText("x");
    EXPECT_EQ(changes, 2);
    // A handler that sets the text again nests one more change, and sees the new text.
    std::vector<std::string> seen;
    edit->OnChange = [&](TObject*) {
        seen.push_back(edit->Text());
        if (edit->Text() == "x1")
            edit->SetText("x1!");
    };
    Type("1");
    EXPECT_EQ(seen, (std::vector<std::string>{"x1", "x1!"}));
    // A handler may free the edit whose text the program set.
    auto* doomed = Make<TEdit>({10, 70, 160, 91});
    doomed->OnChange = [&](TObject*) { delete doomed; };
    doomed->SetText("bye");
    // Without a window the change is still told.
    auto* loose = new TEdit(form);
    int looseChanges = 0;
    loose->OnChange = [&](TObject*) { ++looseChanges; };
    loose->SetText("5");
    EXPECT_EQ(looseChanges, 1);
    EXPECT_FALSE(loose->HandleAllocated());
}

TEST_F(Edit, MaxLengthCutsTypingAndPasting) {
    edit->SetMaxLength(5);
    Type("abcdefg");
    EXPECT_EQ(edit->Text(), "abcde");
    EXPECT_EQ(changes, 5);
    platform::SetClipboardText("XYZ");
    ShiftKeys({platform::VK_LEFT});
    CtrlKeys({'V'});
    EXPECT_EQ(edit->Text(), "abcdX");
}

TEST_F(Edit, AKeyPressFilterDropsCharactersAndGatesClipboardEdits) {
    auto* digits = Make<TDigitsEdit>({10, 40, 160, 61});
    Focus(*digits);
    int changesHere = 0;
    digits->OnChange = [&](TObject*) { ++changesHere; };
    Type("1a-2");
    EXPECT_EQ(digits->Text(), "12");
    EXPECT_EQ(digits->refused, 2);
    Keys({platform::VK_BACK}); // control characters pass
    EXPECT_EQ(digits->Text(), "1");
    digits->allowClipboardEdits = false;
    platform::SetClipboardText("99x");
    CtrlKeys({'V'});
    ShiftKeys({platform::VK_INSERT});
    CtrlKeys({'A'});
    CtrlKeys({'X'});
    EXPECT_EQ(digits->Text(), "1");
    digits->allowClipboardEdits = true;
    CtrlKeys({'V'}); // a paste may bring in anything
    EXPECT_EQ(digits->Text(), "99x");
    EXPECT_EQ(changesHere, 4);
    // OnKeyPress may drop characters too.
    digits->OnKeyPress = [](TObject*, char32_t& key) {
        if (key == U'7')
            key = 0;
    };
    Type("78");
    EXPECT_EQ(digits->Text(), "99x8");
}

TEST_F(Edit, TheViewScrollsSoTheCaretStaysVisible) {
    std::string longText(200, 'w');
    edit->SetText(longText);
    EXPECT_EQ(edit->HorzScroll(), 0);
    Keys({platform::VK_END});
    const platform::Rect tr = edit->TextRect();
    EXPECT_GT(edit->HorzScroll(), 0);
    platform::Point caret = edit->PointOfPos(edit->CaretPos());
    EXPECT_GE(caret.x, tr.left);
    EXPECT_LT(caret.x, tr.right);
    Keys({platform::VK_HOME});
    EXPECT_EQ(edit->HorzScroll(), 0);
    // Deleting the text brings the view back.
    Keys({platform::VK_END});
    CtrlKeys({'A'});
    Keys({platform::VK_DELETE});
    EXPECT_EQ(edit->HorzScroll(), 0);
}

TEST_F(Edit, PaintsTextSelectionAndASunkenEdge) {
    edit->SetText("MMMM");
    edit->SetColor(clWhite);
    edit->Font().SetColor(clBlack);
    form->Show();
    Pump();
    // The sunken client edge: dark lines top and left outside the client area.
    EXPECT_NE(PixelAt(*edit, {-1, 5}), RGB(255, 255, 0));
    EXPECT_NE(PixelAt(*edit, {-1, 5}), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(*edit, {edit->ClientWidth() - 3, 5}), RGB(255, 255, 255));
    EXPECT_TRUE(HasColourIn(*edit, edit->TextRect(), RGB(0, 0, 0)));
    CtrlKeys({'A'});
    Pump();
    const platform::Color navy = ColorToRGB(clHighlight);
    EXPECT_TRUE(HasColourIn(*edit, edit->TextRect(), navy));
    // Unfocused, the selection is hidden; with HideSelection off it stays.
    auto* other = Make<TEdit>({10, 40, 160, 61});
    Focus(*other);
    Pump();
    EXPECT_FALSE(HasColourIn(*edit, edit->TextRect(), navy));
    edit->SetHideSelection(false);
    Pump();
    EXPECT_TRUE(HasColourIn(*edit, edit->TextRect(), navy));
}

TEST_F(Edit, TabbingInSelectsAllButAClickPlacesTheCaret) {
    edit->SetText("first");
    auto* second = Make<TEdit>({10, 40, 160, 61});
    second->SetText("second");
    Keys({platform::VK_TAB});
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(second->SelText(), "second");
    const platform::Point at = edit->PointOfPos({0, 2});
    host->Click(ScreenOf(*edit, {at.x, at.y + 5}));
    Pump();
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->SelStart(), 2);
}

TEST_F(Edit, AFormatRectKeepsTheTextOutOfTheRestOfTheClientArea) {
    // As a number field leaves room for its buttons at the right.
    edit->SetColor(clWhite);
    edit->Font().SetColor(clBlack);
    const platform::Rect client = edit->ClientRect();
    edit->SetFormatRect({0, 0, client.right - 40, client.bottom + 1});
    EXPECT_EQ(edit->TextRect(), (platform::Rect{0, 0, client.right - 40, client.bottom}));
    edit->SetText(std::string(100, 'W'));
    Keys({platform::VK_END});
    const platform::Point caret = edit->PointOfPos(edit->CaretPos());
    EXPECT_LT(caret.x, client.right - 40);
    Pump();
    EXPECT_TRUE(HasColourIn(*edit, {0, 0, client.right - 40, client.bottom}, RGB(0, 0, 0)));
    EXPECT_FALSE(
        HasColourIn(*edit, {client.right - 40, 0, client.right, client.bottom}, RGB(0, 0, 0)));
}

TEST_F(Edit, PasswordCharHidesTheTextOnScreenAndFromTheClipboard) {
    edit->SetPasswordChar(U'*');
    Type("secret");
    EXPECT_EQ(edit->Text(), "secret");
    platform::SetClipboardText("before");
    CtrlKeys({'A'});
    CtrlKeys({'C'});
    CtrlKeys({'X'});
    EXPECT_EQ(platform::GetClipboardText(), "before");
    EXPECT_EQ(platform::GetPrimarySelectionText(), "");
    EXPECT_EQ(edit->Text(), "secret");
    EXPECT_EQ(edit->ColumnX(0, 6), 6 * edit->TextFont()->Advance(U'*'));
}

} // namespace
} // namespace toolkit::testing
