#include "skinned/TsSpinEdit.h"

#include <algorithm>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/WinDefs.h"
#include "toolkit/Colors.h"
#include "toolkit/TTimer.h"

namespace skinned {

namespace {

constexpr const char* kButtonSection = "SPEEDBUTTON_SMALL";
constexpr int kGlyphWidth = 9, kGlyphHeight = 5;

} // namespace

// A 9 × 5 triangle on white (the glyph's transparent colour): filled black, its edge pixels in
// the outline colour. up points the tip to the top.
void MakeSpinArrow(toolkit::TBitmap& bitmap, bool up, platform::Color outline) {
    bitmap.SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    bitmap.SetSize(kGlyphWidth, kGlyphHeight);
    const auto put = [&](int x, int y, platform::Color c) {
        std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
        p[0] = platform::GetBValue(c), p[1] = platform::GetGValue(c), p[2] = platform::GetRValue(c);
    };
    for (int y = 0; y < kGlyphHeight; ++y)
        for (int x = 0; x < kGlyphWidth; ++x)
            put(x, y, 0xFFFFFF);
    // From the tip (one pixel) to the base (seven), a row a step.
    for (int step = 0; step < 4; ++step) {
        const int y = up ? 1 + step : 4 - step;
        const int from = 4 - step, to = 4 + step;
        for (int x = from; x <= to; ++x) {
            const bool edge = x == from || x == to || step == 3;
            put(x, y, edge ? outline : platform::Color{0});
        }
    }
}

// ---- TsTimerSpeedButton ------------------------------------------------------------------------

TsTimerSpeedButton::TsTimerSpeedButton(toolkit::TComponent* owner) : TsSpeedButton(owner) {
    SkinData().SetSkinSection(kButtonSection);
    SetFlat(false);
}

TsTimerSpeedButton::~TsTimerSpeedButton() = default;

bool TsTimerSpeedButton::Repeating() const {
    return m_timer && m_timer->Enabled();
}

void TsTimerSpeedButton::SetFocusMarkShown(bool on) {
    if (on == m_focusMark)
        return;
    m_focusMark = on;
    Invalidate();
}

void TsTimerSpeedButton::MouseDown(toolkit::TMouseButton button, toolkit::TShiftState shift, int x,
                                   int y) {
    const bool press = button == toolkit::mbLeft && Enabled();
    const std::weak_ptr<const bool> alive = LifeToken();
    if (press)
        if (auto* pair = dynamic_cast<TsSpinButton*>(Parent()))
            pair->HalfPressed(this);
    if (alive.expired())
        return;
    TsSpeedButton::MouseDown(button, shift, x, y);
    if (alive.expired() || !press || !m_repeat)
        return;
    if (!m_timer) {
        m_timer = std::make_unique<toolkit::TTimer>(nullptr);
        m_timer->SetEnabled(false);
        m_timer->SetOnTimer([this](toolkit::TObject*) { Tick(); });
    }
    m_timer->SetInterval(kFirstRepeatMs);
    m_timer->SetEnabled(true);
}

void TsTimerSpeedButton::MouseUp(toolkit::TMouseButton button, toolkit::TShiftState shift, int x,
                                 int y) {
    if (button == toolkit::mbLeft)
        StopRepeat();
    TsSpeedButton::MouseUp(button, shift, x, y);
}

void TsTimerSpeedButton::StopRepeat() {
    if (m_timer)
        m_timer->SetEnabled(false);
}

void TsTimerSpeedButton::Tick() {
    m_timer->SetInterval(kRepeatMs);
    // Someone else has the mouse now: the press is over.
    if (!MouseCapture()) {
        StopRepeat();
        return;
    }
    // The click may free the button, and its timer with it.
    const std::weak_ptr<const bool> alive = LifeToken();
    try {
        Click();
    } catch (...) {
        if (!alive.expired())
            StopRepeat();
        throw;
    }
}

void TsTimerSpeedButton::Paint() {
    TsSpeedButton::Paint();
    if (!m_focusMark)
        return;
    platform::Rect r = ClientRect().Inflate(-3, -3);
    if (State() == toolkit::TButtonState::bsDown)
        r = r.Offset(1, 1);
    if (r.Width() > 0 && r.Height() > 0)
        platform::DrawFocusRect(Canvas().Handle(), r);
}

// ---- TsSpinButton ------------------------------------------------------------------------------

TsSpinButton::TsSpinButton(toolkit::TComponent* owner, TsBaseSpinEdit* spin)
    : toolkit::TCustomControl(owner), m_spin(spin) {
    SetControlStyle(ControlStyle() - toolkit::TControlStyle{toolkit::csSetCaption});
    // What the halves fall back to when the edit gives them no face to stand on.
    SetParentColor(false);
    SetColor(toolkit::clWindow);
    TCustomControl::SetBounds(0, 0, kDefaultWidth, 25);
    m_up = new TsTimerSpeedButton(this);
    m_down = new TsTimerSpeedButton(this);
    for (TsTimerSpeedButton* half : {m_up, m_down}) {
        half->SetRepeatEnabled(true);
        half->SetParent(this);
    }
    m_up->OnClick = [this](toolkit::TObject*) {
        if (m_spin)
            m_spin->StepUp();
    };
    m_down->OnClick = [this](toolkit::TObject*) {
        if (m_spin)
            m_spin->StepDown();
    };
    m_focusedButton = m_up;
    Layout();
    MakeGlyphs();
}

TsSpinButton::~TsSpinButton() {
    if (m_spin && m_spin->m_button == this)
        m_spin->m_button = nullptr;
    m_spin = nullptr;
}

void TsSpinButton::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                             std::int32_t height) {
    TCustomControl::SetBounds(left, top, std::max(width, kMinWidth), height);
    Layout();
}

