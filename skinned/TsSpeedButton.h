#pragma once
// The skinned tool button (drop-down style included), from the "SPEEDBUTTON" section once skinned.
// Until skins paint it, it looks and behaves exactly as TSpeedButton; SkinData holds what the
// window definition says about its skin.

#include "skinned/TsSkinData.h"
#include "toolkit/TSpeedButton.h"

namespace skinned {

class TsSpeedButton : public toolkit::TSpeedButton {
public:
    explicit TsSpeedButton(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsSpeedButton"; }

    TsSkinData& SkinData() { return m_skinData; }
    const TsSkinData& SkinData() const { return m_skinData; }

private:
    TsSkinData m_skinData;
};

} // namespace skinned
