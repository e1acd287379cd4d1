#include "WinTestSupport.h"

#include "platform/win/Menu.h"

namespace platform::testing {
namespace {

class Menus : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {400, 400, 700, 600});
        Pump();
        menu = CreatePopupMenu();
        AppendMenu(menu, MF_STRING, 101, "&Open\tCtrl+O");
        AppendMenu(menu, MF_SEPARATOR, 0, "");
        AppendMenu(menu, MF_STRING | MF_GRAYED, 102, "&Disabled");
        AppendMenu(menu, MF_STRING, 103, "&Сохранить");
        log.clear();
    }
    // Centre of item k of a menu opened at (100, 100): a 3-pixel frame, 18-pixel items and a
    // 9-pixel separator.
    static Point ItemPoint(int k) {
        const int heights[] = {18, 9, 18, 18};
        int y = 103;
        for (int i = 0; i < k; ++i)
            y += heights[i];
        return {130, y + heights[k] / 2};
    }
    HWND owner;
    HMENU menu = 0;
};

TEST_F(Menus, ClickingAnItemReturnsItsCommand) {
    std::vector<std::string> created;
    HHOOK hook = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM, LPARAM l) -> LRESULT {
        if (code == HCBT_CREATEWND)
            created.push_back(reinterpret_cast<CBT_CREATEWND*>(l)->lpcs->lpszClass);
        return 0;
    });
    host->MouseMove(ItemPoint(3));
    host->Click(ItemPoint(3), MouseButton::Left, 10);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, owner), 103);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(created, (std::vector<std::string>{"#32768"}));
    const std::vector<UINT> seq = Messages(owner);
    EXPECT_EQ(seq.front(), WM_ENTERMENULOOP);
    EXPECT_EQ(seq.back(), WM_EXITMENULOOP);
    EXPECT_NE(IndexOf(WM_INITMENUPOPUP, owner), -1);
    ASSERT_FALSE(Of(WM_MENUSELECT, owner).empty());
    EXPECT_EQ(LOWORD(Of(WM_MENUSELECT, owner)[0].wParam), 103);
    EXPECT_EQ(GetCapture(), HWND{});
    EXPECT_EQ(GetTopLevelWindows().size(), 1u) << "the menu window is gone";
    EXPECT_EQ(GetActiveWindow(), owner) << "a menu never takes the activation";
}

TEST_F(Menus, WithoutReturnCmdTheCommandIsPosted) {
    host->Click(ItemPoint(0));
    EXPECT_EQ(TrackPopupMenu(menu, 0, 100, 100, owner), 1);
    Pump();
    ASSERT_EQ(Of(WM_COMMAND, owner).size(), 1u);
    EXPECT_EQ(Of(WM_COMMAND, owner)[0].wParam, 101u);
}

TEST_F(Menus, ClickOutsideDismissesAndIsUsedUp) {
    host->Click({450, 500});
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, owner), 0);
    Pump();
    EXPECT_TRUE(Of(WM_LBUTTONDOWN, owner).empty());
    EXPECT_TRUE(Of(WM_COMMAND).empty());
}

TEST_F(Menus, DisabledItemsAndSeparatorsAreNotChosen) {
    host->Click(ItemPoint(2));
    host->Click(ItemPoint(1), MouseButton::Left, 10);
    host->Key(VK_ESCAPE, 20);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, owner), 0);
}

TEST_F(Menus, KeyboardMovesSkippingSeparatorsAndMnemonicsChoose) {
    host->Key(VK_DOWN);
    host->Key(VK_DOWN);
    host->Key(VK_RETURN);
    host->Key(VK_ESCAPE);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, owner), 0)
        << "the second stop is the disabled item, which Return leaves open";
    host->Key(VK_DOWN);
    host->Key(VK_DOWN);
    host->Key(VK_DOWN);
    host->Key(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, owner), 103);
    host->Text("с"); // the Cyrillic mnemonic, in either case
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, owner), 103);
}

TEST_F(Menus, SubmenusOpenBesideTheirItem) {
    const HMENU sub = CreatePopupMenu();
    AppendMenu(sub, MF_STRING, 201, "Inner");
    AppendMenu(menu, MF_POPUP, sub, "More");
    // "More" is item 4, at y 103 + 63 .. +81; the submenu opens to its right.
    host->MouseMove({130, 175});
    host->Click({130 + 150, 175 + 6}, MouseButton::Left, 10);
    int opened = 0;
    HHOOK hook = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM, LPARAM) -> LRESULT {
        opened += code == HCBT_CREATEWND;
        return 0;
    });
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, owner);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(chosen, 201);
    EXPECT_TRUE(IsMenu(sub));
    DestroyMenu(menu);
    EXPECT_FALSE(IsMenu(sub)) << "destroying a menu destroys its submenus";
}

