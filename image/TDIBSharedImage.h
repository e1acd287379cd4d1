#pragma once
// The pixel store of a TDIB, shared by reference count between pictures (copy on write is the
// TDIB's business). A store is one of:
//   - empty: no pixels, no header block (the state of EmptyImage and of a re-initialised store);
//   - memory-only: pixel rows in plain memory, no drawing surface;
//   - compressed: RLE8/RLE4 data as loaded, memory-only, decoded into a copy when needed;
//   - surface: the rows live in a DIB section selected into the store's own device context.
// Rows are bottom-up, WidthBytes apart, padded to 4 bytes; TopRow() is picture row 0 and
// NextLine() (= -WidthBytes) steps one picture row down.
//
// Failures: a bit count other than 1, 4, 8, 16, 24, 32 raises EInvalidGraphicOperation
// "Bitcount in invalid (%d)"; masks that do not suit the bit count "PixelFormat in invalid";
// a geometry whose row or image size does not fit 32 bits EInvalidGraphic "DIB is invalid";
// more pixels than platform::kMaxPicturePixels, or plain memory that cannot be had, EOutOfMemory; a
// surface that cannot be made EOutOfResources "DIB cannot be made". A store that failed to fill is
// left empty.

#include <cstdint>
#include <memory>
#include <vector>

#include "image/TDIBPixelFormat.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/Palette.h"
#include "platform/gfx/PixelMemory.h"
#include "toolkit/Streams.h"
#include "toolkit/TGraphic.h"

namespace image {

class TDIBSharedImage : public toolkit::TSharedImage {
public:
    TDIBSharedImage(); // the empty state
    ~TDIBSharedImage() override;

    // Sets the store up afresh (Reinitialise first). With compressed true and a bit count of 8
    // or 4 no pixel memory is made: the caller supplies the data with SetCompressedData.
    void NewImage(std::int32_t width, std::int32_t height, std::int32_t bitCount,
                  const TDIBPixelFormat& pixelFormat, const platform::ColorTable& colorTable,
                  bool memoryImage, bool compressed);
    // Hands the store the compressed data of a store made with compressed true.
    void SetCompressedData(std::unique_ptr<std::uint8_t[]> data, std::int32_t size);
    // An uncompressed copy of source's pixels (decoding RLE data) as memory-only or surface store.
    void DecompressFrom(const TDIBSharedImage& source, bool memoryImage);
    // An exact copy (compressed data stays compressed).
    void Duplicate(const TDIBSharedImage& source, bool memoryImage);
    // Back to the empty state, keeping memoryImage as given.
    void Reinitialise(bool memoryImage = true);

    // Fills the store from a headerless bitmap stream (information or core header onward).
    // Nothing readable: the empty state. See DIBFile.cpp for the format and its errors.
    void ReadData(toolkit::TStream& stream, bool memoryImage);
    // Writes the header block and Size() bytes of pixel data; nothing for an empty store.
    void WriteData(toolkit::TStream& stream) const;

    // Copies the table, marks it changed and, with pixels and a colour table, passes it to the
    // surface and the header block.
    void SetColorTable(const platform::ColorTable& table);
    // The shared palette of the colour table (remade after a change); nullptr without table.
    std::shared_ptr<platform::Palette> GetPalette();

    std::int32_t BitCount() const { return m_bitCount; }
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    std::int32_t WidthBytes() const { return m_widthBytes; }
    std::int32_t NextLine() const { return m_nextLine; }
    std::int32_t Size() const { return m_size; }
    std::int32_t ColorTableSize() const { return m_colorTableSize; }
    bool Compressed() const { return m_compressed; }
    bool MemoryImage() const { return m_memoryImage; }
    const platform::ColorTable& ColorTable() const { return m_colorTable; }
    const TDIBPixelFormat& PixelFormat() const { return m_pixelFormat; }
    const std::vector<std::uint8_t>& HeaderBlock() const { return m_header; }
    std::uint8_t* PixelData() const { return m_pixelData; }
    std::uint8_t* TopRow() const { return m_topRow; }
    // The store's drawing context; nullptr unless it has a surface.
    platform::DeviceContext* DC() const { return m_dc.get(); }
    // The header block as a platform description, for StretchDIBits.
    platform::BitmapInfo Info() const;
    // The rows as a view (uncompressed stores with pixels only; else an empty view).
    platform::PixelRows Rows() const;

    // The checks NewImage makes before it allocates: bit count, pixel format, geometry.
    static platform::DibGeometry CheckFormat(std::int32_t width, std::int32_t height,
                                             std::int32_t bitCount,
                                             const TDIBPixelFormat& pixelFormat);

private:
    void FreeImage();
    void AllocateMemory(std::size_t bytes);
    void WriteHeaderBlock(platform::Compression compression);

    std::int32_t m_bitCount = 0;
    std::vector<std::uint8_t> m_header;
    bool m_colorTableChanged = true;
    platform::ColorTable m_colorTable{};
    std::int32_t m_colorTablePos = 0;
    bool m_compressed = false;
    std::unique_ptr<platform::DeviceContext> m_dc;
    std::shared_ptr<platform::DibSection> m_surface;
    std::int32_t m_height = 0;
    bool m_memoryImage = true;
    std::int32_t m_nextLine = 0;
    std::shared_ptr<platform::DibSection> m_oldBitmap;
    std::shared_ptr<platform::Palette> m_palette;
    std::int32_t m_colorTableSize = 0;
    platform::PixelBuffer m_memory; // plain pixels or compressed data
    std::uint8_t* m_pixelData = nullptr;
    TDIBPixelFormat m_pixelFormat;
    std::int32_t m_size = 0;
    std::uint8_t* m_topRow = nullptr;
    std::int32_t m_width = 0;
    std::int32_t m_widthBytes = 0;
};

// The one process-wide empty store, made on first need; every empty TDIB refers to it.
TDIBSharedImage& EmptyImage();
// Gives up the module's reference to EmptyImage (module shut-down).
void FreeEmptyImage();

} // namespace image
