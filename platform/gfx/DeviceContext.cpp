// A device context's state: origins, the drawable area, saved states, selected objects, the
// clip and text colours. Blits are in DeviceBlit.cpp, fills and single pixels in DeviceFill.cpp.

#include "platform/gfx/DeviceContext.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/gfx/DeviceRange.h"

namespace platform {

namespace {

using detail::DeviceRange;

std::int32_t ClampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// The bounds of the drawable area and the pixels it holds, from its pieces (which never overlap),
// without building the region.
struct DrawableExtent {
    Rect bounds;
    std::int64_t area = 0;
};
DrawableExtent DrawableBounds(const DeviceContext& dc) {
    DrawableExtent extent;
    if (!dc.Bitmap())
        return extent;
    std::vector<Rect> pieces;
    dc.DrawableRects({0, 0, dc.Bitmap()->Width(), dc.Bitmap()->Height()}, pieces);
    for (const Rect& r : pieces) {
        extent.bounds = extent.area == 0 ? r
                                         : Rect{std::min(extent.bounds.left, r.left),
                                                std::min(extent.bounds.top, r.top),
                                                std::max(extent.bounds.right, r.right),
                                                std::max(extent.bounds.bottom, r.bottom)};
        extent.area += std::int64_t{r.Width()} * r.Height();
    }
    return extent;
}

// What the drawable region is: pieces filling their bounds exactly make one rectangle.
RegionKind DrawableKind(const DeviceContext& dc) {
    const DrawableExtent e = DrawableBounds(dc);
    if (e.area == 0)
        return RegionKind::Null;
    return e.area == std::int64_t{e.bounds.Width()} * e.bounds.Height() ? RegionKind::Simple
                                                                        : RegionKind::Complex;
}

} // namespace

Point DeviceContext::ToDevice(Point logical) const {
    const OriginSize p = DeviceRange(*this, logical.x, logical.y, 0, 0);
    return {ClampToInt32(p.x), ClampToInt32(p.y)};
}

Rect DeviceContext::ToDevice(const Rect& logical) const {
    const Point a = ToDevice(Point{logical.left, logical.top});
    const Point b = ToDevice(Point{logical.right, logical.bottom});
    return {a.x, a.y, b.x, b.y};
}

Region DeviceContext::DrawableRegion() const {
    if (!m_state.bitmap)
        return {};
    Region region(Rect{0, 0, m_state.bitmap->Width(), m_state.bitmap->Height()});
    if (m_state.visible)
        region.IntersectWith(*m_state.visible);
    if (m_state.clip)
        region.IntersectWith(*m_state.clip);
    return region;
}

void DeviceContext::DrawableRects(const Rect& bounds, std::vector<Rect>& out) const {
    if (!m_state.bitmap)
        return;
    const Rect area = bounds.Intersect({0, 0, m_state.bitmap->Width(), m_state.bitmap->Height()});
    if (area.IsEmpty())
        return;
    const Region* one = m_state.visible ? &*m_state.visible : nullptr;
    const Region* two = m_state.clip ? &*m_state.clip : nullptr;
    if (!one)
        std::swap(one, two);
    if (!one) {
        out.push_back(area);
        return;
    }
    // Rectangles of one region never overlap, so the pieces of pairs never do either.
    for (const Rect& r : one->Rects()) {
        const Rect a = r.Intersect(area);
        if (a.IsEmpty())
            continue;
        if (!two) {
            out.push_back(a);
            continue;
        }
        for (const Rect& c : two->Rects()) {
            if (c.top >= a.bottom)
                break; // rectangles come sorted by top
            const Rect b = c.Intersect(a);
            if (!b.IsEmpty())
                out.push_back(b);
        }
    }
}

int SaveDC(DeviceContext& dc) {
    dc.SavedStates().push_back(dc.GetState());
    return static_cast<int>(dc.SavedStates().size());
}

bool RestoreDC(DeviceContext& dc, int level) {
    auto& saved = dc.SavedStates();
    const int count = static_cast<int>(saved.size());
    if (level < 0)
        level = count + 1 + level;
    if (level < 1 || level > count)
        return false;
    dc.SetState(std::move(saved[static_cast<std::size_t>(level - 1)]));
    saved.resize(static_cast<std::size_t>(level - 1));
    return true;
}

std::unique_ptr<DeviceContext> CreateCompatibleDC(const DeviceContext*) {
    return std::make_unique<DeviceContext>();
}

std::shared_ptr<DibSection> SelectObject(DeviceContext& dc, std::shared_ptr<DibSection> bitmap) {
    return std::exchange(dc.MutableState().bitmap, std::move(bitmap));
}

std::shared_ptr<GdiObject> SelectFont(DeviceContext& dc, std::shared_ptr<GdiObject> font) {
    return std::exchange(dc.MutableState().font, std::move(font));
}

std::shared_ptr<Palette> SelectPalette(DeviceContext& dc, std::shared_ptr<Palette> palette, bool) {
    return std::exchange(dc.MutableState().palette, std::move(palette));
}

std::uint32_t RealizePalette(DeviceContext& dc) {
    const auto& palette = dc.GetState().palette;
    return palette ? static_cast<std::uint32_t>(palette->Entries().size()) : 0;
}

StretchMode SetStretchBltMode(DeviceContext& dc, StretchMode mode) {
    return std::exchange(dc.MutableState().stretchMode, mode);
}

StretchMode GetStretchBltMode(const DeviceContext& dc) {
    return dc.GetState().stretchMode;
}

Point SetViewportOrgEx(DeviceContext& dc, Point origin) {
    return std::exchange(dc.MutableState().viewportOrg, origin);
}

Point SetWindowOrgEx(DeviceContext& dc, Point origin) {
    return std::exchange(dc.MutableState().windowOrg, origin);
}

Point OffsetViewportOrgEx(DeviceContext& dc, std::int32_t dx, std::int32_t dy) {
    Point& origin = dc.MutableState().viewportOrg;
    const Point old = origin;
    origin = {ClampToInt32(std::int64_t{origin.x} + dx), ClampToInt32(std::int64_t{origin.y} + dy)};
    return old;
}

void SetVisibleRegion(DeviceContext& dc, const Region* region) {
    if (region == nullptr)
        dc.MutableState().visible.reset();
    else
        dc.MutableState().visible = *region;
}

RegionKind SelectClipRgn(DeviceContext& dc, const Region* region) {
    if (region == nullptr)
        dc.MutableState().clip.reset();
    else
        dc.MutableState().clip = *region;
    return DrawableKind(dc);
}

RegionKind IntersectClipRect(DeviceContext& dc, const Rect& logical) {
    auto& clip = dc.MutableState().clip;
    const Rect device = dc.ToDevice(logical);
    if (!clip) {
        // No clip yet: the whole section (or nothing without one) is the start.
        clip = dc.Bitmap() ? Region(Rect{0, 0, dc.Bitmap()->Width(), dc.Bitmap()->Height()})
                           : Region();
    }
    clip->IntersectWith(device);
    return DrawableKind(dc);
}

RegionKind ExcludeClipRect(DeviceContext& dc, const Rect& logical) {
    auto& clip = dc.MutableState().clip;
    const Rect device = dc.ToDevice(logical);
    if (!clip) {
        clip = dc.Bitmap() ? Region(Rect{0, 0, dc.Bitmap()->Width(), dc.Bitmap()->Height()})
                           : Region();
    }
    clip->Subtract(device);
    return DrawableKind(dc);
}

Rect GetClipBox(const DeviceContext& dc) {
    const Rect device = DrawableBounds(dc).bounds;
    if (device.IsEmpty())
        return {};
    const auto& s = dc.GetState();
    return device.Offset(s.windowOrg.x - s.viewportOrg.x, s.windowOrg.y - s.viewportOrg.y);
}

Color SetTextColor(DeviceContext& dc, Color color) {
    return std::exchange(dc.MutableState().textColor, color);
}

Color SetBkColor(DeviceContext& dc, Color color) {
    return std::exchange(dc.MutableState().bkColor, color);
}

BkMode SetBkMode(DeviceContext& dc, BkMode mode) {
    return std::exchange(dc.MutableState().bkMode, mode);
}

void GdiFlush() {}

} // namespace platform
