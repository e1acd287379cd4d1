#pragma once
// What the skinned menus' measuring and painting halves share (sSkinMenus.cpp and
// sSkinMenusPaint.cpp); not for use elsewhere.

#include <cstdint>

#include "toolkit/TMenu.h"

namespace skinned::menuparts {

inline constexpr const char* kMenuSection = "MAINMENU";
inline constexpr const char* kItemSection = "MENUITEM";
inline constexpr std::int32_t kDefaultGlyph = 16;

// The first visible item under parent, or none.
const toolkit::TMenuItem* FirstVisible(const toolkit::TMenuItem& parent);
// Which column of its menu an item stands in: every visible item after the first that breaks
// starts the next one.
std::int32_t ColumnOf(const toolkit::TMenuItem& item);

} // namespace skinned::menuparts
