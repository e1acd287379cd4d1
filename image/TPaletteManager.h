#pragma once
// One palette per distinct colour table, shared by every picture store that uses that table.
// CreatePalette hands out a reference-counted palette (a new one for an unknown table, the
// existing one for a known table); DeletePalette gives one reference back and deletes the
// palette when none are left. One manager serves the process (PaletteManager()); it lives until
// the DIB module shuts down.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Dib.h"
#include "platform/gfx/Palette.h"

namespace image {

struct TPaletteItem {
    std::uint32_t key = 0; // count + the sum of blue + green + red over the entries
    std::shared_ptr<platform::Palette> palette;
    std::int32_t refCount = 0;
    platform::ColorTable colors{};
    int count = 0;
};

class TPaletteManager {
public:
    // count is clamped to 0 ... 256. Returns the shared palette of the first count entries.
    std::shared_ptr<platform::Palette> CreatePalette(const platform::RgbQuad* table, int count);
    // Gives back the reference held in palette and clears it; a palette no item holds is left
    // as it is. Nothing for nullptr.
    void DeletePalette(std::shared_ptr<platform::Palette>& palette);

    std::size_t Count() const { return m_items.size(); }

private:
    std::vector<TPaletteItem> m_items;
};

// The process-wide manager, made on first use.
TPaletteManager& PaletteManager();
// Frees the process-wide manager (module shut-down); a later use makes a new one.
void FreePaletteManager();

} // namespace image
