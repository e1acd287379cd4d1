#pragma once
// Device contexts: where drawing goes. A context draws into the DIB section selected into it;
// one without a section draws nothing (every operation reports failure and changes no pixel).
//
// Coordinates: drawing calls take logical coordinates; device = logical - window origin +
// viewport origin, device pixels being the section's picture coordinates (row 0 at the top).
// Two regions in device pixels limit drawing: the visible region, set by the window system for
// a window's context (the part of the surface the window may paint), and the clip, which the
// drawing code sets and resets (SelectClipRgn, IntersectClipRect, ...). Without either the
// whole section is drawable. Nothing is ever written outside the visible region, the clip or
// the section.
//
// State (selected section and palette, origins, clip, stretch mode, text settings, font) is
// saved and restored with DcStateGuard, a scope guard that also restores on exceptions.
//
// Ownership: a context shares what is selected into it (std::shared_ptr), so an object stays
// alive while selected. A context made by CreateCompatibleDC belongs to its caller.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/Dib.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Palette.h"
#include "platform/gfx/Region.h"

namespace platform {

// Stretch modes keep their platform numbers. Every mode samples as ColorOnColor does: one source
// pixel per target pixel, no averaging.
enum class StretchMode : int { BlackOnWhite = 1, WhiteOnBlack = 2, ColorOnColor = 3, Halftone = 4 };

// Raster operations keep their platform numbers; only plain source copy is drawn, the others are
// refused (the blit returns false).
enum class RasterOp : std::uint32_t { SrcCopy = 0x00CC0020 };

enum class BkMode : int { Transparent = 1, Opaque = 2 };

// Returned by GetPixel/SetPixel outside the drawable area.
inline constexpr Color kInvalidColor = 0xFFFFFFFF;

class DeviceContext {
public:
    DeviceContext() = default;
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // Every setting a drawing call reads; DcStateGuard copies it whole.
    struct State {
        std::shared_ptr<DibSection> bitmap;
        std::shared_ptr<Palette> palette;
        Point viewportOrg;
        Point windowOrg;
        std::optional<Region> visible; // device pixels; none: the whole section
        std::optional<Region> clip;    // device pixels; none: no further limit
        StretchMode stretchMode = StretchMode::BlackOnWhite;
        Color textColor = RGB(0, 0, 0);
        Color bkColor = RGB(255, 255, 255);
        BkMode bkMode = BkMode::Opaque;
        std::shared_ptr<GdiObject> font; // the text code's font object, if any
    };

    const State& GetState() const { return m_state; }
    State& MutableState() { return m_state; }
    void SetState(State state) { m_state = std::move(state); }

    // The platform's numbered save stack (SaveDC/RestoreDC); DcStateGuard is the scoped form.
    std::vector<State>& SavedStates() { return m_saved; }

