#pragma once
// The integer text rules every number the user enters is read by:
//   optional leading blanks (code 32 only), an optional "+" or "-", then either decimal digits
//   whose value fits in signed 32 bits, or 1 to 8 hexadecimal digits (either case) after "$",
//   "x", "X", "0x" or "0X", read as the 32-bit pattern ("$FFFFFFFF" is -1). Nothing may follow
//   the digits. Empty text, a lone sign, trailing blanks or any other character fail.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace toolkit {

std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, raising EConvertError "'%s' is not a valid integer value" on failure.
std::int32_t StrToInt(std::string_view text);

// Decimal text: a minus sign for negatives, no leading zeros.
std::string IntToStr(std::int64_t value);

} // namespace toolkit
