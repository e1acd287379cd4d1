// Writing packed skin members for the skin fuzz targets: each member is its name and its
// unpacked size, both with 32-bit little-endian lengths, then its data deflated by zlib.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <zlib.h>

namespace fuzzskin {

using Bytes = std::vector<std::uint8_t>;

inline void PutI32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void AddMember(Bytes& out, const std::string& name, const Bytes& data) {
    PutI32(out, static_cast<std::uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    PutI32(out, static_cast<std::uint32_t>(data.size()));
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes packed(size);
    compress(packed.data(), &size, data.data(), static_cast<uLong>(data.size()));
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size));
}

} // namespace fuzzskin
