#pragma once
// Points, sizes and rectangles in device pixels. A rectangle holds left and top, and excludes
// right and bottom, as the window system's rectangles do: (0, 0, 2, 2) covers four pixels.
// Which space a rectangle is in (screen, window, client, surface) is the user's to say.

#include <algorithm>
#include <cstdint>
#include <ostream>

namespace platform {

// A colour: red in the low byte, then green, then blue.
using Color = std::uint32_t;
constexpr Color RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Color{r} | Color{g} << 8 | Color{b} << 16;
}
constexpr std::uint8_t GetRValue(Color c) { return c & 0xFF; }
constexpr std::uint8_t GetGValue(Color c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t GetBValue(Color c) { return (c >> 16) & 0xFF; }

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    static constexpr Rect FromSize(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
        return {x, y, x + w, y + h};
    }
    constexpr std::int32_t Width() const { return right - left; }
    constexpr std::int32_t Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr Rect Offset(std::int32_t dx, std::int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr Rect Inflate(std::int32_t dx, std::int32_t dy) const {
        return {left - dx, top - dy, right + dx, bottom + dy};
    }
    // The common part, or an empty rectangle (all zero) when there is none.
    constexpr Rect Intersect(const Rect& o) const {
        const Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                     std::min(bottom, o.bottom)};
        return r.IsEmpty() ? Rect{} : r;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Point& p) {
    return os << '(' << p.x << ", " << p.y << ')';
}
inline std::ostream& operator<<(std::ostream& os, const Size& s) {
    return os << s.cx << " x " << s.cy;
}
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
}

} // namespace platform
