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

} // namespace image
