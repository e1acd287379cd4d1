#pragma once
// The character table's behaviour: presets, the bound count and the generator button, as the
// main window's handlers FormCreate, ComboBox1Change, SpinEdit1Change, ToolButton1Click and
// N4Click run it.
//
// TCharTable works on the controls through TCharTableControls, so the main window drives it
// with its real grid, spin edit, preset list and generator button, and THeadlessCharTable gives
// the same table without any window (command-line tool, tests). The handlers raise the
// toolkit's exceptions as the window would show them:
//   - a negative bound count: "List index out of bounds (%d)" from writing its row's symbol,
//     after the row count has gone down to 1 (no generator runs);
//   - a bound count whose table would have more than TGridCells::kMaxCount rows:
//     "Grid too large for operation", the grid unchanged.

#include <array>
#include <cstdint>
#include <string_view>

#include "toolkit/TGridCells.h"
#include "toolkit/TSpinEditModel.h"

namespace engine {

// The items of the preset list, in list order (UTF-8).
inline constexpr std::array<std::string_view, 4> kPresetItems = {"Цифры 8651", "Цифры 01",
                                                                 "Цифры+Знаки", "Знаки"};

// The preset FormCreate applies.
inline constexpr int kStartPreset = 2;

// The controls the table lives in.
class TCharTableControls {
public:
    virtual ~TCharTableControls() = default;

    // StringGrid1: symbols in column 0, bounds in column 1, data rows 1 ... N.
    virtual toolkit::TGridCells& Grid() = 0;
    // sSpinEdit1: N. Its OnChange must run TCharTable::SpinEdit1Change.
    virtual toolkit::TSpinEditModel& BoundCount() = 0;
    // sComboBox1.ItemIndex; setting it must not run ComboBox1Change.
    virtual int PresetIndex() const = 0;
    virtual void SetPresetIndex(int index) = 0;
    // sSpeedButton1.ImageIndex: the selected generator.
    virtual int GeneratorIndex() const = 0;
    virtual void SetGeneratorIndex(int index) = 0;
    // Clicks sSpeedButton1 by program, which must run TCharTable::ToolButton1Click.
    virtual void ClickGenerator() = 0;
};

class TCharTable {
public:
    explicit TCharTable(TCharTableControls& controls) : m_controls(controls) {}

    void FormCreate();
    void ComboBox1Change();
    void SpinEdit1Change();
    void ToolButton1Click();
    // A generator menu item was chosen: its image index becomes the button's.
    void N4Click(int itemImageIndex);

    // Applies preset index 0 ... 3; any other index applies nothing.
    void ApplyPreset(int index);

private:
    TCharTableControls& m_controls;
};

// The table's controls without a window, in the state the main window's definition gives
// them: a 2-column grid of 8 rows with one fixed row, N showing "7" (set before the change
// handler is attached, so nothing ran), preset item 0 and the uniform generator. Call
// table.FormCreate() for the start-up table.
struct THeadlessCharTable final : TCharTableControls {
    THeadlessCharTable();
    THeadlessCharTable(const THeadlessCharTable&) = delete;
    THeadlessCharTable& operator=(const THeadlessCharTable&) = delete;

    toolkit::TGridCells& Grid() override { return grid; }
    toolkit::TSpinEditModel& BoundCount() override { return boundCount; }
    int PresetIndex() const override { return presetIndex; }
    void SetPresetIndex(int index) override { presetIndex = index; }
    int GeneratorIndex() const override { return generatorIndex; }
    void SetGeneratorIndex(int index) override { generatorIndex = index; }
    void ClickGenerator() override { table.ToolButton1Click(); }

    toolkit::TGridCells grid;
    toolkit::TSpinEditModel boundCount;
    int presetIndex;
    int generatorIndex;
    TCharTable table;
};

} // namespace engine
