#pragma once
// The pictures a skin holds, behind one narrow seam: "load these bytes as a bitmap", "load them
// as a JPEG picture and tell its size", "draw that picture into a bitmap of its size".
//
// TsSkinBitmap is a 24-bit picture with rows top-down, three bytes per pixel in blue, green,
// red order, each row padded to 4 bytes, as skin painting wants it. Bitmap files of every kind
// TDIB reads (1 to 32 bits, RLE) arrive here as 24-bit pixels of the same colours.
// TsSkinPicture is a TJPEGImage: its header's size is known on load; pixels are only made when
// the picture is rendered.
//
// Loading never raises for bad picture data: a stream that is not a picture the image layer
// can read gives no picture, and the skin drops that one piece or pattern.
//
// Skin pictures are small, and a header may lie: a picture's size is checked from its header
// before any pixel memory is taken, and one of more than kMaxSkinPicturePixels gives no
// picture. While a TsSkinPictureBudget is open, every picture also takes its stream's bytes and
// three bytes a pixel from that budget, and once the budget is spent further pictures give none,
// so a skin naming one picture thousands of times cannot run away with memory or time.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "toolkit/Streams.h"

namespace image {
class TJPEGImage;
}

namespace skin {

inline constexpr std::int64_t kMaxSkinPicturePixels = std::int64_t{1} << 22; // 2048 x 2048
inline constexpr std::int64_t kSkinPictureBudgetBytes = std::int64_t{48} << 20;

// The memory the pictures of one skin may take, for the scope of loading that skin. Scopes nest;
// the innermost counts.
class TsSkinPictureBudget {
public:
    explicit TsSkinPictureBudget(std::int64_t bytes = kSkinPictureBudgetBytes);
    ~TsSkinPictureBudget();
    TsSkinPictureBudget(const TsSkinPictureBudget&) = delete;
    TsSkinPictureBudget& operator=(const TsSkinPictureBudget&) = delete;

    // Takes bytes from the open budget: false, taking nothing, when it has not that many left.
    // Always true with no budget open.
    static bool Take(std::int64_t bytes);
    // Whether Take(bytes) would succeed; lets a caller skip copying a picture's bytes.
    static bool Has(std::int64_t bytes);

private:
    std::int64_t m_left;
    TsSkinPictureBudget* m_outer;
};

class TsSkinBitmap {
public:
    // A black picture; a size that is negative or would not fit memory raises EOutOfResources.
    TsSkinBitmap(std::int32_t width, std::int32_t height);

    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    std::uint8_t* ScanLine(std::int32_t y) { return m_bits.data() + RowOffset(y); }
    const std::uint8_t* ScanLine(std::int32_t y) const { return m_bits.data() + RowOffset(y); }
    std::size_t RowBytes() const { return m_rowBytes; }

    platform::Color Pixel(std::int32_t x, std::int32_t y) const;
    void SetPixel(std::int32_t x, std::int32_t y, platform::Color color);

    // Painting treats pixels of this colour as holes when the bitmap is transparent.
    bool Transparent = false;
    platform::Color TransparentColor = 0xFF00FF;

private:
    std::size_t RowOffset(std::int32_t y) const { return static_cast<std::size_t>(y) * m_rowBytes; }

    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::size_t m_rowBytes = 0;
    std::vector<std::uint8_t> m_bits;
};

class TsSkinPicture {
public:
    explicit TsSkinPicture(std::unique_ptr<image::TJPEGImage> jpeg);
    ~TsSkinPicture();
    std::int32_t Width() const;
    std::int32_t Height() const;
    image::TJPEGImage& Jpeg() { return *m_jpeg; }

private:
    std::unique_ptr<image::TJPEGImage> m_jpeg;
};

// Reads a bitmap file from the stream's current position; none when it is not one.
std::unique_ptr<TsSkinBitmap> LoadSkinBitmap(toolkit::TStream& source);
// Reads a JPEG picture (the rest of the stream) and its header; none when that fails.
std::unique_ptr<TsSkinPicture> LoadSkinPicture(toolkit::TStream& source);
// The picture decoded into a new bitmap of its size; none when it cannot be decoded.
std::unique_ptr<TsSkinBitmap> RenderSkinPicture(TsSkinPicture& picture);

} // namespace skin
