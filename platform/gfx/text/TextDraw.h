#pragma once
// Text on device contexts: metrics, extents, TextOut / ExtTextOut and DrawText with its layout
// flags. Text is UTF-8. Glyphs are antialiased and blended in the context's text colour; in
// opaque background mode the text cell is filled with the background colour first. Positions
// are logical coordinates; TextOut's y is the top of the character cell. Everything is clipped
// to the context's clip (and, for DrawText, to its rectangle unless DT_NOCLIP).
//
// DrawText lays out lines (CR, LF or CR LF break them unless DT_SINGLELINE), breaks long lines
// between words with DT_WORDBREAK (a word longer than the line stays whole unless
// DT_EDITCONTROL), expands tabs to every eight average characters with DT_EXPANDTABS (DT_TABSTOP
// takes the count from bits 8-15), turns "&x" into an underlined x and "&&" into "&" unless
// DT_NOPREFIX, ends a line that does not fit with "..." for the ellipsis flags, centres
// vertically or bottom-aligns single lines, and with DT_RTLREADING shows right-to-left runs
// (Hebrew, Arabic) in visual order with the runs of the line from right to left. It answers the
// height of the text; DT_CALCRECT measures instead of drawing and sets rect's right and bottom.

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/text/Font.h"

namespace platform {

constexpr unsigned DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                   DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
                   DT_TABSTOP = 0x80, DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200,
                   DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000,
                   DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000,
                   DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000,
                   DT_HIDEPREFIX = 0x100000, DT_PREFIXONLY = 0x200000;
constexpr unsigned ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4;

// The font selected into the context, or the interface font when none is.
std::shared_ptr<Font> CurrentFont(const DeviceContext& dc);
std::shared_ptr<Font> SelectFont(DeviceContext& dc, std::shared_ptr<Font> font);

bool GetTextMetrics(const DeviceContext& dc, TEXTMETRIC& tm);
bool GetTextExtentPoint32(const DeviceContext& dc, const std::string& utf8, Size& size);
Size TextExtent(const Font& font, std::u32string_view text);

bool TextOut(DeviceContext& dc, int x, int y, const std::string& utf8);
// rect: filled with the background colour (ETO_OPAQUE) and/or clips the text (ETO_CLIPPED).
bool ExtTextOut(DeviceContext& dc, int x, int y, unsigned options, const Rect* rect,
                const std::string& utf8);

int DrawText(DeviceContext& dc, const std::string& utf8, Rect& rect, unsigned format);

// The layout DrawText draws, for measuring and tests. Positions are in the rectangle's
// coordinate space; y is the top of each line's cell.
struct TextLine {
    std::u32string text; // as shown: prefixes removed, ellipsis added, tabs kept
    int x = 0;
    int y = 0;
    int width = 0;
    int prefix = -1; // index in text of the underlined character, -1 for none
};
struct TextLayout {
    std::vector<TextLine> lines;
    int width = 0;  // the widest line
    int height = 0; // all lines
    int lineHeight = 0;
};
TextLayout LayoutText(const Font& font, const std::string& utf8, const Rect& rect, unsigned format);

} // namespace platform
