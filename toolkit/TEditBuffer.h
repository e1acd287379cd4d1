#pragma once
// The text behind the edit and the memo: a list of lines of code points, never empty (an empty
// text is one empty line). A position is (line, column) in code points; column == line length
// is the end of the line. Line breaks are not stored: between two lines there is one break,
// which counts as two characters (CR LF) in offsets, lengths and Text, the way the text reads
// back as a string.
//
// Single-line buffers keep everything on line 0: text put in is cut at its first line break.
// Incoming text breaks lines at CR LF, LF or CR.
//
// Positions handed in are clamped to the text (a column past the end means the end), so a
// stale position from a caller can never reach outside a line. Lengths use 64-bit counts where
// they are summed so that no text size can overflow them; offsets as int saturate at INT_MAX.
//
// Each line carries a measured width in pixels that the owner fills in; a change to a line
// forgets its width (kUnmeasured), so only changed lines are measured again.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

struct TTextPos {
    int line = 0;
    int col = 0;
    auto operator<=>(const TTextPos&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TTextPos& p) {
    return os << "(line " << p.line << ", col " << p.col << ")";
}

class TEditBuffer {
public:
    static constexpr int kUnmeasured = -1;

    explicit TEditBuffer(bool multiLine = false) : m_multiLine(multiLine) {}

    bool MultiLine() const { return m_multiLine; }
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    const std::u32string& Line(int index) const { return m_lines[Bound(index)].text; }
    // Characters of the whole text, each line break counting two.
    std::int64_t Length() const { return m_chars + 2 * (std::int64_t(m_lines.size()) - 1); }

    int Width(int index) const { return m_lines[Bound(index)].width; }
    void SetWidth(int index, int width) {
        m_lines[Bound(index)].width = width;
        ++m_widthsSet;
    }
    // How many widths were filled in so far: the measuring work, which tests count so that a
    // change costs in proportion to what changed, not to the whole text.
    std::uint64_t WidthsSet() const { return m_widthsSet; }
    void ForgetWidths();

    void SetText(std::u32string_view text);
    std::u32string Text() const { return Range({0, 0}, End()); }
    // The text between two positions (in either order), line breaks as CR LF.
    std::u32string Range(TTextPos a, TTextPos b) const;

    // Inserts text at a position; answers the position just after it.
    TTextPos Insert(TTextPos at, std::u32string_view text);
    // Removes the text between two positions (in either order).
    void Erase(TTextPos a, TTextPos b);
    // Puts a whole line in place of line index (text without breaks; breaks are dropped).
    void ReplaceLine(int index, std::u32string_view text);
    // Appends a line after the last one.
    void AppendLine(std::u32string_view text);
    // Removes a whole line with its break; the last remaining line is emptied instead.
    void DeleteLine(int index);

    TTextPos End() const;
    TTextPos Clamp(TTextPos p) const;
    std::int64_t Offset(TTextPos p) const;
    // The position of a character offset (a break's second half maps to the line's end).
    TTextPos PosOf(std::int64_t offset) const;

    // Word movement: a word is a run of letters, digits, '_' or non-ASCII non-space
    // characters. WordRight stops at the start of the next word (or the line's end, before
    // crossing to the next line), WordLeft at the start of the word before.
    TTextPos WordLeft(TTextPos p) const;
    TTextPos WordRight(TTextPos p) const;
    // The word (or the run of blanks, or the single other character) around p.
    void WordAt(TTextPos p, TTextPos& start, TTextPos& end) const;

    static bool IsWordChar(char32_t c);
    // Splits at CR LF, LF or CR.
    static std::vector<std::u32string> SplitLines(std::u32string_view text);

private:
    struct LineRec {
        std::u32string text;
        int width = kUnmeasured;
    };
    std::size_t Bound(int index) const;
    void Touch(LineRec& line) { line.width = kUnmeasured; }

    bool m_multiLine;
    std::vector<LineRec> m_lines{LineRec{}};
    std::int64_t m_chars = 0; // code points in all lines
    std::uint64_t m_widthsSet = 0;
};

} // namespace toolkit
