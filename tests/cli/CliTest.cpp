#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/CliOptions.h"
#include "cli/CliRun.h"
#include "engine/PagedExport.h"
#include "image/DIB.h"
#include "tests/image/PNGMaker.h"
#include "tests/support/Files.h"
#include "tests/support/Process.h"
#include "tests/support/TempFolder.h"

using namespace cli;
using charvane::testing::ReadFile;
using charvane::testing::RunProgram;

namespace {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult RunTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCli(ParseCliOptions(args), out, err);
    return {status, out.str(), err.str()};
}

std::filesystem::path TempDir() {
    return charvane::testing::ProcessTempFolder("charvane-cli");
}

// Makes a picture with ImageMagick, as a user's picture tool would; empty when it is missing.
std::string MagickPicture(const std::string& name, const std::string& drawing,
                          const std::string& format = "") {
    const std::string path = (TempDir() / name).string();
    const std::string command = "convert " + drawing + " " + format + path + " 2>/dev/null";
    return std::system(command.c_str()) == 0 ? path : "";
}

const std::string kSample = CHARVANE_SOURCE_DIR "/assets/sample.bmp";

// Runs the program with its output on a pseudo-terminal of the given width; what it wrote
// there (both streams, line ends as the program wrote them) and its exit status.
charvane::testing::ProgramRun RunOnTerminal(std::vector<std::string> args, int columns) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = 24;
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, &size);
    if (child == 0) {
        args.insert(args.begin(), CHARVANE_CLI);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(CHARVANE_CLI, argv.data());
        _exit(127);
    }
    charvane::testing::ProgramRun run;
    if (child < 0)
        return run;
    char buffer[4096];
    for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;)
        run.out.append(buffer, static_cast<std::size_t>(n));
    close(terminal);
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::erase(run.out, '\r');
    return run;
}

} // namespace

TEST(CliOptions, RefusesMalformedCommandLines) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--save", "x.txt", "a.bmp", "b.bmp"},
                                               {"--width", "ten", "a.bmp"},
                                               {"--ratio", "3:4", "a.bmp"},
                                               {"--generator", "random", "a.bmp"},
                                               {"--preset", "4", "a.bmp"},
                                               {"--cell", "1=x", "a.bmp"},
                                               {"--frobnicate", "a.bmp"},
                                               {"a.bmp", "--save"},
                                               {"--color", "a.bmp"},
                                               {"--color=16", "--format", "ansi", "a.bmp"},
                                               {"--format", "gif", "a.bmp"},
                                               {"--format", "svg", "a.bmp", "b.bmp"}})
        EXPECT_THROW(ParseCliOptions(args), CliUsageError) << ::testing::PrintToString(args);
}

TEST(CliOptions, TheSavedNamesExtensionChoosesTheFormatUnlessOneIsGiven) {
    EXPECT_EQ(ParseCliOptions({"--save", "art.HTM", "a.bmp"}).format, OutputFormat::Html);
    EXPECT_EQ(ParseCliOptions({"--save", "art.png", "a.bmp"}).format, OutputFormat::Png);
    EXPECT_EQ(ParseCliOptions({"--save", "art.svg", "--format", "text", "a.bmp"}).format,
              OutputFormat::Text);
    EXPECT_EQ(ParseCliOptions({"--save", "art.html.txt", "a.bmp"}).format, OutputFormat::Text);
}

TEST(CliOptions, TakesCellTextsAsTheyStand) {
    const CliOptions options = ParseCliOptions({"--cell", "0,2= =,", "--print-table"});
    ASSERT_EQ(options.cells.size(), 1u);
    EXPECT_EQ(options.cells[0].column, 0);
    EXPECT_EQ(options.cells[0].row, 2);
    EXPECT_EQ(options.cells[0].text, " =,");
}

