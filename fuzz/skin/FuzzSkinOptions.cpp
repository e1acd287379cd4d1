// Any bytes as the options text of a stored skin whose container also holds a small master
// bitmap: the model is built, re-coloured and searched, or loading ends with the system's own
// error (conversion, division by zero).

#include <cstddef>
#include <cstdint>
#include <vector>

#include <zlib.h>

#include "skin/sSkinManager.h"
#include "toolkit/Exceptions.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutI32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void AddMember(Bytes& out, const std::string& name, const Bytes& data) {
    PutI32(out, static_cast<std::uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    PutI32(out, static_cast<std::uint32_t>(data.size()));
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes packed(size);
    compress(packed.data(), &size, data.data(), static_cast<uLong>(data.size()));
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size));
}

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
