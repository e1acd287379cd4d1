// The skin manager's sources: where a skin's files are, which skins there are, and reading a
// whole skin into a model of its own before anything of the skin in use changes.

#include <algorithm>
#include <new>

#include "skin/SkinLoader.h"
#include "skin/SkinPaths.h"
#include "skin/sSkinManager.h"

namespace skin {
namespace {

using toolkit::UpperCase;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const std::string ua = UpperCase(a), ub = UpperCase(b);
    return ua != ub ? ua < ub : a < b;
}

} // namespace

std::string TsSkinManager::ResolvedSkinDirectory() const {
    return ResolveSkinDirectory(m_skinDirectory, ApplicationFolder());
}

std::string TsSkinManager::ResolveSkinDirectory(std::string_view directory,
                                                std::string_view programFolder) {
    if (directory.starts_with("..")) {
        std::string parent(programFolder);
        if (!parent.empty())
            parent.pop_back();
        while (!parent.empty() && !IsSeparator(parent.back()))
            parent.pop_back();
        return parent + std::string(directory.substr(std::min<std::size_t>(3, directory.size())));
    }
    if (directory.starts_with(".\\") || directory.starts_with("./"))
        return std::string(programFolder) + std::string(directory.substr(2));
    const bool absolute = directory.find(':') != std::string_view::npos ||
                          directory.find("\\\\") != std::string_view::npos ||
                          directory.starts_with('/');
    if (!absolute)
        return std::string(programFolder) + std::string(directory);
    return std::string(directory);
}

std::string TsSkinManager::PackedSkinFileName(std::string_view directory, std::string_view name) {
    std::string file(directory);
    if (!file.empty() && file.back() == '/')
        file.back() = '\\';
    else if (file.size() == 1)
        file += ":\\";
    else if (file.empty() || file.back() != '\\')
        file += '\\';
    return file + std::string(name) + ".asz";
}

ESkinError::ESkinError(std::string_view source, std::string_view reason)
    : toolkit::Exception(toolkit::Format("Cannot load skin \"%s\". %s", {source, reason})) {}

std::optional<TsSkinManager::ReadResult> TsSkinManager::ReadSkin(const std::string& name,
                                                                 Fallback fallback) {
    std::string source = name;
    try {
        return ReadSkinFrom(name, fallback, source);
    } catch (const ESkinError&) {
        throw;
    } catch (const toolkit::Exception& e) {
        throw ESkinError(source, e.Message());
    } catch (const std::bad_alloc&) {
        throw ESkinError(source, toolkit::EOutOfMemory().Message());
    }
}

std::optional<TsSkinManager::ReadResult>
TsSkinManager::ReadSkinFrom(const std::string& name, Fallback fallback, std::string& source) {
    const std::string resolved = ResolvedSkinDirectory();
    const std::string packedFile = PackedSkinFileName(m_skinDirectory, name);
    TacSkinLoader loader(m_commonSections, m_hueOffset, m_saturation);
    ReadResult result{name, std::nullopt};
    std::unique_ptr<TacSkinConvertor> convertor;
    std::string skinPath = resolved + "\\";

    if (const std::string host = FindSkinFile(packedFile); !host.empty()) {
        source = host;
        LoadSkinFromFile(packedFile, convertor, true);
    } else if (const std::string options = FindSkinFile(resolved + "\\" + name + "\\Options.dat");
               !options.empty()) {
        source = options;
        result.Model =
            loader.FromIni(toolkit::TMemIniFile(options), nullptr, resolved + "\\" + name + "\\");
        return result;
    } else {
        TsStoredSkin* item = nullptr;
        for (int i = 0; i < m_internalSkins.Count() && item == nullptr; ++i)
            if (m_internalSkins[i].Name == name)
                item = &m_internalSkins[i];
        if (item == nullptr) {
            if (fallback == Fallback::None || m_internalSkins.Count() == 0)
                return std::nullopt;
            item = &m_internalSkins[0];
            result.Name = item->Name;
        }
        source = item->Name;
        skinPath = m_skinData.SkinPath;
        if (item->Data().Size() == 0) {
            result.Model = loader.FromStoredSkin(*item, skinPath);
            return result;
        }
        // The item lends its bytes; a reader destroyed by an error never frees them.
        convertor = std::make_unique<TacSkinConvertor>();
        convertor->LendSource(&item->Data());
        convertor->ReadContainer();
        convertor->DetachSource();
    }

    // A container with a wrong magic (already reported) or without options text gives nothing.
    if (!convertor || convertor->Options() == nullptr)
        return result;
    toolkit::TMemIniFile ini;
    ini.LoadFromStream(*convertor->Options());
    result.Model = loader.FromIni(ini, convertor.get(), skinPath);
    return result;
}

std::string TsSkinManager::GetSkinNames(toolkit::TStringList& list, TacSkinListMode mode) const {
    list.Clear();
    std::vector<std::string> names;
    std::string first;
    for (int i = 0; i < m_internalSkins.Count(); ++i)
        names.push_back(m_internalSkins[i].Name);
    if (!names.empty())
        first = names.front();

    const std::string resolved = ResolvedSkinDirectory();
    const bool folders = mode != TacSkinListMode::PackedFiles;
    const bool packed = mode != TacSkinListMode::Folders;
    for (const TacDirEntry& entry : ListSkinDirectory(resolved)) {
        if (entry.name.starts_with('.'))
            continue;
        std::string name;
        if (entry.isDirectory) {
            if (folders && SkinFileExists(resolved + "\\" + entry.name + "\\Options.dat"))
                name = entry.name;
        } else if (packed) {
            const std::size_t lastDot = entry.name.rfind('.');
            if (lastDot != std::string::npos && entry.name.substr(lastDot) == ".asz")
                name = entry.name.substr(0, entry.name.find('.'));
        }
        if (name.empty())
            continue;
        if (first.empty())
            first = name;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    for (std::string& name : names)
        list.Add(std::move(name));
    return first;
}

} // namespace skin
