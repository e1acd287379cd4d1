#pragma once
// What the scroll-window adapters' painting shares with the rest of the module.

#include "platform/gfx/Geometry.h"
#include "platform/win/WinDefs.h"
#include "skin/sSkinManager.h"

namespace toolkit {
class TBitmap;
}

namespace skinned::scrollpaint {

// The skin's piece at index, or none for an index outside the piece table.
inline const skin::TsMaskData* MaskAt(skin::TsSkinManager& manager, std::int32_t index) {
    if (!manager.IsValidImgIndex(index))
        return nullptr;
    return &manager.ma()[static_cast<std::size_t>(index)];
}

// The window's own colour (its control's Color), or the skin's general colour.
platform::Color WindowColor(platform::HWND h, skin::TsSkinManager* manager);
// Fills a bitmap of `area`'s size (window coordinates) with what lies behind that area of the
// window: its cached face when it gives one that covers the area (command 5), else its colour.
void FillBehind(platform::HWND h, skin::TsSkinManager* manager, const platform::Rect& area,
                toolkit::TBitmap& bmp);

} // namespace skinned::scrollpaint
