#include "platform/gfx/text/TextDraw.h"

#include <algorithm>
#include <optional>

#include "platform/gfx/text/Utf8.h"

namespace platform {

namespace {

bool IsRtl(char32_t c) {
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFF);
}

bool IsStrongLtr(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    return !IsRtl(c) && c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x2BFF);
}

// Visual order of a line read right to left: left-to-right runs keep their order inside, the
// runs and every other character are laid out from the right. Not a full bidirectional
// algorithm, but right for a line of one script with embedded numbers or Latin words.
std::u32string RtlVisualOrder(const std::u32string& line, int& prefix) {
    std::vector<std::pair<std::size_t, std::size_t>> runs; // [begin, end) in logical order
    std::size_t i = 0;
    while (i < line.size()) {
        std::size_t j = i + 1;
        if (IsStrongLtr(line[i])) {
            // An LTR run takes neutrals only when another LTR character follows them.
            std::size_t end = j;
            for (std::size_t k = j; k < line.size() && !IsRtl(line[k]); ++k)
                if (IsStrongLtr(line[k]))
                    end = k + 1;
            j = end;
            runs.emplace_back(i, j);
        } else {
            runs.emplace_back(i, j); // a single right-to-left or neutral character
        }
        i = j;
    }
    std::u32string out;
    std::vector<std::size_t> newIndex(line.size());
    for (auto it = runs.rbegin(); it != runs.rend(); ++it)
        for (std::size_t k = it->first; k < it->second; ++k) {
            newIndex[k] = out.size();
            out.push_back(line[k]);
        }
    if (prefix >= 0 && static_cast<std::size_t>(prefix) < line.size())
        prefix = static_cast<int>(newIndex[static_cast<std::size_t>(prefix)]);
    return out;
}

struct Measure {
    const Font& font;
    bool expandTabs = false;
    int tabWidth = 0;

    int CharWidth(char32_t c, int x) const {
        if (c == U'\t') {
            if (!expandTabs || tabWidth <= 0)
                return 0;
            return (x / tabWidth + 1) * tabWidth - x;
        }
        if (c == U'\r' || c == U'\n')
            return 0;
        return font.Advance(c);
    }
    int Width(std::u32string_view s) const {
        int x = 0;
        for (char32_t c : s)
            x += CharWidth(c, x);
        return x;
    }
};

// Removes "&" prefixes; returns the index of the last underlined character or -1.
std::u32string StripPrefixes(const std::u32string& text, int& prefix) {
    std::u32string out;
    prefix = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'&') {
            if (i + 1 < text.size() && text[i + 1] == U'&') {
                out.push_back(U'&');
                ++i;
                continue;
            }
            if (i + 1 < text.size())
                prefix = static_cast<int>(out.size());
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

void TrimTrailingSpaces(std::u32string& s) {
    while (!s.empty() && (s.back() == U' ' || s.back() == U'\t'))
        s.pop_back();
}

// Breaks one paragraph into lines no wider than maxWidth where spaces allow.
std::vector<std::pair<std::u32string, int>> BreakParagraph(const Measure& m,
                                                           const std::u32string& text, int prefix,
                                                           int maxWidth, bool breakWords) {
    std::vector<std::pair<std::u32string, int>> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        int x = 0;
        std::size_t breakAt = std::u32string::npos; // end of the line at the last space run
        std::size_t resume = 0;
        std::size_t i = start;
        for (; i < text.size(); ++i) {
            const char32_t c = text[i];
            if (c == U' ' || c == U'\t') {
                breakAt = i;
                std::size_t j = i;
                while (j < text.size() && (text[j] == U' ' || text[j] == U'\t'))
                    ++j;
                resume = j;
            }
            const int w = m.CharWidth(c, x);
            if (x + w > maxWidth && c != U' ' && c != U'\t' && i > start) {
                if (breakAt != std::u32string::npos && breakAt > start)
                    break;
                if (breakWords) {
                    breakAt = i;
                    resume = i;
                    break;
                }
            }
            x += w;
        }
        if (i >= text.size()) {
            std::u32string line = text.substr(start);
            const int p = prefix >= static_cast<int>(start) ? prefix - static_cast<int>(start) : -1;
            lines.emplace_back(line, p);
            break;
        }
        std::u32string line = text.substr(start, breakAt - start);
        TrimTrailingSpaces(line);
        const int p = prefix >= static_cast<int>(start) && prefix < static_cast<int>(breakAt)
                          ? prefix - static_cast<int>(start)
                          : -1;
        lines.emplace_back(line, p);
        start = resume;
        if (start >= text.size())
            break;
    }
    return lines;
}

