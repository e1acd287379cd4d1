#include "cli/CliRun.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

#include "engine/AnsiText.h"
#include "engine/PagedExport.h"
#include "engine/PictureConversion.h"
#include "engine/TCharTable.h"
#include "export/TextArtExport.h"
#include "image/GreyCopy.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Streams.h"

namespace cli {
namespace {

// Thrown by the printing sink as soon as the output stream refuses a line, so a full disk or a
// closed pipe stops the conversion instead of letting it run on into nowhere.
struct OutputRefused {};

constexpr const char* kOutputRefused = "Cannot write to the standard output.";
constexpr const char* kStandardInput = "-";

// The character table as the window's controls would leave it after these options.
void ApplyTableOptions(const CliOptions& options, engine::THeadlessCharTable& controls) {
    engine::TCharTable& table = controls.table;
    table.FormCreate();
    if (options.generator) {
        // Choosing it in the menu, then pressing the button.
        table.N4Click(static_cast<int>(*options.generator));
        controls.ClickGenerator();
    }
    if (options.preset) {
        controls.SetPresetIndex(*options.preset);
        table.ComboBox1Change();
    }
    if (options.boundsText)
        controls.BoundCount().SetText(*options.boundsText);
    for (const CellAssignment& cell : options.cells)
        controls.Grid().SetCell(cell.column, cell.row, cell.text);
}

void PrintTable(engine::THeadlessCharTable& controls, std::ostream& out) {
    const std::int32_t rows = controls.BoundCount().Value();
    for (std::int32_t row = 1; row <= rows; ++row)
        out << controls.Grid().Cell(0, row) << '\t' << controls.Grid().Cell(1, row) << '\n';
}

// What a conversion needs besides the picture; read-only, so pictures can share it across
// threads.
struct Conversion {
    const CliOptions& options;
    const toolkit::TGridCells& table;
    std::int32_t boundCount;
    const std::vector<std::uint8_t>& standardInput;
};

// The convert button's steps for one picture; each finished line goes to sink, or with its
// colours to coloredSink when one is given. The picture is read as far as its grey copy samples
// it, never whole.
void Convert(const Conversion& conversion, const std::string& name, const engine::LineSink& sink,
             const engine::ColoredLineSink& coloredSink = nullptr) {
    const std::unique_ptr<image::TSampledPicture> picture =
        name == kStandardInput ? image::TSampledPicture::OpenBytes(conversion.standardInput)
                               : image::TSampledPicture::OpenFile(name);
    engine::TConversionRequest request;
    request.sourceWidth = picture->Width();
    request.sourceHeight = picture->Height();
    request.width = conversion.options.width;
    request.ratioIndex = conversion.options.ratioIndex;
    request.table = &conversion.table;
    request.boundCount = conversion.boundCount;
    // The window has read the whole picture before it works out the height, so a height that
    // cannot be had fails only after the picture's own failures.
    try {
        engine::ConversionHeight(request.width, request.sourceWidth, request.sourceHeight,
                                 request.ratioIndex);
    } catch (const toolkit::EDivByZero&) {
        throw; // no picture: nothing was read
    } catch (...) {
        picture->ReadAll();
        throw;
    }
    image::TGreyCopy grey;
    if (coloredSink) {
        engine::ConvertPictureInColor(
            request,
            [&](std::int32_t w, std::int32_t h) {
                picture->DrawGreyCopy(w, h, grey, image::TSampledPicture::Colors::With);
                return engine::TCellRasters{
                    engine::TGreyRasterView(grey.pixels.data(), w, h, w),
                    engine::TColorRasterView(grey.colors.data(), w, h, std::ptrdiff_t{w} * 3)};
            },
            coloredSink);
        return;
    }
    engine::ConvertPicture(
        request,
        [&](std::int32_t w, std::int32_t h) {
            picture->DrawGreyCopy(w, h, grey);
            return engine::TGreyRasterView(grey.pixels.data(), w, h, w);
        },
        nullptr, sink);
}

// A converted line as the chosen format prints it: plain, or with colour escapes for ansi.
engine::ColoredLineSink AnsiSink(const CliOptions& options, const engine::LineSink& sink) {
    const engine::AnsiPalette palette = options.color == ColorMode::Colors256
                                            ? engine::AnsiPalette::Colors256
                                            : engine::AnsiPalette::TrueColor;
    return [palette, sink](std::string line, engine::LineColors colors) {
        sink(engine::AnsiLine(line, colors, palette));
    };
}

// Converts printing each line through sink, in colour for ansi --color.
void ConvertLines(const Conversion& conversion, const std::string& name,
                  const engine::LineSink& sink) {
    const CliOptions& options = conversion.options;
    if (options.format == OutputFormat::Ansi && options.color != ColorMode::None)
        Convert(conversion, name, sink, AnsiSink(options, sink));
    else
        Convert(conversion, name, sink);
}

// The error box's text of the exception in flight; rethrows what is not a reportable failure.
std::string FailureText() {
    try {
        throw;
    } catch (const toolkit::Exception& e) {
        return toolkit::ErrorBoxText(e.Message());
    } catch (const std::bad_alloc&) {
        return toolkit::ErrorBoxText(toolkit::EOutOfMemory().Message());
    }
}

struct PictureResult {
    std::string text; // the finished lines, each ended by '\n'
    std::optional<std::string> failure;
};

PictureResult ConvertToText(const Conversion& conversion, const std::string& name) {
    PictureResult result;
    try {
        ConvertLines(conversion, name, [&result](std::string line) {
            result.text += line;
            result.text += '\n';
        });
    } catch (...) {
        result.failure = FailureText();
    }
    return result;
}

// Several pictures: converted on every core, printed one after another in the order given.
// A picture that fails is reported with its name and the others go on; the status says 1 then.
int RunBatch(const Conversion& conversion, std::ostream& out, std::ostream& err) {
    const std::vector<std::string>& names = conversion.options.pictures;
    const std::size_t count = names.size();
    const std::size_t workers =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, count);
    // Pictures converted ahead of the one being printed, at most: output waiting to be printed
    // stays small whatever the number of pictures.
    const std::size_t ahead = 4 * workers;

