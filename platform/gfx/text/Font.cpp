#include "platform/gfx/text/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>

namespace platform {

namespace {

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0)
            l = nullptr;
        return l;
    }();
    return library;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The faces the program's windows were designed with, and the Debian faces that share their
// metrics.
std::string MapClassicName(const std::string& face) {
    static const std::map<std::string, std::string> kMap{
        {"ms sans serif", "Liberation Sans"}, {"microsoft sans serif", "Liberation Sans"},
        {"ms shell dlg", "Liberation Sans"},  {"ms shell dlg 2", "Liberation Sans"},
        {"arial", "Liberation Sans"},         {"tahoma", "Liberation Sans"},
        {"verdana", "Liberation Sans"},       {"segoe ui", "Liberation Sans"},
        {"helvetica", "Liberation Sans"},     {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},       {"fixedsys", "Liberation Mono"},
        {"terminal", "Liberation Mono"},      {"lucida console", "Liberation Mono"},
        {"consolas", "Liberation Mono"},      {"times new roman", "Liberation Serif"},
        {"times", "Liberation Serif"},        {"ms serif", "Liberation Serif"},
    };
    auto it = kMap.find(Lower(face));
    if (it != kMap.end())
        return it->second;
    return face.empty() ? "Liberation Sans" : face;
}

struct Match {
    std::string file;
    int index = 0;
    std::string family;
    bool bold = false;
    bool italic = false;
};

Match FindFaceUncached(const std::string& family, int weight, bool italic) {
    Match m;
    static const bool ready = [] {
        if (!FcInit())
            return false;
        // Fontconfig's tables live until the process ends; hand them back then.
        std::atexit([] { FcFini(); });
        return true;
    }();
    if (!ready)
        return m;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, pattern, &result);
    if (found) {
        FcChar8* file = nullptr;
        FcChar8* name = nullptr;
        int index = 0, w = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file)
            m.file = reinterpret_cast<const char*>(file);
        if (FcPatternGetString(found, FC_FAMILY, 0, &name) == FcResultMatch && name)
            m.family = reinterpret_cast<const char*>(name);
        FcPatternGetInteger(found, FC_INDEX, 0, &index);
        FcPatternGetInteger(found, FC_WEIGHT, 0, &w);
        FcPatternGetInteger(found, FC_SLANT, 0, &slant);
        m.index = index;
        m.bold = w >= FC_WEIGHT_DEMIBOLD;
        m.italic = slant != FC_SLANT_ROMAN;
        FcPatternDestroy(found);
    }
    FcPatternDestroy(pattern);
    return m;
}

// Fontconfig's matching costs far more than the rest of making a font, and windows ask for the
// same few faces over and over (every menu item measured makes a canvas and its font), so the
// answers are kept. The installed fonts do not change under a running program.
using MatchKey = std::tuple<std::string, bool, bool>;
std::mutex g_matchesLock;
std::map<MatchKey, Match> g_matches;

Match FindFace(const std::string& family, int weight, bool italic) {
    const std::lock_guard<std::mutex> guard(g_matchesLock);
    const MatchKey key{family, weight >= 600, italic};
    if (const auto it = g_matches.find(key); it != g_matches.end())
        return it->second;
    Match m = FindFaceUncached(family, weight, italic);
    g_matches.emplace(key, m);
    return m;
}

// Fonts are immutable, so one made for a description serves every later request for it, with
// the glyphs it has rendered: a canvas made for each menu item or control paint, and every
// control dropping its fonts on a skin change, would otherwise open the face and hint its glyphs
// again each time. Kept per thread, as a font's glyph cache is not shared between threads; a
// program uses a handful of fonts, and the bound only guards against one that asks for endless
// sizes.
using FontKey = std::tuple<int, int, int, bool, bool, bool, std::string>;
constexpr std::size_t kMaxKeptFonts = 64;
std::map<FontKey, std::shared_ptr<Font>>& KeptFonts() {
    thread_local std::map<FontKey, std::shared_ptr<Font>> fonts;
    return fonts;
}

} // namespace

