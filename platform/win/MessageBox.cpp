#include "platform/win/MessageBox.h"

#include <algorithm>
#include <vector>

#include "platform/gfx/text/TextDraw.h"
#include "platform/gfx/text/Utf8.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

namespace {

std::array<std::string, 7> g_captions{"OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No"};

constexpr int kButtonWidth = 75, kButtonHeight = 23, kButtonGap = 6, kMargin = 11, kIcon = 32;

struct Box {
    std::string text;
    UINT type = 0;
    std::vector<int> buttons; // ids, left to right
    int focus = 0;            // index into buttons
    int pressed = -1;         // index being pressed with the mouse
    bool pressedOver = false;
    int result = 0;
    Rect textRect, iconRect;
    std::vector<Rect> buttonRects;
};

std::vector<int> ButtonsOf(UINT type) {
    switch (type & 0xF) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

// What Escape and the close box mean: Cancel, or OK when it stands alone; 0 when neither.
int EscapeAnswer(const Box& b) {
    if (std::find(b.buttons.begin(), b.buttons.end(), IDCANCEL) != b.buttons.end())
        return IDCANCEL;
    if (b.buttons.size() == 1 && b.buttons[0] == IDOK)
        return IDOK;
    return 0;
}

void DrawIcon(DeviceContext& dc, const Rect& r, UINT type) {
    const UINT icon = type & 0xF0;
    if (!icon)
        return;
    const int cx = r.left + r.Width() / 2, cy = r.top + r.Height() / 2, rad = r.Width() / 2 - 1;
    auto disc = [&](Color c) {
        for (int y = -rad; y <= rad; ++y) {
            int half = 0;
            while ((half + 1) * (half + 1) + y * y <= rad * rad)
                ++half;
            FillRect(dc, {cx - half, cy + y, cx + half + 1, cy + y + 1}, c);
        }
    };
    DcStateGuard guard(dc);
    LOGFONT lf;
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    lf.lfFaceName = "Times New Roman";
    SelectFont(dc, CreateFontIndirect(lf));
    SetBkMode(dc, BkMode::Transparent);
    SetTextColor(dc, RGB(255, 255, 255));
    Rect tr = r;
    switch (icon) {
    case MB_ICONERROR:
        disc(RGB(255, 0, 0));
        DrawGlyph(dc, r.Inflate(-4, -4), FrameGlyph::Close, RGB(255, 255, 255));
        DrawGlyph(dc, r.Inflate(-4, -4).Offset(1, 0), FrameGlyph::Close, RGB(255, 255, 255));
        break;
    case MB_ICONWARNING:
        for (int y = 0; y < r.Height() - 2; ++y) {
            const int half = y / 2;
            FillRect(dc, {cx - half, r.top + 1 + y, cx + half + 1, r.top + 2 + y},
                     RGB(255, 255, 0));
        }
        SetTextColor(dc, RGB(0, 0, 0));
        tr.top += 6;
        DrawText(dc, "!", tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        break;
    case MB_ICONQUESTION:
        disc(RGB(0, 0, 255));
        DrawText(dc, "?", tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        break;
    default:
        disc(RGB(0, 0, 255));
        DrawText(dc, "i", tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        break;
    }
}

void DrawButton(DeviceContext& dc, const Rect& r, const std::string& caption, bool isDefault,
                bool focused, bool down) {
    Rect face = r;
    if (isDefault)
        face = DrawBevel(dc, face, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
    if (down)
        face = DrawBevel(dc, face, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    else
        face = DrawEdge3D(dc, face, EdgeKind::Raised);
    FillRect(dc, face, GetSysColor(COLOR_BTNFACE));
    DcStateGuard guard(dc);
    SelectFont(dc, DefaultGuiFont());
    SetBkMode(dc, BkMode::Transparent);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    Rect tr = down ? face.Offset(1, 1) : face;
    DrawText(dc, caption, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (focused) {
        // The dotted focus frame, every other pixel.
        const Rect f = face.Inflate(-3, -3);
        for (int x = f.left; x < f.right; x += 2) {
            SetPixel(dc, x, f.top, RGB(0, 0, 0));
            SetPixel(dc, x, f.bottom - 1, RGB(0, 0, 0));
        }
        for (int y = f.top; y < f.bottom; y += 2) {
            SetPixel(dc, f.left, y, RGB(0, 0, 0));
            SetPixel(dc, f.right - 1, y, RGB(0, 0, 0));
        }
    }
}

int ButtonAt(const Box& b, Point client) {
    for (std::size_t i = 0; i < b.buttonRects.size(); ++i)
        if (b.buttonRects[i].Contains(client))
            return static_cast<int>(i);
    return -1;
}

void Redraw(HWND h) {
    InvalidateRect(h, nullptr, false);
    UpdateWindow(h);
}

char32_t MnemonicOf(const std::string& caption) {
    const std::u32string t = Utf8ToUtf32(caption);
    for (std::size_t i = 0; i + 1 < t.size(); ++i)
        if (t[i] == U'&' && t[i + 1] != U'&')
            return t[i + 1];
    return 0;
}

char32_t Lower(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0x410 && c <= 0x42F))
        return c + 32;
    return c;
}

LRESULT BoxProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Each box window carries its own state (boxes may nest: a box opened from a timer while
    // another is up).
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        SetWindowLongPtr(h, GWL_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    Box* b = reinterpret_cast<Box*>(GetWindowLongPtr(h, GWL_USERDATA));
    if (!b)
        return DefWindowProc(h, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, ps);
        if (dc) {
            DrawIcon(*dc, b->iconRect, b->type);
            DcStateGuard guard(*dc);
            SelectFont(*dc, DefaultGuiFont());
            SetBkMode(*dc, BkMode::Transparent);
            SetTextColor(*dc, GetSysColor(COLOR_WINDOWTEXT));
            Rect tr = b->textRect;
            DrawText(*dc, b->text, tr, DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
            const int def = b->focus;
            for (std::size_t i = 0; i < b->buttons.size(); ++i)
                DrawButton(*dc, b->buttonRects[i],
                           g_captions[static_cast<std::size_t>(b->buttons[i] - 1)],
                           static_cast<int>(i) == def, static_cast<int>(i) == b->focus,
                           static_cast<int>(i) == b->pressed && b->pressedOver);
        }
        EndPaint(h, ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int i = ButtonAt(*b, LParamToPoint(lParam));
        if (i >= 0) {
            b->pressed = i;
            b->pressedOver = true;
            b->focus = i;
            SetCapture(h);
            Redraw(h);
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        if (b->pressed >= 0) {
            const bool over = ButtonAt(*b, LParamToPoint(lParam)) == b->pressed;
            if (over != b->pressedOver) {
                b->pressedOver = over;
                Redraw(h);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        if (b->pressed >= 0) {
            const int i = b->pressed;
            const bool over = ButtonAt(*b, LParamToPoint(lParam)) == i;
            b->pressed = -1;
            ReleaseCapture();
            Redraw(h);
            if (over)
                b->result = b->buttons[static_cast<std::size_t>(i)];
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_SPACE)
            b->result = b->buttons[static_cast<std::size_t>(b->focus)];
        else if (wParam == VK_ESCAPE)
            b->result = EscapeAnswer(*b);
        else if (wParam == VK_TAB || wParam == VK_RIGHT || wParam == VK_LEFT) {
            const int n = static_cast<int>(b->buttons.size());
            const bool back = wParam == VK_LEFT || (GetKeyState(VK_SHIFT) & 0x8000);
            b->focus = (b->focus + (back ? n - 1 : 1)) % n;
            Redraw(h);
        }
        return 0;
    case WM_CHAR:
        for (std::size_t i = 0; i < b->buttons.size(); ++i) {
            const char32_t m = MnemonicOf(g_captions[static_cast<std::size_t>(b->buttons[i] - 1)]);
            if (m && Lower(m) == Lower(static_cast<char32_t>(wParam)))
                b->result = b->buttons[i];
        }
        return 0;
    case WM_CLOSE:
        b->result = EscapeAnswer(*b);
        return 0;
    default:
        return DefWindowProc(h, msg, wParam, lParam);
    }
}

} // namespace

namespace detail {

void RegisterDialogClass() {
    WNDCLASS wc;
    wc.lpszClassName = kDialogClassName;
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = &BoxProc;
    wc.hbrBackground = GetSysColor(COLOR_BTNFACE);
    RegisterClass(wc);
}

} // namespace detail

void SetMessageBoxCaptions(const std::array<std::string, 7>& captions) {
    g_captions = captions;
}

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    const HWND ownerRoot = owner ? GetAncestorRoot(owner) : HWND{};
    Box box;
    box.text = text;
    box.type = type;
    box.buttons = ButtonsOf(type);
    box.focus =
        std::min(static_cast<int>((type >> 8) & 0xF), static_cast<int>(box.buttons.size()) - 1);

    // Layout in client coordinates.
    auto font = DefaultGuiFont();
    const Rect work = GetWorkArea();
    const int maxText = std::max(100, work.Width() * 6 / 10);
    const TextLayout measured = LayoutText(*font, text, Rect{0, 0, maxText, 10000},
                                           DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    const bool hasIcon = (type & 0xF0) != 0;
    const int textLeft = kMargin + (hasIcon ? kIcon + kMargin : 0);
    const int textHeight = std::max(measured.height, font->Metrics().tmHeight);
    const int top = kMargin + std::max(0, (hasIcon ? kIcon : 0) - textHeight) / 2;
    box.textRect = Rect::FromSize(textLeft, top, measured.width + 1, textHeight);
    box.iconRect = hasIcon ? Rect::FromSize(kMargin, kMargin, kIcon, kIcon) : Rect{};
    const int n = static_cast<int>(box.buttons.size());
    const int buttonsWidth = n * kButtonWidth + (n - 1) * kButtonGap;
    const int clientWidth =
        std::max(textLeft + box.textRect.Width() + kMargin, buttonsWidth + 2 * kMargin);
    const int buttonsTop = std::max(box.textRect.bottom, box.iconRect.bottom) + kMargin + 4;
    const int clientHeight = buttonsTop + kButtonHeight + kMargin;
    int x = (clientWidth - buttonsWidth) / 2;
    for (int i = 0; i < n; ++i, x += kButtonWidth + kButtonGap)
        box.buttonRects.push_back(Rect::FromSize(x, buttonsTop, kButtonWidth, kButtonHeight));

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
    Rect frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(frame, style, false, exStyle);
    Rect centreOn = work;
    if (ownerRoot && IsWindowVisible(ownerRoot))
        GetWindowRect(ownerRoot, centreOn);
    int left = centreOn.left + (centreOn.Width() - frame.Width()) / 2;
    int topY = centreOn.top + (centreOn.Height() - frame.Height()) / 2;
    left = std::clamp(left, work.left, std::max(work.left, work.right - frame.Width()));
    topY = std::clamp(topY, work.top, std::max(work.top, work.bottom - frame.Height()));

    const HWND h = CreateWindowEx(exStyle, kDialogClassName, caption, style, left, topY,
                                  frame.Width(), frame.Height(), ownerRoot, 0, &box);
    if (!h)
        return 0;
    const bool ownerWasEnabled = ownerRoot && IsWindowEnabled(ownerRoot);
    const HWND activeBefore = GetActiveWindow();
    // Puts everything back however the box ends, also when a procedure throws inside its loop.
    auto finish = [&]() {
        if (ownerWasEnabled && IsWindow(ownerRoot))
            EnableWindow(ownerRoot, true);
        if (IsWindow(h)) {
            // The window active before the box is active again before the box goes, so the
            // activation does not wander (with nested boxes that is the outer box, not the
            // disabled owner).
            const HWND back =
                IsWindow(activeBefore) && IsWindowEnabled(activeBefore) ? activeBefore : ownerRoot;
            if (back && IsWindow(back) && GetActiveWindow() == h)
                SetActiveWindow(back);
            DestroyWindow(h);
        }
    };
    try {
        if (ownerWasEnabled)
            EnableWindow(ownerRoot, false);
        MessageBeep(type & 0xF0);
        ShowWindow(h, SW_SHOWNORMAL);
        UpdateWindow(h);
        while (!box.result && IsWindow(h)) {
            MSG m;
            if (!GetMessage(m, HWND{}, 0, 0)) {
                PostQuitMessage(static_cast<int>(m.wParam));
                break;
            }
            // Keys belong to the box whichever of its parts has the focus.
            if ((m.message == WM_KEYDOWN || m.message == WM_CHAR) && GetActiveWindow() == h)
                m.hwnd = h;
            TranslateMessage(m);
            DispatchMessage(m);
        }
    } catch (...) {
        if (IsWindow(h))
            SetWindowLongPtr(h, GWL_USERDATA, 0); // the state dies with this frame
        try {
            finish();
        } catch (...) {
            // Still going back to the caller with the first failure.
        }
        throw;
    }
    finish();
    return box.result;
}

} // namespace platform