void TsSpinButton::Layout() {
    if (!m_up || !m_down)
        return;
    const int half = Height() / 2;
    m_up->SetBounds(0, 0, Width(), half);
    m_down->SetBounds(0, half, Width(), Height() - half);
}

void TsSpinButton::SetUpGlyph(const toolkit::TBitmap& glyph) {
    m_upGlyph.Assign(&glyph);
    MakeGlyphs();
}

void TsSpinButton::SetDownGlyph(const toolkit::TBitmap& glyph) {
    m_downGlyph.Assign(&glyph);
    MakeGlyphs();
}

void TsSpinButton::MakeGlyphs() {
    if (!m_up || !m_down)
        return;
    const platform::Color outline =
        toolkit::ColorToRGB(m_spin ? m_spin->Font().Color() : toolkit::clWindowText);
    toolkit::TBitmap up, down;
    MakeSpinArrow(up, true, outline);
    MakeSpinArrow(down, false, outline);
    m_up->SetGlyph(m_upGlyph.Empty() ? up : m_upGlyph, toolkit::clWhite);
    m_down->SetGlyph(m_downGlyph.Empty() ? down : m_downGlyph, toolkit::clWhite);
}

void TsSpinButton::HalfPressed(TsTimerSpeedButton* half) {
    m_focusedButton = half;
    toolkit::TWinControl* target = m_focusControl ? m_focusControl : m_spin;
    if (target && target->CanFocus() && !target->Focused())
        target->SetFocus();
    else if ((!target || !target->CanFocus()) && CanFocus() && !Focused())
        SetFocus();
    UpdateFocusMarks();
}

void TsSpinButton::UpdateFocusMarks() {
    const bool focused = Focused();
    m_up->SetFocusMarkShown(focused && m_focusedButton == m_up);
    m_down->SetFocusMarkShown(focused && m_focusedButton == m_down);
}

void TsSpinButton::Paint() {
    // The halves cover the pair; this only shows while they are being laid out.
    platform::FillRect(Canvas().Handle(), ClientRect(), toolkit::ColorToRGB(Color()));
}

