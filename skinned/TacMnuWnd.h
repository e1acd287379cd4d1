#pragma once
// The adapter of popup menu windows (class "#32768"). The skin manager's window hook calls
// AttachMenuWindowAdapter for every menu window as it is created; the adapter paints the
// window's border from the skin while the manager has a skin and skinned popups, and lets go
// of the window when it is destroyed. A window that is not a menu window, or a manager without
// a skin, is left alone.

#include "platform/win/WinDefs.h"

namespace skin {
class TsSkinManager;
}

namespace skinned {

void AttachMenuWindowAdapter(platform::HWND menuWindow, skin::TsSkinManager& manager);

} // namespace skinned
