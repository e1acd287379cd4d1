#pragma once
// The skinned tool button (drop-down style included), from the "SPEEDBUTTON" section once
// skinned. Behaviour is exactly that of TSpeedButton; SkinData is its skin state (control type
// 92, "SPEEDBUTTON" by default), which answers the library's commands.
//
// Look while a skin is active: the parent's background under the button, then the section's
// face for the state (pressed while held or Down, hot while the mouse is over it, else normal)
// over the button without its drop-down zone, the glyph and the caption in the section's font
// colours; for tbsDropDown the zone gets the face again (pressed while the menu is open or the
// button is down) and the skin's down arrow; disabled buttons get the disabled look over all.
// With the menu open and no OnClick the whole button shows pressed. tbsSeparator shows only the
// background, tbsDivider the "DIVIDER" section's frame centred. The face is kept in the skin
// state's cache bitmap and rebuilt only when marked changed or something it is built from
// changed. Without an active skin (or while the skin is being applied) the plain look is
// painted.
//
// The look options (TacButtonLookOwner) shape the skinned face as for the bit button; the
// drop-down menu opens one pixel below the button. Under a skin the button is opaque (its face
// covers it whole) and a Glyph bitmap beside a filled Images list is dropped; hidden while the
// mouse is over it, it takes a mouse leave, so it is not hot when it shows again. OnPaint is called
// with the cache bitmap after each rebuild of the face.

#include <functional>
#include <memory>
#include <optional>

#include "skinned/TacSkinnedControl.h"
#include "skinned/sButtonFace.h"
#include "skinned/sFade.h"
#include "toolkit/TSpeedButton.h"

namespace skinned {

class TsSpeedButton : public TacSkinnedControl<toolkit::TSpeedButton>, public TacButtonLookOwner {
public:
    explicit TsSpeedButton(toolkit::TComponent* owner);
    ~TsSpeedButton() override;

    std::string ClassName() const override { return "TsSpeedButton"; }

    // The state indexes the button area and the drop-down zone are painted in (0 normal, 1 hot,
    // 2 pressed).
    std::int32_t SkinState() const;
    std::int32_t DropDownSkinState() const;

    // Repaints at once, telling the parent (command 15) which graphic child paints over its
    // background meanwhile.
    void Redraw();

    // Which state changes cross-fade (aeGlobalDef: as the manager's button effects say).
    const TacAnimatEvents& AnimatEvents() const { return m_animatEvents; }
    void SetAnimatEvents(const TacAnimatEvents& events) { m_animatEvents = events; }
    // The cross-fade running now, if any.
    const TsButtonFade* Fade() const { return m_kept.fade.get(); }

    // The drop-down menu is on screen and has the mouse: hints come back (the press that opened
    // it held them) and the button drops its hot face while the menu stays open.
    void MenuTookOver();

    std::function<void(toolkit::TObject* sender, toolkit::TBitmap& face)> OnPaint;

protected:
    void Paint() override;
    void LookChanged() override;
    // One pixel below the button, so the menu's frame leaves its bottom edge showing.
    platform::Point DropDownPoint() const override { return {0, Height() + 1}; }
    void SkinCommand(toolkit::TMessage& message) override;
    void SkinnedWndProc(toolkit::TMessage& message) override;

private:
    bool SkinPainted() const;
    void AfterCommand(std::uint16_t command);
    // A new skin draws an image-list glyph from the list itself; the face covers the button.
    void TakeNewSkin();
    bool WholeOpen() const;
    TButtonFaceKey FaceKey() const;
    void BuildFace();
    toolkit::TButtonPlacement SkinPlacement() const;
    void PaintDivider(toolkit::TBitmap& cache);

    TacKeptFace m_kept;
    TacAnimatEvents m_animatEvents{TacAnimatEvent::aeGlobalDef};
    TacHintHold m_hintHold;
};

} // namespace skinned
