// The program's two windows made as start-up makes them, on a headless screen: what the
// application benchmarks measure against.
#pragma once

#include <memory>

#include "app/Main.h"
#include "app/Startup.h"
#include "app/Unit3.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/TApplication.h"

namespace bench {

class ProgramOnScreen {
public:
    ProgramOnScreen() {
        auto backend =
            std::make_unique<platform::HeadlessBackend>(platform::Rect{0, 0, 1280, 1024});
        host = backend.get();
        system = std::make_unique<platform::WindowSystem>(std::move(backend));
        app = std::make_unique<toolkit::TApplication>();
        forms = app::CreateProgramForms(*app);
    }
    ~ProgramOnScreen() {
        app.reset(); // the windows go before the window system they live in
        system.reset();
    }
    ProgramOnScreen(const ProgramOnScreen&) = delete;
    ProgramOnScreen& operator=(const ProgramOnScreen&) = delete;

    void Show(toolkit::TCustomForm& form) {
        form.Show();
        app->ProcessMessages();
    }
    // Everything of the window invalidated, frame included, and painted at once.
    void Repaint(toolkit::TCustomForm& form) {
        platform::RedrawWindow(form.Handle(), nullptr, nullptr,
                               platform::RDW_INVALIDATE | platform::RDW_ERASE |
                                   platform::RDW_ALLCHILDREN | platform::RDW_UPDATENOW |
                                   platform::RDW_FRAME);
        app->ProcessMessages();
    }

    platform::HeadlessBackend* host = nullptr;
    std::unique_ptr<platform::WindowSystem> system;
    std::unique_ptr<toolkit::TApplication> app;
    app::TProgramForms forms;
};

} // namespace bench
