#pragma once
// The grey copy a conversion needs, drawn straight from a picture file: only the rows the
// stretched drawing samples are read (bitmaps) or decoded (JPEG), and the picture is never held
// at full size, so the work and the memory follow the copy, not the picture. The pixels are
// those DrawGreyCopy gives for the picture LoadPictureFile reads, byte for byte, and so are the
// failures: the reader's own, then "Division by zero" for an empty picture (the caller's height
// computation), "Canvas does not allow drawing" for a copy of no pixels, "Out of memory" for
// one beyond the pixel limit.
//
// PNG pictures are decoded whole when opened; only the sampling is shared with the others.
// Nothing here draws through a canvas, so the tool that uses it needs no fonts or windows.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace image {

// w x h grey levels (0 black ... 255 white), row 0 at the top, w bytes a row; with colours, also
// the colour of every sampled pixel before greying (red, green, blue: w * 3 bytes a row).
struct TGreyCopy {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> colors; // empty unless asked for

    const std::uint8_t* Row(std::int32_t y) const {
        return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }
};

class TSampledPicture {
public:
    virtual ~TSampledPicture() = default;

    // Chooses the reader as LoadPictureFile does, opens the file and reads what
    // comes before the pixels, failing as that reader fails there.
    static std::unique_ptr<TSampledPicture> OpenFile(const std::string& fileName);
    // A picture without a name (standard input): JPEG and PNG are known by their first bytes,
    // anything else goes to the bitmap reader.
    static std::unique_ptr<TSampledPicture> OpenBytes(std::vector<std::uint8_t> bytes);

    // The picture's size; 0 x 0 for an empty one.
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }

    // Reads the rest of the data as the window's reader would, for its failures alone: for
    // requests that fail before any copy is drawn, which must still fail as the reader does.
    void ReadAll();
    // Draws the picture stretched into a fresh w x h grey copy, with the colours when asked.
    // Once per picture.
    enum class Colors { Without, With };
    void DrawGreyCopy(std::int32_t w, std::int32_t h, TGreyCopy& grey,
                      Colors colors = Colors::Without);

protected:
    // The source pixels sampled for every target row; rows[y] is the source row of target row
    // y, cols[x] the source column of target column x.
    struct TSampling {
        std::vector<std::int64_t> cols;
        std::vector<std::int64_t> rows;
    };
    // Reads the rest of the picture's data as a full load would, for its failures only.
    virtual void Validate() = 0;
    virtual void Draw(const TSampling& sampling, TGreyCopy& grey) = 0;

    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
};

} // namespace image
