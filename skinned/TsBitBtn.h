#pragma once
// The skinned push button with a picture, painted from the "BUTTON" section once skinned.
// Until skins paint it, it looks and behaves exactly as TBitBtn; SkinData is its skin state
// (control type 94, "BUTTON" by default), which answers the library's commands.

#include <memory>

#include "skin/sCommonData.h"
#include "toolkit/TBitBtn.h"

namespace skinned {

class TsBitBtn : public toolkit::TBitBtn {
public:
    explicit TsBitBtn(toolkit::TComponent* owner);
    ~TsBitBtn() override;

    std::string ClassName() const override { return "TsBitBtn"; }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

private:
    std::unique_ptr<skin::TsCommonData> m_skinData;
};

} // namespace skinned
