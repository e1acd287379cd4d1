#include "app/Glyphs.h"

#include <array>
#include <string>

#include "toolkit/Exceptions.h"

namespace app {

namespace {

using platform::RGB;

// clang-format off
// One cool palette for every picture, so the icons and glyphs read as one set on the light
// winter skin: dark navy outlines, three blues, white and greys, and a few warm accents kept
// for things that are warm in life (folder, pencil, sun).
constexpr TGlyphPaletteEntry kPalette[] = {
    {'.', kGlyphTransparent},       // transparent
    {'K', RGB(0x1C, 0x2F, 0x4A)},   // outline, navy
    {'D', RGB(0x1F, 0x5A, 0xA8)},   // deep blue
    {'B', RGB(0x3E, 0x86, 0xD6)},   // blue
    {'L', RGB(0x8C, 0xBD, 0xEE)},   // light blue
    {'P', RGB(0xD2, 0xE6, 0xF9)},   // pale blue
    {'W', RGB(0xFF, 0xFF, 0xFF)},   // white
    {'G', RGB(0x7D, 0x8F, 0xA6)},   // slate grey
    {'H', RGB(0xC3, 0xCF, 0xDD)},   // light grey
    {'Y', RGB(0xF3, 0xC2, 0x4A)},   // gold
    {'O', RGB(0xC9, 0x8A, 0x1A)},   // amber
    {'y', RGB(0xFB, 0xE4, 0xA2)},   // light gold
    {'T', RGB(0xEF, 0xCB, 0x9E)},   // bare wood
    {'R', RGB(0xE0, 0x68, 0x68)},   // eraser rose
    {'V', RGB(0x5D, 0xAA, 0x6C)},   // green
    {'v', RGB(0x2F, 0x7A, 0x48)},   // dark green
};

// 0: manual bounds, a pencil writing into the bound column of a small table.
constexpr std::string_view kManualRows[] = {
    "...............K",
    "..............KR",
    ".............KRR",
    "KKKKKKKKKKK.KHHK",
    "KLLLKLLLLLKKYOK.",
    "KLLLKLLLLLKYOK..",
    "KKKKKKKKKKYOK...",
    "KWKWHBBWKYOK....",
    "KWKWHBBKYOK.....",
    "KHHHHHKTTKK.....",
    "KWKWHKTKWWK.....",
    "KWKWKKWWWWK.....",
    "KHHHHHHHHHK.....",
    "KWKWHBBBWWK.....",
    "KWKWHBBBWWK.....",
    "KKKKKKKKKKK.....",
};

// 1: exponential bounds, the area under a doubling curve.
constexpr std::string_view kExponentialRows[] = {
    "...............K",
    "...............K",
    "..............KK",
    "..............KK",
    ".............KLK",
    ".............KBK",
    "............KLBK",
    "............KBBK",
    "...........KLBBK",
    "..........KLBBBK",
    ".........KLBBBBK",
    ".......KKLBBBBBK",
    "....KKKLLBBBBBBK",
    "KKKKLLLBBBBBBBBK",
    "KLLLBBBBBBBBBBBK",
    "KKKKKKKKKKKKKKKK",
};

// 2: Fibonacci bounds, the golden rectangle of squares 5, 3, 2, 1, 1 and its spiral.
constexpr std::string_view kFibonacciRows[] = {
    "................",
    "................",
    "................",
    "KKKKKKKKKKKKKKKK",
    "KBBBBWWWWWWWWDDK",
    "KBBWWWWWWWWWWWDK",
    "KBWWWBBBBKDDWWWK",
    "KBWWBBBBBKDDDWWK",
    "KWWBBBBBBKDDDWWK",
    "KWWBBBBBBKKKKWWK",
    "KWWBBBBBBKDWKWWK",
    "KWWBBBBBBKBWWWBK",
    "KKKKKKKKKKKKKKKK",
    "................",
    "................",
    "................",
};

// 3: uniform bounds, evenly rising steps.
constexpr std::string_view kUniformRows[] = {
    "............KKKK",
    "............KLLK",
    "............KBBK",
    "............KBBK",
    "........KKKKKBBK",
    "........KLLLBBBK",
    "........KBBBBBBK",
    "........KBBBBBBK",
    "....KKKKKBBBBBBK",
    "....KLLLBBBBBBBK",
    "....KBBBBBBBBBBK",
    "....KBBBBBBBBBBK",
    "KKKKKBBBBBBBBBBK",
    "KLLLBBBBBBBBBBBK",
    "KBBBBBBBBBBBBBBK",
    "KKKKKKKKKKKKKKKK",
};

// 4: the author's web page, a globe.
constexpr std::string_view kWebPageRows[] = {
    ".....KKKKK......",
    "...KKLLPLLKK....",
    "..KLLPBPBPBBK...",
    ".KLLPBBPBBPBBK..",
    ".KLPBBBPBBBPBK..",
    "KLBPBBBPBBBPBDK.",
    "KBBPBBBPBBBPBDK.",
    "KPPPPPPPPPPPPPK.",
    "KBBPBBBPBBBPBDK.",
    "KBBPBBBPBBBPDDK.",
    ".KBPBBBPBBBPDK..",
    ".KBBPBBPBBPBDK..",
    "..KBBPBPBPDDK...",
    "...KKDDPDDKK....",
    ".....KKKKK......",
    "................",
};

// "Файл картинка": an open folder holding a landscape picture.
constexpr std::string_view kOpenPictureRows[] = {
    "....................",
    "......KKKKKKKKKKK...",
    "......KWWWWWWWWWK...",
    "......KWLLLLLYYWK...",
    ".KKKK.KWLLLLLYYWK...",
    "KyyyyKKWLLLWLLLWK...",
    "KYYYYYKWLLWWHLLWKKK.",
    "KYYYYYKWLWWWWHLWKYK.",
    "KYYYYYKWVVVVVVVWKYK.",
    "KYYYYYKWVVVVVVVWKYK.",
    "KYYKKKKKKKKKKKKKKKKK",
    "KYKyyyyyyyyyyyyyyyYK",
    "KYKYYYYYYYYYYYYYYYOK",
    "KKYYYYYYYYYYYYYYYYOK",
    "KKYYYYYYYYYYYYYYYYOK",
    "KKYYYYYYYYYYYYYYYOK.",
    "KYYYYYYYYYYYYYYYYOK.",
    "KYYYYYYYYYYYYYYYYOK.",
    "KKKKKKKKKKKKKKKKKKK.",
    "....................",
};

// "Преобразовать": a picture turning into lines of characters.
constexpr std::string_view kConvertRows[] = {
    "KKKKKKKKKKKK........",
    "KWWWWWWWWWWK........",
    "KWLLLLLLYYWK........",
    "KWLLLLLLYYWK........",
    "KWLLLWLLLLWK........",
    "KWLLWWHLLLWK........",
    "KWLWWWWHLKKKKKKKK...",
    "KWVVVVVVVKWWWWWWKK..",
    "KWWWWWWWWKWWWWWWKHK.",
    "KKKKKKKKKKWWWWWWKKKK",
    "...DD....KWWWWWWWWWK",
    "...DD....KWGGGWGGGWK",
    "...DD.D..KWWWWWWWWWK",
    "...DD.DD.KWGGWGGGGWK",
    "...DDDDDDKWWWWWWWWWK",
    "....DDDDDKWGGGGWGGWK",
    "......DD.KWWWWWWWWWK",
    "......D..KWGGWGGWWWK",
    ".........KWWWWWWWWWK",
    ".........KKKKKKKKKKK",
};

// "Сохранить": a disk whose label carries lines of text.
constexpr std::string_view kSaveRows[] = {
    "....................",
    ".KKKKKKKKKKKKKKKK...",
    ".KBBBKHHHHHHHHKBBK..",
    ".KBLBKHWHHHGGHKBBBK.",
    ".KBLBKHWHHHGGHKBBBK.",
    ".KBLBKHWHHHGGHKBBBK.",
    ".KBLBKHHHHHHHHKBBBK.",
    ".KBLBKKKKKKKKKKBBBK.",
    ".KBLBBBBBBBBBBBBBBK.",
    ".KBBBBBBBBBBBBBBBBK.",
    ".KBKKKKKKKKKKKKKKBK.",
    ".KBKWWWWWWWWWWWWKBK.",
    ".KBKWGGGGGGGGGGWKBK.",
    ".KBKWWWWWWWWWWWWKBK.",
    ".KBKWGGGGGGGGGGWKBK.",
    ".KBKWWWWWWWWWWWWKBK.",
    ".KBKWGGGGGGGWWWWKBK.",
    ".KBKWWWWWWWWWWWWKBK.",
    ".KKKKKKKKKKKKKKKKKK.",
    "....................",
};

// The program: a picture (sky, sun, hills) giving way along the diagonal to lines of characters.
constexpr std::string_view kProgramIconRows[] = {
    "KKKKKKKKKKKKKKKK",
    "KLLLLLLLLLLLLLWK",
    "KLYYLLLLLLLLLWWK",
    "KLYYLLLLLLLLWWWK",
    "KLLLLLLLLLLWGKWK",
    "KLLLLLBLLLWWWWWK",
    "KLLLLBBDLWGGWGWK",
    "KLLLBBBDWWWWWWWK",
    "KLLBBBBWGGWGKWWK",
    "KLBBBBWWWWWWWWWK",
    "KVVVVWGGKGGWGGWK",
    "KVVVWWWWWWWWWWWK",
    "KVVWKGWGGWGKWGWK",
    "KVWWWWWWWWWWWWWK",
    "KWGGWGGKGGWGGWWK",
    "KKKKKKKKKKKKKKKK",
};

// clang-format on

constexpr TGlyphSource kSources[] = {
    {"manual generator", kIconSize, kIconSize, kManualRows},
    {"exponential generator", kIconSize, kIconSize, kExponentialRows},
    {"Fibonacci generator", kIconSize, kIconSize, kFibonacciRows},
    {"uniform generator", kIconSize, kIconSize, kUniformRows},
    {"web page", kIconSize, kIconSize, kWebPageRows},
    {"open picture", kButtonGlyphSize, kButtonGlyphSize, kOpenPictureRows},
    {"convert", kButtonGlyphSize, kButtonGlyphSize, kConvertRows},
    {"save", kButtonGlyphSize, kButtonGlyphSize, kSaveRows},
    {"program icon", kIconSize, kIconSize, kProgramIconRows},
};

constexpr GlyphId kAllGlyphs[] = {
    GlyphId::ManualGenerator,
    GlyphId::ExponentialGenerator,
    GlyphId::FibonacciGenerator,
    GlyphId::UniformGenerator,
    GlyphId::WebPage,
    GlyphId::OpenPicture,
    GlyphId::Convert,
    GlyphId::Save,
    GlyphId::ProgramIcon,
};
static_assert(std::size(kAllGlyphs) == std::size(kSources));

[[noreturn]] void Fail(std::string_view pattern, const std::vector<toolkit::FormatArg>& args) {
    throw toolkit::EInvalidGraphic(toolkit::Format(pattern, args));
}

std::string KeyText(char key) {
    const auto byte = static_cast<unsigned char>(key);
    if (byte >= 0x20 && byte < 0x7F)
        return std::string(1, key);
    return toolkit::Format("#%d", {std::int64_t{byte}});
}

// Colour of every byte value, and whether the palette defines it.
struct TKeyTable {
    std::array<platform::Color, 256> color{};
    std::array<bool, 256> known{};
};

TKeyTable BuildKeyTable(std::span<const TGlyphPaletteEntry> palette) {
    TKeyTable table;
    for (const TGlyphPaletteEntry& entry : palette) {
        const auto index = static_cast<unsigned char>(entry.key);
        const std::string key = KeyText(entry.key);
        if (table.known[index])
            Fail("Glyph palette: key '%s' appears twice", {key});
        const bool transparentKey = entry.key == kGlyphTransparentKey;
        if (transparentKey != (entry.color == kGlyphTransparent))
            Fail("Glyph palette: key '%s' must %s the transparent colour",
                 {key, std::string_view(transparentKey ? "be" : "not be")});
        table.known[index] = true;
        table.color[index] = entry.color;
    }
    return table;
}

} // namespace

platform::Color TGlyphImage::Pixel(std::int32_t x, std::int32_t y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return platform::RGB(pixels[at + 2], pixels[at + 1], pixels[at]);
}

std::span<const GlyphId> AllGlyphs() {
    return kAllGlyphs;
}

std::span<const TGlyphPaletteEntry> GlyphPalette() {
    return kPalette;
}

const TGlyphSource& GlyphSource(GlyphId id) {
    const auto index = static_cast<std::size_t>(id);
    if (index >= std::size(kSources))
        throw toolkit::EListError::IndexOutOfBounds(static_cast<std::int64_t>(id));
    return kSources[index];
}

TGlyphImage DecodeGlyph(const TGlyphSource& source, std::span<const TGlyphPaletteEntry> palette) {
    const TKeyTable keys = BuildKeyTable(palette);
    if (source.width <= 0 || source.height <= 0)
        Fail("Glyph \"%s\": size %d x %d is empty",
             {source.name, std::int64_t{source.width}, std::int64_t{source.height}});
    if (source.rows.size() != static_cast<std::size_t>(source.height))
        Fail("Glyph \"%s\": %d rows, %d expected",
             {source.name, static_cast<std::int64_t>(source.rows.size()),
              std::int64_t{source.height}});
    for (std::size_t y = 0; y < source.rows.size(); ++y) {
        const std::string_view row = source.rows[y];
        if (row.size() != static_cast<std::size_t>(source.width))
            Fail("Glyph \"%s\": row %d has %d characters, %d expected",
                 {source.name, static_cast<std::int64_t>(y), static_cast<std::int64_t>(row.size()),
                  std::int64_t{source.width}});
        for (std::size_t x = 0; x < row.size(); ++x)
            if (!keys.known[static_cast<unsigned char>(row[x])])
                Fail("Glyph \"%s\": key '%s' at row %d, column %d is not in the palette",
                     {source.name, KeyText(row[x]), static_cast<std::int64_t>(y),
                      static_cast<std::int64_t>(x)});
    }

    TGlyphImage image;
    image.width = source.width;
    image.height = source.height;
    image.pixels.reserve(static_cast<std::size_t>(source.width) * source.height * 3);
    for (const std::string_view row : source.rows)
        for (const char key : row) {
            const platform::Color color = keys.color[static_cast<unsigned char>(key)];
            image.pixels.push_back(platform::GetBValue(color));
            image.pixels.push_back(platform::GetGValue(color));
            image.pixels.push_back(platform::GetRValue(color));
        }
    return image;
}

TGlyphImage Glyph(GlyphId id) {
    return DecodeGlyph(GlyphSource(id), kPalette);
}

TGlyphImage ImageList1Icon(int index) {
    if (index < 0 || index >= kImageList1Count)
        throw toolkit::EListError::IndexOutOfBounds(index);
    return Glyph(static_cast<GlyphId>(index));
}

platform::IconImage ProgramIcon() {
    const TGlyphImage glyph = Glyph(GlyphId::ProgramIcon);
    platform::IconImage icon;
    icon.width = glyph.width;
    icon.height = glyph.height;
    icon.pixels.reserve(static_cast<std::size_t>(glyph.width) * glyph.height);
    for (std::int32_t y = 0; y < glyph.height; ++y)
        for (std::int32_t x = 0; x < glyph.width; ++x) {
            const platform::Color c = glyph.Pixel(x, y);
            if (c == glyph.transparent) {
                icon.pixels.push_back(0);
                continue;
            }
            // Color keeps red in the low byte; the icon wants 0xAARRGGBB.
            icon.pixels.push_back(0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) |
                                  (c >> 16 & 0xFFu));
        }
    return icon;
}

} // namespace app
