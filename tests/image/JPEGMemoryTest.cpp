// Memory a decode costs, measured in the process itself. The sanitizers' heap writes every block
// it hands out, so these run in test.sh's plain build (test_memory) as well as here.

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

#include "JPEGMaker.h"
#include "image/DIB.h"
#include "image/jpeg.h"
#include "platform/gfx/PixelMemory.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Streams.h"

using namespace image;
using platform::RGB;
using testjpeg::MakeJPEG;

namespace {

void Load(TJPEGImage& jpeg, const std::vector<std::uint8_t>& bytes) {
    toolkit::TMemoryStream stream(bytes);
    jpeg.LoadFromStream(stream);
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const toolkit::Exception& e) {
        return e.Message();
    }
    return "";
}

} // namespace

TEST(TJPEGImage, AHugePictureRefusedBeforeItsFirstRowCostsATDIBNoMemory) {
    if (platform::AllocatePixels(platform::kLargePixelBlock).get_deleter().mappedBytes == 0)
        GTEST_SKIP() << "heap pixel blocks in this build are written when made "
                        "(test.sh runs this in a plain build)";
    auto bytes = MakeJPEG(16, 16, [](int, int) { return RGB(1, 2, 3); });
    const long sof = testjpeg::FindMarker(bytes, 0xC0);
    ASSERT_GT(sof, 0);
    // 10 000 pixels each way: 300 MB of rows, far more than a few hundred bytes can describe.
    bytes[sof + 5] = bytes[sof + 7] = 0x27;
    bytes[sof + 6] = bytes[sof + 8] = 0x10;
    TJPEGImage jpeg;
    Load(jpeg, bytes);
    const auto residentBytes = [] {
        long pages = 0, resident = 0;
        std::ifstream("/proc/self/statm") >> pages >> resident;
        return resident * sysconf(_SC_PAGESIZE);
    };
    const long before = residentBytes();
    TDIB dib;
    EXPECT_EQ(ErrorOf([&] { dib.Assign(&jpeg); }), "JPEG error #41");
    EXPECT_EQ(dib.Width(), 10000);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.Pixels(0, 0), 0u);
    EXPECT_EQ(dib.Pixels(9999, 9999), 0u);
    EXPECT_LT(residentBytes() - before, 64L << 20);
}
