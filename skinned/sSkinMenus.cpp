#include "skinned/sSkinMenus.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/Window.h"
#include "skinned/sSkinMenusParts.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TForm.h"
#include "toolkit/TImageList.h"
#include "toolkit/TScreen.h"

namespace skinned {

using platform::Point;
using platform::Rect;
using platform::Size;
using toolkit::TMenuItem;
using namespace menuparts;

namespace menuparts {

const TMenuItem* FirstVisible(const TMenuItem& parent) {
    for (int k = 0; k < parent.Count(); ++k)
        if (parent.Items(k)->Visible())
            return parent.Items(k);
    return nullptr;
}

std::int32_t ColumnOf(const TMenuItem& item) {
    const TMenuItem* parent = item.Parent();
    if (!parent)
        return 0;
    std::int32_t column = 0;
    bool first = true;
    for (int k = 0; k < parent->Count(); ++k) {
        const TMenuItem* sibling = parent->Items(k);
        if (!sibling->Visible())
            continue;
        if (!first && sibling->Break() != toolkit::mbNone)
            ++column;
        first = false;
        if (sibling == &item)
            break;
    }
    return column;
}

} // namespace menuparts

namespace {

// The menu window's width beyond its widest item, as the system lays popup menus out.
constexpr std::int32_t kMenuExtraWidth = 12;

// One line laid out as it is drawn, so "&" prefixes take no room; a tab reaches the next tab
// stop, so a caption with its shortcut is measured as the two apart.
std::int32_t TextWidth(toolkit::TCanvas& canvas, const std::string& text) {
    return platform::LayoutText(*canvas.Font().Handle(), text, Rect{0, 0, 100000, 100},
                                platform::DT_SINGLELINE | platform::DT_EXPANDTABS)
        .width;
}

} // namespace

void UseSkinnedMenus() {
    skin::SetSkinnedMenusMaker([](skin::TsSkinManager& manager) { TsSkinableMenus::Of(manager); });
}

TacMenuItemKind MenuItemKind(const TMenuItem& item) {
    const std::string& c = item.Caption();
    if (c == "-")
        return TacMenuItemKind::Separator;
    if (c.size() > 1 && c.front() == '-' && c.back() == '-')
        return TacMenuItemKind::Title;
    return TacMenuItemKind::Normal;
}

TsSkinableMenus::TsSkinableMenus(skin::TsSkinManager& manager)
    : toolkit::TComponent(&manager), m_manager(&manager),
      m_self(std::make_shared<TsSkinableMenus*>(this)) {
    CaptionFont.SetStyle({toolkit::TFontStyle::fsBold});
    manager.SetSkinnedMenus(this);
}

TsSkinableMenus::~TsSkinableMenus() {
    *m_self = nullptr;
    for (const TakenMenu& taken : m_menus) {
        taken.menu->RemoveFreeNotification(this);
        taken.menu->SetOwnerDraw(taken.ownerDraw);
        GiveBack(*taken.menu->Items());
    }
    if (m_backgroundItem)
        const_cast<TMenuItem*>(m_backgroundItem)->RemoveFreeNotification(this);
    // A manager on its way out has left its own part already; it needs no telling.
    if (!m_manager->IsDestroying() && m_manager->SkinnedMenus() == this)
        m_manager->SetSkinnedMenus(nullptr);
}

TsSkinableMenus& TsSkinableMenus::Of(skin::TsSkinManager& manager) {
    if (auto* ours = dynamic_cast<TsSkinableMenus*>(manager.SkinnedMenus()))
        return *ours;
    return *new TsSkinableMenus(manager);
}

void TsSkinableMenus::Notification(toolkit::TComponent* component, toolkit::TOperation operation) {
    toolkit::TComponent::Notification(component, operation);
    if (operation != toolkit::TOperation::opRemove)
        return;
    if (component == m_backgroundItem)
        ForgetBackground();
    std::erase_if(m_menus, [component](const TakenMenu& t) { return t.menu == component; });
}

void TsSkinableMenus::InitMenuItems(bool skinned) {
    for (toolkit::TCustomForm* form : toolkit::Screen().FormList())
        for (int k = 0; k < form->ComponentCount(); ++k)
            if (auto* menu = dynamic_cast<toolkit::TPopupMenu*>(form->Components(k)))
                InitMenuItems(skinned, *menu);
}

void TsSkinableMenus::InitMenuItems(bool skinned, toolkit::TMenu& menu) {
    const auto it = std::find_if(m_menus.begin(), m_menus.end(),
                                 [&menu](const TakenMenu& t) { return t.menu == &menu; });
    if (skinned) {
        if (it == m_menus.end()) {
            m_menus.push_back({&menu, menu.OwnerDraw()});
            menu.FreeNotification(this);
        }
        menu.SetOwnerDraw(true);
        Take(*menu.Items());
        return;
    }
    if (it != m_menus.end()) {
        menu.SetOwnerDraw(it->ownerDraw);
        menu.RemoveFreeNotification(this);
        m_menus.erase(it);
    }
    GiveBack(*menu.Items());
}

void TsSkinableMenus::Take(TMenuItem& parent, bool onlyNew) {
    for (int k = 0; k < parent.Count(); ++k) {
        TMenuItem& item = *parent.Items(k);
        if (onlyNew && (item.OnMeasureItem || item.OnAdvancedDrawItem || item.OnDrawItem))
            continue;
        const std::weak_ptr<TsSkinableMenus*> self = m_self;
        item.OnMeasureItem = [self](toolkit::TObject* sender, toolkit::TCanvas& canvas, int& width,
                                    int& height) {
            auto* menuItem = static_cast<TMenuItem*>(sender);
            const auto painter = self.lock();
            if (painter && *painter && (*painter)->Skinning()) {
                // Items put into the menu since it was handed over (a menu rebuilt as it
                // opens) come along before they are measured.
                if (menuItem->Parent())
                    (*painter)->Take(*menuItem->Parent(), true);
                (*painter)->MeasureItem(*menuItem, canvas, width, height);
            } else {
                menuItem->MeasureDefault(canvas, width, height);
            }
        };
        item.OnAdvancedDrawItem = [self](toolkit::TObject* sender, toolkit::TCanvas& canvas,
                                         Rect rect, toolkit::TOwnerDrawState state) {
            auto* menuItem = static_cast<TMenuItem*>(sender);
            const auto painter = self.lock();
            if (painter && *painter && (*painter)->Skinning())
                (*painter)->DrawItem(*menuItem, canvas, rect, state);
            else
                menuItem->DrawDefault(canvas, rect, state);
        };
        Take(item, onlyNew);
    }
}

void TsSkinableMenus::GiveBack(TMenuItem& parent) {
    for (int k = 0; k < parent.Count(); ++k) {
        TMenuItem& item = *parent.Items(k);
        item.OnMeasureItem = nullptr;
        item.OnAdvancedDrawItem = nullptr;
        GiveBack(item);
    }
}

// A skin without a menu item section has nothing to draw menus from: they keep the plain look
// rather than turn black and unreadable (the system menu is the way to another skin).
bool TsSkinableMenus::Skinning() const {
    return m_manager->Active() && m_manager->SkinData().Active && m_manager->SkinnedPopups() &&
           m_manager->FindSectionIndex(kItemSection) >= 0;
}

void TsSkinableMenus::ResetBorderWidth() {
    m_borderWidth = -1;
    // The picture was made of the previous skin.
    ForgetBackground();
}

void TsSkinableMenus::ForgetBackground() {
    if (m_backgroundItem)
        const_cast<TMenuItem*>(m_backgroundItem)->RemoveFreeNotification(this);
    m_backgroundItem = nullptr;
    m_background.reset();
}

std::int32_t TsSkinableMenus::CalcBorderWidth() {
    if (SkinBorderWidth >= 0)
        return SkinBorderWidth;
    if (m_borderWidth < 0) {
        const std::int32_t section = m_manager->FindSectionIndex(kMenuSection);
        const std::int32_t border =
            section < 0 ? -1 : m_manager->FindPieceIndex(section, kMenuSection, "BORDERSMASK");
        if (!m_manager->IsValidImgIndex(border))
            m_borderWidth = 0;
        else {
            const std::int32_t w = m_manager->GetMaskWidthLeft(border);
            m_borderWidth = w > 0 ? w : 3;
        }
    }
    return m_borderWidth;
}

Size TsSkinableMenus::GlyphSize(const TMenuItem& item) const {
    if (const toolkit::TBitmap* own = item.OwnBitmap())
        return {own->Width(), own->Height()};
    if (const toolkit::TImageList* images = item.GetImageList())
        return {images->Width(), images->Height()};
    return {kDefaultGlyph, kDefaultGlyph};
}

std::int32_t TsSkinableMenus::IconColumnWidth(const TMenuItem& item) const {
    return Margin + GlyphSize(item).cx + Spacing;
}

TsSkinableMenus::ExtraLine TsSkinableMenus::ExtraLineOf(const TMenuItem* item) const {
    ExtraLine line;
    const skin::TacMenuSupport& support = m_manager->MenuSupport();
    if (!support.UseExtraLine)
        return line;
    line.width = std::max(0, support.ExtraLineWidth);
    // The application may switch the line off, or paint it from another section, per menu.
    const TMenuItem* first = item && item->Parent() ? FirstVisible(*item->Parent()) : item;
    if (first && m_manager->OnGetMenuExtraLineData) {
        std::string caption;
        toolkit::TBitmap glyph;
        bool visible = true;
        m_manager->OnGetMenuExtraLineData(const_cast<TMenuItem&>(*first), line.section, caption,
                                          glyph, visible);
        if (!visible)
            line.width = 0;
    }
    return line;
}

std::int32_t TsSkinableMenus::ExtraLineWidth(const TMenuItem& item) const {
    return ExtraLineOf(&item).width;
}

void TsSkinableMenus::SetMenuFont(toolkit::TCanvas& canvas, const TMenuItem& item) const {
    // The screen's menu font, in the charset of the form the menu belongs to.
    toolkit::TFont& font = canvas.Font();
    const toolkit::TFont menuFont;
    font.Assign(&menuFont);
    if (const toolkit::TMenu* menu = item.GetParentMenu())
        if (const auto* form = dynamic_cast<const toolkit::TCustomForm*>(menu->Owner()))
            font.SetCharset(form->Font().Charset());
    font.SetStyle(item.Default() ? toolkit::TFontStyles{toolkit::TFontStyle::fsBold}
                                 : toolkit::TFontStyles{});
}

void TsSkinableMenus::MeasureItem(TMenuItem& item, toolkit::TCanvas& canvas, int& width,
                                  int& height) {
    const TacMenuItemKind kind = MenuItemKind(item);
    if (kind == TacMenuItemKind::Separator) {
        width = 0;
        height = kSeparatorHeight;
        return;
    }
    SetMenuFont(canvas, item);
    const Size glyph = GlyphSize(item);
    const std::int32_t text = static_cast<std::int32_t>(std::lround(canvas.TextHeight("W") * 1.25));
    std::int32_t textWidth = 0;
    if (kind == TacMenuItemKind::Title) {
        height = text + 2 * Margin;
        textWidth = TextWidth(canvas, "-" + item.Caption() + "-");
    } else {
        height = std::max(text, glyph.cy) + 2 * Margin;
        textWidth = TextWidth(canvas, item.Caption());
    }
    width = 2 * glyph.cx + textWidth + 3 * Margin + Spacing;
    // The extra line runs down the first column; later ones begin with a strip that parts them.
    width += ColumnOf(item) == 0 ? ExtraLineWidth(item) : kBreakStrip;
}

Size TsSkinableMenus::MenuWindowSize(const TMenuItem& parent) {
    // Columns side by side (the strip between them is in their items' widths), as high as the
    // tallest.
    toolkit::TCanvas canvas;
    std::int32_t width = 0, height = 0, columnWidth = 0, columnHeight = 0;
    bool first = true;
    for (int k = 0; k < parent.Count(); ++k) {
        TMenuItem& item = *parent.Items(k);
        if (!item.Visible())
            continue;
        if (!first && item.Break() != toolkit::mbNone) {
            width += columnWidth;
            columnWidth = columnHeight = 0;
        }
        first = false;
        int w = 0, h = 0;
        MeasureItem(item, canvas, w, h);
        columnWidth = std::max(columnWidth, w);
        columnHeight += h;
        height = std::max(height, columnHeight);
    }
    width += columnWidth;
    return {width + kMenuExtraWidth + 2 * BorderWidth, height + 2 * BorderWidth};
}

TsSkinableMenus::WindowLayout TsSkinableMenus::LayoutFor(const TMenuItem& item) {
    WindowLayout layout;
    const platform::HWND window = TMenuItem::PaintingWindow();
    Rect wr, cr;
    Point origin{0, 0};
    if (window && platform::GetWindowRect(window, wr) && platform::GetClientRect(window, cr) &&
        platform::ClientToScreen(window, origin)) {
        layout.window = window;
        layout.size = {wr.Width(), wr.Height()};
        layout.client = {origin.x - wr.left, origin.y - wr.top};
        return layout;
    }
    layout.size = item.Parent() ? MenuWindowSize(*item.Parent()) : Size{0, 0};
    layout.client = {BorderWidth, BorderWidth};
    return layout;
}

} // namespace skinned
