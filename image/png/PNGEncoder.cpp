#include "image/png/PNGEncoder.h"

#include <png.h>

#include "image/png/PNGDecoder.h"
#include "platform/gfx/Dib.h"
#include "toolkit/Exceptions.h"

namespace image {

std::vector<std::uint8_t> EncodePNG(std::int32_t width, std::int32_t height,
                                    std::span<const std::uint8_t> rgb) {
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > platform::kMaxPicturePixels)
        throw toolkit::EOutOfMemory();
    if (rgb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)
        throw EPNG("too few pixels");
    png_image picture{};
    picture.version = PNG_IMAGE_VERSION;
    picture.width = static_cast<png_uint_32>(width);
    picture.height = static_cast<png_uint_32>(height);
    picture.format = PNG_FORMAT_RGB;
    // The first call measures, the second writes.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&picture, nullptr, &size, 0, rgb.data(), 0, nullptr))
        throw EPNG(picture.message);
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&picture, bytes.data(), &size, 0, rgb.data(), 0, nullptr))
        throw EPNG(picture.message);
    bytes.resize(size);
    return bytes;
}

} // namespace image
