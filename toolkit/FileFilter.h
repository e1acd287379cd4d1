#pragma once
// The file dialogs' filter strings and name masks.
//
// A filter is "Description|mask;mask|Description|mask": pairs of a text shown to the user and
// the masks it stands for. A description without a mask after it stands for every file; empty
// pairs are skipped. Masks use "*" (any run of characters) and "?" (one character) and compare
// ignoring ASCII case, so "*.jpg" also finds "PHOTO.JPG"; "*" and "*.*" match every name.

#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

struct TFileFilterEntry {
    std::string description;
    std::vector<std::string> masks;
};

std::vector<TFileFilterEntry> ParseFileFilter(std::string_view filter);

bool MatchesMask(std::string_view name, std::string_view mask);
// Whether the name matches any of the masks (an empty list matches every name).
bool MatchesAnyMask(std::string_view name, const std::vector<std::string>& masks);

} // namespace toolkit
