#pragma once
// Fonts by face name, height, weight and style, rendered with FreeType and found with
// fontconfig. The classic interface faces map to metric-compatible ones: "MS Sans Serif",
// "Microsoft Sans Serif", "Arial", "Tahoma" and the dialog faces to Liberation Sans, "Courier
// New" and other fixed faces to Liberation Mono, "Times New Roman" to Liberation Serif. A face
// that cannot be found falls back to fontconfig's best match and then to DejaVu Sans; a glyph
// the face lacks comes from DejaVu Sans at the same size.
//
// Height (LOGFONT.lfHeight, pixels at 96 dpi): negative is the character height (the em size),
// positive the cell height (ascent + descent), 0 the interface default of eight points
// (-11 px). Weight 600 and above is bold; a face without a
// bold or italic file is made bold or slanted by the renderer.
//
// Fonts are immutable and shared (std::shared_ptr); each keeps a cache of rendered glyphs.
// Font files that cannot be read fail CreateFontIndirect with nullptr, never a crash.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/GdiObject.h"

namespace platform {

constexpr int FW_NORMAL = 400, FW_BOLD = 700;

struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0; // not used: glyphs keep their own proportions
    int lfWeight = FW_NORMAL;
    bool lfItalic = false;
    bool lfUnderline = false;
    bool lfStrikeOut = false;
    std::string lfFaceName = "MS Sans Serif";
};

struct TEXTMETRIC {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 0;
    bool tmItalic = false;
    bool tmUnderlined = false;
    bool tmStruckOut = false;
    bool tmFixedPitch = false; // true when the characters have one width (unlike the platform's
                               // inverted bit, this one says what it means)
};

// A rendered glyph: 8-bit coverage rows, placed relative to the pen on the baseline.
struct Glyph {
    int left = 0; // from the pen position to the bitmap's left edge
    int top = 0;  // from the baseline up to the bitmap's top row
    int width = 0;
    int height = 0;
    int advance = 0;                    // whole pixels
    std::vector<std::uint8_t> coverage; // width × height
};

class Font : public GdiObject {
public:
    ~Font() override;

    const LOGFONT& Logical() const { return m_logical; }
    const TEXTMETRIC& Metrics() const { return m_metrics; }
    // The file the face came from (tests and diagnostics).
    const std::string& FaceFile() const { return m_file; }
    const std::string& FamilyName() const { return m_family; }
    int UnderlinePosition() const { return m_underlinePos; } // pixels below the baseline
    int UnderlineThickness() const { return m_underlineThickness; }

    // The glyph of a code point, rendered on first use and cached.
    const Glyph& GlyphOf(std::uint32_t codePoint) const;
    int Advance(std::uint32_t codePoint) const { return GlyphOf(codePoint).advance; }

    struct Impl;

private:
    friend std::shared_ptr<Font> CreateFontIndirect(const LOGFONT& lf);
    Font() = default;

    LOGFONT m_logical;
    TEXTMETRIC m_metrics;
    std::string m_file;
    std::string m_family;
    int m_underlinePos = 1;
    int m_underlineThickness = 1;
    Glyph Render(std::uint32_t codePoint) const;

    std::unique_ptr<Impl> m_impl;
    // Latin and Cyrillic, which nearly all of the program's text is, sit in a table indexed by
    // code point and are never dropped; other code points go to a bounded map.
    static constexpr std::uint32_t kTableGlyphs = 0x500;
    mutable std::vector<std::unique_ptr<const Glyph>> m_table;
    mutable std::unordered_map<std::uint32_t, Glyph> m_cache;
};

// The same request gives the same font (see Font.cpp).
std::shared_ptr<Font> CreateFontIndirect(const LOGFONT& lf);
// Forgets the fonts and face matches kept for reuse on this thread, so that the next requests
// start afresh as at start-up (start-up measurements).
void ForgetKeptFonts();
// The interface font: "MS Sans Serif", eight points (-11 px).
std::shared_ptr<Font> DefaultGuiFont();

// The face a name resolves to (after the classic-name mapping), as fontconfig finds it.
std::string ResolveFontFamily(const std::string& faceName);

} // namespace platform
