#pragma once
// The effect label: a skinned label (TsLabel.h) whose text casts a blurred drop shadow.
//
// Shadow (TsShadow.h) decides colour, blur passes and distance: smNone draws as a TsCustomLabel;
// smCustom takes Shadow's own values; smSkin1 takes the active skin's SHADOW1COLOR, SHADOW1BLUR
// and SHADOW1OFFSET when the skin defines the blur, else Shadow's values, and draws as a
// TsCustomLabel (the plain label's look and size) while no skin is active. Blur and offset from a
// skin file are held to 0 … 64 and −64 … 64. The shadow
// is the text drawn Distance pixels right and down, blurred BlurCount times (each pass stamps
// the text at full strength again, then averages every cell with its four neighbours) and laid
// over what is under the label (its Color when it is not transparent); the text is then drawn in
// place. Kind (TsKind) gives the text colour: ktStandard the label's Color, ktCustom Kind's
// colour, ktSkin the skin's general font colour when a skin defines one, else Kind's colour.
// A disabled label draws the engraved two-colour text without a shadow. The blurred levels are
// kept between paints and made again only when something they are drawn from changes (text,
// rectangle, draw flags, blur, distance, font), and so is the last blend: a paint over the same
// background with the same levels and colour copies it.
//
// Size: with a shadow in force (a colour other than clNone and at least one blur pass) the
// measured rectangle grows right and down by max(0, D + B) − min(0, D − B), so an auto-sized
// label leaves room for the shadow. Labels made before the skin are measured again when it comes.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skinned/TsLabel.h"
#include "skinned/TsShadow.h"
#include "toolkit/TGraphicsObject.h"

namespace toolkit {
class TBitmap;
}

namespace skinned {

class TsLabelFX : public TsCustomLabel {
public:
    explicit TsLabelFX(toolkit::TComponent* owner);
    ~TsLabelFX() override;

    std::string ClassName() const override { return "TsLabelFX"; }

    TsShadow& Shadow() { return *m_shadow; }
    TsKind& Kind() { return *m_kind; }

protected:
    void DoDrawText(platform::Rect& rect, unsigned flags) override;
    // A skin arriving, refreshed or going changes the shadow, so an auto-sized label is
    // measured again.
    void SkinCommand(toolkit::TMessage& message) override;

private:
    struct ShadowParams {
        toolkit::TColor color;
        std::int32_t blur;
        std::int32_t distance;
    };
    ShadowParams ChooseShadow() const;
    toolkit::TColor TextColor() const;
    void PaintShadow(const std::string& text, const platform::Rect& rect, unsigned flags,
                     const ShadowParams& shadow);
    void MakeLevels(const std::string& text, const platform::Rect& rect, unsigned flags,
                    const ShadowParams& shadow);

    // Everything the blurred levels are drawn from (the shadow's colour is not: it is blended
    // in at each paint).
    struct LevelsKey {
        std::string text;
        platform::Rect rect;
        unsigned flags = 0;
        std::int32_t blur = 0;
        std::int32_t distance = 0;
        std::string fontName;
        int fontHeight = 0;
        toolkit::TFontStyles fontStyle;
        toolkit::TFontCharset fontCharset = 0;
        friend bool operator==(const LevelsKey&, const LevelsKey&) = default;
    };

    std::unique_ptr<TsShadow> m_shadow;
    std::unique_ptr<TsKind> m_kind;
    std::unique_ptr<toolkit::TBitmap> m_mask;
    std::vector<std::uint8_t> m_levels;
    std::optional<LevelsKey> m_levelsKey; // what m_levels holds, if anything
    // The last blend (rows of the mask, padding left out): what lay under the label and what the
    // shadow made of it in colour m_blendShade, valid while the levels stay the same.
    std::vector<std::uint8_t> m_blendUnder;
    std::vector<std::uint8_t> m_blendResult;
    std::array<std::uint8_t, 3> m_blendShade{};
    bool m_blendValid = false;
    std::int32_t m_topLeftMargin = 0;
    std::int32_t m_rightBottomMargin = 0;
};

} // namespace skinned
