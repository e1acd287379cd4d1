#pragma once
// The skinned multi-line edit: the plain memo's behaviour, its border and colours from its skin
// section ("EDIT" when none is set; control type 7) while a skin is active (sEditSkin.h),
// exactly the plain memo otherwise. SkinData is its skin state; BoundLabel its caption label.
// While skinned and visible, its scroll bars are the skin's: an edit adapter (TacEditWnd) takes
// over its window from the moment it shows until the skin goes or the window does.

#include <memory>

#include "skinned/TacSkinnedControl.h"
#include "skinned/sEditSkin.h"
#include "toolkit/TMemo.h"

namespace skinned {

class TacEditWnd;

class TsMemo : public TacSkinnedControl<toolkit::TMemo> {
public:
    explicit TsMemo(toolkit::TComponent* owner);
    ~TsMemo() override;

    std::string ClassName() const override { return "TsMemo"; }

    TsBoundLabel& BoundLabel() { return m_skin->BoundLabel(); }
    TacDisabledKind DisabledKind() const { return m_skin->DisabledKind(); }
    void SetDisabledKind(TacDisabledKind kind) { m_skin->SetDisabledKind(kind); }

    // The adapter painting the scroll bars, or none while the memo is plain.
    TacEditWnd* ScrollWnd() const { return m_scrollWnd.get(); }

protected:
    void SkinCommand(toolkit::TMessage& message) override;
    void SkinnedWndProc(toolkit::TMessage& message) override;
    void CreateWnd() override;
    void ScrollBarsChanged() override;
    // With skinned bars a memo whose text fits shows none.
    bool KeepsIdleScrollBars() const override { return !m_scrollWnd; }

private:
    // Makes or drops the scroll-bar adapter as the skin and the window's visibility say.
    void SyncScrollWnd();

    std::unique_ptr<TsEditSkin> m_skin;
    std::unique_ptr<TacEditWnd> m_scrollWnd;
    bool m_syncing = false;
};

} // namespace skinned
