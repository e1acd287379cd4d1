#include "toolkit/TEditBuffer.h"

#include <algorithm>
#include <cassert>
#include <climits>

namespace toolkit {

namespace {

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == 0xA0 || c == 0x3000;
}

// Three classes for word movement: blanks, word characters, and the rest (punctuation).
int CharClass(char32_t c) {
    if (IsBlank(c))
        return 0;
    return TEditBuffer::IsWordChar(c) ? 1 : 2;
}

} // namespace

bool TEditBuffer::IsWordChar(char32_t c) {
    if (c < 128)
        return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') ||
               c == U'_';
    return !IsBlank(c) && c != 0x2028 && c != 0x2029;
}

std::vector<std::u32string> TEditBuffer::SplitLines(std::u32string_view text) {
    std::vector<std::u32string> out(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' || c == U'\n') {
            if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                ++i;
            out.emplace_back();
        } else {
            out.back().push_back(c);
        }
    }
    return out;
}

std::size_t TEditBuffer::Bound(int index) const {
    assert(index >= 0 && index < LineCount() && "line index inside the buffer");
    return static_cast<std::size_t>(std::clamp(index, 0, LineCount() - 1));
}

void TEditBuffer::ForgetWidths() {
    for (LineRec& l : m_lines)
        l.width = kUnmeasured;
}

void TEditBuffer::SetText(std::u32string_view text) {
    std::vector<std::u32string> parts = SplitLines(text);
    if (!m_multiLine)
        parts.resize(1);
    m_lines.clear();
    m_lines.reserve(parts.size());
    m_chars = 0;
    for (std::u32string& p : parts) {
        m_chars += static_cast<std::int64_t>(p.size());
        m_lines.push_back(LineRec{std::move(p), kUnmeasured});
    }
}

TTextPos TEditBuffer::End() const {
    return {LineCount() - 1, static_cast<int>(m_lines.back().text.size())};
}

TTextPos TEditBuffer::Clamp(TTextPos p) const {
    if (p.line < 0)
        return {0, 0};
    if (p.line >= LineCount())
        return End();
    const int len = static_cast<int>(m_lines[p.line].text.size());
    return {p.line, std::clamp(p.col, 0, len)};
}

std::u32string TEditBuffer::Range(TTextPos a, TTextPos b) const {
    a = Clamp(a);
    b = Clamp(b);
    if (b < a)
        std::swap(a, b);
    if (a.line == b.line)
        return m_lines[a.line].text.substr(a.col, b.col - a.col);
    std::u32string out = m_lines[a.line].text.substr(a.col);
    for (int i = a.line + 1; i < b.line; ++i) {
        out += U"\r\n";
        out += m_lines[i].text;
    }
    out += U"\r\n";
    out += m_lines[b.line].text.substr(0, b.col);
    return out;
}

TTextPos TEditBuffer::Insert(TTextPos at, std::u32string_view text) {
    at = Clamp(at);
    std::vector<std::u32string> parts = SplitLines(text);
    if (!m_multiLine)
        parts.resize(1);
    LineRec& first = m_lines[at.line];
    Touch(first);
    if (parts.size() == 1) {
        first.text.insert(at.col, parts[0]);
        m_chars += static_cast<std::int64_t>(parts[0].size());
        return {at.line, at.col + static_cast<int>(parts[0].size())};
    }
    std::u32string tail = first.text.substr(at.col);
    first.text.resize(at.col);
    first.text += parts.front();
    const int endCol = static_cast<int>(parts.back().size());
    parts.back() += tail;
    for (const std::u32string& p : parts)
        m_chars += static_cast<std::int64_t>(p.size());
    m_chars -= static_cast<std::int64_t>(tail.size());
    std::vector<LineRec> added;
    added.reserve(parts.size() - 1);
    for (std::size_t i = 1; i < parts.size(); ++i)
        added.push_back(LineRec{std::move(parts[i]), kUnmeasured});
    m_lines.insert(m_lines.begin() + at.line + 1, std::make_move_iterator(added.begin()),
                   std::make_move_iterator(added.end()));
    return {at.line + static_cast<int>(added.size()), endCol};
}

