#pragma once
// How a skinned container shows the children that have no window of their own, and how it tells
// its children that their background changed.
//
// PaintGraphicChildren paints every visible graphic child of container with a positive size that
// meets dc's clip box, each over the part of the container's cached background (library command
// 5) that lies under it, or over its own Color when it is opaque. dc is in the container's client
// coordinates moved by offset (the children land at their bounds plus offset). The children are
// composed in one memory bitmap the size of the container (kept between paints); a child whose
// top-left pixel comes out as the key colour (magenta) is taken to have left its area alone and is
// not copied. Nothing is painted when the container is hidden, has no children or no cached
// background, or when dc's clip box is empty.
//
// RepaintChildren sends library command 6 (the parent finished updating) to every windowed child
// and to every other child that is not a graphic control, skipping children being destroyed. A
// child that fails on the command ends only its own turn.
//
// Both run on the user-interface thread; children may not be added or removed meanwhile except
// by the children themselves (the lists are copied first).

#include "platform/gfx/Geometry.h"

namespace platform {
class DeviceContext;
}
namespace toolkit {
class TWinControl;
}

namespace skinned {

void PaintGraphicChildren(platform::DeviceContext& dc, toolkit::TWinControl& container,
                          platform::Point offset);

void RepaintChildren(toolkit::TWinControl& container);

} // namespace skinned
