#include "image/jpeg/JPEGDecoder.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include <jpeglib.h>
// jerror.h after jpeglib.h: it names the message codes.
#include <jerror.h>

#include "image/jpeg/EJPEG.h"
#include "image/jpeg/JPEGDecodeContext.h"
#include "image/jpeg/JPEGGreyDither.h"
#include "platform/gfx/Dib.h"

namespace image {

namespace {

using detail::kColorsWanted;
using detail::TDecodeContext;
using detail::TGreyDither;

constexpr std::int64_t kMaxPixels = platform::kMaxPicturePixels;
constexpr std::int64_t kPixelsWithoutProof = std::int64_t{1} << 24;
constexpr std::int64_t kMaxPixelsPerDataByte = 4096;
// Pass-by-pass decoding redraws the whole picture for every scan; past this many pixels drawn in
// passes before the last one, the remaining scans are taken in without being shown.
constexpr std::int64_t kMaxIntermediatePixels = std::int64_t{1} << 28;

// Adobe's CMYK files store every channel inverted (0 = full ink); others store ink amounts.
void CMYKRowToBGR(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
        bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    }
}

// Before any pixel memory: a picture too large for us at all, or larger than a few megapixels
// without the data to show for it, is refused. A JPEG needs a few bits per 8 × 8 block even when
// it is blank, so real pictures stay far below 4096 pixels per byte.
void CheckPictureSize(TDecodeContext& context, std::size_t dataSize) {
    const jpeg_decompress_struct& info = context.Info();
    const std::int64_t pixels = std::int64_t{info.image_width} * info.image_height;
    const std::int64_t plausible =
        static_cast<std::int64_t>(std::min<std::size_t>(dataSize, kMaxPixels)) *
        kMaxPixelsPerDataByte;
    if (pixels > kMaxPixels || (pixels > kPixelsWithoutProof && pixels > plausible)) {
        context.Refuse(JERR_IMAGE_TOO_BIG);
    }
}

// What the decoded rows hold, once the output has been set up.
struct TOutputKind {
    bool fourComponents = false; // CMYK rows, converted to blue, green, red by us
    bool quantize = false;       // one palette index per pixel
};

// The output colour space, scale and quantisation settings ask for.
TOutputKind ConfigureOutput(TDecodeContext& context, const TJPEGDecodeSettings& settings) {
    jpeg_decompress_struct& info = context.Info();
    TOutputKind kind;
    kind.fourComponents = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.scale_num = 1;
    info.scale_denom = 1u << std::min<unsigned>(settings.DecodeScale, 3);
    info.do_block_smoothing = settings.BlockSmoothing ? TRUE : FALSE;
    if (kind.fourComponents) {
        // The library turns YCCK into CMYK; we turn CMYK into blue, green, red below.
        info.out_color_space = JCS_CMYK;
    } else if (settings.Grayscale) {
        info.out_color_space = JCS_GRAYSCALE;
    } else if (info.out_color_space == JCS_RGB) {
        info.out_color_space = JCS_EXT_BGR;
    }
    if (info.out_color_space != JCS_GRAYSCALE && info.out_color_space != JCS_EXT_BGR &&
        info.out_color_space != JCS_CMYK) {
        // Two components, or five and more: nothing a bitmap row can hold.
        context.Refuse(JERR_CONVERSION_NOTIMPL);
    }
    kind.quantize = !kind.fourComponents && (settings.OutputDepth == TJPEGOutputDepth::Bits8 ||
                                             info.out_color_space == JCS_GRAYSCALE);
    if (kind.quantize) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = kColorsWanted;
    }
    return kind;
}

// After jpeg_start_decompress: rows of the kind asked for, and a picture at all.
void CheckOutput(TDecodeContext& context, const TOutputKind& kind) {
    const jpeg_decompress_struct& info = context.Info();
    const int expectedComponents = kind.fourComponents ? 4 : (kind.quantize ? 1 : 3);
    if (info.output_components != expectedComponents || info.output_width == 0 ||
        info.output_height == 0) {
        context.Refuse(JERR_CONVERSION_NOTIMPL);
    }
}

