// The messages of the edit and the memo: focus and caret, font changes, scroll bars and the
// wheel, and the text, clipboard and undo requests other windows send.

#include "toolkit/TCustomEdit.h"

#include <algorithm>

#include "platform/win/Caret.h"
#include "platform/win/Message.h"
#include "platform/win/ScrollBar.h"

namespace toolkit {

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
