#pragma once
// The skinned multi-line edit, painted from the "EDIT" section once skinned.
// Until skins paint it, it looks and behaves exactly as TMemo; SkinData is its skin state
// (control type 7, "EDIT" by default), which answers the library's commands.

#include <memory>

#include "skin/sCommonData.h"
#include "toolkit/TMemo.h"

namespace skinned {

class TsMemo : public toolkit::TMemo {
public:
    explicit TsMemo(toolkit::TComponent* owner);
    ~TsMemo() override;

    std::string ClassName() const override { return "TsMemo"; }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

private:
    std::unique_ptr<skin::TsCommonData> m_skinData;
};

} // namespace skinned
