#include "engine/TCharTable.h"

#include <string>

#include "engine/ThresholdGenerators.h"

namespace engine {
namespace {

// count symbols, row 1 first; the last is always the blank of the brightest class.
struct Preset {
    std::int32_t count;
    const char* symbols[7];
};

const Preset kPresets[] = {
    {5, {"8", "6", "5", "1", " "}},
    {3, {"0", "1", " "}},
    {7, {"8", "6", "5", "1", ":", ".", " "}},
    {7, {"#", "%", "+", "|", ":", ".", " "}},
};

} // namespace

void TCharTable::FormCreate() {
    m_controls.SetPresetIndex(kStartPreset);
    ComboBox1Change();
}

void TCharTable::ComboBox1Change() {
    ApplyPreset(m_controls.PresetIndex());
    m_controls.ClickGenerator();
}

void TCharTable::ApplyPreset(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kPresets)))
        return;
    const Preset& preset = kPresets[index];
    // Runs SpinEdit1Change, and with it the generator, when the text changes.
    m_controls.BoundCount().SetValue(preset.count);
    for (std::int32_t row = 1; row <= preset.count; ++row)
        m_controls.Grid().SetCell(0, row, preset.symbols[row - 1]);
}

void TCharTable::SpinEdit1Change() {
    toolkit::TSpinEditModel& boundCount = m_controls.BoundCount();
    // In 64 bits: N = MaxInt must ask for too large a grid, not wrap to a one-row grid.
    m_controls.Grid().SetRowCount(std::int64_t{boundCount.Value()} + 1);
    m_controls.Grid().SetCell(0, boundCount.Value(), " ");
    m_controls.ClickGenerator();
}

void TCharTable::ToolButton1Click() {
    RunGenerator(m_controls.GeneratorIndex(), m_controls.BoundCount().Value(), m_controls.Grid());
}

void TCharTable::N4Click(int itemImageIndex) {
    if (m_controls.GeneratorIndex() != itemImageIndex)
        m_controls.SetGeneratorIndex(itemImageIndex);
}

THeadlessCharTable::THeadlessCharTable()
    : grid(2, 8), boundCount(toolkit::SpinCharFilter::Skinned, "7"), presetIndex(0),
      generatorIndex(kUniformGenerator), table(*this) {
    boundCount.SetOnChange([this] { table.SpinEdit1Change(); });
}

} // namespace engine
