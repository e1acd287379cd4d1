#include "Raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <map>
#include <stdexcept>

#include <jpeglib.h>

namespace skinpack {
namespace {

std::uint8_t Clamp(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

void PutU16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

} // namespace

Rgb FromColorRef(std::uint32_t color) {
    return {static_cast<std::uint8_t>(color), static_cast<std::uint8_t>(color >> 8),
            static_cast<std::uint8_t>(color >> 16)};
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {Clamp(a.r + (b.r - a.r) * t), Clamp(a.g + (b.g - a.g) * t),
            Clamp(a.b + (b.b - a.b) * t)};
}

Raster::Raster(int width, int height, Rgb fill)
    : m_width(width), m_height(height),
      m_pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

void Raster::Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[Index(x, y)] = c;
}

void Raster::Fill(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = std::max(y0, 0); y < std::min(y1, m_height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, m_width); ++x)
            m_pixels[Index(x, y)] = c;
}

void Raster::VerticalGradient(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom) {
    for (int y = y0; y < y1; ++y) {
        const double t = y1 - y0 > 1 ? static_cast<double>(y - y0) / (y1 - y0 - 1) : 0;
        Fill(x0, y, x1, y + 1, Mix(top, bottom, t));
    }
}

void Raster::RoundBox(int x0, int y0, int x1, int y1, double radius, Rgb edge, Rgb top,
                      Rgb bottom) {
    for (int y = y0; y < y1; ++y) {
        const double t = y1 - y0 > 1 ? static_cast<double>(y - y0) / (y1 - y0 - 1) : 0;
        for (int x = x0; x < x1; ++x) {
            // Distance from the pixel centre to the rounded outline's inner rectangle.
            const double cx = std::clamp(x + 0.5, x0 + radius, x1 - radius);
            const double cy = std::clamp(y + 0.5, y0 + radius, y1 - radius);
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d > radius)
                continue;
            const bool onEdge = d > radius - 1 || x == x0 || y == y0 || x == x1 - 1 || y == y1 - 1;
            Set(x, y, onEdge ? edge : Mix(top, bottom, t));
        }
    }
}

void Raster::Line(double x0, double y0, double x1, double y1, double width, Rgb c) {
    const double length = std::hypot(x1 - x0, y1 - y0);
    const int steps = std::max(1, static_cast<int>(length * 4));
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        Disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, c);
    }
}

void Raster::Triangle(double ax, double ay, double bx, double by, double cx, double cy, Rgb c) {
    const auto side = [](double px, double py, double qx, double qy, double x, double y) {
        return (qx - px) * (y - py) - (qy - py) * (x - px);
    };
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double s1 = side(ax, ay, bx, by, px, py);
            const double s2 = side(bx, by, cx, cy, px, py);
            const double s3 = side(cx, cy, ax, ay, px, py);
            if ((s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0))
                Set(x, y, c);
        }
}

void Raster::Disc(double cx, double cy, double radius, Rgb c) {
    for (int y = static_cast<int>(cy - radius - 1); y <= static_cast<int>(cy + radius + 1); ++y)
        for (int x = static_cast<int>(cx - radius - 1); x <= static_cast<int>(cx + radius + 1); ++x)
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius)
                Set(x, y, c);
}

void Raster::Blit(const Raster& source, int x, int y) {
    for (int sy = 0; sy < source.Height(); ++sy)
        for (int sx = 0; sx < source.Width(); ++sx)
            Set(x + sx, y + sy, source.Get(sx, sy));
}

void Raster::Piece(int x, int y, int cellWidth, int cellHeight, int count, bool withMask,
                   const std::function<void(Raster&, int)>& draw) {
    for (int state = 0; state < count; ++state) {
        Raster cell(cellWidth, cellHeight);
        draw(cell, state);
        const int cx = x + state * cellWidth;
        Blit(cell, cx, y);
        if (!withMask)
            continue;
        for (int py = 0; py < cellHeight; ++py)
            for (int px = 0; px < cellWidth; ++px)
                Set(cx + px, y + cellHeight + py, cell.Get(px, py) == kKey ? kWhite : kBlack);
    }
}

std::array<Rgb, 256> MakePalette(const std::vector<Rgb>& ramp, const std::vector<Rgb>& accents) {
    std::array<Rgb, 256> palette{};
    std::size_t n = 0;
    palette[n++] = kKey;
    for (int i = 0; i < 64; ++i) {
        const auto v = Clamp(i * 255.0 / 63);
        palette[n++] = {v, v, v};
    }
    const auto spread = [&](const std::vector<Rgb>& stops, int count) {
        for (int i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / (count - 1) * (stops.size() - 1);
            const auto k = std::min(static_cast<std::size_t>(t), stops.size() - 2);
            palette[n++] = Mix(stops[k], stops[k + 1], t - static_cast<double>(k));
        }
    };
    spread(ramp, 128);
    spread(accents, 63);
    return palette;
}

std::vector<std::uint8_t> EncodeBitmap8(const Raster& raster, const std::array<Rgb, 256>& palette) {
    const int w = raster.Width(), h = raster.Height();
    const int row = (w + 3) & ~3;
    std::vector<std::uint8_t> out{'B', 'M'};
    const std::uint32_t bitsAt = 14 + 40 + 256 * 4;
    PutU32(out, bitsAt + static_cast<std::uint32_t>(row * h));
    PutU32(out, 0);
    PutU32(out, bitsAt);
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(w));
    PutU32(out, static_cast<std::uint32_t>(h));
    PutU16(out, 1);
    PutU16(out, 8);
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(row * h));
    PutU32(out, 2835);
    PutU32(out, 2835);
    PutU32(out, 256);
    PutU32(out, 0);
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    std::map<std::uint32_t, std::uint8_t> nearest;
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = raster.Get(x, y);
            const std::uint32_t key = c.r | c.g << 8 | c.b << 16;
            auto it = nearest.find(key);
            if (it == nearest.end()) {
                int best = 0;
                long bestDistance = -1;
                for (int i = 0; i < 256; ++i) {
                    const long dr = c.r - palette[i].r, dg = c.g - palette[i].g,
                               db = c.b - palette[i].b;
                    const long d = dr * dr + dg * dg + db * db;
                    // The key is only ever chosen for the key colour itself.
                    if ((i == 0) != (c == kKey))
                        continue;
                    if (bestDistance < 0 || d < bestDistance)
                        best = i, bestDistance = d;
                }
                it = nearest.emplace(key, static_cast<std::uint8_t>(best)).first;
            }
            out.push_back(it->second);
        }
        for (int pad = w; pad < row; ++pad)
            out.push_back(0);
    }
    return out;
}

namespace {
struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};
void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1);
}
} // namespace

std::vector<std::uint8_t> EncodeJpeg(const Raster& raster, int quality) {
    jpeg_compress_struct info{};
    JpegFailure failure{};
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = OnJpegError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<unsigned char> row(static_cast<std::size_t>(raster.Width()) * 3);
    if (setjmp(failure.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw std::runtime_error("JPEG encoding failed");
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(raster.Width());
    info.image_height = static_cast<JDIMENSION>(raster.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < raster.Width(); ++x) {
            const Rgb c = raster.Get(x, y);
            row[3 * x] = c.r, row[3 * x + 1] = c.g, row[3 * x + 2] = c.b;
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

} // namespace skinpack