// The library's colour map as colours; empty when it has made none.
std::vector<platform::Color> LibraryPalette(const jpeg_decompress_struct& info) {
    std::vector<platform::Color> palette;
    if (info.colormap == nullptr || info.actual_number_of_colors <= 0) {
        return palette;
    }
    palette.resize(static_cast<std::size_t>(info.actual_number_of_colors));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (info.out_color_components == 1) {
            const JSAMPLE v = info.colormap[0][i];
            palette[i] = platform::RGB(v, v, v);
        } else {
            palette[i] =
                platform::RGB(info.colormap[2][i], info.colormap[1][i], info.colormap[0][i]);
        }
    }
    return palette;
}

} // namespace

std::uint8_t JPEGProgressPercent(std::int64_t passCounter, std::int64_t passLimit,
                                 std::int32_t completedPasses, std::int32_t totalPasses) {
    if (passLimit <= 0 || totalPasses <= 0) {
        return 0;
    }
    const double done =
        (static_cast<double>(passCounter) / static_cast<double>(passLimit) + completedPasses) *
        100.0 / totalPasses;
    return static_cast<std::uint8_t>(std::clamp(done, 0.0, 100.0));
}

namespace {

TJPEGHeader HeaderOf(TDecodeContext& context) {
    jpeg_decompress_struct& info = context.Info();
    TJPEGHeader header;
    // The library refuses dimensions beyond 65500, so both fit.
    header.Width = static_cast<std::int32_t>(info.image_width);
    header.Height = static_cast<std::int32_t>(info.image_height);
    header.Grayscale = info.jpeg_color_space == JCS_GRAYSCALE;
    header.Progressive = context.Guard([&] { return jpeg_has_multiple_scans(&info); }) != 0;
    return header;
}

} // namespace

TJPEGHeader ReadJPEGHeader(std::span<const std::uint8_t> data) {
    TDecodeContext context(data, nullptr);
    return HeaderOf(context);
}

