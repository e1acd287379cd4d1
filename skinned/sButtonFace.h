#pragma once
// What the skinned buttons (TsBitBtn, TsSpeedButton) share to paint their face into the cache
// bitmap of their skin state: the state index of the skin lookups, the background behind the
// button, the glyph and caption in the section's font colours, the drop-down arrow and the
// disabled look, and the record that tells whether a cached face is still good.
//
// Coordinates are the button's client pixels (the cache's pixels); position is the button's
// place in its parent. Nothing here raises; without a manager or a valid section nothing of the
// skin is drawn.

#include <cstdint>
#include <string>

#include "platform/gfx/Geometry.h"
#include "skin/acFast24.h"
#include "toolkit/TButtonGlyph.h"

namespace toolkit {
class TBitmap;
class TControl;
} // namespace toolkit

namespace skin {
class TsCommonData;
class TsSkinManager;
} // namespace skin

namespace skinned {

// State indexes of every skin lookup of a button.
inline constexpr std::int32_t kFaceNormal = 0, kFaceHot = 1, kFacePressed = 2;

// Pressed wins over hot, hot over normal.
std::int32_t FaceStateIndex(bool pressed, bool hot);

// Whether a library command leaves a button's face stale: a new or removed skin changes the
// whole look, plain or skinned; a refresh or a section change needs the face built again.
bool CommandRebuildsFace(std::uint16_t command);

// Everything a face is built from that the toolkit changes without telling the skin state. A
// face whose key equals the last built one (and is not marked changed) is reused.
struct TButtonFaceKey {
    std::int32_t state = -1;
    std::int32_t dropDownState = -1;
    bool enabled = true;
    bool focused = false;
    platform::Size size;
    platform::Point position;
    std::string caption;
    std::int32_t sectionIndex = -1;
    bool operator==(const TButtonFaceKey&) const = default;
};

// The parent's cache under the button, or the parent's colour when it gives none.
void PaintButtonBackdrop(toolkit::TBitmap& cache, const toolkit::TControl& control,
                         const skin::TsBackdropInfo& parent);

// The glyph and the caption of a button: the glyph's cell for glyphState at placement.glyph,
// the caption with DrawContourText in placement.text (hot colours when hot). pressed moves both
// one pixel right and down.
void PaintButtonContent(toolkit::TBitmap& cache, skin::TsCommonData& data,
                        toolkit::TButtonGlyph& glyph, toolkit::TButtonState glyphState,
                        toolkit::TButtonPlacement placement, const std::string& caption,
                        unsigned captionFlags, bool enabled, bool hot, bool pressed);

// The skin's down arrow (the "SCROLLBTNBOTTOM" glyph) centred in the rightmost dropDownWidth
// pixels of the cache, in the given state frame. Nothing when the skin has no such glyph.
void PaintDropDownArrow(toolkit::TBitmap& cache, skin::TsSkinManager& manager,
                        std::int32_t dropDownWidth, std::int32_t state);

// The disabled look (blended toward what lies behind the button).
void PaintButtonDisabled(toolkit::TBitmap& cache, const toolkit::TControl& control,
                         const skin::TsBackdropInfo& parent);

// The focus mark of a push button around rect: dots every third pixel along the edges, black on
// the edge with a white one a pixel up and left of it.
void PaintFocusDots(toolkit::TBitmap& cache, const platform::Rect& rect);

} // namespace skinned
