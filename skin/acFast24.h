#pragma once
// The ground under every skin painting routine: row views of 24-bit bitmaps, the fast reader
// and the fast blend, the parent background record and the process-wide parent colour.
//
// Pixels are three bytes, blue, green, red; colours handed in and out are in the system layout
// (red in the low byte). Coordinates are pixels of the bitmap, row 0 at the top; rectangles
// exclude right and bottom. Rectangles may hold any 32-bit numbers: every routine clips them to
// the bitmaps it touches (in 64-bit arithmetic) and writes nothing outside.
//
// Only 24-bit toolkit bitmaps are painted; a bitmap of another pixel format, or an empty one,
// gives an empty view, and routines handed an empty view do nothing.
//
// All of this runs on the user-interface thread; the shared instances and the parent colour are
// not re-entrant.

#include <cstddef>
#include <cstdint>

#include "platform/gfx/Geometry.h"

namespace toolkit {
class TBitmap;
}

namespace skin {

class TsSkinBitmap;

// The transparent key colour of every skin image; as a colour value it also means "none".
inline constexpr platform::Color kKeyColor = 0xFF00FF;
// A key that no 24-bit pixel matches: "no pixel counts as key colour".
inline constexpr platform::Color kNoKeyColor = 0xFFFFFFFF;

// The parent's background handed to painting: the parent's cache bitmap, where the child's
// origin lies in it, and whether it holds a finished picture. Not owning.
struct TsBackdropInfo {
    toolkit::TBitmap* Bmp = nullptr;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool Ready = false;
};

// A caller that knows its parent's background is a flat colour says so here for the length of
// one paint; kKeyColor means none. PaintSection puts it back to none when it finishes.
platform::Color ParentColor();
void SetParentColor(platform::Color color);
void ResetParentColor();

// A view over the rows of a 24-bit bitmap. Views of a TsSkinBitmap are used for reading only.
struct TacRows24 {
    std::uint8_t* row0 = nullptr;
    std::ptrdiff_t stride = 0; // signed: bytes from one row to the row below it
    std::int32_t width = 0;
    std::int32_t height = 0;

    TacRows24() = default;
    TacRows24(toolkit::TBitmap& bitmap);   // NOLINT: implicit by design
    TacRows24(const TsSkinBitmap& bitmap); // NOLINT
    static TacRows24 Of(toolkit::TBitmap* bitmap);
    static TacRows24 Of(const TsSkinBitmap* bitmap);

    bool Empty() const { return row0 == nullptr || width <= 0 || height <= 0; }
    bool SameAs(const TacRows24& o) const { return row0 == o.row0; }
    // (x, y) must lie inside the view.
    std::uint8_t* At(std::int32_t x, std::int32_t y) const {
        return row0 + stride * y + std::ptrdiff_t{3} * x;
    }
    platform::Color PixelAt(std::int32_t x, std::int32_t y) const {
        const std::uint8_t* p = At(x, y);
        return platform::RGB(p[2], p[1], p[0]);
    }
    platform::Rect Bounds() const { return {0, 0, width, height}; }
};

// r clipped to 0 … width × 0 … height; empty (all zero) when nothing remains.
platform::Rect ClipToSize(const platform::Rect& r, std::int32_t width, std::int32_t height);

// A rectangle from edges computed in 64 bits, each limited to the 32-bit range.
platform::Rect RectOf64(std::int64_t left, std::int64_t top, std::int64_t right,
                        std::int64_t bottom);

// The part of rows inside area (clipped to the bitmap), addressed from that part's own top left
// corner, which is returned in origin: drawing into the view cannot touch anything outside area.
TacRows24 SubRows(const TacRows24& rows, const platform::Rect& area, platform::Point& origin);

// A block transfer after clipping: the destination block at (x, y) of size w × h, the source
// block at (sx, sy). Clip shrinks all of it to what lies inside both bitmaps and answers false
// when nothing does.
struct TacBlit {
    std::int64_t x = 0, y = 0, sx = 0, sy = 0, w = 0, h = 0;
    bool Clip(std::int32_t dstWidth, std::int32_t dstHeight, std::int32_t srcWidth,
              std::int32_t srcHeight);
};

// Fast reader of one 24-bit bitmap. Attaching fails, leaving Width() 0, for a bitmap less than
// 2 pixels wide or high. Reading outside the bitmap answers kNoKeyColor; writing there does
// nothing.
class TacFast24 {
public:
    bool Attach(const TacRows24& rows);
    std::int32_t Width() const { return m_rows.width; }
    std::int32_t Height() const { return m_rows.height; }
    platform::Color Pixel(std::int32_t x, std::int32_t y) const;
    void SetPixel(std::int32_t x, std::int32_t y, platform::Color color);
    const TacRows24& Rows() const { return m_rows; }

private:
    TacRows24 m_rows;
};

// Fast blend of a source into a destination: every byte of DstRect becomes
// (destination × Alpha + source × (255 − Alpha) + 127) ÷ 256, the source read from SrcOrigin on.
// Attaching fails when either bitmap is less than 2 pixels wide or high. Blend clips DstRect to
// the destination and the source block to the source first.
class TacFastSum24 {
public:
    bool Attach(const TacRows24& dst, const TacRows24& src);
    void Blend() const;

    std::int32_t Alpha = 0; // 0 … 255, the weight of the destination
    platform::Rect DstRect;
    platform::Point SrcOrigin;
    std::int32_t Width() const { return m_width; } // the smaller of the two
    std::int32_t Height() const { return m_height; }

private:
    TacRows24 m_dst;
    TacRows24 m_src;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
};

// The shared instances. The routines of this library use their own instances and leave these
// to callers that keep a reader attached across calls.
TacFast24& acFast24Src();
TacFast24& acFast24Dst();
TacFastSum24& acFastSum24();

} // namespace skin