    DibSection* Bitmap() const { return m_state.bitmap.get(); }
    Point ToDevice(Point logical) const;
    Rect ToDevice(const Rect& logical) const;
    // The drawable area in device pixels: the section's bounds within the visible region and
    // the clip.
    Region DrawableRegion() const;
    // The drawable area within bounds (device pixels), as rectangles that do not overlap (in no
    // particular order, not merged), appended to out. Cheaper than DrawableRegion for drawing
    // one shape: no region is built.
    void DrawableRects(const Rect& bounds, std::vector<Rect>& out) const;

private:
    State m_state;
    std::vector<State> m_saved;
};

// Saves the whole state of a context and puts it back when the scope ends.
class DcStateGuard {
public:
    explicit DcStateGuard(DeviceContext& dc) : m_dc(dc), m_saved(dc.GetState()) {}
    ~DcStateGuard() { m_dc.SetState(std::move(m_saved)); }
    DcStateGuard(const DcStateGuard&) = delete;
    DcStateGuard& operator=(const DcStateGuard&) = delete;

private:
    DeviceContext& m_dc;
    DeviceContext::State m_saved;
};

// Pushes the state and returns its level (1 for the first save).
int SaveDC(DeviceContext& dc);
// Restores the state saved at level (a negative level counts back from the latest: -1 is the
// latest) and drops it and every later save. False for a level that is not saved.
bool RestoreDC(DeviceContext& dc, int level);

// A memory context with no section selected (the reference context is only for the platform's
// signature: every context draws the same way).
std::unique_ptr<DeviceContext> CreateCompatibleDC(const DeviceContext* reference = nullptr);

// Select a section or palette; the previous one is returned so it can be put back.
std::shared_ptr<DibSection> SelectObject(DeviceContext& dc, std::shared_ptr<DibSection> bitmap);
std::shared_ptr<GdiObject> SelectFont(DeviceContext& dc, std::shared_ptr<GdiObject> font);
std::shared_ptr<Palette> SelectPalette(DeviceContext& dc, std::shared_ptr<Palette> palette,
                                       bool forceBackground);
// Returns the number of entries mapped: the palette's size, or 0 without a palette.
std::uint32_t RealizePalette(DeviceContext& dc);

StretchMode SetStretchBltMode(DeviceContext& dc, StretchMode mode); // returns the old mode
StretchMode GetStretchBltMode(const DeviceContext& dc);

Point SetViewportOrgEx(DeviceContext& dc, Point origin); // return the old origin
Point SetWindowOrgEx(DeviceContext& dc, Point origin);
Point OffsetViewportOrgEx(DeviceContext& dc, std::int32_t dx, std::int32_t dy);

// The window system's limit, in device pixels (nullptr: none). Drawing code never widens it.
void SetVisibleRegion(DeviceContext& dc, const Region* region);

// Clip in device pixels: a copy of region, or none (nullptr) for no limit besides the visible
// region.
RegionKind SelectClipRgn(DeviceContext& dc, const Region* region);
// Narrow or cut the clip by a rectangle in logical coordinates. The three return what the
// drawable area has become.
RegionKind IntersectClipRect(DeviceContext& dc, const Rect& logical);
RegionKind ExcludeClipRect(DeviceContext& dc, const Rect& logical);
// The bounds of the drawable area, in logical coordinates.
Rect GetClipBox(const DeviceContext& dc);

Color SetTextColor(DeviceContext& dc, Color color); // return the old value
Color SetBkColor(DeviceContext& dc, Color color);
BkMode SetBkMode(DeviceContext& dc, BkMode mode);

// All earlier drawing is finished when it returns (drawing is immediate here).
void GdiFlush();

// Block transfers. Rectangles are given as origin and size in logical coordinates of their
// context; a negative width or height extends to the left or up and mirrors the picture when
// the other side's sign differs. Target pixel (x, y) of a tw × th target takes the source pixel
// at column ((2x + 1) × sw) div (2 × tw) and row ((2y + 1) × sh) div (2 × th), counted inside
// the source rectangle (mirrored as above). Colours go through RGB: a target with a colour
// table takes the nearest entry by squared red-green-blue distance (ties to the lower index).
// Target pixels that are clipped, or whose source pixel lies outside the source section, are
// left alone. Returns false when nothing could be drawn for a reason other than clipping (no
// section, unsupported raster operation).
bool BitBlt(DeviceContext& dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
            const DeviceContext& src, std::int32_t sx, std::int32_t sy, RasterOp rop);
bool StretchBlt(DeviceContext& dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                const DeviceContext& src, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                std::int32_t sh, RasterOp rop);
// As StretchBlt, from pixel data laid out as info says (compressed RLE8/RLE4 data is decoded
// here, the source staying as it is). Source coordinates count rows from the picture's top.
// bitsSize bounds every read of bits. Returns the number of source rows drawn from (the
// picture's height), or 0 on failure (no section, bad info, too little data for uncompressed
// rows, RLE with the wrong bit count, no memory to decode RLE data into).
std::int32_t StretchDIBits(DeviceContext& dst, std::int32_t x, std::int32_t y, std::int32_t w,
                           std::int32_t h, std::int32_t sx, std::int32_t sy, std::int32_t sw,
                           std::int32_t sh, const void* bits, std::size_t bitsSize,
                           const BitmapInfo& info, RasterOp rop);

// Fills a rectangle (logical coordinates, right/bottom exclusive) with a solid colour.
bool FillRect(DeviceContext& dc, const Rect& logical, Color color);

// Fills a region (logical coordinates) with a solid colour.
bool FillRgn(DeviceContext& dc, const Region& logical, Color color);
// A one-pixel frame just inside the rectangle (logical coordinates).
bool FrameRect(DeviceContext& dc, const Rect& logical, Color color);

// One pixel, as RGB; kInvalidColor outside the drawable area. SetPixel returns the colour
// actually stored (the nearest table entry's for a section with a colour table).
Color GetPixel(const DeviceContext& dc, std::int32_t x, std::int32_t y);
Color SetPixel(DeviceContext& dc, std::int32_t x, std::int32_t y, Color color);

} // namespace platform
