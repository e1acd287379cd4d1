#pragma once
// What the program remembers between runs: the chosen skin, the main window's place and state,
// and the folders its open and save dialogs last showed. The conversion settings are not among
// them: every start begins with the same table, width and ratio.
//
// The file is $XDG_CONFIG_HOME/charvane/charvane.conf, INI text:
//
//     [Skin]     Name=Nightfall          (a skin name, or the path of a packed skin file)
//     [Window]   Left= Top= Width= Height= (the restored place, screen pixels)  Maximized=0|1
//     [Folders]  Open=/absolute/path  Save=/absolute/path
//
// A file that is damaged, unreadable or hostile (too big, not text, a value out of range) is
// ignored as a whole: the reader says why in one line and the defaults stand. A missing file is
// simply the defaults. Writing is all or nothing: the old file stays until the new one is
// complete.

#include <optional>
#include <string>

#include "platform/gfx/Geometry.h"

namespace app {

struct TWindowPlace {
    platform::Rect bounds; // the restored window rectangle
    bool maximized = false;
    friend bool operator==(const TWindowPlace&, const TWindowPlace&) = default;
};

struct TSettings {
    std::string skin; // empty: the program's own default
    std::optional<TWindowPlace> window;
    std::string openFolder;
    std::string saveFolder;
    friend bool operator==(const TSettings&, const TSettings&) = default;
};

// The settings file's path; empty when the user has no home folder.
std::string SettingsFileName();

// The settings a text holds; on damage, nothing, with the reason in problem.
std::optional<TSettings> ParseSettings(const std::string& text, std::string& problem);
std::string SettingsText(const TSettings& settings);

// Reads the file as described above; a problem is reported through warn (one line, no newline).
TSettings ReadSettings(const std::string& fileName, void (*warn)(const std::string& line));
// Writes the file, making its folder when needed; failures raise the toolkit's write and create
// errors (EFCreateError, EWriteError) and leave the old file as it was.
void WriteSettings(const std::string& fileName, const TSettings& settings);

// A place that would leave the window out of reach (its caption off the work area, or too little
// of it showing to grab) is moved onto the work area, no larger than it; any other is kept.
platform::Rect PlaceOnScreen(const platform::Rect& place, const platform::Rect& workArea);

} // namespace app
