// Building the skin model from a skin's options text and images.

#include <algorithm>
#include <filesystem>

#include "skin/SkinColors.h"
#include "skin/SkinLoader.h"
#include "skin/SkinLoaderParts.h"
#include "skin/SkinPaths.h"
#include "skin/SkinPictures.h"
#include "toolkit/Int32.h"
#include "toolkit/IntText.h"

namespace skin {
namespace {

using namespace loaderparts;
using toolkit::StrToInt;
using toolkit::TMemIniFile;
using toolkit::UpperCase;

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

} // namespace

std::unique_ptr<toolkit::TMemoryStream> TacSkinLoader::OpenImage(const std::string& name) {
    if (m_convertor != nullptr) {
        toolkit::TMemoryStream* member = m_convertor->FindMember(name);
        if (member == nullptr || !TsSkinPictureBudget::Has(member->Size()))
            return nullptr;
        return std::make_unique<toolkit::TMemoryStream>(member->Bytes());
    }
    const std::string path =
        name.find(':') != std::string::npos ? name : m_model.Info.SkinPath + name;
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
    const TsSkinPictureBudget pictures;
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

} // namespace skin
