// The control adapter on the save options window: a repaint with every face cached, and a new
// skin reaching the adapter (every control given back its look, adapted afresh and repainted),
// which is the adapter's share of a skin switch; and a walk of the main window that finds
// nothing new.

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

#include "app/Main.h"
#include "app/Startup.h"
#include "app/Unit3.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowSystem.h"
#include "skinned/TacCtrlAdapter.h"
#include "skinned/sSkinProvider.h"
#include "toolkit/TApplication.h"

namespace {

constexpr platform::UINT kRepaintAll = platform::RDW_INVALIDATE | platform::RDW_ERASE |
                                       platform::RDW_ALLCHILDREN | platform::RDW_UPDATENOW |
                                       platform::RDW_FRAME;

// The adapters are the ones the windows' frame providers own.
skinned::TacCtrlAdapter& AdapterOf(const toolkit::TCustomForm& form) {
    skinned::TsSkinProvider* provider = skinned::ProviderOf(form);
    if (!provider || !provider->Adapter())
        throw std::runtime_error("the window has no control adapter");
    return *provider->Adapter();
}

struct SaveWindow {
    SaveWindow() {
        system = std::make_unique<platform::WindowSystem>(
            std::make_unique<platform::HeadlessBackend>(platform::Rect{0, 0, 1280, 1024}));
        app = std::make_unique<toolkit::TApplication>();
        forms = app::CreateProgramForms(*app);
        forms.saveOptions->Show();
        app->ProcessMessages();
        adapter = &AdapterOf(*forms.saveOptions);
        Repaint();
    }
    ~SaveWindow() {
        app.reset();
        system.reset();
    }
    void Repaint() {
        platform::RedrawWindow(forms.saveOptions->Handle(), nullptr, nullptr, kRepaintAll);
        app->ProcessMessages();
    }
    std::unique_ptr<platform::WindowSystem> system;
    std::unique_ptr<toolkit::TApplication> app;
    app::TProgramForms forms;
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
    window.forms.main->Show();
    window.app->ProcessMessages();
    skinned::TacCtrlAdapter& adapter = AdapterOf(*window.forms.main);
    for (auto _ : state)
        adapter.AddAllItems();
}
BENCHMARK(MainWindowWalkAgain)->Unit(benchmark::kMicrosecond);

} // namespace
