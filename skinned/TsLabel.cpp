#include "skinned/TsLabel.h"

#include <cmath>

#include "skin/sCommonPaint.h"
#include "skin/sSkinManager.h"
#include "toolkit/ControlText.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TWinControl.h"

namespace skinned {
namespace {

platform::Color Blend(platform::Color font, platform::Color back) {
    platform::Color out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double f = (font >> shift) & 0xFF, b = (back >> shift) & 0xFF;
        out |= static_cast<platform::Color>(std::lround(0.4 * f + 0.6 * b)) << shift;
    }
    return out;
}

} // namespace

TsCustomLabel::TsCustomLabel(toolkit::TComponent* owner)
    : toolkit::TLabel(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, false)) {
    SetTransparent(true);
    m_skinData->SetControlTypeCode(0);
    m_skinData->Initialise();
}

TsCustomLabel::~TsCustomLabel() {
    m_skinData.reset();
}

void TsCustomLabel::Loaded() {
    toolkit::TLabel::Loaded();
    m_skinData->Initialise();
}

void TsCustomLabel::SetSkinSection(const std::string& section) {
    if (section == m_skinSection)
        return;
    m_skinSection = section;
    if (!section.empty())
        m_skinData->SetSkinSection(section);
    Invalidate();
}

skin::TsSkinManager* TsCustomLabel::ActiveManager() const {
    skin::TsSkinManager* m = m_skinData ? m_skinData->SkinManager() : nullptr;
    return m && !m->Destroying() && m->SkinData().Active ? m : nullptr;
}

// The skin state was set up while only the base part existed: it takes this class's section.
TsLabel::TsLabel(toolkit::TComponent* owner) : TsCustomLabel(owner) {
    SkinData().SetSkinSection(ClassName());
}

void TsLabel::SetUseSkinColor(bool on) {
    if (on == m_useSkinColor)
        return;
    m_useSkinColor = on;
    Invalidate();
}

void TsCustomLabel::Paint() {
    skin::TsSkinManager* m = ActiveManager();
    if (m && TakesSkinColor()) {
        const platform::Color color = m->GetGlobalFontColor();
        if (color != skin::kKeyColor && Font().Color() != color) {
            m_settingColor = true;
            struct Done {
                bool& flag;
                ~Done() { flag = false; }
            } done{m_settingColor};
            Font().SetColor(color);
        }
    }
    if (m && !m_skinSection.empty() && m_skinData->Skinned(true) && Width() > 0 && Height() > 0) {
        toolkit::TBitmap under;
        under.SetPixelFormat(toolkit::TPixelFormat::pf24bit);
        under.SetSize(Width(), Height());
        skin::PaintControlSection(*m_skinData, skin::GetParentBackground(*this), true, 1, 0, &under,
                                  {Left(), Top()}, {0, 0, Width(), Height()});
        platform::BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), under.DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
    }
    toolkit::TLabel::Paint();
}

void TsCustomLabel::DoDrawText(platform::Rect& rect, unsigned flags) {
    if ((flags & platform::DT_CALCRECT) || Enabled() || !ActiveManager()) {
        toolkit::TLabel::DoDrawText(rect, flags);
        return;
    }
    platform::Color back = Parent() ? skin::GetParentColor(*this) : skin::kKeyColor;
    if (back == skin::kKeyColor && Parent())
        back = toolkit::ColorToRGB(Parent()->Color()) & 0xFFFFFF;
    toolkit::TCanvas& canvas = Canvas();
    canvas.Font().Assign(&Font());
    canvas.Font().SetColor(Blend(toolkit::ColorToRGB(Font().Color()) & 0xFFFFFF, back));
    toolkit::DrawControlText(canvas, GetLabelText(), rect, flags, true);
}

void TsCustomLabel::WndProc(toolkit::TMessage& m) {
    // Messages may arrive while the base part is still being built or already taken apart.
    if (!m_skinData) {
        toolkit::TLabel::WndProc(m);
        return;
    }
    if (m.Msg == toolkit::kLibraryCommandMessage) {
        const bool removed =
            skin::CommandOf(m.WParam) == skin::kCmdSkinRemoved &&
            reinterpret_cast<const skin::TsSkinManager*>(m.LParam) == m_skinData->SkinManager();
        m_skinData->WndProc(m);
        if (removed) {
            Font().SetColor(toolkit::clWindowText);
            Invalidate();
        }
        return;
    }
    switch (m.Msg) {
    case toolkit::CM_FONTCHANGED:
        m_skinData->WndProc(m);
        if (!m_settingColor)
            toolkit::TLabel::WndProc(m);
        return;
    case toolkit::CM_MOUSEENTER:
    case toolkit::CM_MOUSELEAVE: {
        m_skinData->WndProc(m);
        toolkit::TLabel::WndProc(m);
        const toolkit::TNotifyEvent& event =
            m.Msg == toolkit::CM_MOUSEENTER ? OnMouseEnter : OnMouseLeave;
        if (m.LParam == 0 && event)
            event(this);
        return;
    }
    default:
        break;
    }
    if (m_skinData->WndProc(m))
        return;
    toolkit::TLabel::WndProc(m);
}

} // namespace skinned
