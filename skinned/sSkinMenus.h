#pragma once
// Skinned popup menus. TsSkinableMenus measures and draws owner-drawn menu items from the skin
// onto a background picture of the whole menu window ("MAINMENU" with its border, the extra
// line, the icon column), which it keeps for the open menu and builds again when a menu with
// another first item (or of another size) is drawn, and when the skin changes.
//
// Ownership: the painter is a component of its skin manager and plugs itself in as the manager's
// skinned menus. Once UseSkinnedMenus has run, every new manager makes its painter as it is
// created; TsSkinableMenus::Of makes one for a manager that has none. InitMenuItems(true, menu)
// hands a menu's items to the painter (the menu becomes owner-drawn); InitMenuItems(false, menu)
// gives them back to the toolkit's own drawing. Items added to a menu handed over (a menu rebuilt
// as it opens) are taken over as the menu is measured, or as their sub-menu's item is drawn, as
// long as they have no handlers of their own. Items handed over keep working when the painter
// goes: they fall back to the toolkit's look, as they do while the manager has no active skin
// or SkinnedPopups is off.
//
// Item layout (item coordinates, h the text height of "W" in the menu font):
//   separator  2 high; title ("-Caption-") round(1.25 h) + 2 Margin;
//   normal     max(round(1.25 h), glyph height) + 2 Margin (22 with an 8-point font and 16 × 16
//              images); 2 × glyph width + text width + 3 Margin + Spacing wide, the extra line's
//              width added in the first column and the 4-pixel strip that parts the columns in
//              the later ones (an item with a Break starts a column).
//   The glyph is the item's own Bitmap, else its image in the menu's image list (16 × 16 when
//   neither says). The text width of "Caption\tShortcut" is that of the whole line, the tab
//   reaching the next tab stop; the shortcut is drawn right-aligned 8 pixels from the right.
//   The icon column is Margin + glyph width + Spacing wide (25 with the defaults); the caption
//   starts Margin + Spacing right of it.
// Coordinates handed to DrawItem are the menu window's client ones; the background is in window
// coordinates (the client area lies at the window's frame width inside it).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/win/WinDefs.h"
#include "skin/sSkinManager.h"
#include "toolkit/TAlignment.h"
#include "toolkit/TComponent.h"
#include "toolkit/TGraphicsObject.h"
#include "toolkit/TMenu.h"

namespace toolkit {
class TBitmap;
class TCanvas;
} // namespace toolkit

namespace skinned {

// From now on every skin manager made gets its menu painter.
void UseSkinnedMenus();

enum class TacMenuItemKind { Title = 0, Separator = 1, Normal = 2 };
// A caption "-" is a separator; one that begins and ends with "-" (and is longer) a title.
TacMenuItemKind MenuItemKind(const toolkit::TMenuItem& item);

// Called after an item has been drawn, with the item's own bitmap canvas (item coordinates).
using TacMenuDrawItemEvent =
    std::function<void(toolkit::TMenuItem& item, toolkit::TCanvas& canvas, TacMenuItemKind kind,
                       toolkit::TOwnerDrawState state)>;

inline constexpr double kDisabledItemOpacity = 0.4;
inline constexpr std::int32_t kSeparatorHeight = 2;
inline constexpr std::int32_t kBreakStrip = 4;
// The etched separator of a skin without divider or track-bar channel.
inline constexpr platform::Color kEtchDark = 8421504;
inline constexpr platform::Color kEtchLight = 0xFFFFFF;

class TsSkinableMenus : public toolkit::TComponent, public skin::TacSkinnedMenus {
public:
    explicit TsSkinableMenus(skin::TsSkinManager& manager);
    ~TsSkinableMenus() override;

    std::string ClassName() const override { return "TsSkinableMenus"; }

    // The manager's painter, made and plugged in when it has none of ours.
    static TsSkinableMenus& Of(skin::TsSkinManager& manager);

    // Published properties.
    toolkit::TAlignment Alignment = toolkit::taLeftJustify;
    std::int32_t BevelWidth = 0;
    std::int32_t BorderWidth = 3; // the menu window's border
    toolkit::TFont CaptionFont;   // of title items
    std::int32_t SkinBorderWidth = -1;
    std::int32_t Margin = 3;
    std::int32_t Spacing = 6;
    TacMenuDrawItemEvent OnDrawItem;

    skin::TsSkinManager& Manager() const { return *m_manager; }

