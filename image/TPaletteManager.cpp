#include "image/TPaletteManager.h"

#include <algorithm>
#include <cstring>

namespace image {

namespace {

TPaletteManager* g_manager = nullptr;

} // namespace

std::shared_ptr<platform::Palette> TPaletteManager::CreatePalette(const platform::RgbQuad* table,
                                                                  int count) {
    count = std::clamp(count, 0, 256);
    std::uint32_t key = static_cast<std::uint32_t>(count);
    for (int i = 0; i < count; ++i)
        key += std::uint32_t{table[i].blue} + table[i].green + table[i].red;
    for (TPaletteItem& item : m_items) {
        if (item.key == key && item.count == count &&
            std::equal(table, table + count, item.colors.begin())) {
            ++item.refCount;
            return item.palette;
        }
    }
    TPaletteItem item;
    item.key = key;
    item.count = count;
    std::copy(table, table + count, item.colors.begin());
    std::vector<platform::PaletteEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back({table[i].red, table[i].green, table[i].blue, 0});
    item.palette = platform::CreatePalette(entries);
    item.refCount = 1;
    m_items.push_back(item);
    return item.palette;
}

void TPaletteManager::DeletePalette(std::shared_ptr<platform::Palette>& palette) {
    if (!palette)
        return;
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [&](const TPaletteItem& item) { return item.palette == palette; });
    if (it == m_items.end())
        return;
    palette.reset();
    if (--it->refCount <= 0)
        m_items.erase(it);
}

TPaletteManager& PaletteManager() {
    if (g_manager == nullptr)
        g_manager = new TPaletteManager;
    return *g_manager;
}

void FreePaletteManager() {
    delete g_manager;
    g_manager = nullptr;
}

} // namespace image
