#include "platform/sys/Locale.h"

#include <langinfo.h>
#include <locale.h>

#include <string>

#include "platform/gfx/text/Utf8.h"

namespace platform {

char32_t DecimalSeparator() {
    // A locale of our own: the program's global one stays "C" for its parsers.
    const locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (!numeric)
        return U'.';
    const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
    const std::u32string separator = Utf8ToUtf32(radix ? radix : "");
    freelocale(numeric);
    return separator.size() == 1 ? separator[0] : U'.';
}

} // namespace platform