    // Every popup menu of every form, or one menu with its sub-items.
    void InitMenuItems(bool skinned) override;
    void InitMenuItems(bool skinned, toolkit::TMenu& menu);
    void ResetBorderWidth() override;
    void WndProc(toolkit::TMessage&) override {}

    // Whether items are drawn from the skin now (active skin, SkinnedPopups on).
    bool Skinning() const;
    // SkinBorderWidth when set, else MAINMENU's border width (3 when it says 0 or less), 0 when
    // the section has no border.
    std::int32_t CalcBorderWidth();
    platform::Size GlyphSize(const toolkit::TMenuItem& item) const;
    std::int32_t IconColumnWidth(const toolkit::TMenuItem& item) const;
    // MenuSupport's ExtraLineWidth while UseExtraLine is on and the manager's
    // OnGetMenuExtraLineData (asked with the menu's first item) leaves the line visible; else 0.
    std::int32_t ExtraLineWidth(const toolkit::TMenuItem& item) const;

    void MeasureItem(toolkit::TMenuItem& item, toolkit::TCanvas& canvas, int& width, int& height);
    // rect: client coordinates of the menu window the canvas paints (TMenuItem::PaintingWindow
    // when there is one; without it, a window laid out by MenuWindowSize at BorderWidth).
    void DrawItem(toolkit::TMenuItem& item, toolkit::TCanvas& canvas, const platform::Rect& rect,
                  toolkit::TOwnerDrawState state);
    // The window a menu of parent's visible items gets, by the measures above.
    platform::Size MenuWindowSize(const toolkit::TMenuItem& parent);

    // The background of the open menu (none before a menu is drawn or after it was dropped) and
    // the item it was built for.
    const toolkit::TBitmap* Background() const { return m_background.get(); }
    const toolkit::TMenuItem* BackgroundItem() const { return m_backgroundItem; }
    void ForgetBackground();
    // Paints the menu window's frame (everything outside its client area) from the background,
    // or from the MAINMENU section when there is no background of the window's size.
    void PaintWindowBorder(platform::HWND window);

protected:
    void Notification(toolkit::TComponent* component, toolkit::TOperation operation) override;

private:
    struct WindowLayout {
        platform::Size size;     // the whole window
        platform::Point client;  // the client area's origin in the window
        platform::HWND window{}; // none when laid out without a window
    };
    WindowLayout LayoutFor(const toolkit::TMenuItem& item);
    struct ExtraLine {
        std::int32_t width = 0;
        std::string section = "EXTRALINE";
    };
    ExtraLine ExtraLineOf(const toolkit::TMenuItem* item) const;
    toolkit::TBitmap& PrepareBackground(const toolkit::TMenuItem* firstItem, platform::Size size,
                                        const toolkit::TMenuItem& sample);
    std::unique_ptr<toolkit::TBitmap> PaintBackground(platform::Size size,
                                                      const toolkit::TMenuItem* sample);
    void PaintFrameFrom(platform::HWND window, toolkit::TBitmap& picture);
    void HandOverDropDownButton(toolkit::TMenuItem& item);
    void PaintSeparator(toolkit::TBitmap& bmp, std::int32_t iconColumn);
    void PaintTitle(toolkit::TMenuItem& item, toolkit::TBitmap& bmp, std::int32_t iconColumn);
    void PaintGlyph(toolkit::TMenuItem& item, toolkit::TBitmap& bmp, bool enabled);
    void PaintNormal(toolkit::TMenuItem& item, toolkit::TBitmap& bmp, std::int32_t iconColumn,
                     toolkit::TOwnerDrawState state);
    void SetMenuFont(toolkit::TCanvas& canvas, const toolkit::TMenuItem& item) const;
    // onlyNew: only items without measuring or drawing handlers of their own.
    void Take(toolkit::TMenuItem& parent, bool onlyNew = false);
    static void GiveBack(toolkit::TMenuItem& parent);

    skin::TsSkinManager* m_manager;
    std::int32_t m_borderWidth = -1; // from the current skin; -1: not taken yet
    std::unique_ptr<toolkit::TBitmap> m_background;
    const toolkit::TMenuItem* m_backgroundItem = nullptr;
    struct TakenMenu {
        toolkit::TMenu* menu;
        bool ownerDraw; // as it was before
    };
    std::vector<TakenMenu> m_menus;
    // What the items' handlers reach the painter through: cleared when it goes.
    std::shared_ptr<TsSkinableMenus*> m_self;
};

} // namespace skinned
