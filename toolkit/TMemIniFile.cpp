#include "toolkit/TMemIniFile.h"

#include <filesystem>

#include "toolkit/IntText.h"

namespace toolkit {
namespace {

std::string_view Trim(std::string_view text) {
    // Control characters count as blanks, as they do for the toolkit's trimming.
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

const std::vector<std::pair<std::string, std::string>> kNoValues;

} // namespace

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

TMemIniFile::TMemIniFile(const std::string& fileName) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec))
        return;
    TStringList lines;
    lines.LoadFromFile(fileName);
    SetStrings(lines);
}

void TMemIniFile::Clear() {
    m_sections.clear();
    m_index.clear();
    m_lastName.clear();
    m_lastSlot = kNoSlot;
}

void TMemIniFile::SetStrings(const TStringList& lines) {
    Clear();
    Section* current = nullptr;
    for (const std::string& raw : lines.Lines()) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            current = &AddSection(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (current == nullptr || eq == std::string_view::npos)
            continue;
        AddValue(*current, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }
}

void TMemIniFile::SetText(std::string_view text) {
    TStringList lines;
    lines.SetText(text);
    SetStrings(lines);
}

void TMemIniFile::LoadFromStream(TStream& stream) {
    TStringList lines;
    stream.SetPosition(0);
    lines.LoadFromStream(stream);
    SetStrings(lines);
}

TMemIniFile::Section& TMemIniFile::AddSection(std::string_view name) {
    const std::string key = UpperCase(name);
    if (const auto it = m_index.find(key); it != m_index.end())
        return m_sections[it->second];
    m_index.emplace(key, m_sections.size());
    m_sections.push_back(Section{std::string(name), {}, {}});
    return m_sections.back();
}

void TMemIniFile::AddValue(Section& section, std::string_view key, std::string_view value) {
    if (!section.index.emplace(UpperCase(key), section.values.size()).second)
        return;
    section.values.emplace_back(std::string(key), std::string(value));
}

const TMemIniFile::Section* TMemIniFile::FindSection(std::string_view name) const {
    if (m_lastSlot != kNoSlot && name == m_lastName)
        return &m_sections[m_lastSlot];
    const auto it = m_index.find(UpperCase(name));
    if (it == m_index.end())
        return nullptr;
    m_lastName = name;
    m_lastSlot = it->second;
    return &m_sections[it->second];
}

const std::string* TMemIniFile::FindValue(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (s == nullptr)
        return nullptr;
    const auto it = s->index.find(UpperCase(key));
    return it == s->index.end() ? nullptr : &s->values[it->second].second;
}

bool TMemIniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindValue(section, key) != nullptr;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    const std::string* value = FindValue(section, key);
    return std::string(value ? std::string_view(*value) : defaultValue);
}

std::int32_t TMemIniFile::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t defaultValue) const {
    const std::string* value = FindValue(section, key);
    if (value == nullptr)
        return defaultValue;
    return TryStrToInt(*value).value_or(defaultValue);
}

bool TMemIniFile::ReadBool(std::string_view section, std::string_view key,
                           bool defaultValue) const {
    const std::string* value = FindValue(section, key);
    return value ? UpperCase(*value) == "TRUE" : defaultValue;
}

std::vector<std::string> TMemIniFile::ReadSections() const {
    std::vector<std::string> names;
    names.reserve(m_sections.size());
    for (const Section& s : m_sections)
        names.push_back(s.name);
    return names;
}

std::vector<std::string> TMemIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const auto& [key, value] : s->values)
            keys.push_back(key);
    return keys;
}

const std::vector<std::pair<std::string, std::string>>&
TMemIniFile::ReadSectionValues(std::string_view section) const {
    const Section* s = FindSection(section);
    return s ? s->values : kNoValues;
}

void TMemIniFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    Section& s = AddSection(section);
    const auto it = s.index.find(UpperCase(key));
    if (it != s.index.end())
        s.values[it->second].second = std::string(value);
    else
        AddValue(s, key, value);
}

} // namespace toolkit
