#include "cli/CliOptions.h"

#include <array>
#include <string_view>

#include "export/TextArtExport.h"
#include "toolkit/IntText.h"

namespace cli {
namespace {

constexpr std::array<std::string_view, 4> kGeneratorNames = {"manual", "exponential", "fibonacci",
                                                             "uniform"};
constexpr std::array<std::string_view, 3> kRatioNames = {"1:1", "2:3", "1:2"};
// In OutputFormat's order.
constexpr std::array<std::string_view, 5> kFormatNames = {"text", "html", "png", "svg", "ansi"};

// Without --format the saved file's extension decides; the paged text for any other name.
OutputFormat FormatOfSaveName(const std::string& name) {
    switch (textexport::FormatOfFileName(name).value_or(textexport::ExportFormat::Text)) {
    case textexport::ExportFormat::Html:
        return OutputFormat::Html;
    case textexport::ExportFormat::Png:
        return OutputFormat::Png;
    case textexport::ExportFormat::Svg:
        return OutputFormat::Svg;
    case textexport::ExportFormat::Text:
        break;
    }
    return OutputFormat::Text;
}

std::int32_t IntegerArgument(std::string_view option, const std::string& text) {
    if (const auto value = toolkit::TryStrToInt(text))
        return *value;
    throw CliUsageError(std::string(option) + " needs an integer, not '" + text + "'");
}

template <std::size_t N>
std::int32_t NameIndex(std::string_view option, const std::array<std::string_view, N>& names,
                       const std::string& text) {
    for (std::size_t i = 0; i < N; ++i)
        if (names[i] == text)
            return static_cast<std::int32_t>(i);
    std::string choices;
    for (auto name : names)
        choices += (choices.empty() ? "" : ", ") + std::string(name);
    throw CliUsageError(std::string(option) + " is one of " + choices + ", not '" + text + "'");
}

// "C,R=TEXT": the text may hold anything, "=" and "," included.
CellAssignment ParseCell(const std::string& text) {
    const auto equals = text.find('=');
    const auto comma = text.find(',');
    if (equals == std::string::npos || comma == std::string::npos || comma > equals)
        throw CliUsageError("--cell needs C,R=TEXT, not '" + text + "'");
    CellAssignment cell;
    cell.column = IntegerArgument("--cell", text.substr(0, comma));
    cell.row = IntegerArgument("--cell", text.substr(comma + 1, equals - comma - 1));
    cell.text = text.substr(equals + 1);
    return cell;
}

} // namespace

CliOptions ParseCliOptions(const std::vector<std::string>& args) {
    CliOptions options;
    std::vector<std::string> pictures;
    std::optional<OutputFormat> format;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw CliUsageError(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--generator") {
            options.generator = static_cast<Generator>(NameIndex(arg, kGeneratorNames, value()));
        } else if (arg == "--preset") {
            const std::int32_t preset = IntegerArgument(arg, value());
            if (preset < 0 || preset > 3)
                throw CliUsageError("--preset is 0, 1, 2 or 3");
            options.preset = preset;
        } else if (arg == "--bounds") {
            options.boundsText = value();
        } else if (arg == "--cell") {
            options.cells.push_back(ParseCell(value()));
        } else if (arg == "--width") {
            const std::string& width = value();
            options.widthAuto = width == "auto";
            if (!options.widthAuto)
                options.width = IntegerArgument(arg, width);
        } else if (arg == "--format") {
            format = static_cast<OutputFormat>(NameIndex(arg, kFormatNames, value()));
        } else if (arg == "--color") {
            options.color = ColorMode::TrueColor;
        } else if (arg.starts_with("--color=")) {
            const std::string mode = arg.substr(8);
            if (mode != "256" && mode != "24bit")
                throw CliUsageError("--color= is 256 or 24bit, not '" + mode + "'");
            options.color = mode == "256" ? ColorMode::Colors256 : ColorMode::TrueColor;
        } else if (arg == "--ratio") {
            options.ratioIndex = NameIndex(arg, kRatioNames, value());
        } else if (arg == "--print-table") {
            options.printTable = true;
        } else if (arg == "--save") {
            options.saveFile = value();
        } else if (arg == "--cpl") {
            options.charsPerLine = IntegerArgument(arg, value());
        } else if (arg == "--lpp") {
            options.linesPerPage = IntegerArgument(arg, value());
        } else if (arg.starts_with("--") && arg.size() > 2) {
            throw CliUsageError("unknown option " + arg);
        } else {
            pictures.push_back(arg == "--" && i + 1 < args.size() ? args[++i] : arg);
        }
    }
    if (options.help || options.version)
        return options;
    if (pictures.empty() && !options.printTable)
        throw CliUsageError("no PICTURE given");
    options.format = format.value_or(options.saveFile ? FormatOfSaveName(*options.saveFile)
                                                      : OutputFormat::Text);
    if (options.color != ColorMode::None && options.format == OutputFormat::Text)
        throw CliUsageError("--color needs a format with colour: html, png, svg or ansi");
    // Paged text and pictures are one picture's.
    const bool paged = options.format != OutputFormat::Text && options.format != OutputFormat::Ansi;
    if (pictures.size() > 1 && (options.saveFile || paged))
        throw CliUsageError("more than one PICTURE given");
    options.pictures = std::move(pictures);
    return options;
}

