#include "image/png/PNGEncoder.h"

#include <csetjmp>
#include <new>
#include <string>

#include <png.h>

#include "image/png/PNGDecoder.h"
#include "platform/gfx/Dib.h"
#include "toolkit/Exceptions.h"

namespace image {
namespace {

struct Writer {
    std::vector<std::uint8_t> bytes;
    std::string reason;
    bool outOfMemory = false;
};

void WriteBytes(png_structp png, png_bytep data, std::size_t count) {
    auto* writer = static_cast<Writer*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        writer->bytes.insert(writer->bytes.end(), data, data + count);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    // Jumped out of only after the handler has ended.
    if (!stored) {
        writer->outOfMemory = true;
        png_error(png, "out of memory");
    }
}

void FlushNothing(png_structp) {}

void OnError(png_structp png, png_const_charp message) {
    static_cast<Writer*>(png_get_error_ptr(png))->reason = message;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Black text on white, or a grey photo in colour, needs a third of the bytes as grey.
bool EveryPixelIsGrey(std::span<const std::uint8_t> rgb) {
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        if (rgb[i] != rgb[i + 1] || rgb[i] != rgb[i + 2])
            return false;
    return true;
}

// `greyRow` is width bytes for a grey picture, empty otherwise (taken before the library can
// jump out of here).
bool WritePicture(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
                  const std::uint8_t* rgb, std::vector<std::uint8_t>& greyRow) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    const bool grey = !greyRow.empty();
    png_set_IHDR(png, info, width, height, 8, grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    // Text art is mostly the page's white in long runs: unfiltered rows at the lightest
    // compression write a 400 x 300-cell colour page a fifth faster than the library's own
    // quick setting, and no larger.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    const std::size_t rowBytes = std::size_t{width} * 3;
    for (png_uint_32 y = 0; y < height; ++y) {
        const std::uint8_t* row = rgb + rowBytes * y;
        if (!grey) {
            png_write_row(png, row);
            continue;
        }
        for (png_uint_32 x = 0; x < width; ++x)
            greyRow[x] = row[3 * x];
        png_write_row(png, greyRow.data());
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodePNG(std::int32_t width, std::int32_t height,
                                    std::span<const std::uint8_t> rgb) {
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > platform::kMaxPicturePixels)
        throw toolkit::EOutOfMemory();
    const std::size_t pixelBytes =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    if (rgb.size() < pixelBytes)
        throw EPNG("too few pixels");
    rgb = rgb.first(pixelBytes);
    std::vector<std::uint8_t> greyRow;
    if (EveryPixelIsGrey(rgb))
        greyRow.resize(static_cast<std::size_t>(width));

    Writer writer;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &writer, OnError, OnWarning);
    if (!png)
        throw toolkit::EOutOfMemory();
    png_infop info = png_create_info_struct(png);
    struct Release {
        png_structp png;
        png_infop info;
        ~Release() { png_destroy_write_struct(&png, info ? &info : nullptr); }
    } release{png, info};
    if (!info)
        throw toolkit::EOutOfMemory();
    png_set_write_fn(png, &writer, WriteBytes, FlushNothing);
    if (!WritePicture(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                      rgb.data(), greyRow)) {
        if (writer.outOfMemory)
            throw toolkit::EOutOfMemory();
        throw EPNG(writer.reason);
    }
    return std::move(writer.bytes);
}

} // namespace image
