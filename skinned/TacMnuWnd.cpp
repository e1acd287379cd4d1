#include "skinned/TacMnuWnd.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win/Menu.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "skin/sCommonData.h"
#include "skin/sSkinManager.h"
#include "skinned/sSkinMenus.h"
#include "toolkit/ControlMessages.h"

namespace skinned {

namespace {

std::vector<std::unique_ptr<TacMnuWnd>>& Adapters() {
    static std::vector<std::unique_ptr<TacMnuWnd>> adapters;
    return adapters;
}

// Adapters a skin removal detached wait here until the next attachment.
void FreeDetached() {
    std::erase_if(Adapters(), [](const std::unique_ptr<TacMnuWnd>& a) { return !a->Attached(); });
}

} // namespace

TacMnuWnd::TacMnuWnd(platform::HWND window, skin::TsSkinManager& manager,
                     const std::string& section)
    : TacMainWnd(window, nullptr, &manager, section), m_manager(&manager) {}

TacMnuWnd* TacMnuWnd::Of(platform::HWND window) {
    for (const auto& a : Adapters())
        if (a->Attached() && a->Handle() == window)
            return a.get();
    return nullptr;
}

platform::LRESULT TacMnuWnd::WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) {
    switch (msg) {
    case platform::WM_NCPAINT: {
        auto* painter = dynamic_cast<TsSkinableMenus*>(m_manager->SkinnedMenus());
        if (!painter || !painter->Skinning())
            break;
        painter->PaintWindowBorder(Handle());
        return 0;
    }
    case platform::WM_NCDESTROY: {
        const platform::LRESULT r = TacMainWnd::WndProc(msg, w, l);
        // Nothing of this adapter is touched after it is freed here.
        auto& adapters = Adapters();
        const auto it = std::find_if(adapters.begin(), adapters.end(),
                                     [this](const auto& a) { return a.get() == this; });
        if (it != adapters.end()) {
            std::unique_ptr<TacMnuWnd> self = std::move(*it);
            adapters.erase(it);
        }
        return r;
    }
    default:
        break;
    }
    return TacMainWnd::WndProc(msg, w, l);
}

void AttachMenuWindowAdapter(platform::HWND menuWindow, skin::TsSkinManager& manager) {
    FreeDetached();
    if (!platform::IsWindow(menuWindow) ||
        platform::GetClassName(menuWindow) != platform::kMenuClassName ||
        !manager.SkinData().Active || TacMnuWnd::Of(menuWindow) ||
        platform::SendMessage(menuWindow, toolkit::kLibraryCommandMessage,
                              skin::MakeCommand(skin::kCmdAreYouSkinned), 0) == 1)
        return;
    Adapters().push_back(std::make_unique<TacMnuWnd>(menuWindow, manager));
}

} // namespace skinned
