#pragma once
// Where text or a block of content stands inside a control: horizontally (TAlignment) and
// vertically (TTextLayout). Shared by the panel, the label and the buttons.

#include "platform/gfx/text/TextDraw.h"

namespace toolkit {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;

enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

// The text-drawing flag for a horizontal alignment.
constexpr unsigned AlignmentFlags(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify:
        return platform::DT_RIGHT;
    case taCenter:
        return platform::DT_CENTER;
    case taLeftJustify:
        break;
    }
    return platform::DT_LEFT;
}

} // namespace toolkit
