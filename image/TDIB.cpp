#include "image/TDIB.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "image/TPaletteManager.h"
#include "image/jpeg/TJPEGImage.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TPicture.h"

namespace image {

namespace {

int g_moduleUsers = 0;

// Runs the module's start-up when the program starts and its shut-down when it ends.
struct DIBModule {
    DIBModule() { DIBModuleStartup(); }
    ~DIBModule() { DIBModuleShutdown(); }
} g_dibModule;

} // namespace

void DIBModuleStartup() {
    if (g_moduleUsers++ > 0)
        return;
    auto create = [] { return std::unique_ptr<toolkit::TGraphic>(new TDIB); };
    toolkit::TPicture::RegisterClipboardFormat(TDIB::kClipboardFormat, "TDIB", create);
    toolkit::TPicture::RegisterFileFormat("dib", "Device Independent Bitmap", "TDIB", create);
}

void DIBModuleShutdown() {
    if (g_moduleUsers == 0 || --g_moduleUsers > 0)
        return;
    toolkit::TPicture::UnregisterGraphicClass("TDIB");
    FreeEmptyImage();
    FreePaletteManager();
}

TDIB::TDIB() {
    SetImage(&EmptyImage());
}

TDIB::~TDIB() {
    if (m_canvas)
        m_canvas->SetHandle(nullptr);
    TDIBSharedImage* image = std::exchange(m_image, nullptr);
    image->Release();
    m_canvas.reset();
}

void TDIB::SetImage(TDIBSharedImage* image) {
    if (image == m_image)
        return;
    if (m_canvas)
        m_canvas->SetHandle(nullptr);
    image->Reference();
    TDIBSharedImage* old = std::exchange(m_image, image);
    if (old != nullptr)
        old->Release();
    if (m_canvas)
        m_canvas->SetHandle(m_image->DC());
    m_colorTable = m_image->ColorTable();
    m_pixelFormat = m_image->PixelFormat();
}

void TDIB::ReplaceImage(const std::function<void(TDIBSharedImage&)>& fill) {
    auto* image = new TDIBSharedImage;
    try {
        fill(*image);
    } catch (...) {
        delete image;
        throw;
    }
    SetImage(image);
}

void TDIB::SetSize(std::int32_t width, std::int32_t height, std::int32_t bitCount) {
    if (width == Width() && height == Height() && bitCount == BitCount() &&
        m_image->PixelFormat().SameMasks(m_pixelFormat))
        return;
    if (width <= 0 || height <= 0) {
        Clear();
        return;
    }
    const bool memoryImage = m_image->MemoryImage();
    const TDIBPixelFormat format = m_pixelFormat;
    const platform::ColorTable table = m_colorTable;
    ReplaceImage([&](TDIBSharedImage& image) {
        image.NewImage(width, height, bitCount, format, table, memoryImage, false);
    });
    SetPaletteModified(true);
    Changed();
}

void TDIB::Clear() {
    SetImage(&EmptyImage());
    Changed();
}

void TDIB::SetWidth(std::int32_t value) {
    if (value <= 0)
        Clear();
    else if (Empty())
        SetSize(value, std::max(Height(), 1), 8);
    else
        SetSize(value, Height(), BitCount());
}

void TDIB::SetHeight(std::int32_t value) {
    if (value <= 0)
        Clear();
    else if (Empty())
        SetSize(std::max(Width(), 1), value, 8);
    else
        SetSize(Width(), value, BitCount());
}

void TDIB::Unshare(bool keepMemoryImage) {
    const TDIBSharedImage& image = *m_image;
    if (image.RefCount() == 1 && !image.Compressed() && (keepMemoryImage || !image.MemoryImage()))
        return;
    const bool memoryImage = image.MemoryImage() && keepMemoryImage;
    ReplaceImage([&](TDIBSharedImage& copy) { copy.DecompressFrom(image, memoryImage); });
}

void TDIB::MakeSurface() {
    if (!m_image->MemoryImage())
        return;
    const TDIBSharedImage& image = *m_image;
    ReplaceImage([&](TDIBSharedImage& copy) { copy.DecompressFrom(image, false); });
}

void TDIB::Decompress() {
    if (!m_image->Compressed())
        return;
    const TDIBSharedImage& image = *m_image;
    ReplaceImage([&](TDIBSharedImage& copy) { copy.DecompressFrom(image, image.MemoryImage()); });
}

std::uint32_t TDIB::Pixels(std::int32_t x, std::int32_t y) {
    Decompress();
    if (x < 0 || x >= Width() || y < 0 || y >= Height())
        return 0;
    const std::uint8_t* row = m_image->TopRow() + std::ptrdiff_t{y} * m_image->NextLine();
    switch (BitCount()) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 8:
        return row[x];
    case 16:
        return std::uint32_t{row[2 * x]} | std::uint32_t{row[2 * x + 1]} << 8;
    case 24: {
        const std::uint8_t* p = row + 3 * std::ptrdiff_t{x};
        return std::uint32_t{p[2]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[0]} << 16;
    }
    case 32: {
        const std::uint8_t* p = row + 4 * std::ptrdiff_t{x};
        return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
               std::uint32_t{p[3]} << 24;
    }
    default:
        return 0;
    }
}

