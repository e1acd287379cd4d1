#pragma once
// Gradients of skin sections painted into a 24-bit bitmap (pixel layout and clipping rules as in
// acFast24.h). The first step's Mode chooses the kind:
//   0  top to bottom, step after step; a step's rows run from where the previous step ended
//      (that row is painted again) to start + Percent × (offset + height) ÷ 100, the last step
//      to the last row; a step that would cover fewer than two rows is skipped. offset moves
//      the start down, for a rectangle that is the lower part of a taller gradient.
//   1  left to right, the same scheme across columns, a step ending at
//      round(Percent × width ÷ 100 + its first column); offset is not used.
//   2  four triangles meeting at the centre, the corners top left, top right, bottom right and
//      bottom left and the centre coloured by Color1 of steps 1 to 5 (top left, centre, top
//      right, bottom right, bottom left; a missing step repeats the previous colour).
// Any other mode paints nothing. The rectangle is clipped to the bitmap first; an empty step
// list paints nothing. Channels are interpolated as real numbers and rounded, halves to even.

#include <cstdint>

#include "platform/gfx/Geometry.h"
#include "skin/SkinModel.h"
#include "skin/acFast24.h"

namespace skin {

void PaintGradientSteps(const TacRows24& bitmap, const platform::Rect& rect,
                        const TsGradArray& steps, std::int32_t offset);

} // namespace skin
