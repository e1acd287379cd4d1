// Measuring, scrolling and painting of the edit and the memo. Only the lines in view are
// measured for painting; widths of whole lines are kept in the buffer and measured again only
// for lines that changed (or all of them after a font change), so the widest line, which the
// horizontal scroll range needs, costs nothing per keystroke.

#include <algorithm>

#include "platform/gfx/text/Font.h"
#include "platform/gfx/text/TextDraw.h"
#include "platform/gfx/text/Utf8.h"
#include "platform/win/Caret.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBar.h"
#include "toolkit/TCustomEdit.h"

namespace toolkit {

namespace {

constexpr int kMarginX = 2;
constexpr int kMarginY = 1;
constexpr int kCaretWidth = 1;
constexpr int kTabChars = 8;

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

std::shared_ptr<platform::Font> TCustomEdit::TextFont() const {
    if (!m_font)
        m_font = Font().Handle();
    return m_font;
}

int TCustomEdit::LineHeight() const {
    return std::max(1, TextFont()->Metrics().tmHeight);
}

void TCustomEdit::SetFormatRect(const platform::Rect& r) {
    m_formatRect = r;
    UpdateView(true);
}

platform::Rect TCustomEdit::TextRect() const {
    const platform::Rect c = ClientRect();
    platform::Rect r{c.left + kMarginX, c.top + kMarginY, c.right - kMarginX, c.bottom};
    if (m_formatRect.right > m_formatRect.left && m_formatRect.bottom > m_formatRect.top)
        r = {std::max(m_formatRect.left, c.left), std::max(m_formatRect.top, c.top),
             std::min(m_formatRect.right, c.right), std::min(m_formatRect.bottom, c.bottom)};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

int TCustomEdit::VisibleLines() const {
    return std::max(1, TextRect().Height() / LineHeight());
}

int TCustomEdit::CharWidth(char32_t c, int x) const {
    const platform::Font& f = *TextFont();
    if (c == U'\t' && !m_passwordChar) {
        const int tab = std::max(1, f.Metrics().tmAveCharWidth * kTabChars);
        return (x / tab + 1) * tab - x;
    }
    return f.Advance(Shown(c));
}

int TCustomEdit::MeasureLine(int line) const {
    int w = m_buffer.Width(line);
    if (w != TEditBuffer::kUnmeasured)
        return w;
    w = 0;
    for (char32_t c : m_buffer.Line(line))
        w += CharWidth(c, w);
    const_cast<TEditBuffer&>(m_buffer).SetWidth(line, w);
    return w;
}

void TCustomEdit::NoteWidthBefore(int firstLine, int lastLine) {
    if (m_maxWidthDirty)
        return;
    lastLine = std::min(lastLine, m_buffer.LineCount() - 1);
    for (int i = std::max(firstLine, 0); i <= lastLine; ++i)
        if (m_buffer.Width(i) == TEditBuffer::kUnmeasured || m_buffer.Width(i) >= m_maxWidth) {
            // The widest line may be going: find the widest again when next asked.
            m_maxWidthDirty = true;
            return;
        }
}

void TCustomEdit::RemeasureLines(int firstLine, int lastLine) {
    if (m_maxWidthDirty)
        return;
    lastLine = std::min(lastLine, m_buffer.LineCount() - 1);
    for (int i = std::max(firstLine, 0); i <= lastLine; ++i)
        m_maxWidth = std::max(m_maxWidth, MeasureLine(i));
}

int TCustomEdit::ContentWidth() const {
    if (m_maxWidthDirty) {
        int w = 0;
        for (int i = 0; i < m_buffer.LineCount(); ++i)
            w = std::max(w, MeasureLine(i));
        m_maxWidth = w;
        m_maxWidthDirty = false;
    }
    return m_maxWidth;
}

int TCustomEdit::ColumnX(int line, int col) const {
    const std::u32string& s = m_buffer.Line(line);
    const int n = std::clamp(col, 0, static_cast<int>(s.size()));
    int x = 0;
    for (int i = 0; i < n; ++i)
        x += CharWidth(s[i], x);
    return x;
}

int TCustomEdit::ColumnAtX(int line, int x) const {
    const std::u32string& s = m_buffer.Line(line);
    int cur = 0;
    for (int i = 0; i < static_cast<int>(s.size()); ++i) {
        const int w = CharWidth(s[i], cur);
        if (x < cur + (w + 1) / 2)
            return i;
        cur += w;
    }
    return static_cast<int>(s.size());
}

TTextPos TCustomEdit::PosAtPoint(platform::Point client) const {
    const platform::Rect tr = TextRect();
    const int line = std::clamp(m_topLine + FloorDiv(client.y - tr.top, LineHeight()), 0,
                                m_buffer.LineCount() - 1);
    return {line, ColumnAtX(line, client.x - tr.left + m_scrollX)};
}

platform::Point TCustomEdit::PointOfPos(TTextPos pos) const {
    pos = m_buffer.Clamp(pos);
    const platform::Rect tr = TextRect();
    return {tr.left + ColumnX(pos.line, pos.col) - m_scrollX,
            tr.top + (pos.line - m_topLine) * LineHeight()};
}

bool TCustomEdit::SelectionShown() const {
    return HasSelection() && (!m_hideSelection || const_cast<TCustomEdit*>(this)->Focused());
}

// ---- scrolling ------------------------------------------------------------------------------

void TCustomEdit::SetTopLine(int line) {
    const int old = m_topLine;
    m_topLine = line;
    ClampScroll();
    if (m_topLine != old) {
        UpdateScrollBars();
        UpdateCaret();
        Invalidate();
    }
}

void TCustomEdit::SetHorzScroll(int x) {
    const int old = m_scrollX;
    m_scrollX = x;
    ClampScroll();
    if (m_scrollX != old) {
        UpdateScrollBars();
        UpdateCaret();
        Invalidate();
    }
}

void TCustomEdit::ClampScroll() {
    const int maxTop = std::max(0, m_buffer.LineCount() - VisibleLines());
    m_topLine = std::clamp(m_topLine, 0, maxTop);
    const int maxX = std::max(0, ContentWidth() + kCaretWidth - TextRect().Width());
    m_scrollX = std::clamp(m_scrollX, 0, maxX);
}

void TCustomEdit::FollowCaret() {
    const int visible = VisibleLines();
    if (m_caret.line < m_topLine)
        m_topLine = m_caret.line;
    else if (m_caret.line >= m_topLine + visible)
        m_topLine = m_caret.line - visible + 1;
    // Horizontally the view jumps by a quarter of its width, so typing along a long line does
    // not scroll at every character.
    const int area = TextRect().Width();
    const int x = ColumnX(m_caret.line, m_caret.col);
    if (x < m_scrollX)
        m_scrollX = std::max(0, x - area / 4);
    else if (x + kCaretWidth > m_scrollX + area)
        m_scrollX = x + kCaretWidth - area + area / 4;
}

void TCustomEdit::UpdateView(bool followCaret) {
    if (followCaret)
        FollowCaret();
    ClampScroll();
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
}

void TCustomEdit::UpdateScrollBars() {
    if (!HandleAllocated())
        return;
    const platform::HWND h = HandleIfAllocated();
    // The bars are told without drawing and their frame repaints with the next paint, so that
    // adding thousands of lines one by one does not draw the bars thousands of times.
    bool changed = false;
    auto send = [&](int bar, int maxPos, int page, int pos) {
        platform::SCROLLINFO now;
        now.fMask = platform::SIF_RANGE | platform::SIF_PAGE | platform::SIF_POS;
        const bool known = platform::GetScrollInfo(h, bar, now);
        platform::SCROLLINFO si;
        si.fMask = platform::SIF_RANGE | platform::SIF_PAGE | platform::SIF_POS;
        if (KeepsIdleScrollBars())
            si.fMask |= platform::SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = maxPos;
        si.nPage = static_cast<platform::UINT>(page);
        si.nPos = pos;
        if (known && !m_resendBars && now.nMin == 0 && now.nMax == maxPos &&
            now.nPage == si.nPage && now.nPos == pos)
            return;
        platform::SetScrollInfo(h, bar, si, false);
        changed = true;
    };
    if (m_scrollBars == ssVertical || m_scrollBars == ssBoth)
        send(platform::SB_VERT, m_buffer.LineCount() - 1, VisibleLines(), m_topLine);
    if (m_scrollBars == ssHorizontal || m_scrollBars == ssBoth)
        send(platform::SB_HORZ, ContentWidth() + kCaretWidth - 1, std::max(1, TextRect().Width()),
             m_scrollX);
    if (changed) {
        platform::RedrawWindow(h, nullptr, nullptr, platform::RDW_INVALIDATE | platform::RDW_FRAME);
        ScrollBarsChanged();
    }
}

void TCustomEdit::RefreshScrollBars() {
    m_resendBars = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_resendBars};
    UpdateScrollBars();
}

void TCustomEdit::UpdateCaret() {
    if (!m_hasCaret)
        return;
    const platform::Point p = PointOfPos(m_caret);
    platform::SetCaretPos(p.x, p.y);
}

// ---- painting -------------------------------------------------------------------------------

void TCustomEdit::Paint() {
    platform::DeviceContext& dc = Canvas().Handle();
    platform::DcStateGuard guard(dc);
    PaintBackground(dc, ClientRect());
    const platform::Rect tr = TextRect();
    platform::IntersectClipRect(dc, tr);
    platform::SelectFont(dc, TextFont());
    platform::SetBkMode(dc, platform::BkMode::Transparent);
    const bool shown = SelectionShown();
    const TTextPos a = SelectionStart(), b = SelectionEnd();
    const int lh = LineHeight();
    for (int line = m_topLine, y = tr.top; line < m_buffer.LineCount() && y < tr.bottom;
         ++line, y += lh) {
        int selA = 0, selB = 0;
        if (shown && line >= a.line && line <= b.line) {
            selA = line == a.line ? a.col : 0;
            // A selected line break shows as a little highlight after the line.
            selB = line == b.line ? b.col : static_cast<int>(m_buffer.Line(line).size()) + 1;
        }
        PaintLine(dc, line, y, selA, selB);
    }
}

void TCustomEdit::PaintBackground(platform::DeviceContext& dc, const platform::Rect& client) {
    platform::FillRect(dc, client, ColorToRGB(Color()));
}

void TCustomEdit::PaintLine(platform::DeviceContext& dc, int line, int y, int selA, int selB) {
    const std::u32string& s = m_buffer.Line(line);
    const int n = static_cast<int>(s.size());
    const platform::Rect tr = TextRect();
    const int lh = LineHeight();
    const int left = tr.left - m_scrollX;
    const platform::Color textColor = ColorToRGB(Enabled() ? Font().Color() : clGrayText);
    const platform::Color selText = ColorToRGB(clHighlightText);
    const platform::Color selBack = ColorToRGB(clHighlight);

    // Skip what lies left of the view.
    int i = 0, x = 0;
    while (i < n) {
        const int w = CharWidth(s[i], x);
        if (left + x + w > tr.left)
            break;
        x += w;
        ++i;
    }
    std::u32string run;
    int runX = x;
    bool runSelected = false;
    auto flush = [&](int endX) {
        if (runSelected)
            platform::FillRect(dc, {left + runX, y, left + endX, y + lh}, selBack);
        if (!run.empty()) {
            platform::SetTextColor(dc, runSelected ? selText : textColor);
            platform::TextOut(dc, left + runX, y, platform::Utf32ToUtf8(run));
        }
        run.clear();
        runX = endX;
    };
    for (; i < n && left + x < tr.right; ++i) {
        const bool selected = i >= selA && i < selB;
        const int w = CharWidth(s[i], x);
        if (selected != runSelected || s[i] == U'\t') {
            flush(x);
            runSelected = selected;
        }
        if (s[i] == U'\t' && !m_passwordChar) {
            // A tab is blank space up to the next stop.
            flush(x + w);
        } else {
            run.push_back(Shown(s[i]));
        }
        x += w;
    }
    flush(x);
    if (selB > n && i >= n) {
        const int w = std::max(2, TextFont()->Metrics().tmAveCharWidth / 2);
        platform::FillRect(dc, {left + x, y, left + x + w, y + lh}, selBack);
    }
}

} // namespace toolkit
