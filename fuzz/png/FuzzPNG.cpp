// Any bytes must either decode or fail with the picture's own error (EPNG); nothing else may
// escape, crash, leak or take unbounded memory. A picture that fails to load must keep the
// picture it held, and one that loads must hold exactly the decoded rows.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/DIB.h"
#include "image/jpeg/TDecodedPicture.h"
#include "image/png/PNGDecoder.h"
#include "image/png/TPNGImage.h"
#include "toolkit/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    image::TDecodedPicture decoded;
    bool failed = false;
    try {
        image::DecodePNG(bytes, decoded);
    } catch (const image::EPNG&) {
        failed = true;
    }

    image::TPNGImage png;
    png.SetSize(2, 1, 24);
    png.ScanLine(0)[0] = 0x5A;
    bool loadFailed = false;
    try {
        toolkit::TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
        png.LoadFromStream(stream);
    } catch (const image::EPNG&) {
        loadFailed = true;
    }
    if (failed != loadFailed)
        __builtin_trap();
    if (failed) {
        if (png.Width() != 2 || png.Height() != 1 || png.ScanLine(0)[0] != 0x5A)
            __builtin_trap();
        return 0;
    }
    if (png.Width() != decoded.Width() || png.Height() != decoded.Height() || png.BitCount() != 24)
        __builtin_trap();
    for (std::int32_t y = 0; y < png.Height(); ++y)
        for (std::int32_t x = 0; x < png.Width(); ++x)
            if (png.Pixels(x, y) != decoded.Pixel(x, y))
                __builtin_trap();
    return 0;
}
