#include "engine/InkRuns.h"

namespace engine {

void ForEachInkRun(const TInkSource& source, const TPageRow& row, const RunSink& sink) {
    const std::string& line = source.lines[row.line];
    const LineColors* colors =
        source.colors && row.line < source.colors->size() ? &(*source.colors)[row.line] : nullptr;
    TCodePoints chars(std::string_view(line).substr(row.firstByte, row.endByte - row.firstByte));
    std::u32string run;
    TRgb runInk;
    bool inked = false; // whether the run has met a character with ink yet
    std::size_t index = row.firstChar;
    for (char32_t c; chars.Next(c); ++index) {
        if (c != U' ') {
            TRgb ink;
            if (colors && index < colors->size())
                ink = source.inkOnWhite ? InkOnWhite((*colors)[index]) : (*colors)[index];
            if (inked && ink != runInk) {
                sink(runInk, run);
                run.clear();
            }
            runInk = ink;
            inked = true;
        }
        run += c;
    }
    if (!run.empty())
        sink(runInk, run);
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendMarkupChar(std::string& out, char32_t c) {
    switch (c) {
    case U'<':
        out += "&lt;";
        return;
    case U'>':
        out += "&gt;";
        return;
    case U'&':
        out += "&amp;";
        return;
    case U'"':
        out += "&quot;";
        return;
    case U'\'':
        out += "&#39;";
        return;
    default:
        break;
    }
    const bool control = (c < 0x20 && c != U'\t') || c == 0x7F || (c >= 0x80 && c < 0xA0) ||
                         c == 0xFFFE || c == 0xFFFF;
    AppendUtf8(out, control ? U'\uFFFD' : c);
}

} // namespace engine
