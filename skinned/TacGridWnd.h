#pragma once
// Adapters of standard grids and combo boxes, on the edit adapter (section "EDIT": the
// section's colour as Color, its hot font colour, the skinned border and scroll bars).
//
// TacGridWnd also gives the grid the skin's global colour as FixedColor while attached and the
// FixedColor it had when it lets go.

#include <cstdint>

#include "skinned/TacScrollWnd.h"

namespace skinned {

class TacGridWnd : public TacEditWnd {
public:
    TacGridWnd(platform::HWND window, skin::TsCommonData* data, skin::TsSkinManager* manager,
               const std::string& section = "EDIT");
    ~TacGridWnd() override;

protected:
    void Detaching() override;

private:
    bool m_fixedTaken = false;
    std::uint32_t m_oldFixedColor = 0;
};

// A standard combo box: its edit part's colours and border.
class TacComboBoxWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;
};

} // namespace skinned
