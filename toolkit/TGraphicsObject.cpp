#include "toolkit/TGraphicsObject.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace toolkit {

namespace {

// a * b / c rounded to the nearest integer, halves away from zero; c is not 0. Exact for every
// 32-bit a, b and c.
std::int64_t ScaleRounded(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t n = a * b;
    const std::int64_t q = (std::llabs(n) * 2 + std::llabs(c)) / (std::llabs(c) * 2);
    return (n < 0) != (c < 0) ? -q : q;
}

} // namespace

// As the system's MulDiv, a result that does not fit in 32 bits gives -1.
int MulDiv(int a, int b, int c) {
    if (c == 0)
        return 0;
    const std::int64_t q = ScaleRounded(a, b, c);
    return q < INT32_MIN || q > INT32_MAX ? -1 : static_cast<int>(q);
}

void TGraphicsObject::Changed() {
    Fire(OnChange, this);
}

// ---- TFont ----------------------------------------------------------------------------------

void TFont::SetName(const std::string& name) {
    if (name.empty() || name == m_name)
        return;
    m_name = name;
    m_handle.reset();
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == m_height)
        return;
    m_height = height;
    m_handle.reset();
    Changed();
}

int TFont::Size() const {
    // |Height| * 72 / 96 stays well inside the range: the negation is safe.
    return -MulDiv(m_height, 72, kPixelsPerInch);
}

void TFont::SetSize(int points) {
    // A size whose height would not fit in 32 bits gets the largest height of its sign, so any
    // number typed as a size gives a font (the font engine caps what it draws).
    const std::int64_t height = -ScaleRounded(points, kPixelsPerInch, 72);
    SetHeight(static_cast<int>(std::clamp<std::int64_t>(height, -INT32_MAX, INT32_MAX)));
}

void TFont::SetStyle(TFontStyles style) {
    if (style == m_style)
        return;
    m_style = style;
    m_handle.reset();
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == m_color)
        return;
    m_color = color;
    Changed();
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset == m_charset)
        return;
    m_charset = charset;
    Changed();
}

std::shared_ptr<platform::Font> TFont::Handle() const {
    if (!m_handle) {
        platform::LOGFONT lf;
        lf.lfFaceName = m_name;
        lf.lfHeight = m_height;
        lf.lfWeight =
            m_style.Contains(TFontStyle::fsBold) ? platform::FW_BOLD : platform::FW_NORMAL;
        lf.lfItalic = m_style.Contains(TFontStyle::fsItalic);
        lf.lfUnderline = m_style.Contains(TFontStyle::fsUnderline);
        lf.lfStrikeOut = m_style.Contains(TFontStyle::fsStrikeOut);
        m_handle = platform::CreateFontIndirect(lf);
        if (!m_handle)
            m_handle = platform::DefaultGuiFont();
    }
    return m_handle;
}

bool TFont::SameAs(const TFont& other) const {
    return m_name == other.m_name && m_height == other.m_height && m_style == other.m_style &&
           m_color == other.m_color && m_charset == other.m_charset;
}

void TFont::Assign(const TPersistent* source) {
    const auto* font = dynamic_cast<const TFont*>(source);
    if (!font) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (SameAs(*font))
        return;
    if (m_name != font->m_name || m_height != font->m_height || m_style != font->m_style)
        m_handle.reset();
    m_name = font->m_name;
    m_height = font->m_height;
    m_style = font->m_style;
    m_color = font->m_color;
    m_charset = font->m_charset;
    Changed();
}

// ---- TPen -----------------------------------------------------------------------------------

void TPen::SetColor(TColor color) {
    if (color == m_color)
        return;
    m_color = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width == m_width)
        return;
    m_width = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == m_style)
        return;
    m_style = style;
    Changed();
}

void TPen::Assign(const TPersistent* source) {
    const auto* pen = dynamic_cast<const TPen*>(source);
    if (!pen) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (m_color == pen->m_color && m_width == pen->m_width && m_style == pen->m_style)
        return;
    m_color = pen->m_color;
    m_width = pen->m_width;
    m_style = pen->m_style;
    Changed();
}

// ---- TBrush ---------------------------------------------------------------------------------

void TBrush::SetColor(TColor color) {
    // Picking a colour means the brush is to paint with it.
    if (color == m_color && m_style == TBrushStyle::bsSolid)
        return;
    m_color = color;
    m_style = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == m_style)
        return;
    m_style = style;
    Changed();
}

void TBrush::Assign(const TPersistent* source) {
    const auto* brush = dynamic_cast<const TBrush*>(source);
    if (!brush) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (m_color == brush->m_color && m_style == brush->m_style)
        return;
    m_color = brush->m_color;
    m_style = brush->m_style;
    Changed();
}

} // namespace toolkit
