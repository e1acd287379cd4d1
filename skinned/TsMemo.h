#pragma once
// The skinned multi-line edit, painted from the "EDIT" section once skinned.
// Until skins paint it, it looks and behaves exactly as TMemo; SkinData is its skin state
// (control type 7, "EDIT" by default), which answers the library's commands.

#include "skinned/TacSkinnedControl.h"
#include "toolkit/TMemo.h"

namespace skinned {

class TsMemo : public TacSkinnedControl<toolkit::TMemo> {
public:
    explicit TsMemo(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsMemo"; }
};

} // namespace skinned
