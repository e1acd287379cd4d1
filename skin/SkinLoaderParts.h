#pragma once
// Small readers of skin option values that the loader's files share (not a public interface).

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/SkinModel.h"
#include "toolkit/Int32.h"
#include "toolkit/IntText.h"

namespace skin::loaderparts {

using toolkit::StrToInt;

constexpr std::int64_t kPatternMinPixels = 90000;

// Characters [position, position + count) of a value, positions counted from 1 as the skin
// format describes them; shorter when the value ends earlier.
inline std::string_view Field(std::string_view value, std::size_t position, std::size_t count) {
    const std::size_t start = std::min(position - 1, value.size());
    return value.substr(start, count);
}
inline std::int32_t FieldInt(std::string_view value, std::size_t position, std::size_t count) {
    return StrToInt(Field(value, position, count));
}

inline std::vector<std::string> SplitWords(std::string_view text, std::string_view delimiters) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of(delimiters, start), text.size());
        if (end > start)
            words.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// Painting divides by the image count and by MaskType + 1 and sizes state images from them: a
// skin file may say anything, so a piece holds at least one image and a mask type of 0 or 1.
inline void ClampCounts(TsMaskData& m) {
    m.ImageCount = std::max<std::int16_t>(m.ImageCount, 1);
    m.MaskType = std::clamp<std::int16_t>(m.MaskType, 0, 1);
}

// Each state image, and its mask when there is one, is cut into a 3 × 3 grid.
inline void SetDefaultWidths(TsMaskData& m) {
    using toolkit::int32::Div;
    ClampCounts(m);
    m.WL = m.WR = static_cast<std::int16_t>(Div(PieceWidth(m), m.ImageCount * 3));
    m.WT = m.WB = static_cast<std::int16_t>(Div(PieceHeight(m), (m.MaskType + 1) * 3));
}

inline std::int16_t Short(std::int32_t value) {
    return static_cast<std::int16_t>(value);
}

inline TacImgType ImgTypeOf(std::int32_t value) {
    // Codes beyond the three known kinds are read as border pieces.
    return value == 1   ? TacImgType::itisaTexture
           : value == 2 ? TacImgType::itisaGlyph
                        : TacImgType::itisaBorder;
}

inline TsControlBevel BevelOf(std::int32_t value) {
    return value >= 0 && value <= 4 ? static_cast<TsControlBevel>(value) : TsControlBevel::cbNone;
}

// "c1;c2;percent;mode;x" groups; a trailing incomplete group is dropped.
inline TsGradArray ParseGradient(std::string_view text) {
    std::vector<std::string_view> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (!items.empty() && items.back().empty())
        items.pop_back(); // "…;0;" ends with a separator, not with an empty number
    TsGradArray steps;
    for (std::size_t g = 0; g + 5 <= items.size(); g += 5) {
        TsGradientStep step;
        step.Color1 = StrToInt(items[g]);
        step.Color2 = StrToInt(items[g + 1]);
        step.Percent = static_cast<std::uint8_t>(std::clamp(StrToInt(items[g + 2]), 0, 100));
        step.Mode = StrToInt(items[g + 3]);
        StrToInt(items[g + 4]); // read past, as the format has it
        steps.push_back(step);
    }
    return steps;
}

inline double ParseVersion(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

} // namespace skin::loaderparts
