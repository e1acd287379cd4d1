// The plain look of popup menu items: measuring and laying them out in columns, and painting
// one in the classic colours, with its check mark, shortcut text and submenu arrow.

#include "platform/win/MenuLook.h"

#include <algorithm>
#include <memory>
#include <string>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuTable.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"

namespace platform::detail {

namespace {

constexpr int kCheckColumn = 17;
constexpr int kArrowColumn = 17;
constexpr int kSeparatorHeight = 9;

std::shared_ptr<Font> MenuFont() {
    return DefaultGuiFont();
}

// The default item (MF_DEFAULT) is drawn in bold.
std::shared_ptr<Font> ItemFont(const MenuItemData& i) {
    if (!(i.flags & MF_DEFAULT))
        return MenuFont();
    static std::shared_ptr<Font> bold = [] {
        LOGFONT lf;
        lf.lfHeight = -11;
        lf.lfWeight = FW_BOLD;
        return CreateFontIndirect(lf);
    }();
    return bold;
}

} // namespace

Size MeasureMenu(HWND owner, MenuLevel& level) {
    MenuData* m = FindMenu(level.menu);
    level.items.clear();
    if (!m)
        return {};
    auto font = MenuFont();
    std::vector<Size> sizes;
    int textWidth = 0, shortcutWidth = 0;
    for (const MenuItemData& i : m->items) {
        Size sz;
        if (i.flags & MF_OWNERDRAW) {
            MEASUREITEMSTRUCT mis;
            mis.itemID = static_cast<UINT>(i.id);
            mis.itemData = i.itemData;
            mis.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
            SendMessage(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
            sz = {static_cast<int>(mis.itemWidth), static_cast<int>(mis.itemHeight)};
        } else if (i.flags & MF_SEPARATOR) {
            sz = {0, kSeparatorHeight};
        } else {
            const std::size_t tab = i.text.find('\t');
            const TextLayout main = LayoutText(*ItemFont(i), i.text.substr(0, tab),
                                               Rect{0, 0, 10000, 100}, DT_SINGLELINE);
            textWidth = std::max(textWidth, main.width);
            if (tab != std::string::npos)
                shortcutWidth = std::max(shortcutWidth, LayoutText(*font, i.text.substr(tab + 1),
                                                                   Rect{0, 0, 10000, 100},
                                                                   DT_SINGLELINE | DT_NOPREFIX)
                                                            .width);
            sz = {0, std::max(GetSystemMetrics(SM_CYMENU) - 1, font->Metrics().tmHeight + 4)};
        }
        sizes.push_back(sz);
    }
    const int plainWidth =
        kCheckColumn + textWidth + (shortcutWidth ? 12 + shortcutWidth : 0) + kArrowColumn;
    int x = 0, y = 0, columnWidth = 0, height = 0;
    std::size_t columnStart = 0;
    auto closeColumn = [&](std::size_t end) {
        for (std::size_t k = columnStart; k < end; ++k) {
            level.items[k].left = x;
            level.items[k].right = x + columnWidth;
        }
        x += columnWidth;
    };
    for (std::size_t k = 0; k < m->items.size(); ++k) {
        const MenuItemData& i = m->items[k];
        if (k > 0 && (i.flags & (MF_MENUBREAK | MF_MENUBARBREAK))) {
            closeColumn(k);
            columnStart = k;
            columnWidth = 0;
            y = 0;
        }
        const int w = (i.flags & MF_OWNERDRAW) ? sizes[k].cx : plainWidth;
        columnWidth = std::max(columnWidth, w);
        level.items.push_back({0, y, 0, y + sizes[k].cy});
        y += sizes[k].cy;
        height = std::max(height, y);
    }
    closeColumn(m->items.size());
    return {x, height};
}

void PaintMenuItem(DeviceContext& dc, HWND wnd, const MenuLevel& level, std::size_t k, HWND owner) {
    MenuData* m = FindMenu(level.menu);
    const MenuItemData& i = m->items[k];
    const Rect r = level.items[k];
    const bool selected = static_cast<int>(k) == level.selected;
    if (i.flags & MF_OWNERDRAW) {
        DRAWITEMSTRUCT dis;
        dis.itemID = static_cast<UINT>(i.id);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (selected ? ODS_SELECTED : 0) | ((i.flags & MF_GRAYED) ? ODS_GRAYED : 0) |
                        ((i.flags & MF_DISABLED) ? ODS_DISABLED : 0) |
                        ((i.flags & MF_CHECKED) ? ODS_CHECKED : 0);
        dis.hwndItem = wnd;
        dis.hDC = &dc;
        dis.rcItem = r;
        dis.itemData = i.itemData;
        dis.menu = level.menu;
        DcStateGuard guard(dc);
        SendMessage(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    const bool hot = selected && Selectable(i);
    FillRect(dc, r, GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (i.flags & MF_SEPARATOR) {
        const int y = r.top + r.Height() / 2 - 1;
        FillRect(dc, {r.left + 1, y, r.right - 1, y + 1}, GetSysColor(COLOR_BTNSHADOW));
        FillRect(dc, {r.left + 1, y + 1, r.right - 1, y + 2}, GetSysColor(COLOR_BTNHIGHLIGHT));
        return;
    }
    DcStateGuard guard(dc);
    SelectFont(dc, ItemFont(i));
    SetBkMode(dc, BkMode::Transparent);
    const bool enabled = Enabled(i);
    const Color ink = !enabled ? GetSysColor(COLOR_GRAYTEXT)
                      : hot    ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                               : GetSysColor(COLOR_MENUTEXT);
    const std::size_t tab = i.text.find('\t');
    Rect textRect{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
    auto draw = [&](Color c, int dx) {
        SetTextColor(dc, c);
        Rect tr = textRect.Offset(dx, dx);
        DrawText(dc, i.text.substr(0, tab), tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (tab != std::string::npos) {
            Rect sr = tr;
            DrawText(dc, i.text.substr(tab + 1), sr,
                     DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        }
    };
    if (!enabled && !hot)
        draw(GetSysColor(COLOR_BTNHIGHLIGHT), 1); // the embossed look of disabled items
    draw(ink, 0);
    if (i.flags & MF_CHECKED) {
        const Rect box{r.left, r.top, r.left + kCheckColumn, r.bottom};
        if (i.flags & MF_RADIOCHECK)
            FillRect(dc, Rect::FromSize(box.left + 6, box.top + box.Height() / 2 - 2, 5, 5), ink);
        else
            DrawGlyph(dc, box, FrameGlyph::Check, ink);
    }
    if (i.flags & MF_POPUP)
        DrawGlyph(dc, {r.right - kArrowColumn, r.top, r.right, r.bottom}, FrameGlyph::ArrowRight,
                  ink);
}

} // namespace platform::detail
