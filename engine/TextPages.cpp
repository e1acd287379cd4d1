#include "engine/TextPages.h"

#include <algorithm>

#include "toolkit/Exceptions.h"
#include "toolkit/Int32.h"

namespace engine {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Byte offsets where each character of a line starts, and its end. A stray continuation byte
// stays with the character before it (the first byte of a line always starts one).
std::vector<std::size_t> CharStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    starts.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i == 0 || !IsContinuation(static_cast<unsigned char>(text[i])))
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

} // namespace

// Checks its arguments as BuildPagedText does; the exports need the pages as records, so they
// are laid out whole here.
std::vector<TPage> LayOutPages(const std::vector<std::string>& lines, std::int32_t width,
                               std::int32_t charsPerLine, std::int32_t linesPerPage,
                               std::size_t maxRows) {
    const std::int32_t stride = toolkit::int32::Sub(charsPerLine, 1);
    const std::int32_t lastStrip = toolkit::int32::Div(width, stride);
    if (lastStrip < 0 || lines.empty())
        return {};
    if (linesPerPage == 0)
        throw toolkit::EDivByZero();
    if ((std::uint64_t{static_cast<std::uint32_t>(lastStrip)} + 1) * lines.size() > maxRows)
        throw toolkit::EOutOfMemory();

    std::vector<std::vector<std::size_t>> starts;
    starts.reserve(lines.size());
    for (const std::string& line : lines)
        starts.push_back(CharStarts(line));

    std::vector<TPage> pages;
    for (std::int64_t k = 0; k <= lastStrip; ++k) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (static_cast<std::int64_t>(i) % linesPerPage == 0)
                pages.emplace_back();
            const auto count = static_cast<std::int64_t>(starts[i].size() - 1);
            const std::int64_t from = std::int64_t{stride} * k;
            const std::int64_t first = std::clamp<std::int64_t>(from, 0, count);
            const std::int64_t end = std::clamp<std::int64_t>(
                std::max<std::int64_t>(from, 0) + charsPerLine, first, count);
            TPageRow row;
            row.line = i;
            row.firstChar = static_cast<std::size_t>(first);
            row.chars = static_cast<std::size_t>(end - first);
            row.firstByte = starts[i][row.firstChar];
            row.endByte = starts[i][static_cast<std::size_t>(end)];
            pages.back().push_back(row);
        }
    }
    return pages;
}

std::size_t WidestRow(const std::vector<TPage>& pages) {
    std::size_t widest = 0;
    for (const TPage& page : pages)
        for (const TPageRow& row : page)
            widest = std::max(widest, row.chars);
    return widest;
}

bool TCodePoints::Next(char32_t& codePoint) {
    if (m_at >= m_text.size())
        return false;
    const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(m_text[i]); };
    const unsigned char lead = byte(m_at);
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                         : lead >= 0xE0                 ? 3
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                                                        : 0;
    char32_t value = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
    bool valid = length != 0 && m_at + length <= m_text.size();
    for (std::size_t i = 1; valid && i < length; ++i) {
        valid = IsContinuation(byte(m_at + i));
        value = value << 6 | (byte(m_at + i) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are no characters.
    valid = valid && !(length == 3 && value < 0x800) && !(length == 4 && value < 0x10000) &&
            !(value >= 0xD800 && value <= 0xDFFF) && value <= 0x10FFFF;
    if (!valid) {
        // The malformed byte and the stray continuation bytes after it are one character, as
        // the paged export counts them.
        codePoint = U'\uFFFD';
        ++m_at;
        while (m_at < m_text.size() && IsContinuation(byte(m_at)))
            ++m_at;
        return true;
    }
    codePoint = value;
    m_at += length;
    // Stray continuation bytes after a whole character belong to it.
    while (m_at < m_text.size() && IsContinuation(byte(m_at))) {
        codePoint = U'\uFFFD';
        ++m_at;
    }
    return true;
}

} // namespace engine
