// The memo's skinned scroll bars repaint on every scroll step and every line added while the
// text grows, so both bars together must paint in a small part of a millisecond; dragging the
// thumb repaints them on each mouse move.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowSystem.h"
#include "skin/InternalSkin.h"
#include "skin/sSkinManager.h"
#include "skinned/TacScrollWnd.h"
#include "skinned/TsMemo.h"
#include "toolkit/TApplication.h"
#include "toolkit/TForm.h"

namespace {

using namespace toolkit;

// A headless screen with the internal skin and a shown form holding one memo of the main
// window's size, full of long lines so that both bars show.
struct Desk {
    Desk() {
        auto backend =
            std::make_unique<platform::HeadlessBackend>(platform::Rect{0, 0, 1280, 1024});
        system = std::make_unique<platform::WindowSystem>(std::move(backend));
        app = std::make_unique<TApplication>();
        manager = std::make_unique<skin::TsSkinManager>();
        skin::AddInternalSkin(manager->InternalSkins());
        manager->SetSkinName(skin::kInternalSkinName);
        form = app->CreateForm<TForm>();
        form->SetBounds(0, 0, 782, 570);
        memo = new skinned::TsMemo(form);
        memo->SetParent(form);
        memo->SetBounds(211, 0, 553, 533);
        memo->SetScrollBars(ssBoth);
        for (int i = 0; i < 2000; ++i)
            memo->Lines().Add(std::string(200, '#'));
        form->Show();
        app->ProcessMessages();
    }
    ~Desk() {
        app.reset();
        manager.reset();
        system.reset();
    }
    std::unique_ptr<platform::WindowSystem> system;
    std::unique_ptr<skin::TsSkinManager> manager;
    std::unique_ptr<TApplication> app;
    TForm* form = nullptr;
    skinned::TsMemo* memo = nullptr;
};

void PaintBothBars(benchmark::State& state) {
    Desk desk;
    skinned::TacScrollWnd* adapter = desk.memo->ScrollWnd();
    if (!adapter) {
        state.SkipWithError("the memo has no skinned bars");
        return;
    }
    const platform::HWND h = desk.memo->HandleIfAllocated();
    for (auto _ : state) {
        platform::HDC dc = platform::GetWindowDC(h);
        adapter->PaintBars(*dc);
        platform::ReleaseDC(h, dc);
    }
}
BENCHMARK(PaintBothBars)->Unit(benchmark::kMicrosecond);

// One line down through the bar: the scroll, the text's repaint and the bars' repaint.
void ScrollOneLine(benchmark::State& state) {
    Desk desk;
    int line = 0;
    for (auto _ : state) {
        line = (line + 1) % 1000;
        desk.memo->SetTopLine(line);
        desk.app->ProcessMessages();
    }
}
BENCHMARK(ScrollOneLine)->Unit(benchmark::kMicrosecond);

} // namespace
