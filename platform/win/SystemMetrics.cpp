#include "platform/win/SystemMetrics.h"

#include <array>
#include <cstddef>

#include "platform/win/WindowState.h"

namespace platform {

int GetSystemMetrics(int index) {
    auto screen = [] { return detail::State::Get().backend->ScreenRect(); };
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return screen().Width();
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return screen().Height();
    case SM_CXFULLSCREEN:
        return GetWorkArea().Width();
    case SM_CYFULLSCREEN:
        return GetWorkArea().Height() - 19;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYCAPTION:
    case SM_CYMENU:
    case SM_CYMENUSIZE:
        return 19;
    case SM_CXMENUSIZE:
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
        return 12;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXMIN:
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK:
        return 27;
    case SM_CXMAXTRACK:
        return screen().Width() + 12;
    case SM_CYMAXTRACK:
        return screen().Height() + 12;
    case SM_CXMAXIMIZED:
        return GetWorkArea().Width() + 8;
    case SM_CYMAXIMIZED:
        return GetWorkArea().Height() + 8;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
        return 13;
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS:
        return 1;
    case SM_SWAPBUTTON:
    default:
        return 0;
    }
}

Color GetSysColor(int index) {
    // The classic grey scheme, by colour index. Every layer that resolves a system colour asks
    // here, so the program has one scheme.
    static constexpr std::array<Color, 31> kSystemColors = {
        RGB(212, 208, 200), // COLOR_SCROLLBAR
        RGB(58, 110, 165),  // COLOR_BACKGROUND
        RGB(10, 36, 106),   // COLOR_ACTIVECAPTION
        RGB(128, 128, 128), // COLOR_INACTIVECAPTION
        RGB(212, 208, 200), // COLOR_MENU
        RGB(255, 255, 255), // COLOR_WINDOW
        RGB(0, 0, 0),       // COLOR_WINDOWFRAME
        RGB(0, 0, 0),       // COLOR_MENUTEXT
        RGB(0, 0, 0),       // COLOR_WINDOWTEXT
        RGB(255, 255, 255), // COLOR_CAPTIONTEXT
        RGB(212, 208, 200), // COLOR_ACTIVEBORDER
        RGB(212, 208, 200), // COLOR_INACTIVEBORDER
        RGB(128, 128, 128), // COLOR_APPWORKSPACE
        RGB(10, 36, 106),   // COLOR_HIGHLIGHT
        RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
        RGB(212, 208, 200), // COLOR_BTNFACE
        RGB(128, 128, 128), // COLOR_BTNSHADOW
        RGB(128, 128, 128), // COLOR_GRAYTEXT
        RGB(0, 0, 0),       // COLOR_BTNTEXT
        RGB(212, 208, 200), // COLOR_INACTIVECAPTIONTEXT
        RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
        RGB(64, 64, 64),    // COLOR_3DDKSHADOW
        RGB(212, 208, 200), // COLOR_3DLIGHT
        RGB(0, 0, 0),       // COLOR_INFOTEXT
        RGB(255, 255, 225), // COLOR_INFOBK
        RGB(181, 181, 181), // 25 has no name; skins that use it get this grey
        RGB(0, 0, 128),     // COLOR_HOTLIGHT
        RGB(166, 202, 240), // COLOR_GRADIENTACTIVECAPTION
        RGB(192, 192, 192), // COLOR_GRADIENTINACTIVECAPTION
        RGB(49, 106, 197),  // 29, the highlight of flat menus
        RGB(236, 233, 216), // 30, the background of flat menu bars
    };
    if (index < 0 || index >= static_cast<int>(kSystemColors.size()))
        return RGB(0, 0, 0);
    return kSystemColors[static_cast<std::size_t>(index)];
}

NONCLIENTMETRICS GetNonClientMetrics() {
    NONCLIENTMETRICS m;
    LOGFONT plain;
    plain.lfHeight = -11;
    plain.lfFaceName = "MS Sans Serif";
    m.lfCaptionFont = plain;
    m.lfCaptionFont.lfWeight = FW_BOLD;
    m.lfSmCaptionFont = m.lfCaptionFont;
    m.lfMenuFont = plain;
    m.lfStatusFont = plain;
    m.lfMessageFont = plain;
    return m;
}

Rect GetWorkArea() {
    return detail::State::Get().backend->WorkArea();
}

UINT GetDoubleClickTime() {
    return 500;
}

} // namespace platform
