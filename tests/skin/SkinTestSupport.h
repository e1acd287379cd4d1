#pragma once
// Helpers for skin tests: packing containers, writing small bitmaps, temporary skin folders.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "tests/support/TempFolder.h"

namespace skintest {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& text);
Bytes Deflate(const Bytes& data);
void PutI32(Bytes& out, std::int32_t value);

struct Member {
    std::string name;
    Bytes data;
};
// A well-formed "ASzf" container.
Bytes Pack(const std::vector<Member>& members);

// A 24-bit bottom-up bitmap file of the given size, every pixel the given colour.
Bytes Bitmap24(int width, int height, platform::Color fill);
// A baseline colour JPEG of the given size, every pixel near the given colour.
Bytes Jpeg(int width, int height, platform::Color fill);

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder : public charvane::testing::TempFolder {
public:
    TempFolder() : charvane::testing::TempFolder("charvane-skin") {}
    void Write(const std::string& relative, const Bytes& data) const;
    void Write(const std::string& relative, const std::string& text) const;
    void MakeFolder(const std::string& relative) const;
};

} // namespace skintest
