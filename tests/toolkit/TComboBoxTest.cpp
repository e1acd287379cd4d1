// Combo boxes driven by real mouse and key input: the drop-down list as a popup, choices and
// the exact number of change notices, the text part, and the face's look.

#include "toolkit/TComboBox.h"
#include "ListControlsTestSupport.h"
#include "platform/win/Clipboard.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/Window.h"
#include "toolkit/TButtonControl.h"

namespace toolkit::testing {
namespace {

using namespace platform;

class ComboBoxes : public ListControlsTest {
protected:
    void SetUp() override {
        ListControlsTest::SetUp();
        combo = Make<TComboBox>("sComboBox1", {57, 3, 202, 24});
        combo->SetStyle(csDropDownList);
        combo->Items().Assign({"Цифры 8651", "Цифры 01", "Цифры+Знаки", "Знаки"});
        combo->OnChange = [this](TObject*) {
            ++changes;
            seen.push_back(combo->ItemIndex());
        };
        other = Make<TComboBox>("Other", {300, 3, 400, 24});
        Pump();
    }
    // The middle of a row of the dropped-down list, in the list's client coordinates.
    Point Row(int index) {
        const int h = combo->ListBox()->ItemHeight();
        return {20, (index - combo->ListBox()->TopIndex()) * h + h / 2};
    }
    void ClickRow(int index) { ClickAt(*combo->ListBox(), Row(index)); }

    TComboBox* combo = nullptr;
    TComboBox* other = nullptr;
    int changes = 0;
    std::vector<int> seen;
};

TEST_F(ComboBoxes, ProgramWritesFireNothing) {
    combo->SetItemIndex(2);
    combo->SetItemIndex(2);
    combo->SetText("Знаки");
    EXPECT_EQ(combo->ItemIndex(), 3);
    combo->SetItemIndex(17);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->Items().Add("extra");
    EXPECT_EQ(changes, 0);
}

TEST_F(ComboBoxes, KeysOnTheClosedListFireOncePerChange) {
    combo->SetItemIndex(0);
    combo->SetFocus();
    Pump();
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_END);
    Press(VK_DOWN); // already last: nothing
    Press(VK_END);
    Press(VK_HOME);
    Press(VK_UP); // already first: nothing
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_FALSE(combo->DroppedDown());
    // Letters: the next item starting with it, wrapping round; "з" folds to "З".
    Type("з");
    Type("З"); // the only item with that letter is chosen already
    Type("ц");
    Type("q"); // no such item
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 0, 3, 0}));
    EXPECT_EQ(combo->Text(), "Цифры 8651");
}