TEST_F(Menus, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
    const HMENU od = CreatePopupMenu();
    AppendMenu(od, MF_OWNERDRAW, 301, "");
    SetMenuItemData(od, 0, MF_BYPOSITION, 0xABC);
    handlers[WM_MEASUREITEM] = [](HWND, WPARAM, LPARAM l, LRESULT& r) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        EXPECT_EQ(mis->itemData, 0xABCu);
        mis->itemWidth = 80;
        mis->itemHeight = 22;
        r = 1;
        return true;
    };
    std::vector<UINT> states;
    handlers[WM_DRAWITEM] = [&](HWND, WPARAM, LPARAM l, LRESULT& r) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        states.push_back(dis->itemState);
        EXPECT_EQ(dis->rcItem, (Rect{0, 0, 80, 22}));
        FillRect(*dis->hDC, dis->rcItem, RGB(1, 2, 3));
        r = 1;
        return true;
    };
    host->MouseMove({110, 110});
    host->Click({110, 110}, MouseButton::Left, 10);
    EXPECT_EQ(TrackPopupMenu(od, TPM_RETURNCMD, 100, 100, owner), 301);
    ASSERT_GE(states.size(), 2u);
    EXPECT_EQ(states.front(), 0u);
    EXPECT_EQ(states.back(), ODS_SELECTED);
}

TEST_F(Menus, TheDefaultItemIsBoldAndSoWider) {
    int width = 0;
    HHOOK hook = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM, LPARAM l) -> LRESULT {
        if (code == HCBT_CREATEWND)
            width = reinterpret_cast<CBT_CREATEWND*>(l)->lpcs->cx;
        return 0;
    });
    const HMENU one = CreatePopupMenu();
    AppendMenu(one, MF_STRING, 1, "Wwwwwwwwwwwwwwwwwwww");
    host->Key(VK_ESCAPE);
    TrackPopupMenu(one, TPM_RETURNCMD, 100, 100, owner);
    const int plain = width;
    ModifyMenu(one, 1, MF_BYCOMMAND | MF_STRING | MF_DEFAULT, 1, "Wwwwwwwwwwwwwwwwwwww");
    host->Key(VK_ESCAPE);
    TrackPopupMenu(one, TPM_RETURNCMD, 100, 100, owner);
    UnhookWindowsHookEx(hook);
    EXPECT_GT(plain, 0);
    EXPECT_GT(width, plain);
}

TEST(MenuItems, EditingAndStateByCommandOrPosition) {
    WindowSystem ws(std::make_unique<HeadlessBackend>());
    const HMENU m = CreatePopupMenu();
    const HMENU sub = CreatePopupMenu();
    AppendMenu(m, MF_STRING, 1, "One");
    AppendMenu(m, MF_POPUP, sub, "Sub");
    AppendMenu(sub, MF_STRING, 2, "Two");
    EXPECT_EQ(GetMenuItemCount(m), 2);
    EXPECT_EQ(GetMenuItemID(m, 1), 0xFFFFFFFFu);
    EXPECT_EQ(GetSubMenu(m, 1), sub);
    EXPECT_EQ(CheckMenuItem(m, 2, MF_BYCOMMAND | MF_CHECKED), 0u) << "found in the submenu";
    EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(m, 1, MF_GRAYED), 0u);
    EXPECT_EQ(EnableMenuItem(m, 1, MF_ENABLED), MF_GRAYED);
    EXPECT_TRUE(InsertMenu(m, 0, MF_BYPOSITION | MF_STRING, 9, "Zero"));
    EXPECT_EQ(GetMenuString(m, 0, MF_BYPOSITION), "Zero");
    EXPECT_TRUE(DeleteMenu(m, 2, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(sub), 0);
    EXPECT_FALSE(AppendMenu(m, MF_POPUP, m, "self")) << "a menu cannot contain itself";
    EXPECT_FALSE(AppendMenu(999, MF_STRING, 1, "x"));
    EXPECT_EQ(GetMenuState(m, 77, MF_BYCOMMAND), 0xFFFFFFFFu);
}

} // namespace
} // namespace platform::testing
