// The loader's image pieces and patterns: every value that names a piece of the master bitmap,
// a bitmap file of its own or a JPEG picture.

#include <algorithm>

#include "skin/SkinColors.h"
#include "skin/SkinLoader.h"
#include "skin/SkinLoaderParts.h"

namespace skin {

using namespace loaderparts;
using toolkit::TMemIniFile;
using toolkit::UpperCase;

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

} // namespace skin
