#pragma once
// How many device pixels of the host a pixel of ours takes, and the mapping between the two.
// The window system and everything above it work in logical pixels; only a backend that shows
// windows larger (HiDPI screens) converts, at its edge with the host: rectangles and points
// going out become device pixels, those coming in become logical pixels again.
//
// A logical pixel is factor x factor device pixels. Device positions map back by flooring (a
// device pixel belongs to the logical pixel it lies in, on either side of 0); a device area
// given to the program (the work area) maps to the logical pixels wholly inside it, so nothing
// placed there reaches past it.

#include <optional>
#include <vector>

#include "platform/gfx/Geometry.h"

namespace platform {

class HostScale {
public:
    static constexpr int kMaxFactor = 3;

    explicit HostScale(int factor = 1);

    int Factor() const { return m_factor; }

    Point ToDevice(Point logical) const;
    Rect ToDevice(const Rect& logical) const;
    std::vector<Rect> ToDevice(const std::vector<Rect>& logical) const;

    Point ToLogical(Point device) const;
    // The logical pixels a window of this device size needs to fill it (rounded up).
    Point SizeToLogical(int deviceWidth, int deviceHeight) const;
    // The logical pixels wholly inside a device area.
    Rect InsideToLogical(const Rect& device) const;

private:
    int m_factor;
};

// The factor for the screen: CHARVANE_SCALE, else GDK_SCALE (each a whole number from 1 to 3;
// anything else there is passed over), else the X resources' Xft.dpi rounded to whole 96ths
// (at least 1, at most kMaxFactor), else 1. Null: not set.
int ChooseScaleFactor(const char* charvaneScale, const char* gdkScale,
                      std::optional<double> resourceDpi);

} // namespace platform