std::uint8_t* TDIB::PBits() {
    Unshare(true);
    platform::GdiFlush();
    return m_image->PixelData();
}

std::uint8_t* TDIB::ScanLine(std::int32_t y) {
    if (y < 0 || y >= Height())
        throw toolkit::EInvalidGraphicOperation("Scan line index out of range");
    Unshare(true);
    platform::GdiFlush();
    return m_image->TopRow() + std::ptrdiff_t{y} * m_image->NextLine();
}

toolkit::TCanvas& TDIB::Canvas() {
    // Whoever asks for the canvas may draw through its context directly, so the store is made
    // an unshared, decoded surface here and not only on the canvas's own drawing calls.
    Unshare(false);
    if (!m_canvas) {
        m_canvas = std::make_unique<toolkit::TCanvas>(m_image->DC());
        m_canvas->OnChanging = [this] { Unshare(false); };
    }
    return *m_canvas;
}

void TDIB::Draw(toolkit::TCanvas& canvas, const platform::Rect& rect) {
    if (Size() <= 0)
        return;
    platform::DeviceContext& dc = canvas.Handle();
    // Puts back the stretch mode and palette, also when the blit throws.
    platform::DcStateGuard guard(dc);
    if (ColorTableSize() > 0) {
        platform::SelectPalette(dc, GetPalette(), false);
        platform::RealizePalette(dc);
    }
    platform::SetStretchBltMode(dc, platform::StretchMode::ColorOnColor);
    platform::GdiFlush();
    const TDIBSharedImage& image = *m_image;
    if (image.MemoryImage()) {
        const platform::BitmapInfo info = image.Info();
        platform::StretchDIBits(dc, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, Width(),
                                Height(), image.PixelData(), static_cast<std::size_t>(image.Size()),
                                info, canvas.CopyMode());
    } else {
        platform::StretchBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(), *image.DC(), 0,
                             0, Width(), Height(), canvas.CopyMode());
    }
}