    std::vector<std::optional<PictureResult>> results(count);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;
    std::size_t printed = 0;
    bool stop = false;

    auto work = [&] {
        for (;;) {
            std::size_t index;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || next >= count || next < printed + ahead; });
                if (stop || next >= count)
                    return;
                index = next++;
            }
            PictureResult result = ConvertToText(conversion, names[index]);
            {
                std::lock_guard lock(mutex);
                results[index] = std::move(result);
            }
            changed.notify_all();
        }
    };
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < workers; ++i)
        threads.emplace_back(work);
    // However printing ends, the workers are told to stop before they are joined.
    struct StopWorkers {
        std::mutex& mutex;
        std::condition_variable& changed;
        bool& stop;
        ~StopWorkers() {
            {
                std::lock_guard lock(mutex);
                stop = true;
            }
            changed.notify_all();
        }
    } stopWorkers{mutex, changed, stop};

    int status = 0;
    for (std::size_t index = 0; index < count; ++index) {
        PictureResult result;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return results[index].has_value(); });
            result = std::move(*results[index]);
            results[index].reset();
        }
        out << result.text << std::flush;
        if (!out) {
            err << kOutputRefused << '\n';
            status = 1;
            break;
        }
        if (result.failure) {
            err << names[index] << ": " << *result.failure << '\n';
            status = 1;
        }
        {
            std::lock_guard lock(mutex);
            printed = index + 1;
        }
        changed.notify_all();
    }
    return status;
}

