#include "toolkit/TLineEdit.h"

#include "platform/gfx/text/TextDraw.h"
#include "platform/gfx/text/Utf8.h"
#include "platform/win/Caret.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"

namespace toolkit {
namespace {

std::u32string Wide(const std::string& s) {
    return platform::Utf8ToUtf32(s);
}

} // namespace

TLineEdit::TLineEdit(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption, csClickEvents, csDoubleClicks});
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 21);
}

TLineEdit::~TLineEdit() {
    if (m_hasCaret)
        platform::DestroyCaret();
}

void TLineEdit::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ClassCursor = platform::Cursor::IBeam;
}

int TLineEdit::Length() const {
    return static_cast<int>(Wide(Text()).size());
}

void TLineEdit::SetCaretPosition(int position) {
    MoveCaret(position, false);
}

void TLineEdit::SelectAll() {
    m_anchor = 0;
    m_caret = Length();
    ScrollToCaret();
    Invalidate();
}

std::string TLineEdit::SelText() const {
    const std::u32string w = Wide(Text());
    return platform::Utf32ToUtf8(
        w.substr(static_cast<std::size_t>(SelStart()), static_cast<std::size_t>(SelLength())));
}

void TLineEdit::ReplaceSelection(const std::string& text) {
    std::u32string w = Wide(Text());
    const std::u32string add = Wide(text);
    const auto start = static_cast<std::size_t>(std::min(SelStart(), static_cast<int>(w.size())));
    w.replace(start, static_cast<std::size_t>(SelLength()), add);
    m_caret = m_anchor = static_cast<int>(start + add.size());
    SetText(platform::Utf32ToUtf8(w));
    ScrollToCaret();
    Invalidate();
}

void TLineEdit::MoveCaret(int position, bool extend) {
    m_caret = std::clamp(position, 0, Length());
    if (!extend)
        m_anchor = m_caret;
    ScrollToCaret();
    Invalidate();
}

int TLineEdit::TextX(int position) const {
    const std::u32string w = Wide(Text());
    const auto n = static_cast<std::size_t>(std::clamp(position, 0, static_cast<int>(w.size())));
    const platform::Size s =
        platform::TextExtent(*Font().Handle(), std::u32string_view(w).substr(0, n));
    return m_marginLeft - m_scroll + s.cx;
}

