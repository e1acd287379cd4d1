// The memo: its line list, multi-line editing and selection, the standard scroll bars following
// the caret and the content, the wheel, a font change re-measuring at once, and large content.

#include "EditTestSupport.h"
#include "platform/win/ScrollBar.h"
#include "toolkit/Exceptions.h"

namespace toolkit::testing {
namespace {

using platform::SB_HORZ;
using platform::SB_VERT;

class Memo : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        memo = Make<TMemo>({10, 10, 310, 210});
        memo->SetScrollBars(ssBoth);
        memo->Font().SetName("Courier New");
        memo->Font().SetHeight(-13);
        memo->OnChange = [this](TObject*) { ++changes; };
        Focus(*memo);
    }
    platform::SCROLLINFO Bar(int bar) {
        platform::SCROLLINFO si;
        si.fMask = platform::SIF_ALL;
        platform::GetScrollInfo(memo->Handle(), bar, si);
        return si;
    }
    void Fill(int lines, int width) {
        for (int i = 0; i < lines; ++i)
            memo->Lines().Add(std::to_string(i) +
                              std::string(static_cast<std::size_t>(width), 'x'));
    }
    TMemo* memo = nullptr;
    int changes = 0;
};

TEST_F(Memo, LinesBehaveAsAStringListOverTheText) {
    TMemoLines& lines = memo->Lines();
    EXPECT_EQ(lines.Count(), 0);
    lines.Add("first");
    lines.Add("второй");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[1], "второй");
    EXPECT_EQ(lines.Text(), "first\r\nвторой\r\n");
    lines.Insert(1, "middle");
    lines.Put(0, "FIRST\r\nno break");
    EXPECT_EQ(memo->Text(), "FIRSTno break\r\nmiddle\r\nвторой\r\n");
    lines.Delete(0);
    EXPECT_EQ(memo->Text(), "middle\r\nвторой\r\n");
    EXPECT_THROW(lines.Delete(2), EListError);
    try {
        (void)lines[-1];
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
    }
    // Text typed without a final break still counts its last line.
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0);
    Type("a");
    Keys({platform::VK_RETURN});
    Type("b");
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(memo->Text(), "a\r\nb");
    lines.Add("c");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\nc\r\n");
}

TEST_F(Memo, EnterBackspaceAndArrowsWorkAcrossLines) {
    Type("one");
    Keys({platform::VK_RETURN});
    Type("two");
    EXPECT_EQ(memo->Text(), "one\r\ntwo");
    EXPECT_EQ(memo->CaretPos(), (TTextPos{1, 3}));
    Keys({platform::VK_HOME, platform::VK_BACK});
    EXPECT_EQ(memo->Text(), "onetwo");
    Keys({platform::VK_RETURN});
    memo->SetText("long line here\r\nab\r\nanother long line");
    CtrlKeys({platform::VK_HOME});
    Keys({platform::VK_END, platform::VK_DOWN});
    EXPECT_EQ(memo->CaretPos(), (TTextPos{1, 2}));
    Keys({platform::VK_DOWN}); // the column kept from the first line comes back
    EXPECT_EQ(memo->CaretPos(), (TTextPos{2, 14}));
    Keys({platform::VK_RIGHT, platform::VK_RIGHT, platform::VK_RIGHT, platform::VK_RIGHT});
    EXPECT_EQ(memo->CaretPos(), (TTextPos{2, 17}));
    CtrlKeys({platform::VK_HOME});
    ShiftKeys({platform::VK_DOWN, platform::VK_DOWN});
    EXPECT_EQ(memo->SelText(), "long line here\r\nab\r\n");
    Keys({platform::VK_LEFT});
    Keys({platform::VK_LEFT}); // at the very start nothing moves
    EXPECT_EQ(memo->CaretPos(), (TTextPos{0, 0}));
    Keys({platform::VK_LEFT, platform::VK_END, platform::VK_RIGHT});
    EXPECT_EQ(memo->CaretPos(), (TTextPos{1, 0}));
    // A Tab goes to the form unless the memo wants tabs.
    Keys({platform::VK_TAB});
    EXPECT_EQ(memo->Lines()[1], "ab");
    Focus(*memo);
    memo->SetWantTabs(true);
    Keys({platform::VK_TAB});
    EXPECT_EQ(memo->Lines()[1], "\tab");
}

