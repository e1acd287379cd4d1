#pragma once
// The skinned push button with a picture, painted from the "BUTTON" section once skinned.
// Behaviour is exactly that of TBitBtn; SkinData is its skin state (control type 94, "BUTTON"
// by default), which answers the library's commands.
//
// Look while a skin is active: the section's face for the state (pressed while held, hot while
// the mouse is over it, it has the focus or it is the button Enter presses, else normal) over
// the whole button, the glyph and the caption in the section's font colours on it, the disabled
// look over all when disabled. The face is kept in the skin state's cache bitmap and rebuilt
// only when the skin state marks it changed or something it is built from changed. Without an
// active skin (or while the skin is being applied) the plain look is painted.
//
// The look options (TacButtonLookOwner: Alignment, Blend, Grayed, DisabledGlyphKind,
// DisabledKind, ShowCaption, DrawOverBorder, TextOffset, TextAlignment) shape the skinned face;
// WordWrap is on from the start. While skinned, the window's region leaves out the key-coloured
// corners of the section's border piece. Hints stay hidden while the button is held. OnPaint is
// called with the cache bitmap after each rebuild of the face. A new skin drops a Glyph bitmap
// beside a filled Images list; showing or hiding leaves the updating state and the hot one.

#include <functional>
#include <memory>
#include <optional>

#include "platform/gfx/Region.h"
#include "skinned/TacSkinnedControl.h"
#include "skinned/sButtonFace.h"
#include "skinned/sFade.h"
#include "toolkit/TBitBtn.h"

namespace skinned {

class TsBitBtn : public TacSkinnedControl<toolkit::TBitBtn>, public TacButtonLookOwner {
public:
    explicit TsBitBtn(toolkit::TComponent* owner);
    ~TsBitBtn() override;

    std::string ClassName() const override { return "TsBitBtn"; }

    // The dotted focus mark around the caption, FocusMargin pixels out, while focused (when the
    // section shows focus).
    bool ShowFocus() const { return m_showFocus; }
    void SetShowFocus(bool on);
    int FocusMargin() const { return m_focusMargin; }
    void SetFocusMargin(int margin);

    // The state index the face is painted in (0 normal, 1 hot, 2 pressed).
    std::int32_t SkinState() const;
    // True while the button is held (by the mouse or the space key).
    bool Down() const { return Pressed(); }

    // Which state changes cross-fade (aeGlobalDef: as the manager's button effects say).
    const TacAnimatEvents& AnimatEvents() const { return m_animatEvents; }
    void SetAnimatEvents(const TacAnimatEvents& events) { m_animatEvents = events; }
    // The cross-fade running now, if any.
    const TsButtonFade* Fade() const { return m_kept.fade.get(); }

    std::function<void(toolkit::TObject* sender, toolkit::TBitmap& face)> OnPaint;

protected:
    void Paint() override;
    void LookChanged() override;
    void SkinCommand(toolkit::TMessage& message) override;
    void SkinnedWndProc(toolkit::TMessage& message) override;

private:
    bool SkinPainted() const;
    void AfterCommand(std::uint16_t command);
    void VisibilityChanged();
    TacFaceRenewal Renewal() const;
    TButtonFaceKey FaceKey() const;
    void BuildFace();
    toolkit::TButtonPlacement SkinPlacement() const;
    // The window's shape: the face without the key-coloured corners of its border piece while
    // skinned, no region otherwise.
    void UpdateRegion();

    TacKeptFace m_kept;
    TacAnimatEvents m_animatEvents{TacAnimatEvent::aeGlobalDef};
    TacHintHold m_hintHold;
    std::optional<platform::Region> m_region;
    bool m_showFocus = true;
    int m_focusMargin = 1;
};

} // namespace skinned
