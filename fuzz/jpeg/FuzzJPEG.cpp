// Any bytes must either decode or fail with the picture's own error (EJPEG); nothing else may
// escape, crash, leak or take unbounded memory.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/jpeg.h"
#include "toolkit/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // As the program uses it: load (header only), then decode into a toolkit bitmap.
    try {
        image::TJPEGImage jpeg;
        toolkit::TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
        jpeg.LoadFromStream(stream);
        jpeg.Bitmap();
    } catch (const image::EJPEG&) {
    }
    // Odd sizes also take the pass-by-pass path with quantised, scaled output, so both decoding
    // loops and both quantisers see the same inputs.
    if (size % 2 == 1) {
        image::TJPEGDecodeSettings settings;
        settings.IncrementalDisplay = true;
        settings.OutputDepth = image::TJPEGOutputDepth::Bits8;
        settings.DecodeScale = static_cast<std::uint8_t>(size % 4);
        try {
            image::TDecodedPicture picture;
            image::DecodeJPEG(std::span<const std::uint8_t>(data, size), settings, picture);
        } catch (const image::EJPEG&) {
        }
    }
    return 0;
}
