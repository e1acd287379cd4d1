#pragma once
// Painting a skin section into a 24-bit target (a control's cache bitmap): its background
// (colour, texture or JPEG pattern, gradient, transparency against the parent background) and
// its "BORDERSMASK" frame; and text in the section's font and contour colours.
//
// manager: the default manager when none is given; without a manager, or with a section index
// outside its section table, nothing is painted. State 0 is the normal state, any other the
// highlighted ("hot") one. customColor replaces the section's colour unless it is $FF00FF.
// textureIndex / hotTextureIndex are the caller's cached "PATTERN" / "HOTPATTERN" pieces (−1:
// look them up by sectionName, with inheritance).
//
// The rectangle is first clipped to the target; textures and gradients start at the clipped
// rectangle's top left corner. The parent background is addressed at the same place throughout:
// target pixel (x, y) of a control at `position` in its parent shows the parent's pixel
// (parent.X + position.x + x, parent.Y + position.y + y), for the see-through background as for
// the frame's key-coloured corners. A parent colour set with SetParentColor stands for a flat
// parent background; PaintSection resets it when it is done.
//
// Transparency T (percent, limited to 0 … 100): 0, or a parent that is not ready, paints the
// background opaque; 100 shows the parent (its colour when one is set); in between the opaque
// background is blended over the parent with k = ⌊T × 255 ÷ 100⌋ weighing the parent.
// Opaque background with image percent I and gradient percent G: the texture (when I > 0 and
// the section has one; without one I counts as 0), the gradient over it blended with
// k = ⌊G × 255 ÷ 100⌋ weighing the texture (or straight, without texture; the section colour
// stands for an empty gradient or one of an unknown mode), then the colour: all of it when I + G is
// 0 (the parent colour when one is set and T is not 0), mixed in at 100 − (I + G) percent when I +
// G is 1 … 99.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gfx/Geometry.h"
#include "skin/acFast24.h"

namespace toolkit {
class TBitmap;
class TCanvas;
} // namespace toolkit

namespace skin {

class TsSkinManager;

struct TsSectionPaint {
    std::int32_t SectionIndex = -1;
    std::string_view SectionName;
    TsBackdropInfo Parent;
    platform::Color CustomColor = kKeyColor;
    std::int32_t HotTextureIndex = -1;
    std::int32_t TextureIndex = -1;
    TsSkinManager* Manager = nullptr;
    platform::Point Position; // of the control in its parent
    std::int32_t State = 0;
    bool FillCentre = true;
};

// Background only.
void PaintSectionBackground(const TsSectionPaint& paint, toolkit::TBitmap& target,
                            const platform::Rect& rect);
// Background, then the section's "BORDERSMASK" piece (inherited) as a frame in copy mode 1;
// finally the parent colour is reset.
void PaintSection(const TsSectionPaint& paint, toolkit::TBitmap& target,
                  const platform::Rect& rect);

// The text with DrawText's format flags in rect: enabled, first the contour copies one pixel
// left, up, right and down in the section's contour colours (the hot set when hot; a colour of
// −1 draws no copy), then the text in the font colour; disabled, once in 0.4 × font colour +
// 0.6 × section colour. The canvas brush is left clear and its font in the last colour drawn.
// Nothing without a valid section.
void DrawContourText(toolkit::TCanvas& canvas, const std::string& text, bool enabled,
                     TsSkinManager* manager, bool hot, std::int32_t sectionIndex, unsigned format,
                     const platform::Rect& rect);

} // namespace skin
