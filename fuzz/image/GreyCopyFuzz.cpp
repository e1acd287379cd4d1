// The sampled grey copy against the window's route on arbitrary bytes: both must give the same
// pixels or the same failure, and neither may crash. The kind is chosen by the first bytes, as
// for a picture read from standard input.
// Run: fuzz_grey_copy -max_len=4096 -max_total_time=600 <scratch> fuzz/image/corpus
// fuzz/jpeg/corpus

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/DIB.h"
#include "image/GreyCopy.h"
#include "image/PictureFile.h"
#include "image/jpeg/TJPEGImage.h"
#include "image/png/TPNGImage.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Streams.h"

namespace {

struct Outcome {
    std::string failure;
    std::vector<std::uint8_t> grey;
};

void LoadWhole(image::TDIB& picture, const std::vector<std::uint8_t>& bytes) {
    toolkit::TMemoryStream stream(bytes);
    const bool jpeg = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
    const bool png = bytes.size() >= 4 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' &&
                     bytes[3] == 'G';
    if (png) {
        image::TPNGImage graphic;
        graphic.LoadFromStream(stream);
        picture.Assign(&graphic);
    } else if (jpeg) {
        image::TJPEGImage graphic;
        graphic.LoadFromStream(stream);
        picture.Assign(&graphic);
    } else {
        picture.LoadFromStream(stream);
    }
}

Outcome Whole(const std::vector<std::uint8_t>& bytes, std::int32_t w, std::int32_t h) {
    Outcome outcome;
    try {
        image::TDIB picture;
        LoadWhole(picture, bytes);
        image::TDIB grey;
        image::DrawGreyCopy(picture, grey, w, h);
        const platform::PixelRows rows = grey.Image().Rows();
        for (std::int32_t y = 0; y < rows.height; ++y)
            outcome.grey.insert(outcome.grey.end(), rows.Row(y), rows.Row(y) + rows.width);
    } catch (const toolkit::Exception& e) {
        outcome.failure = e.Message();
    }
    return outcome;
}

Outcome Sampled(const std::vector<std::uint8_t>& bytes, std::int32_t w, std::int32_t h) {
    Outcome outcome;
    try {
        const auto picture = image::TSampledPicture::OpenBytes(bytes);
        image::TGreyCopy grey;
        picture->DrawGreyCopy(w, h, grey);
        outcome.grey = grey.pixels;
    } catch (const toolkit::Exception& e) {
        outcome.failure = e.Message();
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    // Keep the work per input small: huge but valid pictures are not what this looks for.
    try {
        const auto picture = image::TSampledPicture::OpenBytes(bytes);
        if (std::int64_t{picture->Width()} * picture->Height() > (1 << 20))
            return 0;
    } catch (const toolkit::Exception&) {
    }
    for (const auto [w, h] :
         {std::pair{7, 5}, std::pair{1, 1}, std::pair{40, 3}, std::pair{0, 4}}) {
        const Outcome whole = Whole(bytes, w, h);
        const Outcome sampled = Sampled(bytes, w, h);
        if (whole.failure != sampled.failure || whole.grey != sampled.grey)
            std::abort();
    }
    return 0;
}