std::string CliVersionText() {
    return std::string("charvane-cli (Charvane) ") + CHARVANE_VERSION + "\n";
}

std::string CliHelpText() {
    return R"(Usage: charvane-cli [OPTIONS] PICTURE
       charvane-cli [OPTIONS] PICTURE PICTURE...

Turns a Windows bitmap, JPEG or PNG picture into text art, exactly as Charvane's window
does, and prints the lines. A PICTURE whose name ends in ".jpg" (any letter case) is read as
JPEG; any other is known by its first bytes: JPEG, PNG, else a bitmap. "-" reads a picture
from standard input, known by its first bytes too.

Several pictures convert at once on every core and print one after another in the order
given; a picture that fails is reported with its name and the others still convert.

The character table starts as the window's does (preset "Цифры+Знаки", uniform bounds).
Options change it in this order, whatever their order here:
  --generator NAME   choose the bound generator, then run it:
                     manual, exponential, fibonacci or uniform
  --preset I         choose preset I of the list: 0 "Цифры 8651", 1 "Цифры 01",
                     2 "Цифры+Знаки", 3 "Знаки"
  --bounds N         type N into the number-of-bounds field
  --cell C,R=TEXT    set column C (0 symbol, 1 bound) of row R to TEXT; repeatable

Conversion:
  --width N          width in symbols (default 80); "auto" is the terminal's width when
                     the output goes to a terminal, else 80
  --ratio R          height to width of a text cell: 1:1, 2:3 (default) or 1:2

Output:
  --print-table      print rows 1 to N of the table (symbol, a tab, bound) and stop;
                     no PICTURE is needed then
  --save FILE        write the paged text (or the --format) to FILE instead of printing
                     the lines (one PICTURE only)
  --cpl N            characters per line of a page (default 55)
  --lpp N            lines per page (default 42)
  --format F         text (default), html, png, svg or ansi; with --save and no --format,
                     a FILE ending in ".html" or ".htm", ".png" or ".svg" chooses that format
                       text  the lines, or with --save the paged text
                       html  a web page, each page of the paged text a block of its own
                       png   a picture of the pages, drawn in the text pane's font
                       svg   a picture of the pages as SVG text rows
                       ansi  the lines for a terminal (in colour with --color)
                     html, png and svg are laid out in pages as --cpl and --lpp say; a PNG
                     is not written to a terminal: use --save or a redirect
  --color[=MODE]     the picture's colours (html, png, svg, ansi); for ansi 24-bit
                     escape sequences, or with --color=256 the 256-colour palette
  --help             display this help and exit
  --version          output version information and exit

Exit status: 0 on success; 1 when the conversion or the export fails (the message the
window's error box would show goes to standard error, and the lines finished before a failing
row are still printed), also when only one of several pictures fails; 2 for a malformed
command line (also a PNG asked for on a terminal).
)";
}

} // namespace cli
