// The toolkit's own look of owner-drawn menu items: the platform menu's classic layout, with the
// image column widened to fit the menu's images.
#include <algorithm>
#include <string>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/SystemMetrics.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TImageList.h"
#include "toolkit/TMenu.h"

namespace toolkit {
namespace {

constexpr int kCheckColumn = 17; // as wide as the platform's, so both looks line up
constexpr int kArrowColumn = 17;
constexpr int kImageMargin = 3;
constexpr int kTextGap = 3;
constexpr int kSeparatorHeight = 9;
constexpr int kShortcutGap = 12; // between the caption and its shortcut, as the platform's look

int GutterWidth(const TImageList* images) {
    return images ? std::max(kCheckColumn, images->Width() + 2 * kImageMargin) : kCheckColumn;
}

bool HasImage(const TMenuItem& item, const TImageList* images) {
    return images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count();
}

bool HasSubItems(const TMenuItem& item) {
    for (int k = 0; k < item.Count(); ++k)
        if (item.Items(k)->Visible())
            return true;
    return false;
}

// A caption "Text\tShortcut" split at its tab; no shortcut without one.
struct CaptionParts {
    std::string text;
    std::string shortcut;
};
CaptionParts SplitCaption(const std::string& caption) {
    const std::size_t tab = caption.find('\t');
    if (tab == std::string::npos)
        return {caption, {}};
    return {caption.substr(0, tab), caption.substr(tab + 1)};
}

int SingleLineWidth(TCanvas& canvas, const std::string& text, unsigned format) {
    return platform::LayoutText(*canvas.Font().Handle(), text, platform::Rect{0, 0, 10000, 100},
                                platform::DT_SINGLELINE | format)
        .width;
}

void SelectItemFont(TCanvas& canvas, const TMenuItem& item) {
    canvas.Font().SetStyle(item.Default() ? TFontStyles{TFontStyle::fsBold} : TFontStyles{});
}

} // namespace

void TMenuItem::MeasureDefault(TCanvas& canvas, int& width, int& height) {
    if (IsLine()) {
        width = 0;
        height = kSeparatorHeight;
        return;
    }
    const TImageList* images = GetImageList();
    SelectItemFont(canvas, *this);
    // Laid out as it is drawn, so "&" prefixes take no room.
    const CaptionParts parts = SplitCaption(m_caption);
    int textWidth = SingleLineWidth(canvas, parts.text, 0);
    if (!parts.shortcut.empty())
        textWidth += kShortcutGap + SingleLineWidth(canvas, parts.shortcut, platform::DT_NOPREFIX);
    width = GutterWidth(images) + kTextGap + textWidth + kArrowColumn;
    height =
        std::max(platform::GetSystemMetrics(platform::SM_CYMENU) - 1, canvas.TextHeight("W") + 4);
    if (images)
        height = std::max(height, images->Height() + 4);
}

void TMenuItem::DrawDefault(TCanvas& canvas, const platform::Rect& rect, TOwnerDrawState state) {
    using namespace platform;
    const bool selected = HasState(state, odSelected);
    const bool enabled = !HasState(state, odDisabled) && !HasState(state, odGrayed);
    const bool checked = HasState(state, odChecked);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(selected && !IsLine() ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (IsLine()) {
        const int y = rect.top + rect.Height() / 2 - 1;
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FillRect({rect.left + 1, y, rect.right - 1, y + 1});
        canvas.Brush().SetColor(clBtnHighlight);
        canvas.FillRect({rect.left + 1, y + 1, rect.right - 1, y + 2});
        return;
    }
    TImageList* images = GetImageList();
    const Color ink = ColorToRGB(!enabled ? clGrayText : selected ? clHighlightText : clMenuText);
    const Rect gutter{rect.left, rect.top, rect.left + GutterWidth(images), rect.bottom};
    if (HasImage(*this, images)) {
        const int x = gutter.left + (gutter.Width() - images->Width()) / 2;
        const int y = gutter.top + (gutter.Height() - images->Height()) / 2;
        if (checked) {
            // A checked item with an image shows the image in a sunken box.
            const Rect box{x - 2, y - 2, x + images->Width() + 2, y + images->Height() + 2};
            canvas.Brush().SetColor(clMenu);
            canvas.FillRect(box);
            canvas.Brush().SetColor(clBtnShadow);
            canvas.FillRect({box.left, box.top, box.right, box.top + 1});
            canvas.FillRect({box.left, box.top, box.left + 1, box.bottom});
            canvas.Brush().SetColor(clBtnHighlight);
            canvas.FillRect({box.left, box.bottom - 1, box.right, box.bottom});
            canvas.FillRect({box.right - 1, box.top, box.right, box.bottom});
        }
        images->Draw(canvas, x, y, m_imageIndex, enabled);
    } else if (checked) {
        const Rect box{gutter.left, gutter.top, gutter.left + kCheckColumn, gutter.bottom};
        if (m_radioItem) {
            canvas.Brush().SetColor(static_cast<TColor>(ink));
            canvas.FillRect(Rect::FromSize(box.left + 6, box.top + box.Height() / 2 - 2, 5, 5));
        } else {
            DrawGlyph(canvas.Handle(), box, FrameGlyph::Check, ink);
        }
    }
    SelectItemFont(canvas, *this);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    const Rect textRect{gutter.right + kTextGap, rect.top, rect.right - kArrowColumn, rect.bottom};
    const CaptionParts parts = SplitCaption(m_caption);
    auto drawText = [&](Color color, int offset) {
        canvas.Font().SetColor(static_cast<TColor>(color));
        Rect r = textRect.Offset(offset, offset);
        canvas.DrawText(parts.text, r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!parts.shortcut.empty()) {
            r = textRect.Offset(offset, offset);
            canvas.DrawText(parts.shortcut, r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        }
    };
    if (!enabled && !selected)
        drawText(ColorToRGB(clBtnHighlight), 1); // the embossed look of disabled items
    drawText(ink, 0);
    if (HasSubItems(*this))
        DrawGlyph(canvas.Handle(), {rect.right - kArrowColumn, rect.top, rect.right, rect.bottom},
                  FrameGlyph::ArrowRight, ink);
}

} // namespace toolkit