TEST(Cli, AppliesTheTableOptionsInTheWindowsOrder) {
    // The generator runs before the preset, whatever the order given.
    const CliResult result =
        RunTool({"--preset", "3", "--generator", "fibonacci", "--print-table"});
    EXPECT_EQ(result.out, "#\t15\n%\t22\n+\t37\n|\t60\n:\t97\n.\t157\n \t255\n");
    // Typing 9 over 7 blanks row 9 only: row 8 never had a symbol.
    const CliResult typed = RunTool({"--bounds", "9", "--cell", "0,1=@@", "--print-table"});
    EXPECT_EQ(typed.out, "@@\t28\n6\t56\n5\t85\n1\t113\n:\t141\n.\t170\n \t198\n\t226\n \t255\n");
}

TEST(Cli, ConvertsPicturesMadeByAnotherProgram) {
    // Left half black, right half white: two symbols of the darkest class, two blanks.
    const std::string bmp = MagickPicture("halves.bmp",
                                          "-size 40x20 xc:white -fill black "
                                          "-draw 'rectangle 0,0 19,19'",
                                          "BMP3:");
    if (bmp.empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    EXPECT_EQ(RunTool({"--width", "4", "--ratio", "1:1", bmp}).out, "88  \n88  \n");

    const std::string jpg = MagickPicture("halves.JPG", "-size 40x20 xc:white -fill black "
                                                        "-draw 'rectangle 0,0 19,19' -quality 95");
    EXPECT_EQ(RunTool({"--width", "4", "--ratio", "1:1", jpg}).out, "88  \n88  \n");
}

TEST(Cli, AnsiColoursAreThePicturesColoursAtEachCell) {
    // Left half red, right half blue; the text is the plain conversion's.
    const std::string bmp = MagickPicture("red-blue.bmp",
                                          "-size 40x20 xc:'rgb(0,0,255)' -fill 'rgb(255,0,0)' "
                                          "-draw 'rectangle 0,0 19,19'",
                                          "BMP3:");
    if (bmp.empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    const std::string plain = RunTool({"--width", "4", "--ratio", "1:1", bmp}).out;
    const std::string line = plain.substr(0, 2);
    const std::string right = plain.substr(2, 2);
    const std::string ansi =
        RunTool({"--format", "ansi", "--color", "--width", "4", "--ratio", "1:1", bmp}).out;
    const std::string row =
        "\x1b[38;2;255;0;0m" + line + "\x1b[38;2;0;0;255m" + right + "\x1b[0m\n";
    EXPECT_EQ(ansi, row + row);
    EXPECT_EQ(RunTool({"--format", "ansi", "--width", "4", "--ratio", "1:1", bmp}).out, plain);
    const std::string ansi256 =
        RunTool({"--format", "ansi", "--color=256", "--width", "4", "--ratio", "1:1", bmp}).out;
    EXPECT_EQ(ansi256.substr(0, 11), "\x1b[38;5;196m");
}

TEST(Cli, ReadsAPngAsTheSamePictureSavedAsABitmap) {
    // A soft picture with a transparent corner, which shows as white.
    const auto sample = [](int x, int y, int c) -> unsigned {
        if (c == 3)
            return x < 10 && y < 10 ? 0 : 255;
        return static_cast<unsigned>((x * 5 + y * 3 + c * 40) % 256);
    };
    testpng::Recipe recipe;
    recipe.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    const auto png = testpng::MakePNG(61, 43, sample, recipe);
    const auto pngPath = TempDir() / "photo.PNG";
    std::ofstream(pngPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));

    image::TDIB bitmap;
    bitmap.SetSize(61, 43, 24);
    for (int y = 0; y < 43; ++y)
        for (int x = 0; x < 61; ++x) {
            std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
            const bool clear = sample(x, y, 3) == 0;
            for (int c = 0; c < 3; ++c)
                p[2 - c] = clear ? 255 : static_cast<std::uint8_t>(sample(x, y, c));
        }
    const auto bmpPath = TempDir() / "photo.bmp";
    bitmap.SaveToFile(bmpPath.string());

    for (const char* width : {"80", "23"}) {
        const CliResult fromPng = RunTool({"--width", width, pngPath.string()});
        EXPECT_EQ(fromPng.status, 0) << fromPng.err;
        EXPECT_EQ(fromPng.out, RunTool({"--width", width, bmpPath.string()}).out);
    }
    // From standard input too, known by its first bytes.
    std::istringstream in(std::string(png.begin(), png.end()));
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(ParseCliOptions({"--width", "23", "-"}), out, err, in), 0) << err.str();
    EXPECT_EQ(out.str(), RunTool({"--width", "23", bmpPath.string()}).out);
}

