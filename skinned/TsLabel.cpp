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

TsCustomLabel::TsCustomLabel(toolkit::TComponent* owner) : TacSkinnedControl(owner, {0, false}) {
    SetTransparent(true);
}

void TsCustomLabel::SetSkinSection(const std::string& section) {
    if (section == m_skinSection)
        return;
    m_skinSection = section;
    if (!section.empty())
        SkinData().SetSkinSection(section);
    Invalidate();
}

skin::TsSkinManager* TsCustomLabel::ActiveManager() const {
    skin::TsSkinManager* m = HasSkinData() ? SkinData().SkinManager() : nullptr;
    return m && !m->Destroying() && m->SkinData().Active ? m : nullptr;
}

TsLabel::TsLabel(toolkit::TComponent* owner) : TsCustomLabel(owner) {}

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
    if (m && !m_skinSection.empty() && SkinData().Skinned(true) && Width() > 0 && Height() > 0) {
        toolkit::TBitmap under;
        under.SetPixelFormat(toolkit::TPixelFormat::pf24bit);
        under.SetSize(Width(), Height());
        skin::PaintControlSection(SkinData(), skin::GetParentBackground(*this), true, 1, 0, &under,
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

void TsCustomLabel::SkinCommand(toolkit::TMessage& m) {
    skin::TsCommonData& data = SkinData();
    const bool removed =
        skin::CommandOf(m.WParam) == skin::kCmdSkinRemoved &&
        reinterpret_cast<const skin::TsSkinManager*>(m.LParam) == data.SkinManager();
    data.WndProc(m);
    if (removed) {
        Font().SetColor(toolkit::clWindowText);
        Invalidate();
    }
}

void TsCustomLabel::SkinnedWndProc(toolkit::TMessage& m) {
    // The skin's font colour is set during a paint: no re-size, no second repaint.
    if (m.Msg == toolkit::CM_FONTCHANGED && m_settingColor)
        return;
    TacSkinnedControl::SkinnedWndProc(m);
}

} // namespace skinned
