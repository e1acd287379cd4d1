#include "app/Settings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/sys/UserFolders.h"
#include "toolkit/Streams.h"
#include "toolkit/TMemIniFile.h"

namespace app {
namespace {

// A settings file is a few hundred bytes; anything far larger is not ours.
constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;
constexpr std::size_t kMaxValueBytes = 4096;
constexpr std::int32_t kMaxCoordinate = 100000;
constexpr std::int32_t kMinSide = 50;
// How much of a window must lie on the work area for the user to reach and drag it.
constexpr std::int32_t kGrip = 48;

bool IsPlainText(const std::string& text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && c != '\n' && c != '\r' && c != '\t';
    });
}

bool IsAcceptableValue(const std::string& value) {
    return value.size() <= kMaxValueBytes && IsPlainText(value) &&
           value.find_first_of("\r\n") == std::string::npos;
}

// The folder value, which must be absolute when given.
bool ReadFolder(const toolkit::TMemIniFile& ini, const char* key, std::string& folder,
                std::string& problem) {
    folder = ini.ReadString("Folders", key, "");
    if (folder.empty() || (folder[0] == '/' && IsAcceptableValue(folder)))
        return true;
    problem = std::string("the ") + key + " folder is not an absolute path";
    return false;
}

bool ReadWindow(const toolkit::TMemIniFile& ini, std::optional<TWindowPlace>& window,
                std::string& problem) {
    if (!ini.SectionExists("Window"))
        return true;
    const auto number = [&](const char* key) -> std::optional<std::int32_t> {
        const std::int32_t value = ini.ReadInteger("Window", key, kMaxCoordinate + 1);
        if (value < -kMaxCoordinate || value > kMaxCoordinate)
            return std::nullopt;
        return value;
    };
    const auto left = number("Left"), top = number("Top");
    const auto width = number("Width"), height = number("Height");
    if (!left || !top || !width || !height || *width < kMinSide || *height < kMinSide) {
        problem = "the window's place is not a usable rectangle";
        return false;
    }
    window = TWindowPlace{platform::Rect::FromSize(*left, *top, *width, *height),
                          ini.ReadInteger("Window", "Maximized", 0) != 0};
    return true;
}

} // namespace

std::string SettingsFileName() {
    const std::string folder = platform::UserConfigFolder();
    return folder.empty() ? std::string() : folder + "/charvane/charvane.conf";
}

std::optional<TSettings> ParseSettings(const std::string& text, std::string& problem) {
    if (!IsPlainText(text)) {
        problem = "it is not text";
        return std::nullopt;
    }
    toolkit::TMemIniFile ini;
    ini.SetText(text);
    TSettings settings;
    settings.skin = ini.ReadString("Skin", "Name", "");
    if (!IsAcceptableValue(settings.skin)) {
        problem = "the skin name is too long";
        return std::nullopt;
    }
    if (!ReadWindow(ini, settings.window, problem) ||
        !ReadFolder(ini, "Open", settings.openFolder, problem) ||
        !ReadFolder(ini, "Save", settings.saveFolder, problem))
        return std::nullopt;
    return settings;
}

std::string SettingsText(const TSettings& settings) {
    std::string text;
    const auto line = [&text](const std::string& key, const std::string& value) {
        text += key + "=" + value + "\n";
    };
    if (!settings.skin.empty() && IsAcceptableValue(settings.skin))
        text += "[Skin]\n", line("Name", settings.skin);
    if (settings.window) {
        const platform::Rect& r = settings.window->bounds;
        text += "[Window]\n";
        line("Left", std::to_string(r.left));
        line("Top", std::to_string(r.top));
        line("Width", std::to_string(r.Width()));
        line("Height", std::to_string(r.Height()));
        line("Maximized", settings.window->maximized ? "1" : "0");
    }
    const bool open = IsAcceptableValue(settings.openFolder) && !settings.openFolder.empty();
    const bool save = IsAcceptableValue(settings.saveFolder) && !settings.saveFolder.empty();
    if (open || save)
        text += "[Folders]\n";
    if (open)
        line("Open", settings.openFolder);
    if (save)
        line("Save", settings.saveFolder);
    return text;
}

TSettings ReadSettings(const std::string& fileName, void (*warn)(const std::string& line)) {
    namespace fs = std::filesystem;
    std::error_code error;
    const auto status = fs::status(fileName, error);
    if (fileName.empty() || status.type() == fs::file_type::not_found)
        return {};
    const auto ignored = [&](const std::string& why) {
        warn("ignoring the settings file \"" + fileName + "\": " + why);
        return TSettings{};
    };
    // A pipe or device would block the start or never end; only a plain file is read.
    if (status.type() != fs::file_type::regular)
        return ignored("it is not a regular file");
    if (fs::file_size(fileName, error) > kMaxFileBytes || error)
        return ignored("it is too big");
    std::ifstream in(fileName, std::ios::binary);
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad() || (!in && !in.eof()) || !in.is_open())
        return ignored("it cannot be read");
    text.resize(static_cast<std::size_t>(in.gcount()));
    std::string problem;
    const std::optional<TSettings> settings = ParseSettings(text, problem);
    return settings ? *settings : ignored(problem);
}

void WriteSettings(const std::string& fileName, const TSettings& settings) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(fileName).parent_path(), error);
    const std::string text = SettingsText(settings);
    toolkit::TFileStream file(fileName, toolkit::FileMode::Create);
    file.WriteBuffer(text.data(), text.size());
    file.Commit();
}

platform::Rect PlaceOnScreen(const platform::Rect& place, const platform::Rect& workArea) {
    if (workArea.IsEmpty())
        return place;
    const std::int32_t width = std::min(place.Width(), workArea.Width());
    const std::int32_t height = std::min(place.Height(), workArea.Height());
    const bool reachable = place.top >= workArea.top && place.top <= workArea.bottom - kGrip &&
                           place.right >= workArea.left + kGrip &&
                           place.left <= workArea.right - kGrip;
    if (reachable && width == place.Width() && height == place.Height())
        return place;
    const std::int32_t left = std::clamp(place.left, workArea.left, workArea.right - width);
    const std::int32_t top = std::clamp(place.top, workArea.top, workArea.bottom - height);
    return platform::Rect::FromSize(left, top, width, height);
}

} // namespace app
