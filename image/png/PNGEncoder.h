#pragma once
// Writing a PNG picture into memory through the PNG library: 8-bit red, green, blue pixels,
// rows top first, each width * 3 bytes. A picture whose every pixel is grey is written as a grey
// PNG (the same pixels in a third of the bytes). Nothing above this file sees the library's
// types.
//
// Errors: a picture of no pixels, or of more than platform::kMaxPicturePixels, raises
// EOutOfMemory before the library is asked; a failure inside the library raises EPNG with its
// reason.

#include <cstdint>
#include <span>
#include <vector>

namespace image {

std::vector<std::uint8_t> EncodePNG(std::int32_t width, std::int32_t height,
                                    std::span<const std::uint8_t> rgb);

} // namespace image
