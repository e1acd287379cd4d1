#pragma once
// Menus: a tree of TMenuItem components under a TMenu's root item, shown through the platform's
// popup menus ("#32768" windows). TPopupMenu pops its items up at a screen point.
//
// Items: Caption ("-" makes a separator; "&" marks the accelerator), Enabled, Visible, Checked,
// RadioItem with GroupIndex (checking a radio item unchecks the other radio items of its group
// under the same parent), AutoCheck (a click toggles Checked, or checks a radio item, before
// OnClick runs), Default (bold), ImageIndex into the menu's Images, Hint, Tag, OnClick.
// Owner draw: with the menu's OwnerDraw on, OnMeasureItem sizes each item and OnAdvancedDrawItem
// (or OnDrawItem) paints it on the canvas it is given.
//
// Popup(x, y): builds the platform menu from the items (only visible ones), sets PopupPoint,
// raises OnPopup, tracks the menu modally and, once it has closed, runs the chosen item's Click
// (so the handler runs with no menu on screen). Returns after the menu has closed.
// PopupComponent is the control the menu was last shown for (set by whoever shows it).
//
// Items own their sub-items: freeing an item frees its children and removes it from its parent.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "toolkit/TComponent.h"
#include "toolkit/TObject.h"

namespace toolkit {

class TCanvas;
class TImageList;
class TMenu;

enum class TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault };
using TOwnerDrawState = unsigned; // bit (1 << item) per TOwnerDrawStateItem

using TMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas& canvas, platform::Rect rect, bool selected)>;
using TAdvancedMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas& canvas,
                                                      platform::Rect rect, TOwnerDrawState state)>;
using TMenuMeasureItemEvent =
    std::function<void(TObject* sender, TCanvas& canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::string ClassName() const override { return "TMenuItem"; }

    // ---- tree ----
    int Count() const { return static_cast<int>(m_items.size()); }
    TMenuItem* Items(int index) const; // EListError for a bad index
    TMenuItem* Parent() const { return m_parent; }
    TMenu* GetParentMenu() const;
    int MenuIndex() const;
    void Add(TMenuItem* item); // takes the item out of any other parent
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item); // the item stays alive, without a parent
    void Delete(int index);       // frees the item
    void Clear();                 // frees every child
    bool IsLine() const { return m_caption == "-"; }

    // ---- properties ----
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption) { m_caption = caption; }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool on) { m_visible = on; }
    bool Checked() const { return m_checked; }
    void SetChecked(bool on);
    bool RadioItem() const { return m_radioItem; }
    void SetRadioItem(bool on) { m_radioItem = on; }
    bool AutoCheck() const { return m_autoCheck; }
    void SetAutoCheck(bool on) { m_autoCheck = on; }
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int index) { m_groupIndex = index; }
    bool Default() const { return m_default; }
    void SetDefault(bool on) { m_default = on; }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index) { m_imageIndex = index; }
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint) { m_hint = hint; }

    // Runs AutoCheck and OnClick, as choosing the item does.
    virtual void Click();

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

private:
    TMenuItem* m_parent = nullptr;
    TMenu* m_menu = nullptr; // set on the root item only
    std::vector<TMenuItem*> m_items;
    std::string m_caption;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_checked = false;
    bool m_radioItem = false;
    bool m_autoCheck = false;
    int m_groupIndex = 0;
    bool m_default = false;
    int m_imageIndex = -1;
    std::string m_hint;

    friend class TMenu;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    std::string ClassName() const override { return "TMenu"; }

    TMenuItem* Items() const { return m_items.get(); }
    TImageList* Images() const { return m_images; }
    void SetImages(TImageList* images);
    bool OwnerDraw() const { return m_ownerDraw; }
    void SetOwnerDraw(bool on) { m_ownerDraw = on; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TMenuItem> m_items;
    TImageList* m_images = nullptr;
    bool m_ownerDraw = false;
};

enum class TPopupAlignment { paLeft, paRight, paCenter };
using enum TPopupAlignment;

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    std::string ClassName() const override { return "TPopupMenu"; }

    // Screen coordinates; returns when the menu has closed (and the chosen item has run).
    virtual void Popup(int x, int y);
    platform::Point PopupPoint() const { return m_popupPoint; }
    TComponent* PopupComponent() const { return m_popupComponent; }
    void SetPopupComponent(TComponent* component);
    TPopupAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TPopupAlignment alignment) { m_alignment = alignment; }
    bool AutoPopup() const { return m_autoPopup; }
    void SetAutoPopup(bool on) { m_autoPopup = on; }

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    platform::Point m_popupPoint{};
    TComponent* m_popupComponent = nullptr;
    TPopupAlignment m_alignment = paLeft;
    bool m_autoPopup = true;
};

} // namespace toolkit
