#pragma once
// The paged text export: the text pane's lines cut into vertical strips of at most cpl
// characters (consecutive strips share one column: the stride is cpl - 1), each strip written
// top to bottom, with a page separator line in front of every run of lpp lines. The number of
// strips is S + 1 with S = W div (cpl - 1) (none when S < 0). A separator is the byte 0x0E
// followed by a copy of the line written just before it; the very first one copies an empty
// line. Every line, the last too, ends with CR LF.
//
// Characters are UTF-8 code points; a byte that is not a well-formed part of a code point
// (a stray continuation byte) stays with the character before it, so a strip never cuts a
// code point and malformed text still splits deterministically. Strip k of a line is the
// characters from (cpl - 1) * k on (counted from 0; a start before the line's beginning is
// taken as its beginning), at most cpl of them: empty where the line has ended or cpl <= 0.
// Positions are computed exactly in 64 bits.
//
// Failures, all raised before anything is written: cpl = 1 -> EDivByZero; lpp = 0 while there
// is a line to write -> EDivByZero; output larger than maxBytes -> EOutOfMemory (the size is
// worked out arithmetically before any text is built, so W = MaxInt with cpl = 2 is refused at
// once); a file that cannot be created -> EFCreateError "Cannot create file "%s". %s" with the
// absolute name and the system's error text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

inline constexpr char kPageSeparator = '\x0E';
// A text file beyond this is no printable text art; refusing it keeps memory bounded.
inline constexpr std::size_t kMaxExportBytes = std::size_t{256} << 20;

// The bytes of the file.
std::string BuildPagedText(const std::vector<std::string>& lines, std::int32_t width,
                           std::int32_t charsPerLine, std::int32_t linesPerPage,
                           std::size_t maxBytes = kMaxExportBytes);

// Builds the text, then creates (or replaces) the file and writes it.
void SavePagedText(const std::string& fileName, const std::vector<std::string>& lines,
                   std::int32_t width, std::int32_t charsPerLine, std::int32_t linesPerPage,
                   std::size_t maxBytes = kMaxExportBytes);

} // namespace engine
