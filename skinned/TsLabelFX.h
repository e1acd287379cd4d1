#pragma once
// The effect label: a label that will draw its text with the skin's effects (shadow, glow).
// Until skins paint it, it looks and behaves exactly as TLabel; SkinData is its skin state
// (no cache, no type code: its section defaults to "TSLABELFX").

#include <memory>

#include "skin/sCommonData.h"
#include "toolkit/TLabel.h"

namespace skinned {

class TsLabelFX : public toolkit::TLabel {
public:
    explicit TsLabelFX(toolkit::TComponent* owner);
    ~TsLabelFX() override;

    std::string ClassName() const override { return "TsLabelFX"; }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

private:
    std::unique_ptr<skin::TsCommonData> m_skinData;
};

} // namespace skinned
