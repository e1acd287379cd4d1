#include "engine/ThresholdGenerators.h"

#include <algorithm>
#include <array>

#include "toolkit/Exceptions.h"
#include "toolkit/IntText.h"

namespace engine {
namespace {

__extension__ typedef unsigned __int128 U128;

// F(a) / F(a + d) for d >= 13 is below 1/255 (F(a + d) >= F(a) * F(d + 1) and F(14) = 377),
// so such rows get 0 whatever a is.
constexpr std::int32_t kFibonacciZeroDistance = 13;
// From this index on, floor(255 * F(a) / F(a + d)) no longer depends on a: the ratio is within
// about 255 * F(d) / F(a)^2 (< 1e-58) of 255 / phi^d, which for d = 1 ... 12 lies much further
// from the nearest integer. 255 * F(kFibonacciSteadyIndex + 12) still fits in 128 bits.
constexpr std::int32_t kFibonacciSteadyIndex = 148;
constexpr std::size_t kFibonacciTableSize = kFibonacciSteadyIndex + kFibonacciZeroDistance;

const std::array<U128, kFibonacciTableSize>& FibonacciTable() {
    static const auto table = [] {
        std::array<U128, kFibonacciTableSize> f{};
        f[1] = f[2] = 1;
        for (std::size_t k = 3; k < f.size(); ++k)
            f[k] = f[k - 1] + f[k - 2];
        return f;
    }();
    return table;
}

} // namespace

std::int32_t ExponentialBound(std::int32_t i, std::int32_t n) {
    const std::int64_t shift = std::int64_t{n} - i;
    return shift >= 8 ? 0 : 255 >> shift;
}

std::int32_t FibonacciBound(std::int32_t i, std::int32_t n) {
    const std::int64_t distance = std::int64_t{n} - i;
    if (distance >= kFibonacciZeroDistance)
        return 0;
    const std::int64_t a = std::min<std::int64_t>(std::int64_t{i} + 2, kFibonacciSteadyIndex);
    const auto& f = FibonacciTable();
    return static_cast<std::int32_t>(f[static_cast<std::size_t>(a)] * 255 /
                                     f[static_cast<std::size_t>(a + distance)]);
}

std::int32_t UniformBound(std::int32_t i, std::int32_t n) {
    return static_cast<std::int32_t>(std::int64_t{i} * 255 / n);
}

void RunGenerator(int imageIndex, std::int32_t n, toolkit::TGridCells& grid) {
    std::int32_t (*bound)(std::int32_t, std::int32_t) = nullptr;
    switch (imageIndex) {
    case kExponentialGenerator:
        bound = ExponentialBound;
        break;
    case kFibonacciGenerator:
        bound = FibonacciBound;
        break;
    case kUniformGenerator:
        bound = UniformBound;
        break;
    default:
        return;
    }
    if (n >= toolkit::TGridCells::kMaxIndex)
        throw toolkit::EInvalidGridOperation::TooLarge();
    for (std::int32_t i = 1; i <= n; ++i)
        grid.SetCell(1, i, toolkit::IntToStr(bound(i, n)));
}

} // namespace engine
