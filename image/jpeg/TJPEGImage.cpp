#include "image/jpeg/TJPEGImage.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "image/jpeg/EJPEG.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TPicture.h"

namespace image {

namespace {

constexpr const char* kClassName = "TJPEGImage";

// Writes decoded rows straight into the toolkit bitmap's rows.
class TBitmapTarget : public TJPEGTarget {
public:
    explicit TBitmapTarget(toolkit::TBitmap& bitmap) : m_bitmap(bitmap) {}

    void SetFormat(std::int32_t width, std::int32_t height, int bitCount) override {
        m_bitmap.SetPixelFormat(bitCount == 8 ? toolkit::TPixelFormat::pf8bit
                                              : toolkit::TPixelFormat::pf24bit);
        m_bitmap.SetSize(width, height);
    }
    std::uint8_t* ScanLine(std::int32_t y) override { return m_bitmap.ScanLine(y); }
    void SetPalette(std::span<const platform::Color> colors) override {
        m_bitmap.SetPaletteColors(colors);
        m_paletteChanged = true;
    }
    bool PaletteChanged() const { return m_paletteChanged; }

private:
    toolkit::TBitmap& m_bitmap;
    bool m_paletteChanged = false;
};

// Writes 24-bit output of the rows' size into the rows; anything else goes to a bitmap made
// only then, through a TBitmapTarget.
class TRowsTarget : public TJPEGTarget {
public:
    TRowsTarget(const platform::PixelRows& rows, std::function<toolkit::TBitmap&()> makeBitmap)
        : m_rows(rows), m_makeBitmap(std::move(makeBitmap)) {}

