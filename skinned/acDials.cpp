#include "skinned/acDials.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "skin/sCommonData.h"
#include "skin/sSkinManager.h"
#include "skinned/TacMnuWnd.h"
#include "skinned/sSkinMenus.h"
#include "skinned/sSkinProvider.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TForm.h"
#include "toolkit/TScreen.h"
#include "toolkit/TWinControl.h"

namespace skinned {

using namespace platform;

namespace {

struct HookState {
    HHOOK hook = 0;
    skin::TsSkinManager* manager = nullptr;
    std::vector<TacProvider*> providers;
};

HookState& Hook() {
    static HookState state;
    return state;
}

bool AnswersSkinned(HWND h) {
    return SendMessage(h, toolkit::kLibraryCommandMessage,
                       skin::MakeCommand(skin::kCmdAreYouSkinned), 0) == 1;
}

toolkit::TCustomForm* ProgramFormOf(HWND h) {
    auto* form = dynamic_cast<toolkit::TCustomForm*>(toolkit::FindControl(h));
    if (!form)
        return nullptr;
    const auto& forms = toolkit::Screen().FormList();
    return std::find(forms.begin(), forms.end(), form) != forms.end() ? form : nullptr;
}

bool Allows(const skin::TsSkinManager& manager, skin::TacSkinningRule rule) {
    return manager.SkinningRules().contains(rule);
}

// The file dialogs are the platform's common dialogs made of toolkit controls: they count as
// system dialogs, not as the program's forms.
bool IsSystemDialogForm(const toolkit::TCustomForm& form) {
    return form.ClassName() == "TFileDialogForm";
}

void Activated(HWND h) {
    HookState& state = Hook();
    skin::TsSkinManager* manager = state.manager;
    if (!manager || !IsWindow(h) || AttachedProvider(h) || AnswersSkinned(h))
        return;
    if (!MaySkinWindow(h, *manager))
        return;
    toolkit::TCustomForm* form = ProgramFormOf(h);
    if (!form) {
        // A system dialog: its own adapter is not part of this program's rules.
        return;
    }
    const bool chooser = form->ClassName() != "TMessageForm" && !IsSystemDialogForm(*form);
    new TacProvider(*form, *manager, chooser);
}

LRESULT CbtHook(int code, WPARAM w, LPARAM l) {
    const LRESULT next = CallNextHookEx(Hook().hook, code, w, l);
    if (next != 0)
        return next;
    const HWND h(static_cast<std::uint32_t>(w));
    if (code == HCBT_CREATEWND) {
        if (Hook().manager && GetClassName(h) == "#32768" && !AnswersSkinned(h))
            AttachMenuWindowAdapter(h, *Hook().manager);
    } else if (code == HCBT_ACTIVATE) {
        Activated(h);
    }
    return 0;
}

void Uninstall() {
    HookState& state = Hook();
    if (state.hook)
        UnhookWindowsHookEx(state.hook);
    state.hook = 0;
    state.manager = nullptr;
    // Each provider takes itself off the list as it goes.
    while (!state.providers.empty())
        toolkit::TComponent::Free(state.providers.back());
}

std::function<void()> Install(skin::TsSkinManager& manager) {
    HookState& state = Hook();
    if (state.hook)
        Uninstall();
    state.manager = &manager;
    state.hook = SetWindowsHookEx(WH_CBT, CbtHook);
    if (const HWND active = GetActiveWindow())
        Activated(active);
    return [] { Uninstall(); };
}

} // namespace

TacProvider::TacProvider(toolkit::TCustomForm& form, skin::TsSkinManager& manager,
                         bool showSkinChooser)
    : toolkit::TComponent(&form), m_form(form) {
    Hook().providers.push_back(this);
    m_provider = std::make_unique<TsSkinProvider>(form, &manager);
    m_provider->SetMakeSkinMenu(showSkinChooser);
}

TacProvider::~TacProvider() {
    std::erase(Hook().providers, this);
    m_provider.reset();
}

void UseFormSkinning() {
    skin::SetThreadHookInstaller(Install);
    UseSkinnedMenus();
}

bool MaySkinWindow(HWND h, const skin::TsSkinManager& manager) {
    const std::string cls = GetClassName(h);
    if (cls == "TApplication" || cls == "TQRStandardPreview")
        return false;
    if (toolkit::TCustomForm* form = ProgramFormOf(h)) {
        if (form->ClassName() == "TMessageForm" || IsSystemDialogForm(*form))
            return Allows(manager, skin::TacSkinningRule::srStdDialogs);
        const std::string caption = form->Caption();
        return Allows(manager, skin::TacSkinningRule::srStdForms) && caption != "Mgn" &&
               caption != "Calculator";
    }
    // A window of no form is a system dialog (the platform's message boxes). The adapter that
    // would skin one under srStdDialogs is not part of this program: it keeps the plain look.
    return false;
}

TacProvider* AttachedProvider(HWND h) {
    for (TacProvider* p : Hook().providers)
        if (p->Form().HandleIfAllocated() == h)
            return p;
    return nullptr;
}

} // namespace skinned