TEST_F(ComboBoxes, AClickDropsAPopupListThatChoosesOnceAndCloses) {
    combo->SetItemIndex(2);
    ClickAt(*combo, {20, 10});
    ASSERT_TRUE(combo->DroppedDown());
    TComboListBox* list = combo->ListBox();
    ASSERT_NE(list, nullptr);
    const HWND lh = list->HandleIfAllocated();
    EXPECT_TRUE(IsWindowVisible(lh));
    EXPECT_TRUE(GetWindowLongPtr(lh, GWL_STYLE) & WS_POPUP);
    EXPECT_TRUE(GetWindowLongPtr(lh, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetCapture(), lh);
    EXPECT_TRUE(combo->Focused()); // the list never takes the focus
    // Under the face, as wide, four rows and a border.
    Rect wr;
    GetWindowRect(lh, wr);
    EXPECT_EQ(wr.left, combo->ClientToScreen({0, 0}).x);
    EXPECT_EQ(wr.top, combo->ClientToScreen({0, combo->Height()}).y);
    EXPECT_EQ(wr.Width(), combo->Width());
    EXPECT_EQ(wr.Height(), 4 * list->ItemHeight() + 2);
    EXPECT_EQ(list->ItemIndex(), 2);
    // Moving over the rows highlights them; nothing is chosen yet.
    host->MouseMove(list->ClientToScreen(Row(0)));
    Pump();
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(changes, 0);
    ClickRow(1);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_FALSE(IsWindowVisible(lh));
    EXPECT_NE(GetCapture(), lh);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Цифры 01");
    EXPECT_EQ(seen, (std::vector<int>{1}));
    // Choosing the chosen item again is a choice too (a preset applies again).
    ClickAt(*combo, {20, 10});
    ClickRow(1);
    EXPECT_EQ(seen, (std::vector<int>{1, 1}));
}

TEST_F(ComboBoxes, OutsideClicksEscapeAndFocusLossCloseWithoutChoosing) {
    combo->SetItemIndex(0);
    ClickAt(*combo, {20, 10});
    ASSERT_TRUE(combo->DroppedDown());
    host->MouseMove(combo->ListBox()->ClientToScreen(Row(3)));
    Pump();
    ClickAt(*form, {500, 300});
    EXPECT_FALSE(combo->DroppedDown());
    // A click on the face of the dropped list closes it as well.
    ClickAt(*combo, {20, 10});
    ASSERT_TRUE(combo->DroppedDown());
    ClickAt(*combo, {20, 10});
    EXPECT_FALSE(combo->DroppedDown());
    ClickAt(*combo, {20, 10});
    Press(VK_DOWN);
    Press(VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    PressWith(VK_MENU, VK_DOWN);
    ASSERT_TRUE(combo->DroppedDown());
    other->SetFocus();
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(ComboBoxes, KeysOnTheOpenListMoveTheHighlightAndEnterChooses) {
    combo->SetItemIndex(0);
    combo->SetFocus();
    Pump();
    Press(VK_F4);
    ASSERT_TRUE(combo->DroppedDown());
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 2);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(changes, 0);
    Type("з");
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 3);
    // Enter chooses in the open list; the form's default button does not hear it.
    auto* ok = Make<TButtonControl>("OkButton", {10, 300, 90, 325});
    ok->SetDefault(true);
    int okClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    Press(VK_RETURN);
    EXPECT_EQ(okClicks, 0);
    EXPECT_FALSE(combo->DroppedDown());
    Press(VK_RETURN); // closed: the dialog's again
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(seen, (std::vector<int>{3}));
    PressWith(VK_MENU, VK_DOWN);
    PressWith(VK_MENU, VK_UP);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(seen, (std::vector<int>{3, 3}));
}

TEST_F(ComboBoxes, AltF4IsTheWindowsNotTheList) {
    bool closing = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        closing = true;
        canClose = false;
    };
    combo->SetFocus();
    Pump();
    PressWith(VK_MENU, VK_F4);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_TRUE(closing);
}

TEST_F(ComboBoxes, ALongListScrollsAndKeepsTheHighlightInView) {
    combo->Items().Clear();
    for (int i = 0; i < 20; ++i)
        combo->Items().Add("Item " + std::to_string(i));
    combo->SetDropDownCount(8);
    combo->SetItemIndex(15);
    combo->SetFocus();
    Press(VK_F4);
    TComboListBox* list = combo->ListBox();
    Rect wr;
    GetWindowRect(list->HandleIfAllocated(), wr);
    EXPECT_EQ(wr.Height(), 8 * list->ItemHeight() + 2);
    EXPECT_LE(list->TopIndex(), 15);
    EXPECT_GT(list->TopIndex() + list->VisibleItemCount(), 15);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list->HandleIfAllocated(), SB_VERT, si));
    EXPECT_EQ(si.nMax, 19);
    Press(VK_HOME);
    EXPECT_EQ(list->TopIndex(), 0);
    // A press on the list's own scroll bar scrolls it and leaves it open.
    Rect client;
    GetClientRect(list->HandleIfAllocated(), client);
    host->Click(list->ClientToScreen({client.right + 5, client.bottom - 5}));
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_GT(list->TopIndex(), 0);
    EXPECT_EQ(GetCapture(), list->HandleIfAllocated());
    EXPECT_EQ(changes, 0);
}

