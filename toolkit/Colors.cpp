#include "toolkit/Colors.h"

#include "platform/win/SystemMetrics.h"

namespace toolkit {

platform::Color ColorToRGB(TColor color) {
    if (color & kSystemColorFlag)
        return platform::GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

} // namespace toolkit
