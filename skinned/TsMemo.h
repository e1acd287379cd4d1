#pragma once
// The skinned multi-line edit, painted from the "EDIT" section once skinned.
// Until skins paint it, it looks and behaves exactly as TMemo; SkinData holds what the window
// definition says about its skin.

#include "skinned/TsSkinData.h"
#include "toolkit/TMemo.h"

namespace skinned {

class TsMemo : public toolkit::TMemo {
public:
    explicit TsMemo(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsMemo"; }

    TsSkinData& SkinData() { return m_skinData; }
    const TsSkinData& SkinData() const { return m_skinData; }

private:
    TsSkinData m_skinData;
};

} // namespace skinned
