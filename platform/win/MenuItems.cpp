// Menus as data: creating and destroying them and editing and querying their items. Showing a
// menu and its modal loop are in Menu.cpp.

#include "platform/win/Menu.h"

#include "platform/win/MenuTable.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::FindMenu;
using detail::MenuData;
using detail::MenuItemData;
using detail::State;

namespace {

// The item a (item, flags) pair names: by position, or by command id searched depth-first.
MenuItemData* FindItem(HMENU menu, UINT item, UINT flags, HMENU* owner = nullptr) {
    MenuData* m = FindMenu(menu);
    if (!m)
        return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size())
            return nullptr;
        if (owner)
            *owner = menu;
        return &m->items[item];
    }
    for (MenuItemData& i : m->items) {
        if (!(i.flags & MF_POPUP) && i.id == item) {
            if (owner)
                *owner = menu;
            return &i;
        }
        if ((i.flags & MF_POPUP) && i.submenu != menu)
            if (MenuItemData* found = FindItem(i.submenu, item, flags, owner))
                return found;
    }
    return nullptr;
}

MenuItemData MakeItem(UINT flags, UINT_PTR idOrSubmenu, const std::string& text) {
    MenuItemData i;
    i.flags = flags & ~MF_BYPOSITION;
    if (flags & MF_POPUP)
        i.submenu = static_cast<std::uint32_t>(idOrSubmenu);
    else
        i.id = idOrSubmenu;
    if (!(flags & MF_SEPARATOR))
        i.text = text;
    return i;
}

} // namespace

HMENU CreatePopupMenu() {
    State& s = State::Get();
    const HMENU h = s.nextMenu++;
    s.menus[h] = MenuData{};
    return h;
}

bool DestroyMenu(HMENU menu) {
    State& s = State::Get();
    auto it = s.menus.find(menu);
    if (it == s.menus.end())
        return false;
    const MenuData data = std::move(it->second);
    s.menus.erase(it);
    for (const MenuItemData& i : data.items)
        if (i.flags & MF_POPUP)
            DestroyMenu(i.submenu);
    return true;
}

bool IsMenu(HMENU menu) {
    return FindMenu(menu) != nullptr;
}

bool AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, const std::string& text) {
    return InsertMenu(menu, 0xFFFFFFFF, flags | MF_BYPOSITION, idOrSubmenu, text);
}

bool InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu,
                const std::string& text) {
    MenuData* m = FindMenu(menu);
    if (!m || ((flags & MF_POPUP) && (!FindMenu(static_cast<HMENU>(idOrSubmenu)) ||
                                      static_cast<HMENU>(idOrSubmenu) == menu)))
        return false;
    const std::size_t at = std::min<std::size_t>(position, m->items.size());
    m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at),
                    MakeItem(flags, idOrSubmenu, text));
    return true;
}

bool DeleteMenu(HMENU menu, UINT item, UINT flags) {
    HMENU owner = 0;
    MenuItemData* i = FindItem(menu, item, flags, &owner);
    if (!i)
        return false;
    if (i->flags & MF_POPUP)
        DestroyMenu(i->submenu);
    MenuData* m = FindMenu(owner);
    m->items.erase(m->items.begin() + (i - m->items.data()));
    return true;
}

int GetMenuItemCount(HMENU menu) {
    MenuData* m = FindMenu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    MenuItemData* i =
        position < 0 ? nullptr : FindItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return i && !(i->flags & MF_POPUP) ? static_cast<UINT>(i->id) : 0xFFFFFFFF;
}

HMENU GetSubMenu(HMENU menu, int position) {
    MenuItemData* i =
        position < 0 ? nullptr : FindItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return i && (i->flags & MF_POPUP) ? i->submenu : 0;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuItemData* i = FindItem(menu, item, flags);
    return i ? (i->flags & ~MF_POPUP) : 0xFFFFFFFF;
}

std::string GetMenuString(HMENU menu, UINT item, UINT flags) {
    MenuItemData* i = FindItem(menu, item, flags);
    return i ? i->text : std::string();
}

UINT CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    MenuItemData* i = FindItem(menu, item, flags);
    if (!i)
        return 0xFFFFFFFF;
    const UINT old = i->flags & MF_CHECKED;
    i->flags = (i->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return old;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    MenuItemData* i = FindItem(menu, item, flags);
    if (!i)
        return 0xFFFFFFFF;
    const UINT old = i->flags & (MF_GRAYED | MF_DISABLED);
    i->flags = (i->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return old;
}

bool SetMenuItemData(HMENU menu, UINT item, UINT flags, UINT_PTR data) {
    MenuItemData* i = FindItem(menu, item, flags);
    if (!i)
        return false;
    i->itemData = data;
    return true;
}

bool ModifyMenu(HMENU menu, UINT item, UINT flags, UINT_PTR idOrSubmenu, const std::string& text) {
    MenuItemData* i = FindItem(menu, item, flags);
    if (!i || ((flags & MF_POPUP) && !FindMenu(static_cast<HMENU>(idOrSubmenu))))
        return false;
    const UINT_PTR data = i->itemData;
    *i = MakeItem(flags, idOrSubmenu, text);
    i->itemData = data;
    return true;
}

} // namespace platform
