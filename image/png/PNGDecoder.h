#pragma once
// Decoding a whole PNG picture held in memory (PNGEncoder.h writes them). Nothing above these
// files sees the library's types or its longjmp-based error handling.
//
// Output: the target gets SetFormat(width, height, 24) and then every row, top row first, in
// blue, green, red bytes. Palette, grey, 16-bit and interlaced pictures are turned into that by
// the library's own transforms; transparency (an alpha channel or a transparent colour) is
// composed over white, as the picture would look on a white page.
//
// Errors: anything that is not a complete, sound PNG picture raises EPNG "Invalid PNG picture
// (%s)" with the library's reason ("IHDR: CRC error", "the file ends early", ...). Warnings
// about ancillary chunks are ignored, as any viewer does.
//
// Limits: a picture of more than 2^28 pixels, or one whose rows need more bytes than its
// compressed data could ever expand to, is refused with EPNG before any pixel memory is taken,
// so a few hundred bytes cannot make us allocate gigabytes. Ancillary chunks are held to the
// library's size limits.

#include <cstdint>
#include <span>
#include <string_view>

#include "image/jpeg/JPEGDecoder.h"
#include "toolkit/Exceptions.h"

namespace image {

class EPNG : public toolkit::EInvalidGraphic {
public:
    explicit EPNG(std::string_view reason)
        : EInvalidGraphic(toolkit::Format("Invalid PNG picture (%s)", {reason})) {}
};

// The decoders share their row target (see JPEGDecoder.h); PNG output is always 24-bit.
void DecodePNG(std::span<const std::uint8_t> data, TJPEGTarget& target);

} // namespace image
