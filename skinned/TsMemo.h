#pragma once
// The skinned multi-line edit: the plain memo's behaviour, its border and colours from its skin
// section ("EDIT" when none is set; control type 7) while a skin is active (sEditSkin.h),
// exactly the plain memo otherwise. SkinData is its skin state; BoundLabel its caption label.

#include "skinned/sEditSkin.h"
#include "toolkit/TMemo.h"

namespace skinned {

class TsMemo : public toolkit::TMemo {
public:
    explicit TsMemo(toolkit::TComponent* owner);
    ~TsMemo() override;

    std::string ClassName() const override { return "TsMemo"; }

    skin::TsCommonData& SkinData() { return m_skin->Data(); }
    const skin::TsCommonData& SkinData() const { return m_skin->Data(); }
    TsBoundLabel& BoundLabel() { return m_skin->BoundLabel(); }
    TsDisabledKind DisabledKind() const { return m_skin->DisabledKind(); }
    void SetDisabledKind(TsDisabledKind kind) { m_skin->SetDisabledKind(kind); }

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

private:
    std::unique_ptr<TsEditSkin> m_skin;
};

} // namespace skinned