struct Font::Impl {
    FT_Face face = nullptr;
    FT_Face fallback = nullptr; // for code points the face lacks
    bool emboldenFace = false, slantFace = false;
    int pixelSize = 0;

    ~Impl() {
        if (fallback)
            FT_Done_Face(fallback);
        if (face)
            FT_Done_Face(face);
    }
};

Font::~Font() = default;

std::string ResolveFontFamily(const std::string& faceName) {
    return FindFace(MapClassicName(faceName), FW_NORMAL, false).family;
}

void ForgetKeptFonts() {
    KeptFonts().clear();
    const std::lock_guard<std::mutex> guard(g_matchesLock);
    g_matches.clear();
}

std::shared_ptr<Font> CreateFontIndirect(const LOGFONT& lf) {
    auto& fonts = KeptFonts();
    const FontKey key{lf.lfHeight,    lf.lfWidth,     lf.lfWeight,  lf.lfItalic,
                      lf.lfUnderline, lf.lfStrikeOut, lf.lfFaceName};
    if (const auto it = fonts.find(key); it != fonts.end())
        return it->second;
    const auto make = [&lf]() -> std::shared_ptr<Font> {
        FT_Library library = Library();
        if (!library)
            return nullptr;
        const std::string family = MapClassicName(lf.lfFaceName);
        Match m = FindFace(family, lf.lfWeight, lf.lfItalic);
        if (m.file.empty())
            m = FindFace("DejaVu Sans", lf.lfWeight, lf.lfItalic);
        if (m.file.empty())
            return nullptr;

        std::shared_ptr<Font> font(new Font());
        font->m_logical = lf;
        font->m_file = m.file;
        font->m_family = m.family;
        font->m_impl = std::make_unique<Font::Impl>();
        Font::Impl& impl = *font->m_impl;
        if (FT_New_Face(library, m.file.c_str(), m.index, &impl.face) != 0) {
            impl.face = nullptr;
            return nullptr;
        }
        FT_Face face = impl.face;
        if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)
            return nullptr;
        impl.emboldenFace = lf.lfWeight >= 600 && !m.bold;
        impl.slantFace = lf.lfItalic && !m.italic;

        // Cell metrics the way the classic desktop reads them: the OS/2 "Windows" ascent and
        // descent when the face has them, else the horizontal header's.
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        const double upem = face->units_per_EM;
        double ascentUnits = face->ascender, descentUnits = -face->descender;
        if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            ascentUnits = os2->usWinAscent;
            descentUnits = os2->usWinDescent;
        }
        const int requested = lf.lfHeight == 0 ? -11 : lf.lfHeight;
        // In floating point: the height may be INT_MIN, whose negation does not fit.
        const double height = requested;
        double ppem = height < 0 ? -height : height * upem / (ascentUnits + descentUnits);
        ppem = std::clamp(ppem, 1.0, 2000.0);
        impl.pixelSize = std::max(1, static_cast<int>(std::lround(ppem)));
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(impl.pixelSize)) != 0)
            return nullptr;

        TEXTMETRIC& tm = font->m_metrics;
        tm.tmAscent = static_cast<int>(std::ceil(ascentUnits * impl.pixelSize / upem - 0.001));
        tm.tmDescent = static_cast<int>(std::ceil(descentUnits * impl.pixelSize / upem - 0.001));
        tm.tmHeight = tm.tmAscent + tm.tmDescent;
        tm.tmInternalLeading = std::max(0, tm.tmHeight - impl.pixelSize);
        tm.tmExternalLeading = 0;
        if (os2 && os2->version != 0xFFFF) {
            const double lineGap =
                std::max(0.0, static_cast<double>(os2->sTypoAscender - os2->sTypoDescender +
                                                  os2->sTypoLineGap) -
                                  (ascentUnits + descentUnits));
            tm.tmExternalLeading = static_cast<int>(std::lround(lineGap * impl.pixelSize / upem));
        }
        tm.tmAveCharWidth =
            os2 && os2->xAvgCharWidth > 0
                ? static_cast<int>(std::lround(os2->xAvgCharWidth * impl.pixelSize / upem))
                : 0;
        tm.tmMaxCharWidth =
            static_cast<int>(std::ceil(face->max_advance_width * impl.pixelSize / upem));
        tm.tmWeight = lf.lfWeight;
        tm.tmItalic = lf.lfItalic;
        tm.tmUnderlined = lf.lfUnderline;
        tm.tmStruckOut = lf.lfStrikeOut;
        tm.tmFixedPitch = FT_IS_FIXED_WIDTH(face) != 0;
        font->m_underlinePos = std::max(
            1, static_cast<int>(std::lround(-face->underline_position * impl.pixelSize / upem)));
        font->m_underlineThickness = std::max(
            1, static_cast<int>(std::lround(face->underline_thickness * impl.pixelSize / upem)));
        if (tm.tmAveCharWidth == 0)
            tm.tmAveCharWidth = std::max(1, font->Advance('x'));

        const Match fb = FindFace("DejaVu Sans", lf.lfWeight, lf.lfItalic);
        if (!fb.file.empty() && fb.file != m.file &&
            FT_New_Face(library, fb.file.c_str(), fb.index, &impl.fallback) == 0)
            FT_Set_Pixel_Sizes(impl.fallback, 0, static_cast<FT_UInt>(impl.pixelSize));
        return font;
    };
    std::shared_ptr<Font> font = make();
    if (!font)
        return nullptr;
    if (fonts.size() >= kMaxKeptFonts)
        fonts.clear();
    fonts.emplace(key, font);
    return font;
}

