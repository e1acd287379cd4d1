#include "skinned/sSkinMenus.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/acFast24.h"
#include "skin/sCommonData.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skinned/TsSpeedButton.h"
#include "toolkit/ControlMessages.h"
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

namespace {

constexpr const char* kMenuSection = "MAINMENU";
constexpr const char* kItemSection = "MENUITEM";
constexpr const char* kTitleSection = "TOOLBAR";
constexpr std::int32_t kDefaultGlyph = 16;
constexpr std::int32_t kShortcutGap = 8;
constexpr std::int32_t kArrowColumn = 17;
// The menu window's width beyond its widest item, as the system lays popup menus out.
constexpr std::int32_t kMenuExtraWidth = 12;

const TMenuItem* FirstVisible(const TMenuItem& parent) {
    for (int k = 0; k < parent.Count(); ++k)
        if (parent.Items(k)->Visible())
            return parent.Items(k);
    return nullptr;
}

// Which column of its menu an item stands in: every visible item after the first that breaks
// starts the next one.
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

// Whether no visible item follows the item in its column.
bool LastInColumn(const TMenuItem& item) {
    const TMenuItem* parent = item.Parent();
    if (!parent)
        return true;
    for (int k = item.MenuIndex() + 1; k < parent->Count(); ++k)
        if (const TMenuItem* next = parent->Items(k); next->Visible())
            return next->Break() != toolkit::mbNone;
    return true;
}

// The text between a title's dashes, up to its first blank.
std::string TitleText(const std::string& caption) {
    std::string inner = caption.size() >= 2 ? caption.substr(1, caption.size() - 2) : caption;
    const std::size_t blank = inner.find(' ');
    return blank == std::string::npos ? inner : inner.substr(0, blank);
}

std::int32_t TextWidth(toolkit::TCanvas& canvas, const std::string& text) {
    // Laid out as it is drawn, so "&" prefixes take no room.
    return platform::LayoutText(*canvas.Font().Handle(), text, Rect{0, 0, 100000, 100},
                                platform::DT_SINGLELINE)
        .width;
}

skin::TsSectionPaint SectionPaint(skin::TsSkinManager& manager, const std::string& section,
                                  toolkit::TBitmap* parent, std::int32_t state) {
    skin::TsSectionPaint paint;
    paint.SectionIndex = manager.FindSectionIndex(section);
    paint.SectionName = section;
    paint.Manager = &manager;
    paint.Parent = {parent, 0, 0, parent != nullptr};
    paint.State = state;
    return paint;
}

} // namespace

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
        // A shortcut after a tab stands apart from the caption, right-aligned.
        const std::string& caption = item.Caption();
        const std::size_t tab = caption.find('\t');
        textWidth = TextWidth(canvas, caption.substr(0, tab));
        if (tab != std::string::npos)
            textWidth += 2 * kShortcutGap + TextWidth(canvas, caption.substr(tab + 1));
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

std::unique_ptr<toolkit::TBitmap> TsSkinableMenus::PaintBackground(Size size,
                                                                   const TMenuItem* sample) {
    auto bmp = skin::NewBitmap24(size.cx, size.cy);
    if (size.cx <= 0 || size.cy <= 0)
        return bmp;
    const Rect whole{0, 0, size.cx, size.cy};
    skin::PaintSection(SectionPaint(*m_manager, kMenuSection, nullptr, 0), *bmp, whole);
    const std::int32_t border = CalcBorderWidth();
    const ExtraLine line = ExtraLineOf(sample);
    const std::int32_t extra = line.width;
    // The columns show what lies under them: each is painted over a copy of the picture so far.
    auto paintColumn = [&](const std::string& section, const Rect& column) {
        if (column.IsEmpty() || m_manager->FindSectionIndex(section) < 0)
            return;
        auto under = skin::NewBitmap24(size.cx, size.cy);
        skin::CopyBlock24(skin::TacRows24(*under), 0, 0, skin::TacRows24(*bmp), whole);
        skin::TsSectionPaint paint = SectionPaint(*m_manager, section, under.get(), 0);
        skin::PaintSectionBackground(paint, *bmp, column);
    };
    if (extra > 0)
        paintColumn(line.section, {border, border, border + extra, size.cy - border});
    const std::int32_t icons = sample ? IconColumnWidth(*sample) : Margin + kDefaultGlyph + Spacing;
    paintColumn(m_manager->MenuSupport().IcoLineSkin,
                {border + extra, border, border + extra + icons, size.cy - border});
    return bmp;
}

