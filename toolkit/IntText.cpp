#include "toolkit/IntText.h"

#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the hexadecimal prefix at the start of digits, 0 when there is none.
std::size_t HexPrefixLength(std::string_view digits) {
    if (digits.starts_with('$') || digits.starts_with('x') || digits.starts_with('X'))
        return 1;
    if (digits.starts_with("0x") || digits.starts_with("0X"))
        return 2;
    return 0;
}

std::optional<std::uint32_t> ParseHexPattern(std::string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t pattern = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        pattern = pattern << 4 | static_cast<std::uint32_t>(d);
    }
    return pattern;
}

// Magnitude of a decimal digit run, or nothing when it is empty, not all digits, or larger
// than any signed 32-bit value can be (2^31, the magnitude of INT32_MIN).
std::optional<std::int64_t> ParseDecimalMagnitude(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{1} << 31)
            return std::nullopt;
    }
    return magnitude;
}

} // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::string_view rest = text.substr(pos);

    if (const std::size_t prefix = HexPrefixLength(rest); prefix > 0) {
        const auto pattern = ParseHexPattern(rest.substr(prefix));
        if (!pattern)
            return std::nullopt;
        const auto value = static_cast<std::int32_t>(*pattern);
        // Negating the pattern wraps: "-$80000000" is INT32_MIN.
        return negative ? static_cast<std::int32_t>(0u - *pattern) : value;
    }

    const auto magnitude = ParseDecimalMagnitude(rest);
    if (!magnitude)
        return std::nullopt;
    const std::int64_t value = negative ? -*magnitude : *magnitude;
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(std::string_view text) {
    if (const auto value = TryStrToInt(text))
        return *value;
    throw InvalidIntegerError(text);
}

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

} // namespace toolkit
