// Any bytes as the options text of a stored skin whose container also holds a small master
// bitmap: the model is built, re-coloured and searched, or loading ends with the system's own
// error (conversion, division by zero).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/skin/PackedSkinWriter.h"
#include "skin/sSkinManager.h"
#include "toolkit/Exceptions.h"

namespace {

using fuzzskin::Bytes;

using fuzzskin::AddMember;
using fuzzskin::PutI32;

// A 16 × 8 bitmap of coloured stripes, magenta and grey among them.
Bytes Master() {
    Bytes bmp{'B', 'M'};
    PutI32(bmp, 54 + 16 * 3 * 8);
    PutI32(bmp, 0);
    PutI32(bmp, 54);
    PutI32(bmp, 40);
    PutI32(bmp, 16);
    PutI32(bmp, 8);
    PutI32(bmp, 1 | 24 << 16);
    for (int i = 0; i < 6; ++i)
        PutI32(bmp, 0);
    for (int p = 0; p < 16 * 8; ++p) {
        const std::uint8_t stripes[4][3] = {
            {255, 0, 255}, {90, 90, 90}, {200, 120, 40}, {0, 0, 255}};
        const auto* c = stripes[p % 4];
        bmp.insert(bmp.end(), {c[0], c[1], c[2]});
    }
    return bmp;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Bytes master = Master();
    Bytes container{'A', 'S', 'z', 'f'};
    PutI32(container, 2);
    AddMember(container, "Options.dat", Bytes(data, data + size));
    AddMember(container, "Master.bmp", master);

    skin::TsSkinManager manager;
    auto& item = manager.InternalSkins().Add();
    item.Name = "Fuzz";
    item.Data().WriteBuffer(container.data(), container.size());
    try {
        manager.SetSkinName("Fuzz");
        manager.SetHueOffset(77);
        manager.SetSaturation(-40);
        for (const auto& section : manager.gd()) {
            const auto index = manager.FindSectionIndex(section.ClassName);
            const auto piece = manager.FindPieceIndex(index, section.ClassName, "BORDERSMASK");
            manager.FindTextureIndex(index, section.ClassName, "PATTERN");
            manager.FindPatternIndex(index, section.ClassName, "PATTERN");
            if (piece >= 0) {
                manager.GetStateImageSize(piece);
                manager.GetMaskWidthLeft(piece);
                manager.GetMaskWidthTop(piece);
            }
        }
    } catch (const toolkit::Exception&) {
    }
    return 0;
}
