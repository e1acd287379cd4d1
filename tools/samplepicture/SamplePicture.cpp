// Draws the sample picture that ships with the program: a winter landscape (evening sky, a low
// sun, far mountains, snowy hills and pine trees) with strong light and dark areas, so that it
// still reads well when turned into text art. Everything is computed from fixed formulas, so
// every run gives the same bytes.
//
//   samplepicture OUTPUT.bmp [WIDTH HEIGHT]     (default 640 × 480)
//
// The output is an uncompressed 24-bit Windows bitmap (40-byte header, rows bottom-up).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A repeatable pseudo-random number in 0 ... 1 for an integer seed.
double Noise(std::uint32_t seed) {
    seed ^= seed >> 16;
    seed *= 0x7FEB352Du;
    seed ^= seed >> 15;
    seed *= 0x846CA68Bu;
    seed ^= seed >> 16;
    return (seed & 0xFFFFFF) / double(0xFFFFFF);
}

class Scene {
public:
    Scene(int width, int height) : m_w(width), m_h(height), m_pixels(std::size_t(width) * height) {}

    void Draw() {
        Sky();
        Sun();
        Mountains();
        Hills(0.62, 22, 0.011, 1.7, {196, 210, 234}, {150, 168, 205});
        Forest(0.62, 22, 0.011, 1.7, 0.55, 11, 101);
        Hills(0.78, 30, 0.007, 0.4, {246, 248, 255}, {170, 188, 222});
        Forest(0.78, 30, 0.007, 0.4, 1.0, 6, 202);
        Snowfall();
    }

