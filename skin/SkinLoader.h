#pragma once
// Builds a complete skin model from a skin's options text and images, or from a stored skin's
// unpacked collections. The loader works only on the model it is building and hands it back
// whole: nothing of the skin in use is touched, so a load that raises leaves no trace.
//
// Images are members of the container when one is given, otherwise files in the model's
// Info.SkinPath (a folder ending in "\"). Images named in the common sections are always files
// there. Loading raises what the data calls for (EConvertError for a fixed-layout number that
// does not parse); pictures that cannot be read only drop their piece.
//
// Every parent-class chain is resolved once: values are inherited section by section in an
// order where parents come first, and lookups get each section's parent index (TsSkinModel).
// A chain that comes back to a section it has passed is cut there; see ParentChains.h.

#include <cstdint>
#include <memory>
#include <string>

#include "skin/SkinModel.h"
#include "skin/acSkinPack.h"
#include "toolkit/TMemIniFile.h"
#include "toolkit/TStringList.h"

namespace skin {

class TacSkinLoader {
public:
    // commonSections is INI text laid over every skin; hueOffset and saturation re-colour it.
    TacSkinLoader(const toolkit::TStringList& commonSections, std::int32_t hueOffset,
                  std::int32_t saturation);

    // container may be null (a folder skin); it is only read during the call.
    TsSkinModel FromIni(const toolkit::TMemIniFile& ini, TacSkinConvertor* container,
                        const std::string& skinPath);
    TsSkinModel FromStoredSkin(const TsStoredSkin& item, const std::string& skinPath);

private:
    void LoadMasks(const toolkit::TMemIniFile& ini, bool withMaster);
    void AddMask(const std::string& section, const std::string& key, const std::string& value);
    void LoadPatterns(const toolkit::TMemIniFile& ini);
    void LoadSections(const toolkit::TMemIniFile& ini);
    void ApplyCommonSections();
    void ResolveLookupParents();
    void TransformColors();
    TsSkinModel Finish();
    std::int32_t FindSection(std::string_view name) const;
    std::unique_ptr<TsSkinBitmap> LoadImageBitmap(const std::string& name);
    std::unique_ptr<TsSkinPicture> LoadImagePicture(const std::string& name);
    std::unique_ptr<toolkit::TMemoryStream> OpenImage(const std::string& name);

    const toolkit::TStringList& m_commonSections;
    std::int32_t m_hueOffset;
    std::int32_t m_saturation;
    TsSkinModel m_model;
    TacSkinConvertor* m_convertor = nullptr; // the container being read, while it is read
};

} // namespace skin
