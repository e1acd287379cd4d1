// Filling a context's drawable area with one colour (regions, rectangles, frames) and reading
// and writing single pixels.

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <optional>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/DeviceRange.h"
#include "platform/gfx/PixelCodec.h"

namespace platform {

namespace {

using detail::DeviceRange;

// Device point of a logical one if it is drawable.
std::optional<Point> DrawablePoint(const DeviceContext& dc, std::int32_t x, std::int32_t y) {
    const OriginSize p = DeviceRange(dc, x, y, 1, 1);
    if (dc.Bitmap() == nullptr || p.x < INT32_MIN || p.x > INT32_MAX || p.y < INT32_MIN ||
        p.y > INT32_MAX)
        return std::nullopt;
    const Point device{static_cast<std::int32_t>(p.x), static_cast<std::int32_t>(p.y)};
    const auto& s = dc.GetState();
    const Rect section{0, 0, dc.Bitmap()->Width(), dc.Bitmap()->Height()};
    if (!section.Contains(device) || (s.visible && !s.visible->Contains(device)) ||
        (s.clip && !s.clip->Contains(device)))
        return std::nullopt;
    return device;
}

// A rectangle moved by the context's origin; coordinates wrap as Region::Offset wraps them.
Rect ShiftWrapped(const Rect& r, Point by) {
    auto add = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) +
                                         static_cast<std::uint32_t>(b));
    };
    return {add(r.left, by.x), add(r.top, by.y), add(r.right, by.x), add(r.bottom, by.y)};
}

// n pixel words set to word. The C library's wide-character fill is the same operation where a
// wide character is a 32-bit word, and is tuned for the processor: about twice as fast as a plain
// loop on the large fills of a repaint.
void FillWords(std::uint32_t* p, std::size_t n, std::uint32_t word) {
    if constexpr (sizeof(wchar_t) == sizeof(std::uint32_t))
        std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(word), n);
    else
        std::fill_n(p, n, word);
}

// Fills device rectangles of a section with one colour: whole pixel words for 32 bits, a byte
// pattern for 24, the colour codec for the rest.
void FillDeviceRects(DibSection& section, const std::vector<Rect>& rects, Color color) {
    const PixelRows rows = section.Rows();
    color &= 0xFFFFFF;
    if (rows.bitCount == 32 && rows.masks == kMasks888) {
        const std::uint32_t word = std::uint32_t{GetBValue(color)} |
                                   std::uint32_t{GetGValue(color)} << 8 |
                                   std::uint32_t{GetRValue(color)} << 16;
        for (const Rect& r : rects)
            for (std::int32_t y = r.top; y < r.bottom; ++y)
                FillWords(reinterpret_cast<std::uint32_t*>(rows.Row(y)) + r.left,
                          static_cast<std::size_t>(r.Width()), word);
        return;
    }
    if (rows.bitCount == 24) {
        // Four pixels are twelve bytes: the row is written in runs of that pattern.
        const std::uint8_t b = GetBValue(color), g = GetGValue(color), red = GetRValue(color);
        std::uint8_t pattern[12];
        for (int i = 0; i < 12; i += 3) {
            pattern[i] = b;
            pattern[i + 1] = g;
            pattern[i + 2] = red;
        }
        for (const Rect& r : rects)
            for (std::int32_t y = r.top; y < r.bottom; ++y) {
                std::uint8_t* p = rows.Row(y) + std::ptrdiff_t{r.left} * 3;
                std::int32_t x = r.left;
                for (; x + 4 <= r.right; x += 4, p += 12)
                    std::memcpy(p, pattern, 12);
                for (; x < r.right; ++x, p += 3)
                    std::memcpy(p, pattern, 3);
            }
        return;
    }
    ColorMatcher matcher(rows.colors, rows.colorCount);
    std::vector<Color> line;
    for (const Rect& r : rects) {
        line.assign(static_cast<std::size_t>(r.Width()), color);
        for (std::int32_t y = r.top; y < r.bottom; ++y)
            WriteColors(rows, rows.Row(y), r.left, line.data(), line.size(), matcher);
    }
}

} // namespace

bool FillRgn(DeviceContext& dc, const Region& logical, Color color) {
    DibSection* section = dc.Bitmap();
    if (section == nullptr)
        return false;
    const Point origin = dc.ToDevice(Point{0, 0});
    std::vector<Rect> rects;
    for (const Rect& r : logical.Rects())
        dc.DrawableRects(ShiftWrapped(r, origin), rects);
    FillDeviceRects(*section, rects, color);
    return true;
}

bool FillRect(DeviceContext& dc, const Rect& logical, Color color) {
    DibSection* section = dc.Bitmap();
    if (section == nullptr)
        return false;
    std::vector<Rect> rects;
    if (!logical.IsEmpty())
        dc.DrawableRects(ShiftWrapped(logical, dc.ToDevice(Point{0, 0})), rects);
    FillDeviceRects(*section, rects, color);
    return true;
}

bool FrameRect(DeviceContext& dc, const Rect& logical, Color color) {
    if (logical.IsEmpty())
        return dc.Bitmap() != nullptr;
    Region frame(logical);
    frame.Subtract(logical.Inflate(-1, -1));
    return FillRgn(dc, frame, color);
}

Color GetPixel(const DeviceContext& dc, std::int32_t x, std::int32_t y) {
    const auto device = DrawablePoint(dc, x, y);
    if (!device)
        return kInvalidColor;
    const PixelRows rows = dc.Bitmap()->Rows();
    const std::int64_t col = device->x;
    Color color = 0;
    ReadColors(rows, rows.Row(device->y), &col, 1, &color);
    return color;
}

Color SetPixel(DeviceContext& dc, std::int32_t x, std::int32_t y, Color color) {
    const auto device = DrawablePoint(dc, x, y);
    if (!device)
        return kInvalidColor;
    const PixelRows rows = dc.Bitmap()->Rows();
    ColorMatcher matcher(rows.colors, rows.colorCount);
    const Color rgb = color & 0xFFFFFF;
    WriteColors(rows, rows.Row(device->y), device->x, &rgb, 1, matcher);
    return GetPixel(dc, x, y);
}

} // namespace platform
