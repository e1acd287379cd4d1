#pragma once
// What the user's locale says about numbers.

namespace platform {

// The decimal separator of the user's numeric locale (from LC_ALL, LC_NUMERIC or LANG, as the
// C library reads them), found without changing the program's own locale. "." when the locale
// cannot be loaded or its separator is not one character.
char32_t DecimalSeparator();

} // namespace platform
