// Feeds arbitrary bytes to the bitmap reader, then uses whatever it read the way the program
// does: pixels, a stretched grey drawing (which decodes RLE data itself), and saving.
// Run: fuzz_bitmap_reader -max_len=4096 -max_total_time=60 fuzz/image/corpus

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/DIB.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    image::TDIB dib;
    try {
        toolkit::TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
        dib.LoadFromStream(stream);
    } catch (const toolkit::Exception&) {
        return 0;
    }
    if (dib.Empty())
        return 0;
    // Keep the work per input small: huge but valid pictures are not what this looks for.
    if (static_cast<std::int64_t>(dib.Width()) * dib.Height() > (1 << 20))
        return 0;
    try {
        image::TDIB scratch;
        scratch.SetSize(7, 5, 8);
        scratch.Canvas().StretchDraw({0, 0, 7, 5}, dib);
        toolkit::TMemoryStream out;
        dib.SaveToStream(out);
        dib.Pixels(dib.Width() - 1, 0);
        dib.Pixels(0, dib.Height() - 1);
    } catch (const toolkit::Exception&) {
    }
    return 0;
}
