#pragma once
// The combo box: a face showing the chosen item (or a text part to type in), a button with a
// down arrow at the right edge, and a list of the items that drops down under the face.
//
// Styles:
// - csDropDownList: no free text; Text is the item at ItemIndex ("" for -1).
// - csDropDown: a one-line text part to type in (a borderless TEdit with the whole editing
//   behaviour: caret, selection, clipboard, undo), and the drop-down list.
// - csSimple: the text part with the list always shown under it (no button).
// - csOwnerDrawFixed: as csDropDownList, but DrawItem (OnDrawItem when set) draws every item of
//   the list and the chosen item on the closed face, all ItemHeight pixels high (SetItemHeight;
//   0 or less: the font's line height). The handler draws on the combo box's Canvas, which is
//   on the list's or the face's context while it runs; the state says ciFace for the face,
//   ciSelected for the highlighted item (and the face while focused), ciFocused, ciDisabled.
//   Without a handler the item's text is drawn as in the plain styles.
//
// The dropped-down list is a popup window of its own (WS_POPUP, topmost, never active) placed
// under the face, or over it when the screen has no room below; it shows DropDownCount rows at
// most, with the platform's scroll bar when there are more items. While it is down it holds the
// mouse capture: the item under the pointer is highlighted, a click on an item chooses it, a
// click on the face or button closes the list and a click anywhere else closes it too (that
// click goes nowhere else). Keys while it is down: Up, Down, Home, End, PageUp, PageDown and
// letters move the highlight; Enter, F4, Alt+Up and Alt+Down choose the highlighted item; Esc
// closes without choosing; losing the focus closes without choosing.
//
// Opening: a press on the face (csDropDownList) or on the button, F4, Alt+Down or Alt+Up.
//
// OnChange: once for every choice the user makes, and never for writes by the program
// (ItemIndex, Text, Items). A choice from the list counts even when it picks the item already
// chosen (choosing a preset again applies it again); the keys of a closed list (Up, Down, Home,
// End, PageUp, PageDown, letters) count only when they change ItemIndex. Typing in the text
// part fires OnChange once per change of the text; ItemIndex then follows the item whose text
// equals the typed text, or -1.
//
// Painting is split for skinned descendants (PaintFace, PaintButton, PaintSelectedItem), with
// the state in DroppedDown, ButtonPressed, HasFocus, ButtonRect and ItemTextRect.

#include <functional>
#include <memory>

#include "toolkit/TCustomEdit.h"
#include "toolkit/TListBox.h"
#include "toolkit/TSet.h"

namespace toolkit {

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed };
using enum TComboBoxStyle;

enum class TComboItemState { ciSelected, ciFocused, ciDisabled, ciFace };
using TComboItemStates = TSet<TComboItemState>;
using enum TComboItemState;

class TCustomComboBox;
using TComboDrawItemEvent = std::function<void(TCustomComboBox* sender, int index,
                                               const platform::Rect& rect, TComboItemStates state)>;

class TCustomComboBox;

// The combo box's list: the popup that drops down, or the list under a simple combo box.
class TComboListBox : public TCustomListBox {
public:
    TComboListBox(TCustomComboBox& combo, bool popup);
    ~TComboListBox() override;

    std::string ClassName() const override { return "TComboListBox"; }
    bool IsPopup() const { return m_popup; }
    // Begins tracking the pointer for a list that has just dropped down.
    void StartTracking();
    // The combo box is going: the list does nothing more for it.
    void Detach() { m_combo = nullptr; }
    // Whether a message is being handled by the list right now.
    bool Busy() const { return m_busy > 0; }
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    platform::HWND ParentWindowHandle() const override;
    void DrawItem(TCanvas& canvas, int index, const platform::Rect& rect, bool selected,
                  bool focusMark) override;

public:
    void Click() override;

protected:
private:
    void PopupMouse(TMessage& message);

    TCustomComboBox* m_combo;
    bool m_popup;
    bool m_entered = false;     // the pointer has been over the items since the list opened
    bool m_trackingBar = false; // the scroll bar has the capture for a moment
    int m_busy = 0;
};

// The text part's class: the plain edit, without its border.
using TComboTextPart = TEdit;