void Ellipsize(const Measure& m, TextLine& line, int maxWidth) {
    if (m.Width(line.text) <= maxWidth)
        return;
    const std::u32string dots = U"...";
    const int dotsWidth = m.Width(dots);
    std::size_t keep = line.text.size();
    while (keep > 0 &&
           m.Width(std::u32string_view(line.text).substr(0, keep)) + dotsWidth > maxWidth)
        --keep;
    line.text = line.text.substr(0, keep) + dots;
    if (line.prefix >= static_cast<int>(keep))
        line.prefix = -1;
}

// Blends coverage into the pixels of a 24- or 32-bit section, or through SetPixel otherwise.
// clips are the drawable rectangles (device pixels) around the run, apart from each other.
void BlendGlyph(DeviceContext& dc, const Glyph& g, Point deviceOrigin, Color color,
                const std::vector<Rect>& clips) {
    if (g.width == 0 || g.height == 0)
        return;
    DibSection* bmp = dc.Bitmap();
    if (!bmp)
        return;
    const Rect box =
        Rect::FromSize(deviceOrigin.x + g.left, deviceOrigin.y - g.top, g.width, g.height);
    const int bits = bmp->BitCount();
    const DeviceContext::State& st = dc.GetState();
    const unsigned fb = GetBValue(color), fg = GetGValue(color), fr = GetRValue(color);
    auto mix = [](unsigned a, unsigned front, unsigned back) {
        return static_cast<std::uint8_t>((front * a + back * (255 - a) + 127) / 255);
    };
    for (const Rect& clip : clips) {
        const Rect r = box.Intersect(clip);
        if (r.IsEmpty())
            continue;
        for (int y = r.top; y < r.bottom; ++y) {
            const std::uint8_t* cov =
                g.coverage.data() + static_cast<std::ptrdiff_t>(y - box.top) * g.width - box.left;
            if (bits == 32 || bits == 24) {
                const int step = bits / 8;
                std::uint8_t* p = bmp->Row(y) + static_cast<std::ptrdiff_t>(r.left) * step;
                for (int x = r.left; x < r.right; ++x, p += step) {
                    const unsigned a = cov[x];
                    if (a == 0)
                        continue;
                    p[0] = mix(a, fb, p[0]);
                    p[1] = mix(a, fg, p[1]);
                    p[2] = mix(a, fr, p[2]);
                }
                continue;
            }
            for (int x = r.left; x < r.right; ++x) {
                const unsigned a = cov[x];
                if (a == 0)
                    continue;
                const int lx = x - st.viewportOrg.x + st.windowOrg.x;
                const int ly = y - st.viewportOrg.y + st.windowOrg.y;
                const Color bg = GetPixel(dc, lx, ly);
                if (bg == kInvalidColor)
                    continue;
                SetPixel(dc, lx, ly,
                         RGB(mix(a, fr, GetRValue(bg)), mix(a, fg, GetGValue(bg)),
                             mix(a, fb, GetBValue(bg))));
            }
        }
    }
}

// Text drawing narrows only the clip; this puts it back (also on exceptions) without copying
// the rest of the context's state.
class ClipGuard {
public:
    explicit ClipGuard(DeviceContext& dc) : m_dc(dc), m_saved(dc.GetState().clip) {}
    ~ClipGuard() { m_dc.MutableState().clip = std::move(m_saved); }
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;

private:
    DeviceContext& m_dc;
    std::optional<Region> m_saved;
};

