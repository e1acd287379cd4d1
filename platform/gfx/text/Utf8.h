#pragma once
// UTF-8 to code points and back. Text in the program is UTF-8; a malformed byte decodes to one
// U+FFFD and decoding goes on, so bad text never stops drawing or input.

#include <string>
#include <string_view>

namespace platform {

std::u32string Utf8ToUtf32(std::string_view utf8);
std::string Utf32ToUtf8(std::u32string_view text);

} // namespace platform
