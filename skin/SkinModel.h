#pragma once
// The skin model: skin-wide info, one record per skin section, one per image piece and one per
// large JPEG pattern. Colours are in the system layout (red in the low byte); rectangles are in
// the pixels of the master bitmap or of the piece's own bitmap, right and bottom exclusive.
// A loader builds a whole TsSkinModel of its own; the manager takes it over only once it is
// complete and owns every record from then on. A piece's Manager is a non-owning back-reference
// the manager sets when it takes the model.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "skin/SkinPictures.h"
#include "toolkit/Int32.h"

namespace skin {

class TsSkinManager;

enum class TsControlBevel : std::uint8_t {
    cbNone = 0,
    cbRaisedSoft = 1,
    cbLoweredSoft = 2,
    cbRaisedHard = 3,
    cbLoweredHard = 4
};

enum class TacImgType : std::uint8_t { itisaBorder = 0, itisaTexture = 1, itisaGlyph = 2 };

struct TsGradientStep {
    std::int32_t Color1 = 0;
    std::int32_t Color2 = 0;
    std::uint8_t Percent = 0; // 0 … 100
    std::int32_t Mode = 0;    // 0 top to bottom, 1 left to right, 2 four triangles
    std::int32_t Reserved = 0;
};
using TsGradArray = std::vector<TsGradientStep>;

// Main colour first, then the contour colours left, top, right, bottom (-1: no contour).
using TsFontColors = std::array<std::int32_t, 5>;

struct TsGeneralData {
    std::string ParentClass;
    std::string ClassName;
    std::int32_t Color = 16777215;
    TsControlBevel Bevel = TsControlBevel::cbNone;
    TsFontColors FontColor{0, -1, -1, -1, -1};
    TsFontColors HotFontColor{0, -1, -1, -1, -1};
    bool ReservedBoolean = false;
    std::int32_t ShadowBlur = 6;
    std::int32_t ShadowColor = 0;
    bool ShadowEnabled = false;
    std::int32_t ShadowOffset = 3;
    std::int32_t ShadowTransparency = 50;
    std::int32_t Transparency = 0;
    std::int32_t GradientPercent = 0;
    std::string GradientData = " ";
    TsGradArray Gradient;
    std::int32_t ImagePercent = 0;
    bool ShowFocus = false;
    bool FadingEnabled = false;
    std::int32_t FadingIntervalIn = 5;
    std::int32_t FadingIntervalOut = 5;
    std::int32_t FadingIterations = 5;
    std::int32_t HotColor = 16777215;
    std::int32_t HotTransparency = 0;
    TsControlBevel HotBevel = TsControlBevel::cbNone;
    std::int32_t HotGradientPercent = 0;
    std::string HotGradientData;
    TsGradArray HotGradient;
    std::int32_t HotImagePercent = 0;
    std::int32_t BorderColor1 = 0;
    std::int32_t BorderColor2 = 0;
};
using TsGeneralDataArray = std::vector<TsGeneralData>;

struct TsMaskData {
    // The piece's own bitmap, or none when it lies in the master bitmap. Shared with a stored
    // skin's image it was copied from until a colour change makes it the piece's own.
    std::shared_ptr<TsSkinBitmap> Image;
    std::string SectionName;
    std::string PropertyName;
    platform::Rect R;
    std::int16_t ImageCount = 0;
    std::int16_t MaskType = 0;
    std::int16_t BorderWidth = 0;
    std::int16_t StretchMode = 0;
    TacImgType ImgType = TacImgType::itisaBorder;
    TsSkinManager* Manager = nullptr;
    std::int16_t WL = 0, WT = 0, WR = 0, WB = 0;
};
using TsMaskArray = std::vector<TsMaskData>;

// The size of a piece's area. Rectangles come from skin texts and may hold any 32-bit numbers;
// their sizes wrap as the program's 32-bit arithmetic does instead of overflowing.
inline std::int32_t PieceWidth(const TsMaskData& m) {
    return toolkit::int32::Sub(m.R.right, m.R.left);
}
inline std::int32_t PieceHeight(const TsMaskData& m) {
    return toolkit::int32::Sub(m.R.bottom, m.R.top);
}

struct TsPatternData {
    std::shared_ptr<TsSkinPicture> Img;
    std::string SectionName;
    std::string PropertyName;
};
using TsPatternArray = std::vector<TsPatternData>;

struct TsSkinData {
    std::string SkinPath; // folder (with trailing "\") of a folder skin's image files
    bool Active = false;  // the skin has been applied
    double Version = 0;
    std::string Author;
    std::string Description;
    std::int32_t Shadow1Color = 0;
    std::int32_t Shadow1Offset = 0;
    std::int32_t Shadow1Blur = -1;
    std::int32_t Shadow1Transparency = 0;
    std::int32_t BorderColor = 0;
    std::int32_t BISpace = 0;
};

// Sections a parent-class chain may climb before it is cut: far beyond any real skin, and small
// enough that inherited lookups stay cheap whatever a skin file says.
constexpr std::int32_t kMaxParentDepth = 64;

// One complete skin. Parents holds, for each section, the index of the section its lookups
// inherit pieces and patterns from (-1: none): resolved once when the model is built, with
// every cycle cut and no chain longer than kMaxParentDepth.
struct TsSkinModel {
    TsSkinData Info;
    TsGeneralDataArray Sections;
    std::vector<std::int32_t> Parents;
    TsMaskArray Masks;
    TsPatternArray Patterns;
    std::unique_ptr<TsSkinBitmap> MasterBitmap;
    bool FromContainer = false;
};

} // namespace skin
