#include "platform/gfx/PixelCodec.h"

#include <bit>

namespace platform {

namespace {

struct Channel {
    int shift = 0;
    int width = 0;
};

Channel ChannelOf(std::uint32_t mask) {
    if (mask == 0)
        return {};
    const int shift = std::countr_zero(mask);
    return {shift, std::countr_one(mask >> shift)};
}

struct MaskCodec {
    Channel r, g, b;
    explicit MaskCodec(const ChannelMasks& m)
        : r(ChannelOf(m.red)), g(ChannelOf(m.green)), b(ChannelOf(m.blue)) {}

    static std::uint32_t Field(std::uint32_t word, Channel c) {
        return c.width >= 32 ? word : (word >> c.shift) & ((1u << c.width) - 1);
    }
    Color Decode(std::uint32_t word) const {
        return RGB(WidenChannel(Field(word, r), r.width), WidenChannel(Field(word, g), g.width),
                   WidenChannel(Field(word, b), b.width));
    }
    static std::uint32_t Narrow(std::uint8_t v, Channel c) {
        if (c.width == 0)
            return 0;
        const std::uint64_t value =
            c.width <= 8 ? std::uint64_t{v} >> (8 - c.width) : std::uint64_t{v} << (c.width - 8);
        return static_cast<std::uint32_t>(value << c.shift);
    }
    std::uint32_t Encode(Color color) const {
        return Narrow(GetRValue(color), r) | Narrow(GetGValue(color), g) |
               Narrow(GetBValue(color), b);
    }
};

Color TableColor(const PixelRows& rows, unsigned index) {
    return static_cast<int>(index) < rows.colorCount ? ToColor(rows.colors[index]) : 0;
}

int Distance(Color a, const RgbQuad& q) {
    const int dr = int{GetRValue(a)} - q.red;
    const int dg = int{GetGValue(a)} - q.green;
    const int db = int{GetBValue(a)} - q.blue;
    return dr * dr + dg * dg + db * db;
}

} // namespace

std::uint8_t WidenChannel(std::uint32_t value, int width) {
    if (width <= 0)
        return 0;
    if (width >= 8)
        return static_cast<std::uint8_t>(value >> (width - 8));
    std::uint32_t bits = 0;
    int filled = 0;
    while (filled < 8) {
        bits = bits << width | value;
        filled += width;
    }
    return static_cast<std::uint8_t>(bits >> (filled - 8));
}

ColorMatcher::ColorMatcher(const RgbQuad* colors, int count)
    : m_colors(colors), m_count(count), m_greyRamp(count == 256 && IsGreyRamp(colors, count)) {}

std::uint8_t ColorMatcher::IndexOf(Color color) {
    color &= 0xFFFFFF;
    if (m_greyRamp)
        return static_cast<std::uint8_t>(
            (GetRValue(color) + GetGValue(color) + GetBValue(color) + 1) / 3);
    if (!m_cacheReady) {
        m_keys.fill(0xFFFFFFFF);
        m_cacheReady = true;
    }
    const std::size_t slot = ((color * 0x9E3779B1u) >> 20) & (kCacheSize - 1);
    if (m_keys[slot] != color) {
        m_keys[slot] = color;
        m_values[slot] = Search(color);
    }
    return m_values[slot];
}

std::uint8_t ColorMatcher::Search(Color color) const {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < m_count; ++i) {
        const int d = Distance(color, m_colors[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return static_cast<std::uint8_t>(best);
}

void ReadColors(const PixelRows& rows, const std::uint8_t* row, const std::int64_t* cols,
                std::size_t n, Color* out) {
    switch (rows.bitCount) {
    case 1:
        for (std::size_t i = 0; i < n; ++i)
            out[i] = TableColor(rows, (row[cols[i] >> 3] >> (7 - (cols[i] & 7))) & 1);
        break;
    case 4:
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t b = row[cols[i] >> 1];
            out[i] = TableColor(rows, (cols[i] & 1) ? b & 0x0F : b >> 4);
        }
        break;
    case 8:
        for (std::size_t i = 0; i < n; ++i)
            out[i] = TableColor(rows, row[cols[i]]);
        break;
    case 16: {
        const MaskCodec codec(rows.masks);
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* p = row + 2 * cols[i];
            out[i] = codec.Decode(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8);
        }
        break;
    }
    case 24:
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* p = row + 3 * cols[i];
            out[i] = RGB(p[2], p[1], p[0]);
        }
        break;
    case 32: {
        if (rows.masks == kMasks888) {
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint8_t* p = row + 4 * cols[i];
                out[i] = RGB(p[2], p[1], p[0]);
            }
            break;
        }
        const MaskCodec codec(rows.masks);
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* p = row + 4 * cols[i];
            out[i] = codec.Decode(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                  std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
        }
        break;
    }
    default:
        for (std::size_t i = 0; i < n; ++i)
            out[i] = 0;
    }
}