TEST_F(ComboBoxes, TheTextPartTypesAndFollowsTheItems) {
    auto* typing = Make<TComboBox>("Typing", {57, 60, 202, 81});
    typing->Items().Assign({"1:1", "2:3", "1:2"});
    int typed = 0;
    typing->OnChange = [&](TObject*) { ++typed; };
    typing->SetItemIndex(1);
    ASSERT_NE(typing->TextPart(), nullptr);
    EXPECT_EQ(typing->Text(), "2:3");
    EXPECT_EQ(typed, 0);
    typing->SetFocus();
    Pump();
    EXPECT_TRUE(typing->TextPart()->Focused());
    Press(VK_END);
    Press(VK_BACK);
    Press(VK_BACK);
    Type(":2");
    EXPECT_EQ(typing->Text(), "2:2");
    EXPECT_EQ(typing->ItemIndex(), -1);
    EXPECT_EQ(typed, 4);
    Press(VK_HOME);
    Press(VK_DELETE);
    Type("1");
    EXPECT_EQ(typing->Text(), "1:2");
    EXPECT_EQ(typing->ItemIndex(), 2);
    // Up and Down step through the items in the text part too.
    typed = 0;
    Press(VK_UP);
    EXPECT_EQ(typing->Text(), "2:3");
    EXPECT_EQ(typed, 1);
    // The button drops the list; a choice replaces the text.
    const Rect button = typing->ButtonRect();
    ClickAt(*typing, {button.left + 3, button.top + 3});
    ASSERT_TRUE(typing->DroppedDown());
    const int h = typing->ListBox()->ItemHeight();
    ClickAt(*typing->ListBox(), {10, h / 2});
    EXPECT_EQ(typing->Text(), "1:1");
    EXPECT_EQ(typing->ItemIndex(), 0);
    EXPECT_EQ(typed, 2);
}

TEST_F(ComboBoxes, TheTextPartIsAFullEditWithSelectionClipboardAndUndo) {
    auto* typing = Make<TComboBox>("Typing", {57, 60, 202, 81});
    typing->Items().Assign({"1:1", "2:3", "Знак"});
    std::vector<std::string> texts;
    typing->OnChange = [&](TObject*) { texts.push_back(typing->Text()); };
    typing->SetFocus();
    Pump();
    // Whole characters of UTF-8 text: Backspace takes "а", not half of it.
    Type("Знак");
    EXPECT_EQ(typing->ItemIndex(), 2);
    Press(VK_LEFT);
    Press(VK_BACK);
    EXPECT_EQ(typing->Text(), "Знк");
    EXPECT_EQ(typing->ItemIndex(), -1);
    // Undo gives the letter back with one notice, and the item follows the text.
    PressWith(VK_CONTROL, 'Z');
    EXPECT_EQ(typing->Text(), "Знак");
    EXPECT_EQ(typing->ItemIndex(), 2);
    // Shift+Home selects inside the text (no item step); cut and a one-line paste.
    Press(VK_END);
    PressWith(VK_SHIFT, VK_HOME);
    EXPECT_EQ(typing->TextPart()->SelText(), "Знак");
    EXPECT_EQ(typing->ItemIndex(), 2);
    PressWith(VK_CONTROL, 'X');
    EXPECT_EQ(typing->Text(), "");
    EXPECT_EQ(GetClipboardText(), "Знак");
    SetClipboardText("1:1\r\nmore");
    PressWith(VK_CONTROL, 'V');
    EXPECT_EQ(typing->Text(), "1:1");
    EXPECT_EQ(typing->ItemIndex(), 0);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"З", "Зн", "Зна", "Знак", "Знк", "Знак", "", "1:1"}));
    // A choice selects the whole text, so typing replaces it; undo stops at the choice.
    Press(VK_DOWN);
    EXPECT_EQ(typing->TextPart()->SelText(), "2:3");
    Type("x");
    EXPECT_EQ(typing->Text(), "x");
    PressWith(VK_CONTROL, 'Z');
    EXPECT_EQ(typing->Text(), "2:3");
    EXPECT_EQ(typing->ItemIndex(), 1);
    // The part is borderless: the face's white reaches the text's left edge.
    const Rect part = typing->ItemTextRect();
    EXPECT_EQ(PixelAt(*typing, {part.left, part.top}), ColorToRGB(clWindow));
}

TEST_F(ComboBoxes, ASimpleComboBoxChoosesFromItsOwnList) {
    auto* simple = Make<TComboBox>("Simple", {300, 60, 420, 200});
    simple->SetStyle(csSimple);
    simple->Items().Assign({"alpha", "beta", "gamma"});
    int n = 0;
    simple->OnChange = [&](TObject*) { ++n; };
    EXPECT_EQ(simple->Height(), 140);
    EXPECT_TRUE(simple->ButtonRect().IsEmpty());
    TControl* list = nullptr;
    for (TControl* c : simple->ControlList())
        if (dynamic_cast<TComboListBox*>(c))
            list = c;
    ASSERT_NE(list, nullptr);
    const int h = static_cast<TComboListBox*>(list)->ItemHeight();
    ClickAt(*list, {10, h + h / 2});
    EXPECT_EQ(simple->Text(), "beta");
    EXPECT_EQ(simple->ItemIndex(), 1);
    EXPECT_EQ(n, 1);
    Press(VK_DOWN);
    EXPECT_EQ(simple->Text(), "gamma");
    EXPECT_EQ(n, 2);
}

