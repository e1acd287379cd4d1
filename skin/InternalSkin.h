#pragma once
// The program's own skin, "Winter2003 (internal)". Its container bytes are drawn and packed at
// build time (tools/skinpack) and carried inside the skin library, as a stored skin carries
// them in its "Data".

#include <cstdint>
#include <span>

#include "skin/acSkinPack.h"

namespace skin {

inline constexpr const char* kInternalSkinName = "Winter2003 (internal)";

// The "ASzf" container of the internal skin.
std::span<const std::uint8_t> InternalSkinData();

// Appends the internal skin to a stored-skin collection: Name and Data, nothing else.
TsStoredSkin& AddInternalSkin(TsStoredSkins& skins);

} // namespace skin
