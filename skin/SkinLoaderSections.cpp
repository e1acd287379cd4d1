// The loader's sections: each section's values, inherited down its parent-class chain, the
// common sections laid on top, and the parents that lookups follow.

#include <unordered_map>

#include "skin/ParentChains.h"
#include "skin/SkinColors.h"
#include "skin/SkinLoader.h"
#include "skin/SkinLoaderParts.h"

namespace skin {
namespace {

using namespace loaderparts;
using toolkit::TMemIniFile;
using toolkit::UpperCase;

// Reads a section's own values over a base: the parent section's finished values, or the
// defaults. A missing key, or a number written as -1 or a text written as "?", counts as absent
// and keeps the base. Direct values are never inherited: absent, they take the default.
class OwnReader {
public:
    OwnReader(const TMemIniFile& ini, std::string section)
        : m_ini(ini), m_section(std::move(section)) {}

    std::int32_t Int(std::string_view key, std::int32_t base) const {
        const std::int32_t value = m_ini.ReadInteger(m_section, key, -1);
        return value != -1 ? value : base;
    }
    std::string Str(std::string_view key, std::string_view base) const {
        std::string value = m_ini.ReadString(m_section, key, "?");
        return value != "?" ? value : std::string(base);
    }
    bool Bool(std::string_view key, bool base) const {
        return UpperCase(Str(key, base ? "TRUE" : "FALSE")) == "TRUE";
    }
    std::int32_t Direct(std::string_view key, std::int32_t, std::int32_t fallback) const {
        return m_ini.ReadInteger(m_section, key, fallback);
    }

private:
    const TMemIniFile& m_ini;
    std::string m_section;
};

// Reads a section of the common sections: a key given there wins, any other keeps the base
// value (the parent section's, or the default).
class CommonReader {
public:
    CommonReader(const TMemIniFile& ini, std::string section)
        : m_ini(ini), m_section(std::move(section)) {}
    std::int32_t Int(std::string_view key, std::int32_t base) const {
        return m_ini.ReadInteger(m_section, key, base);
    }
    std::string Str(std::string_view key, std::string_view base) const {
        return m_ini.ReadString(m_section, key, base);
    }
    bool Bool(std::string_view key, bool base) const {
        return m_ini.ValueExists(m_section, key) ? m_ini.ReadBool(m_section, key, false) : base;
    }
    std::int32_t Direct(std::string_view key, std::int32_t base, std::int32_t) const {
        return Int(key, base);
    }

private:
    const TMemIniFile& m_ini;
    std::string m_section;
};

// Fills every field over the values already in d, which serve as the base.
template <typename Reader> void FillSection(TsGeneralData& d, const Reader& r) {
    d.Color = static_cast<std::int32_t>(ColorToRGB(r.Int("COLOR", d.Color)));
    d.Bevel = BevelOf(r.Int("BEVEL", static_cast<std::int32_t>(d.Bevel)));
    static constexpr const char* kFont[] = {"FONTCOLOR", "TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM"};
    static constexpr const char* kHotFont[] = {"HOTFONTCOLOR", "HOTTCLEFT", "HOTTCTOP",
                                               "HOTTCRIGHT", "HOTTCBOTTOM"};
    for (std::size_t i = 0; i < 5; ++i) {
        d.FontColor[i] = r.Int(kFont[i], d.FontColor[i]);
        d.HotFontColor[i] = r.Int(kHotFont[i], d.HotFontColor[i]);
    }
    d.ReservedBoolean = r.Bool("RESERVEDBOOLEAN", d.ReservedBoolean);
    d.ShadowBlur = r.Int("SHADOWBLUR", d.ShadowBlur);
    d.ShadowColor = r.Direct("SHADOWCOLOR", d.ShadowColor, TsGeneralData{}.ShadowColor);
    d.ShadowEnabled = r.Bool("SHADOWENABLED", d.ShadowEnabled);
    d.ShadowOffset = r.Int("SHADOWOFFSET", d.ShadowOffset);
    d.ShadowTransparency = r.Int("SHADOWTRANSPARENCY", d.ShadowTransparency);
    d.Transparency = r.Int("TRANSPARENCY", d.Transparency);
    d.GradientPercent = r.Int("GRADIENTPERCENT", d.GradientPercent);
    d.GradientData = r.Str("GRADIENTDATA", d.GradientData);
    d.Gradient = d.GradientData == " " ? TsGradArray{} : ParseGradient(d.GradientData);
    d.ImagePercent = r.Int("IMAGEPERCENT", d.ImagePercent);
    d.ShowFocus = r.Bool("SHOWFOCUS", d.ShowFocus);
    d.FadingEnabled = r.Bool("FADINGENABLED", d.FadingEnabled);
    d.FadingIntervalIn = r.Int("FADINGINTERVALIN", d.FadingIntervalIn);
    d.FadingIntervalOut = r.Int("FADINGINTERVALOUT", d.FadingIntervalOut);
    d.FadingIterations = r.Int("FADINGITERATIONS", d.FadingIterations);
    d.HotColor = r.Int("HOTCOLOR", d.HotColor);
    d.HotTransparency = r.Int("HOTTRANSPARENCY", d.HotTransparency);
    d.HotBevel = BevelOf(r.Int("HOTBEVEL", static_cast<std::int32_t>(d.HotBevel)));
    d.HotGradientPercent = r.Int("HOTGRADIENTPERCENT", d.HotGradientPercent);
    d.HotGradientData = r.Str("HOTGRADIENTDATA", d.HotGradientData);
    d.HotGradient = ParseGradient(d.HotGradientData);
    d.HotImagePercent = r.Int("HOTIMAGEPERCENT", d.HotImagePercent);
    d.BorderColor1 = r.Int("BORDERCOLOR1", d.BorderColor1);
    d.BorderColor2 = r.Int("BORDERCOLOR2", d.BorderColor2);
}

} // namespace

void TacSkinLoader::LoadSections(const TMemIniFile& ini) {
    TsSkinData& s = m_model.Info;
    s.Version = ParseVersion(ini.ReadString("GLOBALINFO", "VERSION", ""));
    s.Author = ini.ReadString("GLOBALINFO", "AUTHOR", "");
    s.Description = ini.ReadString("GLOBALINFO", "DESCRIPTION", "");
    s.Shadow1Color = ini.ReadInteger("GLOBALINFO", "SHADOW1COLOR", 0);
    s.Shadow1Offset = StrToInt(ini.ReadString("GLOBALINFO", "SHADOW1OFFSET", "0"));
    s.Shadow1Blur = StrToInt(ini.ReadString("GLOBALINFO", "SHADOW1BLUR", "-1"));
    s.Shadow1Transparency = StrToInt(ini.ReadString("GLOBALINFO", "SHADOW1TRANSPARENCY", "0"));
    s.BISpace = ini.ReadInteger("GLOBALINFO", "BISPACE", 0);
    s.BorderColor = ini.ReadInteger("GLOBALINFO", "BORDERCOLOR", 0);

    // Values come down each PARENTCLASS chain: a section starts from its parent's finished
    // values, so every section is read once, parents first. Parent names match sections as the
    // options text does, without regard to case; a section naming itself has no parent.
    const std::vector<std::string> names = ini.ReadSections();
    std::unordered_map<std::string, std::int32_t> byName;
    for (std::size_t i = 0; i < names.size(); ++i)
        byName.emplace(UpperCase(names[i]), static_cast<std::int32_t>(i));
    std::vector<std::int32_t> parents(names.size(), -1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string parent = ini.ReadString(names[i], "PARENTCLASS", "?");
        if (parent.empty() || parent == "?" || parent == names[i])
            continue;
        if (const auto it = byName.find(UpperCase(parent)); it != byName.end())
            parents[i] = it->second;
    }
    const TacParentForest forest = ResolveParentChains(std::move(parents), kMaxParentDepth);

    m_model.Sections.assign(names.size(), TsGeneralData{});
    for (const std::int32_t i : forest.Order) {
        const auto at = static_cast<std::size_t>(i);
        const std::int32_t parent = forest.Parents[at];
        TsGeneralData d =
            parent >= 0 ? m_model.Sections[static_cast<std::size_t>(parent)] : TsGeneralData{};
        d.ClassName = names[at];
        d.ParentClass = ini.ReadString(names[at], "PARENTCLASS", "");
        FillSection(d, OwnReader(ini, names[at]));
        m_model.Sections[at] = std::move(d);
    }
}

void TacSkinLoader::ApplyCommonSections() {
    if (m_commonSections.Count() == 0)
        return;
    TMemIniFile common;
    common.SetStrings(m_commonSections);
    // Images named there are files beside the skin, whatever form the skin itself came in
    // (the container is no longer lent by now).
    LoadMasks(common, false);
    LoadPatterns(common);

    for (const std::string& name : common.ReadSections()) {
        const std::string parent = common.ReadString(name, "PARENTCLASS", "");
        const std::int32_t parentIndex = parent.empty() ? -1 : FindSection(parent);
        TsGeneralData d = parentIndex >= 0 ? m_model.Sections[static_cast<std::size_t>(parentIndex)]
                                           : TsGeneralData{};
        d.ClassName = name;
        d.ParentClass = parent;
        FillSection(d, CommonReader(common, name));
        if (const std::int32_t existing = FindSection(name); existing >= 0)
            m_model.Sections[static_cast<std::size_t>(existing)] = std::move(d);
        else
            m_model.Sections.push_back(std::move(d));
    }
}

std::int32_t TacSkinLoader::FindSection(std::string_view name) const {
    for (std::size_t i = 0; i < m_model.Sections.size(); ++i)
        if (m_model.Sections[i].ClassName == name)
            return static_cast<std::int32_t>(i);
    return -1;
}

// Lookups inherit pieces and patterns by exact section names: the first section of the name
// given as ParentClass, unless that is the section's own name.
void TacSkinLoader::ResolveLookupParents() {
    const TsGeneralDataArray& sections = m_model.Sections;
    std::unordered_map<std::string_view, std::int32_t> byName;
    for (std::size_t i = 0; i < sections.size(); ++i)
        byName.emplace(sections[i].ClassName, static_cast<std::int32_t>(i));
    std::vector<std::int32_t> parents(sections.size(), -1);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::string& parent = sections[i].ParentClass;
        if (parent.empty() || parent == sections[i].ClassName)
            continue;
        if (const auto it = byName.find(parent); it != byName.end())
            parents[i] = it->second;
    }
    m_model.Parents = ResolveParentChains(std::move(parents), kMaxParentDepth).Parents;
}

} // namespace skin
