#pragma once
// The one place where the JPEG library is used (with its helpers beside it in this folder): reading
// a header and decoding a whole picture from bytes held in memory. Nothing above this file sees the
// library's types, its longjmp-based error handling or its message codes other than as EJPEG.
//
// Errors: every fatal library error leaves as EJPEG "JPEG error #%d" with the library's message
// code; data that does not start with the start-of-image marker always gives 53. Warnings
// (damaged entropy data, a missing end marker, ...) are counted and otherwise ignored: the
// library fills what it cannot read and decoding goes on.
//
// Limits (decoding only; a header is read whatever it claims): a picture of more than 2^28
// pixels, or of more than 2^24 pixels with less than one data byte per 4096 pixels, is refused
// with EJPEG and the library's "image too big" code (41) before any pixel memory is taken, so a
// few hundred bytes cannot make us allocate gigabytes. Streams of more than 1000 scans are
// refused the same way (code 41) as soon as the library reaches scan 1001, which bounds the time a
// hostile progressive stream can cost.
//
// Output: rows are handed to the target top row first. 24-bit rows hold blue, green, red bytes
// per pixel; 8-bit rows hold indexes into the palette the target receives. Four-component
// (CMYK and YCCK) streams are converted to blue, green, red and always come out at 24 bits,
// whatever OutputDepth and Grayscale ask for.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "platform/gfx/Geometry.h"

namespace image {

struct TJPEGHeader {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool Grayscale = false;   // one-component stream
    bool Progressive = false; // more than one scan
};

enum class TJPEGOutputDepth { Bits24, Bits8 };
enum class TJPEGDecodeSpeed { Accurate, Fast };

struct TJPEGDecodeSettings {
    // Output size 1 / 2^DecodeScale of the picture: 0 full, 1 half, 2 quarter, 3 eighth (larger
    // values act as 3).
    std::uint8_t DecodeScale = 0;
    bool BlockSmoothing = true;
    bool Grayscale = false;
    TJPEGOutputDepth OutputDepth = TJPEGOutputDepth::Bits24;
    TJPEGDecodeSpeed DecodeSpeed = TJPEGDecodeSpeed::Accurate;
    // Decode a progressive stream pass by pass, as it would be shown while arriving.
    bool IncrementalDisplay = false;
    // A palette imposed from outside for 8-bit colour output (at most 256 entries are used); the
    // target then gets this palette and the library maps every pixel onto it. Empty: the
    // library chooses its colours.
    std::vector<platform::Color> ColorMap;
};

// Where decoded rows go. SetFormat comes first, once; then ScanLine for every row, and
// SetPalette (possibly more than once) before the rows it indexes are final.
class TJPEGTarget {
public:
    virtual ~TJPEGTarget() = default;
    // bitCount is 8 or 24; width and height are at least 1.
    virtual void SetFormat(std::int32_t width, std::int32_t height, int bitCount) = 0;
    // Row y (0 = top); at least width × bitCount / 8 writable bytes.
    virtual std::uint8_t* ScanLine(std::int32_t y) = 0;
    virtual void SetPalette(std::span<const platform::Color> colors) = 0;
};

enum class TProgressStage { Starting, Running, Ending };

struct TJPEGProgress {
    TProgressStage Stage = TProgressStage::Starting;
    std::uint8_t PercentDone = 0;
    bool RedrawNow = false;
    platform::Rect Rows; // output rows decoded since the previous report
};
using TJPEGProgressHandler = std::function<void(const TJPEGProgress&)>;

struct TJPEGDecodeResult {
    std::int32_t Warnings = 0; // recoverable problems the library met and passed over
};

// Reads the header of a JPEG stream held in data. Raises EJPEG for anything that is not a
// complete header of a picture.
TJPEGHeader ReadJPEGHeader(std::span<const std::uint8_t> data);

// Decodes the whole picture into target. A handler, when given, gets the Running reports (at most
// one per 500 ms, only when the percentage changed); an exception it raises ends decoding and
// propagates. Starting and Ending are the caller's to report.
TJPEGDecodeResult DecodeJPEG(std::span<const std::uint8_t> data,
                             const TJPEGDecodeSettings& settings, TJPEGTarget& target,
                             const TJPEGProgressHandler& onProgress = {});

// Hands out up to count bytes of a JPEG stream into buffer; 0 at its end.
using TJPEGReader = std::function<std::size_t(std::uint8_t* buffer, std::size_t count)>;
// A decoded row: 24-bit rows hold blue, green, red bytes; 8-bit rows hold palette indexes.
using TJPEGRowHandler = std::function<void(std::int32_t y, const std::uint8_t* row, int bitCount,
                                           std::span<const platform::Color> palette)>;

// Decodes a picture with the default settings (full size, accurate, 24-bit colour; grey and
// 8-bit output through the library's quantiser), delivering only the rows asked for, each
// exactly as DecodeJPEG would deliver it. Rows in between are skipped where that cannot change
// a delivered row. The stream is read piece by piece and no row but the current one is held,
// so memory does not grow with the picture (progressive streams excepted: the library keeps
// their coefficients whole). Errors are DecodeJPEG's, the header's at construction.
class TJPEGRowDecoder {
public:
    // dataSize: the stream's length, which bounds the picture size decoding accepts.
    TJPEGRowDecoder(TJPEGReader reader, std::int64_t dataSize);
    ~TJPEGRowDecoder();
    TJPEGRowDecoder(const TJPEGRowDecoder&) = delete;
    TJPEGRowDecoder& operator=(const TJPEGRowDecoder&) = delete;

    const TJPEGHeader& Header() const;
    // wanted: row numbers in increasing order. Once only.
    void Decode(std::span<const std::int32_t> wanted, const TJPEGRowHandler& onRow);

private:
    struct TState;
    std::unique_ptr<TState> m_state;
};

// The percentage of a decoding that has made passCounter of passLimit steps of the current pass,
// after completedPasses of totalPasses whole passes, cut to an integer and kept within 0 ... 100.
std::uint8_t JPEGProgressPercent(std::int64_t passCounter, std::int64_t passLimit,
                                 std::int32_t completedPasses, std::int32_t totalPasses);

} // namespace image
