// The memo with the program's largest texts: filling it line by line, painting a screenful of
// long lines, and typing into it once it is full.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/TApplication.h"
#include "toolkit/TForm.h"
#include "toolkit/TMemo.h"

namespace {

using namespace toolkit;

constexpr int kLines = 5000;
constexpr std::size_t kLineLength = 400;

// A headless screen with a shown form holding one memo as the main window has it.
struct Desk {
    Desk() {
        auto backend =
            std::make_unique<platform::HeadlessBackend>(platform::Rect{0, 0, 1280, 1024});
        system = std::make_unique<platform::WindowSystem>(std::move(backend));
        app = std::make_unique<TApplication>();
        form = app->CreateForm<TForm>();
        form->SetBounds(0, 0, 782, 570);
        memo = new TMemo(form);
        memo->SetParent(form);
        memo->SetBounds(211, 0, 560, 530);
        memo->SetScrollBars(ssBoth);
        memo->Font().SetName("Courier New");
        memo->Font().SetHeight(-13);
        memo->Font().SetStyle({TFontStyle::fsBold});
        form->Show();
        app->ProcessMessages();
    }
    void Fill() {
        const std::string line(kLineLength, '#');
        for (int i = 0; i < kLines; ++i)
            memo->Lines().Add(line);
    }
    std::unique_ptr<platform::WindowSystem> system;
    std::unique_ptr<TApplication> app;
    TForm* form = nullptr;
    TMemo* memo = nullptr;
};

void AddFiveThousandLongLines(benchmark::State& state) {
    Desk desk;
    for (auto _ : state) {
        desk.memo->Lines().Clear();
        desk.Fill();
        desk.app->ProcessMessages();
        benchmark::DoNotOptimize(desk.memo->Lines().Count());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kLines);
}
BENCHMARK(AddFiveThousandLongLines)->Unit(benchmark::kMillisecond);

void PaintAScreenfulOfLongLines(benchmark::State& state) {
    Desk desk;
    desk.Fill();
    desk.memo->SetTopLine(kLines / 2);
    desk.memo->SetHorzScroll(1000);
    desk.memo->SelectAll();
    desk.memo->SetFocus();
    desk.app->ProcessMessages();
    for (auto _ : state) {
        desk.memo->Invalidate();
        desk.memo->Update();
    }
}
BENCHMARK(PaintAScreenfulOfLongLines)->Unit(benchmark::kMicrosecond);

void TypeIntoAFullMemo(benchmark::State& state) {
    Desk desk;
    desk.Fill();
    desk.memo->SetFocus();
    desk.memo->SetSelStart(static_cast<int>(desk.memo->TextLength() / 2));
    for (auto _ : state) {
        desk.memo->SetSelText("x");
        desk.memo->Update();
    }
}
BENCHMARK(TypeIntoAFullMemo)->Unit(benchmark::kMicrosecond);

} // namespace
