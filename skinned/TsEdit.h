#pragma once
// The skinned one-line edit: the plain edit's behaviour, painted from its skin section ("EDIT"
// as the form sets it; control type 3) while a skin is active (sEditSkin.h), exactly the plain
// edit otherwise. SkinData is its skin state; BoundLabel its caption label.

#include "skinned/TacSkinnedControl.h"
#include "skinned/sEditSkin.h"
#include "toolkit/TCustomEdit.h"

namespace skinned {

class TsEdit : public TacSkinnedControl<toolkit::TEdit> {
public:
    explicit TsEdit(toolkit::TComponent* owner);
    ~TsEdit() override;

    std::string ClassName() const override { return "TsEdit"; }

    TsBoundLabel& BoundLabel() { return m_skin->BoundLabel(); }
    TacDisabledKind DisabledKind() const { return m_skin->DisabledKind(); }
    void SetDisabledKind(TacDisabledKind kind) { m_skin->SetDisabledKind(kind); }

protected:
    void SkinCommand(toolkit::TMessage& message) override;
    void SkinnedWndProc(toolkit::TMessage& message) override;

private:
    std::unique_ptr<TsEditSkin> m_skin;
};

} // namespace skinned
