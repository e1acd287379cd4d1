// Any bytes must either decode or fail with the picture's own error (EJPEG); nothing else may
// escape, crash, leak or take unbounded memory. Entering a TDIB must give the decoded pixels.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/DIB.h"
#include "image/jpeg.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Streams.h"

namespace {

// As the main window opens a JPEG file: a TDIB assigned from the undecoded picture, which
// decodes straight into the TDIB's rows. Whatever happens, the TDIB must hold exactly the
// decoded bitmap's colours, or be black at the picture's size after a failure.
void EnterATDIB(const std::uint8_t* data, std::size_t size, toolkit::TBitmap* decoded) {
    image::TJPEGImage jpeg;
    image::TDIB dib;
    bool failed = false;
    try {
        toolkit::TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
        jpeg.LoadFromStream(stream);
        dib.Assign(&jpeg);
    } catch (const toolkit::Exception&) {
        failed = true;
    }
    if (dib.Empty())
        return;
    // Both routes decode the same bytes alike: they fail together or not at all.
    if (dib.BitCount() != 24 || failed != (decoded == nullptr))
        __builtin_trap();
    for (std::int32_t y = 0; y < dib.Height(); ++y) {
        for (std::int32_t x = 0; x < dib.Width(); ++x) {
            const std::uint32_t pixel = dib.Pixels(x, y);
            if (failed) {
                if (pixel != 0)
                    __builtin_trap();
            } else if (decoded != nullptr && decoded->BitCount() == 24) {
                const std::uint8_t* p = decoded->ScanLine(y) + 3 * x;
                if (pixel != platform::RGB(p[2], p[1], p[0]))
                    __builtin_trap();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // As the program uses it: load (header only), then decode into a toolkit bitmap.
    image::TJPEGImage jpeg;
    toolkit::TBitmap* decoded = nullptr;
    try {
        toolkit::TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
        jpeg.LoadFromStream(stream);
        decoded = &jpeg.Bitmap();
    } catch (const image::EJPEG&) {
    }
    // Keep the work per input small: the same refusals hold for large pictures.
    if (std::int64_t{jpeg.Image().Width()} * jpeg.Image().Height() <= (1 << 20))
        EnterATDIB(data, size, decoded);
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
