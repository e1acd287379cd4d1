// charvane-appicon OUTDIR
//
// Draws the program's icon for the desktop's icon theme: OUTDIR/<n>x<n>/apps/charvane.png for
// every usual size and OUTDIR/scalable/apps/charvane.svg, laid out as the hicolor theme wants
// them. The 16 x 16 picture is the program's own caption icon (app/Glyphs), pixel for pixel, so
// the desktop and the caption show the same thing. The larger ones redraw that picture from
// shapes: a navy-framed tile whose upper left is a picture (sky, sun, hill, meadow) and whose
// lower right, past the diagonal, is the same picture turned into lines of symbols; the symbols
// sit exactly where the small icon has its dark pixels, darker ones for denser symbols.
// The SVG is written from the same shapes as the largest picture.

#include <png.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Glyphs.h"

namespace {

namespace fs = std::filesystem;

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

// The caption icon's palette colours, read from the icon itself so both stay one set.
struct Palette {
    platform::Color navy, sky, sun, blue, deepBlue, green, paper, grey, pale, amber;
};

Palette ReadPalette(const app::TGlyphImage& icon) {
    // Positions in the 16 x 16 caption icon where each colour is drawn.
    return {icon.Pixel(0, 0),
            icon.Pixel(1, 1),
            icon.Pixel(2, 2),
            icon.Pixel(5, 6),
            icon.Pixel(7, 6),
            icon.Pixel(1, 10),
            icon.Pixel(14, 1),
            icon.Pixel(12, 4),
            platform::RGB(0xD2, 0xE6, 0xF9),
            platform::RGB(0xC9, 0x8A, 0x1A)};
}

struct Point {
    double x, y;
};

// One filled shape in pixel coordinates of a size x size picture.
struct Shape {
    enum class Kind { Box, Disc, Polygon } kind;
    platform::Color color;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0, radius = 0; // Box: corners and corner radius
    double cx = 0, cy = 0;                             // Disc: centre, radius
    std::vector<Point> points;                         // Polygon

    bool Contains(double x, double y) const {
        switch (kind) {
        case Kind::Box: {
            if (x < x0 || x >= x1 || y < y0 || y >= y1)
                return false;
            const double r = std::min(radius, std::min(x1 - x0, y1 - y0) / 2);
            const double dx = x < x0 + r ? x0 + r - x : (x > x1 - r ? x - (x1 - r) : 0);
            const double dy = y < y0 + r ? y0 + r - y : (y > y1 - r ? y - (y1 - r) : 0);
            return dx * dx + dy * dy <= r * r;
        }
        case Kind::Disc:
            return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
        case Kind::Polygon: {
            bool inside = false;
            for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                const Point& a = points[i];
                const Point& b = points[j];
                if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                    inside = !inside;
            }
            return inside;
        }
        }
        return false;
    }
};

Shape Box(double x0, double y0, double x1, double y1, double radius, platform::Color c) {
    Shape s{Shape::Kind::Box, c};
    s.x0 = x0, s.y0 = y0, s.x1 = x1, s.y1 = y1, s.radius = radius;
    return s;
}

Shape Disc(double cx, double cy, double radius, platform::Color c) {
    Shape s{Shape::Kind::Disc, c};
    s.cx = cx, s.cy = cy, s.radius = radius;
    return s;
}

Shape Polygon(std::vector<Point> points, platform::Color c) {
    Shape s{Shape::Kind::Polygon, c};
    s.points = std::move(points);
    return s;
}

// The icon at one size: the outer tile (the frame's colour), the inner tile every other shape is
// clipped to, and the shapes in painting order.
struct Drawing {
    int size = 0;
    Shape outer, inner;
    std::vector<Shape> shapes;
};

Drawing Draw(int size, const app::TGlyphImage& small, const Palette& p) {
    const double u = size / 16.0; // one pixel of the caption icon
    const double frame = std::max(1.0, std::round(size / 32.0));
    const double corner = size >= 32 ? size / 12.0 : 0.0;
    Drawing d{size,
              Box(0, 0, size, size, corner, p.navy),
              Box(frame, frame, size - frame, size - frame, std::max(0.0, corner - frame), p.sky),
              {}};
    auto at = [u](double x, double y) { return Point{x * u, y * u}; };

    d.shapes.push_back(d.inner); // the sky
    if (size >= 48)
        d.shapes.push_back(Disc(3.2 * u, 3.2 * u, 1.75 * u, p.amber));
    d.shapes.push_back(Disc(3.2 * u, 3.2 * u, 1.45 * u, p.sun));
    // The hill, lit from the sun's side, and its shaded flank.
    d.shapes.push_back(Polygon({at(6.4, 4.6), at(-1, 12), at(14, 12)}, p.blue));
    d.shapes.push_back(Polygon({at(6.4, 4.6), at(14, 12), at(8.6, 12)}, p.deepBlue));
    d.shapes.push_back(Box(0, 10 * u, size, size, 0, p.green));
    // The page of symbols past the diagonal, with a pale edge where it meets the picture.
    if (size >= 32)
        d.shapes.push_back(
            Polygon({at(15.2, 0), at(16, 0), at(16, 16), at(0, 16), at(0, 15.2)}, p.pale));
    d.shapes.push_back(
        Polygon({at(15.7, 0), at(16, 0), at(16, 16), at(0, 16), at(0, 15.7)}, p.paper));
    // One symbol wherever the caption icon draws a symbol pixel on its page.
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x) {
            const platform::Color c = small.Pixel(x, y);
            if (x + y < 15 || (c != p.grey && c != p.navy))
                continue;
            d.shapes.push_back(
                Box((x + 0.1) * u, (y + 0.18) * u, (x + 0.9) * u, (y + 0.82) * u, 0.15 * u, c));
        }
    return d;
}