class TCustomComboBox : public TCustomControl {
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    std::string ClassName() const override { return "TCustomComboBox"; }

    TComboBoxStyle Style() const { return m_style; }
    void SetStyle(TComboBoxStyle style);
    TItemStrings& Items() { return m_items; }
    const TItemStrings& Items() const { return m_items; }
    int ItemIndex() const { return m_itemIndex; }
    // By program: fires nothing. Values outside -1 ... Count - 1 become -1.
    void SetItemIndex(int index);
    int DropDownCount() const { return m_dropDownCount; }
    void SetDropDownCount(int count) { m_dropDownCount = std::max(count, 1); }
    bool Sorted() const { return m_items.Sorted(); }
    void SetSorted(bool on) { m_items.SetSorted(on); }
    // The height of the items: the font's line height, or for csOwnerDrawFixed the height set.
    int ItemHeight() const;
    void SetItemHeight(int height);
    // Items are drawn by DrawItem (csOwnerDrawFixed).
    bool OwnerDrawn() const { return m_style == csOwnerDrawFixed; }

    bool DroppedDown() const { return m_droppedDown; }
    void SetDroppedDown(bool on);
    bool ButtonPressed() const { return m_droppedDown || m_buttonDown; }
    // The focus is on the combo box or its text part.
    bool HasFocus() const;

    // Face geometry in client coordinates.
    platform::Rect ButtonRect() const;
    platform::Rect ItemTextRect() const;
    // The height of the face (the whole control but for the simple style's list).
    int FaceHeight() const;

    std::string Text() const override;

    // The popup list (created on first drop-down) and the text part (none for csDropDownList).
    TComboListBox* ListBox() const { return m_list.get(); }
    TComboTextPart* TextPart() const { return m_edit; }

    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                   std::int32_t height) override;
    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TComboDrawItemEvent OnDrawItem;

protected:
    void ApplyText() override;
    void Paint() override;
    virtual void PaintFace(TCanvas& canvas);
    virtual void PaintButton(TCanvas& canvas, const platform::Rect& rect);
    virtual void PaintSelectedItem(TCanvas& canvas, const platform::Rect& rect);
    // An owner-drawn item on Canvas (already on the right context): runs OnDrawItem, or draws
    // the item's text when there is none.
    virtual void DrawItem(int index, const platform::Rect& rect, TComboItemStates state);
    virtual void Change();

    bool DoKeyDown(platform::WORD& key, TShiftState shift) override;
    bool DoKeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    // Opening and closing the list (a skinned descendant hooks its list window here).
    virtual void DropDown();
    // choose: the highlighted item becomes the choice.
    virtual void CloseUp(bool choose);

private:
    friend class TComboListBox;

    // A choice by the user: sets the item, shows its text, fires OnChange when `always` or
    // when something changed.
    void Choose(int index, bool always);
    void ItemsChanged(TItemStrings::TChange change, int index);
    void BuildParts();
    void LayoutParts();
    void SyncSimpleList();
    // Keys shared by the face and the text part; true when used.
    bool HandleKey(platform::WORD key, TShiftState shift);
    bool HandleChar(char32_t key);
    void TextPartChanged();
    bool TextPartMessage(TMessage& message);
    // No text part: the chosen item shows on the face.
    bool ListOnly() const { return m_style == csDropDownList || m_style == csOwnerDrawFixed; }
    // Runs DrawItem with Canvas on another canvas's context.
    void DrawItemOn(TCanvas& canvas, int index, const platform::Rect& rect, TComboItemStates state);

    TItemStrings m_items;
    int m_itemIndex = -1;
    TComboBoxStyle m_style = csDropDown;
    int m_dropDownCount = 8;
    int m_itemHeight = 0; // 0: the font's
    bool m_droppedDown = false;
    bool m_buttonDown = false;
    bool m_closing = false;
    int m_programWrite = 0;
    int m_simpleHeight = 0; // the height asked for, which the simple style shows
    std::unique_ptr<TComboListBox> m_list;
    TComboTextPart* m_edit = nullptr;
    TComboListBox* m_simpleList = nullptr;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
    std::string ClassName() const override { return "TComboBox"; }
};

} // namespace toolkit
