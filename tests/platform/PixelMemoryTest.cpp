#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/gfx/PixelMemory.h"

using namespace platform;

TEST(PixelMemory, BlocksOfEverySizeComeZeroAndWritableToTheirEnd) {
    for (const std::size_t bytes :
         {std::size_t{0}, std::size_t{1}, std::size_t{4099}, kLargePixelBlock - 1, kLargePixelBlock,
          std::size_t{36'000'000}}) {
        PixelBuffer block = AllocatePixels(bytes);
        ASSERT_NE(block, nullptr) << bytes;
        const std::size_t n = std::max<std::size_t>(bytes, 1);
        EXPECT_TRUE(std::all_of(block.get(), block.get() + n, [](std::uint8_t b) {
            return b == 0;
        })) << bytes;
        block[0] = 1;
        block[n - 1] = 2;
        EXPECT_EQ(block[n - 1], 2) << bytes;
    }
}

TEST(PixelMemory, LargeBlocksLieOnHugePageBoundaries) {
    PixelBuffer block = AllocatePixels(kLargePixelBlock * 3 + 5);
    ASSERT_NE(block, nullptr);
    if (block.get_deleter().mappedBytes == 0)
        GTEST_SKIP() << "heap blocks in this build (test.sh runs this in a plain build)";
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % (std::size_t{2} << 20), 0u);
    EXPECT_EQ(block.get_deleter().mappedBytes, kLargePixelBlock * 4);
}

TEST(PixelMemory, AdoptedBlocksAreFreedAsTheyWereMade) {
    std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[16]());
    std::uint8_t* address = block.get();
    PixelBuffer adopted = AdoptPixels(std::move(block));
    EXPECT_EQ(adopted.get(), address);
    EXPECT_EQ(adopted.get_deleter().mappedBytes, 0u);
}