TEST(Cli, ReportsFailuresAsTheErrorBoxWordsThem) {
    const auto dir = TempDir();
    const std::string missing = (dir / "missing.bmp").string();
    const CliResult open = RunTool({missing});
    EXPECT_EQ(open.status, 1);
    EXPECT_EQ(open.err, "Cannot open file \"" + missing + "\". No such file or directory.\n");

    // A JPEG named .jpeg is known by its bytes and prints what it prints named .jpg; what is
    // no picture at all still gets the bitmap reader's word for it.
    const auto jpeg = dir / "sample.jpeg";
    std::filesystem::copy_file(CHARVANE_SOURCE_DIR "/assets/sample.jpg", jpeg,
                               std::filesystem::copy_options::overwrite_existing);
    const CliResult renamed = RunTool({jpeg.string()});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(renamed.out, RunTool({CHARVANE_SOURCE_DIR "/assets/sample.jpg"}).out);
    charvane::testing::WriteFile(dir / "notes.jpeg", "not a picture");
    EXPECT_EQ(RunTool({(dir / "notes.jpeg").string()}).err, "DIB is invalid.\n");

    EXPECT_EQ(RunTool({"--width", "0", kSample}).err, "Canvas does not allow drawing.\n");
    // Far too wide for memory, whether or not the size would still fit a bitmap header.
    EXPECT_EQ(RunTool({"--width", "30000", kSample}).err, "Out of memory.\n");
    EXPECT_EQ(RunTool({"--width", "100000", kSample}).err, "Out of memory.\n");
    EXPECT_EQ(RunTool({"--bounds", "-1", kSample}).err, "List index out of bounds (-1)\n");
}

TEST(Cli, FailsWhenTheSavedFileCannotBeWritten) {
    const CliResult full = RunTool({"--save", "/dev/full", kSample});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "Cannot write file \"/dev/full\". No space left on device.\n");
}

TEST(Cli, KeepsTheLinesFinishedBeforeABadBound) {
    // The sky is darker than the first bound but the snow is not: rows of sky come out, then the
    // first row that reaches the bad third bound stops the conversion.
    const CliResult result = RunTool({"--cell", "1,3=abc", "--bounds", "7", kSample});
    const CliResult clean = RunTool({kSample});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "'abc' is not a valid integer value.\n");
    EXPECT_EQ(clean.out.substr(0, result.out.size()), result.out);
    EXPECT_LT(result.out.size(), clean.out.size());
}

TEST(Cli, SavesTheSameBytesAsThePagedExportOfItsLines) {
    const auto file = TempDir() / "paged.txt";
    const CliResult printed = RunTool({"--width", "108", kSample});
    ASSERT_EQ(RunTool({"--width", "108", "--save", file.string(), kSample}).status, 0);
    std::vector<std::string> lines;
    std::istringstream in(printed.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    EXPECT_EQ(ReadFile(file), engine::BuildPagedText(lines, 108, 55, 42));
}

TEST(Cli, OutputThatCannotBeWrittenIsAFailure) {
    // Printed lines, stopped at the first one refused, and a table that only fails when flushed.
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{kSample}, {"--print-table"}}) {
        std::ofstream full("/dev/full");
        std::ostringstream err;
        EXPECT_EQ(RunCli(ParseCliOptions(args), full, err), 1) << args[0];
        EXPECT_EQ(err.str(), "Cannot write to the standard output.\n") << args[0];
    }
}

