#pragma once
// Bitmap arithmetic of skin painting: fills, colour mixes, blends, transparent copies, block
// copies, stretches and tiles between 24-bit bitmaps (see acFast24.h for the pixel layout, the
// coordinate rules and TacRows24, which a toolkit bitmap or a skin bitmap converts to).
//
// Every rectangle is clipped to the bitmaps it touches; right and bottom are exclusive in every
// routine, so nothing is written beyond the rectangle even inside a larger bitmap. Source and
// destination may be the same bitmap; overlapping blocks are then read as they are being written
// (no routine here relies on that). Channel results are limited to 0 … 255.
//
// Rounding: "round" means to the nearest integer with halves to even, as the program's real
// arithmetic rounds.

#include <cstdint>
#include <memory>

#include "platform/gfx/Geometry.h"
#include "skin/acFast24.h"

namespace platform {
class DeviceContext;
class DibSection;
} // namespace platform

namespace toolkit {
class TBitmap;
}

namespace skin {

// A new 24-bit bitmap of that size; a side of 0 or less gives an empty bitmap.
std::unique_ptr<toolkit::TBitmap> NewBitmap24(std::int32_t width, std::int32_t height);

// Solid fill through the context (logical coordinates); the context's state is kept.
void FillRectColor(platform::DeviceContext& dc, const platform::Rect& rect, platform::Color color);
// Solid fill through the rows.
void FillRect24(const TacRows24& bitmap, const platform::Rect& rect, platform::Color color);
// Repeats the pixel at row[0..2] over the count pixels from row on (count ≥ 1).
void RepeatPixel24(std::uint8_t* row, std::int32_t count);

// Each pixel of rect becomes round(P ÷ 100 × pixel + (1 − P ÷ 100) × color) per channel;
// P is limited to 0 … 100.
void MixColorInto(const TacRows24& bitmap, const platform::Rect& rect, std::int32_t percent,
                  platform::Color color);

// TacFastSum24 blend of source's sourceRect onto the destination at dstPoint, k (limited to
// 0 … 255) weighing the destination. Does nothing when either bitmap is less than 2 pixels wide
// or high.
void BlendBitmaps(const TacRows24& dst, const TacRows24& src, std::int32_t k,
                  platform::Point dstPoint, const platform::Rect& sourceRect);
// The whole area of two bitmaps of equal size; nothing when the sizes differ.
void BlendWholeBitmaps(const TacRows24& dst, const TacRows24& src, std::int32_t k);

// Every pixel of source's sourceRect that is not key becomes round(s − q × (s − d)) per channel
// at (x, y) plus its offset in sourceRect; q is limited to 0 … 1. kNoKeyColor: no key.
void FadeCopyKeyed(const TacRows24& dst, std::int32_t x, std::int32_t y, platform::Color key,
                   double q, const platform::Rect& sourceRect, const TacRows24& src);

// Copies source's sourceRect to (x, y). Key-coloured source pixels show the parent background
// at the same place (parent pixel at parent.X + x', parent.Y + y' for destination pixel x', y')
// when useParent is set and the parent is ready, and leave the destination otherwise.
void CopyKeyed(const TacRows24& dst, const TacRows24& src, std::int32_t x, std::int32_t y,
               bool useParent, const TsBackdropInfo& parent, platform::Color key,
               const platform::Rect& sourceRect);

// The parent background's pixels behind area (parent pixel X + x, Y + y for target pixel x, y),
// when the parent is ready; nothing otherwise.
void CopyParentArea(const TacRows24& target, const platform::Rect& area,
                    const TsBackdropInfo& parent);

// Plain block copy of sourceRect to (x, y).
void CopyBlock24(const TacRows24& dst, std::int32_t x, std::int32_t y, const TacRows24& src,
                 const platform::Rect& sourceRect);
// sourceRect (clipped to the source) stretched over dstRect, one source pixel per target pixel
// as the colour-on-colour stretch mode samples.
void StretchBlock24(const TacRows24& dst, const platform::Rect& dstRect, const TacRows24& src,
                    const platform::Rect& sourceRect);
// sourceRect (clipped to the source) tiled over dstRect from its top left corner, the last
// column and row of tiles cut at dstRect's edges.
void TileBlock24(const TacRows24& dst, const platform::Rect& dstRect, const TacRows24& src,
                 const platform::Rect& sourceRect);

// sourceRect tiled over dstRect as TileBlock24 does, each source pixel S combined with the
// destination D through the mask pixel M found maskOffset rows below S (per channel):
// limit((D − S) × M ÷ 256 + S) in copy mode 1, M being replaced by min(M + 100, 255) in any
// other mode (a paler look). Black mask shows the source, white keeps the destination. Key-
// coloured source pixels show the parent background at the same place when keyParent is given
// and ready, and leave the destination otherwise. sourceRect is first clipped so that it and
// its mask lie inside the source.
void MaskedTile24(const TacRows24& dst, const platform::Rect& dstRect, const TacRows24& src,
                  const platform::Rect& sourceRect, std::int32_t maskOffset, std::int32_t copyMode,
                  const TsBackdropInfo* keyParent);

// Every pixel becomes (blue + green + red) ÷ 3 in all three channels.
void MakeGrey(const TacRows24& bitmap);

// Per channel round(x × (a − b) + b), limited to 0 … 255; a's top byte passes through.
platform::Color MixColors(platform::Color a, platform::Color b, double x);

// target (a 32-bit section) gets limit(((A − B) × w + B × 256) ÷ 256) per channel over the part
// that A, B and the target share; its fourth bytes are kept. Nothing when A and B differ in
// size or the target is not 32-bit. The second form takes w per channel from a weight bitmap.
void CrossFadeInto(const TacRows24& a, const TacRows24& b, std::int32_t w,
                   platform::DibSection& target);
void CrossFadeInto(const TacRows24& a, const TacRows24& b, const TacRows24& weights,
                   platform::DibSection& target);

// The disabled look of a control's cache bitmap. flags & 2: grey first. flags & 1: fade 60 %
// toward the parent's area behind the control (parent.X + position.x, parent.Y + position.y)
// when the parent is ready, else mix 50 % of the parent colour, or of controlColor when no
// parent colour is set.
inline constexpr std::int32_t kDisabledFade = 1;
inline constexpr std::int32_t kDisabledGrey = 2;
void PaintDisabledLook(toolkit::TBitmap& bitmap, std::int32_t flags, platform::Color controlColor,
                       platform::Point position, const TsBackdropInfo& parent);

} // namespace skin
