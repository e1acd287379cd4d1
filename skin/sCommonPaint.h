#pragma once
// Painting a skinned control from its skin state (sCommonData.h): the section into the control's
// cache, the repair of its border corners, and its text in the section's font colours.
//
// Coordinates: rectangles are in the target bitmap's pixels (the control's cache: the control's
// client area, left and top 0), right and bottom exclusive. position is the control's place in
// its parent, used to find the parent background behind each pixel. Nothing raises; a control
// without a manager or a valid section paints nothing.

#include <cstdint>
#include <string>

#include "platform/gfx/Geometry.h"
#include "skin/acFast24.h"
#include "skin/sMaskData.h"

namespace toolkit {
class TBitmap;
class TCanvas;
} // namespace toolkit

namespace skin {

class TsCommonData;

// The control's section into target: the background (the control's own Color when CustomColor,
// its cached textures), the border piece (fillCentre, copyMode and state as DrawFramePiece takes
// them) and the corner images "IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT" (at x 0) and
// "IMGBTMRIGHT". Nothing when rect does not lie inside target. A parent background that is not
// ready stands for a flat parent in its Color; a ready one of a parent the control does not
// depend on is asked for its colour (command 21). The parent colour is reset afterwards.
void PaintControlSection(TsCommonData& data, const TsBackdropInfo& parent, bool fillCentre,
                         std::int32_t copyMode, std::int32_t state, toolkit::TBitmap* target,
                         platform::Point position, const platform::Rect& rect);
// The same with the border piece's parts chosen: kCentre gives the face without its borders.
void PaintControlSection(TsCommonData& data, const TsBackdropInfo& parent, TacFrameParts border,
                         std::int32_t copyMode, std::int32_t state, toolkit::TBitmap* target,
                         platform::Point position, const platform::Rect& rect);

// Corners for RepairFrameCorners; kAllCorners repairs all four.
inline constexpr std::int32_t kCornerTopLeft = 1, kCornerBottomLeft = 2, kCornerTopRight = 4,
                              kCornerBottomRight = 8, kAllCorners = 15;

// Draws the requested corners of the control's border piece again into its cache bitmap over
// the parent's background (its cache when it gives one, else its colour), so that key-coloured
// and masked pixels show what lies behind the control. A piece with its own bitmap and no image
// count counts as three state images with masks.
void RepairFrameCorners(TsCommonData& data, std::int32_t state, std::int32_t corners);

// The control's text in rect (DrawText format flags): the control's font (underlined when hot
// on a "WEBBUTTON"), clipped to rect, brush clear. Enabled and skinned: unless CustomFont, the
// contour copies in the section's (hot) contour colours and the text in its (hot) font colour;
// the last copy is drawn with DT_NOCLIP added. Disabled: 0.4 × font colour + 0.6 × section colour
// (the system's grey text colour without a section). The canvas's context state is kept.
void DrawContourText(toolkit::TCanvas& canvas, const std::string& text, bool enabled, bool hot,
                     TsCommonData& data, unsigned format, const platform::Rect& rect);

} // namespace skin
