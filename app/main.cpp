// charvane: the program's start. The window runs until it is closed; --quit-after MS closes it
// by itself after MS milliseconds (for looking at it from scripts).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/Main.h"
#include "app/Startup.h"
#include "toolkit/TApplication.h"
#include "toolkit/TTimer.h"

int main(int argc, char** argv) {
    int quitAfterMs = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quit-after") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const long ms = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || ms <= 0 || ms > 24L * 3600 * 1000) {
                std::fprintf(stderr, "charvane: --quit-after needs a number of milliseconds\n");
                return 2;
            }
            quitAfterMs = static_cast<int>(ms);
        } else {
            std::fprintf(stderr, "charvane: unknown argument \"%s\"\n", argv[i]);
            return 2;
        }
    }

    toolkit::TApplication application;
    try {
        application.Initialize();
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "charvane: %s\n", e.what());
        return 1;
    }
    const app::TProgramForms forms = app::CreateProgramForms(application);
    toolkit::TTimer quit(forms.main);
    if (quitAfterMs > 0) {
        quit.SetInterval(static_cast<unsigned>(quitAfterMs));
        quit.SetOnTimer([&](toolkit::TObject*) { forms.main->Close(); });
    }
    quit.SetEnabled(quitAfterMs > 0);
    application.Run();
    return 0;
}
