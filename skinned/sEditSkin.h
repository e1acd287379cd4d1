#pragma once
// What the skinned text-entry controls (TsEdit, TsSpinEdit, TsMemo) share: the skin state, the
// bound label, the disabled look, and the painting of the edit's face from its section.
//
// The face is the section (hot state while the mouse is over the edit or it has the focus)
// painted over the whole window into the skin state's cache, the text laid on it in the
// section's font colours and, for a disabled edit, the disabled look chosen by DisabledKind.
// The native edit still paints its client area; the skin gives it the section's COLOR and
// FONTCOLOR (a one-line edit HOTCOLOR / HOTFONTCOLOR while hot) unless CustomColor / CustomFont,
// and the window's
// border is copied from the face instead of the plain sunken edge. A face is built again only
// when something it is built from has changed (state, size, place, text, enabled, section).
//
// Coordinates: the cache covers the control's bounds (window coordinates, border included).
// Without an active skin, or while the skin is arriving, everything is left to the plain edit.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "skin/sCommonData.h"
#include "skinned/TsBoundLabel.h"
#include "skinned/sButtonFace.h"
#include "toolkit/TControl.h"

namespace toolkit {
class TCustomEdit;
class TWinControl;
} // namespace toolkit

namespace skinned {

// PaintDisabledLook's flags for a disabled look (dkBlended fades toward what lies behind the
// control, dkGrayed turns it grey first).
std::int32_t DisabledFlags(TacDisabledKind kind);

// The bound label's upkeep for any control of this family: a move or size lays it out again, a
// change of visibility or enabled passes to it.
void BoundLabelUpkeep(TsBoundLabel& label, toolkit::TControl& control,
                      const toolkit::TMessage& message);

// The section's colour and font colour for the state (hot or not), $FF00FF / −1 for none.
platform::Color SectionColor(const skin::TsCommonData& data, bool hot);
platform::Color SectionFontColor(const skin::TsCommonData& data, bool hot);

class TsEditSkin {
public:
    // What the face carries and which colours the native control is given.
    enum class Kind {
        // One line of text on the face; HOTCOLOR / HOTFONTCOLOR while hot.
        SingleLine,
        // The native memo paints its own text, always in COLOR / FONTCOLOR: a memo is not an
        // edit for colours, so focus or the mouse never repaint its text pane in other colours.
        Memo,
    };

    // edit: the control that owns this and its skin state data (which must outlive this).
    TsEditSkin(toolkit::TCustomEdit& edit, skin::TsCommonData& data, Kind kind);
    ~TsEditSkin();
    TsEditSkin(const TsEditSkin&) = delete;
    TsEditSkin& operator=(const TsEditSkin&) = delete;

    skin::TsCommonData& Data() { return *m_data; }
    TsBoundLabel& BoundLabel() { return *m_boundLabel; }
    TacDisabledKind DisabledKind() const { return m_disabledKind; }
    void SetDisabledKind(TacDisabledKind kind);

    // The skin paints now: a skin is active for this control and it is not arriving.
    bool Painting() const;
    bool Hot() const;
    // Width of the window's border (0 without one).
    std::int32_t BorderWidth() const;

    // The library command message (the skin state included).
    void Command(toolkit::TMessage& message);
    // Handles a message the skin state has seen, before the edit does; true when used up.
    bool Before(toolkit::TMessage& message);
    // After the edit's own handling.
    void After(const toolkit::TMessage& message);

    // The face, built again when stale; none without an active skin.
    toolkit::TBitmap* Face();
    // Marks the face stale and repaints the border and the client area.
    void Changed();
    // Copies the border from the face onto the window.
    void PaintBorder();
    // Gives the edit the section's colours for the state it is in now.
    void TakeColors();
    // The whole face onto dc (window coordinates), built again first when the background may
    // have changed under it: marked so, the edit only partly inside its parent's client area,
    // or the parent saying it is changing (command 11).
    void PaintWindow(platform::DeviceContext& dc);

    // Runs whenever the face has been marked changed (the spin edit's buttons show it).
    std::function<void()> OnFaceChanged;

private:
    struct FaceKey {
        bool hot = false;
        bool enabled = true;
        platform::Size size;
        platform::Point position;
        std::string text;
        std::int32_t sectionIndex = -1;
        bool operator==(const FaceKey&) const = default;
    };
    FaceKey Key() const;
    void BuildFace(const FaceKey& key);
    void RedrawFrame();
    // A print request (WM_PRINT, the context in WParam): the face, then the edit's own client
    // painting moved inside the border and clipped to the client area.
    void Print(platform::DeviceContext& dc);

    toolkit::TCustomEdit& m_edit;
    skin::TsCommonData* m_data;
    std::unique_ptr<TsBoundLabel> m_boundLabel;
    TacDisabledKind m_disabledKind{TacDisabledKindItem::dkBlended};
    Kind m_kind;
    std::optional<FaceKey> m_builtFrom;
    bool m_takingColors = false;
};

// Passes a message through an edit's skin: the skin's own handling first, then the control's
// (plain), then the skin's follow-up. The control's handling may free the control or drop its
// skin, so neither is touched after that unless both are still there. True when the message went
// the whole way.
template <class PlainHandling>
bool PassThroughEditSkin(std::unique_ptr<TsEditSkin>& skin, const toolkit::TControl& control,
                         toolkit::TMessage& message, PlainHandling&& plain) {
    if (skin->Before(message))
        return false;
    const std::weak_ptr<const bool> alive = control.LifeToken();
    plain(message);
    if (alive.expired() || !skin)
        return false;
    skin->After(message);
    return true;
}

} // namespace skinned
