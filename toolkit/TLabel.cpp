#include "toolkit/TLabel.h"

#include "toolkit/ControlText.h"
#include "toolkit/TForm.h"

namespace toolkit {

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    SetBounds(0, 0, 65, 17);
}

TCustomLabel::~TCustomLabel() {
    if (m_focusControl)
        m_focusControl->RemoveFreeNotification(this);
}

void TCustomLabel::SetAutoSize(bool on) {
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool on) {
    if (on == m_transparent)
        return;
    m_transparent = on;
    SetControlStyle(ControlStyle().Set(csOpaque, !on));
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout layout) {
    if (layout == m_layout)
        return;
    m_layout = layout;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool on) {
    if (on == m_wordWrap)
        return;
    m_wordWrap = on;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool on) {
    if (on == m_showAccelChar)
        return;
    m_showAccelChar = on;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
    if (control == m_focusControl)
        return;
    if (m_focusControl)
        m_focusControl->RemoveFreeNotification(this);
    m_focusControl = control;
    if (control)
        control->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == m_focusControl)
        m_focusControl = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

unsigned TCustomLabel::DrawTextFlags() const {
    unsigned flags = platform::DT_EXPANDTABS | AlignmentFlags(m_alignment);
    if (m_wordWrap)
        flags |= platform::DT_WORDBREAK;
    if (!m_showAccelChar)
        flags |= platform::DT_NOPREFIX;
    return flags;
}

void TCustomLabel::DoDrawText(platform::Rect& rect, unsigned flags) {
    std::string text = GetLabelText();
    if ((flags & platform::DT_CALCRECT) && (text.empty() || (m_showAccelChar && text == "&")))
        text += " ";
    if (flags & platform::DT_CALCRECT) {
        rect = MeasureText(Font(), text, rect, flags & ~platform::DT_CALCRECT);
        return;
    }
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(&Font());
    DrawControlText(canvas, text, rect, flags, Enabled());
}

void TCustomLabel::Paint() {
    TCanvas& canvas = Canvas();
    const platform::Rect client = ClientRect();
    if (!m_transparent && Color() != clNone) {
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    const unsigned flags = DrawTextFlags();
    platform::Rect r = client;
    if (m_layout != tlTop) {
        platform::Rect measured = client;
        DoDrawText(measured, flags | platform::DT_CALCRECT);
        const int free = client.Height() - measured.Height();
        r.top += m_layout == tlBottom ? free : free / 2;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (!m_autoSize || m_adjusting || IsLoading())
        return;
    m_adjusting = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_adjusting};
    platform::Rect r = ClientRect();
    // Without word wrap the text decides the width, so measure it unbounded.
    if (!m_wordWrap)
        r.right = r.left + 0x3FFFFFFF;
    DoDrawText(r, DrawTextFlags() | platform::DT_CALCRECT);
    int left = Left();
    if (!m_wordWrap) {
        if (m_alignment == taRightJustify)
            left += Width() - r.Width();
        else if (m_alignment == taCenter)
            left += (Width() - r.Width()) / 2;
    }
    SetBounds(left, Top(), m_wordWrap ? Width() : r.Width(), r.Height());
}

void TCustomLabel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (m_focusControl && Enabled() && m_showAccelChar &&
            IsAccel(static_cast<char32_t>(m.WParam), GetLabelText()) &&
            m_focusControl->CanFocus()) {
            m_focusControl->SetFocus();
            m.Result = 1;
        }
        return;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}

} // namespace toolkit
