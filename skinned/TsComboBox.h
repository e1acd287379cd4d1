#pragma once
// The skinned combo box: the plain combo box's behaviour, painted from its skin section
// ("COMBOBOX" when none is set; control type 3) while a skin is active, exactly the plain combo
// box otherwise. SkinData is its skin state; BoundLabel its caption label.
//
// The face (kept in the skin state's cache, built again only when something it shows changed):
// the section in the hot state while the mouse is over it or it has the focus, else the normal
// one; the button area, the scroll-bar width wide from y = 3 to the face's height − 3, ending 3
// pixels inside the right edge, gets the skin's "COMBOBTN" section when it has one, then the
// section's GLYPHMASK centred in it, in state 2 while the list is down; then the chosen item
// (drop-down list) in (3, 3) − (button left, height − 3), in the highlight colours on a filled
// background with a focus rectangle while focused, else in the font colour, or the text of a
// drop-down combo box in the font colour; disabled, the disabled look chosen by DisabledKind.
// On screen: the whole face (an owner-drawn one with its DrawItem over the item), except that a
// focused drop-down combo box leaves its text part to paint the text and a simple one
// everything inside the 3-pixel frame; disabled, always the whole face. While a drop-down combo
// box is not being typed in (unfocused, disabled or read-only), its text part shows the piece of
// the face it covers instead of a flat field. While the skin state updates, paints are only
// validated. Under the skin the control's Color and font colour are the section's (unless
// CustomColor / CustomFont); removing the skin gives back the system window colours.
//
// ReadOnly: the keys that choose or open do nothing and the list does not open.
//
// The drop-down list of a combo box with more items than DropDownCount (16 by default) shows a
// scroll bar; on its first drop-down under the skin it gets a list adapter (TacComboListWnd,
// section "EDIT") that skins it, kept until the skin is removed.

#include <functional>
#include <memory>
#include <optional>

#include "skinned/TacSkinnedControl.h"
#include "skinned/sEditSkin.h"
#include "toolkit/TAlignment.h"
#include "toolkit/TComboBox.h"

namespace skin {
class TsSkinManager;
}

namespace skinned {

class TacComboListWnd;

class TsCustomComboBox : public TacSkinnedControl<toolkit::TCustomComboBox> {
public:
    static constexpr int kDefaultDropDownCount = 16;

    explicit TsCustomComboBox(toolkit::TComponent* owner);
    ~TsCustomComboBox() override;

    std::string ClassName() const override { return "TsCustomComboBox"; }

    TsBoundLabel& BoundLabel() { return *m_boundLabel; }
    TacDisabledKind DisabledKind() const { return m_disabledKind; }
    void SetDisabledKind(TacDisabledKind kind);
    toolkit::TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(toolkit::TAlignment alignment);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool on);

    // The list adapter, once the list has been skinned.
    TacComboListWnd* ListAdapter() const { return m_listAdapter.get(); }
    // The button area in client coordinates (empty for the simple style).
    platform::Rect SkinButtonRect() const;

protected:
    void SkinCommand(toolkit::TMessage& message) override;
    void SkinnedWndProc(toolkit::TMessage& message) override;
    void Paint() override;
    void DropDown() override;
    bool DoKeyDown(platform::WORD& key, toolkit::TShiftState shift) override;
    bool DoKeyPress(char32_t& key) override;

private:
    struct FaceKey {
        std::int32_t state = 0;
        bool focused = false;
        bool enabled = true;
        platform::Size size;
        platform::Point position;
        std::string text;
        std::int32_t sectionIndex = -1;
        toolkit::TAlignment alignment = toolkit::taLeftJustify;
        bool operator==(const FaceKey&) const = default;
    };
    bool Skinned() const;
    bool Painting() const;
    void PutFace(const platform::Rect& part);
    // Builds the face again when what it shows has changed.
    void RenewFace();
    // The text part of a drop-down combo box shows the face (its text included) while the box
    // is not being typed in: unfocused, disabled or read-only.
    bool TextPartShowsFace() const;
    void PaintTextPart(toolkit::TComboTextPart& part, toolkit::TMessage& message);
    FaceKey Key() const;
    void BuildFace(const FaceKey& key);
    void PaintSkinButton(toolkit::TBitmap& cache, const platform::Rect& area, std::int32_t state);
    void PaintSelected(toolkit::TBitmap& cache, const FaceKey& key);
    void Changed();
    void TextPartColors();
    void GuardTextPart();
    void PassToList(const toolkit::TMessage& message);

    skin::TsCommonData* m_data; // the skin state, while it exists
    std::unique_ptr<TsBoundLabel> m_boundLabel;
    std::unique_ptr<TacComboListWnd> m_listAdapter;
    std::optional<FaceKey> m_builtFrom;
    TacDisabledKind m_disabledKind{TacDisabledKindItem::dkBlended};
    toolkit::TAlignment m_alignment = toolkit::taLeftJustify;
    bool m_readOnly = false;
    toolkit::TComboTextPart* m_guardedPart = nullptr;
};

class TsComboBox : public TsCustomComboBox {
public:
    using TsCustomComboBox::TsCustomComboBox;
    std::string ClassName() const override { return "TsComboBox"; }
};

} // namespace skinned
