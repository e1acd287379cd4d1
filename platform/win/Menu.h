#pragma once
// Popup menus. A menu is a handle to a list of items (text, separator, submenu, owner-drawn);
// TrackPopupMenu shows it in a window of the class "#32768" (created like any window, so a CBT
// hook sees its creation) and runs the menu's modal loop until an item is chosen or the menu is
// dismissed. The default item (MF_DEFAULT) is shown in bold. Owner-drawn items are measured and
// drawn by the owner window (WM_MEASUREITEM, WM_DRAWITEM); other items get the plain classic look.
// The owner hears WM_ENTERMENULOOP, WM_INITMENUPOPUP for every menu that opens, WM_MENUSELECT as
// the selection moves, WM_UNINITMENUPOPUP and WM_EXITMENULOOP; the chosen item comes back as the
// answer (TPM_RETURNCMD) or as a posted WM_COMMAND.
//
// Item text may carry "&" prefixes and a tab before a shortcut text shown right-aligned.
// Handles of destroyed menus are refused (false, 0) by every call.

#include <string>

#include "platform/win/WinDefs.h"

namespace platform {

using HMENU = std::uint32_t;

constexpr UINT MF_STRING = 0x0, MF_BYCOMMAND = 0x0, MF_ENABLED = 0x0, MF_UNCHECKED = 0x0,
               MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_CHECKED = 0x8, MF_POPUP = 0x10,
               MF_MENUBARBREAK = 0x20, MF_MENUBREAK = 0x40, MF_HILITE = 0x80, MF_OWNERDRAW = 0x100,
               MF_RADIOCHECK = 0x200, MF_BYPOSITION = 0x400, MF_SEPARATOR = 0x800,
               MF_DEFAULT = 0x1000, MF_SYSMENU = 0x2000, MF_MOUSESELECT = 0x8000;
constexpr UINT TPM_LEFTBUTTON = 0x0, TPM_RIGHTBUTTON = 0x2, TPM_LEFTALIGN = 0x0,
               TPM_CENTERALIGN = 0x4, TPM_RIGHTALIGN = 0x8, TPM_TOPALIGN = 0x0,
               TPM_VCENTERALIGN = 0x10, TPM_BOTTOMALIGN = 0x20, TPM_NONOTIFY = 0x80,
               TPM_RETURNCMD = 0x100;
constexpr UINT WM_DRAWITEM = 0x002B, WM_MEASUREITEM = 0x002C, WM_INITMENUPOPUP = 0x0117,
               WM_MENUSELECT = 0x011F, WM_UNINITMENUPOPUP = 0x0125;
constexpr UINT ODT_MENU = 1;
constexpr UINT ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2;
constexpr UINT ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4, ODS_CHECKED = 0x8;

class DeviceContext;

struct MEASUREITEMSTRUCT {
    UINT CtlType = ODT_MENU;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    UINT_PTR itemData = 0;
};

struct DRAWITEMSTRUCT {
    UINT CtlType = ODT_MENU;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = ODA_DRAWENTIRE;
    UINT itemState = 0;
    HWND hwndItem; // the menu window
    DeviceContext* hDC = nullptr;
    Rect rcItem; // in the menu window's client coordinates
    UINT_PTR itemData = 0;
    HMENU menu = 0;
};

HMENU CreatePopupMenu();
bool DestroyMenu(HMENU menu); // with its submenus
bool IsMenu(HMENU menu);
// idOrSubmenu: the command id, or the submenu's handle with MF_POPUP.
bool AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, const std::string& text);
bool InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu,
                const std::string& text); // MF_BYPOSITION; a position past the end appends
bool DeleteMenu(HMENU menu, UINT item, UINT flags);
int GetMenuItemCount(HMENU menu);             // -1 for a bad handle
UINT GetMenuItemID(HMENU menu, int position); // 0xFFFFFFFF for a submenu or bad position
HMENU GetSubMenu(HMENU menu, int position);
UINT GetMenuState(HMENU menu, UINT item, UINT flags); // 0xFFFFFFFF when there is no such item
std::string GetMenuString(HMENU menu, UINT item, UINT flags);
UINT CheckMenuItem(HMENU menu, UINT item, UINT flags);  // previous state, or 0xFFFFFFFF
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags); // previous state, or 0xFFFFFFFF
bool SetMenuItemData(HMENU menu, UINT item, UINT flags, UINT_PTR data);
bool ModifyMenu(HMENU menu, UINT item, UINT flags, UINT_PTR idOrSubmenu, const std::string& text);

// x, y: screen position of the corner the alignment flags name. The menu is kept inside the
// work area. Answers the chosen command with TPM_RETURNCMD (0: none), else whether one was
// chosen.
int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);
// Closes the menu being tracked (as a click outside would).
bool EndMenu();

// The class name of menu windows.
inline constexpr const char* kMenuClassName = "#32768";

} // namespace platform