void TsSpinButton::WndProc(toolkit::TMessage& m) {
    if (m.Msg == toolkit::kLibraryCommandMessage) {
        switch (skin::CommandOf(m.WParam)) {
        case skin::kCmdGiveBackground: {
            // The halves stand on the spin edit's face, seen through its border.
            skin::CommandBackdrop() = {};
            if (!m_spin)
                return;
            toolkit::TBitmap* face = m_spin->m_skin ? m_spin->m_skin->Face() : nullptr;
            if (!face)
                return;
            const std::int32_t border = m_spin->m_skin->BorderWidth();
            skin::CommandBackdrop() = {face, Left() + border, Top() + border, true};
            return;
        }
        case skin::kCmdIsChanging:
            m.Result = 0;
            return;
        default:
            break;
        }
    }
    switch (m.Msg) {
    case platform::WM_SETFOCUS:
    case platform::WM_KILLFOCUS:
        TCustomControl::WndProc(m);
        UpdateFocusMarks();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

// ---- TsBaseSpinEdit ----------------------------------------------------------------------------

TsBaseSpinEdit::TsBaseSpinEdit(toolkit::TComponent* owner)
    : TacSkinnedControl(owner, {skin::kTypeEdit}, toolkit::SpinCharFilter::Skinned),
      m_skin(std::make_unique<TsEditSkin>(*this, SkinData(), TsEditSkin::Kind::SingleLine)) {
    m_button = new TsSpinButton(this, this);
    m_button->SetParent(this);
    m_skin->OnFaceChanged = [this] { RefreshButtons(); };
    PlaceButton();
}

TsBaseSpinEdit::~TsBaseSpinEdit() {
    // The pair goes with the children, after this part: it must not reach back.
    if (m_button)
        m_button->m_spin = nullptr;
    m_button = nullptr;
    m_skin.reset();
}

platform::Rect TsBaseSpinEdit::ButtonRect() const {
    const platform::Rect c = ClientRect();
    const int width = m_button ? m_button->Width() : TsSpinButton::kDefaultWidth;
    return {std::max(c.left, c.right - width), c.top, c.right, c.bottom};
}

void TsBaseSpinEdit::UpdateFormatRect() {
    const platform::Rect c = ClientRect();
    const int width = m_button ? m_button->Width() : TsSpinButton::kDefaultWidth;
    SetFormatRect({0, 0, std::max(1, c.Width() - width - 2), c.Height() + 1});
}

void TsBaseSpinEdit::PlaceButton() {
    if (!m_button)
        return;
    const platform::Rect r = ButtonRect();
    m_button->SetBounds(r.left, r.top, m_button->Width(), r.Height());
    UpdateFormatRect();
}

void TsBaseSpinEdit::CreateParams(toolkit::TCreateParams& params) {
    TacSkinnedControl::CreateParams(params);
    // The edit's own painting must leave the button pair alone.
    params.Style |= platform::WS_CLIPCHILDREN;
}

void TsBaseSpinEdit::PaintButtons(platform::DeviceContext&) {
    // The button pair is a child control that paints itself.
}

void TsBaseSpinEdit::RefreshButtons(bool clearHot) {
    if (!m_button || IsDestroying())
        return;
    // The halves stand on the edit's face: a fade from the old one would show it again.
    for (TsTimerSpeedButton* half : {m_button->UpButton(), m_button->DownButton()}) {
        skin::SendCommand(*half, skin::kCmdBeforeRefresh);
        if (clearHot)
            half->SkinData().SetMouseOver(false);
        half->SkinData().SetBackgroundChanged(true);
        half->Invalidate();
    }
}

void TsBaseSpinEdit::SkinCommand(toolkit::TMessage& m) {
    if (!m_skin) {
        TacSkinnedControl::SkinCommand(m);
        return;
    }
    const std::uint16_t command = skin::CommandOf(m.WParam);
    if (command == skin::kCmdIsChanging) {
        m.Result = 0;
        return;
    }
    m_skin->Command(m);
    if (command >= skin::kCmdNewSkin && command <= skin::kCmdRefresh && m_button)
        m_button->MakeGlyphs();
}

void TsBaseSpinEdit::SkinnedWndProc(toolkit::TMessage& m) {
    if (!m_skin) {
        TacSkinnedControl::SkinnedWndProc(m);
        return;
    }
    if (m.Msg == platform::WM_MOUSEWHEEL) {
        Wheel(platform::GET_WHEEL_DELTA_WPARAM(m.WParam));
        m.Result = 1;
        return;
    }
    if (!PassThroughEditSkin(m_skin, *this, m, [this](toolkit::TMessage& message) {
            TacSkinnedControl::SkinnedWndProc(message);
        }))
        return;
    switch (m.Msg) {
    case platform::WM_SIZE:
        PlaceButton();
        break;
    case toolkit::CM_MOUSEENTER:
    case toolkit::CM_MOUSELEAVE:
        // The edit's own; a half's passes through here too and keeps its hot look.
        if (m.LParam == 0)
            RefreshButtons(true);
        break;
    case toolkit::CM_ENABLEDCHANGED:
        if (m_button) {
            m_button->SetEnabled(Enabled());
            m_button->UpButton()->SetEnabled(Enabled());
            m_button->DownButton()->SetEnabled(Enabled());
        }
        break;
    case toolkit::CM_FONTCHANGED:
        if (m_button)
            m_button->MakeGlyphs();
        break;
    default:
        break;
    }
}

void TsBaseSpinEdit::Loaded() {
    TacSkinnedControl::Loaded();
    if (m_button) {
        m_button->UpButton()->SkinData().SetSkinManager(SkinData().ExplicitManager());
        m_button->DownButton()->SkinData().SetSkinManager(SkinData().ExplicitManager());
        m_button->MakeGlyphs();
    }
}

} // namespace skinned