void WriteColors(const PixelRows& rows, std::uint8_t* row, std::int32_t x, const Color* colors,
                 std::size_t n, ColorMatcher& matcher) {
    switch (rows.bitCount) {
    case 1:
        for (std::size_t i = 0; i < n; ++i) {
            const std::int64_t c = x + static_cast<std::int64_t>(i);
            const auto bit = static_cast<std::uint8_t>(0x80 >> (c & 7));
            if (matcher.IndexOf(colors[i]) & 1)
                row[c >> 3] |= bit;
            else
                row[c >> 3] &= static_cast<std::uint8_t>(~bit);
        }
        break;
    case 4:
        for (std::size_t i = 0; i < n; ++i) {
            const std::int64_t c = x + static_cast<std::int64_t>(i);
            const std::uint8_t index = matcher.IndexOf(colors[i]) & 0x0F;
            std::uint8_t& b = row[c >> 1];
            b = (c & 1) ? static_cast<std::uint8_t>((b & 0xF0) | index)
                        : static_cast<std::uint8_t>((b & 0x0F) | index << 4);
        }
        break;
    case 8: {
        std::uint8_t* p = row + x;
        for (std::size_t i = 0; i < n; ++i)
            p[i] = matcher.IndexOf(colors[i]);
        break;
    }
    case 16: {
        const MaskCodec codec(rows.masks);
        std::uint8_t* p = row + 2 * static_cast<std::int64_t>(x);
        for (std::size_t i = 0; i < n; ++i, p += 2) {
            const std::uint32_t word = codec.Encode(colors[i]);
            p[0] = static_cast<std::uint8_t>(word);
            p[1] = static_cast<std::uint8_t>(word >> 8);
        }
        break;
    }
    case 24: {
        std::uint8_t* p = row + 3 * static_cast<std::int64_t>(x);
        for (std::size_t i = 0; i < n; ++i, p += 3) {
            p[0] = GetBValue(colors[i]);
            p[1] = GetGValue(colors[i]);
            p[2] = GetRValue(colors[i]);
        }
        break;
    }
    case 32: {
        std::uint8_t* p = row + 4 * static_cast<std::int64_t>(x);
        if (rows.masks == kMasks888) {
            for (std::size_t i = 0; i < n; ++i, p += 4) {
                p[0] = GetBValue(colors[i]);
                p[1] = GetGValue(colors[i]);
                p[2] = GetRValue(colors[i]);
                p[3] = 0;
            }
            break;
        }
        const MaskCodec codec(rows.masks);
        for (std::size_t i = 0; i < n; ++i, p += 4) {
            const std::uint32_t word = codec.Encode(colors[i]);
            p[0] = static_cast<std::uint8_t>(word);
            p[1] = static_cast<std::uint8_t>(word >> 8);
            p[2] = static_cast<std::uint8_t>(word >> 16);
            p[3] = static_cast<std::uint8_t>(word >> 24);
        }
        break;
    }
    default:
        break;
    }
}

} // namespace platform