TEST_F(Memo, MultiLineClipboardAndUndoRoundTrip) {
    memo->SetText("alpha\r\nbeta\r\ngamma");
    memo->SetSelStart(2);
    memo->SetSelLength(8); // "pha\r\nbeta" minus the last letter
    EXPECT_EQ(memo->SelText(), "pha\r\nbet");
    CtrlKeys({'X'});
    EXPECT_EQ(memo->Text(), "ala\r\ngamma");
    EXPECT_EQ(platform::GetClipboardText(), "pha\r\nbet");
    CtrlKeys({platform::VK_END});
    CtrlKeys({'V'});
    EXPECT_EQ(memo->Text(), "ala\r\ngammapha\r\nbet");
    EXPECT_EQ(memo->CaretPos(), (TTextPos{2, 3}));
    CtrlKeys({'Z'});
    EXPECT_EQ(memo->Text(), "ala\r\ngamma");
    // A paste with bare LF breaks is taken line by line.
    platform::SetClipboardText("x\ny");
    CtrlKeys({'V'});
    EXPECT_EQ(memo->Lines().Count(), 3);
    EXPECT_EQ(memo->Lines()[2], "y");
}

TEST_F(Memo, MouseSelectsAcrossLinesAndDoubleClickTakesAWord) {
    memo->SetText("first line\r\nsecond line\r\nthird");
    const int lh = memo->LineHeight();
    const platform::Point a = memo->PointOfPos({0, 6});
    const platform::Point b = memo->PointOfPos({2, 2});
    host->MouseDown(ScreenOf(*memo, {a.x, a.y + lh / 2}));
    host->MouseMove(ScreenOf(*memo, {b.x, b.y + lh / 2}));
    host->MouseUp(ScreenOf(*memo, {b.x, b.y + lh / 2}));
    Pump();
    EXPECT_EQ(memo->SelText(), "line\r\nsecond line\r\nth");
    const platform::Point w = memo->PointOfPos({1, 2});
    host->Click(ScreenOf(*memo, {w.x, w.y + lh / 2}));
    host->Click(ScreenOf(*memo, {w.x, w.y + lh / 2}));
    Pump();
    EXPECT_EQ(memo->SelText(), "second ");
}

TEST_F(Memo, DraggingPastTheEdgesScrollsByTheTimerBothWays) {
    Fill(100, 200);
    const int lh = memo->LineHeight();
    const int visible = memo->VisibleLines();
    const platform::Rect tr = memo->TextRect();
    auto tick = [this](int n) {
        for (int i = 0; i < n; ++i) {
            host->Advance(TCustomEdit::kAutoScrollMs);
            Pump();
        }
    };
    auto moveTo = [this](platform::Point client) {
        host->MouseMove(ScreenOf(*memo, client));
        Pump();
    };
    const platform::Point start = memo->PointOfPos({2, 3});
    host->MouseDown(ScreenOf(*memo, {start.x, start.y + lh / 2}));
    // Below the text: the selection goes to the last whole line, the view waits for the timer.
    moveTo({start.x, tr.bottom + 30});
    EXPECT_EQ(memo->TopLine(), 0);
    EXPECT_EQ(memo->CaretPos().line, visible - 1);
    tick(10);
    EXPECT_EQ(memo->TopLine(), 10);
    EXPECT_EQ(memo->CaretPos().line, 10 + visible - 1);
    EXPECT_EQ(memo->SelectionStart(), (TTextPos{2, 3}));
    // Back inside it stops.
    moveTo({start.x, tr.top + lh / 2});
    tick(5);
    EXPECT_EQ(memo->TopLine(), 10);
    EXPECT_FALSE(memo->AutoScrolling());
    // Above: up to the first line and no further; the selection now ends where it began.
    moveTo({start.x, tr.top - 10});
    tick(15);
    EXPECT_EQ(memo->TopLine(), 0);
    EXPECT_EQ(memo->CaretPos().line, 0);
    EXPECT_EQ(memo->SelectionEnd(), (TTextPos{2, 3}));
    // Right: sideways a step a tick, the caret staying in view.
    moveTo({tr.right + 20, tr.top + 3 * lh + lh / 2});
    const int before = memo->HorzScroll();
    tick(4);
    EXPECT_GE(memo->HorzScroll(), before + 4 * (lh / 2));
    const int caretX = memo->PointOfPos(memo->CaretPos()).x;
    EXPECT_LE(caretX, tr.right);
    EXPECT_GE(caretX, tr.left);
    // Left brings it back; release ends it.
    moveTo({tr.left - 20, tr.top + 3 * lh + lh / 2});
    tick(200);
    EXPECT_EQ(memo->HorzScroll(), 0);
    EXPECT_EQ(memo->CaretPos(), (TTextPos{3, 0}));
    moveTo({start.x, tr.bottom + 30});
    host->MouseUp(ScreenOf(*memo, {start.x, tr.bottom + 30}));
    Pump();
    EXPECT_FALSE(memo->AutoScrolling());
    const int top = memo->TopLine();
    tick(5);
    EXPECT_EQ(memo->TopLine(), top);
}

