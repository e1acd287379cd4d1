#pragma once
// What the skinned buttons (TsBitBtn, TsSpeedButton) share to paint their face into the cache
// bitmap of their skin state: the state index of the skin lookups, the background behind the
// button, the glyph and caption in the section's font colours, the drop-down arrow and the
// disabled look, and the record that tells whether a cached face is still good.
//
// Coordinates are the button's client pixels (the cache's pixels); position is the button's
// place in its parent. Nothing here raises; without a manager or a valid section nothing of the
// skin is drawn.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/gfx/Geometry.h"
#include "skin/acFast24.h"
#include "toolkit/TAlignment.h"
#include "toolkit/TButtonGlyph.h"
#include "toolkit/TGraphicsObject.h"
#include "toolkit/TSet.h"

namespace platform {
class DeviceContext;
} // namespace platform

namespace toolkit {
class TBitmap;
class TControl;
} // namespace toolkit

namespace skin {
class TsCommonData;
class TsSkinManager;
} // namespace skin

namespace skinned {

class TsButtonFade;

// Which transitions of a button cross-fade; aeGlobalDef takes the manager's choice.
enum class TacAnimatEvent { aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp, aeGlobalDef };
using TacAnimatEvents = std::set<TacAnimatEvent>;

// How a skinned button draws its glyph and caption; the published options both buttons share.
enum class TacDisabledGlyphKindItem { dgBlended, dgGrayed };
using TacDisabledGlyphKind = toolkit::TSet<TacDisabledGlyphKindItem>;
enum class TacDisabledKindItem { dkBlended, dkGrayed };
using TacDisabledKind = toolkit::TSet<TacDisabledKindItem>;

struct TacButtonLook {
    toolkit::TAlignment Alignment = toolkit::taCenter; // where the glyph and caption block stands
    std::int32_t Blend = 0; // percent of the face showing through the glyph when not hot
    TacDisabledGlyphKind DisabledGlyphKind{TacDisabledGlyphKindItem::dgBlended};
    TacDisabledKind DisabledKind{TacDisabledKindItem::dkBlended};
    bool Grayed = false; // the glyph is grey until the button is hot
    bool ShowCaption = true;
    bool DrawOverBorder = true;  // glyph and caption over the section's borders
    std::int32_t TextOffset = 0; // pixels the caption moves right
    toolkit::TAlignment TextAlignment = toolkit::taCenter; // of the caption's lines
    bool operator==(const TacButtonLook&) const = default;
};

// The published look options of a skinned button; a change calls LookChanged (the button
// repaints; the options are part of its face key).
class TacButtonLookOwner {
public:
    virtual ~TacButtonLookOwner() = default;
    const TacButtonLook& Look() const { return m_look; }

