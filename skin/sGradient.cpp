#include "skin/sGradient.h"

#include "skin/sGraphUtils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace skin {

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb ToRgb(std::int32_t color) {
    const auto c = static_cast<platform::Color>(color);
    return {double(platform::GetRValue(c)), double(platform::GetGValue(c)),
            double(platform::GetBValue(c))};
}

std::uint8_t Round255(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

void Put(std::uint8_t* p, const Rgb& c) {
    p[0] = Round255(c.b);
    p[1] = Round255(c.g);
    p[2] = Round255(c.r);
}

Rgb Lerp(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Walks the steps along one axis of length `count` cells starting at `first` (cells before 0 or
// from `count` on are not painted); paint(cell, colour) fills one row or column.
template <typename EndOf, typename Paint>
void WalkSteps(const TsGradArray& steps, std::int64_t first, std::int64_t count, EndOf endOf,
               Paint paint) {
    const std::int64_t lastCell = count - 1;
    std::int64_t start = first;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::int64_t last = std::min(endOf(steps[i], start), lastCell);
        if (i + 1 == steps.size())
            last = lastCell;
        if (last - start >= 1) {
            const Rgb c1 = ToRgb(steps[i].Color1);
            const Rgb c2 = ToRgb(steps[i].Color2);
            const double span = double(last - start);
            for (std::int64_t cell = std::max<std::int64_t>(start, 0); cell <= last; ++cell)
                paint(cell, Lerp(c1, c2, double(cell - start) / span));
        }
        start = last;
    }
}

void Vertical(const TacRows24& bmp, const platform::Rect& r, const TsGradArray& steps,
              std::int32_t offset) {
    const std::int64_t height = r.Height();
    const auto endOf = [&](const TsGradientStep& s, std::int64_t start) {
        return start + std::int64_t{s.Percent} * (offset + height) / 100;
    };
    WalkSteps(steps, offset, height, endOf, [&](std::int64_t row, const Rgb& c) {
        std::uint8_t* p = bmp.At(r.left, r.top + static_cast<std::int32_t>(row));
        Put(p, c);
        RepeatPixel24(p, r.Width());
    });
}

void Horizontal(const TacRows24& bmp, const platform::Rect& r, const TsGradArray& steps) {
    const std::int64_t width = r.Width();
    const auto endOf = [&](const TsGradientStep& s, std::int64_t start) {
        return static_cast<std::int64_t>(std::nearbyint(s.Percent * double(width) / 100 + start));
    };
    std::uint8_t* first = bmp.At(r.left, r.top);
    WalkSteps(steps, 0, width, endOf,
              [&](std::int64_t col, const Rgb& c) { Put(first + 3 * col, c); });
    for (std::int32_t y = r.top + 1; y < r.bottom; ++y)
        std::copy_n(first, static_cast<std::size_t>(width) * 3, bmp.At(r.left, y));
}

struct Vertex {
    double x, y;
    Rgb c;
};

// Barycentric colour of p in the triangle a, b, c.
Rgb Shade(const Vertex& a, const Vertex& b, const Vertex& c, double px, double py) {
    const double det = (b.y - c.y) * (a.x - c.x) + (c.x - b.x) * (a.y - c.y);
    if (det == 0)
        return a.c;
    const double wa = ((b.y - c.y) * (px - c.x) + (c.x - b.x) * (py - c.y)) / det;
    const double wb = ((c.y - a.y) * (px - c.x) + (a.x - c.x) * (py - c.y)) / det;
    const double wc = 1 - wa - wb;
    return {wa * a.c.r + wb * b.c.r + wc * c.c.r, wa * a.c.g + wb * b.c.g + wc * c.c.g,
            wa * a.c.b + wb * b.c.b + wc * c.c.b};
}

void Triangles(const TacRows24& bmp, const platform::Rect& whole, const platform::Rect& r,
               const TsGradArray& steps) {
    std::array<Rgb, 5> colors;
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = i < steps.size() ? ToRgb(steps[i].Color1) : colors[i - 1];
    // Corners on the outermost pixels, so that each shows its colour exactly.
    const double l = whole.left, t = whole.top, rt = whole.right - 1, b = whole.bottom - 1;
    const double cx = (l + rt) / 2, cy = (t + b) / 2;
    const Vertex tl{l, t, colors[0]}, centre{cx, cy, colors[1]}, tr{rt, t, colors[2]},
        br{rt, b, colors[3]}, bl{l, b, colors[4]};
    const double halfW = std::max((rt - l) / 2, 1e-9), halfH = std::max((b - t) / 2, 1e-9);
    for (std::int32_t y = r.top; y < r.bottom; ++y) {
        std::uint8_t* p = bmp.At(r.left, y);
        const double v = (y - cy) / halfH;
        for (std::int32_t x = r.left; x < r.right; ++x, p += 3) {
            const double u = (x - cx) / halfW;
            if (v <= -std::abs(u))
                Put(p, Shade(tl, centre, tr, x, y));
            else if (v >= std::abs(u))
                Put(p, Shade(bl, centre, br, x, y));
            else if (u < 0)
                Put(p, Shade(tl, centre, bl, x, y));
            else
                Put(p, Shade(centre, tr, br, x, y));
        }
    }
}

} // namespace

void PaintGradientSteps(const TacRows24& bitmap, const platform::Rect& rect,
                        const TsGradArray& steps, std::int32_t offset) {
    if (bitmap.Empty() || steps.empty())
        return;
    const platform::Rect r = ClipToSize(rect, bitmap.width, bitmap.height);
    if (r.IsEmpty())
        return;
    switch (steps.front().Mode) {
    case 0:
        Vertical(bitmap, r, steps, offset);
        break;
    case 1:
        Horizontal(bitmap, r, steps);
        break;
    case 2:
        Triangles(bitmap, r, r, steps);
        break;
    default:
        break;
    }
}

} // namespace skin
