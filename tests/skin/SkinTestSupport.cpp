#include "SkinTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include <jpeglib.h>
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

Bytes Jpeg(int width, int height, platform::Color fill) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row;
    for (int x = 0; x < width; ++x)
        row.insert(row.end(), {platform::GetRValue(fill), platform::GetGValue(fill),
                               platform::GetBValue(fill)});
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

void TempFolder::Write(const std::string& relative, const Bytes& data) const {
    const auto path = Path() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
}

void TempFolder::Write(const std::string& relative, const std::string& text) const {
    Write(relative, ToBytes(text));
}

void TempFolder::MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(Path() / relative);
}

} // namespace skintest
