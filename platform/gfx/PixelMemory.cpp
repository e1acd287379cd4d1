#include "platform/gfx/PixelMemory.h"

#include <new>

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define CHARVANE_HEAP_PIXELS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CHARVANE_HEAP_PIXELS 1
#endif
#endif

namespace platform {

namespace {

PixelBuffer HeapPixels(std::size_t bytes) {
    return PixelBuffer(new (std::nothrow) std::uint8_t[bytes == 0 ? 1 : bytes](), {});
}

#ifndef CHARVANE_HEAP_PIXELS
constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Maps a whole number of huge pages at a huge-page boundary: the mapping is made one huge page
// longer than needed and the unaligned head and the tail beyond are given back.
PixelBuffer MappedPixels(std::size_t bytes) {
    if (bytes > SIZE_MAX - 2 * kHugePage)
        return {};
    const std::size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    const std::size_t reserve = length + kHugePage;
    void* mapped =
        mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return {};
    auto* start = static_cast<std::uint8_t*>(mapped);
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    const std::size_t head = (kHugePage - address % kHugePage) % kHugePage;
    if (head > 0)
        munmap(start, head);
    const std::size_t tail = reserve - head - length;
    if (tail > 0)
        munmap(start + head + length, tail);
    // Only advice: without huge pages the block works the same, with more page faults.
    madvise(start + head, length, MADV_HUGEPAGE);
    return PixelBuffer(start + head, {length});
}
#endif

} // namespace

void PixelBlockFree::operator()(std::uint8_t* block) const {
    if (block == nullptr)
        return;
    if (mappedBytes == 0)
        delete[] block;
    else
        munmap(block, mappedBytes);
}

PixelBuffer AllocatePixels(std::size_t bytes) {
#ifndef CHARVANE_HEAP_PIXELS
    if (bytes >= kLargePixelBlock)
        return MappedPixels(bytes);
#endif
    return HeapPixels(bytes);
}

PixelBuffer AdoptPixels(std::unique_ptr<std::uint8_t[]> block) {
    return PixelBuffer(block.release(), {});
}

} // namespace platform
