// List boxes: keyboard and mouse selection with their click notices, scrolling that follows
// the selection, and item changes that keep the selection on the same item; the item list's
// sorting and letter search.

#include "toolkit/TListBox.h"
#include "ListControlsTestSupport.h"
#include "platform/win/ScrollBar.h"
#include "toolkit/Exceptions.h"

namespace toolkit::testing {
namespace {

using namespace platform;

class ListBoxes : public ListControlsTest {
protected:
    void SetUp() override {
        ListControlsTest::SetUp();
        list = Make<TListBox>("ListBox1", {10, 10, 150, 110});
        for (const char* s : {"apple", "Banana", "cherry", "avocado", "blueberry", "apricot",
                              "date", "elder", "fig", "grape", "guava", "kiwi"})
            list->Items().Add(s);
        list->OnClick = [this](TObject*) { clicks.push_back(list->ItemIndex()); };
        list->SetFocus();
        Pump();
    }
    TListBox* list = nullptr;
    std::vector<int> clicks;
};

TEST_F(ListBoxes, KeysMoveTheSelectionAndClickOncePerChange) {
    EXPECT_EQ(list->ItemIndex(), -1);
    Press(VK_DOWN); // from nothing to the first
    Press(VK_DOWN);
    Press(VK_UP);
    Press(VK_UP); // already first
    Press(VK_END);
    Press(VK_HOME);
    EXPECT_EQ(clicks, (std::vector<int>{0, 1, 0, 11, 0}));
    clicks.clear();
    for (int i = 0; i < 8; ++i)
        list->Items().Add("more " + std::to_string(i));
    const int page = list->VisibleItemCount() - 1;
    ASSERT_LT(2 * page, 19);
    Press(VK_NEXT);
    Press(VK_NEXT);
    Press(VK_NEXT);
    Press(VK_NEXT); // stops at the last
    Press(VK_PRIOR);
    EXPECT_EQ(clicks, (std::vector<int>{page, 2 * page, std::min(3 * page, 19), 19, 19 - page}));
}

TEST_F(ListBoxes, LettersFindTheNextItemWrappingRound) {
    Type("a");
    Type("A");
    Type("a");
    Type("a"); // wraps to the first "a" item
    Type("B");
    Type("z"); // none: nothing changes
    EXPECT_EQ(clicks, (std::vector<int>{0, 3, 5, 0, 1}));
}

TEST_F(ListBoxes, TheSelectionIsScrolledIntoViewAndTheBarFollows) {
    const int visible = list->VisibleItemCount();
    ASSERT_LT(visible, 12);
    Press(VK_END);
    EXPECT_EQ(list->TopIndex(), 12 - visible);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list->Handle(), SB_VERT, si));
    EXPECT_EQ(si.nPos, 12 - visible);
    EXPECT_EQ(si.nMax, 11);
    EXPECT_EQ(static_cast<int>(si.nPage), visible);
    Press(VK_HOME);
    EXPECT_EQ(list->TopIndex(), 0);
    // The bar and the wheel scroll without selecting.
    SendMessage(list->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(list->TopIndex(), 1);
    SendMessage(list->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(list->TopIndex(), 12 - visible);
    host->Wheel(120, list->ClientToScreen({5, 5}));
    Pump();
    EXPECT_EQ(list->TopIndex(), 12 - visible - 3);
    EXPECT_EQ(list->ItemIndex(), 0);
    // No scroll bar once everything fits.
    list->Items().Assign({"one", "two"});
    EXPECT_EQ(list->TopIndex(), 0);
    Rect client;
    GetClientRect(list->Handle(), client);
    EXPECT_EQ(client.Width(), list->Width() - 4);
}

TEST_F(ListBoxes, AClickSelectsTheItemUnderThePointer) {
    const int h = list->ItemHeight();
    ClickAt(*list, {20, 2 * h + h / 2});
    EXPECT_EQ(list->ItemIndex(), 2);
    // Below the last item of a short list: the last item.
    list->Items().Assign({"one", "two"});
    ClickAt(*list, {20, list->ClientHeight() - 2});
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(clicks, (std::vector<int>{2, 1}));
    // The selected row is painted in the highlight colour.
    EXPECT_EQ(PixelAt(*list, {list->ClientWidth() - 3, h + 1}), ColorToRGB(clHighlight));
    EXPECT_EQ(PixelAt(*list, {list->ClientWidth() - 3, 1}), ColorToRGB(clWindow));
    // It keeps the highlight when the list loses the focus.
    platform::SetFocus(HWND{});
    Pump();
    EXPECT_EQ(PixelAt(*list, {list->ClientWidth() - 3, h + 1}), ColorToRGB(clHighlight));
}

TEST_F(ListBoxes, ItemChangesKeepTheSelectionOnItsItemAndFireNothing) {
    list->SetItemIndex(5); // "apricot"
    list->Items().Insert(0, "first");
    EXPECT_EQ(list->ItemIndex(), 6);
    list->Items().Delete(1);
    EXPECT_EQ(list->ItemIndex(), 5);
    EXPECT_EQ(list->Items()[list->ItemIndex()], "apricot");
    list->Items().Delete(5);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(3);
    list->Items().Clear();
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(0); // nothing to select
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_TRUE(clicks.empty());
    try {
        list->Items().Delete(0);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (0)");
    }
}

TEST(ItemStrings, SortedListsOrderWithoutCaseAndKeepArrivalOrderOfEquals) {
    TItemStrings items;
    items.Assign({"banana", "Яблоко", "apple", "Cherry", "ёж", "абрикос", "Apple"});
    items.SetSorted(true);
    EXPECT_EQ(items.Lines(), (std::vector<std::string>{"apple", "Apple", "banana", "Cherry",
                                                       "абрикос", "ёж", "Яблоко"}));
    EXPECT_EQ(items.Add("BANANA"), 3);
    EXPECT_EQ(items.Add("a"), 0);
    items.Insert(0, "zz"); // where it belongs, not at 0
    EXPECT_EQ(items[6], "zz");
    items.Put(0, "zzz");
    EXPECT_EQ(items[5], "zz");
    EXPECT_EQ(items[6], "zzz");
}

TEST(ItemStrings, ChangesAreReportedAndGatheredInUpdates) {
    TItemStrings items;
    std::vector<std::pair<TItemStrings::TChange, int>> log;
    items.OnChange = [&](TItemStrings::TChange c, int i) { log.push_back({c, i}); };
    items.Add("a");
    items.Insert(0, "b");
    items.BeginUpdate();
    items.Add("c");
    items.Delete(0);
    items.EndUpdate();
    items.Clear();
    using C = TItemStrings::TChange;
    EXPECT_EQ(log, (std::vector<std::pair<C, int>>{
                       {C::Insert, 0}, {C::Insert, 0}, {C::Reset, -1}, {C::Reset, -1}}));
    EXPECT_THROW(items.Insert(1, "x"), EListError);
    EXPECT_EQ(items.NextStartingWith(U'x', -1), -1);
}

} // namespace
} // namespace toolkit::testing
