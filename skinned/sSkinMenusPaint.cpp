// Painting the skinned menus: the background of the open menu, the menu window's frame, and
// each kind of item over the background.
#include "skinned/sSkinMenus.h"

#include <algorithm>

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
#include "skinned/sSkinMenusParts.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TImageList.h"

namespace skinned {

using platform::Point;
using platform::Rect;
using platform::Size;
using toolkit::TMenuItem;
using namespace menuparts;

namespace {

constexpr const char* kTitleSection = "TOOLBAR";
constexpr std::int32_t kShortcutGap = 8;
constexpr std::int32_t kArrowColumn = 17;

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

// The item's own bitmap is its glyph (its bottom-left pixel's colour left out, as glyph bitmaps
// expect); only without one does the menu's image list give the picture.
void TsSkinableMenus::PaintGlyph(TMenuItem& item, toolkit::TBitmap& bmp, bool enabled) {
    if (const toolkit::TBitmap* own = item.OwnBitmap()) {
        const std::int32_t offset = (bmp.Height() - own->Height()) / 2;
        const auto glyph = skin::NewBitmap24(own->Width(), own->Height());
        auto& source = const_cast<toolkit::TBitmap&>(*own);
        platform::BitBlt(glyph->DC(), 0, 0, own->Width(), own->Height(), source.DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
        const skin::TacRows24 pixels(*glyph);
        skin::CopyKeyed(skin::TacRows24(bmp), pixels, offset, offset, false, {},
                        pixels.PixelAt(0, own->Height() - 1), {0, 0, own->Width(), own->Height()});
        return;
    }
    toolkit::TImageList* images = item.GetImageList();
    if (!images || item.ImageIndex() < 0 || item.ImageIndex() >= images->Count())
        return;
    const std::int32_t offset = (bmp.Height() - images->Height()) / 2;
    images->Draw(bmp.Canvas(), offset, offset, item.ImageIndex(), enabled);
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
    PaintGlyph(item, bmp, enabled);
    toolkit::TCanvas& canvas = bmp.Canvas();
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
