#pragma once
// The command line of charvane-cli:
//
//     charvane-cli [OPTIONS] PICTURE...
//
// Parsing only: it says what was asked and refuses malformed command lines with a usage
// error (CliUsageError); applying the options is the tool's main's job, in the fixed order
// generator, preset, bounds, cells, width/ratio, whatever their order on the command line.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

class CliUsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Generator menu items by the image index each selects.
enum class Generator : std::int32_t { Manual = 0, Exponential = 1, Fibonacci = 2, Uniform = 3 };

// What the lines become: the paged text (printed as plain lines), a web page, a PNG or SVG
// picture, or lines with colour escape sequences for a terminal.
enum class OutputFormat { Text, Html, Png, Svg, Ansi };
enum class ColorMode { None, TrueColor, Colors256 };

struct CellAssignment {
    std::int32_t column = 0;
    std::int32_t row = 0;
    std::string text;
};

struct CliOptions {
    bool help = false;
    bool version = false;
    std::optional<Generator> generator;
    std::optional<std::int32_t> preset;
    std::optional<std::string> boundsText; // typed into the bounds field as it stands
    std::vector<CellAssignment> cells;
    std::int32_t width = 80;
    bool widthAuto = false;      // --width auto: the caller puts the terminal's width in width
    std::int32_t ratioIndex = 1; // "1:1", "2:3", "1:2"
    bool printTable = false;
    std::optional<std::string> saveFile;
    std::int32_t charsPerLine = 55;
    std::int32_t linesPerPage = 42;
    // --format, or else what the --save name's extension says, or else text.
    OutputFormat format = OutputFormat::Text;
    ColorMode color = ColorMode::None;
    std::vector<std::string> pictures; // "-" is standard input
};

CliOptions ParseCliOptions(const std::vector<std::string>& args);

// The text --help prints.
std::string CliHelpText();
// The line --version prints.
std::string CliVersionText();

} // namespace cli
