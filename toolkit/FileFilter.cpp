#include "toolkit/FileFilter.h"

namespace toolkit {
namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::vector<TFileFilterEntry> ParseFileFilter(std::string_view filter) {
    std::vector<TFileFilterEntry> entries;
    if (filter.empty())
        return entries;
    const std::vector<std::string> parts = Split(filter, '|');
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        TFileFilterEntry entry;
        entry.description = Trimmed(parts[i]);
        if (i + 1 < parts.size())
            for (const std::string& mask : Split(parts[i + 1], ';'))
                if (std::string m = Trimmed(mask); !m.empty())
                    entry.masks.push_back(std::move(m));
        if (entry.description.empty() && entry.masks.empty())
            continue;
        if (entry.description.empty())
            entry.description = parts[i + 1];
        if (entry.masks.empty())
            entry.masks.push_back("*");
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*")
        return true;
    // Iterative matching with one backtrack point: linear in practice, never recursive.
    std::size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || Lower(mask[m]) == Lower(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool MatchesAnyMask(std::string_view name, const std::vector<std::string>& masks) {
    if (masks.empty())
        return true;
    for (const std::string& mask : masks)
        if (MatchesMask(name, mask))
            return true;
    return false;
}

} // namespace toolkit
