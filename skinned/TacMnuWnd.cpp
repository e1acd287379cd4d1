#include "skinned/TacMnuWnd.h"

#include "skin/sSkinManager.h"

namespace skinned {

void AttachMenuWindowAdapter(platform::HWND menuWindow, skin::TsSkinManager& manager) {
    // The border painter comes with the menu painter; until then menu windows keep their look.
    (void)menuWindow;
    (void)manager;
}

} // namespace skinned
