#pragma once
// Builds bitmap files byte by byte for the reader's tests.

#include <cstdint>
#include <vector>

namespace testbmp {

struct Bytes {
    std::vector<std::uint8_t> data;
    Bytes& U8(std::uint32_t v) {
        data.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Bytes& U16(std::uint32_t v) { return U8(v).U8(v >> 8); }
    Bytes& U32(std::uint32_t v) { return U16(v).U16(v >> 16); }
    Bytes& Raw(const std::vector<std::uint8_t>& bytes) {
        data.insert(data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Bytes& Zeros(std::size_t n) {
        data.insert(data.end(), n, 0);
        return *this;
    }
};

inline Bytes FileHeader() {
    return Bytes().U16(0x4D42).U32(0).U32(0).U32(0);
}

struct Info {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint32_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
};

// File header and 40-byte information header.
inline Bytes InfoFile(const Info& info) {
    Bytes b = FileHeader();
    b.U32(40)
        .U32(static_cast<std::uint32_t>(info.width))
        .U32(static_cast<std::uint32_t>(info.height));
    b.U16(1).U16(info.bitCount).U32(info.compression).U32(info.sizeImage);
    b.U32(0).U32(0).U32(info.colorsUsed).U32(0);
    return b;
}

} // namespace testbmp
