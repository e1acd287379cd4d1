#include "toolkit/TSpinEdit.h"

#include <algorithm>

#include "platform/sys/Locale.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/Message.h"
#include "toolkit/IntText.h"

namespace toolkit {
namespace {

constexpr platform::UINT_PTR kRepeatTimerId = 1;
// Space kept between the text and the buttons.
constexpr int kTextGap = 2;

} // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TSpinEdit(owner, SpinCharFilter::Standard) {}

TSpinEdit::TSpinEdit(TComponent* owner, SpinCharFilter filter)
    : TCustomEdit(owner), m_model(filter) {
    m_model.SetBeep([] { platform::MessageBeep(0); });
    if (filter == SpinCharFilter::Standard)
        m_model.SetDecimalSeparator(platform::DecimalSeparator());
    UpdateFormatRect();
    SetText(m_model.Text());
    SetModified(false);
}

TSpinEdit::~TSpinEdit() {
    if (m_timerRunning && HandleAllocated())
        platform::KillTimer(HandleIfAllocated(), kRepeatTimerId);
}

template <class Operation> void TSpinEdit::ThroughModel(Operation operation) {
    // The model holds no handler: the edit's own Change tells the world, once.
    m_model.SetText(Text());
    m_model.SetReadOnly(ReadOnly());
    operation();
    if (m_model.Text() != Text())
        SetText(m_model.Text());
}

std::int32_t TSpinEdit::Value() const {
    return TryStrToInt(Text()).value_or(m_model.MinValue());
}

void TSpinEdit::SetValue(std::int32_t value) {
    ThroughModel([&] { m_model.SetValue(value); });
}

void TSpinEdit::StepUp() {
    ThroughModel([&] { m_model.StepUp(); });
}

void TSpinEdit::StepDown() {
    ThroughModel([&] { m_model.StepDown(); });
}

void TSpinEdit::Wheel(std::int16_t delta) {
    ThroughModel([&] { m_model.Wheel(delta); });
}

void TSpinEdit::Change() {
    m_model.SetText(Text());
    TCustomEdit::Change();
}

bool TSpinEdit::CanEdit() const {
    return TCustomEdit::CanEdit() && m_model.EditorEnabled();
}

// ---- keys ------------------------------------------------------------------------------------

void TSpinEdit::KeyDown(platform::WORD& key, TShiftState shift) {
    if (key == TSpinEditModel::kVkUp || key == TSpinEditModel::kVkDown) {
        const std::weak_ptr<const bool> alive = LifeToken();
        const int vk = key;
        ThroughModel([&] { m_model.KeyDown(vk); });
        // A change handler may have freed the edit.
        if (alive.expired()) {
            key = 0;
            return;
        }
    }
    TCustomEdit::KeyDown(key, shift);
}

void TSpinEdit::KeyPress(char32_t& key) {
    if (!m_model.KeyPress(key)) {
        key = 0;
        return;
    }
    TCustomEdit::KeyPress(key);
}

// ---- buttons ---------------------------------------------------------------------------------

platform::Rect TSpinEdit::ButtonRect() const {
    const platform::Rect c = ClientRect();
    const int left = std::max(c.left, c.right - kButtonWidth);
    return {left, c.top, c.right, std::min(c.bottom, c.top + kButtonHeight)};
}

platform::Rect TSpinEdit::UpButtonRect() const {
    platform::Rect r = ButtonRect();
    r.bottom = r.top + r.Height() / 2;
    return r;
}

platform::Rect TSpinEdit::DownButtonRect() const {
    platform::Rect r = ButtonRect();
    r.top = r.top + r.Height() / 2;
    return r;
}

TSpinEdit::SpinButton TSpinEdit::ButtonAt(int x, int y) const {
    if (UpButtonRect().Contains({x, y}))
        return SpinButton::Up;
    if (DownButtonRect().Contains({x, y}))
        return SpinButton::Down;
    return SpinButton::None;
}

void TSpinEdit::UpdateFormatRect() {
    const platform::Rect c = ClientRect();
    // Left and top margins as a plain edit keeps them; the right stops short of the buttons.
    SetFormatRect({c.left + kTextGap, c.top + 1,
                   std::max(c.left + kTextGap + 1, ButtonRect().left - kTextGap), c.bottom});
}

void TSpinEdit::Step(SpinButton button) {
    if (button == SpinButton::Up)
        StepUp();
    else if (button == SpinButton::Down)
        StepDown();
}

void TSpinEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const SpinButton hit = button == mbLeft ? ButtonAt(x, y) : SpinButton::None;
    if (hit == SpinButton::None) {
        TCustomEdit::MouseDown(button, shift, x, y);
        return;
    }
    const std::weak_ptr<const bool> alive = LifeToken();
    if (!Focused() && CanFocus())
        SetFocus();
    if (alive.expired())
        return;
    m_held = hit;
    m_heldShownPressed = true;
    m_firstRepeatDone = false;
    SetMouseCapture(true);
    Invalidate();
    if (HandleAllocated()) {
        platform::SetTimer(HandleIfAllocated(), kRepeatTimerId, kFirstRepeatMs);
        m_timerRunning = true;
    }
}

