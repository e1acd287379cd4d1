#pragma once
// The user's own folders as the desktop's base-directory convention names them: a variable
// holding an absolute path wins ($XDG_CONFIG_HOME, $XDG_DATA_HOME); an unset, empty or relative
// one gives the default below the home folder ($HOME, else the password database's entry).
// Answers are absolute paths without a trailing "/", read afresh on every call; empty when no
// home folder can be found at all.

#include <string>

namespace platform {

std::string UserConfigFolder(); // ~/.config by default
std::string UserDataFolder();   // ~/.local/share by default

} // namespace platform
