// Editing behaviour of the edit and the memo: text changes, selection, clipboard, undo, options
// and the program's line operations. Keys and mouse are in TCustomEditInput.cpp, the messages in
// TCustomEditMessages.cpp, measuring, scrolling and painting in TCustomEditView.cpp.

#include "toolkit/TCustomEdit.h"

#include <algorithm>
#include <utility>

#include "platform/gfx/text/Utf8.h"
#include "platform/win/Caret.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/ScrollBar.h"

namespace toolkit {

namespace {

// Where a text inserted at start ends, for text whose breaks are CR LF (as the buffer gives
// them back).
TTextPos EndOf(TTextPos start, std::u32string_view text) {
    TTextPos p = start;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            ++p.line;
            p.col = 0;
            ++i;
        } else {
            ++p.col;
        }
    }
    return p;
}

// Characters of text once the buffer has taken it (breaks as two, a single line cut at its
// first break).
std::int64_t InsertedLength(std::u32string_view text, bool multiLine) {
    std::int64_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' || c == U'\n') {
            if (!multiLine)
                return n;
            if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                ++i;
            n += 2;
        } else {
            ++n;
        }
    }
    return n;
}

// The longest prefix of text that brings in at most room characters, never splitting a line
// break.
std::u32string_view CutToRoom(std::u32string_view text, std::int64_t room) {
    std::int64_t n = 0;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char32_t c = text[i];
        const bool brk = c == U'\r' || c == U'\n';
        const std::int64_t cost = brk ? 2 : 1;
        if (n + cost > room)
            break;
        n += cost;
        if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
            ++i;
    }
    return text.substr(0, i);
}

} // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomEdit(owner, false) {}

