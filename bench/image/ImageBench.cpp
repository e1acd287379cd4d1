// Reading a large bitmap and the stretched grey drawing the conversion does.

#include <benchmark/benchmark.h>

#include <vector>

#include "image/DIB.h"
#include "toolkit/Streams.h"

namespace {

// A 4000 × 3000 24-bit bitmap file with varied pixels.
const std::vector<std::uint8_t>& LargeBitmapFile() {
    static const std::vector<std::uint8_t> bytes = [] {
        image::TDIB dib;
        dib.SetSize(4000, 3000, 24);
        for (std::int32_t y = 0; y < dib.Height(); ++y) {
            std::uint8_t* row = dib.ScanLine(y);
            for (std::int32_t i = 0; i < dib.WidthBytes(); ++i)
                row[i] = static_cast<std::uint8_t>(i * 31 + y * 7);
        }
        toolkit::TMemoryStream stream;
        dib.SaveToStream(stream);
        return stream.Bytes();
    }();
    return bytes;
}

void ReadLargeBitmap(benchmark::State& state) {
    const auto& bytes = LargeBitmapFile();
    for (auto _ : state) {
        toolkit::TMemoryStream stream(bytes);
        image::TDIB dib;
        dib.LoadFromStream(stream);
        benchmark::DoNotOptimize(dib.Pixels(0, 0));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(ReadLargeBitmap)->Unit(benchmark::kMillisecond);

void StretchToGrey(benchmark::State& state) {
    toolkit::TMemoryStream stream(LargeBitmapFile());
    image::TDIB source;
    source.LoadFromStream(stream);
    const auto w = static_cast<std::int32_t>(state.range(0));
    const auto h = static_cast<std::int32_t>(state.range(1));
    for (auto _ : state) {
        image::TDIB scratch;
        scratch.SetSize(w, h, 8);
        scratch.Canvas().StretchDraw({0, 0, w, h}, source);
        benchmark::DoNotOptimize(scratch.Pixels(0, 0));
    }
}
BENCHMARK(StretchToGrey)->Args({80, 40})->Args({400, 300})->Unit(benchmark::kMicrosecond);

} // namespace
