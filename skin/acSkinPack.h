#pragma once
// The packed skin container "ASzf" and the stored skins that carry one inside the program.
//
// Layout, all integers 32-bit signed little-endian, no padding:
//   "ASzf" | member count N | N members
//   member: name length L | L name bytes | unpacked size S | one zlib stream inflating to S bytes
// There is no packed size: the next member starts right after the previous zlib stream.
//
// TacSkinConvertor reads a container that is wholly in memory. Bad input never crashes: a wrong
// magic shows the warning "Loaded data is not packed Quorril file" and leaves the reader empty;
// running out of data, a damaged or short zlib stream, a negative length or a size beyond what
// the data can inflate to raise EReadError "Stream read error". Member memory grows only as data
// actually inflates.
//
// Skins are downloaded files, so unpacking is bounded before any member is inflated: a container
// may hold at most kMaxMembers members; a member may declare at most kMaxMemberBytes, all members
// together at most kMaxUnpackedBytes and at most kMaxPackRatio times the container's own size
// (kRatioFreeBytes are always allowed). More members, a larger declaration or a container file
// larger than kMaxUnpackedBytes make a damaged skin (EReadError), refused before the data in
// question is touched.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/SkinPictures.h"
#include "toolkit/Streams.h"

namespace skin {

inline constexpr std::int32_t kMaxMembers = 4096;
inline constexpr std::int64_t kMaxMemberBytes = std::int64_t{64} << 20;
inline constexpr std::int64_t kMaxUnpackedBytes = std::int64_t{256} << 20;
inline constexpr std::int64_t kMaxPackRatio = 100;
inline constexpr std::int64_t kRatioFreeBytes = std::int64_t{16} << 20;

// What a container of packedBytes may unpack to in all.
std::int64_t UnpackBudget(std::int64_t packedBytes);

struct TacImageItem {
    std::string Name; // as stored
    bool IsNotBitmap; // the extension is not ".BMP" in any case
    std::unique_ptr<toolkit::TMemoryStream> Data;
};

class TacSkinConvertor {
public:
    TacSkinConvertor() = default;
    ~TacSkinConvertor() { Clear(); }
    TacSkinConvertor(const TacSkinConvertor&) = delete;
    TacSkinConvertor& operator=(const TacSkinConvertor&) = delete;

    // The source is either the reader's own or lent by its owner (a stored skin), who takes it
    // back with DetachSource (which hands out only lent sources) before freeing the reader.
    void SetOwnedSource(std::unique_ptr<toolkit::TStream> source);
    void LendSource(toolkit::TStream* source);
    toolkit::TStream* DetachSource();
    void FreeSource();

    // Rewinds the source and reads every member.
    void ReadContainer();
    // Frees the members, the options text and an owned source.
    void Clear();

    toolkit::TMemoryStream* Options() { return m_options.get(); }
    const std::vector<TacImageItem>& Images() const { return m_images; }
    // N - 1: the members lookups search.
    std::int32_t ImageCount() const { return m_imageCount; }
    // The first of the searched members whose upper-cased name equals wanted exactly, rewound;
    // none when there is no such member.
    toolkit::TMemoryStream* FindMember(std::string_view wanted);

private:
    // Reads one member; budget is what the container may still unpack and shrinks by the
    // member's declared size.
    void ReadMember(std::int64_t& budget);

    std::unique_ptr<toolkit::TStream> m_ownedSource;
    toolkit::TStream* m_source = nullptr;
    std::unique_ptr<toolkit::TMemoryStream> m_options;
    std::vector<TacImageItem> m_images;
    std::int32_t m_imageCount = 0;
};

// Loads the container in fileName into the reader (making one when it is empty; clearing it
// otherwise) and reads it. Nothing happens when the file does not exist. With freeSource the
// file's bytes are dropped after reading; the members keep their own copies.
void LoadSkinFromFile(const std::string& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                      bool freeSource);

// A skin described in unpacked form, as a stored skin item may carry it.
struct TsSkinGeneral {
    std::string SectionName;
    std::string ParentClass;
    std::int32_t Color = 16777215;
    std::uint8_t Bevel = 0;
    std::string FontColor = "0 -1 -1 -1 -1"; // main colour and four contour colours
    std::string HotFontColor = "0 -1 -1 -1 -1";
    bool ReservedBoolean = false;
    std::int32_t ShadowBlur = 6;
    std::int32_t ShadowColor = 0;
    bool ShadowEnabled = false;
    std::int32_t ShadowOffset = 3;
    std::int32_t ShadowTransparency = 50;
    std::int32_t Transparency = 0;
    std::int32_t GradientPercent = 0;
    std::string GradientData = " ";
    std::int32_t ImagePercent = 0;
    bool ShowFocus = false;
    bool FadingEnabled = false;
    std::int32_t FadingIntervalIn = 5;
    std::int32_t FadingIntervalOut = 5;
    std::int32_t FadingIterations = 5;
    std::int32_t HotColor = 16777215;
    std::int32_t HotTransparency = 0;
    std::uint8_t HotBevel = 0;
    std::int32_t HotGradientPercent = 0;
    std::string HotGradientData;
    std::int32_t HotImagePercent = 0;
    std::int32_t BorderColor1 = 0;
    std::int32_t BorderColor2 = 0;
};

struct TsSkinImage {
    std::string Name; // with Image: the piece's own picture
    std::shared_ptr<TsSkinBitmap> Image;
    std::string SectionName;
    std::string PropertyName;
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::int16_t ImageCount = 0;
    std::int16_t MaskType = 0;
    std::int16_t BorderWidth = 0;
    std::int16_t StretchMode = 0;
    std::uint8_t ImgType = 0;
    std::int16_t WL = 0, WT = 0, WR = 0, WB = 0;
};

struct TsSkinPattern {
    std::string SectionName;
    std::string PropertyName;
    std::shared_ptr<TsSkinPicture> Image;
};

// One item of InternalSkins. "Data" holds the container bytes as they are.
class TsStoredSkin {
public:
    std::string Name;
    std::vector<TsSkinGeneral> GeneralData;
    std::vector<TsSkinImage> Images;
    std::vector<TsSkinPattern> Patterns;
    std::shared_ptr<TsSkinBitmap> MasterBitmap;
    std::int32_t Shadow1Color = 0;
    std::int32_t Shadow1Offset = 0;
    std::int32_t Shadow1Blur = -1;
    std::int32_t Shadow1Transparency = 0;
    std::int32_t BorderColor = 0xFF00FF;
    double Version = 0;
    std::string Author;
    std::string Description;

    toolkit::TMemoryStream& Data() { return m_data; }
    const toolkit::TMemoryStream& Data() const { return m_data; }
    // The "Data" property as a form resource streams it.
    void ReadData(toolkit::TStream& stream);
    void WriteData(toolkit::TStream& stream) const;

private:
    toolkit::TMemoryStream m_data;
};

class TsStoredSkins {
public:
    TsStoredSkin& Add();
    int Count() const { return static_cast<int>(m_items.size()); }
    // EListError "List index out of bounds (%d)" outside 0 … Count() - 1.
    TsStoredSkin& operator[](int index);
    const TsStoredSkin& operator[](int index) const;
    void Clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<TsStoredSkin>> m_items;
};

// Whether a file starts as a packed skin does; for callers that must not have the reader's
// warning box come up (a skin asked for from the command line).
bool LooksLikePackedSkin(const std::string& fileName);

} // namespace skin
