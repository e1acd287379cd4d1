#pragma once
// Internal to platform/win: the plain look of a popup menu's items, shared by the tracking loop.
// Owner-drawn items are measured and painted by the owner window.

#include <cstddef>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Menu.h"
#include "platform/win/WindowState.h"

namespace platform::detail {

// One open menu window of a tracking loop.
struct MenuLevel {
    HMENU menu = 0;
    HWND window;
    int selected = -1;
    std::vector<Rect> items; // client coordinates
};

inline bool Selectable(const MenuItemData& i) {
    return !(i.flags & MF_SEPARATOR);
}
inline bool Enabled(const MenuItemData& i) {
    return !(i.flags & (MF_GRAYED | MF_DISABLED));
}

// Measures every item (asking owner for owner-drawn ones) and lays them out in columns into
// level.items; returns the client size the menu window needs.
Size MeasureMenu(HWND owner, MenuLevel& level);

// Paints item k of the level into dc, the menu window wnd's client.
void PaintMenuItem(DeviceContext& dc, HWND wnd, const MenuLevel& level, std::size_t k, HWND owner);

} // namespace platform::detail