    bool WriteBitmap(const std::string& fileName) const {
        const std::uint32_t rowBytes = (std::uint32_t(m_w) * 3 + 3) / 4 * 4;
        const std::uint32_t imageSize = rowBytes * std::uint32_t(m_h);
        std::vector<std::uint8_t> file;
        auto u16 = [&](std::uint32_t v) {
            file.push_back(std::uint8_t(v));
            file.push_back(std::uint8_t(v >> 8));
        };
        auto u32 = [&](std::uint32_t v) {
            u16(v & 0xFFFF);
            u16(v >> 16);
        };
        // File header: magic, file size, two reserved words, offset of the pixels.
        file.push_back('B');
        file.push_back('M');
        u32(14 + 40 + imageSize);
        u32(0);
        u32(14 + 40);
        // Information header: size, width, height (positive: bottom-up), planes, bits per
        // pixel, compression (none), image size, 72 dpi both ways, colours used and important.
        u32(40);
        u32(std::uint32_t(m_w));
        u32(std::uint32_t(m_h));
        u16(1);
        u16(24);
        u32(0);
        u32(imageSize);
        u32(2835);
        u32(2835);
        u32(0);
        u32(0);
        for (int y = m_h - 1; y >= 0; --y) {
            std::uint32_t written = 0;
            for (int x = 0; x < m_w; ++x, written += 3) {
                const Rgb& c = At(x, y);
                file.push_back(Byte(c.b));
                file.push_back(Byte(c.g));
                file.push_back(Byte(c.r));
            }
            for (; written < rowBytes; ++written) {
                file.push_back(0);
            }
        }
        std::ofstream out(fileName, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        return bool(out);
    }

private:
    static std::uint8_t Byte(double v) {
        return std::uint8_t(std::clamp(std::lround(v), 0L, 255L));
    }
    Rgb& At(int x, int y) { return m_pixels[std::size_t(y) * m_w + x]; }
    const Rgb& At(int x, int y) const { return m_pixels[std::size_t(y) * m_w + x]; }
    double X(int x) const { return x * 640.0 / m_w; } // scene units: 640 wide
    double Y(int y) const { return y * 480.0 / m_h; }

    void Sky() {
        const Rgb top{22, 38, 92}, middle{92, 120, 186}, horizon{250, 214, 178};
        for (int y = 0; y < m_h; ++y) {
            const double t = Y(y) / 300.0;
            const Rgb c =
                t < 0.6 ? Mix(top, middle, t / 0.6) : Mix(middle, horizon, (t - 0.6) / 0.4);
            for (int x = 0; x < m_w; ++x) {
                At(x, y) = c;
            }
        }
    }

    void Sun() {
        const double cx = 455, cy = 200, radius = 34;
        for (int y = 0; y < m_h; ++y) {
            for (int x = 0; x < m_w; ++x) {
                const double d = std::hypot(X(x) - cx, Y(y) - cy);
                Rgb& p = At(x, y);
                if (d <= radius) {
                    p = {255, 250, 225};
                } else {
                    p = Mix(p, {255, 226, 170}, 0.85 * std::exp(-(d - radius) / 45.0));
                }
            }
        }
    }

    double MountainRidge(double x) const {
        return 250 - 34 * std::sin(x * 0.013 + 0.3) - 22 * std::sin(x * 0.029 + 1.3) -
               9 * std::sin(x * 0.071 + 2.1);
    }

    void Mountains() {
        for (int x = 0; x < m_w; ++x) {
            const double ridge = MountainRidge(X(x));
            const double slope = MountainRidge(X(x) + 1) - ridge;
            for (int y = 0; y < m_h; ++y) {
                const double depth = Y(y) - ridge;
                if (depth < 0) {
                    continue;
                }
                // Snow on the tops, lit on the slopes that face the sun (to the right).
                const bool lit = slope < 0;
                Rgb rock = lit ? Rgb{118, 128, 170} : Rgb{82, 92, 138};
                if (depth < 18 + 8 * std::sin(X(x) * 0.09) + 5 * std::sin(X(x) * 0.23 + 1.0)) {
                    rock = lit ? Rgb{236, 232, 240} : Rgb{170, 176, 208};
                }
                At(x, y) = Mix(rock, {200, 190, 200}, 0.25);
            }
        }
    }

    double HillLine(double x, double base, double amplitude, double frequency, double phase) const {
        return 480 * base - amplitude * std::sin(x * frequency + phase) -
               amplitude * 0.4 * std::sin(x * frequency * 2.7 + phase * 1.9);
    }

    void Hills(double base, double amplitude, double frequency, double phase, Rgb light,
               Rgb shadow) {
        for (int x = 0; x < m_w; ++x) {
            const double line = HillLine(X(x), base, amplitude, frequency, phase);
            const double slope = HillLine(X(x) + 1, base, amplitude, frequency, phase) - line;
            for (int y = 0; y < m_h; ++y) {
                const double depth = Y(y) - line;
                if (depth < 0) {
                    continue;
                }
                // Slopes rising to the right face the sun; a soft shade gathers in the hollows.
                const double shade = std::clamp(0.5 + slope * 1.6, 0.0, 1.0);
                Rgb snow = Mix(light, shadow, shade * std::min(1.0, depth / 40.0 + 0.3));
                const double sparkle = Noise(std::uint32_t(y * 7919 + x * 104729));
                if (sparkle > 0.997) {
                    snow = {255, 255, 255};
                }
                At(x, y) = snow;
            }
        }
    }

    void Pine(double cx, double baseY, double height, double haze) {
        const Rgb needles{16, 52, 34}, needlesDark{8, 30, 22}, trunk{66, 42, 26};
        const Rgb hazeColour{170, 182, 214};
        const double trunkHeight = height * 0.14, trunkHalf = height * 0.045;
        const double crownTop = baseY - height, crownBottom = baseY - trunkHeight;
        const int tiers = 4;
        for (int y = 0; y < m_h; ++y) {
            const double sy = Y(y);
            if (sy < crownTop || sy > baseY) {
                continue;
            }
            for (int x = 0; x < m_w; ++x) {
                const double dx = X(x) - cx;
                Rgb colour;
                bool inside = false;
                if (sy > crownBottom) {
                    inside = std::abs(dx) <= trunkHalf;
                    colour = trunk;
                } else {
                    // Tiers overlap: each starts a little above where the previous one ends.
                    const double tierHeight = (crownBottom - crownTop) / (tiers * 0.75 + 0.25);
                    for (int i = 0; i < tiers && !inside; ++i) {
                        const double top = crownTop + i * tierHeight * 0.75;
                        const double t = (sy - top) / tierHeight;
                        if (t < 0 || t > 1) {
                            continue;
                        }
                        const double half = height * (0.12 + 0.07 * i) * t;
                        if (std::abs(dx) <= half) {
                            inside = true;
                            colour = dx > 0 ? needles : needlesDark;
                            // Snow lies along the upper edge of each tier on the sunny side.
                            if (dx > 0 && std::abs(dx) > half - height * 0.035 && t > 0.25) {
                                colour = {236, 240, 250};
                            }
                        }
                    }
                }
                if (inside) {
                    At(x, y) = Mix(colour, hazeColour, 1.0 - haze);
                }
            }
        }
    }

    void Forest(double base, double amplitude, double frequency, double phase, double haze,
                int count, std::uint32_t seed) {
        for (int i = 0; i < count; ++i) {
            const double x = 640.0 * (i + 0.2 + 0.6 * Noise(seed + i)) / count;
            // Keep the sun clear: no tall tree right under it.
            if (haze >= 1.0 && std::abs(x - 455) < 60) {
                continue;
            }
            const double baseY = HillLine(x, base, amplitude, frequency, phase) + 6;
            const double height = (haze >= 1.0 ? 120 : 42) * (0.7 + 0.5 * Noise(seed * 3 + i));
            Pine(x, baseY, height, haze);
        }
    }

    void Snowfall() {
        for (int i = 0; i < 260; ++i) {
            const double fx = 640 * Noise(9000 + i), fy = 480 * Noise(19000 + i);
            const double r = 0.8 + 1.4 * Noise(29000 + i);
            for (int y = std::max(0, int((fy - 3) * m_h / 480));
                 y < std::min(m_h, int((fy + 3) * m_h / 480)); ++y) {
                for (int x = std::max(0, int((fx - 3) * m_w / 640));
                     x < std::min(m_w, int((fx + 3) * m_w / 640)); ++x) {
                    const double d = std::hypot(X(x) - fx, Y(y) - fy);
                    if (d <= r) {
                        At(x, y) = Mix(At(x, y), {255, 255, 255}, 0.85);
                    }
                }
            }
        }
    }

    int m_w;
    int m_h;
    std::vector<Rgb> m_pixels;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    int width = 640, height = 480;
    if (argc == 4) {
        width = std::atoi(argv[2]);
        height = std::atoi(argv[3]);
        if (width < 16 || height < 16 || width > 8192 || height > 8192) {
            std::fprintf(stderr, "%s: width and height must lie in 16 ... 8192\n", argv[0]);
            return 2;
        }
    }
    Scene scene(width, height);
    scene.Draw();
    if (!scene.WriteBitmap(argv[1])) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
