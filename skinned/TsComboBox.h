#pragma once
// The skinned combo box, painted from the "COMBOBOX" section once skinned.
// Until skins paint it, it looks and behaves exactly as TComboBox; SkinData is its skin state
// (control type 3, an edit-like control), which answers the library's commands.

#include "skinned/TacSkinnedControl.h"
#include "toolkit/TComboBox.h"

namespace skinned {

class TsComboBox : public TacSkinnedControl<toolkit::TComboBox> {
public:
    explicit TsComboBox(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsComboBox"; }
};

} // namespace skinned
