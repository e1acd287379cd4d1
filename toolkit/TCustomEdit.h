#pragma once
// Text editing controls in the plain look: TCustomEdit holds the whole editing behaviour for one
// line (TEdit) and, with a multi-line buffer, for the memo (toolkit/TMemo.h), which adds only
// its line list, Enter and scroll-bar choice on top.
//
// Text is UTF-8 at the interface; positions (SelStart, SelLength, MaxLength) count code points,
// a line break counting two (CR LF). Text read back joins lines with CR LF.
//
// Keys (when focused): arrows, Home/End (Ctrl: whole text), Ctrl+Left/Right by words, Page
// Up/Down, Shift with any of them extends the selection; Backspace/Delete (Ctrl: a word);
// Ctrl+C/Ctrl+Ins copy, Ctrl+X/Shift+Del cut, Ctrl+V/Shift+Ins paste, Ctrl+Z undo, Ctrl+A
// select all. Mouse: press places the caret (Shift extends), drag selects, double click selects
// a word; a middle click pastes the desktop's primary selection there. Typing replaces the
// selection. While a drag holds the pointer outside the text area, a timer (kAutoScrollMs) scrolls
// the view one line (up or down) and half a line height (left or right) a tick towards the pointer,
// the selection following the edge of the view; back inside, on release or on losing the capture it
// stops.
//
// Every typed character first passes KeyPress (a virtual filter, which also runs OnKeyPress):
// a filter that sets the key to 0 drops it. Backspace and the Ctrl+letter clipboard commands
// come through it as control characters (8, 3, 22, 24, 26, 1), as they do on the platform.
// A selection the user makes (by mouse, by Shift with the keys, by Ctrl+A) becomes the desktop's
// primary selection, except in a password edit.
// Clipboard and undo work goes through the virtual CopyToClipboard / CutToClipboard /
// PasteFromClipboard / Undo, which the WM_COPY / WM_CUT / WM_PASTE / WM_CLEAR / WM_UNDO
// messages also reach, so a derived control can gate them in one place.
//
// OnChange runs exactly when the text changes, whatever the cause (typing, deleting, cut,
// paste, undo, SetText to a different text, SelText), once per change, after the change is
// complete and the caret placed. Setting the same text changes nothing and tells nobody. A
// handler may change the text again (a nested change) or destroy the control.
//
// ReadOnly blocks every change by the user (copy still works); the program may still set the
// text. MaxLength (0: none) limits what typing and pasting can bring in: a paste is cut to what
// fits; the program's SetText is not limited. A single-line edit takes only the first line of
// pasted text.
//
// Undo keeps one step: the last change (consecutive typed characters count as one). Undoing
// turns the step into its own reverse, so a second Undo redoes.
//
// Look: a sunken client edge (BorderStyle bsSingle, the default), background Color, text in
// Font, selection in the highlight colours while focused (or always with HideSelection
// false), grey text when disabled. Lines never wrap; the view scrolls so the caret stays
// visible. The painting is split into virtual pieces (PaintBackground, PaintLine) and the
// state is readable (CaretPos, selection, scroll offsets, LineHeight, TextRect) so a skinned
// control can repaint without changing behaviour.

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/TEditBuffer.h"
#include "toolkit/TForm.h"
#include "toolkit/TWinControl.h"

namespace platform {
class Font;
}

namespace toolkit {

// The platform's edit commands (platform/win/WinDefs.h), also by their toolkit names.
using platform::WM_CLEAR;
using platform::WM_COPY;
using platform::WM_CUT;
using platform::WM_PASTE;
using platform::WM_UNDO;
// Asks the edit to scroll its caret into view.
inline constexpr platform::UINT EM_SCROLLCARET = 0x00B7;

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;

class TCustomEdit : public TCustomControl {
public:
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    std::string ClassName() const override { return "TCustomEdit"; }

    // ---- text and selection ----
    std::string Text() const override;
    std::int64_t TextLength() const { return m_buffer.Length(); }
    int SelStart() const;
    void SetSelStart(int start); // collapses the selection there
    int SelLength() const;
    void SetSelLength(int length); // from SelStart; negative or too long is cut to the text
    std::string SelText() const;
    void SetSelText(const std::string& text); // replaces the selection (ReadOnly or not)
    void SelectAll();
    void ClearSelection(); // deletes the selected text (not when ReadOnly)

    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    bool CanUndo() const { return m_undo.valid; }
    virtual void Undo();
    void ClearUndo() { m_undo = {}; }

