#include "toolkit/ControlText.h"

#include "platform/gfx/text/TextDraw.h"
#include "platform/gfx/text/Utf8.h"

namespace toolkit {
namespace {

char32_t FoldAscii(char32_t c) {
    return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

} // namespace

platform::Rect MeasureText(const TFont& font, const std::string& text, const platform::Rect& bounds,
                           unsigned format) {
    const platform::TextLayout layout = platform::LayoutText(
        *font.Handle(), text, bounds, format & ~(platform::DT_VCENTER | platform::DT_BOTTOM));
    platform::Rect r = bounds;
    r.right = r.left + layout.width;
    r.bottom = r.top + layout.height;
    return r;
}

void DrawControlText(TCanvas& canvas, const std::string& text, platform::Rect rect, unsigned format,
                     bool enabled) {
    const TBrushStyle brushStyle = canvas.Brush().Style();
    const TColor fontColor = canvas.Font().Color();
    struct Restore {
        TCanvas& canvas;
        TBrushStyle style;
        TColor color;
        ~Restore() {
            canvas.Brush().SetStyle(style);
            canvas.Font().SetColor(color);
        }
    } restore{canvas, brushStyle, fontColor};
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (enabled) {
        canvas.DrawText(text, rect, format);
        return;
    }
    platform::Rect shifted = rect.Offset(1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(text, shifted, format);
    canvas.Font().SetColor(clBtnShadow);
    canvas.DrawText(text, rect, format);
}

bool IsAccel(char32_t ch, const std::string& caption) {
    const std::u32string text = platform::Utf8ToUtf32(caption);
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != U'&')
            continue;
        if (text[i + 1] == U'&') {
            ++i;
            continue;
        }
        return FoldAscii(text[i + 1]) == FoldAscii(ch);
    }
    return false;
}

} // namespace toolkit
