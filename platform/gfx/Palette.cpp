#include "platform/gfx/Palette.h"

#include <algorithm>

namespace platform {

std::shared_ptr<Palette> CreatePalette(std::span<const PaletteEntry> entries) {
    if (entries.size() > 256)
        return nullptr;
    return std::make_shared<Palette>(std::vector<PaletteEntry>(entries.begin(), entries.end()));
}

std::uint32_t GetPaletteEntries(const Palette& palette, std::uint32_t start, std::uint32_t count,
                                PaletteEntry* out) {
    const auto& entries = palette.Entries();
    const auto size = static_cast<std::uint32_t>(entries.size());
    if (out == nullptr)
        return size;
    if (start >= size)
        return 0;
    const std::uint32_t n = std::min(count, size - start);
    std::copy_n(entries.begin() + start, n, out);
    return n;
}

} // namespace platform
