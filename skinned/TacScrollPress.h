#pragma once
// The one scroll bar the mouse holds down, process-wide: the bars' layout shows a dragged thumb
// where it is dragged, and their mouse handling starts, repeats and ends the press.

#include <cstdint>

#include "skinned/TacScrollWnd.h"

namespace skinned::scrollpress {

struct TacScrollPress {
    TacScrollWnd* window = nullptr;
    std::int32_t bar = -1;
    TacScrollPart part = kPartNone;
    std::int32_t code = 0;
    std::int32_t grab = 0; // thumb: where along the thumb it was taken
    std::int32_t trackPos = 0;
    bool repeating = false;
};

inline TacScrollPress& Press() {
    static TacScrollPress press;
    return press;
}

} // namespace skinned::scrollpress
