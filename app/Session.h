#pragma once
// The remembered settings meeting the program's windows: handing them to the forms at start,
// reading them back at the end, and starting in a chosen skin.

#include <string>

#include "app/Settings.h"
#include "app/Startup.h"

namespace skin {
class TsSkinManager;
}

namespace app {

// Gives the dialogs their folders and the main window its place (pulled onto the work area).
// Before the main window shows; a maximized window is maximized by ShowMainForm.
void ApplySettings(const TSettings& settings, const TProgramForms& forms);
// Shows the main window maximized when the settings say so; otherwise the application shows it.
void ShowMainForm(const TSettings& settings, const TProgramForms& forms);
// The settings as the windows now stand.
TSettings CurrentSettings(const TProgramForms& forms);

// Starts the manager in a skin: a name from "Available skins", or the path of a packed skin file
// (a name with "/" or ending in ".asz"). A skin that is unknown or fails to load leaves the
// internal skin in place and answers false with a message saying why.
bool ChooseSkin(skin::TsSkinManager& manager, const std::string& choice, std::string& problem);
// The current skin as ChooseSkin takes it; empty for the internal skin.
std::string SkinChoice(const skin::TsSkinManager& manager);

} // namespace app
