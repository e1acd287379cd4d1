#pragma once
// Signed 32-bit arithmetic as the program computes: division truncates toward zero, a zero
// divisor raises EDivByZero instead of a signal, and nothing is undefined. Sums, differences
// and products wrap around modulo 2^32 (two's complement) unless a Checked* form is used,
// which reports whether the exact result fits.

#include <cstdint>
#include <optional>

#include "toolkit/Exceptions.h"

namespace toolkit::int32 {

inline std::int32_t Wrap(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

inline std::int32_t Add(std::int32_t a, std::int32_t b) {
    return Wrap(std::int64_t{a} + b);
}
inline std::int32_t Sub(std::int32_t a, std::int32_t b) {
    return Wrap(std::int64_t{a} - b);
}
inline std::int32_t Mul(std::int32_t a, std::int32_t b) {
    return Wrap(std::int64_t{a} * b);
}
inline std::int32_t Neg(std::int32_t a) {
    return Wrap(-std::int64_t{a});
}

// Truncating division; INT32_MIN div -1 wraps to INT32_MIN.
inline std::int32_t Div(std::int32_t a, std::int32_t b) {
    if (b == 0)
        throw EDivByZero();
    return Wrap(std::int64_t{a} / b);
}
// Remainder with the sign of the dividend.
inline std::int32_t Mod(std::int32_t a, std::int32_t b) {
    if (b == 0)
        throw EDivByZero();
    return static_cast<std::int32_t>(std::int64_t{a} % b);
}

inline std::optional<std::int32_t> Checked(std::int64_t v) {
    if (v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}
inline std::optional<std::int32_t> CheckedAdd(std::int32_t a, std::int32_t b) {
    return Checked(std::int64_t{a} + b);
}
inline std::optional<std::int32_t> CheckedMul(std::int32_t a, std::int32_t b) {
    return Checked(std::int64_t{a} * b);
}

} // namespace toolkit::int32
