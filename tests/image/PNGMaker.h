#pragma once
// Test pictures made at test time with the PNG library's writing half (the program itself never
// writes PNG). Samples come from a function of the pixel position (y = 0 at the top) and the
// channel, in the range of the bit depth: grey, or red, green, blue, alpha; palette indexes.

#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

#include <png.h>
#include <zlib.h>

namespace testpng {

struct Recipe {
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;    // PNG_COLOR_TYPE_PALETTE
    std::vector<png_byte> transparent; // tRNS alphas of the palette entries
};

using SampleFunction = std::function<unsigned(int x, int y, int channel)>;

inline std::vector<std::uint8_t> MakePNG(int width, int height, const SampleFunction& sample,
                                         const Recipe& recipe = {}) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("the PNG library refused the test picture");
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, std::size_t n) {
            auto* bytes = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
            bytes->insert(bytes->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 recipe.bitDepth, recipe.colorType,
                 recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!recipe.palette.empty())
        png_set_PLTE(png, info, recipe.palette.data(), static_cast<int>(recipe.palette.size()));
    if (!recipe.transparent.empty())
        png_set_tRNS(png, info, recipe.transparent.data(),
                     static_cast<int>(recipe.transparent.size()), nullptr);
    png_write_info(png, info);
    if (recipe.bitDepth < 8)
        png_set_packing(png); // one sample per byte on our side
    const int channels = png_get_channels(png, info);
    const int sampleBytes = recipe.bitDepth == 16 ? 2 : 1;
    std::vector<std::vector<png_byte>> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        std::vector<png_byte>& row = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                const unsigned value = sample(x, y, c);
                if (sampleBytes == 2)
                    row.push_back(static_cast<png_byte>(value >> 8));
                row.push_back(static_cast<png_byte>(value));
            }
    }
    std::vector<png_bytep> pointers;
    for (auto& row : rows)
        pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Rewrites the size in the header chunk (with a correct checksum), as a hostile file would.
inline void SetHeaderSize(std::vector<std::uint8_t>& png, std::uint32_t width,
                          std::uint32_t height) {
    auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            png[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    put(16, width);
    put(20, height);
    // The checksum covers the chunk type and its 13 data bytes.
    put(29, static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17)));
}

} // namespace testpng
