#pragma once
// Picture-to-text: the size of the grey copy a conversion draws, and the scan that turns its
// pixels into lines of symbols from the character table.
//
// The scan gives pixel p (0 black ... 255 white) the symbol of the first table row r = 1 ... N
// whose bound (column 1, read by the integer rules) is >= p; a pixel no row matches adds
// nothing, so lines are not padded. Bounds are parsed lazily, each at most once per scan, and
// exactly when the row-by-row search of some pixel would reach them: a bound that does not
// parse fails the scan with EConvertError "'%s' is not a valid integer value" (the cell's text)
// only then. Lines go to the sink one by one as their row is finished, so on failure the
// caller keeps the finished rows and the row under construction is dropped.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/CellColors.h"
#include "toolkit/TGridCells.h"

namespace engine {

// A read-only view of 8-bit grey pixels, one byte per pixel, row 0 at the top. The stride is
// the signed distance in bytes from one row to the next one down (negative for rows stored
// bottom-up). The view does not own the pixels.
class TGreyRasterView {
public:
    TGreyRasterView() = default;
    TGreyRasterView(const std::uint8_t* topRow, int width, int height, std::ptrdiff_t stride)
        : m_top(topRow), m_width(width), m_height(height), m_stride(stride) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::uint8_t* Row(int y) const {
        return m_top + static_cast<std::ptrdiff_t>(y) * m_stride;
    }

private:
    const std::uint8_t* m_top = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::ptrdiff_t m_stride = 0;
};

// Height-to-width choices (item indexes of the ratio list; -1 is no selection).
inline constexpr int kRatioOneToOne = 0;
inline constexpr int kRatioTwoToThree = 1;
inline constexpr int kRatioOneToTwo = 2;

// H = (W * sourceHeight) div sourceWidth, then times 2 div 3 ("2:3") or div 2 ("1:2"),
// truncating toward zero. A sourceWidth of 0 raises EDivByZero. The products are exact (64-bit):
// a height below the 32-bit range comes back as INT32_MIN (still "0 or less": no picture can be
// drawn), a height above it raises EOutOfMemory, since no picture that tall could be made.
std::int32_t ConversionHeight(std::int32_t width, std::int32_t sourceWidth,
                              std::int32_t sourceHeight, int ratioIndex);

using LineSink = std::function<void(std::string line)>;

// Text beyond this many bytes in one scan raises EOutOfMemory (long symbol texts could
// otherwise make a small picture into gigabytes). The lines finished before stay delivered.
inline constexpr std::size_t kMaxScanTextBytes = std::size_t{256} << 20;

// Appends one line per raster row to sink, using table rows 1 ... boundCount.
void ScanToText(const TGreyRasterView& raster, const toolkit::TGridCells& table,
                std::int32_t boundCount, const LineSink& sink,
                std::size_t maxTextBytes = kMaxScanTextBytes);

// The same scan, each line delivered with the colour of every character it holds: the colour
// raster's pixel of the cell the character's symbol stands for. colors is as large as raster.
void ScanToColoredText(const TGreyRasterView& raster, const TColorRasterView& colors,
                       const toolkit::TGridCells& table, std::int32_t boundCount,
                       const ColoredLineSink& sink, std::size_t maxTextBytes = kMaxScanTextBytes);

} // namespace engine
