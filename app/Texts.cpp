#include "app/Texts.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <locale.h>
#include <string_view>

#include <libintl.h>

#include "skin/SkinPaths.h"

namespace app {
namespace {

constexpr const char* kDomain = "charvane";

bool g_translating = false;
locale_t g_messages{};

// The language the user asked for, by the order gettext itself reads the variables in.
std::string RequestedLanguage() {
    if (const char* list = std::getenv("LANGUAGE"); list && *list) {
        const std::string_view all = list;
        return std::string(all.substr(0, all.find(':')));
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value)
            return value;
    return {};
}

bool KeepsTheSourceLanguage(const std::string& language) {
    return language.empty() || language == "C" || language.starts_with("C.") ||
           language == "POSIX" || language.starts_with("ru");
}

} // namespace

std::string LocaleFolderFor(const std::string& programFolder) {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(programFolder).parent_path();
    std::string first;
    std::error_code ec;
    for (int up = 0; up < 2 && folder.has_parent_path() && folder != folder.root_path(); ++up) {
        folder = folder.parent_path();
        const std::string candidate = (folder / "share/locale").string();
        if (fs::exists(candidate + "/en/LC_MESSAGES/charvane.mo", ec))
            return candidate;
        if (first.empty())
            first = candidate;
    }
    return first;
}

void UseUserLanguage() {
    UseLanguage(RequestedLanguage());
}

void UseLanguage(const std::string& language) {
    g_translating = false;
    if (KeepsTheSourceLanguage(language))
        return;
    // The process keeps the C locale, so the system's own texts (error descriptions among them)
    // stay English; only a lookup of ours runs in a messages locale that lets gettext read
    // LANGUAGE, which names our language whether or not its system locale is installed.
    static const locale_t messages = newlocale(LC_MESSAGES_MASK, "C.UTF-8", locale_t{});
    g_messages = messages;
    if (!g_messages)
        return;
    // The user's own list (with its fallbacks) is kept when it already names this language.
    if (language != RequestedLanguage() || !std::getenv("LANGUAGE"))
        ::setenv("LANGUAGE", language.c_str(), 1);
    bindtextdomain(kDomain, LocaleFolderFor(skin::ApplicationFolder()).c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    // Naming the current domain again tells gettext that earlier answers no longer hold.
    textdomain(textdomain(nullptr));
    g_translating = true;
}

bool CaptionsTranslated() {
    return g_translating;
}

const char* Tr(const char* russian) {
    if (!g_translating)
        return russian;
    const locale_t previous = uselocale(g_messages);
    const char* text = dgettext(kDomain, russian);
    uselocale(previous);
    return text;
}

} // namespace app
