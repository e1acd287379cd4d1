#pragma once
// The skinned panel: a panel whose look will come from the skin's "PANEL" section.
// Until skins paint it, it looks and behaves exactly as TPanel; SkinData is its skin state
// (control type 51, "PANEL" by default), which answers the library's commands.

#include <memory>

#include "skin/sCommonData.h"
#include "toolkit/TPanel.h"

namespace skinned {

class TsPanel : public toolkit::TPanel {
public:
    explicit TsPanel(toolkit::TComponent* owner);
    ~TsPanel() override;

    std::string ClassName() const override { return "TsPanel"; }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

private:
    std::unique_ptr<skin::TsCommonData> m_skinData;
};

} // namespace skinned
