#pragma once
// The four threshold generators that fill the bound column of the character table.
//
// The generator is chosen by the image index of the generator button; rows 1 ... n receive the
// decimal text of their bound in column 1 and nothing else is touched. n <= 0 writes nothing;
// the manual generator (and any index that names no generator) never writes.
//
// Bounds are exact for every n, not only where the 32-bit products of the textbook formulas
// fit: exponential is 255 >> (n - i), which equals (2^i * 255) div 2^n; Fibonacci is
// (F(i + 2) * 255) div F(n + 2), computed exactly in 128 bits where the numbers fit and from
// the limit of the ratio beyond (see FibonacciBound).

#include <cstdint>

#include "toolkit/TGridCells.h"

namespace engine {

// Image indexes of the generator button.
inline constexpr int kManualGenerator = 0;
inline constexpr int kExponentialGenerator = 1;
inline constexpr int kFibonacciGenerator = 2;
inline constexpr int kUniformGenerator = 3;

// Bound of row i of n, for 1 <= i <= n.
std::int32_t ExponentialBound(std::int32_t i, std::int32_t n);
std::int32_t FibonacciBound(std::int32_t i, std::int32_t n);
std::int32_t UniformBound(std::int32_t i, std::int32_t n);

// Runs the generator of the image index over rows 1 ... n of grid. An n that leaves the grid's
// index range raises EInvalidGridOperation "Grid too large for operation" before any write.
void RunGenerator(int imageIndex, std::int32_t n, toolkit::TGridCells& grid);

} // namespace engine