toolkit::TBitmap& TsSkinableMenus::PrepareBackground(const TMenuItem* firstItem, Size size,
                                                     const TMenuItem& sample) {
    if (!m_background || m_backgroundItem != firstItem || m_background->Width() != size.cx ||
        m_background->Height() != size.cy) {
        ForgetBackground();
        m_background = PaintBackground(size, &sample);
        m_backgroundItem = firstItem;
        if (firstItem)
            const_cast<TMenuItem*>(firstItem)->FreeNotification(this);
    }
    return *m_background;
}

void TsSkinableMenus::PaintFrameFrom(platform::HWND window, toolkit::TBitmap& picture) {
    Rect wr, cr;
    Point origin{0, 0};
    if (!platform::GetWindowRect(window, wr) || !platform::GetClientRect(window, cr) ||
        !platform::ClientToScreen(window, origin))
        return;
    const Rect client = cr.Offset(origin.x - wr.left, origin.y - wr.top);
    platform::HDC dc = platform::GetWindowDC(window);
    if (!dc)
        return;
    {
        platform::DcStateGuard guard(*dc);
        platform::ExcludeClipRect(*dc, client);
        platform::BitBlt(*dc, 0, 0, std::min(wr.Width(), picture.Width()),
                         std::min(wr.Height(), picture.Height()), picture.DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
    }
    platform::ReleaseDC(window, dc);
}

void TsSkinableMenus::PaintWindowBorder(platform::HWND window) {
    Rect wr;
    if (!Skinning() || !platform::GetWindowRect(window, wr) || wr.IsEmpty())
        return;
    if (m_background && m_background->Width() == wr.Width() &&
        m_background->Height() == wr.Height()) {
        PaintFrameFrom(window, *m_background);
        return;
    }
    const std::unique_ptr<toolkit::TBitmap> face =
        PaintBackground({wr.Width(), wr.Height()}, nullptr);
    PaintFrameFrom(window, *face);
}

void TsSkinableMenus::HandOverDropDownButton(TMenuItem& item) {
    auto* popup = dynamic_cast<toolkit::TPopupMenu*>(item.GetParentMenu());
    if (!popup)
        return;
    // Handing over twice does nothing: the button is no longer hot and its hints are back.
    if (auto* button = dynamic_cast<TsSpeedButton*>(popup->PopupComponent());
        button && button->MenuOpen())
        button->MenuTookOver();
}

void TsSkinableMenus::PaintSeparator(toolkit::TBitmap& bmp, std::int32_t iconColumn) {
    const std::int32_t left = iconColumn + Margin + Spacing;
    const std::int32_t right = bmp.Width() - (2 * Margin + Spacing);
    const std::int32_t height = bmp.Height();
    if (right <= left || height <= 0)
        return;
    const skin::TacRows24 rows(bmp);
    std::int32_t piece = m_manager->FindOwnPieceIndex("DIVIDERV", "BORDERSMASK");
    if (!m_manager->IsValidImgIndex(piece))
        piece = m_manager->FindOwnPieceIndex("TRACKBAR", "SLIDERCHANNEL");
    if (m_manager->IsValidImgIndex(piece)) {
        skin::DrawFramePiece(rows, {left, 0, right, height}, true, 1, 0, m_manager->ma()[piece],
                             {&bmp, 0, 0, true});
        return;
    }
    const std::int32_t y = height / 2 - 1;
    skin::FillRect24(rows, {left, y, right, y + 1}, kEtchDark);
    skin::FillRect24(rows, {left, y + 1, right, y + 2}, kEtchLight);
}

void TsSkinableMenus::PaintTitle(TMenuItem& item, toolkit::TBitmap& bmp, std::int32_t iconColumn) {
    const Rect area{iconColumn, 0, bmp.Width(), bmp.Height()};
    skin::PaintSection(SectionPaint(*m_manager, kTitleSection, &bmp, 0), bmp, area);
    toolkit::TCanvas& canvas = bmp.Canvas();
    canvas.Font().Assign(&CaptionFont);
    Rect r = area;
    skin::DrawContourText(canvas, TitleText(item.Caption()), true, m_manager, false,
                          m_manager->FindSectionIndex(kTitleSection),
                          platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_CENTER, r);
}

void TsSkinableMenus::PaintNormal(TMenuItem& item, toolkit::TBitmap& bmp, std::int32_t iconColumn,
                                  toolkit::TOwnerDrawState state) {
    using toolkit::HasState;
    const bool enabled = item.Enabled() && !HasState(state, toolkit::odDisabled) &&
                         !HasState(state, toolkit::odGrayed);
    const bool hot = enabled && HasState(state, toolkit::odSelected);
    const Rect whole{0, 0, bmp.Width(), bmp.Height()};
    skin::PaintSection(SectionPaint(*m_manager, kItemSection, &bmp, hot ? 1 : 0), bmp, whole);
    const skin::TacRows24 rows(bmp);
    if (item.Checked() || HasState(state, toolkit::odChecked)) {
        const std::int32_t global = m_manager->CachedIndexes().GlobalInfo;
        std::int32_t mark = -1;
        if (item.RadioItem())
            mark = m_manager->FindPieceIndex(global, "GLOBALINFO", "RADIOCHECKED");
        else {
            mark = m_manager->FindPieceIndex(global, "GLOBALINFO", "CHECK");
            if (!m_manager->IsValidImgIndex(mark))
                mark = m_manager->FindPieceIndex(global, "GLOBALINFO", "BOXCHECKED");
        }
        if (global >= 0 && m_manager->IsValidImgIndex(mark)) {
            const Size size = m_manager->GetStateImageSize(mark);
            skin::DrawGlyphPiece(rows, {Margin, (bmp.Height() - size.cy) / 2}, hot ? 1 : 0,
                                 m_manager->ma()[mark], 1);
        }
    }
    toolkit::TCanvas& canvas = bmp.Canvas();
    if (toolkit::TImageList* images = item.GetImageList();
        images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count()) {
        const std::int32_t x = (bmp.Height() - images->Height()) / 2;
        const std::int32_t y = (bmp.Height() - images->Height()) / 2;
        images->Draw(canvas, x, y, item.ImageIndex(), enabled);
    }
    SetMenuFont(canvas, item);
    const std::int32_t section = m_manager->FindSectionIndex(kItemSection);
    const std::int32_t textLeft = iconColumn + Margin + Spacing;
    std::string caption = item.Caption();
    std::string shortcut;
    if (const std::size_t tab = caption.find('\t'); tab != std::string::npos) {
        shortcut = caption.substr(tab + 1);
        caption.resize(tab);
    }
    unsigned format = platform::DT_SINGLELINE | platform::DT_VCENTER;
    if (!caption.empty() && caption.front() == '\b') {
        caption = caption.substr(1) + "      ";
        format |= platform::DT_RIGHT;
    } else {
        format |= toolkit::AlignmentFlags(Alignment);
    }
    Rect textRect{textLeft, 0, bmp.Width() - kShortcutGap, bmp.Height()};
    skin::DrawContourText(canvas, caption, enabled, m_manager, hot, section, format, textRect);
    // A sub-menu's arrow, in the colour the caption was written in.
    bool hasSubMenu = false;
    for (int k = 0; k < item.Count() && !hasSubMenu; ++k)
        hasSubMenu = item.Items(k)->Visible();
    if (hasSubMenu)
        platform::DrawGlyph(bmp.DC(), {bmp.Width() - kArrowColumn, 0, bmp.Width(), bmp.Height()},
                            platform::FrameGlyph::ArrowRight,
                            static_cast<platform::Color>(canvas.Font().Color()));
    if (!shortcut.empty()) {
        Rect r{textLeft, 0, bmp.Width() - kShortcutGap, bmp.Height()};
        skin::DrawContourText(canvas, shortcut, enabled, m_manager, hot, section,
                              platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_RIGHT |
                                  platform::DT_NOPREFIX,
                              r);
    }
}

void TsSkinableMenus::DrawItem(TMenuItem& item, toolkit::TCanvas& canvas, const Rect& rect,
                               toolkit::TOwnerDrawState state) {
    HandOverDropDownButton(item);
    // A sub-menu opens after its item has been drawn: new items in it are taken over now.
    Take(item, true);
    if (rect.IsEmpty())
        return;
    const WindowLayout layout = LayoutFor(item);
    if (layout.size.cx <= 0 || layout.size.cy <= 0) {
        // No window to make a background for (an item drawn outside any menu).
        item.DrawDefault(canvas, rect, state);
        return;
    }
    const TMenuItem* first = item.Parent() ? FirstVisible(*item.Parent()) : &item;
    toolkit::TBitmap& background = PrepareBackground(first, layout.size, item);
    if (layout.window)
        PaintFrameFrom(layout.window, background);

    // The extra line runs down the first column only: its items are drawn beside it. Items of
    // later columns leave the strip that parts the columns to the background.
    const std::int32_t extra = ExtraLineWidth(item);
    const bool firstColumn = ColumnOf(item) == 0;
    Rect itemRect = rect;
    itemRect.left = std::min(rect.right, rect.left + (firstColumn ? extra : kBreakStrip));
    const auto bmp = skin::NewBitmap24(itemRect.Width(), itemRect.Height());
    if (itemRect.IsEmpty() || !bmp)
        return;
    const Rect source = itemRect.Offset(layout.client.x, layout.client.y);
    const skin::TacRows24 rows(*bmp);
    skin::CopyBlock24(rows, 0, 0, skin::TacRows24(background), source);

    // The icon column in item coordinates: in the first column it begins at the skin border, or
    // beside the line; later columns draw theirs with the item.
    const std::int32_t iconColumn =
        firstColumn ? std::max(0, CalcBorderWidth() + extra + IconColumnWidth(item) - source.left)
                    : IconColumnWidth(item);
    const TacMenuItemKind kind = MenuItemKind(item);
    switch (kind) {
    case TacMenuItemKind::Separator:
        PaintSeparator(*bmp, iconColumn);
        break;
    case TacMenuItemKind::Title:
        PaintTitle(item, *bmp, iconColumn);
        break;
    case TacMenuItemKind::Normal:
        PaintNormal(item, *bmp, iconColumn, state);
        break;
    }
    if (OnDrawItem)
        OnDrawItem(item, bmp->Canvas(), kind, state);
    const bool disabled = !item.Enabled() || toolkit::HasState(state, toolkit::odDisabled) ||
                          toolkit::HasState(state, toolkit::odGrayed);
    if (disabled && kind != TacMenuItemKind::Separator)
        skin::FadeCopyKeyed(rows, 0, 0, skin::kKeyColor, kDisabledItemOpacity, source,
                            skin::TacRows24(background));

    platform::DeviceContext& dc = canvas.Handle();
    if (itemRect.left > rect.left)
        platform::BitBlt(dc, rect.left, rect.top, itemRect.left - rect.left, rect.Height(),
                         background.DC(), rect.left + layout.client.x, rect.top + layout.client.y,
                         platform::RasterOp::SrcCopy);
    platform::BitBlt(dc, itemRect.left, itemRect.top, itemRect.Width(), itemRect.Height(),
                     bmp->DC(), 0, 0, platform::RasterOp::SrcCopy);
    // A column shorter than the menu shows the background below its last item.
    const std::int32_t clientBottom = layout.size.cy - 2 * layout.client.y;
    if (LastInColumn(item) && rect.bottom < clientBottom)
        platform::BitBlt(dc, rect.left, rect.bottom, rect.Width(), clientBottom - rect.bottom,
                         background.DC(), rect.left + layout.client.x,
                         rect.bottom + layout.client.y, platform::RasterOp::SrcCopy);
}

} // namespace skinned
