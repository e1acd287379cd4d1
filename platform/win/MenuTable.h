#pragma once
// Internal to platform/win: the menu a handle names in the window system's table, or null for a
// destroyed or unknown handle.

#include "platform/win/Menu.h"
#include "platform/win/WindowState.h"

namespace platform::detail {

inline MenuData* FindMenu(HMENU m) {
    State& s = State::Get();
    auto it = s.menus.find(m);
    return it == s.menus.end() ? nullptr : &it->second;
}

} // namespace platform::detail
