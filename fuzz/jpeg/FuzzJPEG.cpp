// Any bytes must either decode or fail with the picture's own error; nothing else may escape,
// crash, leak or take unbounded memory.

#include <cstddef>
#include <cstdint>
#include <span>

#include "image/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        image::ReadJPEGHeader(bytes);
    } catch (const image::EJPEG&) {
    }
    // Odd sizes also take the pass-by-pass path with quantised output, so both decoding loops
    // and both quantisers see the same inputs.
    image::TJPEGDecodeSettings settings;
    if (size % 2 == 1) {
        settings.IncrementalDisplay = true;
        settings.OutputDepth = image::TJPEGOutputDepth::Bits8;
        settings.DecodeScale = static_cast<std::uint8_t>(size % 4);
    }
    try {
        image::TDecodedPicture picture;
        image::DecodeJPEG(bytes, settings, picture);
    } catch (const image::EJPEG&) {
    }
    return 0;
}
