#pragma once
// Menus: a tree of TMenuItem components under a TMenu's root item, shown through the platform's
// popup menus ("#32768" windows). TPopupMenu pops its items up at a screen point.
//
// Items: Caption ("-" makes a separator; "&" marks the accelerator), Break (the item starts a new
// column; mbBarBreak also draws a line between the columns), Enabled, Visible, Checked,
// RadioItem with GroupIndex (checking a radio item unchecks the other radio items of its group
// under the same parent), AutoCheck (a click toggles Checked, or checks a radio item, before
// OnClick runs), Default (bold), ImageIndex into the menu's Images, Bitmap (the item's own
// picture, for painters that draw it before the menu's image), Hint, Tag, OnClick. A caption
// may end in a tab and a shortcut text ("Close\tAlt+F4"): the shortcut is drawn right-aligned.
// Owner draw: with the menu's OwnerDraw on, OnMeasureItem sizes each item and OnAdvancedDrawItem
// (or OnDrawItem) paints it on the canvas it is given (item rectangle in the menu window's client
// coordinates; the handler paints everything, the sub-menu arrow included). Items without
// handlers get the toolkit's own drawing. A menu with Images is owner-drawn too, by the toolkit:
// the image sits in a column left of the caption (disabled look for disabled items, a sunken box
// when checked); a checked item without an image shows a check mark, a radio item a bullet.
// Menus with neither are drawn by the platform (the same layout without images).
//
// Finding items again: every item has a Command number (1 ... 65535, unique while it lives);
// the platform menu carries it as the item's id and as its item data, and FromCommand maps it
// back, so whatever paints the "#32768" window (a skin) can reach the TMenuItem.
//
// Popup(x, y): sets PopupPoint, raises OnPopup, builds the platform menu from the items (only
// visible ones; an item with visible children is a sub-menu), places it by Alignment (x is the
// left edge, the right edge or the centre; y the top), tracks it modally and, once it has
// closed, runs the chosen item's Click (so the handler runs with no menu on screen). Esc or a
// click outside choose nothing. Returns after the menu has closed; without a running window
// system only OnPopup runs. A popup asked for while another menu is tracked shows nothing.
// PopupComponent is the control the menu was last shown for (set by whoever shows it).
//
// Items own their sub-items: freeing an item frees its children and removes it from its parent.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/win/WinDefs.h"
#include "toolkit/TComponent.h"
#include "toolkit/TObject.h"

namespace toolkit {

class TBitmap;
class TCanvas;
class TImageList;
class TMenu;

enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };
using enum TMenuBreak;

enum class TOwnerDrawStateItem {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault
};
using TOwnerDrawState = unsigned; // bit (1 << item) per TOwnerDrawStateItem
using enum TOwnerDrawStateItem;
constexpr TOwnerDrawState OwnerDrawBit(TOwnerDrawStateItem item) {
    return 1u << static_cast<unsigned>(item);
}
constexpr bool HasState(TOwnerDrawState state, TOwnerDrawStateItem item) {
    return (state & OwnerDrawBit(item)) != 0;
}

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
    TMenuBreak Break() const { return m_break; }
    void SetBreak(TMenuBreak value) { m_break = value; }
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
    // The item's own picture, made empty on first use. OwnBitmap is none while it is empty.
    TBitmap& Bitmap();
    const TBitmap* OwnBitmap() const;
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint) { m_hint = hint; }

    // Runs AutoCheck and OnClick, as choosing the item does.
    virtual void Click();

    // ---- platform side ----
    platform::UINT Command() const { return m_command; }
    // The living item with that command, or nullptr.
    static TMenuItem* FromCommand(platform::UINT command);
    // The image list the item draws from (its menu's Images), or nullptr.
    TImageList* GetImageList() const;

    // Owner drawing: the toolkit's sizes, then OnMeasureItem may change them; OnAdvancedDrawItem,
    // else OnDrawItem, else DrawDefault. Canvas coordinates are the menu window's client ones.
    void MeasureItem(TCanvas& canvas, int& width, int& height);
    void AdvancedDrawItem(TCanvas& canvas, const platform::Rect& rect, TOwnerDrawState state);
    // While an item is being measured or drawn: the menu window ("#32768") it belongs to (none
    // while measuring, before the window exists), for painters that also draw the window's
    // border. Empty otherwise.
    static platform::HWND PaintingWindow();
    // The toolkit's own look (a painter may call these for items it leaves alone).
    virtual void MeasureDefault(TCanvas& canvas, int& width, int& height);
    virtual void DrawDefault(TCanvas& canvas, const platform::Rect& rect, TOwnerDrawState state);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

private:
    TMenuItem* m_parent = nullptr;
    TMenu* m_menu = nullptr; // set on the root item only
    std::vector<TMenuItem*> m_items;
    std::string m_caption;
    TMenuBreak m_break = mbNone;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_checked = false;
    bool m_radioItem = false;
    bool m_autoCheck = false;
    int m_groupIndex = 0;
    bool m_default = false;
    int m_imageIndex = -1;
    std::unique_ptr<TBitmap> m_bitmap;
    std::string m_hint;
    platform::UINT m_command = 0;

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
    // Whether the items are owner-drawn when shown: OwnerDraw on, or Images set.
    bool IsOwnerDraw() const { return m_ownerDraw || m_images; }

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
