#pragma once
// An ordered list of text lines (UTF-8 or any 8-bit bytes, kept as they are).
// Text joins the lines, each followed by CR LF; SetText splits at CR LF, LF or CR.
// Index errors raise EListError "List index out of bounds (%d)".

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Streams.h"

namespace toolkit {

class TStringList {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines) : m_lines(lines) {}

    int Count() const { return static_cast<int>(m_lines.size()); }
    const std::string& operator[](int index) const;
    void Put(int index, std::string text);
    void Add(std::string text) { m_lines.push_back(std::move(text)); }
    void Insert(int index, std::string text);
    void Delete(int index);
    void Clear() { m_lines.clear(); }
    const std::vector<std::string>& Lines() const { return m_lines; }

    std::string Text() const;
    void SetText(std::string_view text);

    void SaveToStream(TStream& stream) const;
    void LoadFromStream(TStream& stream);
    // Creates or truncates the file and writes Text(); EFCreateError when it cannot be made.
    void SaveToFile(const std::string& fileName) const;
    void LoadFromFile(const std::string& fileName);

private:
    void CheckIndex(int index, int limit) const;

    std::vector<std::string> m_lines;
};

} // namespace toolkit
