#include "image/png/PNGDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <png.h>

#include "platform/gfx/Dib.h"

namespace image {
namespace {

// Deflate cannot expand data by more than about 1032 times; rows needing more bytes than that
// cannot be in the file, whatever its header claims.
constexpr std::uint64_t kMaxInflateRatio = 1032;
constexpr png_uint_32 kMaxSide = 1u << 20;

struct Reader {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    char reason[160] = {};
};

void ReadBytes(png_structp png, png_bytep out, std::size_t count) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->position)
        png_error(png, "the file ends early");
    std::memcpy(out, reader->data + reader->position, count);
    reader->position += count;
}

void OnError(png_structp png, png_const_charp message) {
    auto* reader = static_cast<Reader*>(png_get_error_ptr(png));
    std::snprintf(reader->reason, sizeof reader->reason, "%s", message ? message : "");
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// One decoded row (3 or 4 bytes per pixel, blue first) into a target row, alpha over white.
void StoreRow(const std::uint8_t* in, std::uint8_t* out, png_uint_32 width, int channels) {
    if (channels == 3) {
        std::memcpy(out, in, std::size_t{width} * 3);
        return;
    }
    for (png_uint_32 x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned alpha = in[3];
        for (int c = 0; c < 3; ++c)
            out[c] = static_cast<std::uint8_t>((in[c] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
}

// Everything between setjmp and the library's longjmp lives here, with no object that needs
// destroying created after setjmp; the buffer is the caller's. Answers false with the reason in
// the reader when the library gave up.
bool ReadPicture(png_structp png, png_infop info, Reader& reader, TJPEGTarget& target,
                 std::vector<std::uint8_t>& buffer) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_read_fn(png, &reader, ReadBytes);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    if (std::uint64_t{width} * height > static_cast<std::uint64_t>(platform::kMaxPicturePixels))
        png_error(png, "the picture is too large");
    const std::uint64_t fileRowBytes =
        (std::uint64_t{width} * png_get_channels(png, info) * static_cast<unsigned>(bitDepth) + 7) /
            8 +
        1;
    if (fileRowBytes * height > reader.size * kMaxInflateRatio)
        png_error(png, "the picture is larger than its data could hold");

    png_set_expand(png);   // palette to colours, grey below 8 bits to bytes, tRNS to alpha
    png_set_scale_16(png); // 16-bit channels to 8
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    const int channels = png_get_channels(png, info);
    if ((channels != 3 && channels != 4) || rowBytes < std::size_t{width} * channels)
        png_error(png, "unexpected pixel layout");

    target.SetFormat(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), 24);
    if (passes == 1) {
        buffer.resize(rowBytes);
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, buffer.data(), nullptr);
            StoreRow(buffer.data(), target.ScanLine(static_cast<std::int32_t>(y)), width, channels);
        }
    } else {
        // Interlaced rows are only whole after the last pass.
        buffer.resize(rowBytes * height);
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < height; ++y)
                png_read_row(png, buffer.data() + rowBytes * y, nullptr);
        for (png_uint_32 y = 0; y < height; ++y)
            StoreRow(buffer.data() + rowBytes * y, target.ScanLine(static_cast<std::int32_t>(y)),
                     width, channels);
    }
    png_read_end(png, nullptr);
    return true;
}

} // namespace

void DecodePNG(std::span<const std::uint8_t> data, TJPEGTarget& target) {
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0)
        throw EPNG("not a PNG file");
    Reader reader;
    reader.data = data.data();
    reader.size = data.size();
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, OnError, OnWarning);
    if (!png)
        throw toolkit::EOutOfMemory();
    png_infop info = png_create_info_struct(png);
    struct Release {
        png_structp png;
        png_infop info;
        ~Release() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
    } release{png, info};
    if (!info)
        throw toolkit::EOutOfMemory();
    std::vector<std::uint8_t> buffer;
    if (!ReadPicture(png, info, reader, target, buffer))
        throw EPNG(reader.reason);
}

} // namespace image
