// Bitmap files: reading a headerless bitmap into a store, and the file header around it.
//
// Layout read, with no gaps: [file header, 14 bytes] information header (40 bytes) or core
// header (12 bytes), three 32-bit masks when the compression is bit fields, the colour table
// (4-byte entries, 3-byte after a core header), the pixel data. The file header's data offset is
// not used: the pixels are taken to follow the colour table.

#include <cstring>
#include <new>

#include "image/BitmapLayout.h"
#include "image/TDIB.h"
#include "image/TDIBSharedImage.h"
#include "toolkit/Exceptions.h"

namespace image {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

} // namespace

void TDIBSharedImage::ReadData(toolkit::TStream& stream, bool memoryImage) {
    Reinitialise(memoryImage);
    const std::optional<TBitmapLayout> found = ReadBitmapLayout(stream);
    if (!found)
        return; // nothing there: an empty picture
    const TBitmapLayout& layout = *found;
    if (layout.Rle()) {
        std::unique_ptr<std::uint8_t[]> data(new (std::nothrow) std::uint8_t[layout.sizeImage + 1]);
        if (!data)
            throw toolkit::EOutOfMemory();
        stream.ReadBuffer(data.get(), layout.sizeImage);
        NewImage(layout.width, layout.rows, layout.bitCount, layout.pixelFormat, layout.colorTable,
                 true, true);
        SetCompressedData(std::move(data), static_cast<std::int32_t>(layout.sizeImage));
        return;
    }
    NewImage(layout.width, layout.rows, layout.bitCount, layout.pixelFormat, layout.colorTable,
             memoryImage, false);
    if (!layout.topDown) {
        stream.ReadBuffer(m_pixelData, static_cast<std::size_t>(m_size));
    } else {
        for (std::int32_t y = 0; y < layout.rows; ++y)
            stream.ReadBuffer(m_topRow + std::ptrdiff_t{y} * m_nextLine,
                              static_cast<std::size_t>(m_widthBytes));
    }
    if (layout.NeedsRepack())
        RepackChannels(Rows(), layout.fileMasks, layout.pixelFormat);
}

void TDIB::LoadFromStream(toolkit::TStream& stream) {
    if (ReadBitmapFileHeader(stream))
        ReadData(stream);
}

void TDIB::SaveToStream(toolkit::TStream& stream) {
    if (Empty())
        return;
    const TDIBSharedImage& image = *m_image;
    const auto headerBlock = static_cast<std::uint32_t>(image.HeaderBlock().size());
    const std::uint32_t offset = headerBlock + kFileHeaderSize;
    const std::uint32_t fileSize = static_cast<std::uint32_t>(image.Size()) + offset;
    std::uint8_t header[kFileHeaderSize] = {};
    header[0] = 'B';
    header[1] = 'M';
    for (int i = 0; i < 4; ++i) {
        header[2 + i] = static_cast<std::uint8_t>(fileSize >> (8 * i));
        header[10 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
    }
    stream.WriteBuffer(header, sizeof header);
    WriteData(stream);
}

void TDIB::ReadData(toolkit::TStream& stream) {
    const bool memoryImage = m_image->MemoryImage();
    ReplaceImage([&](TDIBSharedImage& image) { image.ReadData(stream, memoryImage); });
    SetPaletteModified(true);
    Changed();
}

void TDIB::WriteData(toolkit::TStream& stream) {
    if (Empty())
        return;
    m_image->WriteData(stream);
}

std::vector<std::uint8_t> TDIB::SaveToClipboardFormat(std::uint32_t& format) {
    format = kClipboardFormat;
    toolkit::TMemoryStream stream;
    WriteData(stream);
    return stream.Bytes();
}

void TDIB::LoadFromClipboardFormat(std::uint32_t, const std::vector<std::uint8_t>& data) {
    toolkit::TMemoryStream stream(data);
    ReadData(stream);
}

} // namespace image
