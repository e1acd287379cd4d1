#pragma once
// The adapter of popup menu windows (class "#32768"). The skin manager's window hook calls
// AttachMenuWindowAdapter for every menu window as it is created; the adapter paints the
// window's frame from the menu painter's background (or the "MAINMENU" section while there is
// none) as long as the manager skins popups, and lets go of the window when it is destroyed or
// the skin is removed. A window that is not a menu window, one that is adapted already, or a
// manager without an active skin is left alone.
//
// Ownership: the adapters belong to this module; each one is freed when its window goes (or,
// detached by a skin removal, at the next attachment).

#include <string>

#include "platform/win/WinDefs.h"
#include "skinned/TacMainWnd.h"

namespace skin {
class TsSkinManager;
}

namespace skinned {

void AttachMenuWindowAdapter(platform::HWND menuWindow, skin::TsSkinManager& manager);

class TacMnuWnd : public TacMainWnd {
public:
    TacMnuWnd(platform::HWND window, skin::TsSkinManager& manager,
              const std::string& section = "MAINMENU");

    // The adapter a menu window carries, or none.
    static TacMnuWnd* Of(platform::HWND window);

protected:
    platform::LRESULT WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) override;

private:
    skin::TsSkinManager* m_manager;
};

} // namespace skinned