void TDIB::Assign(const toolkit::TPersistent* source) {
    if (source == nullptr) {
        Clear();
        return;
    }
    if (const auto* dib = dynamic_cast<const TDIB*>(source)) {
        if (dib != this) {
            SetImage(dib->m_image);
            Changed();
        }
        return;
    }
    if (const auto* picture = dynamic_cast<const toolkit::TPicture*>(source)) {
        if (picture->Graphic() == nullptr)
            Clear();
        else
            Assign(picture->Graphic());
        return;
    }
    // Drawing a picture may make it decode on first use; it does not change what it shows.
    auto* graphic = const_cast<toolkit::TGraphic*>(dynamic_cast<const toolkit::TGraphic*>(source));
    if (graphic == nullptr) {
        TGraphic::Assign(source);
        return;
    }
    std::int32_t bitCount = 24;
    // A layout left over from a 16-bit picture would make the 24-bit size fail.
    m_pixelFormat = MakePixelFormat(8, 8, 8);
    if (auto* bitmap = dynamic_cast<toolkit::TBitmap*>(graphic)) {
        m_colorTable = {};
        const auto& colors = bitmap->PaletteColors();
        for (std::size_t i = 0; i < colors.size() && i < 256; ++i)
            m_colorTable[i] = platform::ToRgbQuad(colors[i]);
        ApplyColorTable();
        bitCount = bitmap->BitCount();
    }
    const std::int32_t width = graphic->Width();
    const std::int32_t height = graphic->Height();
    if (width <= 0 || height <= 0) {
        // An empty picture: drawing into it fails as it does into any empty picture.
        SetSize(width, height, bitCount);
        PBits();
        Canvas().Draw(0, 0, *graphic);
        return;
    }
    MakeBlackSurface(width, height, bitCount);
    if (auto* jpeg = dynamic_cast<TJPEGImage*>(graphic); jpeg != nullptr && !jpeg->Decoded()) {
        // Decoding straight into our rows spares the JPEG's own decoded copy. A failure leaves
        // them black, as when decoding fails before anything is drawn.
        if (jpeg->DecodeInto(m_image->Rows()))
            return;
    }
    Canvas().Draw(0, 0, *graphic);
}

// The picture SetSize, zero-filling the pixels and asking for the canvas would leave, without
// writing or copying rows: fresh pixel memory is zero already, and a memory-only store would only
// be copied onto a surface for the drawing.
void TDIB::MakeBlackSurface(std::int32_t width, std::int32_t height, std::int32_t bitCount) {
    const TDIBSharedImage& current = *m_image;
    const bool reusable =
        current.Width() == width && current.Height() == height && current.BitCount() == bitCount &&
        current.PixelFormat().SameMasks(m_pixelFormat) && current.RefCount() == 1 &&
        !current.Compressed() && !current.MemoryImage();
    if (reusable) {
        std::memset(m_image->PixelData(), 0, static_cast<std::size_t>(Size()));
    } else {
        const TDIBPixelFormat format = m_pixelFormat;
        const platform::ColorTable table = m_colorTable;
        ReplaceImage([&](TDIBSharedImage& image) {
            image.NewImage(width, height, bitCount, format, table, false, false);
        });
        SetPaletteModified(true);
        Changed();
    }
    Canvas();
}

void TDIB::AssignTo(toolkit::TPersistent& dest) const {
    auto* bitmap = dynamic_cast<toolkit::TBitmap*>(&dest);
    if (bitmap == nullptr) {
        TGraphic::AssignTo(dest);
        return;
    }
    // Pictures of 8 bits or fewer keep their colour table as the bitmap's palette.
    if (BitCount() <= 8 && BitCount() > 0) {
        std::vector<platform::Color> colors;
        for (int i = 0; i < ColorTableSize(); ++i)
            colors.push_back(platform::ToColor(m_colorTable[i]));
        bitmap->SetPaletteColors(colors);
        bitmap->SetPixelFormat(toolkit::TPixelFormat::pf8bit);
    } else {
        bitmap->SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    }
    bitmap->SetSize(Width(), Height());
    if (!Empty())
        bitmap->Canvas().Draw(0, 0, const_cast<TDIB&>(*this));
}

void TDIB::ApplyColorTable() {
    if (m_colorTable == m_image->ColorTable())
        return;
    const platform::ColorTable requested = m_colorTable;
    Unshare(true);
    m_colorTable = requested;
    m_image->SetColorTable(requested);
    SetPaletteModified(true);
}

std::shared_ptr<platform::Palette> TDIB::GetPalette() {
    return m_image->GetPalette();
}

void TDIB::SetPalette(const std::shared_ptr<platform::Palette>& palette) {
    platform::ColorTable table{};
    if (palette) {
        const auto& entries = palette->Entries();
        for (std::size_t i = 0; i < entries.size() && i < 256; ++i)
            table[i] = {entries[i].blue, entries[i].green, entries[i].red, 0};
    }
    m_colorTable = table;
    ApplyColorTable();
}

} // namespace image
