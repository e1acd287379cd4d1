// Keyboard and mouse of the edit and the memo: typing, caret keys, shortcuts, selecting with the
// mouse and scrolling while a drag holds the pointer outside the text.

#include "toolkit/TCustomEdit.h"

#include <algorithm>
#include <utility>

#include "platform/win/Message.h"

namespace toolkit {

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

} // namespace toolkit
