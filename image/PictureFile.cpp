#include "image/PictureFile.h"

#include "image/jpeg.h"
#include "image/png/TPNGImage.h"
#include "platform/gfx/Dib.h"
#include "toolkit/Exceptions.h"

namespace image {

void LoadPictureFile(TDIB& target, const std::string& fileName) {
    switch (PictureKindOfFile(fileName)) {
    case PictureKind::Png: {
        TPNGImage png;
        png.LoadFromFile(fileName);
        target.Assign(&png);
        return;
    }
    case PictureKind::Jpeg: {
        TJPEGImage jpeg;
        jpeg.LoadFromFile(fileName);
        target.Assign(&jpeg);
        return;
    }
    case PictureKind::Bitmap:
        target.LoadFromFile(fileName);
        return;
    }
}

void DrawGreyCopy(TDIB& source, TDIB& grey, std::int32_t w, std::int32_t h) {
    // A width far beyond the picture would otherwise fail one way or another depending on
    // whether its byte size still fits the header: the user asked for too much either way.
    if (w > 0 && h > 0 && std::int64_t{w} * h > platform::kMaxPicturePixels)
        throw toolkit::EOutOfMemory();
    grey.SetSize(w, h, 8);
    grey.Canvas().StretchDraw({0, 0, w, h}, source);
}

std::vector<std::uint8_t> DrawColorCopy(TDIB& source, std::int32_t w, std::int32_t h) {
    if (w > 0 && h > 0 && std::int64_t{w} * h > platform::kMaxPicturePixels)
        throw toolkit::EOutOfMemory();
    TDIB copy;
    copy.SetSize(w, h, 24);
    copy.Canvas().StretchDraw({0, 0, w, h}, source);
    const platform::PixelRows rows = copy.Image().Rows();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
    std::uint8_t* out = rgb.data();
    for (std::int32_t y = 0; y < h; ++y) {
        const std::uint8_t* pixel = rows.Row(y);
        for (std::int32_t x = 0; x < w; ++x, pixel += 3) {
            *out++ = pixel[2];
            *out++ = pixel[1];
            *out++ = pixel[0];
        }
    }
    return rgb;
}

} // namespace image
