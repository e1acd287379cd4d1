// The main window's paint budget: a full repaint when every skinned control's cache is good
// must stay well under a frame (1 ms CPU), the skinned frame alone from its warm cache under
// 0.5 ms, a repaint after a skin refresh, when every cache is rebuilt, under 8 ms, start-up to
// the first skinned frame under 80 ms, and switching to the other skin with both windows shown
// (load, apply, repaint) under 60 ms.

#include <benchmark/benchmark.h>

#include <memory>

#include "bench/app/ProgramOnScreen.h"
#include "platform/gfx/text/Font.h"
#include "platform/win/Message.h"
#include "skin/InternalSkin.h"
#include "skinned/sSkinProvider.h"

namespace {

// The main window shown, as start-up leaves it.
struct Program : bench::ProgramOnScreen {
    Program() { Show(*forms.main); }
    void RepaintAll() { Repaint(*forms.main); }
};

void MainWindowRepaintWarm(benchmark::State& state) {
    Program program;
    program.RepaintAll();
    for (auto _ : state)
        program.RepaintAll();
}
BENCHMARK(MainWindowRepaintWarm)->Unit(benchmark::kMillisecond);

// The same window with its skin switched off: the plain look, for comparison.
void MainWindowRepaintPlain(benchmark::State& state) {
    Program program;
    program.forms.main->sSkinManager1->SetActive(false);
    program.RepaintAll();
    for (auto _ : state)
        program.RepaintAll();
}
BENCHMARK(MainWindowRepaintPlain)->Unit(benchmark::kMillisecond);

// The skinned frame alone (borders, caption, icon, buttons) painted again from its warm cache.
void MainWindowFrameRepaintWarm(benchmark::State& state) {
    Program program;
    program.RepaintAll();
    const platform::HWND h = program.forms.main->Handle();
    if (!skinned::ProviderOf(*program.forms.main)) {
        state.SkipWithError("the main window has no skinned frame");
        return;
    }
    for (auto _ : state)
        platform::SendMessage(h, platform::WM_NCPAINT, 1, 0);
}
BENCHMARK(MainWindowFrameRepaintWarm)->Unit(benchmark::kMicrosecond);

// Commands 16 and 3 mark every cache stale; the repaint then rebuilds them all.
void MainWindowRepaintAfterSkinRefresh(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        program.forms.main->sSkinManager1->RefreshControls();
        program.RepaintAll();
    }
}
BENCHMARK(MainWindowRepaintAfterSkinRefresh)->Unit(benchmark::kMillisecond);

// Choosing the other skin with both windows shown: the skin loaded and applied, and everything
// it changed repainted. Each iteration switches, between the internal skin and Nightfall.
void SwitchSkinsWithBothWindowsShown(benchmark::State& state) {
    Program program;
    program.Show(*program.forms.saveOptions);
    skin::TsSkinManager& manager = *program.forms.main->sSkinManager1;
    bool dark = false;
    for (auto _ : state) {
        dark = !dark;
        manager.SetSkinName(dark ? "Nightfall" : skin::kInternalSkinName);
        program.app->ProcessMessages();
    }
    if (manager.SkinName() != (dark ? "Nightfall" : skin::kInternalSkinName))
        state.SkipWithError("the dark skin was not found");
}
BENCHMARK(SwitchSkinsWithBothWindowsShown)->Unit(benchmark::kMillisecond);

// From nothing to the first painted frame of the skinned main window: the window system, the
// skin unpacked and applied, both windows built, the main one shown and painted.
void StartToFirstSkinnedFrame(benchmark::State& state) {
    for (auto _ : state) {
        auto program = std::make_unique<Program>();
        benchmark::DoNotOptimize(program->forms.main);
        state.PauseTiming(); // taking it down is not part of starting
        program.reset();
        platform::ForgetKeptFonts(); // a real start finds no font made before it
        state.ResumeTiming();
    }
}
BENCHMARK(StartToFirstSkinnedFrame)->Unit(benchmark::kMillisecond);

} // namespace
