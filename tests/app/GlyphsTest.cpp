#include <gtest/gtest.h>

#include "app/Glyphs.h"

TEST(Glyphs, EveryPictureDecodes) {
    for (const app::GlyphId id : app::AllGlyphs())
        EXPECT_NO_THROW(app::Glyph(id)) << app::GlyphSource(id).name;
}
