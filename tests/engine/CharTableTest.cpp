#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/TCharTable.h"
#include "engine/ThresholdGenerators.h"
#include "toolkit/Exceptions.h"

using engine::THeadlessCharTable;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

// Symbol and bound of rows first ... last.
Rows RowsOf(const toolkit::TGridCells& grid, int first, int last) {
    Rows rows;
    for (int r = first; r <= last; ++r)
        rows.emplace_back(grid.Cell(0, r), grid.Cell(1, r));
    return rows;
}

std::vector<std::string> Bounds(const toolkit::TGridCells& grid, int count) {
    std::vector<std::string> bounds;
    for (int r = 1; r <= count; ++r)
        bounds.push_back(grid.Cell(1, r));
    return bounds;
}

// Counts how often the generator runs by wrapping the headless controls' click.
struct CountingTable final : engine::TCharTableControls {
    CountingTable() {
        inner.boundCount.SetOnChange([this] { table.SpinEdit1Change(); });
    }
    toolkit::TGridCells& Grid() override { return inner.grid; }
    toolkit::TSpinEditModel& BoundCount() override { return inner.boundCount; }
    int PresetIndex() const override { return inner.presetIndex; }
    void SetPresetIndex(int index) override { inner.presetIndex = index; }
    int GeneratorIndex() const override { return inner.generatorIndex; }
    void SetGeneratorIndex(int index) override {
        ++generatorIndexWrites;
        inner.generatorIndex = index;
    }
    void ClickGenerator() override {
        ++clicks;
        table.ToolButton1Click();
    }

    THeadlessCharTable inner;
    engine::TCharTable table{*this};
    int clicks = 0;
    int generatorIndexWrites = 0;
};

} // namespace

TEST(CharTable, StartUpGivesTheDigitsAndSignsTable) {
    CountingTable t;
    t.table.FormCreate();
    EXPECT_EQ(t.inner.presetIndex, 2);
    EXPECT_EQ(engine::kPresetItems[2], "Цифры+Знаки");
    EXPECT_EQ(t.inner.grid.RowCount(), 8);
    EXPECT_EQ(t.inner.grid.FixedRows(), 1);
    EXPECT_EQ(t.clicks, 1) << "N already shows 7, so only the preset's own click runs";
    EXPECT_EQ(RowsOf(t.inner.grid, 0, 7), (Rows{{"", ""},
                                                {"8", "36"},
                                                {"6", "72"},
                                                {"5", "109"},
                                                {"1", "145"},
                                                {":", "182"},
                                                {".", "218"},
                                                {" ", "255"}}));
}

