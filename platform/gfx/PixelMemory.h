#pragma once
// Memory for pixel blocks, always zero-filled when handed out.
//
// Large blocks (kLargePixelBlock bytes and more) are mapped straight from the system: fresh pages
// are zero already, so nothing is written into them before the caller's own pixels, and they are
// aligned to 2 MiB and marked for transparent huge pages, so a picture of tens of megabytes
// costs a few dozen page faults instead of thousands. Smaller blocks come from the heap.
// Builds with AddressSanitizer take every block from the heap, where overruns are caught.
//
// Ownership: a PixelBuffer frees its block (unmapping or deleting as it was made). Allocation
// failure gives an empty buffer, never an exception; the caller raises its own error.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

inline constexpr std::size_t kLargePixelBlock = std::size_t{2} << 20;

// Frees a block as it was made: mappedBytes 0 for heap blocks (delete[]), else the length of
// the mapping to unmap.
struct PixelBlockFree {
    std::size_t mappedBytes = 0;
    void operator()(std::uint8_t* block) const;
};

using PixelBuffer = std::unique_ptr<std::uint8_t[], PixelBlockFree>;

// bytes zero bytes (at least one byte is made for 0); empty on failure.
PixelBuffer AllocatePixels(std::size_t bytes);
// Takes over a block made with new[].
PixelBuffer AdoptPixels(std::unique_ptr<std::uint8_t[]> block);

} // namespace platform
