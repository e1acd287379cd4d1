#include "cli/CliRun.h"

#include <new>
#include <vector>

#include "engine/PagedExport.h"
#include "engine/PictureConversion.h"
#include "engine/TCharTable.h"
#include "image/PictureFile.h"
#include "toolkit/Exceptions.h"

namespace cli {
namespace {

// Thrown by the printing sink as soon as the output stream refuses a line, so a full disk or a
// closed pipe stops the conversion instead of letting it run on into nowhere.
struct OutputRefused {};

constexpr const char* kOutputRefused = "Cannot write to the standard output.";

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

// The convert button's steps; each finished line goes to sink.
void Convert(const CliOptions& options, engine::THeadlessCharTable& controls,
             const engine::LineSink& sink) {
    image::TDIB picture;
    image::LoadPictureFile(picture, options.picture);
    image::TDIB grey;
    engine::TConversionRequest request;
    request.sourceWidth = picture.Width();
    request.sourceHeight = picture.Height();
    request.width = options.width;
    request.ratioIndex = options.ratioIndex;
    request.table = &controls.Grid();
    request.boundCount = controls.BoundCount().Value();
    engine::ConvertPicture(
        request,
        [&](std::int32_t w, std::int32_t h) {
            image::DrawGreyCopy(picture, grey, w, h);
            const platform::PixelRows rows = grey.Image().Rows();
            return engine::TGreyRasterView(rows.top, rows.width, rows.height, rows.step);
        },
        nullptr, sink);
}

void Run(const CliOptions& options, std::ostream& out) {
    engine::THeadlessCharTable controls;
    ApplyTableOptions(options, controls);
    if (options.printTable) {
        PrintTable(controls, out);
        if (!out.flush())
            throw OutputRefused{};
        return;
    }
    if (!options.saveFile) {
        Convert(options, controls, [&out](std::string line) {
            out << line << '\n' << std::flush;
            if (!out)
                throw OutputRefused{};
        });
        return;
    }
    std::vector<std::string> lines;
    Convert(options, controls, [&lines](std::string line) { lines.push_back(std::move(line)); });
    engine::SavePagedText(*options.saveFile, lines, options.width, options.charsPerLine,
                          options.linesPerPage);
}

} // namespace

int RunCli(const CliOptions& options, std::ostream& out, std::ostream& err) {
    try {
        Run(options, out);
        // Whatever is still buffered has to reach its file before success can be claimed.
        out.flush();
        if (!out)
            throw OutputRefused{};
        return 0;
    } catch (const OutputRefused&) {
        err << kOutputRefused << '\n';
    } catch (const toolkit::Exception& e) {
        err << toolkit::ErrorBoxText(e.Message()) << '\n';
    } catch (const std::bad_alloc&) {
        err << toolkit::ErrorBoxText(toolkit::EOutOfMemory().Message()) << '\n';
    }
    return 1;
}

} // namespace cli
