// The mouse on the frame: hit testing, the caption buttons' hot, pressed and performed states,
// and the system menu.
#include "skinned/sSkinProvider.h"

#include <utility>

#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TForm.h"

namespace skinned {

using namespace platform;

LRESULT TsSkinProvider::HitTest(Point screen) {
    const HWND h = m_form.HandleIfAllocated();
    Rect wr;
    if (!GetWindowRect(h, wr))
        return HTNOWHERE;
    const Point p{screen.x - wr.left, screen.y - wr.top};
    const Metrics fm = FrameMetrics();
    const auto system = [&] {
        toolkit::TMessage m{
            WM_NCHITTEST, 0,
            static_cast<LPARAM>((screen.x & 0xFFFF) |
                                (static_cast<std::uint32_t>(screen.y & 0xFFFF) << 16)),
            0};
        CallPrevious(m);
        return m.Result;
    };
    if (fm.CaptionHeight <= 0)
        return system();
    // A maximised window lets the mouse through only where it lies beyond the work area (its
    // border pushed off the screen's edge); every pixel that shows answers as usual.
    if (IsZoomed(h) && !GetWorkArea().Intersect(wr).Contains(screen))
        return HTTRANSPARENT;
    if (m_changed || Cache() == nullptr || Cache()->Width() != wr.Width())
        LayoutButtons(wr.Width());

    LRESULT hit = HTNOWHERE;
    std::int32_t bandTop = fm.BorderHeight, bandBottom = fm.BorderHeight + fm.CaptionHeight;
    for (const TsCaptionButton& b : m_buttons)
        if (b.Shown()) {
            bandTop = b.Rect.top;
            bandBottom = b.Rect.bottom;
            break;
        }
    const bool inBand = p.y >= bandTop && p.y < bandBottom && p.x >= fm.BorderWidth &&
                        p.x < wr.Width() - fm.BorderWidth;
    if (inBand) {
        hit = HTCAPTION;
        if (p.x < fm.BorderWidth + m_iconSize.cx)
            hit = HasSystemMenu() ? HTSYSMENU : HTCAPTION;
        constexpr LRESULT kCodes[] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP};
        for (int i = 0; i < 4; ++i)
            if (m_buttons[static_cast<std::size_t>(i)].Rect.Contains(p))
                hit = kCodes[i];
        for (std::size_t i = 0; i < m_titleButtons.size(); ++i)
            if (m_titleButtons[i]->Button.Rect.Contains(p))
                hit = kTitleButtonHit + static_cast<LRESULT>(i);
    } else {
        if (m_gripMode == TsGripMode::gmRightBottom && Sizeable()) {
            skin::TsSkinManager* manager = Manager();
            const std::int32_t global = manager ? manager->CachedIndexes().GlobalInfo : -1;
            const std::int32_t grip =
                global < 0 ? -1 : manager->FindPieceIndex(global, "GLOBALINFO", "GRIPIMAGE");
            const Size g = manager && grip >= 0 ? manager->GetStateImageSize(grip) : Size{};
            if (g.cx > 0 && p.x >= wr.Width() - fm.BorderWidth - g.cx &&
                p.y >= wr.Height() - fm.BorderHeight - g.cy)
                hit = HTBOTTOMRIGHT;
        }
        if (hit == HTNOWHERE)
            hit = system();
    }
    SetHotButton(hit);
    return hit;
}

TsCaptionButton* TsSkinProvider::ButtonOfHit(LRESULT hit) {
    switch (hit) {
    case HTCLOSE:
        return &m_buttons[kClose];
    case HTMAXBUTTON:
        return &m_buttons[kMax];
    case HTMINBUTTON:
        return &m_buttons[kMin];
    case HTHELP:
        return &m_buttons[kHelp];
    default:
        if (hit >= kTitleButtonHit &&
            static_cast<std::size_t>(hit - kTitleButtonHit) < m_titleButtons.size())
            return &m_titleButtons[static_cast<std::size_t>(hit - kTitleButtonHit)]->Button;
        return nullptr;
    }
}

