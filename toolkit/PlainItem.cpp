#include "toolkit/PlainItem.h"

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "toolkit/Colors.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TControl.h"

namespace toolkit {

void DrawPlainItem(TCanvas& canvas, const TControl& control, const std::string& text,
                   const platform::Rect& rect, bool selected, bool focusMark) {
    platform::DeviceContext& dc = canvas.Handle();
    platform::DcStateGuard guard(dc);
    if (selected)
        platform::FillRect(dc, rect, ColorToRGB(clHighlight));
    platform::SelectFont(dc, control.Font().Handle());
    platform::SetBkMode(dc, platform::BkMode::Transparent);
    platform::SetTextColor(dc, ColorToRGB(!control.Enabled() ? clGrayText
                                          : selected         ? clHighlightText
                                                             : control.Font().Color()));
    platform::Rect inside = rect;
    inside.left += 2;
    platform::DrawText(dc, text, inside,
                       platform::DT_SINGLELINE | platform::DT_NOPREFIX | platform::DT_VCENTER);
    if (focusMark)
        platform::DrawFocusRect(dc, rect);
}

} // namespace toolkit