// Draws one run of text with its cell's top-left at logical (x, y); underlines the character at
// `prefix` as well when asked.
int DrawRun(DeviceContext& dc, const Font& font, const Measure& m, int x, int y,
            std::u32string_view text, int prefix, bool prefixOnly, bool opaque) {
    const TEXTMETRIC& tm = font.Metrics();
    const int width = m.Width(text);
    const DeviceContext::State& st = dc.GetState();
    if (opaque && !prefixOnly)
        FillRect(dc, Rect::FromSize(x, y, width, tm.tmHeight), st.bkColor);
    const Color color = st.textColor;
    const int baseline = y + tm.tmAscent;
    auto drawn = [](char32_t c) { return c != U'\t' && c != U'\r' && c != U'\n'; };
    // The drawable area is looked up once for the whole run: the box holding every glyph.
    std::vector<Rect> clips;
    if (!prefixOnly) {
        Rect bounds;
        int pen = 0;
        for (const char32_t c : text) {
            const int w = m.CharWidth(c, pen);
            if (drawn(c)) {
                const Glyph& g = font.GlyphOf(c);
                if (g.width > 0 && g.height > 0) {
                    const Point device = dc.ToDevice(Point{x + pen, baseline});
                    const Rect box =
                        Rect::FromSize(device.x + g.left, device.y - g.top, g.width, g.height);
                    bounds = bounds.IsEmpty() ? box
                                              : Rect{std::min(bounds.left, box.left),
                                                     std::min(bounds.top, box.top),
                                                     std::max(bounds.right, box.right),
                                                     std::max(bounds.bottom, box.bottom)};
                }
            }
            pen += w;
        }
        if (!bounds.IsEmpty())
            dc.DrawableRects(bounds, clips);
    }
    int pen = 0;
    int prefixX = -1, prefixW = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        const int w = m.CharWidth(c, pen);
        if (static_cast<int>(i) == prefix) {
            prefixX = pen;
            prefixW = w;
        }
        if (!clips.empty() && drawn(c)) {
            const Point device = dc.ToDevice(Point{x + pen, baseline});
            BlendGlyph(dc, font.GlyphOf(c), device, color, clips);
        }
        pen += w;
    }
    const int thick = font.UnderlineThickness();
    if (font.Logical().lfUnderline && !prefixOnly)
        FillRect(dc,
                 {x, baseline + font.UnderlinePosition(), x + width,
                  baseline + font.UnderlinePosition() + thick},
                 color);
    if (font.Logical().lfStrikeOut && !prefixOnly) {
        const int sy = baseline - tm.tmAscent * 3 / 10;
        FillRect(dc, {x, sy, x + width, sy + thick}, color);
    }
    if (prefixX >= 0)
        FillRect(dc,
                 {x + prefixX, baseline + font.UnderlinePosition(), x + prefixX + prefixW,
                  baseline + font.UnderlinePosition() + thick},
                 color);
    return width;
}

} // namespace

std::shared_ptr<Font> CurrentFont(const DeviceContext& dc) {
    auto font = std::dynamic_pointer_cast<Font>(dc.GetState().font);
    return font ? font : DefaultGuiFont();
}

std::shared_ptr<Font> SelectFont(DeviceContext& dc, std::shared_ptr<Font> font) {
    auto old = std::dynamic_pointer_cast<Font>(
        SelectFont(dc, std::static_pointer_cast<GdiObject>(std::move(font))));
    return old;
}

bool GetTextMetrics(const DeviceContext& dc, TEXTMETRIC& tm) {
    auto font = CurrentFont(dc);
    if (!font)
        return false;
    tm = font->Metrics();
    return true;
}

Size TextExtent(const Font& font, std::u32string_view text) {
    const Measure m{font, false, 0};
    return {m.Width(text), font.Metrics().tmHeight};
}

bool GetTextExtentPoint32(const DeviceContext& dc, const std::string& utf8, Size& size) {
    auto font = CurrentFont(dc);
    if (!font)
        return false;
    size = TextExtent(*font, Utf8ToUtf32(utf8));
    return true;
}

bool ExtTextOut(DeviceContext& dc, int x, int y, unsigned options, const Rect* rect,
                const std::string& utf8) {
    auto font = CurrentFont(dc);
    if (!font || !dc.Bitmap())
        return false;
    ClipGuard guard(dc);
    if (rect && (options & ETO_OPAQUE))
        FillRect(dc, *rect, dc.GetState().bkColor);
    if (rect && (options & ETO_CLIPPED))
        IntersectClipRect(dc, *rect);
    const Measure m{*font, false, 0};
    const bool opaque = dc.GetState().bkMode == BkMode::Opaque && !(rect && (options & ETO_OPAQUE));
    DrawRun(dc, *font, m, x, y, Utf8ToUtf32(utf8), -1, false, opaque);
    return true;
}

bool TextOut(DeviceContext& dc, int x, int y, const std::string& utf8) {
    return ExtTextOut(dc, x, y, 0, nullptr, utf8);
}

