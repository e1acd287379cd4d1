#pragma once
// The pages of the paged text, for the exports that show them as pages rather than as a text
// file: the same strips of at most cpl characters (stride cpl - 1, S + 1 strips with
// S = W div (cpl - 1)) and the same page breaks (every strip starts a page, and inside a strip
// a page starts before lines lpp, 2 lpp, ...), without the text file's separator lines.
//
// Fails as the paged text does, before anything is laid out: cpl = 1 -> EDivByZero, lpp = 0
// while there is a line -> EDivByZero; more rows than maxRows -> EOutOfMemory (W = MaxInt with
// cpl = 2 would otherwise ask for billions).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Characters [firstChar, firstChar + chars) of pane line `line`, which are its bytes
// [firstByte, endByte).
struct TPageRow {
    std::size_t line = 0;
    std::size_t firstChar = 0;
    std::size_t chars = 0;
    std::size_t firstByte = 0;
    std::size_t endByte = 0;
};
using TPage = std::vector<TPageRow>;

inline constexpr std::size_t kMaxPageRows = std::size_t{1} << 22;

std::vector<TPage> LayOutPages(const std::vector<std::string>& lines, std::int32_t width,
                               std::int32_t charsPerLine, std::int32_t linesPerPage,
                               std::size_t maxRows = kMaxPageRows);

// The widest row of the pages, in characters.
std::size_t WidestRow(const std::vector<TPage>& pages);

// Walks the code points of UTF-8 text as the paged export counts characters: a byte that is not
// a well-formed part of a code point stands for U+FFFD, so malformed text still shows as one
// character per counted position.
class TCodePoints {
public:
    explicit TCodePoints(std::string_view text) : m_text(text) {}
    // False at the end; otherwise the next code point.
    bool Next(char32_t& codePoint);

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

} // namespace engine
