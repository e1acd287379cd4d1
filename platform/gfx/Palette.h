#pragma once
// Logical palettes: a list of up to 256 colours that a picture of 8 bits or fewer asks a device
// context to realise. Our surfaces are true colour or carry their own colour table, so realising
// a palette changes no pixel; it is kept so that selection and restoring behave as the program
// expects. Palettes are shared objects; releasing the last reference deletes them.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gfx/GdiObject.h"

namespace platform {

struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

class Palette : public GdiObject {
public:
    explicit Palette(std::vector<PaletteEntry> entries) : m_entries(std::move(entries)) {}
    const std::vector<PaletteEntry>& Entries() const { return m_entries; }

private:
    std::vector<PaletteEntry> m_entries;
};

// A logical palette (version 0x300) of the given entries; more than 256 entries are refused
// (nullptr).
std::shared_ptr<Palette> CreatePalette(std::span<const PaletteEntry> entries);

// Copies entries start ... start + count - 1 (clipped to the palette) to out and returns how
// many were copied; with out == nullptr returns the palette's entry count.
std::uint32_t GetPaletteEntries(const Palette& palette, std::uint32_t start, std::uint32_t count,
                                PaletteEntry* out);

} // namespace platform
