#include "image/GreyCopy.h"

#include <algorithm>
#include <new>
#include <utility>

#include "image/BitmapLayout.h"
#include "image/PictureFile.h"
#include "image/TDIBSharedImage.h"
#include "image/jpeg/JPEGDecoder.h"
#include "image/jpeg/TDecodedPicture.h"
#include "image/png/PNGDecoder.h"
#include "platform/gfx/BlitClip.h"
#include "platform/gfx/PixelCodec.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Streams.h"

namespace image {
namespace {

// The stretched drawing's own rule for which source pixel each target pixel shows.
std::vector<std::int64_t> SampledPositions(std::int32_t sourceLength, std::int32_t targetLength) {
    platform::BlitAxis axis;
    axis.dstLength = targetLength;
    axis.srcLength = sourceLength;
    std::vector<std::int64_t> positions(static_cast<std::size_t>(targetLength));
    for (std::int32_t d = 0; d < targetLength; ++d)
        positions[static_cast<std::size_t>(d)] = axis.SourceOf(d);
    return positions;
}

// The distinct source rows, in increasing order.
std::vector<std::int32_t> DistinctRows(const std::vector<std::int64_t>& rows) {
    std::vector<std::int32_t> distinct(rows.begin(), rows.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    return distinct;
}

// Writes sampled source rows into the grey copy, matching colours to the grey ramp as the
// drawing into an 8-bit grey picture does.
class TGreyWriter {
public:
    TGreyWriter(const std::vector<std::int64_t>& cols, const std::vector<std::int64_t>& rows,
                TGreyCopy& grey)
        : m_cols(cols), m_rows(rows), m_grey(grey), m_matcher(platform::GreyRamp().data(), 256),
          m_colors(cols.size()) {
        m_target.top = grey.pixels.data();
        m_target.step = grey.width;
        m_target.width = grey.width;
        m_target.height = grey.height;
        m_target.bitCount = 8;
        m_target.colors = platform::GreyRamp().data();
        m_target.colorCount = 256;
    }

    // Every target row that samples source row sourceRow, from that row's pixels.
    void Put(const platform::PixelRows& format, const std::uint8_t* row, std::int64_t sourceRow) {
        const auto [first, last] = std::equal_range(m_rows.begin(), m_rows.end(), sourceRow);
        if (first == last)
            return;
        platform::ReadColors(format, row, m_cols.data(), m_cols.size(), m_colors.data());
        const auto y = static_cast<std::int32_t>(first - m_rows.begin());
        platform::WriteColors(m_target, m_target.Row(y), 0, m_colors.data(), m_colors.size(),
                              m_matcher);
        for (auto it = first + 1; it != last; ++it)
            std::copy_n(m_target.Row(y), m_grey.width,
                        m_target.Row(static_cast<std::int32_t>(it - m_rows.begin())));
        if (!m_grey.colors.empty())
            for (auto it = first; it != last; ++it)
                PutColors(static_cast<std::size_t>(it - m_rows.begin()));
    }

private:
    void PutColors(std::size_t y) {
        std::uint8_t* out = m_grey.colors.data() + y * m_colors.size() * 3;
        for (const platform::Color color : m_colors) {
            *out++ = platform::GetRValue(color);
            *out++ = platform::GetGValue(color);
            *out++ = platform::GetBValue(color);
        }
    }

    const std::vector<std::int64_t>& m_cols;
    const std::vector<std::int64_t>& m_rows;
    TGreyCopy& m_grey;
    platform::PixelRows m_target;
    platform::ColorMatcher m_matcher;
    std::vector<platform::Color> m_colors;
};

class TBitmapPicture final : public TSampledPicture {
public:
    explicit TBitmapPicture(std::unique_ptr<toolkit::TStream> stream, bool fileHeader)
        : m_stream(std::move(stream)) {
        if (fileHeader && !ReadBitmapFileHeader(*m_stream))
            return;
        const std::optional<TBitmapLayout> layout = ReadBitmapLayout(*m_stream);
        if (!layout)
            return;
        m_layout = *layout;
        if (m_layout.Rle()) {
            // The reader keeps compressed data as it is, so all of it is read here too.
            try {
                m_rle.resize(std::size_t{m_layout.sizeImage} + 1);
            } catch (const std::bad_alloc&) {
                throw toolkit::EOutOfMemory();
            }
            m_stream->ReadBuffer(m_rle.data(), m_layout.sizeImage);
        } else {
            if (std::int64_t{m_layout.width} * m_layout.rows > platform::kMaxPicturePixels)
                throw toolkit::EOutOfMemory();
            m_dataStart = m_stream->Position();
        }
        m_width = m_layout.width;
        m_height = m_layout.rows;
    }

private:
    void Validate() override {}

    void Draw(const TSampling& sampling, TGreyCopy& grey) override {
        TGreyWriter writer(sampling.cols, sampling.rows, grey);
        const platform::PixelRows format = m_layout.Format();
        const std::vector<std::int32_t> needed = DistinctRows(sampling.rows);
        const auto widthBytes = static_cast<std::size_t>(m_layout.geometry.widthBytes);
        if (m_layout.Rle()) {
            std::vector<std::uint8_t> rows(needed.size() * widthBytes);
            platform::DecodeRleRows(
                m_rle.data(), m_layout.sizeImage,
                m_layout.compression == 1 ? platform::Compression::Rle8
                                          : platform::Compression::Rle4,
                m_layout.width, m_layout.rows, m_layout.bitCount,
                [&](std::int32_t y) -> std::uint8_t* {
                    const auto it = std::lower_bound(needed.begin(), needed.end(), y);
                    if (it == needed.end() || *it != y)
                        return nullptr;
                    return rows.data() + static_cast<std::size_t>(it - needed.begin()) * widthBytes;
                });
            for (std::size_t i = 0; i < needed.size(); ++i)
                writer.Put(format, rows.data() + i * widthBytes, needed[i]);
            return;
        }
        // Rows are read in the order they lie in the file.
        std::vector<std::int32_t> order = needed;
        if (!m_layout.topDown)
            std::reverse(order.begin(), order.end());
        std::vector<std::uint8_t> row(widthBytes);
        platform::PixelRows one = format;
        one.top = row.data();
        one.height = 1;
        for (const std::int32_t y : order) {
            const std::int64_t stored = m_layout.topDown ? y : m_layout.rows - 1 - y;
            m_stream->Seek(m_dataStart + stored * static_cast<std::int64_t>(widthBytes),
                           toolkit::SeekOrigin::Beginning);
            m_stream->ReadBuffer(row.data(), widthBytes);
            if (m_layout.NeedsRepack())
                RepackChannels(one, m_layout.fileMasks, m_layout.pixelFormat);
            writer.Put(format, row.data(), y);
        }
    }

    std::unique_ptr<toolkit::TStream> m_stream;
    TBitmapLayout m_layout;
    std::int64_t m_dataStart = 0;
    std::vector<std::uint8_t> m_rle;
};

class TJPEGPicture final : public TSampledPicture {
public:
    explicit TJPEGPicture(std::unique_ptr<toolkit::TStream> stream) : m_stream(std::move(stream)) {
        const std::int64_t size = m_stream->Remaining();
        // A JPEG of no bytes is a picture of no size, which cannot be drawn into the bitmap
        // that the window's reader assigns it to.
        if (size == 0)
            throw toolkit::EInvalidOperation::CanvasDoesNotAllowDrawing();
        toolkit::TStream* source = m_stream.get();
        m_decoder = std::make_unique<TJPEGRowDecoder>(
            [source](std::uint8_t* buffer, std::size_t count) {
                return source->Read(buffer, count);
            },
            size);
        m_width = m_decoder->Header().Width;
        m_height = m_decoder->Header().Height;
    }

private:
    // The window's reader makes a full-size 24-bit picture before it decodes, and fails as
    // making it fails.
    void CheckPictureSize() const {
        TDIBSharedImage::CheckFormat(m_width, m_height, 24, MakePixelFormat(8, 8, 8));
        if (std::int64_t{m_width} * m_height > platform::kMaxPicturePixels)
            throw toolkit::EOutOfMemory();
    }

    void Validate() override {
        CheckPictureSize();
        if (std::exchange(m_decoded, true))
            return;
        m_decoder->Decode(
            {}, [](std::int32_t, const std::uint8_t*, int, std::span<const platform::Color>) {});
    }

    void Draw(const TSampling& sampling, TGreyCopy& grey) override {
        CheckPictureSize();
        m_decoded = true;
        TGreyWriter writer(sampling.cols, sampling.rows, grey);
        const std::vector<std::int32_t> needed = DistinctRows(sampling.rows);
        platform::ColorTable table{};
        m_decoder->Decode(needed, [&](std::int32_t y, const std::uint8_t* row, int bitCount,
                                      std::span<const platform::Color> palette) {
            platform::PixelRows format;
            format.width = m_width;
            format.height = m_height;
            format.bitCount = bitCount;
            if (bitCount == 8) {
                const std::size_t count = std::min<std::size_t>(palette.size(), table.size());
                for (std::size_t i = 0; i < count; ++i)
                    table[i] = platform::ToRgbQuad(palette[i]);
                format.colors = table.data();
                format.colorCount = static_cast<int>(count);
            }
            writer.Put(format, row, y);
        });
    }

    std::unique_ptr<toolkit::TStream> m_stream;
    std::unique_ptr<TJPEGRowDecoder> m_decoder;
    bool m_decoded = false;
};

class TPNGPicture final : public TSampledPicture {
public:
    explicit TPNGPicture(toolkit::TStream& stream) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Remaining()));
        stream.ReadBuffer(bytes.data(), bytes.size());
        DecodePNG(bytes, m_picture);
        m_width = m_picture.Width();
        m_height = m_picture.Height();
    }

private:
    void Validate() override {}

