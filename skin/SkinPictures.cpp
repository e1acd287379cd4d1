#include "skin/SkinPictures.h"

#include <cstring>

#include "image/BitmapLayout.h"
#include "image/DIB.h"
#include "image/jpeg.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TBitmap.h"

namespace skin {
namespace {

using toolkit::TStream;

thread_local TsSkinPictureBudget* g_budget = nullptr;

// A picture of this size may be made: within the size limit and the open budget.
bool MayMakePicture(std::int64_t width, std::int64_t height) {
    const std::int64_t pixels = width * height;
    return pixels <= kMaxSkinPicturePixels && TsSkinPictureBudget::Take(3 * pixels);
}

// Reads a bitmap file's headers and puts the stream back where it was: whether a picture of
// that size may be made. A header the reader refuses is left for the reader to report.
bool BitmapSizeAllowed(TStream& source) {
    const std::int64_t start = source.Position();
    bool allowed = true;
    try {
        if (image::ReadBitmapFileHeader(source)) {
            if (const auto layout = image::ReadBitmapLayout(source))
                allowed = MayMakePicture(layout->width, layout->rows);
        }
    } catch (const toolkit::Exception&) {
    }
    source.SetPosition(start);
    return allowed;
}

// Copies a picture drawn at its own size into 24-bit rows; a same-size drawing keeps every
// colour, whatever the picture's depth.
std::unique_ptr<TsSkinBitmap> Rows24(toolkit::TGraphic& graphic) {
    const std::int32_t width = graphic.Width(), height = graphic.Height();
    if (width <= 0 || height <= 0)
        return nullptr;
    toolkit::TBitmap rows;
    rows.SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    rows.SetSize(width, height);
    rows.Canvas().Draw(0, 0, graphic);
    auto bitmap = std::make_unique<TsSkinBitmap>(width, height);
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    for (std::int32_t y = 0; y < height; ++y)
        std::memcpy(bitmap->ScanLine(y), rows.ScanLine(y), rowBytes);
    return bitmap;
}

} // namespace

TsSkinPictureBudget::TsSkinPictureBudget(std::int64_t bytes) : m_left(bytes), m_outer(g_budget) {
    g_budget = this;
}

TsSkinPictureBudget::~TsSkinPictureBudget() {
    g_budget = m_outer;
}

bool TsSkinPictureBudget::Has(std::int64_t bytes) {
    return g_budget == nullptr || (bytes >= 0 && bytes <= g_budget->m_left);
}

bool TsSkinPictureBudget::Take(std::int64_t bytes) {
    if (!Has(bytes))
        return false;
    if (g_budget != nullptr)
        g_budget->m_left -= bytes;
    return true;
}

TsSkinBitmap::TsSkinBitmap(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0 || std::int64_t{width} * height > (std::int64_t{1} << 28))
        throw toolkit::EOutOfResources("Bitmap");
    m_width = width;
    m_height = height;
    m_rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    m_bits.assign(m_rowBytes * static_cast<std::size_t>(height), 0);
}

platform::Color TsSkinBitmap::Pixel(std::int32_t x, std::int32_t y) const {
    const std::uint8_t* p = ScanLine(y) + 3 * x;
    return platform::RGB(p[2], p[1], p[0]);
}

void TsSkinBitmap::SetPixel(std::int32_t x, std::int32_t y, platform::Color color) {
    std::uint8_t* p = ScanLine(y) + 3 * x;
    p[0] = platform::GetBValue(color);
    p[1] = platform::GetGValue(color);
    p[2] = platform::GetRValue(color);
}

std::unique_ptr<TsSkinBitmap> LoadSkinBitmap(TStream& source) {
    if (!TsSkinPictureBudget::Take(source.Remaining()) || !BitmapSizeAllowed(source))
        return nullptr;
    try {
        image::TDIB dib;
        dib.LoadFromStream(source);
        return Rows24(dib);
    } catch (const toolkit::Exception&) {
        return nullptr;
    }
}

TsSkinPicture::TsSkinPicture(std::unique_ptr<image::TJPEGImage> jpeg) : m_jpeg(std::move(jpeg)) {}
TsSkinPicture::~TsSkinPicture() = default;
std::int32_t TsSkinPicture::Width() const {
    return m_jpeg->Width();
}
std::int32_t TsSkinPicture::Height() const {
    return m_jpeg->Height();
}

std::unique_ptr<TsSkinPicture> LoadSkinPicture(TStream& source) {
    if (!TsSkinPictureBudget::Take(source.Remaining()))
        return nullptr;
    auto jpeg = std::make_unique<image::TJPEGImage>();
    try {
        jpeg->LoadFromStream(source); // the header only: no pixels yet
    } catch (const toolkit::Exception&) {
        return nullptr;
    }
    if (!MayMakePicture(jpeg->Width(), jpeg->Height()))
        return nullptr;
    return std::make_unique<TsSkinPicture>(std::move(jpeg));
}

std::unique_ptr<TsSkinBitmap> RenderSkinPicture(TsSkinPicture& picture) {
    try {
        return Rows24(picture.Jpeg().Bitmap());
    } catch (const toolkit::Exception&) {
        return nullptr;
    }
}

} // namespace skin
