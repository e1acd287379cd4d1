// Feeds arbitrary bytes to the RLE8 and RLE4 decoding as the blits use it, bypassing the bitmap
// reader's checks. The first bytes choose the picture and the drawing, the rest is the RLE data:
//   0: bit 0 set for RLE4 (else RLE8)
//   1, 2: picture width and height, 1 ... 48
//   3, 4: target width and height, 1 ... 48, negative (mirrored) when bit 7 is set
//   5: target origin, low nibble x - 8, high nibble y - 8 (so that clipping takes part)
// Besides crashing, the stretched drawing of the compressed data, which decodes only the rows
// it samples, must give exactly the pixels of drawing the whole decoded picture.
// Run: fuzz_rle -max_len=2048 -max_total_time=60 <scratch folder> fuzz/image/rle-corpus

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Dib.h"

namespace {

constexpr std::size_t kHeaderBytes = 6;
constexpr std::int32_t kTargetSize = 40;

std::int32_t Side(std::uint8_t b) {
    return 1 + b % 48;
}

std::int32_t SignedSide(std::uint8_t b) {
    const std::int32_t side = 1 + (b & 0x7F) % 48;
    return (b & 0x80) ? -side : side;
}

// A 24-bit target whose pixels start grey, so pixels left alone show.
std::unique_ptr<platform::DeviceContext> Target() {
    platform::BitmapInfo info;
    info.width = kTargetSize;
    info.height = kTargetSize;
    info.bitCount = 24;
    auto dc = platform::CreateCompatibleDC();
    auto section = platform::CreateDIBSection(info);
    if (!section)
        __builtin_trap();
    std::memset(section->Bits(), 0x55, static_cast<std::size_t>(section->ImageSize()));
    platform::SelectObject(*dc, section);
    return dc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderBytes)
        return 0;
    const bool rle4 = data[0] & 1;
    platform::BitmapInfo info;
    info.width = Side(data[1]);
    info.height = Side(data[2]);
    info.bitCount = rle4 ? 4 : 8;
    info.compression = rle4 ? platform::Compression::Rle4 : platform::Compression::Rle8;
    for (int i = 0; i < 256; ++i)
        info.colors[i] = {static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i * 91),
                          static_cast<std::uint8_t>(255 - i), 0};
    const std::int32_t tw = SignedSide(data[3]);
    const std::int32_t th = SignedSide(data[4]);
    const std::int32_t tx = (data[5] & 0x0F) - 8 + (tw < 0 ? kTargetSize / 2 : 0);
    const std::int32_t ty = (data[5] >> 4) - 8 + (th < 0 ? kTargetSize / 2 : 0);
    // The data in a block of exactly its size, so any read past it is caught.
    const std::vector<std::uint8_t> rle(data + kHeaderBytes, data + size);
    const std::uint8_t* rleData = rle.empty() ? nullptr : rle.data();

    // The whole picture decoded, as a store is when it must be decompressed.
    const auto geometry = platform::DibGeometryOf(info.width, info.height, info.bitCount);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(geometry->imageSize));
    platform::BitmapInfo plain = info;
    plain.compression = platform::Compression::Rgb;
    const platform::PixelRows rows = platform::MakePixelRows(plain, pixels.data());
    if (rleData != nullptr && !platform::DecodeRle(rleData, rle.size(), info.compression, rows))
        __builtin_trap(); // the compression suits the bit count

    auto fromRle = Target();
    auto fromPixels = Target();
    info.sizeImage = static_cast<std::uint32_t>(rle.size());
    const std::int32_t drawnRle =
        platform::StretchDIBits(*fromRle, tx, ty, tw, th, 0, 0, info.width, info.height, rleData,
                                rle.size(), info, platform::RasterOp::SrcCopy);
    if (rleData == nullptr)
        return 0;
    platform::StretchDIBits(*fromPixels, tx, ty, tw, th, 0, 0, info.width, info.height,
                            pixels.data(), pixels.size(), plain, platform::RasterOp::SrcCopy);
    if (drawnRle != info.height)
        __builtin_trap();
    const auto* a = fromRle->Bitmap();
    const auto* b = fromPixels->Bitmap();
    if (std::memcmp(a->Bits(), b->Bits(), static_cast<std::size_t>(a->ImageSize())) != 0)
        __builtin_trap();
    return 0;
}
