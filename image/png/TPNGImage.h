#pragma once
// TPNGImage: a PNG picture, held as a 24-bit TDIB once loaded (see PNGDecoder.h for what is read
// and how). Loading is all or nothing: a file that fails to decode leaves the picture as it was.
// The program writes no PNG files: saving raises EInvalidGraphicOperation "PNG pictures cannot
// be saved" rather than writing bitmap bytes under a PNG name.
//
// The class is registered with the picture registry for the extension "png" ("PNG Image File"),
// so the open dialog lists and previews PNG files.

#include "image/TDIB.h"

namespace image {

class TPNGImage : public TDIB {
public:
    std::string ClassName() const override { return "TPNGImage"; }

    void LoadFromStream(toolkit::TStream& stream) override;
    void SaveToStream(toolkit::TStream& stream) override;
};

} // namespace image