const Glyph& Font::GlyphOf(std::uint32_t codePoint) const {
    if (codePoint < kTableGlyphs) {
        if (m_table.empty())
            m_table.resize(kTableGlyphs);
        auto& slot = m_table[codePoint];
        if (!slot)
            slot = std::make_unique<const Glyph>(Render(codePoint));
        return *slot;
    }
    auto it = m_cache.find(codePoint);
    if (it != m_cache.end())
        return it->second;
    // A text of many different characters must not grow the cache without bound; callers use a
    // glyph before asking for the next one, so starting over is safe.
    if (m_cache.size() >= 4096)
        m_cache.clear();
    return m_cache.emplace(codePoint, Render(codePoint)).first->second;
}

Glyph Font::Render(std::uint32_t codePoint) const {
    Glyph g;
    FT_Face face = m_impl->face;
    FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0 && m_impl->fallback) {
        const FT_UInt other = FT_Get_Char_Index(m_impl->fallback, codePoint);
        if (other != 0) {
            face = m_impl->fallback;
            index = other;
        }
    }
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) == 0) {
        FT_GlyphSlot slot = face->glyph;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (m_impl->emboldenFace) {
                FT_Outline_Embolden(&slot->outline, std::max<FT_Pos>(64, m_impl->pixelSize * 2));
                g.advance += 1;
            }
            if (m_impl->slantFace) {
                // About 12 degrees, as synthesized italics lean.
                FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
                FT_Outline_Transform(&slot->outline, &shear);
            }
        }
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
            slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const FT_Bitmap& bm = slot->bitmap;
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = static_cast<int>(bm.width);
            g.height = static_cast<int>(bm.rows);
            g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
            for (int y = 0; y < g.height; ++y) {
                const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
                std::copy_n(row, g.width,
                            g.coverage.begin() + static_cast<std::ptrdiff_t>(y) * g.width);
            }
        }
    }
    return g;
}

std::shared_ptr<Font> DefaultGuiFont() {
    static std::shared_ptr<Font> font = [] {
        LOGFONT lf;
        lf.lfHeight = -11;
        lf.lfFaceName = "MS Sans Serif";
        return CreateFontIndirect(lf);
    }();
    return font;
}

} // namespace platform