textexport::ExportFormat ExportFormatOf(OutputFormat format) {
    switch (format) {
    case OutputFormat::Html:
        return textexport::ExportFormat::Html;
    case OutputFormat::Png:
        return textexport::ExportFormat::Png;
    case OutputFormat::Svg:
        return textexport::ExportFormat::Svg;
    case OutputFormat::Text:
    case OutputFormat::Ansi:
        break;
    }
    return textexport::ExportFormat::Text;
}

// A web page or a picture of the pages, saved or printed whole.
void RunExport(const Conversion& conversion, std::ostream& out) {
    const CliOptions& options = conversion.options;
    std::vector<std::string> lines;
    std::vector<engine::LineColors> colors;
    auto keepLine = [&lines](std::string line) { lines.push_back(std::move(line)); };
    if (options.color != ColorMode::None)
        Convert(conversion, options.pictures.front(), keepLine,
                [&](std::string line, engine::LineColors lineColors) {
                    lines.push_back(std::move(line));
                    colors.push_back(std::move(lineColors));
                });
    else
        Convert(conversion, options.pictures.front(), keepLine);
    textexport::TExportRequest request;
    request.lines = &lines;
    request.colors = options.color != ColorMode::None ? &colors : nullptr;
    request.width = options.width;
    request.charsPerLine = options.charsPerLine;
    request.linesPerPage = options.linesPerPage;
    const textexport::ExportFormat format = ExportFormatOf(options.format);
    if (options.saveFile) {
        textexport::SaveExport(*options.saveFile, format, request);
        return;
    }
    const std::string bytes = textexport::BuildExport(format, request);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void RunOne(const Conversion& conversion, std::ostream& out) {
    const CliOptions& options = conversion.options;
    const std::string& name = options.pictures.front();
    if (options.format != OutputFormat::Text && options.format != OutputFormat::Ansi) {
        RunExport(conversion, out);
        return;
    }
    if (!options.saveFile) {
        ConvertLines(conversion, name, [&out](std::string line) {
            out << line << '\n' << std::flush;
            if (!out)
                throw OutputRefused{};
        });
        return;
    }
    std::vector<std::string> lines;
    ConvertLines(conversion, name,
                 [&lines](std::string line) { lines.push_back(std::move(line)); });
    if (options.format == OutputFormat::Ansi) {
        // Lines for a terminal are not paged: they are saved as they would be printed.
        std::string text;
        for (const std::string& line : lines)
            text += line + '\n';
        toolkit::TFileStream file(*options.saveFile, toolkit::FileMode::Create);
        file.WriteBuffer(text.data(), text.size());
        file.Commit();
        return;
    }
    engine::SavePagedText(*options.saveFile, lines, options.width, options.charsPerLine,
                          options.linesPerPage);
}

std::vector<std::uint8_t> ReadAllOf(std::istream& in) {
    std::vector<std::uint8_t> bytes;
    char buffer[64 * 1024];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    return bytes;
}

} // namespace

int RunCli(const CliOptions& options, std::ostream& out, std::ostream& err, std::istream& in) {
    try {
        engine::THeadlessCharTable controls;
        ApplyTableOptions(options, controls);
        if (options.printTable) {
            PrintTable(controls, out);
        } else {
            std::vector<std::uint8_t> standardInput;
            if (std::ranges::find(options.pictures, kStandardInput) != options.pictures.end())
                standardInput = ReadAllOf(in);
            const Conversion conversion{options, controls.Grid(), controls.BoundCount().Value(),
                                        standardInput};
            if (options.pictures.size() > 1)
                return RunBatch(conversion, out, err);
            RunOne(conversion, out);
        }
        // Whatever is still buffered has to reach its file before success can be claimed.
        out.flush();
        if (!out)
            throw OutputRefused{};
        return 0;
    } catch (const OutputRefused&) {
        err << kOutputRefused << '\n';
    } catch (...) {
        err << FailureText() << '\n';
    }
    return 1;
}

} // namespace cli
