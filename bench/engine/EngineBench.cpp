// The conversion's scan and the paged export at sizes well beyond the usual 80 x 40.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/PagedExport.h"
#include "engine/TCharTable.h"
#include "engine/TextScan.h"

namespace {

std::vector<std::uint8_t> Gradient(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 13);
    return pixels;
}

void ScanStartUpTable(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const auto pixels = Gradient(side, side);
    const engine::TGreyRasterView raster(pixels.data(), side, side, side);
    engine::THeadlessCharTable table;
    table.table.FormCreate();
    for (auto _ : state) {
        std::size_t bytes = 0;
        engine::ScanToText(raster, table.grid, 7, [&](std::string line) { bytes += line.size(); });
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(ScanStartUpTable)->Arg(80)->Arg(1000);

// A table of many rows: each bound is parsed once per scan, not once per pixel.
void ScanLongTable(benchmark::State& state) {
    const auto pixels = Gradient(400, 400);
    const engine::TGreyRasterView raster(pixels.data(), 400, 400, 400);
    engine::THeadlessCharTable table;
    table.table.FormCreate();
    table.boundCount.SetValue(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        std::size_t lines = 0;
        engine::ScanToText(raster, table.grid, table.boundCount.Value(),
                           [&](std::string) { ++lines; });
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(ScanLongTable)->Arg(255)->Arg(100000);

void ExportPages(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const std::vector<std::string> lines(static_cast<std::size_t>(width / 2),
                                         std::string(static_cast<std::size_t>(width), '#'));
    for (auto _ : state)
        benchmark::DoNotOptimize(engine::BuildPagedText(lines, width, 55, 42));
}
BENCHMARK(ExportPages)->Arg(80)->Arg(2000);

} // namespace
