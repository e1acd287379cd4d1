#include "engine/TextScan.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "toolkit/Exceptions.h"
#include "toolkit/IntText.h"

namespace engine {
namespace {

// The symbol of each grey level, found the way the row-by-row search would find it but
// remembered. Invariant: every level up to the largest bound parsed so far is known; levels
// above it are unknown until the search for one of them parses further rows, and become "no
// match" once every row has been parsed. A level above all parsed bounds is exactly the case in
// which the search goes past every parsed row, so a row is parsed only when a pixel's search
// reaches it.
class SymbolLookup {
public:
    SymbolLookup(const toolkit::TGridCells& table, std::int32_t rowCount)
        : m_table(table), m_rowCount(rowCount) {
        m_slot.fill(kUnknown);
        m_symbols.emplace_back(); // slot 0: no row matches
    }

    const std::string& For(std::uint8_t level) {
        if (m_slot[level] == kUnknown)
            Resolve(level);
        return m_symbols[static_cast<std::size_t>(m_slot[level])];
    }
    // The number of characters (code points) the symbol of a level adds to a line; a symbol
    // that begins with a stray continuation byte counts it as a character of its own only at
    // the start of a line, as the paged export does.
    std::size_t CharsOf(std::uint8_t level, bool lineStart) {
        const std::string& symbol = For(level);
        std::size_t chars = 0;
        for (const char byte : symbol)
            chars += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
        if (lineStart && !symbol.empty() && (static_cast<unsigned char>(symbol[0]) & 0xC0) == 0x80)
            ++chars;
        return chars;
    }

private:
    static constexpr std::int16_t kUnknown = -1;

    void Resolve(std::uint8_t level) {
        while (m_parsedRows < m_rowCount) {
            const std::int32_t row = ++m_parsedRows;
            const std::string& text = m_table.Cell(1, row);
            const auto bound = toolkit::TryStrToInt(text);
            if (!bound)
                throw toolkit::InvalidIntegerError(text);
            if (*bound > m_largestBound) {
                const std::int64_t first = std::max<std::int64_t>(m_largestBound + 1, 0);
                const std::int64_t last = std::min<std::int32_t>(*bound, 255);
                if (first <= last) {
                    m_symbols.push_back(m_table.Cell(0, row));
                    const auto slot = static_cast<std::int16_t>(m_symbols.size() - 1);
                    std::fill(m_slot.begin() + first, m_slot.begin() + last + 1, slot);
                }
                m_largestBound = *bound;
            }
            if (m_largestBound >= level)
                return;
        }
        std::replace(m_slot.begin(), m_slot.end(), kUnknown, std::int16_t{0});
    }

    const toolkit::TGridCells& m_table;
    std::int32_t m_rowCount;
    std::int32_t m_parsedRows = 0;
    std::int64_t m_largestBound = std::numeric_limits<std::int64_t>::min();
    std::array<std::int16_t, 256> m_slot;
    std::vector<std::string> m_symbols;
};

} // namespace

std::int32_t ConversionHeight(std::int32_t width, std::int32_t sourceWidth,
                              std::int32_t sourceHeight, int ratioIndex) {
    if (sourceWidth == 0)
        throw toolkit::EDivByZero();
    std::int64_t height = std::int64_t{width} * sourceHeight / sourceWidth;
    if (ratioIndex == kRatioTwoToThree)
        height = height * 2 / 3;
    else if (ratioIndex == kRatioOneToTwo)
        height /= 2;
    if (height > std::numeric_limits<std::int32_t>::max())
        throw toolkit::EOutOfMemory();
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(height, std::numeric_limits<std::int32_t>::min()));
}

void ScanToText(const TGreyRasterView& raster, const toolkit::TGridCells& table,
                std::int32_t boundCount, const LineSink& sink, std::size_t maxTextBytes) {
    SymbolLookup lookup(table, boundCount);
    std::size_t total = 0;
    for (int y = 0; y < raster.Height(); ++y) {
        const std::uint8_t* pixels = raster.Row(y);
        std::string line;
        line.reserve(static_cast<std::size_t>(std::max(raster.Width(), 0)));
        for (int x = 0; x < raster.Width(); ++x) {
            const std::string& symbol = lookup.For(pixels[x]);
            if (symbol.size() > maxTextBytes - total - line.size())
                throw toolkit::EOutOfMemory();
            line += symbol;
        }
        total += line.size();
        sink(std::move(line));
    }
}

void ScanToColoredText(const TGreyRasterView& raster, const TColorRasterView& colors,
                       const toolkit::TGridCells& table, std::int32_t boundCount,
                       const ColoredLineSink& sink, std::size_t maxTextBytes) {
    SymbolLookup lookup(table, boundCount);
    std::size_t total = 0;
    for (int y = 0; y < raster.Height(); ++y) {
        const std::uint8_t* pixels = raster.Row(y);
        std::string line;
        LineColors lineColors;
        for (int x = 0; x < raster.Width(); ++x) {
            const std::string& symbol = lookup.For(pixels[x]);
            if (symbol.size() > maxTextBytes - total - line.size())
                throw toolkit::EOutOfMemory();
            lineColors.insert(lineColors.end(), lookup.CharsOf(pixels[x], line.empty()),
                              colors.At(x, y));
            line += symbol;
        }
        total += line.size();
        sink(std::move(line), std::move(lineColors));
    }
}

} // namespace engine
