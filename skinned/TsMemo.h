#pragma once
// The skinned multi-line edit: the plain memo's behaviour, its border and colours from its skin
// section ("EDIT" when none is set; control type 7) while a skin is active (sEditSkin.h),
// exactly the plain memo otherwise. SkinData is its skin state; BoundLabel its caption label.
// While skinned and visible, its scroll bars are the skin's: an edit adapter (TacEditWnd) takes
// over its window from the moment it shows until the skin goes or the window does.
//
// OnScrollCaret runs after a request to scroll the caret into view (EM_SCROLLCARET) has been
// answered, OnVScroll after each vertical scroll message. CharCase turns the text, and every
// character typed or pasted afterwards, to upper or lower case (Latin and Cyrillic letters).

#include <memory>
#include <string>

#include "skinned/TacSkinnedControl.h"
#include "skinned/sEditSkin.h"
#include "toolkit/TMemo.h"

namespace skinned {

class TacEditWnd;

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

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

    TEditCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase charCase);

    toolkit::TNotifyEvent OnScrollCaret;
    toolkit::TNotifyEvent OnVScroll;

protected:
    void SkinCommand(toolkit::TMessage& message) override;
    void SkinnedWndProc(toolkit::TMessage& message) override;
    void CreateWnd() override;
    void ScrollBarsChanged() override;
    // With skinned bars a memo whose text fits shows none.
    bool KeepsIdleScrollBars() const override { return !m_scrollWnd; }
    void KeyPress(char32_t& key) override;
    void PasteFromClipboard() override;

private:
    // Makes or drops the scroll-bar adapter as the skin and the window's visibility say.
    void SyncScrollWnd();

    std::unique_ptr<TsEditSkin> m_skin;
    std::unique_ptr<TacEditWnd> m_scrollWnd;
    bool m_syncing = false;
    TEditCharCase m_charCase = TEditCharCase::ecNormal;
};

} // namespace skinned
