#pragma once
// The program's icon as the window system shows it.

#include <cstdint>
#include <vector>

namespace platform {

// 32-bit pixels, rows top-down, the top byte the opacity (0: see-through, anything else opaque
// in the caption). pixels holds width * height values, or the icon is none.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Every top-level window shows this icon: in the system-menu place of a classic caption (not in
// dialog frames, which have none) and on the desktop through the host. Lives as long as the
// window system; an empty or malformed icon takes it away from captions.
void SetApplicationIcon(IconImage icon);
// The icon set last (empty when none), for frames the program paints itself.
const IconImage& GetApplicationIcon();

} // namespace platform
