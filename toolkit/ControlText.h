#pragma once
// Text helpers the standard controls share: measuring without a device context, drawing a
// caption in the enabled or the classic engraved disabled look, and matching an accelerator.
//
// Rectangles are in the canvas's logical coordinates. Text is UTF-8; flags are the platform's
// DT_* text-drawing flags.

#include <string>

#include "platform/gfx/Geometry.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TGraphicsObject.h"

namespace toolkit {

// The rectangle the text needs when laid out in bounds with format: left and top stay, right and
// bottom follow the text (as DT_CALCRECT does). Needs no context.
platform::Rect MeasureText(const TFont& font, const std::string& text, const platform::Rect& bounds,
                           unsigned format);

// Draws text with the canvas's current font and a clear brush. Disabled: the text in the button
// highlight colour one pixel right and down, then in the button shadow colour in place. The
// canvas's brush style is put back afterwards.
void DrawControlText(TCanvas& canvas, const std::string& text, platform::Rect rect, unsigned format,
                     bool enabled);

// Whether ch (any letter case for ASCII) is the accelerator of caption: the character after a
// single "&" ("&&" stands for an ampersand and marks nothing).
bool IsAccel(char32_t ch, const std::string& caption);

} // namespace toolkit
