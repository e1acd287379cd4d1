#pragma once
// Drawing the skin's image pieces (TsMaskData) into a 24-bit target: textures, nine-part
// frames, glyphs, and the key-coloured corner runs that cut a window's shape.
//
// A piece's pixels come from its own bitmap, or else from its manager's master bitmap; a piece
// with neither draws nothing. Its R may lie partly or wholly outside that bitmap, its counts and
// widths may hold any numbers: whatever lies outside the source is left out, and nothing is
// written outside the target rectangle clipped to the target. A state image (normal, hot,
// pressed, ...) is R's width ÷ ImageCount wide (an ImageCount below 1 counts as 1) and R's height
// ÷ (MaskType + 1) high; the state index is limited to 0 … ImageCount − 1. A masked piece has
// its masks in the lower part of R, one state image height below the images; masked pixels are
// combined as MaskedTile24 (sGraphUtils.h) describes. $FF00FF is the key colour.
//
// Parent backgrounds (TsBackdropInfo) are addressed at the same place: the target pixel (x, y)
// shows the parent's pixel (X + x, Y + y).

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "skin/SkinModel.h"
#include "skin/acFast24.h"

namespace skin {

// Texture modes (the piece's StretchMode); w × h is the size of the piece's first state image.
//   0 tile the whole rectangle        1 stretch over the whole rectangle
//   2 tile a band of height h along the top     3 tile a band of width w along the left
//   4 stretch across the width, h high, at the top   5 stretch down the height, w wide, at the left
//   6 tile a band along the bottom   7 tile a band along the right
//   10 tile whole rows of tiles, the last column cut; the part below the last whole row is left
//      for the caller (reported in rect), so no band stays unpainted
// Any other mode tiles as mode 0. Afterwards rect holds the part still to be filled (the part
// beside a band), or is empty (all zero) when everything was covered. A picture (a JPEG pattern)
// or a texture with its own bitmap is always tiled from the rectangle's top left corner. A piece
// with a mask is a masked texture: its first state image is tiled (mode 10: whole tiles only,
// the bands right of and below them then taken from the parent background when it is ready),
// key-coloured pixels showing the parent; it leaves nothing to fill. Without picture and piece
// nothing is drawn and rect is kept.
void DrawTexturePiece(const TacRows24& target, platform::Rect& rect,
                      const std::shared_ptr<TsSkinPicture>& picture, std::int32_t mode,
                      const TsMaskData* mask, const TsBackdropInfo& parent);

// Nine-part frame of a border piece over rect. Nothing for a rectangle at most 1 pixel wide and
// at most 1 pixel high, or a piece without manager. Corner widths are WL, WT, WR, WB, reduced
// both by half the excess (truncated) when the rectangle is narrower (lower) than their sum and
// kept within 0 and its width (height); a reduced corner shows the outer part of the source
// corner (the left columns of the left corner, the right columns of the right one). Masked
// pieces draw every part masked (copyMode as for glyphs), corners with the parent behind key
// pixels, edges and centre tiled in steps of the middle size. Unmasked pieces copy the corners
// with the parent behind key pixels and stretch (StretchMode not 0) or tile (0) edges and
// centre. The centre is drawn only with fillCentre, and for an unmasked piece only when its
// BorderWidth is 0.
void DrawFramePiece(const TacRows24& target, const platform::Rect& rect, bool fillCentre,
                    std::int32_t copyMode, std::int32_t state, const TsMaskData& mask,
                    const TsBackdropInfo& parent);

// Which parts of a nine-part frame are drawn: kCentre alone lets a control lay its own content
// over the face and put the edges on top afterwards, each pixel of the edges drawn once.
enum class TacFrameParts { kEdges, kEdgesAndCentre, kCentre };
void DrawFramePiece(const TacRows24& target, const platform::Rect& rect, TacFrameParts which,
                    std::int32_t copyMode, std::int32_t state, const TsMaskData& mask,
                    const TsBackdropInfo& parent);

// One state image of a glyph piece with its top left corner at topLeft. Masked pieces combine
// through their mask (copyMode 1 normal, any other a paler look); unmasked pieces are copied
// without their key-coloured pixels (copyMode 1) or faded in at opacity 0.5.
void DrawGlyphPiece(const TacRows24& target, platform::Point topLeft, std::int32_t state,
                    const TsMaskData& mask, std::int32_t copyMode);

// Appends the runs of key-coloured pixels in the corners of the piece's first state image as
// one-pixel-high rectangles in window coordinates: the WT top rows (the WB bottom rows with
// bottom set), left corner columns 0 … WL − 1 then right corner columns w − WR … w − 1, a run
// placed at y = yOffset + row within the band and x = column (left) or column + W − w (right).
// Nothing when the piece has no manager or its image does not reach the last examined row;
// pixels outside the source bitmap end a run.
void CornerKeyRuns(std::vector<platform::Rect>& list, std::int32_t windowWidth,
                   const TsMaskData& piece, bool bottom, std::int32_t yOffset);

// The bitmap a piece's pixels come from (empty when there is none).
TacRows24 PieceSource(const TsMaskData& piece);

} // namespace skin
