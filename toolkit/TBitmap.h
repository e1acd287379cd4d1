#pragma once
// The toolkit's bitmap: a picture of 8 bits per pixel (with a palette) or 24 bits per pixel
// (blue, green, red), held in a DIB section selected into the bitmap's own device context.
//
// Rows are stored top to bottom: ScanLine(y + 1) lies ScanLineStride() bytes after ScanLine(y),
// the stride being a multiple of 4, so a decoder may write several rows through one pointer.
// Changing the size or pixel format makes new rows whose pixels are zero (the old picture is
// not kept); the palette of an 8-bit bitmap survives resizing. A new bitmap is empty, 24-bit.
//
// Streams hold a bitmap file with a 40-byte header (uncompressed, 8 or 24 bits); reading refuses
// anything else with EInvalidGraphic "Bitmap image is not valid" and keeps the old picture.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Dib.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TGraphic.h"

namespace toolkit {

enum class TPixelFormat { pf8bit, pf24bit };

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    std::string ClassName() const override { return "TBitmap"; }

    std::int32_t Width() const override { return m_width; }
    std::int32_t Height() const override { return m_height; }
    bool Empty() const override { return m_width == 0 || m_height == 0; }
    void SetWidth(std::int32_t value) override { SetSize(value, m_height); }
    void SetHeight(std::int32_t value) override { SetSize(m_width, value); }
    // A size of 0 or less on either side empties the bitmap. A geometry the platform refuses
    // raises EOutOfResources "Bitmap cannot be made" and keeps the old picture.
    void SetSize(std::int32_t width, std::int32_t height);

    TPixelFormat PixelFormat() const { return m_pixelFormat; }
    void SetPixelFormat(TPixelFormat format);
    int BitCount() const { return m_pixelFormat == TPixelFormat::pf8bit ? 8 : 24; }

    // Row y from the top; EInvalidGraphicOperation "Scan line index out of range" outside
    // 0 ... Height() - 1.
    std::uint8_t* ScanLine(std::int32_t y);
    std::int32_t ScanLineStride() const;

    // The colours of the 8-bit palette (up to 256; entries beyond are black). Also kept for a
    // 24-bit bitmap, which does not use them.
    const std::vector<platform::Color>& PaletteColors() const { return m_paletteColors; }
    void SetPaletteColors(std::span<const platform::Color> colors);
    std::shared_ptr<platform::Palette> GetPalette() override;
    // Takes the palette's entries (the bitmap keeps no reference to it).
    void SetPalette(const std::shared_ptr<platform::Palette>& palette);

    TCanvas& Canvas();
    // The section holding the rows; nullptr while empty.
    const std::shared_ptr<platform::DibSection>& Section() const { return m_section; }
    platform::DeviceContext& DC() { return *m_dc; }

    void Draw(TCanvas& canvas, const platform::Rect& rect) override;
    // From another TBitmap: a copy of its pixels, format and palette. Others: conversion error.
    void Assign(const TPersistent* source) override;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

private:
    void Rebuild(std::int32_t width, std::int32_t height, TPixelFormat format);

    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    TPixelFormat m_pixelFormat = TPixelFormat::pf24bit;
    std::vector<platform::Color> m_paletteColors;
    std::shared_ptr<platform::Palette> m_palette; // made from m_paletteColors on demand
    std::shared_ptr<platform::DibSection> m_section;
    std::unique_ptr<platform::DeviceContext> m_dc;
    std::unique_ptr<TCanvas> m_canvas;
};

} // namespace toolkit
