#include "app/Startup.h"

#include <cstdio>
#include <exception>
#include <new>

#include "app/Glyphs.h"
#include "app/Main.h"
#include "app/Unit3.h"

namespace app {

TProgramForms CreateProgramForms(toolkit::TApplication& application) {
    platform::SetApplicationIcon(ProgramIcon());
    TProgramForms forms;
    forms.main = application.CreateForm<TForm1>();
    forms.saveOptions = application.CreateForm<TForm3>();
    forms.main->SetSaveOptions(forms.saveOptions);
    return forms;
}

int ReportEscapingFailures(const std::function<int()>& body) {
    const auto say = [](const char* message) {
        std::fprintf(stderr, "charvane: %s\n", message);
        return 1;
    };
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return say("Out of memory");
    } catch (const std::exception& e) {
        return say(e.what());
    } catch (...) {
        return say("Unknown error");
    }
}

} // namespace app
