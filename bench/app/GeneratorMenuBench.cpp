// Opening the generator menu must feel instant: from the drop-down press to the menu painted
// from the skin (background, frame, every item) within 5 ms. A queued Escape closes the menu as
// soon as its loop reads input, which is after the first paint.

#include <benchmark/benchmark.h>

#include "bench/app/ProgramOnScreen.h"
#include "toolkit/TMenu.h"

namespace {

struct Program : bench::ProgramOnScreen {
    Program() { Show(*forms.main); }
    void OpenAndClose() {
        host->Key(platform::VK_ESCAPE);
        auto& button = *forms.main->sSpeedButton1;
        const platform::Point corner = button.ClientToScreen({0, button.Height() + 1});
        forms.main->PopupMenu1->Popup(corner.x, corner.y);
    }
};

// The same menu is opened again and again, as a user does: its background is kept.
void GeneratorMenuOpenToPainted(benchmark::State& state) {
    Program program;
    program.OpenAndClose();
    for (auto _ : state)
        program.OpenAndClose();
}
BENCHMARK(GeneratorMenuOpenToPainted)->Unit(benchmark::kMillisecond);

// The first opening after a skin change builds the background as well.
void GeneratorMenuOpenAfterSkinChange(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        state.PauseTiming();
        program.forms.main->sSkinManager1->SkinnedMenus()->ResetBorderWidth();
        state.ResumeTiming();
        program.OpenAndClose();
    }
}
BENCHMARK(GeneratorMenuOpenAfterSkinChange)->Unit(benchmark::kMillisecond);

// The toolkit's own look of the same menu, for comparison.
void GeneratorMenuOpenPlain(benchmark::State& state) {
    Program program;
    program.forms.main->sSkinManager1->SetSkinnedPopups(false);
    program.OpenAndClose();
    for (auto _ : state)
        program.OpenAndClose();
}
BENCHMARK(GeneratorMenuOpenPlain)->Unit(benchmark::kMillisecond);

} // namespace
