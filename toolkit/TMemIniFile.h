#pragma once
// An INI text held in memory. Sections and keys keep the order and spelling in which the text
// gives them; lookups ignore ASCII case. Lines are trimmed; empty lines and lines starting with
// ";" are skipped; "[name]" opens a section (a repeated header reopens the earlier one); other
// lines are "key=value" with blanks around the "=" removed. Lines before the first section, and
// lines without "=", carry no value. A repeated key keeps its first value.
//
// Reads never fail: a missing section or key gives the caller's default. Integers are read by
// the program's integer text rules (decimal, "$", "0x"/"0X" hex); a value that does not parse
// gives the default. A boolean is true when its value is "TRUE" in any case, false otherwise.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "toolkit/Streams.h"
#include "toolkit/TStringList.h"

namespace toolkit {

class TMemIniFile {
public:
    TMemIniFile() = default;
    // Reads the file when it exists; an unreadable file raises EFOpenError.
    explicit TMemIniFile(const std::string& fileName);

    void Clear();
    void SetStrings(const TStringList& lines);
    void SetText(std::string_view text);
    // Reads the stream's text from its start.
    void LoadFromStream(TStream& stream);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Section names, in text order, as written.
    std::vector<std::string> ReadSections() const;
    // Key names of a section, in text order, as written; empty when the section is missing.
    std::vector<std::string> ReadSection(std::string_view section) const;
    // Key/value pairs of a section in text order.
    const std::vector<std::pair<std::string, std::string>>&
    ReadSectionValues(std::string_view section) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
        std::unordered_map<std::string, std::size_t> index; // upper-cased key → values slot
    };

    const Section* FindSection(std::string_view name) const;
    Section& AddSection(std::string_view name);
    static void AddValue(Section& section, std::string_view key, std::string_view value);
    const std::string* FindValue(std::string_view section, std::string_view key) const;

    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_index; // upper-cased name → m_sections slot
    // Readers ask for many values of one section in a row: the last section found is kept by
    // the name as asked, so a long name is not upper-cased again for every value.
    mutable std::string m_lastName;
    mutable std::size_t m_lastSlot = kNoSlot;
    static constexpr std::size_t kNoSlot = static_cast<std::size_t>(-1);
};

// ASCII upper case, as skin names are compared.
std::string UpperCase(std::string_view text);

} // namespace toolkit