void TSpinEdit::MouseMove(TShiftState shift, int x, int y) {
    if (m_held == SpinButton::None) {
        TCustomEdit::MouseMove(shift, x, y);
        return;
    }
    const bool over = ButtonAt(x, y) == m_held;
    if (over != m_heldShownPressed) {
        m_heldShownPressed = over;
        Invalidate();
    }
}

void TSpinEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (m_held == SpinButton::None) {
        TCustomEdit::MouseUp(button, shift, x, y);
        return;
    }
    if (button == mbLeft)
        ReleaseButton();
}

void TSpinEdit::ReleaseButton() {
    if (m_timerRunning && HandleAllocated())
        platform::KillTimer(HandleIfAllocated(), kRepeatTimerId);
    m_timerRunning = false;
    const bool wasHeld = m_held != SpinButton::None;
    m_held = SpinButton::None;
    m_heldShownPressed = false;
    if (wasHeld) {
        SetMouseCapture(false);
        Invalidate();
    }
}

void TSpinEdit::RepeatTick() {
    // Someone else took the mouse: the press is over.
    if (m_held == SpinButton::None || !MouseCapture()) {
        ReleaseButton();
        return;
    }
    if (!m_firstRepeatDone) {
        m_firstRepeatDone = true;
        platform::SetTimer(HandleIfAllocated(), kRepeatTimerId, kRepeatMs);
    }
    if (m_heldShownPressed)
        Step(m_held);
}

// ---- painting --------------------------------------------------------------------------------

void TSpinEdit::Paint() {
    TCustomEdit::Paint();
    platform::DeviceContext& dc = Canvas().Handle();
    platform::DcStateGuard guard(dc);
    PaintButtons(dc);
}

void TSpinEdit::PaintButtons(platform::DeviceContext& dc) {
    const bool enabled = Enabled();
    platform::DrawClassicButton(dc, UpButtonRect(), platform::FrameGlyph::ArrowUp,
                                m_held == SpinButton::Up && m_heldShownPressed, enabled);
    platform::DrawClassicButton(dc, DownButtonRect(), platform::FrameGlyph::ArrowDown,
                                m_held == SpinButton::Down && m_heldShownPressed, enabled);
}

// ---- messages --------------------------------------------------------------------------------

void TSpinEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case platform::WM_TIMER:
        if (m.WParam == kRepeatTimerId) {
            RepeatTick();
            m.Result = 0;
            return;
        }
        break;
    case platform::WM_LBUTTONUP:
        if (m_held != SpinButton::None) {
            // Like any button, a half steps when it is let go over itself: a press dragged off
            // and released elsewhere changes nothing (beyond the repeats made while held). The
            // press is looked at first, since letting the capture go ends it.
            const SpinButton held = m_held;
            const bool over = ButtonAt(platform::GET_X_LPARAM(m.LParam),
                                       platform::GET_Y_LPARAM(m.LParam)) == held;
            const std::weak_ptr<const bool> alive = LifeToken();
            TCustomEdit::WndProc(m);
            if (alive.expired())
                return;
            ReleaseButton();
            if (over)
                Step(held); // last: its change handler may free this edit
            return;
        }
        break;
    case platform::WM_CAPTURECHANGED:
        TCustomEdit::WndProc(m);
        if (m_held != SpinButton::None && !MouseCapture())
            ReleaseButton();
        return;
    case platform::WM_SIZE:
    case platform::WM_WINDOWPOSCHANGED:
        TCustomEdit::WndProc(m);
        UpdateFormatRect();
        return;
    case CM_EXIT: {
        const std::weak_ptr<const bool> alive = LifeToken();
        ThroughModel([&] { m_model.FocusLeft(); });
        if (alive.expired())
            return;
        break;
    }
    default:
        break;
    }
    TCustomEdit::WndProc(m);
}

} // namespace toolkit
