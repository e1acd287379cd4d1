#pragma once
// TDIB: a picture in device-independent bitmap layout (1, 4, 8, 16, 24 or 32 bits per pixel,
// colour table of 256 entries of which 2^BitCount are used up to 8 bits, rows bottom-up padded
// to 4 bytes) whose pixel store is shared between copies and copied before a change.
//
// Picture coordinates count from the top left: Pixels(0, 0) is the top left pixel. Pixels reads
// the colour table index (1, 4, 8 bits), the raw word (16 bits), red + green × 256 + blue ×
// 65536 (24 bits) or the stored word with blue in the low byte (32 bits); 0 outside the picture.
//
// ColorTable() and PixelFormat() are what the next SetSize uses; they are refreshed from the
// store whenever the picture takes another store. A new picture is empty with the grey ramp and
// 8-8-8.
//
// Bitmap files: LoadFromStream/SaveToStream with the 14-byte file header, ReadData/WriteData
// without it. Every failure (see TDIBSharedImage.h and DIBFile.cpp for the messages) leaves the
// picture as it was.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "image/TDIBPixelFormat.h"
#include "image/TDIBSharedImage.h"
#include "platform/gfx/Dib.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TGraphic.h"

namespace image {

class TDIB : public toolkit::TGraphic {
public:
    TDIB();
    ~TDIB() override;
    TDIB(const TDIB&) = delete;
    TDIB& operator=(const TDIB&) = delete;

    std::string ClassName() const override { return "TDIB"; }

    // New rows of that geometry (values undefined until drawn or written); w or h of 0 or less
    // empties the picture; the same geometry and masks again keep the store and its pixels.
    void SetSize(std::int32_t width, std::int32_t height, std::int32_t bitCount);
    void Clear();

    std::int32_t Width() const override { return m_image->Width(); }
    std::int32_t Height() const override { return m_image->Height(); }
    std::int32_t BitCount() const { return m_image->BitCount(); }
    std::int32_t WidthBytes() const { return m_image->WidthBytes(); }
    std::int32_t NextLine() const { return m_image->NextLine(); }
    std::int32_t Size() const { return m_image->Size(); }
    bool Empty() const override { return m_image->Size() == 0; }
    // 0 or less: Clear; on an empty picture SetSize(value, max(other, 1), 8); else the other side
    // and the bit count stay.
    void SetWidth(std::int32_t value) override;
    void SetHeight(std::int32_t value) override;

    std::uint32_t Pixels(std::int32_t x, std::int32_t y);
    // The pixel data for writing (unshared, decoded, bottom row first); nullptr when empty.
    std::uint8_t* PBits();
    // Picture row y for writing (unshared, decoded); EInvalidGraphicOperation "Scan line index
    // out of range" outside the picture.
    std::uint8_t* ScanLine(std::int32_t y);

    // The canvas on the pixel rows (moving them onto an unshared surface first).
    toolkit::TCanvas& Canvas();

    void Draw(toolkit::TCanvas& canvas, const platform::Rect& rect) override;
    // nullptr: Clear. TDIB: share its store. TBitmap: take its palette, format and pixels.
    // TPicture: its graphic. Any other TGraphic: a 24-bit copy drawn at its size (an undecoded
    // TJPEGImage with 24-bit output decodes straight into the copy's rows and stays undecoded;
    // when decoding fails the copy is left black and the error propagates).
    void Assign(const toolkit::TPersistent* source) override;

    platform::ColorTable& ColorTable() { return m_colorTable; }
    TDIBPixelFormat& PixelFormat() { return m_pixelFormat; }
    std::int32_t ColorTableSize() const { return m_image->ColorTableSize(); }
    // Hands ColorTable() to the (unshared) store.
    void ApplyColorTable();
    std::shared_ptr<platform::Palette> GetPalette() override;
    // Takes the palette's entries as the colour table.
    void SetPalette(const std::shared_ptr<platform::Palette>& palette);

    void LoadFromStream(toolkit::TStream& stream) override;
    void SaveToStream(toolkit::TStream& stream) override;
    void ReadData(toolkit::TStream& stream);
    void WriteData(toolkit::TStream& stream);

    // Clipboard exchange in format 8 (a bitmap without its file header). Saving gives the
    // WriteData bytes (none for an empty picture); loading runs ReadData over the given bytes.
    static constexpr std::uint32_t kClipboardFormat = 8;
    std::vector<std::uint8_t> SaveToClipboardFormat(std::uint32_t& format);
    void LoadFromClipboardFormat(std::uint32_t format, const std::vector<std::uint8_t>& data);

    // The current store (never null).
    const TDIBSharedImage& Image() const { return *m_image; }
    // Copy on write: after it the store has one reference, is decoded, and has a surface unless
    // keepMemoryImage lets a memory-only store stay so.
    void Unshare(bool keepMemoryImage);
    void MakeSurface();
    void Decompress();

protected:
    void AssignTo(toolkit::TPersistent& dest) const override;

private:
    void SetImage(TDIBSharedImage* image);
    // Runs fill on a new store and takes it when fill succeeds.
    void ReplaceImage(const std::function<void(TDIBSharedImage&)>& fill);
    void MakeBlackSurface(std::int32_t width, std::int32_t height, std::int32_t bitCount);

    std::unique_ptr<toolkit::TCanvas> m_canvas;
    TDIBSharedImage* m_image = nullptr;
    platform::ColorTable m_colorTable{};
    TDIBPixelFormat m_pixelFormat;
};

// Module start-up and shut-down (counted; the DIB module runs them itself at program start and
// end): registers TDIB for the clipboard format 8 and the extension "dib" ("Device Independent
// Bitmap"); shut-down unregisters it and frees EmptyImage and the palette manager.
void DIBModuleStartup();
void DIBModuleShutdown();

} // namespace image