int TLineEdit::PositionAt(int x) const {
    const int n = Length();
    int best = 0;
    int bestDistance = std::abs(TextX(0) - x);
    for (int i = 1; i <= n; ++i) {
        const int d = std::abs(TextX(i) - x);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void TLineEdit::ScrollToCaret() {
    const int width = std::max(ClientWidth() - 2 * m_marginLeft, 1);
    const int x = TextX(m_caret) + m_scroll - m_marginLeft;
    if (x - m_scroll > width)
        m_scroll = x - width;
    if (x < m_scroll)
        m_scroll = x;
    if (m_scroll < 0)
        m_scroll = 0;
    UpdateCaret();
}

void TLineEdit::UpdateCaret() {
    if (!m_hasCaret)
        return;
    const int h = platform::TextExtent(*Font().Handle(), U"Ag").cy;
    platform::SetCaretPos(TextX(m_caret), TextTop(h));
}

void TLineEdit::SetTextMargins(int left, int top) {
    m_marginLeft = std::max(left, 0);
    m_marginTop = top;
    ScrollToCaret();
    Invalidate();
}

int TLineEdit::TextTop(int lineHeight) const {
    if (m_marginTop >= 0)
        return m_marginTop;
    return std::max((ClientHeight() - lineHeight) / 2, 0);
}

void TLineEdit::Change() {
    Fire(OnChange, this);
}

void TLineEdit::WndProc(TMessage& m) {
    using namespace platform;
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_SETFOCUS: {
        TCustomControl::WndProc(m);
        const int h = platform::TextExtent(*Font().Handle(), U"Ag").cy;
        if (HandleAllocated() && CreateCaret(HandleIfAllocated(), 1, h)) {
            m_hasCaret = true;
            UpdateCaret();
            ShowCaret(HandleIfAllocated());
        }
        Invalidate();
        return;
    }
    case WM_KILLFOCUS:
        if (m_hasCaret) {
            m_hasCaret = false;
            DestroyCaret();
        }
        Invalidate();
        break;
    case CM_TEXTCHANGED: {
        // A program write may leave the caret past the new end.
        const int n = Length();
        m_caret = std::min(m_caret, n);
        m_anchor = std::min(m_anchor, n);
        ScrollToCaret();
        Invalidate();
        Change();
        return;
    }
    case CM_FONTCHANGED:
        ScrollToCaret();
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

bool TLineEdit::DoKeyDown(platform::WORD& key, TShiftState shift) {
    using namespace platform;
    if (TCustomControl::DoKeyDown(key, shift))
        return true;
    const bool extend = shift.Contains(ssShift);
    const bool ctrl = shift.Contains(ssCtrl);
    switch (key) {
    case VK_LEFT:
        if (!extend && SelLength() > 0)
            MoveCaret(SelStart(), false);
        else
            MoveCaret(m_caret - 1, extend);
        return true;
    case VK_RIGHT:
        if (!extend && SelLength() > 0)
            MoveCaret(SelStart() + SelLength(), false);
        else
            MoveCaret(m_caret + 1, extend);
        return true;
    case VK_HOME:
        MoveCaret(0, extend);
        return true;
    case VK_END:
        MoveCaret(Length(), extend);
        return true;
    case VK_DELETE:
        if (SelLength() == 0)
            m_caret = std::min(m_caret + 1, Length());
        ReplaceSelection("");
        return true;
    case 'A':
        if (!ctrl)
            return false;
        SelectAll();
        return true;
    case 'C':
    case 'X':
        if (!ctrl)
            return false;
        if (SelLength() > 0) {
            SetClipboardText(SelText());
            if (key == 'X')
                ReplaceSelection("");
        }
        return true;
    case 'V': {
        if (!ctrl)
            return false;
        std::string text = GetClipboardText();
        text = text.substr(0, text.find_first_of("\r\n"));
        ReplaceSelection(text);
        return true;
    }
    default:
        return false;
    }
}

bool TLineEdit::DoKeyPress(char32_t& key) {
    if (TCustomControl::DoKeyPress(key))
        return true;
    if (key == 8) {
        if (SelLength() == 0)
            m_anchor = std::max(m_caret - 1, 0);
        ReplaceSelection("");
        return true;
    }
    if (key < 0x20 || key == 0x7F)
        return false;
    ReplaceSelection(platform::Utf32ToUtf8(std::u32string(1, key)));
    return true;
}

void TLineEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused())
            SetFocus();
        MoveCaret(PositionAt(x), shift.Contains(ssShift));
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TLineEdit::MouseMove(TShiftState shift, int x, int y) {
    if (shift.Contains(ssLeft) && MouseCapture())
        MoveCaret(PositionAt(x), true);
    TCustomControl::MouseMove(shift, x, y);
}

void TLineEdit::Paint() {
    TCanvas& c = Canvas();
    platform::DeviceContext& dc = c.Handle();
    platform::DcStateGuard outer(dc);
    const platform::Rect r = ClientRect();
    platform::FillRect(dc, r, ColorToRGB(Color()));
    platform::SelectFont(dc, Font().Handle());
    platform::SetBkMode(dc, platform::BkMode::Transparent);
    const int h = platform::TextExtent(*Font().Handle(), U"Ag").cy;
    const int y = TextTop(h);
    if (Focused() && SelLength() > 0) {
        const platform::Rect sel{TextX(SelStart()), y, TextX(SelStart() + SelLength()), y + h};
        platform::FillRect(dc, sel.Intersect(r), ColorToRGB(clHighlight));
    }
    platform::SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGrayText));
    platform::TextOut(dc, TextX(0), y, Text());
    if (Focused() && SelLength() > 0) {
        // The selected part again, over the highlight, in the highlight's text colour.
        platform::DcStateGuard guard(dc);
        platform::IntersectClipRect(
            dc, platform::Rect{TextX(SelStart()), y, TextX(SelStart() + SelLength()), y + h});
        platform::SetTextColor(dc, ColorToRGB(clHighlightText));
        platform::TextOut(dc, TextX(0), y, Text());
    }
}

} // namespace toolkit