    void SetFormat(std::int32_t width, std::int32_t height, int bitCount) override {
        m_direct = bitCount == 24 && m_rows.bitCount == 24 && !m_rows.IsEmpty() &&
                   width == m_rows.width && height == m_rows.height;
        if (!m_direct) {
            m_bitmap.emplace(m_makeBitmap());
            m_bitmap->SetFormat(width, height, bitCount);
        }
    }
    std::uint8_t* ScanLine(std::int32_t y) override {
        return m_direct ? m_rows.Row(y) : m_bitmap->ScanLine(y);
    }
    void SetPalette(std::span<const platform::Color> colors) override {
        // 24-bit output has no palette.
        if (m_bitmap) {
            m_bitmap->SetPalette(colors);
        }
    }
    bool Direct() const { return m_direct; }
    bool PaletteChanged() const { return m_bitmap && m_bitmap->PaletteChanged(); }

private:
    platform::PixelRows m_rows;
    std::function<toolkit::TBitmap&()> m_makeBitmap;
    std::optional<TBitmapTarget> m_bitmap;
    bool m_direct = false;
};

std::int32_t Scaled(std::int32_t size, std::uint8_t decodeScale) {
    const std::int32_t denominator = 1 << std::min<int>(decodeScale, 3);
    return (size + denominator - 1) / denominator;
}

int g_moduleUsers = 0;

// Registers the picture class for as long as the program runs.
struct TModuleLifetime {
    TModuleLifetime() { JPEGModuleStartup(); }
    ~TModuleLifetime() { JPEGModuleShutdown(); }
} g_moduleLifetime;

} // namespace

TJPEGSettings& DefaultJPEGSettings() {
    static TJPEGSettings defaults;
    return defaults;
}

void JPEGModuleStartup() {
    if (g_moduleUsers++ > 0) {
        return;
    }
    const auto create = [] { return std::unique_ptr<toolkit::TGraphic>(new TJPEGImage); };
    toolkit::TPicture::RegisterFileFormat("jpeg", "JPEG Image File", kClassName, create);
    toolkit::TPicture::RegisterFileFormat("jpg", "JPEG Image File", kClassName, create);
}

void JPEGModuleShutdown() {
    if (g_moduleUsers <= 0 || --g_moduleUsers > 0) {
        return;
    }
    toolkit::TPicture::UnregisterGraphicClass(kClassName);
}

TJPEGImage::TJPEGImage() : m_settings(DefaultJPEGSettings()) {
    NewImage();
}

TJPEGImage::~TJPEGImage() {
    m_image->Release();
}

void TJPEGImage::NewImage() {
    auto* image = new TJPEGData;
    image->Reference();
    if (m_image != nullptr) {
        m_image->Release();
    }
    m_image = image;
}

void TJPEGImage::FreeBitmap() {
    m_bitmap.reset();
}

std::int32_t TJPEGImage::Width() const {
    if (m_bitmap) {
        return m_bitmap->Width();
    }
    return Scaled(m_image->Width(), m_settings.Decode.DecodeScale);
}

std::int32_t TJPEGImage::Height() const {
    if (m_bitmap) {
        return m_bitmap->Height();
    }
    return Scaled(m_image->Height(), m_settings.Decode.DecodeScale);
}

bool TJPEGImage::Empty() const {
    return m_image->Data() == nullptr && (!m_bitmap || m_bitmap->Empty());
}

void TJPEGImage::SetWidth(std::int32_t) {
    throw toolkit::EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetHeight(std::int32_t) {
    throw toolkit::EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::LoadFromStream(toolkit::TStream& stream) {
    ReadStream(stream.Size() - stream.Position(), stream);
}

void TJPEGImage::ReadData(toolkit::TStream& stream) {
    const std::int32_t size = stream.ReadI32();
    ReadStream(size, stream);
}

void TJPEGImage::ReadStream(std::int64_t size, toolkit::TStream& stream) {
    NewImage();
    FreeBitmap();
    // A count the stream cannot back fails before any memory is taken for it.
    if (size < 0 || size > stream.Remaining()) {
        throw toolkit::EReadError();
    }
    auto data = std::make_unique<toolkit::TMemoryStream>();
    data->SetSize(static_cast<std::size_t>(size));
    stream.ReadBuffer(data->Memory(), static_cast<std::size_t>(size));
    m_image->m_data = std::move(data);
    if (size > 0) {
        const TJPEGHeader header = ReadJPEGHeader(m_image->m_data->Bytes());
        m_image->m_width = header.Width;
        m_image->m_height = header.Height;
        m_image->m_grayscale = header.Grayscale;
        m_settings.Progressive = header.Progressive;
    }
    SetPaletteModified(true);
    Changed();
}

void TJPEGImage::SaveToStream(toolkit::TStream& stream) {
    if (const toolkit::TMemoryStream* data = m_image->Data()) {
        stream.WriteBuffer(data->Memory(), data->Bytes().size());
        return;
    }
    if (!Empty()) {
        throw toolkit::EInvalidGraphicOperation("Cannot save a JPEG image without JPEG data");
    }
}

toolkit::TBitmap& TJPEGImage::Bitmap() {
    if (!m_bitmap) {
        Decode();
    }
    return *m_bitmap;
}

void TJPEGImage::Progress(TProgressStage stage, std::uint8_t percent, bool redraw) {
    if (!OnProgress) {
        return;
    }
    TJPEGProgress report;
    report.Stage = stage;
    report.PercentDone = percent;
    report.RedrawNow = redraw;
    report.Rows = {0, 0, Width(), Height()};
    OnProgress(*this, report);
}

void TJPEGImage::Decode() {
    // The bitmap is ours from the start and stays, whatever happens below.
    m_bitmap = std::make_unique<toolkit::TBitmap>();
    TBitmapTarget target(*m_bitmap);
    RunDecoder(target, [&] { return target.PaletteChanged(); });
}

bool TJPEGImage::DecodeInto(const platform::PixelRows& rows) {
    if (m_bitmap) {
        return false;
    }
    TRowsTarget target(rows, [this]() -> toolkit::TBitmap& {
        m_bitmap = std::make_unique<toolkit::TBitmap>();
        return *m_bitmap;
    });
    try {
        RunDecoder(target, [&] { return target.PaletteChanged(); });
    } catch (...) {
        // Only rows the decoder began to fill are touched: a huge picture refused before its
        // first row costs no pages of the caller's fresh memory.
        if (target.Direct()) {
            const auto rowBytes = static_cast<std::size_t>(rows.step < 0 ? -rows.step : rows.step);
            for (std::int32_t y = 0; y < rows.height; ++y) {
                std::memset(rows.Row(y), 0, rowBytes);
            }
        }
        throw;
    }
    return target.Direct();
}

void TJPEGImage::RunDecoder(TJPEGTarget& target, const std::function<bool()>& paletteChanged) {
    TJPEGDecodeSettings settings = m_settings.Decode;
    if (m_tempPalette) {
        if (settings.OutputDepth == TJPEGOutputDepth::Bits8) {
            const auto& entries = m_tempPalette->Entries();
            const std::size_t count = std::min<std::size_t>(entries.size(), 256);
            settings.ColorMap.clear();
            for (std::size_t i = 0; i < count; ++i) {
                settings.ColorMap.push_back(
                    platform::RGB(entries[i].red, entries[i].green, entries[i].blue));
            }
        } else {
            m_tempPalette.reset();
        }
    }

    // Ending is reported, and listeners told of a new palette, also when decoding fails; the
    // decoding error is the one that propagates then.
    const auto finish = [&](bool succeeded) {
        if (paletteChanged()) {
            SetPaletteModified(true);
        }
        Progress(TProgressStage::Ending, succeeded ? 100 : 0, PaletteModified());
        if (PaletteModified()) {
            Changed();
        }
    };
    try {
        Progress(TProgressStage::Starting, 0, false);
        const toolkit::TMemoryStream* data = m_image->Data();
        std::span<const std::uint8_t> bytes;
        if (data != nullptr) {
            bytes = data->Bytes();
        }
        DecodeJPEG(bytes, settings, target, [this](const TJPEGProgress& report) {
            if (OnProgress) {
                OnProgress(*this, report);
            }
        });
    } catch (...) {
        try {
            finish(false);
        } catch (...) {
            // A listener failing at the end must not hide the decoding error.
        }
        throw;
    }
    finish(true);
}

void TJPEGImage::Draw(toolkit::TCanvas& canvas, const platform::Rect& rect) {
    // Nothing was ever loaded: nothing to draw (a loaded picture of no bytes is not empty and
    // fails to decode instead).
    if (Empty()) {
        return;
    }
    canvas.StretchDraw(rect, Bitmap());
}

void TJPEGImage::Assign(const toolkit::TPersistent* source) {
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
        if (jpeg == this) {
            return;
        }
        jpeg->m_image->Reference();
        m_image->Release();
        m_image = jpeg->m_image;
        m_settings.Progressive = jpeg->m_settings.Progressive;
        if (jpeg->m_bitmap) {
            auto copy = std::make_unique<toolkit::TBitmap>();
            copy->Assign(jpeg->m_bitmap.get());
            m_bitmap = std::move(copy);
        } else {
            FreeBitmap();
        }
        SetPaletteModified(true);
        Changed();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const toolkit::TBitmap*>(source)) {
        auto copy = std::make_unique<toolkit::TBitmap>();
        copy->Assign(bitmap);
        NewImage();
        m_bitmap = std::move(copy);
        SetPaletteModified(true);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(toolkit::TPersistent& dest) const {
    if (auto* bitmap = dynamic_cast<toolkit::TBitmap*>(&dest)) {
        // Decoding is a change of our cache, not of the picture.
        bitmap->Assign(&const_cast<TJPEGImage*>(this)->Bitmap());
        return;
    }
    TGraphic::AssignTo(dest);
}

std::shared_ptr<platform::Palette> TJPEGImage::GetPalette() {
    if (m_bitmap) {
        return m_bitmap->GetPalette();
    }
    return m_tempPalette;
}

void TJPEGImage::SetPalette(const std::shared_ptr<platform::Palette>& palette) {
    if (m_bitmap) {
        m_bitmap->SetPalette(palette);
    } else {
        m_tempPalette = palette;
    }
    SetPaletteModified(true);
    Changed();
}

void TJPEGImage::SetDecodeSettings(const TJPEGDecodeSettings& settings) {
    m_settings.Decode = settings;
    FreeBitmap();
    Changed();
}

} // namespace image