TEST(CharTable, PresetsWithEachGenerator) {
    struct Case {
        int generator;
        int preset;
        Rows rows;
    };
    const Case cases[] = {
        {engine::kUniformGenerator,
         0,
         {{"8", "51"}, {"6", "102"}, {"5", "153"}, {"1", "204"}, {" ", "255"}}},
        {engine::kExponentialGenerator, 1, {{"0", "63"}, {"1", "127"}, {" ", "255"}}},
        {engine::kFibonacciGenerator,
         3,
         {{"#", "15"},
          {"%", "22"},
          {"+", "37"},
          {"|", "60"},
          {":", "97"},
          {".", "157"},
          {" ", "255"}}},
        {engine::kExponentialGenerator,
         0,
         {{"8", "15"}, {"6", "31"}, {"5", "63"}, {"1", "127"}, {" ", "255"}}},
        {engine::kFibonacciGenerator, 1, {{"0", "102"}, {"1", "153"}, {" ", "255"}}},
        {engine::kUniformGenerator,
         3,
         {{"#", "36"},
          {"%", "72"},
          {"+", "109"},
          {"|", "145"},
          {":", "182"},
          {".", "218"},
          {" ", "255"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "preset " << c.preset << " generator " << c.generator);
        CountingTable t;
        t.table.FormCreate();
        t.table.N4Click(c.generator);
        t.clicks = 0;
        t.inner.presetIndex = c.preset;
        t.table.ComboBox1Change();
        const int n = static_cast<int>(c.rows.size());
        EXPECT_EQ(RowsOf(t.inner.grid, 1, n), c.rows);
        EXPECT_EQ(t.inner.grid.RowCount(), n + 1);
        EXPECT_EQ(t.clicks, n == 7 ? 1 : 2) << "a changed N runs the generator once more";
    }
}

TEST(CharTable, LoweringNHidesRowsWithoutErasingThem) {
    THeadlessCharTable t;
    t.table.FormCreate();
    t.presetIndex = 0;
    t.table.ComboBox1Change();
    EXPECT_EQ(t.grid.RowCount(), 6);
    EXPECT_EQ(RowsOf(t.grid, 6, 7), (Rows{{".", "218"}, {" ", "255"}}));

    // Raising N again shows them, with the new last row blanked and the bounds regenerated.
    t.boundCount.SetValue(7);
    EXPECT_EQ(RowsOf(t.grid, 5, 7), (Rows{{" ", "182"}, {".", "218"}, {" ", "255"}}));
}

TEST(CharTable, ManualGeneratorKeepsEveryBoundText) {
    THeadlessCharTable t;
    t.table.FormCreate();
    t.table.N4Click(engine::kManualGenerator);
    t.grid.SetCell(1, 2, "typed");
    t.presetIndex = 1;
    t.table.ComboBox1Change();
    EXPECT_EQ(RowsOf(t.grid, 1, 3), (Rows{{"0", "36"}, {"1", "typed"}, {" ", "109"}}));

    t.boundCount.SetValue(9);
    EXPECT_EQ(RowsOf(t.grid, 7, 9), (Rows{{" ", "255"}, {"", ""}, {" ", ""}}))
        << "rows that never had a bound stay empty";
    EXPECT_EQ(t.grid.RowCount(), 10);
}

TEST(CharTable, ChoosingAGeneratorChangesNothingUntilTheNextRun) {
    CountingTable t;
    t.table.FormCreate();
    const Rows before = RowsOf(t.inner.grid, 1, 7);
    t.table.N4Click(engine::kExponentialGenerator);
    t.table.N4Click(engine::kExponentialGenerator);
    EXPECT_EQ(t.generatorIndexWrites, 1) << "choosing the same item again assigns nothing";
    EXPECT_EQ(RowsOf(t.inner.grid, 1, 7), before);
    t.table.ToolButton1Click();
    EXPECT_EQ(Bounds(t.inner.grid, 7),
              (std::vector<std::string>{"3", "7", "15", "31", "63", "127", "255"}));
}

TEST(CharTable, NoPresetSelectedOnlyRunsTheGenerator) {
    CountingTable t;
    t.table.FormCreate();
    t.inner.grid.SetCell(1, 3, "x");
    t.inner.presetIndex = -1;
    t.clicks = 0;
    t.table.ComboBox1Change();
    EXPECT_EQ(t.clicks, 1);
    EXPECT_EQ(t.inner.grid.Cell(1, 3), "109");
}

TEST(CharTable, TwoUpArrowsFromSevenToNine) {
    CountingTable t;
    t.table.FormCreate();
    t.inner.boundCount.KeyDown(toolkit::TSpinEditModel::kVkUp);
    EXPECT_EQ(t.inner.grid.RowCount(), 9);
    EXPECT_EQ(t.inner.grid.Cell(0, 8), " ");
    EXPECT_EQ(Bounds(t.inner.grid, 8),
              (std::vector<std::string>{"31", "63", "95", "127", "159", "191", "223", "255"}));
    t.inner.boundCount.KeyDown(toolkit::TSpinEditModel::kVkUp);
    EXPECT_EQ(t.inner.grid.RowCount(), 10);
    EXPECT_EQ(Bounds(t.inner.grid, 9), (std::vector<std::string>{"28", "56", "85", "113", "141",
                                                                 "170", "198", "226", "255"}));
    EXPECT_EQ(RowsOf(t.inner.grid, 7, 9), (Rows{{" ", "198"}, {" ", "226"}, {" ", "255"}}));
    EXPECT_EQ(t.clicks, 3);
}

TEST(CharTable, EmptyingNTurnsRowZeroIntoAnOrdinaryRowForGood) {
    CountingTable t;
    t.table.FormCreate();
    t.inner.boundCount.SetText("");
    EXPECT_EQ(t.inner.grid.RowCount(), 1);
    EXPECT_EQ(t.inner.grid.FixedRows(), 0);
    EXPECT_EQ(t.inner.grid.Cell(0, 0), " ");
    EXPECT_EQ(t.inner.grid.Cell(1, 0), "") << "nothing is generated for N = 0";

    t.inner.boundCount.SetText("5");
    EXPECT_EQ(t.inner.grid.RowCount(), 6);
    EXPECT_EQ(t.inner.grid.FixedRows(), 0);
    EXPECT_EQ(t.inner.grid.Cell(0, 0), " ");
    EXPECT_EQ(Bounds(t.inner.grid, 5),
              (std::vector<std::string>{"51", "102", "153", "204", "255"}));
}

TEST(CharTable, NegativeNFailsAtItsSymbolAndRecovers) {
    for (const int n : {-1, -5, INT32_MIN}) {
        SCOPED_TRACE(n);
        CountingTable t;
        t.table.FormCreate();
        t.clicks = 0;
        try {
            t.inner.boundCount.SetValue(n);
            FAIL() << "no exception";
        } catch (const toolkit::EListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(n) + ")");
        }
        EXPECT_EQ(t.inner.grid.RowCount(), 1);
        EXPECT_EQ(t.inner.grid.FixedRows(), 0);
        EXPECT_EQ(t.clicks, 0) << "no generator runs";
        EXPECT_EQ(t.inner.grid.Cell(1, 1), "36") << "hidden rows keep their texts";

        t.inner.boundCount.SetValue(2);
        EXPECT_EQ(t.inner.grid.RowCount(), 3);
        EXPECT_EQ(RowsOf(t.inner.grid, 1, 2), (Rows{{"8", "127"}, {" ", "255"}}));
    }
}

TEST(CharTable, DownArrowFromZeroFails) {
    THeadlessCharTable t;
    t.table.FormCreate();
    t.boundCount.SetText("0");
    EXPECT_THROW(t.boundCount.KeyDown(toolkit::TSpinEditModel::kVkDown), toolkit::EListError);
    EXPECT_EQ(t.boundCount.Text(), "-1");
}

TEST(CharTable, HugeNIsRefusedAndLeavesTheGridUsable) {
    for (const int n :
         {1'000'000'000, INT32_MAX, static_cast<int>(toolkit::TGridCells::kMaxCount)}) {
        SCOPED_TRACE(n);
        CountingTable t;
        t.table.FormCreate();
        t.clicks = 0;
        EXPECT_THROW(t.inner.boundCount.SetValue(n), toolkit::EInvalidGridOperation);
        EXPECT_EQ(t.inner.grid.RowCount(), 8);
        EXPECT_EQ(t.clicks, 0);
        // A press of the generator button with the huge N refuses too, before writing.
        EXPECT_THROW(t.table.ToolButton1Click(), toolkit::EInvalidGridOperation);
        EXPECT_EQ(t.inner.grid.Cell(1, 8), "");
        t.inner.boundCount.SetValue(3);
        EXPECT_EQ(Bounds(t.inner.grid, 3), (std::vector<std::string>{"85", "170", "255"}));
    }
}

TEST(CharTable, LargestTableIsGeneratedQuickly) {
    THeadlessCharTable t;
    t.table.FormCreate();
    const int n = static_cast<int>(toolkit::TGridCells::kMaxCount) - 1;
    for (const int generator : {engine::kUniformGenerator, engine::kFibonacciGenerator}) {
        t.table.N4Click(generator);
        t.boundCount.SetValue(generator == engine::kUniformGenerator ? n : n - 1);
    }
    EXPECT_EQ(t.grid.RowCount(), n);
    EXPECT_EQ(t.grid.Cell(1, n - 1), "255");
    EXPECT_EQ(t.grid.Cell(1, n - 13), "0");
    EXPECT_EQ(t.grid.Cell(1, n - 2), "157");
}
