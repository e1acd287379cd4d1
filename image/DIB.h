#pragma once
// The DIB module: the DIB picture (TDIB) and its shared pixel store, the palette manager, the
// channel layouts, bitmap file reading and writing, and the preview box.

#include "image/TDIB.h"
#include "image/TDIBPixelFormat.h"
#include "image/TDIBSharedImage.h"
#include "image/TDXPaintBox.h"
#include "image/TPaletteManager.h"