TEST_F(ComboBoxes, TheFaceShowsTheChoiceHighlightedWhileFocusedAndTheButtonAtTheRight) {
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Height(), combo->ItemHeight() + 8);
    const Rect button = combo->ButtonRect();
    EXPECT_EQ(button.right, combo->Width() - 2);
    Pump();
    const Rect text = combo->ItemTextRect();
    const Point probe{text.right - 3, text.top + 2};
    EXPECT_EQ(PixelAt(*combo, probe), ColorToRGB(clWindow));
    combo->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(*combo, probe), ColorToRGB(clHighlight));
    EXPECT_EQ(PixelAt(*combo, {button.left + 3, button.top + 3}), ColorToRGB(clBtnFace));
}

TEST_F(ComboBoxes, OwnerDrawnItemsAreDrawnByTheHandlerInTheListAndOnTheFace) {
    auto* drawn = Make<TComboBox>("Drawn", {57, 60, 202, 81});
    drawn->SetStyle(csOwnerDrawFixed);
    drawn->SetItemHeight(30);
    drawn->Items().Assign({"red", "green", "blue"});
    const Color colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    struct Call {
        int index;
        Rect rect;
        TComboItemStates state;
    };
    std::vector<Call> calls;
    drawn->OnDrawItem = [&](TCustomComboBox* sender, int index, const Rect& rect,
                            TComboItemStates state) {
        calls.push_back({index, rect, state});
        FillRect(sender->Canvas().Handle(), rect, colours[index]);
    };
    int changes = 0;
    drawn->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(drawn->TextPart(), nullptr);
    EXPECT_EQ(drawn->Height(), 38); // the face follows the item height
    // Nothing chosen: the face draws no item.
    Pump();
    EXPECT_TRUE(calls.empty());
    // The list: every row through the handler, ItemHeight high, the highlight marked.
    drawn->SetItemIndex(1);
    drawn->SetFocus();
    Pump();
    calls.clear();
    ClickAt(*drawn, {20, 10});
    ASSERT_TRUE(drawn->DroppedDown());
    Pump();
    std::vector<Call> rows;
    for (const Call& c : calls)
        if (!c.state.Contains(ciFace))
            rows.push_back(c);
    ASSERT_EQ(rows.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i].index, i);
        EXPECT_EQ(rows[i].rect.Height(), 30);
        EXPECT_EQ(rows[i].state.Contains(ciSelected), i == 1);
    }
    // A letter moves the highlight and Enter chooses, once.
    Type("b");
    Press(VK_RETURN);
    EXPECT_EQ(drawn->ItemIndex(), 2);
    EXPECT_EQ(changes, 1);
    // The closed face: the chosen item through the handler, in the text rectangle, selected
    // and focused while the combo box has the focus.
    calls.clear();
    drawn->Invalidate();
    Pump();
    ASSERT_FALSE(calls.empty());
    const Call face = calls.back();
    EXPECT_EQ(face.index, 2);
    EXPECT_EQ(face.rect, drawn->ItemTextRect());
    EXPECT_EQ(face.state, (TComboItemStates{ciFace, ciSelected, ciFocused}));
    const Rect text = drawn->ItemTextRect();
    EXPECT_EQ(PixelAt(*drawn, {text.left + 4, text.top + 10}), colours[2]);
}

TEST_F(ComboBoxes, AHandlerMayFreeTheComboBoxThatChanged) {
    combo->OnChange = [this](TObject*) {
        TComponent::Free(combo);
        combo = nullptr;
    };
    ClickAt(*combo, {20, 10});
    ClickAt(*combo->ListBox(), Row(3));
    EXPECT_EQ(combo, nullptr);
    Pump();
}

} // namespace
} // namespace toolkit::testing
