// charvane: the program's start. The window runs until it is closed; --quit-after MS closes it
// by itself after MS milliseconds (for looking at it from scripts). A picture named on the
// command line is opened once the loop runs.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/Main.h"
#include "app/Startup.h"
#include "toolkit/TApplication.h"
#include "toolkit/TTimer.h"

namespace {

void PrintHelp() {
    std::fputs(R"(Usage: charvane [OPTION]... [PICTURE]
Turn pictures into text art in a window. PICTURE, when given, is opened at start as the
open button opens a picture; a picture file dropped on the window opens the same way.

A picture whose name ends in ".jpg" is read as JPEG, one ending in ".png" as PNG (in any
letter case), anything else as a Windows bitmap.

      --quit-after MS  close the window by itself after MS milliseconds
      --help           display this help and exit
      --version        output version information and exit

Exit status: 0 when the window was closed; 1 when no display could be opened;
2 for a malformed command line.
)",
               stdout);
}

int Usage(const std::string& problem) {
    std::fprintf(stderr, "charvane: %s\nTry 'charvane --help' for more information.\n",
                 problem.c_str());
    return 2;
}

int Run(int argc, char** argv) {
    int quitAfterMs = 0;
    std::string picture;
    bool pictureGiven = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg == "--help") {
            PrintHelp();
            return std::fflush(stdout) == 0 ? 0 : 1;
        } else if (!optionsEnded && arg == "--version") {
            std::printf("charvane (Charvane) %s\n", CHARVANE_VERSION);
            return std::fflush(stdout) == 0 ? 0 : 1;
        } else if (!optionsEnded && arg == "--quit-after") {
            char* end = nullptr;
            const long ms = i + 1 < argc ? std::strtol(argv[++i], &end, 10) : 0;
            if (!end || *end != '\0' || ms <= 0 || ms > 24L * 3600 * 1000)
                return Usage("--quit-after needs a number of milliseconds");
            quitAfterMs = static_cast<int>(ms);
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option \"" + arg + "\"");
        } else if (!pictureGiven) {
            picture = arg;
            pictureGiven = true;
        } else {
            return Usage("one picture at a time");
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
    if (pictureGiven)
        forms.main->QueueOpenPicture(picture);
    application.Run();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return app::ReportEscapingFailures([&] { return Run(argc, argv); });
}
