#pragma once
// The skinned panel: a panel whose look will come from the skin's "PANEL" section.
// Until skins paint it, it looks and behaves exactly as TPanel; SkinData holds what the window
// definition says about its skin.

#include "skinned/TsSkinData.h"
#include "toolkit/TPanel.h"

namespace skinned {

class TsPanel : public toolkit::TPanel {
public:
    explicit TsPanel(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsPanel"; }

    TsSkinData& SkinData() { return m_skinData; }
    const TsSkinData& SkinData() const { return m_skinData; }

private:
    TsSkinData m_skinData;
};

} // namespace skinned