void TsSkinProvider::SetHotButton(LRESULT hit) {
    if (m_pressed)
        return;
    std::vector<Rect> changed;
    const auto update = [&](TsCaptionButton& b, LRESULT code) {
        if (!b.Shown())
            return;
        const std::int32_t state = code == hit ? 1 : 0;
        if (b.State != state) {
            b.State = state;
            changed.push_back(b.Rect);
        }
    };
    update(m_buttons[kClose], HTCLOSE);
    update(m_buttons[kMax], HTMAXBUTTON);
    update(m_buttons[kMin], HTMINBUTTON);
    update(m_buttons[kHelp], HTHELP);
    for (std::size_t i = 0; i < m_titleButtons.size(); ++i)
        update(m_titleButtons[i]->Button, kTitleButtonHit + static_cast<LRESULT>(i));
    if (!changed.empty())
        RepaintButtons(changed);
}

bool TsSkinProvider::PressButton(LRESULT hit) {
    TsCaptionButton* b = ButtonOfHit(hit);
    if (!b || !b->Shown())
        return false;
    m_pressed = hit;
    b->State = 2;
    RepaintButtons({b->Rect});
    if (hit >= kTitleButtonHit) {
        TsTitleButton& extra = *m_titleButtons[static_cast<std::size_t>(hit - kTitleButtonHit)];
        if (extra.OnMouseDown)
            extra.OnMouseDown(extra);
    }
    SetCapture(m_form.HandleIfAllocated());
    return true;
}

void TsSkinProvider::ReleaseButton(Point screen) {
    const LRESULT pressed = std::exchange(m_pressed, 0);
    const HWND h = m_form.HandleIfAllocated();
    if (GetCapture() == h)
        ReleaseCapture();
    const LRESULT over = HitTest(screen);
    if (TsCaptionButton* b = ButtonOfHit(pressed)) {
        b->State = over == pressed ? 1 : 0;
        RepaintButtons({b->Rect});
    }
    if (over == pressed)
        PerformButton(pressed);
}

void TsSkinProvider::PerformButton(LRESULT hit) {
    const HWND h = m_form.HandleIfAllocated();
    switch (hit) {
    case HTCLOSE:
        SysCommand(SC_CLOSE);
        return;
    case HTMAXBUTTON:
        SysCommand(IsZoomed(h) ? SC_RESTORE : SC_MAXIMIZE);
        return;
    case HTMINBUTTON:
        SysCommand(IsIconic(h) ? SC_RESTORE : SC_MINIMIZE);
        return;
    case HTHELP:
        SysCommand(SC_CONTEXTHELP);
        return;
    default:
        if (hit >= kTitleButtonHit &&
            static_cast<std::size_t>(hit - kTitleButtonHit) < m_titleButtons.size()) {
            TsTitleButton& extra = *m_titleButtons[static_cast<std::size_t>(hit - kTitleButtonHit)];
            if (extra.OnMouseUp)
                extra.OnMouseUp(extra);
        }
        return;
    }
}

void TsSkinProvider::SysCommand(WPARAM command) {
    Point cursor;
    GetCursorPos(cursor);
    SendMessage(m_form.HandleIfAllocated(), WM_SYSCOMMAND, command,
                static_cast<LPARAM>((cursor.x & 0xFFFF) |
                                    (static_cast<std::uint32_t>(cursor.y & 0xFFFF) << 16)));
}

Point TsSkinProvider::SystemMenuPoint() const {
    Rect wr;
    GetWindowRect(m_form.HandleIfAllocated(), wr);
    const Metrics fm = FrameMetrics();
    return {wr.left + fm.BorderWidth, wr.top + fm.BorderHeight + fm.CaptionHeight};
}

void TsSkinProvider::ShowSystemMenu(Point screen) {
    if (!m_systemMenu || !HasSystemMenu())
        return;
    TsSystemMenu* menu = m_systemMenu.get();
    skin::TsSkinManager* manager = Manager();
    const std::weak_ptr<const bool> alive = m_alive;
    menu->Popup(screen.x, screen.y);
    if (alive.expired())
        return;
    // Changing skins may free this provider: nothing of ours is touched afterwards.
    const std::string chosen = menu->TakeChosenSkin();
    if (!chosen.empty() && manager && chosen != manager->SkinName())
        manager->SetSkinName(chosen);
}

} // namespace skinned
