// Building the skin model from a skin's options text and images.

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_map>

#include "skin/ParentChains.h"
#include "skin/SkinColors.h"
#include "skin/SkinLoader.h"
#include "skin/SkinPaths.h"
#include "toolkit/Int32.h"
#include "toolkit/IntText.h"

namespace skin {
namespace {

using toolkit::StrToInt;
using toolkit::TMemIniFile;
using toolkit::UpperCase;

constexpr std::int64_t kPatternMinPixels = 90000;

// Characters [position, position + count) of a value, positions counted from 1 as the skin
// format describes them; shorter when the value ends earlier.
std::string_view Field(std::string_view value, std::size_t position, std::size_t count) {
    const std::size_t start = std::min(position - 1, value.size());
    return value.substr(start, count);
}
std::int32_t FieldInt(std::string_view value, std::size_t position, std::size_t count) {
    return StrToInt(Field(value, position, count));
}

std::vector<std::string> SplitWords(std::string_view text, std::string_view delimiters) {
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
void ClampCounts(TsMaskData& m) {
    m.ImageCount = std::max<std::int16_t>(m.ImageCount, 1);
    m.MaskType = std::clamp<std::int16_t>(m.MaskType, 0, 1);
}

// Each state image, and its mask when there is one, is cut into a 3 × 3 grid.
void SetDefaultWidths(TsMaskData& m) {
    using toolkit::int32::Div;
    ClampCounts(m);
    m.WL = m.WR = static_cast<std::int16_t>(Div(PieceWidth(m), m.ImageCount * 3));
    m.WT = m.WB = static_cast<std::int16_t>(Div(PieceHeight(m), (m.MaskType + 1) * 3));
}

std::int16_t Short(std::int32_t value) {
    return static_cast<std::int16_t>(value);
}

TacImgType ImgTypeOf(std::int32_t value) {
    // Codes beyond the three known kinds are read as border pieces.
    return value == 1   ? TacImgType::itisaTexture
           : value == 2 ? TacImgType::itisaGlyph
                        : TacImgType::itisaBorder;
}

TsControlBevel BevelOf(std::int32_t value) {
    return value >= 0 && value <= 4 ? static_cast<TsControlBevel>(value) : TsControlBevel::cbNone;
}

// "c1;c2;percent;mode;x" groups; a trailing incomplete group is dropped.
TsGradArray ParseGradient(std::string_view text) {
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

double ParseVersion(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

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

TsFontColors ParseFontColors(std::string_view text) {
    const auto words = SplitWords(text, " ");
    TsFontColors colors{0, -1, -1, -1, -1};
    if (words.size() != 5)
        return colors;
    for (std::size_t i = 0; i < 5; ++i)
        colors[i] = StrToInt(words[i]);
    return colors;
}

std::unique_ptr<TsSkinBitmap> CopyBitmap(const TsSkinBitmap& source) {
    auto copy = std::make_unique<TsSkinBitmap>(source);
    copy->Transparent = source.Transparent;
    return copy;
}

// Applies f to a colour stored in a model field.
template <typename F> void Transform(std::int32_t& color, F f) {
    color = static_cast<std::int32_t>(f(ColorToRGB(color)));
}

template <typename F> void TransformPixels(TsSkinBitmap& bitmap, F f) {
    platform::Color lastIn = kMagenta, lastOut = kMagenta;
    for (std::int32_t y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* p = bitmap.ScanLine(y);
        for (std::int32_t x = 0; x < bitmap.Width(); ++x, p += 3) {
            if (p[0] == p[1] && p[1] == p[2])
                continue; // grey stays grey
            const platform::Color in = platform::RGB(p[2], p[1], p[0]);
            if (in == kMagenta)
                continue; // the transparent key keeps its meaning
            if (in != lastIn) {
                lastIn = in;
                lastOut = f(in);
            }
            p[0] = platform::GetBValue(lastOut);
            p[1] = platform::GetGValue(lastOut);
            p[2] = platform::GetRValue(lastOut);
        }
    }
}

} // namespace

std::unique_ptr<toolkit::TMemoryStream> TacSkinLoader::OpenImage(const std::string& name) {
    if (m_convertor != nullptr) {
        toolkit::TMemoryStream* member = m_convertor->FindMember(name);
        if (member == nullptr)
            return nullptr;
        return std::make_unique<toolkit::TMemoryStream>(member->Bytes());
    }
    const std::string path =
        name.find(':') != std::string::npos ? name : m_model.Info.SkinPath + name;
    const std::string host = FindSkinFile(path);
    if (host.empty())
        return nullptr;
    auto stream = std::make_unique<toolkit::TMemoryStream>();
    try {
        stream->LoadFromFile(host);
    } catch (const toolkit::Exception&) {
        return nullptr; // an unreadable image drops its piece
    }
    return stream;
}

std::unique_ptr<TsSkinBitmap> TacSkinLoader::LoadImageBitmap(const std::string& name) {
    auto stream = OpenImage(name);
    if (!stream)
        return nullptr;
    auto bitmap = LoadSkinBitmap(*stream);
    if (!bitmap || bitmap->Width() == 0)
        return nullptr;
    return bitmap;
}

std::unique_ptr<TsSkinPicture> TacSkinLoader::LoadImagePicture(const std::string& name) {
    auto stream = OpenImage(name);
    if (!stream)
        return nullptr;
    auto picture = LoadSkinPicture(*stream);
    if (!picture || picture->Width() == 0)
        return nullptr;
    return picture;
}

TacSkinLoader::TacSkinLoader(const toolkit::TStringList& commonSections, std::int32_t hueOffset,
                             std::int32_t saturation)
    : m_commonSections(commonSections), m_hueOffset(hueOffset), m_saturation(saturation) {}

TsSkinModel TacSkinLoader::FromIni(const TMemIniFile& ini, TacSkinConvertor* container,
                                   const std::string& skinPath) {
    m_model = TsSkinModel{};
    m_model.Info.SkinPath = skinPath;
    m_model.FromContainer = container != nullptr;
    m_convertor = container;
    LoadMasks(ini, true);
    LoadPatterns(ini);
    LoadSections(ini);
    return Finish();
}

TsSkinModel TacSkinLoader::Finish() {
    // The container is only lent for the load: a model never reaches back into it.
    m_convertor = nullptr;
    ApplyCommonSections();
    ResolveLookupParents();
    TransformColors();
    return std::move(m_model);
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

void TacSkinLoader::LoadMasks(const TMemIniFile& ini, bool withMaster) {
    if (withMaster) {
        m_model.Masks.clear();
        m_model.MasterBitmap = LoadImageBitmap(ini.ReadString("GLOBALINFO", "MASTERBITMAP", ""));
        if (!m_model.MasterBitmap)
            m_model.MasterBitmap = std::make_unique<TsSkinBitmap>(0, 0);
        m_model.MasterBitmap->Transparent = true;
        m_model.MasterBitmap->TransparentColor = kMagenta;
    }
    for (const std::string& section : ini.ReadSections()) {
        const bool global = UpperCase(section) == "GLOBALINFO";
        for (const auto& [key, value] : ini.ReadSectionValues(section)) {
            if (global && UpperCase(key) == "MASTERBITMAP")
                continue;
            AddMask(section, key, value);
        }
    }
}

void TacSkinLoader::AddMask(const std::string& section, const std::string& key,
                            const std::string& value) {
    TsMaskData m;
    m.SectionName = section;
    m.PropertyName = key;
    const char form = value.empty() ? '\0' : value.front();

    if (form == '!') { // a piece in a bitmap file of its own
        const auto words = SplitWords(value, "!");
        if (words.empty() || words[0].find(".BMP") == std::string::npos)
            return;
        std::shared_ptr<TsSkinBitmap> image = LoadImageBitmap(words[0]);
        if (!image)
            return;
        const auto word = [&](std::size_t i) {
            return StrToInt(i < words.size() ? std::string_view(words[i]) : std::string_view());
        };
        m.ImageCount = Short(word(1));
        m.MaskType = Short(word(2));
        m.ImgType = ImgTypeOf(word(3));
        m.R = {0, 0, image->Width(), image->Height()};
        m.Image = std::move(image);
        if (words.size() < 5) {
            SetDefaultWidths(m);
        } else {
            m.WL = Short(word(4));
            m.WT = Short(word(5));
            m.WR = Short(word(6));
            m.WB = Short(word(7));
        }
    } else if (form == '@') { // a glyph in the master bitmap
        m.R = {FieldInt(value, 2, 4), FieldInt(value, 7, 4), FieldInt(value, 12, 4),
               FieldInt(value, 17, 4)};
        m.ImageCount = Short(FieldInt(value, 22, 1));
        m.MaskType = Short(FieldInt(value, 24, 1));
        m.ImgType = TacImgType::itisaGlyph;
    } else if (form == '^') { // a border piece in the master bitmap
        m.R = {FieldInt(value, 2, 4), FieldInt(value, 7, 4), FieldInt(value, 12, 4),
               FieldInt(value, 17, 4)};
        m.WL = Short(FieldInt(value, 22, 4));
        m.WT = Short(FieldInt(value, 27, 4));
        m.WR = Short(FieldInt(value, 32, 4));
        m.WB = Short(FieldInt(value, 37, 4));
        m.ImageCount = Short(FieldInt(value, 42, 1));
        m.MaskType = Short(FieldInt(value, 44, 1));
        m.StretchMode = Short(FieldInt(value, 46, 1));
        m.BorderWidth = Short(FieldInt(value, 48, 1));
        m.ImgType = TacImgType::itisaBorder;
        if (m.WL + m.WT + m.WR + m.WB == 0) {
            if (m.BorderWidth != 0)
                m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
            else
                SetDefaultWidths(m);
        }
    } else if (form == '~') { // a texture in the master bitmap
        m.R = {FieldInt(value, 2, 4), FieldInt(value, 7, 4), FieldInt(value, 12, 4),
               FieldInt(value, 17, 4)};
        m.ImageCount = 1;
        m.StretchMode = Short(FieldInt(value, 22, 2));
        m.MaskType = value.size() >= 25 ? Short(FieldInt(value, 25, 1)) : 0;
        m.ImgType = TacImgType::itisaTexture;
    } else if (value.find('#') == std::string::npos) { // a whole bitmap file
        const std::string name = UpperCase(value);
        if (name.find(".BMP") == std::string::npos)
            return;
        std::shared_ptr<TsSkinBitmap> image = LoadImageBitmap(name);
        if (!image)
            return;
        m.SectionName = UpperCase(section);
        m.PropertyName = UpperCase(key);
        m.MaskType = 1;
        m.ImageCount = 3;
        m.R = {0, 0, image->Width(), image->Height()};
        m.Image = std::move(image);
        SetDefaultWidths(m);
    } else if (value != "#") {
        // The older layout: "… (left, top, right, bottom) (count, mask, border, stretch)".
        // Text that merely contains "#" and has no such numbers gives no piece.
        std::vector<std::string> words;
        for (const std::string& w : SplitWords(value, "()")) {
            if (w.find_first_not_of(' ') != std::string::npos)
                words.push_back(w);
        }
        if (words.size() < 3)
            return;
        std::vector<std::int32_t> rect, info;
        for (const std::string& n : SplitWords(words[1], ", ")) {
            if (const auto v = toolkit::TryStrToInt(n))
                rect.push_back(*v);
            else
                return;
        }
        for (const std::string& n : SplitWords(words[2], ", ")) {
            if (const auto v = toolkit::TryStrToInt(n))
                info.push_back(*v);
            else
                return;
        }
        if (rect.size() != 4)
            return;
        info.resize(std::max<std::size_t>(info.size(), 3), 0);
        m.R = {rect[0], rect[1], rect[2], rect[3]};
        m.ImageCount = Short(std::max(info[0], 1));
        m.MaskType = Short(std::max(info[1], 0));
        m.BorderWidth = Short(std::max(info[2], 0));
        const std::string upperKey = UpperCase(key);
        if (upperKey == "PATTERN" || upperKey == "HOTPATTERN") {
            m.ImgType = TacImgType::itisaTexture;
            m.StretchMode = 0;
        } else {
            m.ImgType = TacImgType::itisaBorder;
            m.StretchMode = Short(info.size() >= 4 ? info[3] : 1);
        }
        if (m.BorderWidth != 0)
            m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
        else
            SetDefaultWidths(m);
    } else {
        return;
    }
    ClampCounts(m);
    m_model.Masks.push_back(std::move(m));
}

void TacSkinLoader::LoadPatterns(const TMemIniFile& ini) {
    for (const std::string& section : ini.ReadSections()) {
        for (const auto& [key, raw] : ini.ReadSectionValues(section)) {
            const std::string value = UpperCase(raw);
            if (value.find(".JPG") == std::string::npos && value.find(".JPEG") == std::string::npos)
                continue;
            std::shared_ptr<TsSkinPicture> picture = LoadImagePicture(value);
            if (!picture)
                continue;
            const std::int64_t pixels = std::int64_t{picture->Width()} * picture->Height();
            if (pixels >= kPatternMinPixels) {
                m_model.Patterns.push_back(
                    {std::move(picture), UpperCase(section), UpperCase(key)});
                continue;
            }
            // Small pictures are drawn once and tiled as texture pieces from then on.
            std::shared_ptr<TsSkinBitmap> bitmap = RenderSkinPicture(*picture);
            if (!bitmap)
                continue;
            TsMaskData m;
            m.SectionName = UpperCase(section);
            m.PropertyName = UpperCase(key);
            m.ImgType = TacImgType::itisaTexture;
            m.ImageCount = 1;
            m.R = {0, 0, bitmap->Width(), bitmap->Height()};
            m.Image = std::move(bitmap);
            ClampCounts(m);
            m_model.Masks.push_back(std::move(m));
        }
    }
}

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

TsSkinModel TacSkinLoader::FromStoredSkin(const TsStoredSkin& item, const std::string& skinPath) {
    m_model = TsSkinModel{};
    m_model.Info.SkinPath = skinPath;
    m_convertor = nullptr;
    m_model.MasterBitmap =
        item.MasterBitmap ? CopyBitmap(*item.MasterBitmap) : std::make_unique<TsSkinBitmap>(0, 0);
    m_model.MasterBitmap->Transparent = true;
    m_model.MasterBitmap->TransparentColor = kMagenta;

    for (const TsSkinImage& image : item.Images) {
        TsMaskData m;
        m.SectionName = image.SectionName;
        m.PropertyName = image.PropertyName;
        m.ImageCount = image.ImageCount;
        m.MaskType = image.MaskType;
        m.BorderWidth = image.BorderWidth;
        m.StretchMode = image.StretchMode;
        m.ImgType = ImgTypeOf(image.ImgType);
        if (image.Image && !image.Name.empty()) {
            m.Image = CopyBitmap(*image.Image);
            m.R = {0, 0, m.Image->Width(), m.Image->Height()};
        } else {
            m.R = {image.Left, image.Top, image.Right, image.Bottom};
        }
        if (m.ImageCount == 0) {
            m.ImageCount = 3;
            m.MaskType = 1;
        }
        if (image.WL + image.WT + image.WR + image.WB != 0) {
            m.WL = image.WL;
            m.WT = image.WT;
            m.WR = image.WR;
            m.WB = image.WB;
        } else {
            SetDefaultWidths(m);
        }
        ClampCounts(m);
        m_model.Masks.push_back(std::move(m));
    }
    for (const TsSkinPattern& pattern : item.Patterns)
        if (pattern.Image)
            m_model.Patterns.push_back({pattern.Image, pattern.SectionName, pattern.PropertyName});

    m_model.Sections.clear();
    for (const TsSkinGeneral& g : item.GeneralData) {
        TsGeneralData d;
        d.ParentClass = g.ParentClass;
        d.ClassName = g.SectionName;
        d.Color = static_cast<std::int32_t>(ColorToRGB(g.Color));
        d.Bevel = BevelOf(g.Bevel);
        d.FontColor = ParseFontColors(g.FontColor);
        d.HotFontColor = ParseFontColors(g.HotFontColor);
        d.ReservedBoolean = g.ReservedBoolean;
        d.ShadowBlur = g.ShadowBlur;
        d.ShadowColor = g.ShadowColor;
        d.ShadowEnabled = g.ShadowEnabled;
        d.ShadowOffset = g.ShadowOffset;
        d.ShadowTransparency = g.ShadowTransparency;
        d.Transparency = g.Transparency;
        d.GradientPercent = g.GradientPercent;
        d.GradientData = g.GradientData;
        d.Gradient = g.GradientData == " " ? TsGradArray{} : ParseGradient(g.GradientData);
        d.ImagePercent = g.ImagePercent;
        d.ShowFocus = g.ShowFocus;
        d.FadingEnabled = g.FadingEnabled;
        d.FadingIntervalIn = g.FadingIntervalIn;
        d.FadingIntervalOut = g.FadingIntervalOut;
        d.FadingIterations = g.FadingIterations;
        d.HotColor = g.HotColor;
        d.HotTransparency = g.HotTransparency;
        d.HotBevel = BevelOf(g.HotBevel);
        d.HotGradientPercent = g.HotGradientPercent;
        d.HotGradientData = g.HotGradientData;
        d.HotGradient = ParseGradient(g.HotGradientData);
        d.HotImagePercent = g.HotImagePercent;
        d.BorderColor1 = g.BorderColor1;
        d.BorderColor2 = g.BorderColor2;
        m_model.Sections.push_back(std::move(d));
    }

    TsSkinData& s = m_model.Info;
    s.Version = item.Version;
    s.Author = item.Author;
    s.Description = item.Description;
    s.Shadow1Color = item.Shadow1Color;
    s.Shadow1Offset = item.Shadow1Offset;
    s.Shadow1Blur = item.Shadow1Blur;
    s.Shadow1Transparency = item.Shadow1Transparency;
    s.BorderColor = item.BorderColor;
    return Finish();
}

void TacSkinLoader::TransformColors() {
    const auto apply = [this](auto f) {
        if (m_model.MasterBitmap)
            TransformPixels(*m_model.MasterBitmap, f);
        for (TsMaskData& m : m_model.Masks)
            if (m.Image)
                TransformPixels(*m.Image, f);
        for (TsGeneralData& d : m_model.Sections) {
            Transform(d.Color, f);
            Transform(d.HotColor, f);
            for (std::int32_t& c : d.FontColor)
                if (c != -1)
                    Transform(c, f);
            for (std::int32_t& c : d.HotFontColor)
                if (c != -1)
                    Transform(c, f);
            for (TsGradArray* steps : {&d.Gradient, &d.HotGradient})
                for (TsGradientStep& step : *steps) {
                    Transform(step.Color1, f);
                    Transform(step.Color2, f);
                }
        }
        Transform(m_model.Info.Shadow1Color, f);
        Transform(m_model.Info.BorderColor, f);
    };
    if (m_hueOffset != 0)
        apply([offset = m_hueOffset](platform::Color c) { return ChangeHue(c, offset); });
    if (m_saturation != 0)
        apply([amount = m_saturation](platform::Color c) { return ChangeSaturation(c, amount); });
}

} // namespace skin
