// Loading and decoding speed of a 4000 × 3000 photo-sized picture, made once at start-up.

#include <benchmark/benchmark.h>

#include "JPEGMaker.h"
#include "image/DIB.h"
#include "image/jpeg.h"
#include "toolkit/Streams.h"

namespace {

const std::vector<std::uint8_t>& Photo(bool progressive) {
    static const auto make = [](bool p) {
        return testjpeg::MakeJPEG(
            4000, 3000, [](int x, int y) { return testjpeg::Gradient(x ^ (y / 7), y, 4000, 3000); },
            {.progressive = p});
    };
    static const std::vector<std::uint8_t> baseline = make(false);
    static const std::vector<std::uint8_t> multiScan = make(true);
    return progressive ? multiScan : baseline;
}

void DecodeToMemory(benchmark::State& state, bool progressive,
                    image::TJPEGDecodeSettings settings) {
    const auto& data = Photo(progressive);
    for (auto _ : state) {
        image::TDecodedPicture picture;
        image::DecodeJPEG(data, settings, picture);
        benchmark::DoNotOptimize(picture.ScanLine(0));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{4000} * 3000 * 3);
}

// As the program opens a picture: load the bytes (header only), then decode into the bitmap.
void LoadAndDecode(benchmark::State& state, bool progressive) {
    const auto& data = Photo(progressive);
    for (auto _ : state) {
        toolkit::TMemoryStream stream(data);
        image::TJPEGImage jpeg;
        jpeg.LoadFromStream(stream);
        benchmark::DoNotOptimize(jpeg.Bitmap().ScanLine(0));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{4000} * 3000 * 3);
}

// The whole open-button route: load, then assign to the preview's picture (which decodes).
void LoadAndAssign(benchmark::State& state, bool progressive) {
    const auto& data = Photo(progressive);
    for (auto _ : state) {
        toolkit::TMemoryStream stream(data);
        image::TJPEGImage jpeg;
        jpeg.LoadFromStream(stream);
        image::TDIB dib;
        dib.Assign(&jpeg);
        benchmark::DoNotOptimize(dib.PBits());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{4000} * 3000 * 3);
}

void BM_HeaderOnly(benchmark::State& state) {
    const auto& data = Photo(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(image::ReadJPEGHeader(data));
    }
}

image::TJPEGDecodeSettings With(auto change) {
    image::TJPEGDecodeSettings s;
    change(s);
    return s;
}

} // namespace

BENCHMARK(BM_HeaderOnly);
BENCHMARK_CAPTURE(LoadAndDecode, Baseline, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadAndDecode, Progressive, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadAndAssign, Baseline, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeToMemory, Baseline24Bit, false, image::TJPEGDecodeSettings{})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeToMemory, Progressive24Bit, true, image::TJPEGDecodeSettings{})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeToMemory, Baseline8Bit, false,
                  With([](auto& s) { s.OutputDepth = image::TJPEGOutputDepth::Bits8; }))
    -> Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeToMemory, BaselineHalfScale, false,
                  With([](auto& s) { s.DecodeScale = 1; })) -> Unit(benchmark::kMillisecond);