TEST_F(Memo, ScrollBarsFollowTheContentAndTheCaret) {
    const int visible = memo->VisibleLines();
    Fill(100, 50);
    platform::SCROLLINFO v = Bar(SB_VERT);
    EXPECT_EQ(v.nMax, 100); // 100 lines and the empty one after the last break
    EXPECT_EQ(static_cast<int>(v.nPage), visible);
    EXPECT_EQ(v.nPos, 0);
    platform::SCROLLINFO h = Bar(SB_HORZ);
    EXPECT_EQ(h.nMax + 1, memo->ContentWidth() + 1);
    EXPECT_EQ(static_cast<int>(h.nPage), memo->TextRect().Width());
    // Moving the caret down past the view scrolls it.
    for (int i = 0; i < visible + 4; ++i)
        host->Key(platform::VK_DOWN);
    Pump();
    EXPECT_EQ(memo->TopLine(), 5);
    EXPECT_EQ(Bar(SB_VERT).nPos, 5);
    CtrlKeys({platform::VK_END});
    EXPECT_EQ(memo->TopLine(), 101 - visible);
    EXPECT_EQ(Bar(SB_VERT).nPos, 101 - visible);
    CtrlKeys({platform::VK_HOME});
    EXPECT_EQ(memo->TopLine(), 0);
    // Page Down moves the caret and the view by a page less one line.
    Keys({platform::VK_NEXT});
    EXPECT_EQ(memo->CaretPos().line, visible - 1);
    EXPECT_EQ(memo->TopLine(), visible - 1);
    // A long line widens the horizontal range; End scrolls sideways.
    memo->Lines().Put(3, std::string(300, 'w'));
    EXPECT_GT(Bar(SB_HORZ).nMax, 300 * memo->TextFont()->Advance(U'w') - 1);
    CtrlKeys({platform::VK_HOME});
    Keys({platform::VK_DOWN, platform::VK_DOWN, platform::VK_DOWN, platform::VK_END});
    EXPECT_GT(memo->HorzScroll(), 0);
    EXPECT_EQ(Bar(SB_HORZ).nPos, memo->HorzScroll());
    // Removing the long line shrinks the range again.
    memo->Lines().Delete(3);
    EXPECT_EQ(memo->ContentWidth(), 52 * memo->TextFont()->Advance(U'x'));
    EXPECT_EQ(Bar(SB_HORZ).nMax, memo->ContentWidth());
    EXPECT_LE(memo->HorzScroll(), memo->ContentWidth() + 1 - memo->TextRect().Width());
    EXPECT_EQ(Bar(SB_HORZ).nPos, memo->HorzScroll());
}

TEST_F(Memo, ScrollBarMessagesAndTheWheelMoveTheViewNotTheCaret) {
    Fill(60, 10);
    const int visible = memo->VisibleLines();
    const platform::HWND h = memo->Handle();
    platform::SendMessage(h, platform::WM_VSCROLL, platform::SB_LINEDOWN, 0);
    EXPECT_EQ(memo->TopLine(), 1);
    platform::SendMessage(h, platform::WM_VSCROLL, platform::SB_PAGEDOWN, 0);
    EXPECT_EQ(memo->TopLine(), visible);
    platform::SendMessage(h, platform::WM_VSCROLL, platform::SB_BOTTOM, 0);
    EXPECT_EQ(memo->TopLine(), 61 - visible);
    EXPECT_EQ(memo->CaretPos(), (TTextPos{0, 0}));
    platform::SendMessage(h, platform::WM_VSCROLL, platform::SB_TOP, 0);
    // The wheel: three lines a notch towards the user, and back.
    host->Wheel(-120, ScreenOf(*memo, {20, 20}));
    Pump();
    EXPECT_EQ(memo->TopLine(), 3);
    host->Wheel(-60, ScreenOf(*memo, {20, 20}));
    Pump();
    EXPECT_EQ(memo->TopLine(), 3); // half a notch waits for the other half
    host->Wheel(-60, ScreenOf(*memo, {20, 20}));
    host->Wheel(240, ScreenOf(*memo, {20, 20}));
    Pump();
    EXPECT_EQ(memo->TopLine(), 0);
    // Clicking the down arrow of the bar scrolls one line.
    platform::Rect wr;
    platform::GetWindowRect(h, wr);
    const platform::Rect cr = memo->ClientRect();
    const platform::Point bottomArrow = memo->ClientToScreen({cr.right + 3, cr.bottom - 4});
    host->Click(bottomArrow);
    Pump();
    EXPECT_EQ(memo->TopLine(), 1);
    (void)wr;
}

