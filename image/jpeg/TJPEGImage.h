#pragma once
// TJPEGImage: the picture of a JPEG file. Loading keeps the file's bytes in memory and reads only
// their header (Width, Height, Grayscale, Progressive); the pixels are decoded into a toolkit
// TBitmap the first time they are needed (Bitmap, Draw, Assign to another picture) and kept
// until the next load. The bytes live in a TJPEGData shared by reference count between pictures
// assigned from one another. This program never encodes JPEG.
//
// Errors: bad JPEG data raises EJPEG "JPEG error #%d" (53 for data without the start-of-image
// marker), when loading for a bad header and on first decoding for a fatal error in the
// pixels. A load that fails keeps the new bytes but no header facts (Width and Height 0); a
// decoding that fails keeps the Bitmap made so far. Loading a byte count the stream cannot
// supply raises EReadError "Stream read error" before taking memory for it. The size cannot be
// set: EInvalidGraphicOperation "Cannot change the size of a JPEG image".
//
// Empty streams load without error as a picture with data of length 0, Width and Height 0; such
// a picture is not Empty.

#include <cstdint>
#include <functional>
#include <memory>

#include "image/jpeg/JPEGDecoder.h"
#include "platform/gfx/Dib.h"
#include "toolkit/Streams.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TGraphic.h"

namespace image {

// The JPEG bytes and their header facts, shared between pictures.
class TJPEGData : public toolkit::TSharedImage {
public:
    // The whole JPEG byte sequence as read; nullptr when nothing was loaded.
    const toolkit::TMemoryStream* Data() const { return m_data.get(); }
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    bool Grayscale() const { return m_grayscale; }

private:
    friend class TJPEGImage;
    std::unique_ptr<toolkit::TMemoryStream> m_data;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    bool m_grayscale = false;
};

// The settings every new picture starts with (see DefaultJPEGSettings).
struct TJPEGSettings {
    std::uint8_t Quality = 90; // kept for files this program would write; it writes none
    bool Progressive = false;
    TJPEGDecodeSettings Decode;
};

// The process-wide defaults, copied into each new TJPEGImage. Output is 24-bit: our screens are
// always true colour.
TJPEGSettings& DefaultJPEGSettings();

class TJPEGImage : public toolkit::TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;
    TJPEGImage(const TJPEGImage&) = delete;
    TJPEGImage& operator=(const TJPEGImage&) = delete;

    std::string ClassName() const override { return "TJPEGImage"; }

    // The decoded size once decoded; before that the header's (scaled as DecodeScale asks).
    std::int32_t Width() const override;
    std::int32_t Height() const override;
    bool Empty() const override;
    void SetWidth(std::int32_t value) override;
    void SetHeight(std::int32_t value) override;

    // Reads the rest of the stream.
    void LoadFromStream(toolkit::TStream& stream) override;
    // The JPEG bytes as loaded. A picture that holds only a bitmap (assigned from a TBitmap) has
    // no JPEG bytes and, since this program does not encode, raises EInvalidGraphicOperation.
    void SaveToStream(toolkit::TStream& stream) override;
    // The stored form: a 32-bit little-endian byte count, then that many JPEG bytes.
    void ReadData(toolkit::TStream& stream);

    // Decodes on first use. The bitmap stays owned by the picture.
    toolkit::TBitmap& Bitmap();
    bool Decoded() const { return m_bitmap != nullptr; }
    // Decoding for a caller that holds 24-bit rows of exactly the size the picture decodes to:
    // 24-bit output is written straight into rows (picture row y at rows.Row(y)) and no Bitmap
    // is kept, so a later Bitmap decodes anew; other output (8 bits, another size) is decoded
    // into Bitmap as usual and rows stay untouched, as they do when the picture is decoded
    // already. True when rows received the picture.
    // Progress and errors as for Bitmap; rows the decoding had begun to fill are zero again when
    // the error propagates.
    bool DecodeInto(const platform::PixelRows& rows);
    void Draw(toolkit::TCanvas& canvas, const platform::Rect& rect) override;

    // TJPEGImage: share its bytes, copy its decoded bitmap (or drop ours). TBitmap: no bytes, a
    // copy of the bitmap. Anything else: the toolkit's conversion error.
    void Assign(const toolkit::TPersistent* source) override;

    // The decoded bitmap's palette, or the one given with SetPalette before decoding.
    std::shared_ptr<platform::Palette> GetPalette() override;
    // Before decoding, a palette for 8-bit output to map the picture onto; after, the bitmap's.
    void SetPalette(const std::shared_ptr<platform::Palette>& palette);

    const TJPEGData& Image() const { return *m_image; }
    const TJPEGSettings& Settings() const { return m_settings; }
    // Changing how to decode drops a decoded bitmap so that the next use decodes anew.
    void SetDecodeSettings(const TJPEGDecodeSettings& settings);
    bool Progressive() const { return m_settings.Progressive; }
    bool Grayscale() const { return m_image->Grayscale(); }

    // Decoding progress: Starting at 0 %, Running reports, then Ending at 100 % (0 % after a
    // failure). An exception the listener raises ends decoding and propagates.
    std::function<void(TJPEGImage&, const TJPEGProgress&)> OnProgress;

protected:
    void AssignTo(toolkit::TPersistent& dest) const override;

private:
    void ReadStream(std::int64_t size, toolkit::TStream& stream);
    void NewImage();
    void FreeBitmap();
    void Decode();
    void RunDecoder(TJPEGTarget& target, const std::function<bool()>& paletteChanged);
    void Progress(TProgressStage stage, std::uint8_t percent, bool redraw);

    TJPEGData* m_image = nullptr; // never null; one reference held
    std::unique_ptr<toolkit::TBitmap> m_bitmap;
    std::shared_ptr<platform::Palette> m_tempPalette;
    TJPEGSettings m_settings;
};

// Module start-up and shut-down (counted; the module runs them itself at program start and end):
// registers TJPEGImage for the extensions "jpeg" and "jpg" ("JPEG Image File"), and removes it.
void JPEGModuleStartup();
void JPEGModuleShutdown();

} // namespace image
