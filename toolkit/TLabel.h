#pragma once
// The label: a windowless control that shows a caption.
//
// Text: drawn in the label's font inside its client rectangle, lines placed by Alignment and
// the block by Layout; WordWrap breaks long lines between words. With ShowAccelChar (the
// default) "&x" shows x underlined and "&&" an ampersand; otherwise the text is shown as it is.
// A disabled label shows its text engraved.
//
// AutoSize (on by default) makes the label exactly as big as its text whenever the text, the
// font, WordWrap or AutoSize itself changes: without WordWrap both sides follow the text (the
// left edge stays for left-aligned text, the right edge for right-aligned, the middle for
// centred); with WordWrap the width stays and the height follows. An empty caption (or a lone
// "&" while accelerators show) is measured as a space, so the label keeps one line's height.
//
// Transparent (off by default) leaves the parent's background showing; otherwise the label
// fills its area with Color first.
//
// Accelerator: when the caption's accelerator character arrives as CM_DIALOGCHAR (a character
// nobody focused took), the label focuses FocusControl if that one can take the focus, and
// answers 1. FocusControl is forgotten when it is freed.
//
// DoDrawText is the one place that draws (or, with DT_CALCRECT, measures) the text, so an
// effect label replaces only that.

#include "toolkit/TAlignment.h"
#include "toolkit/TWinControl.h"

namespace toolkit {

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);
    ~TCustomLabel() override;

    std::string ClassName() const override { return "TCustomLabel"; }

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool on);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool on);
    TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* control);

    // The text as drawn (the caption; an override may decorate it).
    virtual std::string GetLabelText() const { return Caption(); }
    // The DT_* flags the text is drawn with (alignment, word break, prefix handling).
    unsigned DrawTextFlags() const;

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    // Draws the text into rect, or measures it when flags contain DT_CALCRECT (rect then gets
    // the text's right and bottom).
    virtual void DoDrawText(platform::Rect& rect, unsigned flags);
    // Resizes the label to its text when AutoSize is on.
    virtual void AdjustBounds();
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

private:
    bool m_autoSize = true;
    bool m_transparent = false;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    TWinControl* m_focusControl = nullptr;
    bool m_adjusting = false;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
    std::string ClassName() const override { return "TLabel"; }
};

} // namespace toolkit
