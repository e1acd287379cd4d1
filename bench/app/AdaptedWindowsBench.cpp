// The control adapter on the save options window: a repaint with every face cached, and a new
// skin reaching the adapter (every control given back its look, adapted afresh and repainted),
// which is the adapter's share of a skin switch; and a walk of the main window that finds
// nothing new.

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "bench/app/ProgramOnScreen.h"
#include "skinned/TacCtrlAdapter.h"
#include "skinned/sSkinProvider.h"

namespace {

// The adapters are the ones the windows' frame providers own.
skinned::TacCtrlAdapter& AdapterOf(const toolkit::TCustomForm& form) {
    skinned::TsSkinProvider* provider = skinned::ProviderOf(form);
    if (!provider || !provider->Adapter())
        throw std::runtime_error("the window has no control adapter");
    return *provider->Adapter();
}

struct SaveWindow : bench::ProgramOnScreen {
    SaveWindow() {
        Show(*forms.saveOptions);
        adapter = &AdapterOf(*forms.saveOptions);
        Repaint();
    }
    void Repaint() { ProgramOnScreen::Repaint(*forms.saveOptions); }
    skinned::TacCtrlAdapter* adapter = nullptr;
};

void SaveWindowRepaintAdapted(benchmark::State& state) {
    SaveWindow window;
    for (auto _ : state)
        window.Repaint();
}
BENCHMARK(SaveWindowRepaintAdapted)->Unit(benchmark::kMillisecond);

void SaveWindowNewSkinThroughAdapter(benchmark::State& state) {
    SaveWindow window;
    for (auto _ : state) {
        window.adapter->SkinCommand(1);
        window.Repaint();
    }
}
BENCHMARK(SaveWindowNewSkinThroughAdapter)->Unit(benchmark::kMillisecond);

// A walk that finds everything adapted already: what every activation of a window costs.
void MainWindowWalkAgain(benchmark::State& state) {
    SaveWindow window;
    window.Show(*window.forms.main);
    skinned::TacCtrlAdapter& adapter = AdapterOf(*window.forms.main);
    for (auto _ : state)
        adapter.AddAllItems();
}
BENCHMARK(MainWindowWalkAgain)->Unit(benchmark::kMicrosecond);

} // namespace
