// The internal skin is loaded at every start of the program and again at every hue or
// saturation change; the whole load should stay well under 20 ms.

#include <benchmark/benchmark.h>

#include "skin/InternalSkin.h"
#include "skin/sSkinManager.h"

namespace {

void ReadInternalContainer(benchmark::State& state) {
    const auto bytes = skin::InternalSkinData();
    toolkit::TMemoryStream source(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    for (auto _ : state) {
        skin::TacSkinConvertor reader;
        reader.LendSource(&source);
        reader.ReadContainer();
        reader.DetachSource();
        benchmark::DoNotOptimize(reader.Options());
    }
}
BENCHMARK(ReadInternalContainer)->Unit(benchmark::kMillisecond);

void LoadInternalSkin(benchmark::State& state) {
    skin::TsSkinManager manager;
    skin::AddInternalSkin(manager.InternalSkins());
    for (auto _ : state) {
        manager.SetSkinName(skin::kInternalSkinName);
        benchmark::DoNotOptimize(manager.gd().size());
    }
}
BENCHMARK(LoadInternalSkin)->Unit(benchmark::kMillisecond);

void RecolourInternalSkin(benchmark::State& state) {
    skin::TsSkinManager manager;
    skin::AddInternalSkin(manager.InternalSkins());
    manager.SetSkinName(skin::kInternalSkinName);
    int hue = 0;
    for (auto _ : state) {
        hue = (hue + 37) % 360;
        manager.SetHueOffset(hue + 1);
    }
}
BENCHMARK(RecolourInternalSkin)->Unit(benchmark::kMillisecond);

} // namespace
