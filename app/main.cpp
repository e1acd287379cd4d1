// charvane: the program's start. The window runs until it is closed; --quit-after MS closes it
// by itself after MS milliseconds (for looking at it from scripts). A picture named on the
// command line is opened once the loop runs. The skin, the window's place and the dialogs'
// folders come from the settings file and go back to it when the window closes.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/Main.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/Texts.h"
#include "platform/gfx/text/Font.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TApplication.h"
#include "toolkit/TTimer.h"

namespace {

void PrintHelp() {
    std::fputs(R"(Usage: charvane [OPTION]... [PICTURE]
Turn pictures into text art in a window. PICTURE, when given, is opened at start as the
open button opens a picture; a picture file dropped on the window opens the same way.

A picture whose name ends in ".jpg" (in any letter case) is read as JPEG; any other picture
is known by its first bytes: JPEG (".jpeg", ".jpe", ".jfif", no extension), PNG, and
anything else as a Windows bitmap.

      --skin SKIN      start in SKIN: a name from "Available skins" or a packed skin
                       file (FILE.asz); an unknown or broken one leaves the internal skin
      --quit-after MS  close the window by itself after MS milliseconds
      --help           display this help and exit
      --version        output version information and exit

The chosen skin, the window's place and size and the folders the file dialogs last showed
are kept in $XDG_CONFIG_HOME/charvane/charvane.conf (~/.config/charvane/charvane.conf).
Skins are found in the installed share/charvane/skins and in
$XDG_DATA_HOME/charvane/skins (~/.local/share/charvane/skins); the user's skin wins when
both have one of the same name.

Exit status: 0 when the window was closed; 1 when no display could be opened or no
usable font was found; 2 for a malformed command line.
)",
               stdout);
}

int Usage(const std::string& problem) {
    std::fprintf(stderr, "charvane: %s\nTry 'charvane --help' for more information.\n",
                 problem.c_str());
    return 2;
}

// Every window measures text from its first control on, so without the interface and the fixed
// face nothing can be laid out: better said plainly at the start.
bool HaveUsableFonts() {
    platform::LOGFONT fixed;
    fixed.lfFaceName = "Courier New";
    return platform::CreateFontIndirect(platform::LOGFONT{}) && platform::CreateFontIndirect(fixed);
}

void Warn(const std::string& line) {
    std::fprintf(stderr, "charvane: %s\n", line.c_str());
}

// What the user chose last time, unless the command line says otherwise.
void StartInSkin(const app::TProgramForms& forms, const std::string& choice) {
    if (choice.empty())
        return;
    std::string problem;
    if (!app::ChooseSkin(*forms.main->sSkinManager1, choice, problem))
        Warn(problem + "; the internal skin is used");
}

void SaveSettings(const app::TProgramForms& forms) {
    const std::string file = app::SettingsFileName();
    if (file.empty())
        return;
    try {
        app::WriteSettings(file, app::CurrentSettings(forms));
    } catch (const toolkit::Exception& e) {
        Warn("the settings were not saved: " + e.Message());
    }
}

int Run(int argc, char** argv) {
    int quitAfterMs = 0;
    std::string skinChoice;
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
        } else if (!optionsEnded && arg == "--skin") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return Usage("--skin needs a skin name or a skin file");
            skinChoice = argv[++i];
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

    if (!HaveUsableFonts()) {
        std::fputs("charvane: no usable font: install fonts-liberation (or any font fontconfig "
                   "lists)\n",
                   stderr);
        return 1;
    }
    app::UseUserLanguage();
    toolkit::TApplication application;
    try {
        application.Initialize();
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "charvane: %s\n", e.what());
        return 1;
    }
    const app::TSettings settings = app::ReadSettings(app::SettingsFileName(), Warn);
    const app::TProgramForms forms = app::CreateProgramForms(application);
    app::ApplySettings(settings, forms);
    StartInSkin(forms, skinChoice.empty() ? settings.skin : skinChoice);
    toolkit::TTimer quit(forms.main);
    if (quitAfterMs > 0) {
        quit.SetInterval(static_cast<unsigned>(quitAfterMs));
        quit.SetOnTimer([&](toolkit::TObject*) { forms.main->Close(); });
    }
    quit.SetEnabled(quitAfterMs > 0);
    if (pictureGiven)
        forms.main->QueueOpenPicture(picture);
    app::ShowMainForm(settings, forms);
    application.Run();
    SaveSettings(forms);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return app::ReportEscapingFailures([&] { return Run(argc, argv); });
}
