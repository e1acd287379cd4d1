#pragma once
// The skinned tool button (drop-down style included), from the "SPEEDBUTTON" section once skinned.
// Until skins paint it, it looks and behaves exactly as TSpeedButton; SkinData is its skin state
// (control type 92, "SPEEDBUTTON" by default), which answers the library's commands.

#include <memory>

#include "skin/sCommonData.h"
#include "toolkit/TSpeedButton.h"

namespace skinned {

class TsSpeedButton : public toolkit::TSpeedButton {
public:
    explicit TsSpeedButton(toolkit::TComponent* owner);
    ~TsSpeedButton() override;

    std::string ClassName() const override { return "TsSpeedButton"; }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

private:
    std::unique_ptr<skin::TsCommonData> m_skinData;
};

} // namespace skinned
