#pragma once
// A minimal one-line text editor without a border: the text part of a combo box and the
// in-place editor of a grid are built on it. Text is UTF-8; positions (caret, selection) count
// code points.
//
// The embedding controls use, besides the plain windowed-control members, only Text /
// SetText, SelectAll, SetCaretPosition, CaretPosition, SelLength, ReplaceSelection,
// SetTextMargins and OnChange; the combo box takes the keys it wants through WindowProc, and
// the grid's editor derives from it (WndProc, DoKeyDown). A fuller edit control offering the
// same can take its place through the aliases TComboTextPart and TGridTextPart.
//
// Keys: Left, Right, Home, End move the caret (with Shift they extend the selection);
// Backspace and Delete remove the selection or one character; Ctrl+A selects all, Ctrl+C,
// Ctrl+X and Ctrl+V use the clipboard (only the first line of pasted text is taken); other
// characters from U+0020 up replace the selection. OnChange fires once for every change of the
// text, by the user or by SetText. A mouse press puts the caret at the nearest character
// boundary.

#include <algorithm>
#include <cstdlib>
#include <string>

#include "toolkit/TWinControl.h"

namespace toolkit {

class TLineEdit : public TCustomControl {
public:
    explicit TLineEdit(TComponent* owner);
    ~TLineEdit() override;

    std::string ClassName() const override { return "TLineEdit"; }

    // Caret and selection in code points; the selection runs between the anchor and the caret.
    int CaretPosition() const { return m_caret; }
    void SetCaretPosition(int position);
    int SelStart() const { return std::min(m_anchor, m_caret); }
    int SelLength() const { return std::abs(m_caret - m_anchor); }
    void SelectAll();
    std::string SelText() const;
    // Replaces the selection with text, as typing or pasting does.
    void ReplaceSelection(const std::string& text);
    // Where the text starts in the client area: `left` pixels in (default 1) and `top` pixels
    // down, or centred vertically when top is negative (the default).
    void SetTextMargins(int left, int top);

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    bool DoKeyDown(platform::WORD& key, TShiftState shift) override;
    bool DoKeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    // Called after each change of the text.
    virtual void Change();

    // Where painting starts the text, and the x of a position in client coordinates.
    int TextX(int position) const;
    int PositionAt(int x) const;

private:
    int Length() const;
    int TextTop(int lineHeight) const;
    void MoveCaret(int position, bool extend);
    void ScrollToCaret();
    void UpdateCaret();

    int m_caret = 0;
    int m_anchor = 0;
    int m_scroll = 0; // pixels of text hidden to the left
    int m_marginLeft = 1;
    int m_marginTop = -1;
    bool m_hasCaret = false;
};

} // namespace toolkit