TEST_F(Memo, AFontSizeChangeReMeasuresAndRepaintsAtOnce) {
    Fill(40, 30);
    const int lineHeight = memo->LineHeight();
    const int width = memo->ContentWidth();
    const int visible = memo->VisibleLines();
    Pump();
    memo->Font().SetSize(20);
    EXPECT_GT(memo->LineHeight(), lineHeight);
    EXPECT_GT(memo->ContentWidth(), width);
    EXPECT_LT(memo->VisibleLines(), visible);
    EXPECT_EQ(static_cast<int>(Bar(SB_VERT).nPage), memo->VisibleLines());
    EXPECT_EQ(Bar(SB_HORZ).nMax, memo->ContentWidth());
    // Big text reaches further down the first line's cell than small text did, without
    // waiting for the message loop.
    memo->SetText("MMMM");
    memo->Font().SetSize(10);
    Pump();
    const int small = memo->LineHeight();
    const platform::Rect tr = memo->TextRect();
    const platform::Rect lowBand{tr.left, tr.top + small + 1, tr.left + 100, tr.top + 2 * small};
    EXPECT_FALSE(HasColourIn(*memo, lowBand, platform::RGB(0, 0, 0)));
    memo->Font().SetSize(20);
    EXPECT_TRUE(HasColourIn(*memo, lowBand, platform::RGB(0, 0, 0)));
    // A colour alone measures nothing again, or every skin change would pay for the whole of a
    // long text; the text still shows in the new colour.
    const std::uint64_t measured = memo->Buffer().WidthsSet();
    memo->Font().SetColor(clRed);
    Pump();
    EXPECT_EQ(memo->Buffer().WidthsSet(), measured);
    EXPECT_TRUE(HasColourIn(*memo, lowBand, platform::RGB(255, 0, 0)));
}

TEST_F(Memo, PaintsOnlyWhatIsInViewWithTheSelectionAcrossLines) {
    memo->SetText("abc\r\nde\tfgh\r\nijk");
    memo->SetColor(clWhite);
    memo->SelectAll();
    Pump();
    const platform::Color sel = ColorToRGB(clHighlight);
    const int lh = memo->LineHeight();
    const platform::Rect tr = memo->TextRect();
    // Every line has highlight, including the tab's blank and the middle line's break.
    for (int line = 0; line < 3; ++line)
        EXPECT_TRUE(HasColourIn(
            *memo, {tr.left, tr.top + line * lh, tr.right, tr.top + line * lh + lh}, sel))
            << line;
    const platform::Point afterBreak = memo->PointOfPos({1, 6});
    EXPECT_EQ(PixelAt(*memo, {afterBreak.x + 1, afterBreak.y + lh / 2}), sel);
    // Scrolled sideways past a tab, a selected line still shows its highlight.
    memo->Lines().Put(1, "de\t" + std::string(200, 'f'));
    memo->SelectAll();
    memo->SetHorzScroll(memo->ColumnX(1, 5));
    Pump();
    EXPECT_TRUE(HasColourIn(*memo, {tr.left, tr.top + lh, tr.right, tr.top + 2 * lh}, sel));
    // Below the last line there is only the background.
    EXPECT_FALSE(HasColourIn(*memo, {tr.left, tr.top + 3 * lh + 2, tr.right, tr.bottom}, sel));
}

TEST_F(Memo, ThousandsOfLongLinesStayQuickToAddEditAndPaint) {
    const std::string line(400, 'm');
    const std::uint64_t measuredBefore = memo->Buffer().WidthsSet();
    for (int i = 0; i < 5000; ++i)
        memo->Lines().Add(line);
    Pump();
    CtrlKeys({platform::VK_END});
    Type("tail");
    Keys({platform::VK_BACK, platform::VK_BACK});
    ShiftKeys({platform::VK_PRIOR});
    Pump();
    const std::uint64_t measured = memo->Buffer().WidthsSet() - measuredBefore;
    EXPECT_EQ(memo->Lines().Count(), 5001);
    EXPECT_EQ(memo->Lines()[5000], "ta");
    EXPECT_EQ(changes, 5006);
    EXPECT_EQ(Bar(SB_VERT).nMax, 5000);
    EXPECT_EQ(memo->ContentWidth(), 400 * memo->TextFont()->Advance(U'm'));
    // Each of the 5006 changes measures the lines it touched, a few at most; measuring the whole
    // text per change would be millions.
    EXPECT_GE(measured, 5001u);
    EXPECT_LT(measured, 3u * 5006u);
    // Widening one line in the middle widens the range; deleting it narrows it again.
    memo->Lines().Put(2500, line + "mm");
    EXPECT_EQ(memo->ContentWidth(), 402 * memo->TextFont()->Advance(U'm'));
    memo->Lines().Delete(2500);
    EXPECT_EQ(memo->ContentWidth(), 400 * memo->TextFont()->Advance(U'm'));
}

} // namespace
} // namespace toolkit::testing
