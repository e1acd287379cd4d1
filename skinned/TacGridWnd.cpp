#include "skinned/TacGridWnd.h"

#include "skin/sCommonData.h"
#include "skin/sSkinManager.h"
#include "toolkit/TCustomGrid.h"

namespace skinned {

TacGridWnd::TacGridWnd(platform::HWND window, skin::TsCommonData* data,
                       skin::TsSkinManager* manager, const std::string& section)
    : TacEditWnd(window, data, manager, section) {
    // A skinned grid takes the skin's colours itself.
    if (!OwnsSkinData() || !Attached() || !SkinData().Skinned())
        return;
    auto* grid = dynamic_cast<toolkit::TCustomGrid*>(toolkit::FindControl(Handle()));
    skin::TsSkinManager* m = Manager();
    if (!grid || !m)
        return;
    m_oldFixedColor = grid->FixedColor();
    m_fixedTaken = true;
    grid->SetFixedColor(m->GetGlobalColor());
}

TacGridWnd::~TacGridWnd() {
    Detach();
}

void TacGridWnd::Detaching() {
    if (m_fixedTaken) {
        m_fixedTaken = false;
        auto* grid = WindowGoing()
                         ? nullptr
                         : dynamic_cast<toolkit::TCustomGrid*>(toolkit::FindControl(Handle()));
        if (grid && !grid->IsDestroying())
            grid->SetFixedColor(m_oldFixedColor);
    }
    TacEditWnd::Detaching();
}

} // namespace skinned