    // ---- options ----
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length) { m_maxLength = length < 0 ? 0 : length; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool on) { m_readOnly = on; }
    char32_t PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(char32_t c);
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool on);
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle style); // bsNone or bsSingle
    // Entering the edit by keyboard (not by a click) selects all of its text.
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool on) { m_autoSelect = on; }
    bool Modified() const { return m_modified; }
    void SetModified(bool on) { m_modified = on; }

    // ---- state for painting and for derived controls ----
    const TEditBuffer& Buffer() const { return m_buffer; }
    TTextPos CaretPos() const { return m_caret; }
    // Moves the caret; extend keeps the other end of the selection where it is.
    void SetCaretPos(TTextPos pos, bool extend = false);
    bool HasSelection() const { return m_caret != m_anchor; }
    TTextPos SelectionStart() const { return std::min(m_caret, m_anchor); }
    TTextPos SelectionEnd() const { return std::max(m_caret, m_anchor); }
    // Whether the selection is drawn now (focused, or HideSelection off).
    bool SelectionShown() const;
    int TopLine() const { return m_topLine; }
    void SetTopLine(int line);
    int HorzScroll() const { return m_scrollX; } // pixels of text scrolled out on the left
    void SetHorzScroll(int x);
    int LineHeight() const;
    // Lines that fit whole in the text area (at least 1).
    int VisibleLines() const;
    // The client area the text is drawn in: the format rectangle when one is set, else the
    // client rectangle less small margins; always inside the client rectangle.
    platform::Rect TextRect() const;
    // Lays the text out in r (client coordinates) from now on; an empty r goes back to the
    // client rectangle less the margins.
    void SetFormatRect(const platform::Rect& r);
    // Widest line in pixels (as displayed).
    int ContentWidth() const;
    // Text-space x of a column (0 at the line's start, before scrolling).
    int ColumnX(int line, int col) const;
    // The position nearest to a client point.
    TTextPos PosAtPoint(platform::Point client) const;
    // The client point of a position's top left (caret) corner.
    platform::Point PointOfPos(TTextPos pos) const;
    // The font the text is measured and drawn with.
    std::shared_ptr<platform::Font> TextFont() const;

    void WndProc(TMessage& message) override;

    static constexpr unsigned kAutoScrollMs = 50;
    // The timer that drives that scrolling.
    static constexpr platform::UINT_PTR kAutoScrollTimer = 0x4544;
    // A drag is scrolling the view by the timer now.
    bool AutoScrolling() const { return m_autoScrolling; }

    TNotifyEvent OnChange;

protected:
    TCustomEdit(TComponent* owner, bool multiLine);

    void CreateParams(TCreateParams& params) override;
    void ApplyText() override;
    bool DoKeyDown(platform::WORD& key, TShiftState shift) override;
    bool DoKeyPress(char32_t& key) override;
    // The editing keys; runs OnKeyDown first. Set key to 0 to use it up before the edit sees it.
    virtual void KeyDown(platform::WORD& key, TShiftState shift);
    // The character filter; runs OnKeyPress. Set key to 0 to drop the character.
    virtual void KeyPress(char32_t& key);
    // The text has changed: runs OnChange.
    virtual void Change();

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    void Paint() override;
    virtual void PaintBackground(platform::DeviceContext& dc, const platform::Rect& client);
    // One line with its top at y (client coordinates), selection columns selA..selB (equal:
    // none on this line).
    virtual void PaintLine(platform::DeviceContext& dc, int line, int y, int selA, int selB);

    // Replaces the selection with text as a user edit: honours ReadOnly and MaxLength, keeps
    // the undo step and runs Change. Answers whether the text changed.
    bool UserReplace(std::u32string_view text, bool typing = false);
    // Whether the user may change the text now.
    virtual bool CanEdit() const { return !m_readOnly; }

    TScrollStyle ScrollBarsStyle() const { return m_scrollBars; }
    void SetScrollBarsStyle(TScrollStyle style);
    bool WantReturnsKey() const { return m_wantReturns; }
    void SetWantReturnsKey(bool on) { m_wantReturns = on; }
    bool WantTabsKey() const { return m_wantTabs; }
    void SetWantTabsKey(bool on) { m_wantTabs = on; }

    // Program-side line operations for the memo's line list (no undo; Change runs).
    void ProgramAppendLine(std::u32string_view text);
    void ProgramReplaceLine(int index, std::u32string_view text);
    void ProgramInsertLine(int index, std::u32string_view text);
    void ProgramDeleteLine(int index);
    void ProgramClear();

    // After any change of text, caret, size or font: keeps the view and scroll bars right.
    void UpdateView(bool followCaret);
    // The standard scroll bars have just been given a new range, page or position (a skinned
    // control redraws its own bars from them).
    virtual void ScrollBarsChanged() {}
    // Whether a bar with nothing to scroll stays shown, disabled (the plain look), or goes away
    // and gives its room to the text.
    virtual bool KeepsIdleScrollBars() const { return true; }
    // Tells the bars everything again (after KeepsIdleScrollBars changes its answer).
    void RefreshScrollBars();