    void Draw(const TSampling& sampling, TGreyCopy& grey) override {
        TGreyWriter writer(sampling.cols, sampling.rows, grey);
        platform::PixelRows format;
        format.width = m_width;
        format.height = m_height;
        format.bitCount = 24;
        for (const std::int32_t y : DistinctRows(sampling.rows))
            writer.Put(format, m_picture.ScanLine(y), y);
    }

    TDecodedPicture m_picture;
};

// The reader for a picture of the kind given, over its stream.
std::unique_ptr<TSampledPicture> OpenKind(PictureKind kind,
                                          std::unique_ptr<toolkit::TStream> stream) {
    switch (kind) {
    case PictureKind::Png:
        return std::make_unique<TPNGPicture>(*stream);
    case PictureKind::Jpeg:
        return std::make_unique<TJPEGPicture>(std::move(stream));
    case PictureKind::Bitmap:
        break;
    }
    return std::make_unique<TBitmapPicture>(std::move(stream), true);
}

} // namespace

std::unique_ptr<TSampledPicture> TSampledPicture::OpenFile(const std::string& fileName) {
    const PictureKind kind = PictureKindOfFile(fileName);
    return OpenKind(kind,
                    std::make_unique<toolkit::TFileStream>(fileName, toolkit::FileMode::OpenRead));
}

