#pragma once
// The images of the internal skin "Winter2003 (internal)": a cool look of navy, ice blue and
// white. Every piece sits at the rectangle its options text names (WinterOptions.ini).

#include "Raster.h"

namespace skinpack {

Raster DrawMaster();     // 304 × 260, "Master.bmp"
Raster DrawHugeButton(); // 288 × 192, "Btn_Huge.bmp": three 96 × 96 states over their masks
Raster DrawBackground(); // 300 × 300, "BG.JPG": frosted glass with snow crystals

} // namespace skinpack
