#include "SkinTestSupport.h"

#include <fstream>
#include <random>

#include <zlib.h>

namespace skintest {

Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Deflate(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    compress(out.data(), &size, data.data(), static_cast<uLong>(data.size()));
    out.resize(size);
    return out;
}

void PutI32(Bytes& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes Pack(const std::vector<Member>& members) {
    Bytes out = ToBytes("ASzf");
    PutI32(out, static_cast<std::int32_t>(members.size()));
    for (const Member& m : members) {
        PutI32(out, static_cast<std::int32_t>(m.name.size()));
        out.insert(out.end(), m.name.begin(), m.name.end());
        PutI32(out, static_cast<std::int32_t>(m.data.size()));
        const Bytes packed = Deflate(m.data);
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

Bytes Bitmap24(int width, int height, platform::Color fill) {
    const int row = (width * 3 + 3) & ~3;
    Bytes out = ToBytes("BM");
    PutI32(out, 54 + row * height);
    PutI32(out, 0);
    PutI32(out, 54);
    PutI32(out, 40);
    PutI32(out, width);
    PutI32(out, height);
    out.push_back(1), out.push_back(0), out.push_back(24), out.push_back(0);
    for (int i = 0; i < 6; ++i)
        PutI32(out, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out.push_back(platform::GetBValue(fill));
            out.push_back(platform::GetGValue(fill));
            out.push_back(platform::GetRValue(fill));
        }
        for (int pad = width * 3; pad < row; ++pad)
            out.push_back(0);
    }
    return out;
}

Bytes JpegHeader(int width, int height) {
    return Bytes{0xFF,
                 0xD8,
                 0xFF,
                 0xE0,
                 0x00,
                 0x04,
                 0x00,
                 0x00,
                 0xFF,
                 0xC0,
                 0x00,
                 0x11,
                 0x08,
                 static_cast<std::uint8_t>(height >> 8),
                 static_cast<std::uint8_t>(height),
                 static_cast<std::uint8_t>(width >> 8),
                 static_cast<std::uint8_t>(width),
                 0x03,
                 0x01,
                 0x22,
                 0x00,
                 0x02,
                 0x11,
                 0x01,
                 0x03,
                 0x11,
                 0x01,
                 0xFF,
                 0xD9};
}

TempFolder::TempFolder() {
    std::random_device seed;
    m_path = std::filesystem::temp_directory_path() /
             ("charvane-skin-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void TempFolder::Write(const std::string& relative, const Bytes& data) const {
    const auto path = m_path / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
}

void TempFolder::Write(const std::string& relative, const std::string& text) const {
    Write(relative, ToBytes(text));
}

void TempFolder::MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(m_path / relative);
}

} // namespace skintest