TCustomEdit::TCustomEdit(TComponent* owner, bool multiLine)
    : TCustomControl(owner), m_buffer(multiLine) {
    // An edit shows what is typed, never its own name.
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomEdit::~TCustomEdit() {
    if (m_hasCaret)
        platform::DestroyCaret();
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    if (m_borderStyle == TFormBorderStyle::bsSingle)
        p.ExStyle |= platform::WS_EX_CLIENTEDGE;
    if (m_scrollBars == ssVertical || m_scrollBars == ssBoth)
        p.Style |= platform::WS_VSCROLL;
    if (m_scrollBars == ssHorizontal || m_scrollBars == ssBoth)
        p.Style |= platform::WS_HSCROLL;
    p.ClassCursor = platform::Cursor::IBeam;
}

// ---- text -----------------------------------------------------------------------------------

std::string TCustomEdit::Text() const {
    return platform::Utf32ToUtf8(m_buffer.Text());
}

void TCustomEdit::ApplyText() {
    // TControl::SetText has checked that the text differs and stored it.
    m_buffer.SetText(platform::Utf8ToUtf32(TControl::Text()));
    m_caret = m_anchor = {0, 0};
    m_topLine = 0;
    m_scrollX = 0;
    m_undo = {};
    m_maxWidthDirty = true;
    UpdateView(true);
    // OnChange runs from CM_TEXTCHANGED, the last thing SetText does, so that a handler may
    // even free the edit.
    m_textSetPending = true;
}

void TCustomEdit::Change() {
    m_modified = true;
    Fire(OnChange, this);
}

int TCustomEdit::SelStart() const {
    return static_cast<int>(std::min<std::int64_t>(m_buffer.Offset(SelectionStart()), INT32_MAX));
}

int TCustomEdit::SelLength() const {
    const std::int64_t n = m_buffer.Offset(SelectionEnd()) - m_buffer.Offset(SelectionStart());
    return static_cast<int>(std::min<std::int64_t>(n, INT32_MAX));
}

void TCustomEdit::SetSelStart(int start) {
    SetCaretPos(m_buffer.PosOf(start));
}

void TCustomEdit::SetSelLength(int length) {
    const std::int64_t start = m_buffer.Offset(SelectionStart());
    m_anchor = m_buffer.PosOf(start);
    m_caret = m_buffer.PosOf(start + std::max(length, 0));
    m_preferredX = -1;
    UpdateView(true);
}

std::string TCustomEdit::SelText() const {
    return platform::Utf32ToUtf8(m_buffer.Range(m_anchor, m_caret));
}

void TCustomEdit::SetSelText(const std::string& text) {
    const std::u32string t = platform::Utf8ToUtf32(text);
    if (!HasSelection() && t.empty())
        return;
    Replace(SelectionStart(), SelectionEnd(), t);
}

void TCustomEdit::SelectAll() {
    m_anchor = {0, 0};
    m_caret = m_buffer.End();
    m_preferredX = -1;
    UpdateView(true);
}

void TCustomEdit::ClearSelection() {
    if (HasSelection())
        UserReplace(U"");
}

void TCustomEdit::SetCaretPos(TTextPos pos, bool extend) {
    m_caret = m_buffer.Clamp(pos);
    if (!extend)
        m_anchor = m_caret;
    m_preferredX = -1;
    UpdateView(true);
}

// Puts text in place of a..b, keeping the undo step, and tells about the change.
bool TCustomEdit::Replace(TTextPos a, TTextPos b, std::u32string_view text, bool typing) {
    a = m_buffer.Clamp(a);
    b = m_buffer.Clamp(b);
    if (b < a)
        std::swap(a, b);
    std::u32string removed = m_buffer.Range(a, b);
    NoteWidthBefore(a.line, b.line);
    m_buffer.Erase(a, b);
    const TTextPos end = m_buffer.Insert(a, text);
    RemeasureLines(a.line, end.line);
    std::u32string inserted = m_buffer.Range(a, end);
    if (removed == inserted) {
        // Nothing changed after all (a paste of the selected text itself).
        m_anchor = m_caret = end;
        UpdateView(true);
        return false;
    }
    m_undo = UndoStep{true, typing, a, std::move(removed), std::move(inserted)};
    m_anchor = m_caret = end;
    m_preferredX = -1;
    UpdateView(true);
    Change();
    return true;
}

bool TCustomEdit::UserReplace(std::u32string_view text, bool typing) {
    if (!CanEdit())
        return false;
    const TTextPos a = SelectionStart(), b = SelectionEnd();
    if (m_maxLength > 0) {
        const std::int64_t selected = m_buffer.Offset(b) - m_buffer.Offset(a);
        const std::int64_t room = m_maxLength - (m_buffer.Length() - selected);
        if (InsertedLength(text, m_buffer.MultiLine()) > room)
            text = CutToRoom(text, std::max<std::int64_t>(room, 0));
    }
    if (text.empty() && a == b)
        return false;
    // Typing on from where the last typed character went extends that undo step.
    if (typing && a == b && m_undo.valid && m_undo.typing &&
        EndOf(m_undo.start, m_undo.inserted) == a) {
        UndoStep keep = m_undo;
        m_buffer.Insert(a, text);
        RemeasureLines(a.line, a.line);
        keep.inserted += text;
        m_undo = keep;
        m_anchor = m_caret = {a.line, a.col + static_cast<int>(text.size())};
        m_preferredX = -1;
        UpdateView(true);
        Change();
        return true;
    }
    return Replace(a, b, text, typing);
}

void TCustomEdit::DeleteKey(bool backward, bool word) {
    if (!CanEdit())
        return;
    if (!HasSelection()) {
        const TTextPos from = m_caret;
        TTextPos to = from;
        if (backward) {
            if (word)
                to = m_buffer.WordLeft(from);
            else if (from.col > 0)
                to = {from.line, from.col - 1};
            else if (from.line > 0)
                to = {from.line - 1, static_cast<int>(m_buffer.Line(from.line - 1).size())};
        } else {
            const int len = static_cast<int>(m_buffer.Line(from.line).size());
            if (word)
                to = m_buffer.WordRight(from);
            else if (from.col < len)
                to = {from.line, from.col + 1};
            else if (from.line + 1 < m_buffer.LineCount())
                to = {from.line + 1, 0};
        }
        if (to == from)
            return;
        m_anchor = to;
    }
    UserReplace(U"");
}

// ---- clipboard and undo ---------------------------------------------------------------------

void TCustomEdit::CopyToClipboard() {
    // A password stays in the edit.
    if (HasSelection() && !m_passwordChar)
        platform::SetClipboardText(SelText());
}

void TCustomEdit::CutToClipboard() {
    if (!HasSelection() || !CanEdit() || m_passwordChar)
        return;
    platform::SetClipboardText(SelText());
    UserReplace(U"");
}

void TCustomEdit::PasteFromClipboard() {
    const std::u32string text = platform::Utf8ToUtf32(platform::GetClipboardText());
    if (!text.empty() || HasSelection())
        UserReplace(text);
}

void TCustomEdit::Undo() {
    if (!m_undo.valid || !CanEdit())
        return;
    UndoStep step = m_undo;
    const TTextPos end = EndOf(step.start, step.inserted);
    NoteWidthBefore(step.start.line, end.line);
    m_buffer.Erase(step.start, end);
    const TTextPos back = m_buffer.Insert(step.start, step.removed);
    RemeasureLines(step.start.line, back.line);
    std::swap(step.removed, step.inserted);
    step.typing = false;
    m_undo = step;
    m_anchor = step.start;
    m_caret = back;
    m_preferredX = -1;
    UpdateView(true);
    Change();
}

// ---- options --------------------------------------------------------------------------------

void TCustomEdit::SetPasswordChar(char32_t c) {
    if (c == m_passwordChar)
        return;
    m_passwordChar = c;
    m_buffer.ForgetWidths();
    m_maxWidthDirty = true;
    UpdateView(true);
}

void TCustomEdit::SetHideSelection(bool on) {
    if (on != m_hideSelection) {
        m_hideSelection = on;
        Invalidate();
    }
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle style) {
    if (style != TFormBorderStyle::bsNone)
        style = TFormBorderStyle::bsSingle;
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomEdit::SetScrollBarsStyle(TScrollStyle style) {
    if (style == m_scrollBars)
        return;
    m_scrollBars = style;
    if (HandleAllocated())
        RecreateWnd();
}

// ---- program-side line operations ------------------------------------------------------------

void TCustomEdit::ProgramAppendLine(std::u32string_view text) {
    // The list view keeps the text ending in a break: the new line goes in place of the empty
    // last line, and a new empty line follows it.
    const int last = m_buffer.LineCount() - 1;
    if (m_buffer.Line(last).empty() && m_buffer.MultiLine()) {
        m_buffer.ReplaceLine(last, text);
        m_buffer.AppendLine(U"");
    } else {
        m_buffer.AppendLine(text);
        m_buffer.AppendLine(U"");
    }
    RemeasureLines(last, m_buffer.LineCount() - 1);
    m_undo = {};
    m_caret = m_buffer.Clamp(m_caret);
    m_anchor = m_buffer.Clamp(m_anchor);
    UpdateView(false);
    Change();
}

void TCustomEdit::ProgramReplaceLine(int index, std::u32string_view text) {
    if (m_buffer.Line(index) == text)
        return;
    NoteWidthBefore(index, index);
    m_buffer.ReplaceLine(index, text);
    RemeasureLines(index, index);
    m_undo = {};
    m_caret = m_buffer.Clamp(m_caret);
    m_anchor = m_buffer.Clamp(m_anchor);
    UpdateView(false);
    Change();
}

void TCustomEdit::ProgramInsertLine(int index, std::u32string_view text) {
    std::u32string withBreak(text);
    withBreak += U"\r\n";
    m_buffer.Insert({index, 0}, withBreak);
    RemeasureLines(index, index + 1);
    m_undo = {};
    if (m_caret.line >= index)
        ++m_caret.line;
    if (m_anchor.line >= index)
        ++m_anchor.line;
    m_caret = m_buffer.Clamp(m_caret);
    m_anchor = m_buffer.Clamp(m_anchor);
    UpdateView(false);
    Change();
}

void TCustomEdit::ProgramDeleteLine(int index) {
    NoteWidthBefore(index, index);
    m_buffer.Erase({index, 0}, {index + 1, 0});
    RemeasureLines(index, index);
    m_undo = {};
    auto shift = [&](TTextPos& p) {
        if (p.line > index)
            --p.line;
        else if (p.line == index)
            p.col = 0;
        p = m_buffer.Clamp(p);
    };
    shift(m_caret);
    shift(m_anchor);
    UpdateView(false);
    Change();
}

void TCustomEdit::ProgramClear() {
    SetText("");
}

} // namespace toolkit