void TEditBuffer::Erase(TTextPos a, TTextPos b) {
    a = Clamp(a);
    b = Clamp(b);
    if (b < a)
        std::swap(a, b);
    if (a == b)
        return;
    LineRec& first = m_lines[a.line];
    Touch(first);
    if (a.line == b.line) {
        first.text.erase(a.col, b.col - a.col);
        m_chars -= b.col - a.col;
        return;
    }
    for (int i = a.line; i < b.line; ++i)
        m_chars -= static_cast<std::int64_t>(m_lines[i].text.size());
    m_chars -= b.col;
    m_chars += a.col;
    first.text.resize(a.col);
    first.text += m_lines[b.line].text.substr(b.col);
    m_lines.erase(m_lines.begin() + a.line + 1, m_lines.begin() + b.line + 1);
}

void TEditBuffer::ReplaceLine(int index, std::u32string_view text) {
    LineRec& l = m_lines[Bound(index)];
    m_chars -= static_cast<std::int64_t>(l.text.size());
    l.text.clear();
    for (char32_t c : text)
        if (c != U'\r' && c != U'\n')
            l.text.push_back(c);
    m_chars += static_cast<std::int64_t>(l.text.size());
    Touch(l);
}

void TEditBuffer::AppendLine(std::u32string_view text) {
    if (!m_multiLine) {
        ReplaceLine(0, text);
        return;
    }
    m_lines.push_back(LineRec{});
    ReplaceLine(LineCount() - 1, text);
}

void TEditBuffer::DeleteLine(int index) {
    const std::size_t i = Bound(index);
    if (m_lines.size() == 1) {
        ReplaceLine(0, U"");
        return;
    }
    m_chars -= static_cast<std::int64_t>(m_lines[i].text.size());
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
}

std::int64_t TEditBuffer::Offset(TTextPos p) const {
    p = Clamp(p);
    std::int64_t off = 0;
    for (int i = 0; i < p.line; ++i)
        off += static_cast<std::int64_t>(m_lines[i].text.size()) + 2;
    return off + p.col;
}

TTextPos TEditBuffer::PosOf(std::int64_t offset) const {
    if (offset <= 0)
        return {0, 0};
    for (int i = 0; i < LineCount(); ++i) {
        const auto len = static_cast<std::int64_t>(m_lines[i].text.size());
        if (offset <= len)
            return {i, static_cast<int>(offset)};
        if (offset <= len + 1 || i + 1 == LineCount())
            return {i, static_cast<int>(len)};
        offset -= len + 2;
    }
    return End();
}

TTextPos TEditBuffer::WordRight(TTextPos p) const {
    p = Clamp(p);
    const std::u32string& s = m_lines[p.line].text;
    const int len = static_cast<int>(s.size());
    if (p.col >= len)
        return p.line + 1 < LineCount() ? TTextPos{p.line + 1, 0} : p;
    int i = p.col;
    const int cls = CharClass(s[i]);
    if (cls != 0)
        while (i < len && CharClass(s[i]) == cls)
            ++i;
    while (i < len && CharClass(s[i]) == 0)
        ++i;
    return {p.line, i};
}

TTextPos TEditBuffer::WordLeft(TTextPos p) const {
    p = Clamp(p);
    if (p.col == 0)
        return p.line > 0 ? TTextPos{p.line - 1, static_cast<int>(Line(p.line - 1).size())} : p;
    const std::u32string& s = m_lines[p.line].text;
    int i = p.col;
    while (i > 0 && CharClass(s[i - 1]) == 0)
        --i;
    if (i > 0) {
        const int cls = CharClass(s[i - 1]);
        while (i > 0 && CharClass(s[i - 1]) == cls)
            --i;
    }
    return {p.line, i};
}

void TEditBuffer::WordAt(TTextPos p, TTextPos& start, TTextPos& end) const {
    p = Clamp(p);
    const std::u32string& s = m_lines[p.line].text;
    const int len = static_cast<int>(s.size());
    start = end = p;
    if (len == 0)
        return;
    // At the end of a line (or right after a word) the word before the point is meant.
    int at = p.col;
    if (at == len || (at > 0 && CharClass(s[at]) != 1 && CharClass(s[at - 1]) == 1))
        --at;
    const int cls = CharClass(s[at]);
    int a = at, b = at + 1;
    if (cls == 2) {
        start = {p.line, a};
        end = {p.line, b};
        return;
    }
    while (a > 0 && CharClass(s[a - 1]) == cls)
        --a;
    while (b < len && CharClass(s[b]) == cls)
        ++b;
    // A word takes the blanks after it, so deleting a double-clicked word closes the gap.
    if (cls == 1)
        while (b < len && CharClass(s[b]) == 0)
            ++b;
    start = {p.line, a};
    end = {p.line, b};
}

} // namespace toolkit
