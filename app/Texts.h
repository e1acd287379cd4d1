#pragma once
// The program's own captions in the user's language. Russian is the program's language and the
// text in the source; other languages come from gettext catalogues (po/, built into
// share/locale/<language>/LC_MESSAGES/charvane.mo). The system's own messages (the errors the
// toolkit raises) are not translated: they read the same in every language.
//
// The language is the first of LANGUAGE (its first entry), LC_ALL, LC_MESSAGES and LANG that is
// set; C, POSIX, Russian or a language without a catalogue keeps the Russian captions byte for
// byte. The catalogues are looked for in <prefix>/share/locale for a program in <prefix>/bin,
// or one folder higher (the build tree's test programs), so an installed tree and a build tree
// both find their own.

#include <string>

namespace app {

// Chooses the language from the environment and opens its catalogue; before any window is made.
void UseUserLanguage();
// Uses the captions of a language named as the variables name it ("en_GB.UTF-8", "C", ...).
void UseLanguage(const std::string& language);

// Whether captions come from a catalogue rather than the source.
bool CaptionsTranslated();

// The caption in the chosen language; the Russian text itself when there is no translation.
const char* Tr(const char* russian);

// The folder that holds the catalogues for a program in programFolder (ending with "/").
std::string LocaleFolderFor(const std::string& programFolder);

} // namespace app
