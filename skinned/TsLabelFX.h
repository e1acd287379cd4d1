#pragma once
// The effect label: a label that will draw its text with the skin's effects (shadow, glow).
// Until skins paint it, it looks and behaves exactly as TLabel; SkinData holds what the window
// definition says about its skin.

#include "skinned/TsSkinData.h"
#include "toolkit/TLabel.h"

namespace skinned {

class TsLabelFX : public toolkit::TLabel {
public:
    explicit TsLabelFX(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsLabelFX"; }

    TsSkinData& SkinData() { return m_skinData; }
    const TsSkinData& SkinData() const { return m_skinData; }

private:
    TsSkinData m_skinData;
};

} // namespace skinned
