// Building the skin model from a skin's options text and images.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <unordered_set>

#include "skin/SkinColors.h"
#include "skin/SkinPaths.h"
#include "skin/sSkinManager.h"
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

// Reads a section's values, taking a missing one from the PARENTCLASS chain. A value of -1
// (numbers) or a missing key counts as absent; a chain that comes back to a section it has
// seen ends there.
class InheritingReader {
public:
    InheritingReader(const TMemIniFile& ini, std::string section)
        : m_ini(ini), m_section(std::move(section)) {}

    std::int32_t Int(std::string_view key, std::int32_t fallback) const {
        std::int32_t value = -1;
        Walk([&](const std::string& s) {
            value = m_ini.ReadInteger(s, key, -1);
            return value != -1;
        });
        return value != -1 ? value : fallback;
    }
    std::string Str(std::string_view key, std::string_view fallback) const {
        std::string value = "?";
        Walk([&](const std::string& s) {
            value = m_ini.ReadString(s, key, "?");
            return value != "?";
        });
        return value != "?" ? value : std::string(fallback);
    }
    bool Bool(std::string_view key, bool fallback) const {
        return UpperCase(Str(key, fallback ? "TRUE" : "FALSE")) == "TRUE";
    }
    std::int32_t Direct(std::string_view key, std::int32_t fallback) const {
        return m_ini.ReadInteger(m_section, key, fallback);
    }

private:
    template <typename Found> void Walk(Found found) const {
        std::string section = m_section;
        std::unordered_set<std::string> seen{UpperCase(section)};
        while (!found(section)) {
            std::string parent = m_ini.ReadString(section, "PARENTCLASS", "?");
            if (parent.empty() || parent == "?" || parent == section ||
                !seen.insert(UpperCase(parent)).second)
                return;
            section = std::move(parent);
        }
    }

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
    std::int32_t Direct(std::string_view key, std::int32_t base) const { return Int(key, base); }

private:
    const TMemIniFile& m_ini;
    std::string m_section;
};

// Fills every field over the values already in d, which serve as the defaults.
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
    d.ShadowColor = r.Direct("SHADOWCOLOR", d.ShadowColor);
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

std::unique_ptr<toolkit::TMemoryStream> TsSkinManager::OpenImage(const std::string& name) {
    if (m_convertor != nullptr) {
        toolkit::TMemoryStream* member = m_convertor->FindMember(name);
        if (member == nullptr || !TsSkinPictureBudget::Has(member->Size()))
            return nullptr;
        return std::make_unique<toolkit::TMemoryStream>(member->Bytes());
    }
    const std::string path =
        name.find(':') != std::string::npos ? name : m_skinData.SkinPath + name;
    const std::string host = FindSkinFile(path);
    if (host.empty())
        return nullptr;
    std::error_code error;
    const auto fileBytes = std::filesystem::file_size(host, error);
    if (error || !TsSkinPictureBudget::Has(static_cast<std::int64_t>(fileBytes)))
        return nullptr;
    auto stream = std::make_unique<toolkit::TMemoryStream>();
    try {
        stream->LoadFromFile(host);
    } catch (const toolkit::Exception&) {
        return nullptr; // an unreadable image drops its piece
    }
    return stream;
}

std::unique_ptr<TsSkinBitmap> TsSkinManager::LoadImageBitmap(const std::string& name) {
    auto stream = OpenImage(name);
    if (!stream)
        return nullptr;
    auto bitmap = LoadSkinBitmap(*stream);
    if (!bitmap || bitmap->Width() == 0)
        return nullptr;
    return bitmap;
}

std::unique_ptr<TsSkinPicture> TsSkinManager::LoadImagePicture(const std::string& name) {
    auto stream = OpenImage(name);
    if (!stream)
        return nullptr;
    auto picture = LoadSkinPicture(*stream);
    if (!picture || picture->Width() == 0)
        return nullptr;
    return picture;
}

void TsSkinManager::LoadFromIni(const TMemIniFile& ini) {
    const TsSkinPictureBudget pictures;
    // The previous skin's pictures go: the lookup by section and key takes the first match.
    m_patterns.clear();
    LoadMasks(ini, true);
    LoadPatterns(ini);
    LoadSections(ini);
    ApplyCommonSections();
    TransformColors();
}

void TsSkinManager::LoadMasks(const TMemIniFile& ini, bool withMaster) {
    if (withMaster) {
        m_masks.clear();
        m_masterBitmap = LoadImageBitmap(ini.ReadString("GLOBALINFO", "MASTERBITMAP", ""));
        if (!m_masterBitmap)
            m_masterBitmap = std::make_unique<TsSkinBitmap>(0, 0);
        m_masterBitmap->Transparent = true;
        m_masterBitmap->TransparentColor = kMagenta;
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

void TsSkinManager::AddMask(const std::string& section, const std::string& key,
                            const std::string& value) {
    TsMaskData m;
    m.SectionName = section;
    m.PropertyName = key;
    m.Manager = this;
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
    m_masks.push_back(std::move(m));
}

void TsSkinManager::LoadPatterns(const TMemIniFile& ini) {
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
                m_patterns.push_back({std::move(picture), UpperCase(section), UpperCase(key)});
                continue;
            }
            // Small pictures are drawn once and tiled as texture pieces from then on.
            std::shared_ptr<TsSkinBitmap> bitmap = RenderSkinPicture(*picture);
            if (!bitmap)
                continue;
            TsMaskData m;
            m.SectionName = UpperCase(section);
            m.PropertyName = UpperCase(key);
            m.Manager = this;
            m.ImgType = TacImgType::itisaTexture;
            m.ImageCount = 1;
            m.R = {0, 0, bitmap->Width(), bitmap->Height()};
            m.Image = std::move(bitmap);
            ClampCounts(m);
            m_masks.push_back(std::move(m));
        }
    }
}

