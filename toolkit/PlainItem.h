#pragma once
// The plain look of one text item of a list: a list box's row, a combo box's chosen item. A
// selected item shows in the highlight colours, the text two pixels in and centred on one line,
// and a focus mark as the dotted rectangle; a disabled control's text is grey.

#include <string>

#include "platform/gfx/Geometry.h"

namespace toolkit {

class TCanvas;
class TControl;

void DrawPlainItem(TCanvas& canvas, const TControl& control, const std::string& text,
                   const platform::Rect& rect, bool selected, bool focusMark);

} // namespace toolkit
