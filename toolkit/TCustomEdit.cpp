// Editing behaviour of the edit and the memo: text changes, keys, mouse, clipboard, undo and
// the messages. Measuring, scrolling and painting are in TCustomEditView.cpp.

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

constexpr platform::UINT_PTR kAutoScrollTimer = 0x4544;

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

// ---- keys -----------------------------------------------------------------------------------

bool TCustomEdit::DoKeyDown(platform::WORD& key, TShiftState shift) {
    const std::weak_ptr<const bool> alive = LifeToken();
    KeyDown(key, shift);
    return alive.expired() || key == 0;
}

bool TCustomEdit::DoKeyPress(char32_t& key) {
    const std::weak_ptr<const bool> alive = LifeToken();
    KeyPress(key);
    if (alive.expired() || key == 0)
        return true;
    const bool ctrl = CurrentShiftState().Contains(ssCtrl);
    switch (key) {
    case 1:
        SelectAll();
        OfferPrimarySelection();
        break;
    case 3:
        CopyToClipboard();
        break;
    case 8:
        DeleteKey(true, ctrl);
        break;
    case 9:
        if (m_wantTabs && m_buffer.MultiLine())
            UserReplace(U"\t");
        break;
    case 13:
        if (m_wantReturns && m_buffer.MultiLine())
            UserReplace(U"\r\n");
        break;
    case 22:
        PasteFromClipboard();
        break;
    case 24:
        CutToClipboard();
        break;
    case 26:
        Undo();
        break;
    default:
        if (key >= 32 && key != 127) {
            const char32_t c[1] = {key};
            UserReplace(std::u32string_view(c, 1), true);
        }
        break;
    }
    return true;
}

void TCustomEdit::KeyPress(char32_t& key) {
    TCustomControl::DoKeyPress(key);
}

void TCustomEdit::KeyDown(platform::WORD& key, TShiftState shift) {
    using namespace platform;
    if (TCustomControl::DoKeyDown(key, shift))
        return;
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
        MoveCaret(key, shift);
        key = 0;
        break;
    case VK_DELETE:
        if (shift.Contains(ssShift))
            CutToClipboard();
        else
            DeleteKey(false, shift.Contains(ssCtrl));
        key = 0;
        break;
    case VK_INSERT:
        if (shift.Contains(ssShift))
            PasteFromClipboard();
        else if (shift.Contains(ssCtrl))
            CopyToClipboard();
        key = 0;
        break;
    default:
        break;
    }
}

void TCustomEdit::MoveCaret(platform::WORD key, TShiftState shift) {
    using namespace platform;
    const bool extend = shift.Contains(ssShift);
    const bool ctrl = shift.Contains(ssCtrl);
    TTextPos p = m_caret;
    int preferredX = -1;
    // Without Shift, Left and Right first collapse a selection to its edge.
    if (!extend && HasSelection() && (key == VK_LEFT || key == VK_RIGHT) && !ctrl) {
        p = key == VK_LEFT ? SelectionStart() : SelectionEnd();
        SetCaretPos(p);
        return;
    }
    const int lineLen = static_cast<int>(m_buffer.Line(p.line).size());
    switch (key) {
    case VK_LEFT:
        if (ctrl)
            p = m_buffer.WordLeft(p);
        else if (p.col > 0)
            --p.col;
        else if (p.line > 0)
            p = {p.line - 1, static_cast<int>(m_buffer.Line(p.line - 1).size())};
        break;
    case VK_RIGHT:
        if (ctrl)
            p = m_buffer.WordRight(p);
        else if (p.col < lineLen)
            ++p.col;
        else if (p.line + 1 < m_buffer.LineCount())
            p = {p.line + 1, 0};
        break;
    case VK_HOME:
        p = ctrl ? TTextPos{0, 0} : TTextPos{p.line, 0};
        break;
    case VK_END:
        p = ctrl ? m_buffer.End() : TTextPos{p.line, lineLen};
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (ctrl && (key == VK_UP || key == VK_DOWN)) {
            // Ctrl+Up/Down scroll the view a line and leave the caret.
            SetTopLine(m_topLine + (key == VK_UP ? -1 : 1));
            return;
        }
        preferredX = m_preferredX >= 0 ? m_preferredX : ColumnX(p.line, p.col);
        const int page = std::max(1, VisibleLines() - 1);
        int step = key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -page : page;
        const int target = std::clamp(p.line + step, 0, m_buffer.LineCount() - 1);
        if (key == VK_PRIOR || key == VK_NEXT)
            SetTopLine(m_topLine + (target - p.line));
        p = {target, ColumnAtX(target, preferredX)};
        break;
    }
    default:
        return;
    }
    m_caret = m_buffer.Clamp(p);
    if (!extend)
        m_anchor = m_caret;
    m_preferredX = preferredX;
    UpdateView(true);
    if (extend)
        OfferPrimarySelection();
}

