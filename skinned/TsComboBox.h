#pragma once
// The skinned combo box, painted from the "COMBOBOX" section once skinned.
// Until skins paint it, it looks and behaves exactly as TComboBox; SkinData holds what the window
// definition says about its skin.

#include "skinned/TsSkinData.h"
#include "toolkit/TComboBox.h"

namespace skinned {

class TsComboBox : public toolkit::TComboBox {
public:
    explicit TsComboBox(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsComboBox"; }

    TsSkinData& SkinData() { return m_skinData; }
    const TsSkinData& SkinData() const { return m_skinData; }

private:
    TsSkinData m_skinData;
};

} // namespace skinned