TextLayout LayoutText(const Font& font, const std::string& utf8, const Rect& rect,
                      unsigned format) {
    const TEXTMETRIC& tm = font.Metrics();
    const int tabChars = (format & DT_TABSTOP) ? static_cast<int>((format >> 8) & 0xFF) : 8;
    const Measure m{font, (format & DT_EXPANDTABS) != 0, std::max(1, tabChars) * tm.tmAveCharWidth};
    TextLayout layout;
    layout.lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);

    std::u32string text = Utf8ToUtf32(utf8);
    int prefix = -1;
    // DT_TABSTOP reuses bits 8-15, where DT_NOPREFIX and DT_NOCLIP live otherwise.
    const bool noPrefix = (format & DT_NOPREFIX) && !(format & DT_TABSTOP);
    if (!noPrefix)
        text = StripPrefixes(text, prefix);

    std::vector<std::pair<std::u32string, int>> paragraphs;
    if (format & DT_SINGLELINE) {
        std::u32string single;
        int p = -1;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (static_cast<int>(i) == prefix)
                p = static_cast<int>(single.size());
            if (text[i] != U'\r' && text[i] != U'\n')
                single.push_back(text[i]);
        }
        paragraphs.emplace_back(single, p);
    } else {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == U'\r' || text[i] == U'\n') {
                const int p = prefix >= static_cast<int>(start) && prefix < static_cast<int>(i)
                                  ? prefix - static_cast<int>(start)
                                  : -1;
                paragraphs.emplace_back(text.substr(start, i - start), p);
                if (i < text.size() && text[i] == U'\r' && i + 1 < text.size() &&
                    text[i + 1] == U'\n')
                    ++i;
                start = i + 1;
            }
        }
    }

    const int maxWidth = std::max(0, rect.Width());
    const bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    for (const auto& [para, p] : paragraphs) {
        std::vector<std::pair<std::u32string, int>> pieces =
            wrap ? BreakParagraph(m, para, p, maxWidth, (format & DT_EDITCONTROL) != 0)
                 : std::vector<std::pair<std::u32string, int>>{{para, p}};
        for (auto& [lineText, lp] : pieces) {
            TextLine line;
            line.text = std::move(lineText);
            line.prefix = lp;
            if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))
                Ellipsize(m, line, maxWidth);
            if (format & DT_RTLREADING)
                line.text = RtlVisualOrder(line.text, line.prefix);
            line.width = m.Width(line.text);
            layout.lines.push_back(std::move(line));
        }
    }
    layout.height = layout.lineHeight * static_cast<int>(layout.lines.size());

    int y = rect.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect.top + (rect.Height() - layout.height) / 2;
        else if (format & DT_BOTTOM)
            y = rect.bottom - layout.height;
    }
    for (TextLine& line : layout.lines) {
        layout.width = std::max(layout.width, line.width);
        if (format & DT_CENTER)
            line.x = rect.left + (rect.Width() - line.width) / 2;
        else if (format & DT_RIGHT)
            line.x = rect.right - line.width;
        else
            line.x = rect.left;
        line.y = y;
        y += layout.lineHeight;
    }
    return layout;
}

int DrawText(DeviceContext& dc, const std::string& utf8, Rect& rect, unsigned format) {
    auto font = CurrentFont(dc);
    if (!font)
        return 0;
    const TextLayout layout = LayoutText(*font, utf8, rect, format);
    if (format & DT_CALCRECT) {
        if (!layout.lines.empty() || utf8.empty())
            rect.right = rect.left + layout.width;
        rect.bottom = rect.top + (layout.lines.empty() ? font->Metrics().tmHeight : layout.height);
        return rect.Height();
    }
    if (!dc.Bitmap())
        return layout.height;
    ClipGuard guard(dc);
    const bool noClip = (format & DT_NOCLIP) && !(format & DT_TABSTOP);
    if (!noClip)
        IntersectClipRect(dc, rect);
    const int tabChars = (format & DT_TABSTOP) ? static_cast<int>((format >> 8) & 0xFF) : 8;
    const Measure m{*font, (format & DT_EXPANDTABS) != 0,
                    std::max(1, tabChars) * font->Metrics().tmAveCharWidth};
    const bool opaque = dc.GetState().bkMode == BkMode::Opaque;
    for (const TextLine& line : layout.lines) {
        const int prefix = (format & DT_HIDEPREFIX) ? -1 : line.prefix;
        DrawRun(dc, *font, m, line.x, line.y, line.text, prefix, (format & DT_PREFIXONLY) != 0,
                opaque);
    }
    return layout.height;
}

} // namespace platform
