#include "platform/win/SystemMetrics.h"

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
    // The classic grey scheme.
    switch (index) {
    case COLOR_SCROLLBAR:
        return RGB(212, 208, 200);
    case COLOR_BACKGROUND:
        return RGB(58, 110, 165);
    case COLOR_ACTIVECAPTION:
        return RGB(10, 36, 106);
    case COLOR_INACTIVECAPTION:
        return RGB(128, 128, 128);
    case COLOR_GRADIENTACTIVECAPTION:
        return RGB(166, 202, 240);
    case COLOR_GRADIENTINACTIVECAPTION:
        return RGB(192, 192, 192);
    case COLOR_MENU:
    case COLOR_BTNFACE:
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER:
    case COLOR_3DLIGHT:
        return RGB(212, 208, 200);
    case COLOR_WINDOW:
    case COLOR_CAPTIONTEXT:
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_BTNHIGHLIGHT:
        return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME:
    case COLOR_MENUTEXT:
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_INFOTEXT:
        return RGB(0, 0, 0);
    case COLOR_APPWORKSPACE:
    case COLOR_BTNSHADOW:
    case COLOR_GRAYTEXT:
        return RGB(128, 128, 128);
    case COLOR_HIGHLIGHT:
        return RGB(10, 36, 106);
    case COLOR_INACTIVECAPTIONTEXT:
        return RGB(212, 208, 200);
    case COLOR_3DDKSHADOW:
        return RGB(64, 64, 64);
    case COLOR_INFOBK:
        return RGB(255, 255, 225);
    case COLOR_HOTLIGHT:
        return RGB(0, 0, 128);
    default:
        return RGB(0, 0, 0);
    }
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
