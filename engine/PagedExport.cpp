#include "engine/PagedExport.h"

#include <algorithm>
#include <string_view>

#include "toolkit/Exceptions.h"
#include "toolkit/Int32.h"
#include "toolkit/Streams.h"

namespace engine {
namespace {

__extension__ typedef unsigned __int128 U128;

constexpr std::string_view kLineEnd = "\r\n";

bool IsContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Byte offsets of a line's characters. ASCII lines, the usual case, need no table.
class LineChars {
public:
    explicit LineChars(std::string_view text) : m_size(text.size()) {
        if (std::all_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (i == 0 || !IsContinuation(text[i]))
                m_starts.push_back(i);
        m_starts.push_back(text.size());
    }

    std::int64_t Count() const {
        return static_cast<std::int64_t>(m_starts.empty() ? m_size : m_starts.size() - 1);
    }
    // Byte offset of character index 0 ... Count().
    std::size_t ByteAt(std::int64_t index) const {
        return m_starts.empty() ? static_cast<std::size_t>(index)
                                : m_starts[static_cast<std::size_t>(index)];
    }

private:
    std::size_t m_size;
    std::vector<std::size_t> m_starts;
};

struct Layout {
    std::int64_t lastStrip; // S; no strip when negative
    std::int64_t stride;    // cpl - 1
    std::int64_t width;     // cpl
    std::int64_t linesPerPage;
};

// Walks the output lines in order: emit.Separator(copiedBytes) for a separator copying the
// previous line of copiedBytes bytes, emit.Strip(line, firstByte, endByte) for a strip.
template <class Emit>
void WalkPages(const std::vector<std::string>& lines, const std::vector<LineChars>& chars,
               const Layout& layout, Emit& emit) {
    std::size_t previous = 0; // the placeholder line
    for (std::int64_t k = 0; k <= layout.lastStrip; ++k) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (static_cast<std::int64_t>(i) % layout.linesPerPage == 0) {
                emit.Separator(previous);
                previous += 1;
            }
            const LineChars& line = chars[i];
            const std::int64_t first = std::clamp<std::int64_t>(layout.stride * k, 0, line.Count());
            const std::int64_t end = std::clamp<std::int64_t>(
                std::max<std::int64_t>(layout.stride * k, 0) + layout.width, first, line.Count());
            emit.Strip(i, line.ByteAt(first), line.ByteAt(end));
            previous = line.ByteAt(end) - line.ByteAt(first);
        }
    }
}

struct SizeCounter {
    void Separator(std::size_t copied) { size += 1 + copied + kLineEnd.size(); }
    void Strip(std::size_t, std::size_t first, std::size_t end) {
        size += end - first + kLineEnd.size();
    }
    U128 size = 0;
};

// Appends into a buffer reserved to the final size, so it never moves and a separator can
// copy the line before it out of the buffer itself.
struct Writer {
    void Separator(std::size_t copied) {
        out += kPageSeparator;
        out.append(out, previousStart, copied);
        Finish();
    }
    void Strip(std::size_t line, std::size_t first, std::size_t end) {
        out.append(lines[line], first, end - first);
        Finish();
    }
    void Finish() {
        previousStart = lineStart;
        out += kLineEnd;
        lineStart = out.size();
    }

    const std::vector<std::string>& lines;
    std::string& out;
    std::size_t lineStart = 0;
    std::size_t previousStart = 0;
};

} // namespace

// Checks its arguments as LayOutPages does, but writes the text as it walks instead of laying the
// pages out first: the saved text is the common case and needs no page records.
std::string BuildPagedText(const std::vector<std::string>& lines, std::int32_t width,
                           std::int32_t charsPerLine, std::int32_t linesPerPage,
                           std::size_t maxBytes) {
    const std::int32_t stride = toolkit::int32::Sub(charsPerLine, 1);
    const std::int32_t lastStrip = toolkit::int32::Div(width, stride);
    if (lastStrip < 0 || lines.empty())
        return {};
    if (linesPerPage == 0)
        throw toolkit::EDivByZero();

    // Every output line takes at least its CR LF: refuse a line count that alone is too much
    // before walking anything.
    const U128 pageSize = static_cast<U128>(linesPerPage < 0 ? -std::int64_t{linesPerPage}
                                                             : std::int64_t{linesPerPage});
    const U128 separators = (lines.size() + pageSize - 1) / pageSize;
    const U128 outputLines = (static_cast<U128>(lastStrip) + 1) * (lines.size() + separators);
    if (outputLines * kLineEnd.size() > maxBytes)
        throw toolkit::EOutOfMemory();

    std::vector<LineChars> chars;
    chars.reserve(lines.size());
    for (const std::string& line : lines)
        chars.emplace_back(line);
    const Layout layout{lastStrip, stride, charsPerLine, linesPerPage};

    SizeCounter counter;
    WalkPages(lines, chars, layout, counter);
    if (counter.size > maxBytes)
        throw toolkit::EOutOfMemory();

    std::string out;
    out.reserve(static_cast<std::size_t>(counter.size));
    Writer writer{lines, out};
    WalkPages(lines, chars, layout, writer);
    return out;
}

void SavePagedText(const std::string& fileName, const std::vector<std::string>& lines,
                   std::int32_t width, std::int32_t charsPerLine, std::int32_t linesPerPage,
                   std::size_t maxBytes) {
    const std::string text = BuildPagedText(lines, width, charsPerLine, linesPerPage, maxBytes);
    toolkit::TFileStream file(fileName, toolkit::FileMode::Create);
    file.WriteBuffer(text.data(), text.size());
    file.Commit();
}

} // namespace engine