private:
    struct UndoStep {
        bool valid = false;
        bool typing = false;
        TTextPos start;
        std::u32string removed;
        std::u32string inserted;
    };

    // ---- editing (TCustomEdit.cpp) ----
    // Answers whether the text changed (Change has run then).
    bool Replace(TTextPos a, TTextPos b, std::u32string_view text, bool typing = false);
    void DeleteKey(bool backward, bool word);

    // ---- keys and mouse (TCustomEditInput.cpp) ----
    void MoveCaret(platform::WORD key, TShiftState shift);
    // The drag selection to a client point, held inside the whole lines of the text area.
    void DragSelectTo(platform::Point client);
    void AutoScrollTick();
    void StopAutoScroll();

    // ---- messages (TCustomEditMessages.cpp) ----
    void HandleScroll(int bar, int code);
    void HandleWheel(int delta);
    void FontChanged();
    void CaretNeeded();

    // ---- the primary selection (TCustomEditPrimary.cpp) ----
    void OfferPrimarySelection() const;
    void PastePrimarySelection(platform::Point client);

    // ---- measuring and view (TCustomEditView.cpp) ----
    int CharWidth(char32_t c, int x) const;
    char32_t Shown(char32_t c) const { return m_passwordChar ? m_passwordChar : c; }
    int MeasureLine(int line) const;
    void NoteWidthBefore(int firstLine, int lastLine);
    void RemeasureLines(int firstLine, int lastLine);
    void ClampScroll();
    void FollowCaret();
    void UpdateScrollBars();
    void UpdateCaret();
    int ColumnAtX(int line, int x) const;

    TEditBuffer m_buffer;
    TTextPos m_caret;
    TTextPos m_anchor;
    int m_preferredX = -1; // the column x Up/Down keep to; -1: take the caret's
    int m_topLine = 0;
    int m_scrollX = 0;
    int m_wheelRest = 0;
    mutable int m_maxWidth = 0;
    mutable bool m_maxWidthDirty = true;
    mutable std::shared_ptr<platform::Font> m_font;
    UndoStep m_undo;
    bool m_readOnly = false;
    bool m_modified = false;
    bool m_hideSelection = true;
    bool m_selecting = false;
    bool m_wordSelecting = false;
    bool m_autoScrolling = false;
    bool m_resendBars = false;
    platform::Point m_dragPoint; // client, the last pointer position of a drag
    TTextPos m_wordAnchorStart, m_wordAnchorEnd;
    bool m_hasCaret = false;
    bool m_autoSelect = true;
    bool m_textSetPending = false;
    bool m_wantReturns = false;
    bool m_wantTabs = false;
    int m_maxLength = 0;
    char32_t m_passwordChar = 0;
    platform::Rect m_formatRect;
    TFormBorderStyle m_borderStyle = TFormBorderStyle::bsSingle;
    TScrollStyle m_scrollBars = TScrollStyle::ssNone;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    std::string ClassName() const override { return "TEdit"; }
};

} // namespace toolkit
