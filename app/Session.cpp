#include "app/Session.h"

#include <filesystem>

#include "app/Main.h"
#include "app/Unit3.h"
#include "platform/sys/Files.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/InternalSkin.h"
#include "skin/SkinPaths.h"
#include "skin/acSkinPack.h"
#include "skin/sSkinManager.h"
#include "toolkit/Exceptions.h"

namespace app {
namespace {

constexpr const char* kDefaultSkinDirectory = "c:\\Skins";

// The dialog opens where the user last confirmed a file, within a run and across runs.
void RememberFolder(toolkit::TOpenDialog& dialog, const std::string& folder) {
    if (!folder.empty())
        dialog.SetInitialDir(folder);
    dialog.OnClose = [&dialog](toolkit::TObject*) {
        if (!dialog.FileName().empty())
            dialog.SetInitialDir(platform::ParentFolder(dialog.FileName()));
    };
}

bool IsSkinFile(const std::string& choice) {
    const std::string upper = toolkit::UpperCase(choice);
    return choice.find('/') != std::string::npos || upper.ends_with(".ASZ");
}

void UseInternalSkin(skin::TsSkinManager& manager) {
    manager.SetSkinDirectory(kDefaultSkinDirectory);
    manager.SetSkinName(skin::kInternalSkinName);
}

} // namespace

void ApplySettings(const TSettings& settings, const TProgramForms& forms) {
    RememberFolder(*forms.main->OpenPictureDialog1, settings.openFolder);
    RememberFolder(*forms.saveOptions->SaveDialog1, settings.saveFolder);
    if (!settings.window)
        return;
    const platform::Rect place = PlaceOnScreen(settings.window->bounds, platform::GetWorkArea());
    forms.main->SetPosition(toolkit::poDesigned);
    forms.main->SetBounds(place.left, place.top, place.Width(), place.Height());
}

void ShowMainForm(const TSettings& settings, const TProgramForms& forms) {
    if (!settings.window || !settings.window->maximized)
        return; // the application shows it as it always has
    forms.main->Show();
    platform::ShowWindow(forms.main->Handle(), platform::SW_MAXIMIZE);
}

TSettings CurrentSettings(const TProgramForms& forms) {
    TSettings settings;
    settings.skin = SkinChoice(*forms.main->sSkinManager1);
    settings.openFolder = forms.main->OpenPictureDialog1->InitialDir();
    settings.saveFolder = forms.saveOptions->SaveDialog1->InitialDir();
    const platform::HWND window = forms.main->HandleIfAllocated();
    if (window)
        settings.window = TWindowPlace{platform::GetNormalRect(window), platform::IsZoomed(window)};
    return settings;
}

bool ChooseSkin(skin::TsSkinManager& manager, const std::string& choice, std::string& problem) {
    std::string directory = kDefaultSkinDirectory;
    std::string name = choice;
    if (IsSkinFile(choice)) {
        const std::filesystem::path file = platform::ExpandFileName(choice);
        directory = file.parent_path().string();
        name = file.stem().string();
    }
    // The reader would stop the start with a warning box for what is no packed skin at all.
    const std::string packed =
        skin::FindSkinFile(skin::TsSkinManager::PackedSkinFileName(directory, name));
    if (!packed.empty() && !skin::LooksLikePackedSkin(packed)) {
        problem = "the skin \"" + choice + "\" cannot be loaded: it is not a packed skin";
        UseInternalSkin(manager);
        return false;
    }
    try {
        manager.SetSkinDirectory(directory);
        manager.SetSkinName(name);
        // An unknown name falls back to the internal skin under its own name.
        if (toolkit::UpperCase(manager.SkinName()) == toolkit::UpperCase(name))
            return true;
        problem = "no skin \"" + choice + "\" was found";
    } catch (const toolkit::Exception& e) {
        problem = "the skin \"" + choice + "\" cannot be loaded: " + e.Message();
    }
    UseInternalSkin(manager);
    return false;
}

std::string SkinChoice(const skin::TsSkinManager& manager) {
    if (manager.SkinName() == skin::kInternalSkinName &&
        toolkit::UpperCase(manager.SkinDirectory()) == toolkit::UpperCase(kDefaultSkinDirectory))
        return {};
    if (toolkit::UpperCase(manager.SkinDirectory()) == toolkit::UpperCase(kDefaultSkinDirectory))
        return manager.SkinName();
    return manager.SkinDirectory() + "/" + manager.SkinName() + ".asz";
}

} // namespace app
