#pragma once
// The skinned push button with a picture, painted from the "BUTTON" section once skinned.
// Until skins paint it, it looks and behaves exactly as TBitBtn; SkinData holds what the window
// definition says about its skin.

#include "skinned/TsSkinData.h"
#include "toolkit/TBitBtn.h"

namespace skinned {

class TsBitBtn : public toolkit::TBitBtn {
public:
    explicit TsBitBtn(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsBitBtn"; }

    TsSkinData& SkinData() { return m_skinData; }
    const TsSkinData& SkinData() const { return m_skinData; }

private:
    TsSkinData m_skinData;
};

} // namespace skinned
