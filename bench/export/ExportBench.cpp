// The exports of a 400 x 300-cell colour art, and the conversion's scan with and without the
// colour of each cell.
//
// Targets (Release): web page <= 30 ms, SVG <= 30 ms, PNG at 10 points <= 150 ms; the plain scan
// as fast as before colours existed (ScanPlain against ScanInColor shows what colour costs).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/TCharTable.h"
#include "engine/TextScan.h"
#include "export/TextArtExport.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

struct Art {
    std::vector<std::uint8_t> grey;
    std::vector<std::uint8_t> rgb;
    std::vector<std::string> lines;
    std::vector<engine::LineColors> colors;
    engine::THeadlessCharTable table;

    Art() : grey(kWidth * kHeight), rgb(kWidth * kHeight * 3) {
        // A smooth photo-like picture: gradients with some detail.
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * kWidth + x;
                rgb[3 * i] = static_cast<std::uint8_t>(x * 255 / kWidth);
                rgb[3 * i + 1] = static_cast<std::uint8_t>(y * 255 / kHeight);
                rgb[3 * i + 2] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
                grey[i] = static_cast<std::uint8_t>(
                    (rgb[3 * i] * 3 + rgb[3 * i + 1] * 6 + rgb[3 * i + 2]) / 10);
            }
        table.table.FormCreate();
        engine::ScanToColoredText(Grey(), Colors(), table.grid, 7,
                                  [this](std::string line, engine::LineColors lineColors) {
                                      lines.push_back(std::move(line));
                                      colors.push_back(std::move(lineColors));
                                  });
    }
    engine::TGreyRasterView Grey() const {
        return engine::TGreyRasterView(grey.data(), kWidth, kHeight, kWidth);
    }
    engine::TColorRasterView Colors() const {
        return engine::TColorRasterView(rgb.data(), kWidth, kHeight, kWidth * 3);
    }
};

const Art& TheArt() {
    static const Art art;
    return art;
}

void ScanPlain(benchmark::State& state) {
    const Art& art = TheArt();
    for (auto _ : state) {
        std::size_t bytes = 0;
        engine::ScanToText(art.Grey(), art.table.grid, 7,
                           [&](std::string line) { bytes += line.size(); });
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(ScanPlain)->Unit(benchmark::kMillisecond);

void ScanInColor(benchmark::State& state) {
    const Art& art = TheArt();
    for (auto _ : state) {
        std::size_t bytes = 0;
        engine::ScanToColoredText(art.Grey(), art.Colors(), art.table.grid, 7,
                                  [&](std::string line, engine::LineColors colors) {
                                      bytes += line.size() + colors.size();
                                  });
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(ScanInColor)->Unit(benchmark::kMillisecond);

// The whole art on one page, as wide as it is.
void Export(benchmark::State& state, textexport::ExportFormat format, bool inColor) {
    const Art& art = TheArt();
    textexport::TExportRequest request;
    request.lines = &art.lines;
    request.colors = inColor ? &art.colors : nullptr;
    request.width = kWidth;
    request.charsPerLine = kWidth + 2; // a single strip
    request.linesPerPage = kHeight;
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = textexport::BuildExport(format, request).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK_CAPTURE(Export, ColorHtml, textexport::ExportFormat::Html, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, ColorSvg, textexport::ExportFormat::Svg, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, ColorPng, textexport::ExportFormat::Png, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, MonoPng, textexport::ExportFormat::Png, false)
    ->Unit(benchmark::kMillisecond);

} // namespace
