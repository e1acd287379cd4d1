#pragma once
// The skinned combo box, painted from the "COMBOBOX" section once skinned.
// Until skins paint it, it looks and behaves exactly as TComboBox; SkinData is its skin state
// (control type 3, an edit-like control), which answers the library's commands.

#include <memory>

#include "skin/sCommonData.h"
#include "toolkit/TComboBox.h"

namespace skinned {

class TsComboBox : public toolkit::TComboBox {
public:
    explicit TsComboBox(toolkit::TComponent* owner);
    ~TsComboBox() override;

    std::string ClassName() const override { return "TsComboBox"; }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

private:
    std::unique_ptr<skin::TsCommonData> m_skinData;
};

} // namespace skinned
