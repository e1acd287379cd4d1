#pragma once
// Adapters of standard grids, spin edits and combo boxes, on the edit adapter (section "EDIT":
// the section's colour as Color, its hot font colour, the skinned border and scroll bars).
//
// TacGridWnd also gives the grid the skin's global colour as FixedColor while attached and the
// FixedColor it had when it lets go.
//
// TacSpinEditWnd paints the spin edit's button halves (client coordinates, where the control
// puts them) from the "SPEEDBUTTON_SMALL" section over the edit's colour, pressed while the
// control shows the half pressed, with the spin arrows outlined in the font colour; after the
// control has painted itself, so that everything else stays the control's.

#include <cstdint>
#include <memory>

#include "skinned/TacScrollWnd.h"

namespace platform {
class DeviceContext;
}
namespace toolkit {
class TSpinEdit;
}

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

class TacSpinEditWnd : public TacEditWnd {
public:
    TacSpinEditWnd(platform::HWND window, skin::TsCommonData* data, skin::TsSkinManager* manager,
                   const std::string& section = "EDIT");
    ~TacSpinEditWnd() override;

protected:
    platform::LRESULT WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) override;

private:
    void PaintButtons(platform::DeviceContext& dc, toolkit::TSpinEdit& spin);
    std::unique_ptr<skin::TsCommonData> m_buttonSkin;
};

// A standard combo box: its edit part's colours and border.
class TacComboBoxWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;
};

} // namespace skinned
