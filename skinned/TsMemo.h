#pragma once
// The skinned multi-line edit, painted from the "EDIT" section once skinned.
// Until skins paint it, it looks and behaves exactly as TMemo; SkinData is its skin state
// (control type 7, "EDIT" by default), which answers the library's commands.
// While skinned and visible, its scroll bars are the skin's: an edit adapter (TacEditWnd) takes
// over its window from the moment it shows until the skin goes or the window does.

#include <memory>

#include "skin/sCommonData.h"
#include "toolkit/TMemo.h"

namespace skinned {

class TacEditWnd;

class TsMemo : public toolkit::TMemo {
public:
    explicit TsMemo(toolkit::TComponent* owner);
    ~TsMemo() override;

    std::string ClassName() const override { return "TsMemo"; }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

    // The adapter painting the scroll bars, or none while the memo is plain.
    TacEditWnd* ScrollWnd() const { return m_scrollWnd.get(); }

protected:
    void CreateWnd() override;
    void ScrollBarsChanged() override;
    // With skinned bars a memo whose text fits shows none.
    bool KeepsIdleScrollBars() const override { return !m_scrollWnd; }

private:
    // Makes or drops the scroll-bar adapter as the skin and the window's visibility say.
    void SyncScrollWnd();

    std::unique_ptr<skin::TsCommonData> m_skinData;
    std::unique_ptr<TacEditWnd> m_scrollWnd;
    bool m_syncing = false;
};

} // namespace skinned
