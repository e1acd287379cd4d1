#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/Glyphs.h"
#include "toolkit/Exceptions.h"

namespace {

using app::GlyphId;
using app::TGlyphPaletteEntry;
using app::TGlyphSource;
using platform::RGB;

std::string DecodeError(const TGlyphSource& source,
                        const std::vector<TGlyphPaletteEntry>& palette) {
    try {
        app::DecodeGlyph(source, palette);
    } catch (const toolkit::EInvalidGraphic& e) {
        return e.Message();
    }
    return "(decoded)";
}

const std::vector<TGlyphPaletteEntry> kTwoColours = {
    {'.', app::kGlyphTransparent},
    {'a', RGB(0x10, 0x20, 0x30)},
};

} // namespace

// The fault that matters for drawn pictures: a row one character short or a key typed that the
// palette lacks. Every picture must decode to exactly its size, with magenta where, and only
// where, its source says transparent.
TEST(Glyphs, EveryPictureDecodesToItsSizeWithMagentaOnlyWhereTransparent) {
    for (const GlyphId id : app::AllGlyphs()) {
        const TGlyphSource& source = app::GlyphSource(id);
        SCOPED_TRACE(std::string(source.name));
        app::TGlyphImage image;
        try {
            image = app::Glyph(id);
        } catch (const toolkit::EInvalidGraphic& e) {
            ADD_FAILURE() << e.Message();
            continue; // report every broken picture, not only the first
        }
        const int size = static_cast<int>(id) < app::kImageList1Count || id == GlyphId::ProgramIcon
                             ? app::kIconSize
                             : app::kButtonGlyphSize;
        if (image.width != size || image.height != size) {
            ADD_FAILURE() << image.width << " x " << image.height << ", " << size << " expected";
            continue;
        }
        ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(size * size * 3));
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool transparent = source.rows[y][x] == app::kGlyphTransparentKey;
                EXPECT_EQ(image.Pixel(x, y) == app::kGlyphTransparent, transparent)
                    << "at " << x << ", " << y;
                opaque += transparent ? 0 : 1;
            }
        // A picture that is mostly see-through would vanish on its button.
        EXPECT_GT(opaque, size * size / 3);
    }
}

TEST(Glyphs, ImageListIconsFollowTheGeneratorNumbering) {
    std::set<std::vector<std::uint8_t>> distinct;
    for (int index = 0; index < app::kImageList1Count; ++index) {
        const app::TGlyphImage icon = app::ImageList1Icon(index);
        EXPECT_EQ(icon.pixels, app::Glyph(static_cast<GlyphId>(index)).pixels);
        distinct.insert(icon.pixels);
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(app::kImageList1Count));

    for (const int index : {-1, 5}) {
        try {
            app::ImageList1Icon(index);
            ADD_FAILURE() << index;
        } catch (const toolkit::EListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
}

TEST(Glyphs, PixelsAreBlueGreenRedRowsTopDown) {
    const std::string_view rows[] = {"a.", ".a", "aa"};
    const app::TGlyphImage image = app::DecodeGlyph({"order", 2, 3, rows}, kTwoColours);
    ASSERT_EQ(image.pixels.size(), 2u * 3u * 3u);
    // Row 0: the colour, then magenta; row 1: magenta, then the colour.
    const std::vector<std::uint8_t> expected = {0x30, 0x20, 0x10, 0xFF, 0x00, 0xFF,
                                                0xFF, 0x00, 0xFF, 0x30, 0x20, 0x10,
                                                0x30, 0x20, 0x10, 0x30, 0x20, 0x10};
    EXPECT_EQ(image.pixels, expected);
    EXPECT_EQ(image.Pixel(0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(image.Pixel(1, 0), app::kGlyphTransparent);
}

TEST(Glyphs, MalformedSourcesAreRefusedWithWhereTheFaultIs) {
    const std::string_view good[] = {"a.", ".a"};
    const std::string_view shortRow[] = {"a.", "a"};
    const std::string_view longRow[] = {"a..", ".a"};
    const std::string_view strayKey[] = {"a.", ".b"};
    const std::string_view controlKey[] = {"a\t", ".a"};
    struct Case {
        TGlyphSource source;
        std::vector<TGlyphPaletteEntry> palette;
        std::string message;
    };
    const Case cases[] = {
        {{"p", 2, 2, shortRow}, kTwoColours, "Glyph \"p\": row 1 has 1 characters, 2 expected"},
        {{"p", 2, 2, longRow}, kTwoColours, "Glyph \"p\": row 0 has 3 characters, 2 expected"},
        {{"p", 2, 3, good}, kTwoColours, "Glyph \"p\": 2 rows, 3 expected"},
        {{"p", 2, 1, good}, kTwoColours, "Glyph \"p\": 2 rows, 1 expected"},
        {{"p", 0, 2, good}, kTwoColours, "Glyph \"p\": size 0 x 2 is empty"},
        {{"p", 2, 2, strayKey},
         kTwoColours,
         "Glyph \"p\": key 'b' at row 1, column 1 is not in the palette"},
        {{"p", 2, 2, controlKey},
         kTwoColours,
         "Glyph \"p\": key '#9' at row 0, column 1 is not in the palette"},
        {{"p", 2, 2, good},
         {{'.', app::kGlyphTransparent}, {'a', 0}, {'a', 1}},
         "Glyph palette: key 'a' appears twice"},
        // A second magenta would punch holes where the drawing meant colour.
        {{"p", 2, 2, good},
         {{'.', app::kGlyphTransparent}, {'a', app::kGlyphTransparent}},
         "Glyph palette: key 'a' must not be the transparent colour"},
        {{"p", 2, 2, good},
         {{'.', RGB(1, 2, 3)}, {'a', 0}},
         "Glyph palette: key '.' must be the transparent colour"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeError(c.source, c.palette), c.message);
}
