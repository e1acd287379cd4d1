#include "image/PictureFile.h"

#include "image/jpeg.h"
#include "image/png/TPNGImage.h"
#include "platform/gfx/Dib.h"
#include "toolkit/Exceptions.h"

namespace image {

void LoadPictureFile(TDIB& target, const std::string& fileName) {
    if (IsPngFileName(fileName)) {
        TPNGImage png;
        png.LoadFromFile(fileName);
        target.Assign(&png);
        return;
    }
    if (!IsJpegFileName(fileName)) {
        target.LoadFromFile(fileName);
        return;
    }
    TJPEGImage jpeg;
    jpeg.LoadFromFile(fileName);
    target.Assign(&jpeg);
}

void DrawGreyCopy(TDIB& source, TDIB& grey, std::int32_t w, std::int32_t h) {
    // A width far beyond the picture would otherwise fail one way or another depending on
    // whether its byte size still fits the header: the user asked for too much either way.
    if (w > 0 && h > 0 && std::int64_t{w} * h > platform::kMaxPicturePixels)
        throw toolkit::EOutOfMemory();
    grey.SetSize(w, h, 8);
    grey.Canvas().StretchDraw({0, 0, w, h}, source);
}

} // namespace image
