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
// A disabled label draws the engraved two-colour text without a shadow. The shadow image is
// rebuilt at every paint.
//
// Size: with a shadow in force (a colour other than clNone and at least one blur pass) the
// measured rectangle grows right and down by max(0, D + B) − min(0, D − B), so an auto-sized
// label leaves room for the shadow.

#include <cstdint>
#include <memory>
#include <vector>

#include "skinned/TsLabel.h"
#include "skinned/TsShadow.h"

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

    std::unique_ptr<TsShadow> m_shadow;
    std::unique_ptr<TsKind> m_kind;
    std::unique_ptr<toolkit::TBitmap> m_mask;
    std::vector<std::uint8_t> m_levels;
    std::int32_t m_topLeftMargin = 0;
    std::int32_t m_rightBottomMargin = 0;
};

} // namespace skinned