    toolkit::TAlignment Alignment() const { return m_look.Alignment; }
    void SetAlignment(toolkit::TAlignment value) { Set(m_look.Alignment, value); }
    std::int32_t Blend() const { return m_look.Blend; }
    void SetBlend(std::int32_t value) { Set(m_look.Blend, value); }
    TacDisabledGlyphKind DisabledGlyphKind() const { return m_look.DisabledGlyphKind; }
    void SetDisabledGlyphKind(TacDisabledGlyphKind value) { Set(m_look.DisabledGlyphKind, value); }
    TacDisabledKind DisabledKind() const { return m_look.DisabledKind; }
    void SetDisabledKind(TacDisabledKind value) { Set(m_look.DisabledKind, value); }
    bool Grayed() const { return m_look.Grayed; }
    void SetGrayed(bool value) { Set(m_look.Grayed, value); }
    bool ShowCaption() const { return m_look.ShowCaption; }
    void SetShowCaption(bool value) { Set(m_look.ShowCaption, value); }
    bool DrawOverBorder() const { return m_look.DrawOverBorder; }
    void SetDrawOverBorder(bool value) { Set(m_look.DrawOverBorder, value); }
    std::int32_t TextOffset() const { return m_look.TextOffset; }
    void SetTextOffset(std::int32_t value) { Set(m_look.TextOffset, value); }
    toolkit::TAlignment TextAlignment() const { return m_look.TextAlignment; }
    void SetTextAlignment(toolkit::TAlignment value) { Set(m_look.TextAlignment, value); }

protected:
    virtual void LookChanged() = 0;

private:
    template <class T> void Set(T& field, T value) {
        if (field == value)
            return;
        field = value;
        LookChanged();
    }
    TacButtonLook m_look;
};

// Hints stay hidden while the left button is held on a skinned button: Press turns the
// application's hints off and Release (or the holder going) turns them back to what they were.
class TacHintHold {
public:
    TacHintHold() = default;
    TacHintHold(const TacHintHold&) = delete;
    TacHintHold& operator=(const TacHintHold&) = delete;
    ~TacHintHold() { Release(); }
    void Press();
    void Release();

private:
    bool m_held = false;
    bool m_previous = false;
};

// State indexes of every skin lookup of a button.
inline constexpr std::int32_t kFaceNormal = 0, kFaceHot = 1, kFacePressed = 2;

// Pressed wins over hot, hot over normal.
std::int32_t FaceStateIndex(bool pressed, bool hot);

// Whether a library command leaves a button's face stale: a new or removed skin changes the
// whole look, plain or skinned; a refresh or a section change needs the face built again.
bool CommandRebuildsFace(std::uint16_t command);

// Everything a face is built from that the toolkit changes without telling the skin state. A
// face whose key equals the last built one (and is not marked changed) is reused.
struct TButtonFaceKey {
    std::int32_t state = -1;
    std::int32_t dropDownState = -1;
    bool enabled = true;
    bool focused = false;
    bool down = false;
    platform::Size size;
    platform::Point position;
    std::string caption;
    std::int32_t sectionIndex = -1;
    // The glyph (picture, cells, image list and index) and where glyph and caption go (spacing,
    // margin, layout, alignment and the font's size all move them).
    std::uint32_t glyphVersion = 0;
    platform::Rect glyphAt;
    platform::Rect textAt;
    unsigned captionFlags = 0;
    std::string fontName;
    std::int32_t fontHeight = 0;
    toolkit::TFontStyles fontStyle;
    toolkit::TColor fontColor = 0;
    TacButtonLook look;
    bool operator==(const TButtonFaceKey&) const = default;
};

// Fills the key's glyph, placement and font part.
void KeyContent(TButtonFaceKey& key, const toolkit::TButtonGlyph& glyph,
                const toolkit::TButtonPlacement& placement, unsigned captionFlags,
                const toolkit::TFont& font);

// The parent's cache under the button, or the parent's colour when it gives none.
void PaintButtonBackdrop(toolkit::TBitmap& cache, const toolkit::TControl& control,
                         const skin::TsBackdropInfo& parent);

// The glyph and the caption of a button: the glyph's cell for glyphState at placement.glyph,
// the caption with DrawContourText in placement.text (hot colours when hot). pressed moves both
// one pixel right and down. The glyph follows look: grey until hot when Grayed, the face showing
// through by Blend percent when not hot, and when disabled grey (dgGrayed) and half blended
// (dgBlended); without ShowCaption no caption.
void PaintButtonContent(toolkit::TBitmap& cache, skin::TsCommonData& data,
                        toolkit::TButtonGlyph& glyph, toolkit::TButtonState glyphState,
                        toolkit::TButtonPlacement placement, const std::string& caption,
                        unsigned captionFlags, bool enabled, bool hot, bool pressed,
                        const TacButtonLook& look = {});

// The glyph alone, drawn by the rules above with its top left corner at `at`.
void PaintButtonGlyph(toolkit::TBitmap& cache, toolkit::TButtonGlyph& glyph,
                      toolkit::TButtonState glyphState, platform::Point at, bool enabled, bool hot,
                      const TacButtonLook& look);

// Where a skinned button puts its glyph and caption inside content. The caption is measured
// with word break and tab expansion in content's width less 2 × margin, less the glyph's width
// and spacing when the glyph stands beside it; without ShowCaption (or text) it takes no room,
// so the glyph stands as on a button without caption. Alignment and TextOffset then apply.
struct TacButtonLayout {
    toolkit::TButtonLayout layout = toolkit::blGlyphLeft;
    int margin = -1;
    int spacing = 4;
};
toolkit::TButtonPlacement
SkinButtonPlacement(const toolkit::TFont& font, const std::string& caption,
                    const platform::Rect& content, const toolkit::TButtonGlyph& glyph,
                    const TacButtonLayout& layout, const TacButtonLook& look);

// Moves a placement for Alignment and TextOffset: the block of glyph and caption (laid out
// centred by the toolkit) goes to the left or right margin, the caption TextOffset pixels right.
toolkit::TButtonPlacement AlignPlacement(toolkit::TButtonPlacement placement,
                                         const platform::Rect& content, std::int32_t margin,
                                         const TacButtonLook& look);

// Caption flags for TextAlignment.
unsigned TextAlignmentFlags(unsigned flags, const TacButtonLook& look);

// The skin's down arrow (the "SCROLLBTNBOTTOM" glyph) centred in the rightmost dropDownWidth
// pixels of the cache, in the given state frame. Nothing when the skin has no such glyph.
void PaintDropDownArrow(toolkit::TBitmap& cache, skin::TsSkinManager& manager,
                        std::int32_t dropDownWidth, std::int32_t state);

// The section's border piece for state drawn again over rect (no centre): a button that does
// not draw over its border puts the border back on top of its glyph and caption.
void PaintButtonBorder(toolkit::TBitmap& cache, skin::TsCommonData& data, std::int32_t state,
                       const platform::Rect& rect, const skin::TsBackdropInfo& parent);

// The disabled look (blended toward what lies behind the button, grey with dkGrayed).
void PaintButtonDisabled(toolkit::TBitmap& cache, const toolkit::TControl& control,
                         const skin::TsBackdropInfo& parent,
                         TacDisabledKind kind = TacDisabledKind{TacDisabledKindItem::dkBlended});

// The face a skinned button keeps between paints: the key it was last built from and the
// cross-fade that is running, if any.
struct TacKeptFace {
    TacKeptFace();
    ~TacKeptFace();
    TacKeptFace(const TacKeptFace&) = delete;
    TacKeptFace& operator=(const TacKeptFace&) = delete;
    std::optional<TButtonFaceKey> builtFrom;
    std::unique_ptr<TsButtonFade> fade;
};

// When a paint builds the kept face again, besides a changed key, a marked skin state or a cache
// of the wrong size.
enum class TacFaceRenewal {
    kWhenChanged,
    kAlways,  // the background it was built on may be gone (the bit button half visible)
    kQuietly, // likewise, without starting a fade (the speed button painted only partly before)
    kFrozen,  // shown as kept while it fits the button (a normal bit button while moving)
};

// The paint both skinned buttons share under an active skin: a finished fade is dropped; the
// face is built again (build) when renewal asks for it, starting the cross-fade of a change of
// state (events) on the way; then the fade's frame, or the face, goes on dc.
void PaintSkinnedFace(toolkit::TControl& control, skin::TsCommonData& data, TacKeptFace& kept,
                      const TButtonFaceKey& key, TacFaceRenewal renewal,
                      const TacAnimatEvents& events, const std::function<void()>& build,
                      platform::DeviceContext& dc);

// The paint both skinned buttons share while their skin is not in use, which ends any fade.
// Skinned but updating (a new skin arriving): the face cached before, when it has the button's
// size, goes on dc as it is; otherwise nothing is drawn and the paint is only used up, never the
// plain look, which would flash in between skins. Without a skin: plain().
void PaintUnskinnedFace(toolkit::TControl& control, skin::TsCommonData& data, TacKeptFace& kept,
                        const std::function<void()>& plain, platform::DeviceContext& dc);

// A new skin draws an image-list glyph from the list itself: a Glyph bitmap beside images goes.
void DrawGlyphFromImages(toolkit::TButtonGlyph& glyph);

// The focus mark of a push button around rect: dots every third pixel along the edges, black on
// the edge with a white one a pixel up and left of it.
void PaintFocusDots(toolkit::TBitmap& cache, const platform::Rect& rect);

} // namespace skinned