TEST(CliProgram, ExitStatusTellsSuccessFailureAndMisuse) {
    const std::string cli = CHARVANE_CLI;
    const auto full = RunProgram(cli + " '" + kSample + "'", "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "Cannot write to the standard output.\n");
    EXPECT_EQ(RunProgram(cli + " --help", "/dev/full").status, 1);

    const auto help = RunProgram(cli + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: charvane-cli [OPTIONS] PICTURE\n")) << help.out;
    EXPECT_EQ(help.err, "");

    const auto usage = RunProgram(cli + " --width ten '" + kSample + "'");
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.out, "");
    EXPECT_EQ(usage.err, "charvane-cli: --width needs an integer, not 'ten'\n"
                         "Try 'charvane-cli --help' for more information.\n");

    const auto fine = RunProgram(cli + " --width 8 '" + kSample + "'");
    EXPECT_EQ(fine.status, 0);
    EXPECT_EQ(fine.out, RunTool({"--width", "8", kSample}).out);
}

TEST(CliProgram, WidthAutoAndPicturesFollowTheTerminal) {
    const auto narrow = RunOnTerminal({"--width", "auto", kSample}, 37);
    EXPECT_EQ(narrow.status, 0) << narrow.out;
    std::istringstream lines(narrow.out);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count)
        EXPECT_EQ(line.size(), 37u) << line;
    EXPECT_GT(count, 0);
    // Not a terminal: the default width.
    EXPECT_EQ(RunProgram(std::string(CHARVANE_CLI) + " --width auto '" + kSample + "'").out,
              RunTool({kSample}).out);

    const auto png = RunOnTerminal({"--format", "png", kSample}, 80);
    EXPECT_EQ(png.status, 2);
    EXPECT_NE(png.out.find("not shown on a terminal"), std::string::npos) << png.out;
    const auto redirected =
        RunProgram(std::string(CHARVANE_CLI) + " --format png '" + kSample + "'");
    EXPECT_EQ(redirected.status, 0) << redirected.err;
    EXPECT_TRUE(redirected.out.starts_with("\x89PNG\r\n")) << redirected.err;
}

TEST(CliBatch, PrintsInTheOrderGivenAndNamesThePictureThatFails) {
    const std::string jpeg = CHARVANE_SOURCE_DIR "/assets/sample.jpg";
    const std::string missing = (TempDir() / "missing.bmp").string();
    const std::string bmpText = RunTool({"--width", "30", kSample}).out;
    const std::string jpegText = RunTool({"--width", "30", jpeg}).out;
    // More pictures than are converted ahead of the printing, the bad one among them.
    std::vector<std::string> args = {"--width", "30"};
    std::string expected;
    for (int i = 0; i < 12; ++i) {
        args.push_back(i % 2 ? jpeg : kSample);
        expected += i % 2 ? jpegText : bmpText;
        if (i == 4)
            args.push_back(missing);
    }
    const CliResult batch = RunTool(args);
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(batch.out, expected);
    EXPECT_EQ(batch.err, missing + ": " + RunTool({missing}).err);
    EXPECT_EQ(RunTool({kSample, jpeg}).status, 0);
}

TEST(CliBatch, ReadsAPictureFromStandardInputByItsFirstBytes) {
    for (const std::string& file :
         {kSample, std::string(CHARVANE_SOURCE_DIR "/assets/sample.jpg")}) {
        std::istringstream in(ReadFile(file));
        std::ostringstream out, err;
        EXPECT_EQ(RunCli(ParseCliOptions({"--width", "40", "-"}), out, err, in), 0) << err.str();
        EXPECT_EQ(out.str(), RunTool({"--width", "40", file}).out) << file;
    }
}
