#pragma once
// The skinned spin edit: the plain spin edit's value model, keys, buttons and change
// notification (toolkit/TSpinEdit.h), with the skinned typing rule and the wheel:
// - only the digits "0" ... "9" and control characters other than Enter may be typed; a sign,
//   a separator or any other character is dropped with the system beep (a pasted text may
//   still bring in anything);
// - a wheel turn adds (delta div 120) x Increment to Value, the division truncating toward
//   zero on the signed 16-bit delta, and counts as handled (a part notch adds nothing).
// Until skins paint it, it looks like the plain spin edit; SkinData is its skin state (control
// type 3, "EDIT" by default), which answers the library's commands.

#include "skinned/TacSkinnedControl.h"
#include "toolkit/TSpinEdit.h"

namespace skinned {

class TsBaseSpinEdit : public TacSkinnedControl<toolkit::TSpinEdit> {
public:
    explicit TsBaseSpinEdit(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsBaseSpinEdit"; }

protected:
    void SkinnedWndProc(toolkit::TMessage& message) override;
};

class TsSpinEdit : public TsBaseSpinEdit {
public:
    using TsBaseSpinEdit::TsBaseSpinEdit;
    std::string ClassName() const override { return "TsSpinEdit"; }
};

} // namespace skinned
