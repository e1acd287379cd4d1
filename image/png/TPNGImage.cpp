#include "image/png/TPNGImage.h"

#include <vector>

#include "image/png/PNGDecoder.h"
#include "toolkit/TPicture.h"

namespace image {
namespace {

constexpr const char* kClassName = "TPNGImage";

// Decoded rows go straight into a fresh picture's rows.
class TDIBRows : public TJPEGTarget {
public:
    explicit TDIBRows(TDIB& dib) : m_dib(dib) {}
    void SetFormat(std::int32_t width, std::int32_t height, int bitCount) override {
        m_dib.SetSize(width, height, bitCount);
    }
    std::uint8_t* ScanLine(std::int32_t y) override { return m_dib.ScanLine(y); }
    void SetPalette(std::span<const platform::Color>) override {}

private:
    TDIB& m_dib;
};

// Registers the picture class for as long as the program runs.
struct TModuleLifetime {
    TModuleLifetime() {
        toolkit::TPicture::RegisterFileFormat("png", "PNG Image File", kClassName, [] {
            return std::unique_ptr<toolkit::TGraphic>(new TPNGImage);
        });
    }
    ~TModuleLifetime() { toolkit::TPicture::UnregisterGraphicClass(kClassName); }
} g_moduleLifetime;

} // namespace

void TPNGImage::LoadFromStream(toolkit::TStream& stream) {
    // Only what the stream holds is read, so its size bounds the memory taken for the bytes.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Remaining()));
    stream.ReadBuffer(bytes.data(), bytes.size());
    TDIB fresh;
    TDIBRows rows(fresh);
    DecodePNG(bytes, rows);
    Assign(&fresh);
}

void TPNGImage::SaveToStream(toolkit::TStream&) {
    throw toolkit::EInvalidGraphicOperation("PNG pictures cannot be saved");
}

} // namespace image