// ---- mouse ----------------------------------------------------------------------------------

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const std::weak_ptr<const bool> alive = LifeToken();
    if (button == mbLeft) {
        if (!Focused() && CanFocus())
            SetFocus();
        if (alive.expired())
            return;
        const TTextPos p = PosAtPoint({x, y});
        m_selecting = true;
        m_wordSelecting = false;
        if (shift.Contains(ssDouble)) {
            m_buffer.WordAt(p, m_wordAnchorStart, m_wordAnchorEnd);
            m_wordSelecting = true;
            m_anchor = m_wordAnchorStart;
            m_caret = m_wordAnchorEnd;
            m_preferredX = -1;
            UpdateView(true);
        } else {
            SetCaretPos(p, shift.Contains(ssShift));
        }
    } else if (button == mbMiddle) {
        PastePrimarySelection({x, y});
        if (alive.expired())
            return;
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
    if (m_selecting && ControlState().Contains(csLButtonDown)) {
        m_dragPoint = {x, y};
        DragSelectTo(m_dragPoint);
        const bool outside = !TextRect().Contains(m_dragPoint);
        if (outside && !m_autoScrolling && HandleAllocated()) {
            m_autoScrolling = true;
            platform::SetTimer(HandleIfAllocated(), kAutoScrollTimer, kAutoScrollMs);
        } else if (!outside) {
            StopAutoScroll();
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomEdit::DragSelectTo(platform::Point client) {
    // Outside the view the selection stops at its edge; the timer scrolls on from there.
    const platform::Rect tr = TextRect();
    const int lastY = tr.top + std::max(VisibleLines() * LineHeight(), 1) - 1;
    client.x = std::clamp(client.x, tr.left, std::max(tr.right - 1, tr.left));
    client.y = std::clamp(client.y, tr.top, std::max(lastY, tr.top));
    {
        const TTextPos p = PosAtPoint(client);
        if (m_wordSelecting) {
            TTextPos ws, we;
            m_buffer.WordAt(p, ws, we);
            if (p < m_wordAnchorStart) {
                m_anchor = m_wordAnchorEnd;
                m_caret = ws;
            } else {
                m_anchor = m_wordAnchorStart;
                m_caret = std::max(we, m_wordAnchorEnd);
            }
            m_preferredX = -1;
            UpdateView(true);
        } else if (p != m_caret) {
            SetCaretPos(p, true);
        }
    }
}

void TCustomEdit::AutoScrollTick() {
    if (!m_selecting || !MouseCapture()) {
        StopAutoScroll();
        return;
    }
    const platform::Rect tr = TextRect();
    const platform::Point p = m_dragPoint;
    if (p.y < tr.top)
        SetTopLine(m_topLine - 1);
    else if (p.y >= tr.bottom)
        SetTopLine(m_topLine + 1);
    const int step = std::max(1, LineHeight() / 2);
    if (p.x < tr.left)
        SetHorzScroll(m_scrollX - step);
    else if (p.x >= tr.right)
        SetHorzScroll(m_scrollX + step);
    DragSelectTo(p);
}

void TCustomEdit::StopAutoScroll() {
    if (!m_autoScrolling)
        return;
    m_autoScrolling = false;
    if (HandleAllocated())
        platform::KillTimer(HandleIfAllocated(), kAutoScrollTimer);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (std::exchange(m_selecting, false))
            OfferPrimarySelection();
        m_wordSelecting = false;
        StopAutoScroll();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

// ---- messages -------------------------------------------------------------------------------

void TCustomEdit::CaretNeeded() {
    if (!HandleAllocated())
        return;
    if (m_hasCaret)
        platform::DestroyCaret();
    m_hasCaret = platform::CreateCaret(HandleIfAllocated(), 1, LineHeight());
    UpdateCaret();
    platform::ShowCaret(HandleIfAllocated());
}

void TCustomEdit::FontChanged() {
    // A new colour keeps the face, and every width stays right: a long text is not measured
    // again for it (skin changes recolour the text).
    if (!m_font || Font().Handle() != m_font) {
        m_font.reset();
        m_buffer.ForgetWidths();
        m_maxWidthDirty = true;
        if (m_hasCaret && Focused())
            CaretNeeded();
    }
    UpdateView(true);
    // The new size shows at once, not at the next turn of the message loop.
    if (HandleAllocated())
        Update();
}

void TCustomEdit::HandleScroll(int bar, int code) {
    using namespace platform;
    const bool vertical = bar == SB_VERT;
    const int line = vertical ? 1 : std::max(1, LineHeight() / 2);
    const int page = vertical ? std::max(1, VisibleLines() - 1) : std::max(1, TextRect().Width());
    const int pos = vertical ? m_topLine : m_scrollX;
    int next = pos;
    switch (code) {
    case SB_LINEUP:
        next = pos - line;
        break;
    case SB_LINEDOWN:
        next = pos + line;
        break;
    case SB_PAGEUP:
        next = pos - page;
        break;
    case SB_PAGEDOWN:
        next = pos + page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        if (HandleAllocated() && GetScrollInfo(HandleIfAllocated(), bar, si))
            next = si.nTrackPos;
        break;
    }
    case SB_TOP:
        next = 0;
        break;
    case SB_BOTTOM:
        next = vertical ? m_buffer.LineCount() : ContentWidth();
        break;
    default:
        return;
    }
    if (vertical)
        SetTopLine(next);
    else
        SetHorzScroll(next);
}

void TCustomEdit::HandleWheel(int delta) {
    // Three lines a notch; parts of a notch (fine wheels) add up.
    m_wheelRest += delta;
    const int notches = m_wheelRest / 120;
    m_wheelRest -= notches * 120;
    if (notches != 0)
        SetTopLine(m_topLine - notches * 3);
}

void TCustomEdit::WndProc(TMessage& m) {
    using namespace platform;
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
        if (m_wantReturns)
            m.Result |= DLGC_WANTALLKEYS;
        if (m_wantTabs)
            m.Result |= DLGC_WANTTAB;
        return;
    case WM_ERASEBKGND:
        // Paint covers the whole client area.
        m.Result = 1;
        return;
    case WM_SETFOCUS:
        TCustomControl::WndProc(m);
        CaretNeeded();
        Invalidate();
        return;
    case WM_KILLFOCUS:
        TCustomControl::WndProc(m);
        if (m_hasCaret) {
            platform::DestroyCaret();
            m_hasCaret = false;
        }
        m_selecting = false;
        StopAutoScroll();
        Invalidate();
        return;
    case WM_TIMER:
        if (m.WParam == kAutoScrollTimer) {
            AutoScrollTick();
            return;
        }
        break;
    case WM_CAPTURECHANGED:
        StopAutoScroll();
        break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        TCustomControl::WndProc(m);
        UpdateView(false);
        return;
    case toolkit::EM_SCROLLCARET:
        UpdateView(true);
        m.Result = 1;
        return;
    case WM_VSCROLL:
    case WM_HSCROLL:
        HandleScroll(m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(m.WParam));
        m.Result = 0;
        return;
    case WM_MOUSEWHEEL:
        if (m_buffer.MultiLine()) {
            HandleWheel(GET_WHEEL_DELTA_WPARAM(m.WParam));
            m.Result = 0;
            return;
        }
        break;
    case WM_SETTEXT:
        SetText(m.LParam ? reinterpret_cast<const char*>(m.LParam) : "");
        m.Result = 1;
        return;
    case WM_GETTEXT: {
        // The text lives here, not in the window's record (the memo's can be large).
        auto* out = reinterpret_cast<std::string*>(m.LParam);
        if (out) {
            *out = Text();
            if (m.WParam && out->size() > m.WParam)
                out->resize(m.WParam);
        }
        m.Result = out ? static_cast<LRESULT>(out->size()) : 0;
        return;
    }
    case WM_GETTEXTLENGTH:
        m.Result = static_cast<LRESULT>(Text().size());
        return;
    case WM_CUT:
        CutToClipboard();
        return;
    case WM_COPY:
        CopyToClipboard();
        return;
    case WM_PASTE:
        PasteFromClipboard();
        return;
    case WM_CLEAR:
        ClearSelection();
        return;
    case WM_UNDO:
        m.Result = CanUndo();
        Undo();
        return;
    case CM_FONTCHANGED:
        TCustomControl::WndProc(m);
        FontChanged();
        return;
    case CM_ENTER:
        if (m_autoSelect && !ControlState().Contains(csLButtonDown))
            SelectAll();
        break;
    case CM_TEXTCHANGED:
        TCustomControl::WndProc(m);
        if (m_textSetPending) {
            m_textSetPending = false;
            Change();
        }
        return;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

} // namespace toolkit