// Every pixel sampled n x n times; a sample outside the outer tile is transparent, one between
// the tiles is the frame, one inside takes the last shape that holds it.
std::vector<Rgba> Render(const Drawing& d) {
    const int n = d.size <= 32 ? 8 : 4;
    std::vector<Rgba> out(static_cast<std::size_t>(d.size) * d.size);
    for (int py = 0; py < d.size; ++py)
        for (int px = 0; px < d.size; ++px) {
            int r = 0, g = 0, b = 0, covered = 0;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    const double x = px + (sx + 0.5) / n;
                    const double y = py + (sy + 0.5) / n;
                    if (!d.outer.Contains(x, y))
                        continue;
                    platform::Color c = d.outer.color;
                    if (d.inner.Contains(x, y))
                        for (const Shape& s : d.shapes)
                            if (s.Contains(x, y))
                                c = s.color;
                    r += platform::GetRValue(c);
                    g += platform::GetGValue(c);
                    b += platform::GetBValue(c);
                    ++covered;
                }
            if (covered == 0)
                continue;
            out[static_cast<std::size_t>(py) * d.size + px] = {
                static_cast<std::uint8_t>((r + covered / 2) / covered),
                static_cast<std::uint8_t>((g + covered / 2) / covered),
                static_cast<std::uint8_t>((b + covered / 2) / covered),
                static_cast<std::uint8_t>((255 * covered + n * n / 2) / (n * n))};
        }
    return out;
}

std::vector<Rgba> FromGlyph(const app::TGlyphImage& glyph) {
    std::vector<Rgba> out;
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x) {
            const platform::Color c = glyph.Pixel(x, y);
            if (c == glyph.transparent)
                out.push_back({});
            else
                out.push_back({static_cast<std::uint8_t>(platform::GetRValue(c)),
                               static_cast<std::uint8_t>(platform::GetGValue(c)),
                               static_cast<std::uint8_t>(platform::GetBValue(c)), 255});
        }
    return out;
}

void WritePng(const fs::path& path, int size, const std::vector<Rgba>& pixels) {
    fs::create_directories(path.parent_path());
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size);
    image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr))
        throw std::runtime_error(path.string() + ": " + image.message);
}

std::string Hex(platform::Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", platform::GetRValue(c),
                  platform::GetGValue(c), platform::GetBValue(c));
    return text;
}

std::string Svg(const Drawing& d) {
    std::ostringstream out;
    auto box = [&out](const Shape& s, const std::string& extra) {
        out << "<rect x=\"" << s.x0 << "\" y=\"" << s.y0 << "\" width=\"" << s.x1 - s.x0
            << "\" height=\"" << s.y1 - s.y0 << "\" rx=\"" << s.radius << "\" fill=\""
            << Hex(s.color) << "\"" << extra << "/>\n";
    };
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << d.size << "\" height=\""
        << d.size << "\" viewBox=\"0 0 " << d.size << ' ' << d.size << "\">\n"
        << "<title>Charvane</title>\n<defs><clipPath id=\"tile\">";
    box(d.inner, "");
    out << "</clipPath></defs>\n";
    box(d.outer, "");
    out << "<g clip-path=\"url(#tile)\">\n";
    for (const Shape& s : d.shapes) {
        switch (s.kind) {
        case Shape::Kind::Box:
            box(s, "");
            break;
        case Shape::Kind::Disc:
            out << "<circle cx=\"" << s.cx << "\" cy=\"" << s.cy << "\" r=\"" << s.radius
                << "\" fill=\"" << Hex(s.color) << "\"/>\n";
            break;
        case Shape::Kind::Polygon:
            out << "<polygon points=\"";
            for (const Point& pt : s.points)
                out << pt.x << ',' << pt.y << ' ';
            out << "\" fill=\"" << Hex(s.color) << "\"/>\n";
            break;
        }
    }
    out << "</g>\n</svg>\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: charvane-appicon OUTDIR\n");
        return 2;
    }
    try {
        const fs::path root = argv[1];
        const app::TGlyphImage small = app::Glyph(app::GlyphId::ProgramIcon);
        const Palette palette = ReadPalette(small);
        auto where = [&root](int size) {
            const std::string n = std::to_string(size);
            return root / (n + "x" + n) / "apps" / "charvane.png";
        };
        WritePng(where(small.width), small.width, FromGlyph(small));
        for (const int size : {22, 24, 32, 48, 64, 128, 256})
            WritePng(where(size), size, Render(Draw(size, small, palette)));

        const fs::path svg = root / "scalable" / "apps" / "charvane.svg";
        fs::create_directories(svg.parent_path());
        std::ofstream file(svg, std::ios::binary);
        file << Svg(Draw(256, small, palette));
        file.close();
        if (!file)
            throw std::runtime_error("cannot write " + svg.string());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "charvane-appicon: %s\n", e.what());
        return 1;
    }
    return 0;
}