std::unique_ptr<TSampledPicture> TSampledPicture::OpenBytes(std::vector<std::uint8_t> bytes) {
    const PictureKind kind = PictureKindOfBytes(bytes.data(), bytes.size());
    return OpenKind(kind, std::make_unique<toolkit::TMemoryStream>(std::move(bytes)));
}

void TSampledPicture::ReadAll() {
    Validate();
}

void TSampledPicture::DrawGreyCopy(std::int32_t w, std::int32_t h, TGreyCopy& grey, Colors colors) {
    grey = TGreyCopy{};
    if (w <= 0 || h <= 0 || std::int64_t{w} * h > platform::kMaxPicturePixels) {
        // The window's reader has read the whole picture before the copy is even made.
        Validate();
        if (w > 0 && h > 0)
            throw toolkit::EOutOfMemory();
        throw toolkit::EInvalidOperation::CanvasDoesNotAllowDrawing();
    }
    grey.width = w;
    grey.height = h;
    grey.pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    if (colors == Colors::With)
        grey.colors.assign(grey.pixels.size() * 3, 0);
    if (m_width <= 0 || m_height <= 0)
        return; // an empty picture draws nothing
    TSampling sampling;
    sampling.cols = SampledPositions(m_width, w);
    sampling.rows = SampledPositions(m_height, h);
    Draw(sampling, grey);
}

} // namespace image
