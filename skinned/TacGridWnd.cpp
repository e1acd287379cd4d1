#include "skinned/TacGridWnd.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "skin/sCommonData.h"
#include "skin/sCommonPaint.h"
#include "skin/sGraphUtils.h"
#include "skin/sSkinManager.h"
#include "skinned/TsSpinEdit.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCustomGrid.h"
#include "toolkit/TSpinEdit.h"

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

// ---- TacSpinEditWnd -------------------------------------------------------------------------

namespace {
constexpr const char* kSpinButtonSection = "SPEEDBUTTON_SMALL";
constexpr platform::Color kArrowKey = 0xFFFFFF;
} // namespace

TacSpinEditWnd::TacSpinEditWnd(platform::HWND window, skin::TsCommonData* data,
                               skin::TsSkinManager* manager, const std::string& section)
    : TacEditWnd(window, data, manager, section),
      m_buttonSkin(std::make_unique<skin::TsCommonData>(nullptr, false)) {
    if (manager)
        m_buttonSkin->SetSkinManager(manager);
    m_buttonSkin->SetSkinSection(kSpinButtonSection);
    m_buttonSkin->UpdateIndexes();
    if (Attached())
        platform::InvalidateRect(Handle(), nullptr, false);
}

TacSpinEditWnd::~TacSpinEditWnd() {
    Detach();
}

void TacSpinEditWnd::PaintButtons(platform::DeviceContext& dc, toolkit::TSpinEdit& spin) {
    const platform::Color back = toolkit::ColorToRGB(spin.Color()) & 0xFFFFFF;
    const platform::Color outline = toolkit::ColorToRGB(spin.Font().Color()) & 0xFFFFFF;
    for (const bool up : {true, false}) {
        const platform::Rect r = up ? spin.UpButtonRect() : spin.DownButtonRect();
        if (r.IsEmpty())
            continue;
        const auto half =
            up ? toolkit::TSpinEdit::SpinButton::Up : toolkit::TSpinEdit::SpinButton::Down;
        const bool pressed = spin.HeldButton() == half && spin.HeldShownPressed();
        const platform::Rect bounds{0, 0, r.Width(), r.Height()};
        const std::unique_ptr<toolkit::TBitmap> behind = skin::NewBitmap24(r.Width(), r.Height());
        const std::unique_ptr<toolkit::TBitmap> face = skin::NewBitmap24(r.Width(), r.Height());
        skin::FillRect24(skin::TacRows24(*behind), bounds, back);
        skin::FillRect24(skin::TacRows24(*face), bounds, back);
        skin::PaintControlSection(*m_buttonSkin, {behind.get(), 0, 0, true}, true, 1,
                                  pressed ? 2 : 0, face.get(), {0, 0}, bounds);
        toolkit::TBitmap arrow;
        MakeSpinArrow(arrow, up, outline);
        const skin::TacRows24 glyph(arrow);
        const std::int32_t shift = pressed ? 1 : 0;
        skin::CopyKeyed(skin::TacRows24(*face), glyph, (r.Width() - arrow.Width()) / 2 + shift,
                        (r.Height() - arrow.Height()) / 2 + shift, false, {}, kArrowKey,
                        glyph.Bounds());
        if (!spin.Enabled())
            skin::PaintDisabledLook(*face, skin::kDisabledFade, back, {0, 0},
                                    {behind.get(), 0, 0, true});
        platform::BitBlt(dc, r.left, r.top, r.Width(), r.Height(), face->DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
    }
}

platform::LRESULT TacSpinEditWnd::WndProc(platform::UINT msg, platform::WPARAM w,
                                          platform::LPARAM l) {
    if (msg == toolkit::kLibraryCommandMessage) {
        const std::uint16_t command = skin::CommandOf(w);
        if (command == skin::kCmdNewSkin || command == skin::kCmdRefresh)
            m_buttonSkin->UpdateIndexes();
        return TacEditWnd::WndProc(msg, w, l);
    }
    if (msg != platform::WM_PAINT || !OwnsSkinData())
        return TacEditWnd::WndProc(msg, w, l);
    const std::weak_ptr<const bool> alive = AliveToken();
    const platform::HWND h = Handle();
    const platform::LRESULT r = TacEditWnd::WndProc(msg, w, l);
    if (alive.expired() || !Attached())
        return r;
    auto* spin = dynamic_cast<toolkit::TSpinEdit*>(toolkit::FindControl(h));
    skin::TsSkinManager* manager = Manager();
    if (!spin || spin->IsDestroying() || !manager || !manager->SkinData().Active ||
        !m_buttonSkin->Skinned() || SkinData().Updating())
        return r;
    if (auto* given = reinterpret_cast<platform::DeviceContext*>(w)) {
        PaintButtons(*given, *spin);
        return r;
    }
    platform::HDC dc = platform::GetDC(h);
    if (!dc)
        return r;
    PaintButtons(*dc, *spin);
    platform::ReleaseDC(h, dc);
    return r;
}

} // namespace skinned