void TsSkinManager::LoadSections(const TMemIniFile& ini) {
    TsSkinData& s = m_skinData;
    s.Version = ParseVersion(ini.ReadString("GLOBALINFO", "VERSION", ""));
    s.Author = ini.ReadString("GLOBALINFO", "AUTHOR", "");
    s.Description = ini.ReadString("GLOBALINFO", "DESCRIPTION", "");
    s.Shadow1Color = ini.ReadInteger("GLOBALINFO", "SHADOW1COLOR", 0);
    s.Shadow1Offset = StrToInt(ini.ReadString("GLOBALINFO", "SHADOW1OFFSET", "0"));
    s.Shadow1Blur = StrToInt(ini.ReadString("GLOBALINFO", "SHADOW1BLUR", "-1"));
    s.Shadow1Transparency = StrToInt(ini.ReadString("GLOBALINFO", "SHADOW1TRANSPARENCY", "0"));
    s.BISpace = ini.ReadInteger("GLOBALINFO", "BISPACE", 0);
    s.BorderColor = ini.ReadInteger("GLOBALINFO", "BORDERCOLOR", 0);

    m_sections.clear();
    for (const std::string& name : ini.ReadSections()) {
        TsGeneralData d;
        d.ClassName = name;
        d.ParentClass = ini.ReadString(name, "PARENTCLASS", "");
        FillSection(d, InheritingReader(ini, name));
        m_sections.push_back(std::move(d));
    }
}

void TsSkinManager::ApplyCommonSections() {
    if (m_commonSections.Count() == 0)
        return;
    TMemIniFile common;
    common.SetStrings(m_commonSections);
    // Images named there are files beside the skin, whatever form the skin itself came in.
    TacSkinConvertor* const convertor = std::exchange(m_convertor, nullptr);
    try {
        LoadMasks(common, false);
        LoadPatterns(common);
    } catch (...) {
        m_convertor = convertor;
        throw;
    }
    m_convertor = convertor;

    for (const std::string& name : common.ReadSections()) {
        const std::string parent = common.ReadString(name, "PARENTCLASS", "");
        const std::int32_t parentIndex = parent.empty() ? -1 : FindSectionIndex(parent);
        TsGeneralData d =
            parentIndex >= 0 ? m_sections[static_cast<std::size_t>(parentIndex)] : TsGeneralData{};
        d.ClassName = name;
        d.ParentClass = parent;
        FillSection(d, CommonReader(common, name));
        if (const std::int32_t existing = FindSectionIndex(name); existing >= 0)
            m_sections[static_cast<std::size_t>(existing)] = std::move(d);
        else
            m_sections.push_back(std::move(d));
    }
}

void TsSkinManager::LoadFromStoredSkin(const TsStoredSkin& item) {
    m_masks.clear();
    m_patterns.clear();
    m_masterBitmap =
        item.MasterBitmap ? CopyBitmap(*item.MasterBitmap) : std::make_unique<TsSkinBitmap>(0, 0);
    m_masterBitmap->Transparent = true;
    m_masterBitmap->TransparentColor = kMagenta;

    for (const TsSkinImage& image : item.Images) {
        TsMaskData m;
        m.SectionName = image.SectionName;
        m.PropertyName = image.PropertyName;
        m.Manager = this;
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
        m_masks.push_back(std::move(m));
    }
    for (const TsSkinPattern& pattern : item.Patterns)
        if (pattern.Image)
            m_patterns.push_back({pattern.Image, pattern.SectionName, pattern.PropertyName});

    m_sections.clear();
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
        m_sections.push_back(std::move(d));
    }

    TsSkinData& s = m_skinData;
    s.Version = item.Version;
    s.Author = item.Author;
    s.Description = item.Description;
    s.Shadow1Color = item.Shadow1Color;
    s.Shadow1Offset = item.Shadow1Offset;
    s.Shadow1Blur = item.Shadow1Blur;
    s.Shadow1Transparency = item.Shadow1Transparency;
    s.BorderColor = item.BorderColor;

    ApplyCommonSections();
    TransformColors();
}

void TsSkinManager::TransformColors() {
    const auto apply = [this](auto f) {
        if (m_masterBitmap)
            TransformPixels(*m_masterBitmap, f);
        for (TsMaskData& m : m_masks)
            if (m.Image)
                TransformPixels(*m.Image, f);
        for (TsGeneralData& d : m_sections) {
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
        Transform(m_skinData.Shadow1Color, f);
        Transform(m_skinData.BorderColor, f);
    };
    if (m_hueOffset != 0)
        apply([offset = m_hueOffset](platform::Color c) { return ChangeHue(c, offset); });
    if (m_saturation != 0)
        apply([amount = m_saturation](platform::Color c) { return ChangeSaturation(c, amount); });
}

} // namespace skin
