// The skin manager's lookups and queries over the skin in use, and the indexes it caches.

#include <algorithm>

#include "skin/SkinColors.h"
#include "skin/sSkinManager.h"
#include "toolkit/Int32.h"

namespace skin {
namespace {

// Masks are held sane on load; these keep the queries safe for masks made any other way.
std::int32_t ImageCountOf(const TsMaskData& m) {
    return std::max<std::int32_t>(m.ImageCount, 1);
}
std::int32_t MaskPartsOf(const TsMaskData& m) {
    return std::clamp<std::int32_t>(m.MaskType, 0, 1) + 1;
}

constexpr std::array<const char*, 9> kCheckGlyphKeys = {
    "BOXCHECKED",  "BOXUNCHECKED", "BOXGRAYED",      "RADIOCHECKED", "RADIOUNCHECKED",
    "RADIOGRAYED", "SMALLCHECKED", "SMALLUNCHECKED", "SMALLGRAYED"};

} // namespace

void TsSkinManager::UpdateCachedIndexes() {
    TsCachedIndexes c;
    c.GlobalInfo = FindSectionIndex("GLOBALINFO");
    for (std::size_t i = 0; i < kCheckGlyphKeys.size(); ++i)
        c.CheckGlyphs[i] =
            c.GlobalInfo < 0 ? -1 : FindPieceIndex(c.GlobalInfo, "GLOBALINFO", kCheckGlyphKeys[i]);

    c.ComboButton.Section = FindSectionIndex("COMBOBTN");
    c.ComboButton.Border = FindOwnPieceIndex("COMBOBTN", "BORDERSMASK");
    c.ComboButton.Pattern = FindTextureIndex(c.ComboButton.Section, "COMBOBTN", "PATTERN");
    c.ComboButton.HotPattern = FindTextureIndex(c.ComboButton.Section, "COMBOBTN", "HOTPATTERN");
    c.ComboGlyph = FindOwnPieceIndex("COMBOBOX", "GLYPHMASK");

    const auto fill = [this](TsPieceIndexes& p, const char* name, bool glyph, bool textures) {
        p.Section = FindSectionIndex(name);
        p.Border = FindPieceIndex(p.Section, name, "BORDERSMASK");
        if (glyph && p.Section >= 0)
            p.Glyph = FindPieceIndex(p.Section, name, "GLYPHMASK");
        if (textures) {
            p.Pattern = FindTextureIndex(p.Section, name, "PATTERN");
            p.HotPattern = FindTextureIndex(p.Section, name, "HOTPATTERN");
        }
    };
    const char* tabs[] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
    const char* buttons[] = {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"};
    const char* sliders[] = {"SCROLLSLIDERV", "SCROLLSLIDERH"};
    const char* bars[] = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"};
    for (int i = 0; i < 4; ++i) {
        fill(c.Tabs[i], tabs[i], false, false);
        fill(c.ScrollButtons[i], buttons[i], true, true);
        fill(c.ScrollBars[i], bars[i], false, true);
    }
    for (int i = 0; i < 2; ++i)
        fill(c.ScrollSliders[i], sliders[i], true, true);
    m_cache = c;
}

// Lookups.

std::int32_t TsSkinManager::FindSectionIndex(std::string_view sectionName) const {
    for (std::size_t i = 0; i < m_model.Sections.size(); ++i)
        if (m_model.Sections[i].ClassName == sectionName)
            return static_cast<std::int32_t>(i);
    return -1;
}

template <typename Accept>
std::int32_t TsSkinManager::FindInherited(std::int32_t sectionIndex, std::string_view sectionName,
                                          std::string_view key, Accept accept) const {
    // The parents were resolved when the skin was built: no cycle, no chain past the bound.
    for (std::int32_t hops = 0; hops <= kMaxParentDepth; ++hops) {
        if (sectionIndex < 0 || sectionName.empty())
            return -1;
        if (const std::int32_t found = accept(sectionName, key); found >= 0)
            return found;
        const auto at = static_cast<std::size_t>(sectionIndex);
        if (at >= m_model.Parents.size() || m_model.Parents[at] < 0)
            return -1;
        sectionIndex = m_model.Parents[at];
        sectionName = m_model.Sections[static_cast<std::size_t>(sectionIndex)].ClassName;
    }
    return -1;
}

std::int32_t TsSkinManager::FindPieceIndex(std::int32_t sectionIndex, std::string_view sectionName,
                                           std::string_view key) const {
    return FindInherited(
        sectionIndex, sectionName, key,
        [this](std::string_view s, std::string_view k) { return FindOwnPieceIndex(s, k); });
}

std::int32_t TsSkinManager::FindTextureIndex(std::int32_t sectionIndex,
                                             std::string_view sectionName,
                                             std::string_view key) const {
    return FindInherited(sectionIndex, sectionName, key,
                         [this](std::string_view s, std::string_view k) {
                             for (std::size_t i = 0; i < m_model.Masks.size(); ++i) {
                                 const TsMaskData& m = m_model.Masks[i];
                                 if (m.ImgType == TacImgType::itisaTexture && m.SectionName == s &&
                                     m.PropertyName == k)
                                     return static_cast<std::int32_t>(i);
                             }
                             return -1;
                         });
}

std::int32_t TsSkinManager::FindPatternIndex(std::int32_t sectionIndex,
                                             std::string_view sectionName,
                                             std::string_view key) const {
    return FindInherited(
        sectionIndex, sectionName, key, [this](std::string_view s, std::string_view k) {
            for (std::size_t i = 0; i < m_model.Patterns.size(); ++i)
                if (m_model.Patterns[i].SectionName == s && m_model.Patterns[i].PropertyName == k)
                    return static_cast<std::int32_t>(i);
            return -1;
        });
}

std::int32_t TsSkinManager::FindOwnPieceIndex(std::string_view sectionName,
                                              std::string_view key) const {
    for (std::size_t i = 0; i < m_model.Masks.size(); ++i)
        if (m_model.Masks[i].SectionName == sectionName && m_model.Masks[i].PropertyName == key)
            return static_cast<std::int32_t>(i);
    return -1;
}

// Queries.

platform::Color TsSkinManager::GetGlobalColor() const {
    const std::int32_t i = FindSectionIndex("GLOBALINFO");
    return ColorToRGB(i < 0 ? kClBtnFace : m_model.Sections[static_cast<std::size_t>(i)].Color);
}

platform::Color TsSkinManager::GetGlobalFontColor() const {
    const std::int32_t i = FindSectionIndex("GLOBALINFO");
    if (i < 0)
        return kMagenta;
    // -1: the skin does not define one.
    const std::int32_t color = m_model.Sections[static_cast<std::size_t>(i)].FontColor[0];
    return color == -1 ? kMagenta : ColorToRGB(color);
}

platform::Color TsSkinManager::GetActiveEditColor() const {
    const std::int32_t i = FindSectionIndex("GLOBALINFO");
    return ColorToRGB(i < 0 ? kClWindow : m_model.Sections[static_cast<std::size_t>(i)].HotColor);
}

platform::Size TsSkinManager::GetStateImageSize(std::int32_t maskIndex) const {
    if (!IsValidImgIndex(maskIndex))
        return {};
    const TsMaskData& m = m_model.Masks[static_cast<std::size_t>(maskIndex)];
    using toolkit::int32::Div;
    if (m.Image)
        return {Div(m.Image->Width(), 3), Div(m.Image->Height(), 2)};
    return {Div(PieceWidth(m), ImageCountOf(m)), Div(PieceHeight(m), MaskPartsOf(m))};
}

std::int32_t TsSkinManager::GetMaskWidthLeft(std::int32_t maskIndex) {
    if (!IsValidImgIndex(maskIndex))
        return 0;
    TsMaskData& m = m_model.Masks[static_cast<std::size_t>(maskIndex)];
    if (m.ImageCount == 0)
        m.ImageCount = 1;
    if (m.WL > 0)
        return m.WL;
    if (m.BorderWidth > 0)
        return m.BorderWidth;
    return toolkit::int32::Div(PieceWidth(m), ImageCountOf(m) * 3);
}

std::int32_t TsSkinManager::GetMaskWidthTop(std::int32_t maskIndex) const {
    if (!IsValidImgIndex(maskIndex))
        return 0;
    const TsMaskData& m = m_model.Masks[static_cast<std::size_t>(maskIndex)];
    if (m.WT > 0)
        return m.WT;
    if (m.BorderWidth > 0)
        return m.BorderWidth;
    return toolkit::int32::Div(PieceHeight(m), MaskPartsOf(m) * 3);
}

std::int32_t TsSkinManager::GetMaskWidthRight(std::int32_t maskIndex) const {
    if (!IsValidImgIndex(maskIndex))
        return 0;
    const TsMaskData& m = m_model.Masks[static_cast<std::size_t>(maskIndex)];
    if (m.WR > 0)
        return m.WR;
    if (m.BorderWidth > 0)
        return m.BorderWidth;
    return toolkit::int32::Div(PieceWidth(m), ImageCountOf(m) * 3);
}

std::int32_t TsSkinManager::GetMaskWidthBottom(std::int32_t maskIndex) const {
    if (!IsValidImgIndex(maskIndex))
        return 0;
    const TsMaskData& m = m_model.Masks[static_cast<std::size_t>(maskIndex)];
    if (m.WB > 0)
        return m.WB;
    if (m.BorderWidth > 0)
        return m.BorderWidth;
    return toolkit::int32::Div(PieceHeight(m), MaskPartsOf(m) * 3);
}

bool TsSkinManager::IsValidImgIndex(std::int32_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_model.Masks.size();
}

bool TsSkinManager::IsValidSkinIndex(std::int32_t index) const {
    return m_active && index >= 0 && static_cast<std::size_t>(index) < m_model.Sections.size();
}

} // namespace skin
