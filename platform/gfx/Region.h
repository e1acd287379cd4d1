#pragma once
// A region: a set of pixels described by a list of rectangles (right/bottom exclusive, as
// Rect). The list is kept canonical: rectangles never overlap, are sorted by top then left,
// lie in horizontal bands (rectangles of one band share top and bottom), and equal neighbouring
// bands are merged, so two regions covering the same pixels compare equal.
//
// The coordinate space is the user's (device contexts keep their clip in device pixels, windows
// their update and window regions in client or window pixels). Coordinates are 32-bit; the
// combine operations never overflow, offsets wrap like the platform's.

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <span>
#include <vector>

#include "platform/gfx/Geometry.h"

namespace platform {

enum class RegionOp { And, Or, Xor, Diff, Copy };

// What a region turned out to be after an operation, as the platform reports it.
enum class RegionKind { Error = 0, Null = 1, Simple = 2, Complex = 3 };

class Region {
public:
    Region() = default;
    explicit Region(const Rect& rect);
    // The union of any rectangles (they may overlap; empty ones are ignored).
    static Region FromRects(std::span<const Rect> rects);
    static Region FromRects(std::initializer_list<Rect> rects) {
        return FromRects(std::span<const Rect>(rects.begin(), rects.size()));
    }

    bool IsEmpty() const { return m_rects.empty(); }
    RegionKind Kind() const;
    // The smallest rectangle holding every pixel; all zero for an empty region.
    Rect Bounds() const;
    const std::vector<Rect>& Rects() const { return m_rects; }

    bool Contains(Point p) const;
    bool Intersects(const Rect& rect) const;

    void Offset(std::int32_t dx, std::int32_t dy);
    void Clear() { m_rects.clear(); }

    // In-place operations against a rectangle or another region.
    void IntersectWith(const Rect& rect);
    void IntersectWith(const Region& other);
    void Unite(const Rect& rect);
    void Unite(const Region& other);
    void Subtract(const Rect& rect);
    void Subtract(const Region& other);

    // The platform's CombineRgn: a op b (Copy takes a).
    static Region Combine(const Region& a, const Region& b, RegionOp op);

    friend bool operator==(const Region&, const Region&) = default;

private:
    std::vector<Rect> m_rects;
};

std::ostream& operator<<(std::ostream& os, const Region& region);

} // namespace platform
