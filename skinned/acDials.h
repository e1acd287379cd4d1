#pragma once
// The skin manager's thread hook and the providers it attaches (TacProvider).
//
// UseFormSkinning registers the hook's installer with the skin manager, and has every manager
// made from then on make its skinned menus (call it once before the first manager is made;
// calling it again changes nothing). From then on the default manager, while its skin is
// applied, keeps a computer-based-training hook on the interface thread that:
//   - gives every popup menu window ("#32768") that is not skinned yet a menu-window adapter;
//   - on activation of a window that is not skinned yet and has no provider, attaches one when
//     the manager's SkinningRules allow it: a program form under srStdForms (not captioned "Mgn"
//     or "Calculator"), the toolkit's message form ("TMessageForm") and system dialogs (the
//     platform's message boxes, the file dialog forms) only under srStdDialogs. Windows of the
//     classes "TApplication" and "TQRStandardPreview" are left alone.
// When the hook is taken out (the skin goes, or the manager) every provider it attached is freed
// and the windows get their plain frames back. The window that is active when the hook goes in
// is looked at at once, as if it had just been activated.
//
// A TacProvider belongs to its form (freed with it) and holds the form's TsSkinProvider.

#include <memory>

#include "platform/win/WinDefs.h"
#include "toolkit/TComponent.h"

namespace skin {
class TsSkinManager;
}
namespace toolkit {
class TCustomForm;
}

namespace skinned {

class TsSkinProvider;

class TacProvider : public toolkit::TComponent {
public:
    // showSkinChooser: MakeSkinMenu of the provider (off for message forms).
    TacProvider(toolkit::TCustomForm& form, skin::TsSkinManager& manager, bool showSkinChooser);
    ~TacProvider() override;

    std::string ClassName() const override { return "TacProvider"; }

    TsSkinProvider& Provider() { return *m_provider; }
    toolkit::TCustomForm& Form() { return m_form; }

private:
    toolkit::TCustomForm& m_form;
    std::unique_ptr<TsSkinProvider> m_provider;
};

void UseFormSkinning();

// Whether the hook would attach a provider to this window under the manager's rules.
bool MaySkinWindow(platform::HWND window, const skin::TsSkinManager& manager);

// The provider the hook attached to a window, if any.
TacProvider* AttachedProvider(platform::HWND window);

} // namespace skinned