TJPEGDecodeResult DecodeJPEG(std::span<const std::uint8_t> data,
                             const TJPEGDecodeSettings& settings, TJPEGTarget& target,
                             const TJPEGProgressHandler& onProgress) {
    TDecodeContext context(data, &onProgress);
    jpeg_decompress_struct& info = context.Info();

    const TOutputKind kind = ConfigureOutput(context, settings);
    const bool fourComponents = kind.fourComponents;
    const bool quantize = kind.quantize;
    if (settings.DecodeSpeed == TJPEGDecodeSpeed::Fast) {
        info.dct_method = JDCT_IFAST;
        info.two_pass_quantize = FALSE;
        info.dither_mode = JDITHER_ORDERED;
    }
    const J_DCT_METHOD savedDctMethod = info.dct_method;
    const boolean savedTwoPass = info.two_pass_quantize;
    const J_DITHER_MODE savedDither = info.dither_mode;

    const bool multipleScans = context.Guard([&] { return jpeg_has_multiple_scans(&info); }) != 0;
    const bool buffered = settings.IncrementalDisplay && multipleScans;
    if (buffered) {
        info.enable_2pass_quant = info.two_pass_quantize;
        info.dct_method = JDCT_IFAST;
        info.two_pass_quantize = FALSE;
        info.dither_mode = JDITHER_ORDERED;
        info.buffered_image = TRUE;
    }

    // A palette from outside replaces the library's choice for colour output; grey output keeps
    // the library's own grey levels, which is what its pixels index.
    bool paletteFromLibrary = quantize;
    std::vector<platform::Color> imposedPalette;
    if (quantize && info.out_color_space != JCS_GRAYSCALE && !settings.ColorMap.empty()) {
        const auto count = static_cast<int>(std::min<std::size_t>(settings.ColorMap.size(), 256));
        imposedPalette.assign(settings.ColorMap.begin(), settings.ColorMap.begin() + count);
        JSAMPARRAY map = context.Guard([&] {
            return (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             count, 3);
        });
        // Components in output order: blue, green, red.
        for (int i = 0; i < count; ++i) {
            map[0][i] = platform::GetBValue(imposedPalette[i]);
            map[1][i] = platform::GetGValue(imposedPalette[i]);
            map[2][i] = platform::GetRValue(imposedPalette[i]);
        }
        info.colormap = map;
        info.actual_number_of_colors = count;
        paletteFromLibrary = false;
    }

    CheckPictureSize(context, data.size());
    context.Guard([&] { return jpeg_start_decompress(&info); });

    CheckOutput(context, kind);
    const auto width = static_cast<std::int32_t>(info.output_width);
    const auto height = static_cast<std::int32_t>(info.output_height);
    target.SetFormat(width, height, quantize ? 8 : 24);
    if (!imposedPalette.empty()) {
        target.SetPalette(imposedPalette);
    }

    std::vector<JSAMPROW> rows(static_cast<std::size_t>(height));
    for (std::int32_t y = 0; y < height; ++y) {
        rows[static_cast<std::size_t>(y)] = target.ScanLine(y);
    }
    // Four-component rows arrive in a scratch batch and are converted into the target's rows.
    const auto batch = static_cast<JDIMENSION>(std::max(info.rec_outbuf_height, 1));
    std::vector<JSAMPLE> scratch;
    std::vector<JSAMPROW> scratchRows;
    if (fourComponents) {
        scratch.resize(std::size_t{batch} * info.output_width * 4);
        for (JDIMENSION i = 0; i < batch; ++i) {
            scratchRows.push_back(scratch.data() + std::size_t{i} * info.output_width * 4);
        }
    }
    const bool adobeInverted = info.saw_Adobe_marker != 0;

    auto readAllRows = [&] {
        while (info.output_scanline < info.output_height) {
            const JDIMENSION first = info.output_scanline;
            const JDIMENSION wanted = std::min(batch, info.output_height - first);
            JSAMPARRAY destination = fourComponents ? scratchRows.data() : rows.data() + first;
            const JDIMENSION got =
                context.Guard([&] { return jpeg_read_scanlines(&info, destination, wanted); });
            if (got == 0) {
                // Only a suspending source returns nothing; ours never does. Do not spin.
                break;
            }
            if (fourComponents) {
                for (JDIMENSION i = 0; i < got; ++i) {
                    CMYKRowToBGR(scratchRows[i], rows[first + i], info.output_width, adobeInverted);
                }
            }
        }
    };
    auto takePalette = [&] {
        if (!paletteFromLibrary) {
            return;
        }
        const std::vector<platform::Color> palette = LibraryPalette(info);
        if (!palette.empty()) {
            target.SetPalette(palette);
        }
    };

    if (!buffered) {
        takePalette();
        readAllRows();
    } else {
        bool firstPass = true;
        const std::int64_t passPixels = std::int64_t{info.output_width} * info.output_height;
        std::int64_t shownPixels = 0;
        while (context.Guard([&] { return jpeg_input_complete(&info); }) == 0) {
            shownPixels += passPixels;
            if (shownPixels > kMaxIntermediatePixels) {
                // Enough passes shown: take in the rest at once, the final pass shows it all.
                int status = JPEG_SUSPENDED + 1;
                while (status != JPEG_REACHED_EOI && status != JPEG_SUSPENDED) {
                    status = context.Guard([&] { return jpeg_consume_input(&info); });
                }
                break;
            }
            context.Guard([&] { return jpeg_start_output(&info, info.input_scan_number); });
            if (firstPass) {
                takePalette();
                firstPass = false;
            }
            readAllRows();
            context.Guard([&] { return jpeg_finish_output(&info); });
        }
        info.dct_method = savedDctMethod;
        info.two_pass_quantize = savedTwoPass;
        info.dither_mode = savedDither;
        if (quantize && savedTwoPass && info.out_color_components == 3 && imposedPalette.empty()) {
            // The final pass chooses its colours anew from the complete picture.
            info.colormap = nullptr;
        }
        context.Guard([&] { return jpeg_start_output(&info, info.input_scan_number); });
        takePalette();
        readAllRows();
        context.Guard([&] { return jpeg_finish_output(&info); });
    }
    context.Guard([&] { return jpeg_finish_decompress(&info); });

    TJPEGDecodeResult result;
    result.Warnings = context.Warnings();
    return result;
}

