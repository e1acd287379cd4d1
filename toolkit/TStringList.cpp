#include "toolkit/TStringList.h"

#include "toolkit/Exceptions.h"

namespace toolkit {

void TStringList::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit)
        throw EListError::IndexOutOfBounds(index);
}

const std::string& TStringList::operator[](int index) const {
    CheckIndex(index, Count());
    return m_lines[static_cast<std::size_t>(index)];
}

void TStringList::Put(int index, std::string text) {
    CheckIndex(index, Count());
    m_lines[static_cast<std::size_t>(index)] = std::move(text);
}

void TStringList::Insert(int index, std::string text) {
    CheckIndex(index, Count() + 1);
    m_lines.insert(m_lines.begin() + index, std::move(text));
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count());
    m_lines.erase(m_lines.begin() + index);
}

std::string TStringList::Text() const {
    std::size_t size = 0;
    for (const auto& line : m_lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : m_lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TStringList::SetText(std::string_view text) {
    m_lines.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        m_lines.emplace_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

void TStringList::SaveToStream(TStream& stream) const {
    const std::string text = Text();
    stream.WriteBuffer(text.data(), text.size());
}

void TStringList::LoadFromStream(TStream& stream) {
    std::string text(static_cast<std::size_t>(stream.Remaining()), '\0');
    stream.ReadBuffer(text.data(), text.size());
    SetText(text);
}

void TStringList::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, FileMode::Create);
    SaveToStream(file);
    file.Commit();
}

void TStringList::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, FileMode::OpenRead);
    LoadFromStream(file);
}

} // namespace toolkit
