#include "JPEGMaker.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace testjpeg {

std::vector<std::uint8_t> MakeJPEG(int width, int height, const PixelFunction& pixel,
                                   const Recipe& recipe) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    switch (recipe.kind) {
    case Kind::Color:
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        break;
    case Kind::Gray:
        info.input_components = 1;
        info.in_color_space = JCS_GRAYSCALE;
        break;
    case Kind::CMYK:
    case Kind::YCCK:
        info.input_components = 4;
        info.in_color_space = JCS_CMYK;
        break;
    case Kind::TwoComponents:
        info.input_components = 2;
        info.in_color_space = JCS_UNKNOWN;
        break;
    }
    jpeg_set_defaults(&info);
    if (recipe.kind == Kind::YCCK) {
        jpeg_set_colorspace(&info, JCS_YCCK);
    }
    jpeg_set_quality(&info, recipe.quality, TRUE);
    if (recipe.kind == Kind::Color) {
        info.comp_info[0].h_samp_factor = recipe.samplingH;
        info.comp_info[0].v_samp_factor = recipe.samplingV;
    }
    info.restart_interval = static_cast<unsigned>(recipe.restartInterval);
    if (recipe.progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * info.input_components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const platform::Color c = pixel(x, y);
            JSAMPLE* p = &row[static_cast<std::size_t>(x) * info.input_components];
            const auto r = platform::GetRValue(c), g = platform::GetGValue(c),
                       b = platform::GetBValue(c);
            switch (recipe.kind) {
            case Kind::Color:
                p[0] = r, p[1] = g, p[2] = b;
                break;
            case Kind::Gray:
                p[0] = static_cast<JSAMPLE>((r + g + b) / 3);
                break;
            case Kind::CMYK:
            case Kind::YCCK:
                // Stored inverted, as the common editors write CMYK with an Adobe marker: no
                // black ink (inverted 255) and the inverted inks equal the light left over.
                p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
                break;
            case Kind::TwoComponents:
                p[0] = r, p[1] = g;
                break;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

platform::Color Gradient(int x, int y, int width, int height) {
    const auto r = static_cast<std::uint8_t>(255 * x / std::max(width - 1, 1));
    const auto b = static_cast<std::uint8_t>(255 * y / std::max(height - 1, 1));
    return platform::RGB(r, static_cast<std::uint8_t>((r + b) / 2), b);
}

long FindMarker(const std::vector<std::uint8_t>& data, std::uint8_t code, std::size_t from) {
    for (std::size_t i = from; i + 1 < data.size(); ++i) {
        if (data[i] == 0xFF && data[i + 1] == code) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

int ColorDistance(platform::Color a, platform::Color b) {
    return std::max({std::abs(platform::GetRValue(a) - platform::GetRValue(b)),
                     std::abs(platform::GetGValue(a) - platform::GetGValue(b)),
                     std::abs(platform::GetBValue(a) - platform::GetBValue(b))});
}

platform::Color RedOverBlue(int, int y, int height) {
    return y < height / 2 ? platform::RGB(220, 20, 20) : platform::RGB(20, 20, 220);
}

} // namespace testjpeg