struct TJPEGRowDecoder::TState {
    TDecodeContext context;
    std::int64_t dataSize;
    TJPEGHeader header;
};

TJPEGRowDecoder::TJPEGRowDecoder(TJPEGReader reader, std::int64_t dataSize)
    : m_state(new TState{TDecodeContext(std::move(reader), nullptr), dataSize, {}}) {
    m_state->header = HeaderOf(m_state->context);
}

TJPEGRowDecoder::~TJPEGRowDecoder() = default;

const TJPEGHeader& TJPEGRowDecoder::Header() const {
    return m_state->header;
}

void TJPEGRowDecoder::Decode(std::span<const std::int32_t> wanted, const TJPEGRowHandler& onRow) {
    TDecodeContext& context = m_state->context;
    jpeg_decompress_struct& info = context.Info();
    const TOutputKind kind = ConfigureOutput(context, TJPEGDecodeSettings{});
    // Quantised output here is grey (colour quantisation is only asked for 8-bit screens): the
    // library's quantiser is replaced by TGreyDither, which gives the same indexes.
    const bool dithered = kind.quantize;
    if (dithered) {
        info.quantize_colors = FALSE;
    }
    CheckPictureSize(context,
                     static_cast<std::size_t>(std::max<std::int64_t>(m_state->dataSize, 0)));
    context.Guard([&] { return jpeg_start_decompress(&info); });
    CheckOutput(context, kind);

    const std::size_t width = info.output_width;
    std::optional<TGreyDither> dither;
    if (dithered) {
        dither.emplace(width);
    }
    const std::vector<platform::Color> palette =
        dithered ? dither->Palette() : std::vector<platform::Color>{};
    std::vector<JSAMPLE> row(width * static_cast<std::size_t>(info.output_components));
    std::vector<std::uint8_t> converted(kind.fourComponents ? width * 3 : (dithered ? width : 0));
    const bool adobeInverted = info.saw_Adobe_marker != 0;
    // Error diffusion carries each row's error into the next, so every row down to the last
    // one wanted passes through it; rows after that matter to nothing.
    const std::int64_t lastWanted = wanted.empty() ? -1 : wanted.back();
    auto readRow = [&] {
        const std::int64_t y = info.output_scanline;
        JSAMPROW rows[1] = {row.data()};
        if (context.Guard([&] { return jpeg_read_scanlines(&info, rows, 1); }) != 1) {
            return false;
        }
        if (dithered && y <= lastWanted) {
            dither->Apply(row.data(), converted.data());
        }
        return true;
    };
    // Skipping leaves the rows after it as a full decode gives them: the library decodes what
    // the next row's upsampling needs.
    auto advanceTo = [&](JDIMENSION y) {
        const bool mayskip = !dithered || std::int64_t{info.output_scanline} > lastWanted;
        if (mayskip && y > info.output_scanline) {
            context.Guard([&] { return jpeg_skip_scanlines(&info, y - info.output_scanline); });
        }
        while (info.output_scanline < y) {
            if (!readRow()) {
                return false;
            }
        }
        return true;
    };
    for (const std::int32_t y : wanted) {
        if (y < static_cast<std::int32_t>(info.output_scanline) ||
            y >= static_cast<std::int32_t>(info.output_height)) {
            continue;
        }
        if (!advanceTo(static_cast<JDIMENSION>(y)) || !readRow()) {
            break;
        }
        if (kind.fourComponents) {
            CMYKRowToBGR(row.data(), converted.data(), info.output_width, adobeInverted);
            onRow(y, converted.data(), 24, palette);
        } else if (dithered) {
            onRow(y, converted.data(), 8, palette);
        } else {
            onRow(y, row.data(), 24, palette);
        }
    }
    // The rest is still read as a full decode reads it, so damage anywhere in the data fails
    // this decode as it fails that one. A skip to the very end would stop reading at once.
    if (info.output_scanline < info.output_height) {
        advanceTo(info.output_height - 1);
        readRow();
    }
    context.Guard([&] { return jpeg_finish_decompress(&info); });
}

} // namespace image
