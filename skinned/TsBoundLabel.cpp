#include "skinned/TsBoundLabel.h"

#include <algorithm>

#include "toolkit/Int32.h"
#include "toolkit/TWinControl.h"

namespace skinned {

using toolkit::int32::Add;
using toolkit::int32::Sub;

TsEditLabel::TsEditLabel(toolkit::TComponent* owner, TsBoundLabel* bound)
    : TsLabel(owner), m_bound(bound) {}

TsEditLabel::~TsEditLabel() {
    if (m_bound && m_bound->m_label == this) {
        m_bound->m_label = nullptr;
        m_bound->m_active = false;
    }
}

void TsEditLabel::SkinnedWndProc(toolkit::TMessage& message) {
    TsLabel::SkinnedWndProc(message);
    if (message.Msg == toolkit::CM_FONTCHANGED && !SettingSkinColor() && m_bound &&
        m_bound->Active() && !IsDestroying())
        m_bound->AlignLabel();
}

TsBoundLabel::TsBoundLabel(skin::TsCommonData& data) : m_data(data) {}

TsBoundLabel::~TsBoundLabel() {
    SetActive(false);
}

toolkit::TFont& TsBoundLabel::Font() {
    return m_label ? m_label->Font() : m_font;
}

bool TsBoundLabel::UseSkinColor() const {
    return m_label ? m_label->UseSkinColor() : m_useSkinColor;
}

void TsBoundLabel::SetUseSkinColor(bool on) {
    m_useSkinColor = on;
    if (m_label)
        m_label->SetUseSkinColor(on);
}

void TsBoundLabel::SetActive(bool on) {
    if (on == m_active)
        return;
    toolkit::TControl* control = Control();
    if (!on) {
        m_active = false;
        TsEditLabel* label = m_label;
        m_label = nullptr;
        if (label) {
            label->m_bound = nullptr;
            delete label;
        }
        return;
    }
    if (!control)
        return;
    m_active = true;
    auto* label = new TsEditLabel(control, this);
    m_label = label;
    label->SetVisible(false);
    label->Font().Assign(&m_font);
    label->SetUseSkinColor(m_useSkinColor);
    label->SetParent(control->Parent());
    label->SetFocusControl(dynamic_cast<toolkit::TWinControl*>(control));
    if (!control->Name().empty())
        label->SetName(control->Name() + "Label");
    if (m_caption.empty())
        m_caption = control->Name();
    label->SetCaption(m_caption);
    label->SetVisible(control->Visible() ||
                      control->ComponentState().Contains(toolkit::csDesigning));
    label->SetEnabled(control->Enabled());
    AlignLabel();
}

void TsBoundLabel::SetCaption(const std::string& caption) {
    m_caption = caption;
    if (m_label) {
        m_label->SetCaption(caption);
        AlignLabel();
    }
}

void TsBoundLabel::SetIndent(std::int32_t indent) {
    m_indent = indent;
    AlignLabel();
}

void TsBoundLabel::SetLayout(TsCaptionLayout layout) {
    m_layout = layout;
    AlignLabel();
}

void TsBoundLabel::SetMaxWidth(std::int32_t width) {
    m_maxWidth = width;
    AlignLabel();
}

void TsBoundLabel::AlignLabel() {
    toolkit::TControl* control = Control();
    if (!m_label || !control)
        return;
    TsEditLabel& label = *m_label;
    label.SetWordWrap(false);
    label.SetAutoSize(true);
    const std::int32_t w = label.Width(), h = label.Height();
    const std::int32_t above = Sub(Sub(control->Top(), h), m_indent);
    switch (m_layout) {
    case sclLeft:
        label.SetAlignment(toolkit::taRightJustify);
        label.SetBounds(Sub(Sub(Sub(control->Left(), w), m_indent), 4),
                        Sub(Add(control->Top(), Sub(control->Height(), h) / 2), 1), w, h);
        break;
    case sclTopLeft:
        label.SetAlignment(toolkit::taLeftJustify);
        label.SetBounds(control->Left(), above, w, h);
        break;
    case sclTopCenter:
        label.SetAlignment(toolkit::taCenter);
        label.SetBounds(Add(control->Left(), Sub(control->Width(), w) / 2), above, w, h);
        break;
    case sclTopRight:
        label.SetAlignment(toolkit::taRightJustify);
        label.SetBounds(Sub(Add(control->Left(), control->Width()), w), above, w, h);
        break;
    }
    if (m_maxWidth != 0) {
        label.SetAutoSize(false);
        label.SetWordWrap(true);
        label.SetBounds(label.Left(), label.Top(), m_maxWidth,
                        std::max(label.Height(), control->Height()));
    }
}

} // namespace skinned
