#pragma once
// The skinned spin edit: the plain spin edit's value model, keys and change notification
// (toolkit/TSpinEdit.h), with the skinned typing rule, the wheel, the edit's skinned face
// (sEditSkin.h) and a button pair of skinned auto-repeat buttons instead of the drawn one.
// - only the digits "0" ... "9" and control characters other than Enter may be typed; a sign,
//   a separator or any other character is dropped with the system beep (a pasted text may
//   still bring in anything);
// - a wheel turn adds (delta div 120) x Increment to Value, the division truncating toward
//   zero on the signed 16-bit delta, and counts as handled (a part notch adds nothing).
// SkinData is its skin state (control type 3, "EDIT" by default).
//
// The button pair (TsSpinButton, a child window the spin edit owns) stands at the right of the
// client area: x = Width − pair width − 4, y = 0, Height − 4 high; the text is laid out in
// (0, 0, client width − pair width − 2, client height + 1). Its halves are TsTimerSpeedButtons:
// a press shows the half pressed and moves the focus to the edit; a release over the same half
// steps once (a press dragged off and released elsewhere does not); while the half holds the
// mouse it steps again 400 ms after the press and then every 100 ms.

#include <memory>

#include "skinned/TacSkinnedControl.h"
#include "skinned/TsSpeedButton.h"
#include "skinned/sEditSkin.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TSpinEdit.h"

namespace toolkit {
class TTimer;
}

namespace skinned {

class TsBaseSpinEdit;

// The spin buttons' default arrow: a 9 × 5 triangle on white (the glyph's transparent colour),
// filled black, its edge pixels in the outline colour; up points the tip to the top.
void MakeSpinArrow(toolkit::TBitmap& bitmap, bool up, platform::Color outline);

// A speed button that repeats its click while held: the first repeat kFirstRepeatMs after the
// press, then every kRepeatMs, as long as it holds the mouse capture; the release over the
// button clicks as any speed button's does. An exception from a repeated click stops the
// repeating and goes on to the caller. Section "SPEEDBUTTON_SMALL" (control type 92).
class TsTimerSpeedButton : public TsSpeedButton {
public:
    static constexpr unsigned kFirstRepeatMs = 400;
    static constexpr unsigned kRepeatMs = 100;

    explicit TsTimerSpeedButton(toolkit::TComponent* owner);
    ~TsTimerSpeedButton() override;

    std::string ClassName() const override { return "TsTimerSpeedButton"; }

    // Repeating while held (on for the spin buttons).
    bool RepeatEnabled() const { return m_repeat; }
    void SetRepeatEnabled(bool on) { m_repeat = on; }
    // The focus mark: a focus rectangle inset 3 pixels (moved with the pressed face).
    bool FocusMarkShown() const { return m_focusMark; }
    void SetFocusMarkShown(bool on);
    // Whether the repeat timer runs now.
    bool Repeating() const;

protected:
    void MouseDown(toolkit::TMouseButton button, toolkit::TShiftState shift, int x, int y) override;
    void MouseUp(toolkit::TMouseButton button, toolkit::TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    void Tick();
    void StopRepeat();

    std::unique_ptr<toolkit::TTimer> m_timer; // made on the first press
    bool m_repeat = false;
    bool m_focusMark = false;
};

// The spin edit's button pair: up on the top half (Height / 2), down below, both as wide as
// the pair (18 pixels by default, never under 15). Its parent background is the spin edit's
// face, so the halves show the edit behind them.
class TsSpinButton : public toolkit::TCustomControl {
public:
    static constexpr int kDefaultWidth = 18;
    static constexpr int kMinWidth = 15;

    TsSpinButton(toolkit::TComponent* owner, TsBaseSpinEdit* spin);
    ~TsSpinButton() override;

    std::string ClassName() const override { return "TsSpinButton"; }

    TsTimerSpeedButton* UpButton() const { return m_up; }
    TsTimerSpeedButton* DownButton() const { return m_down; }
    // Assigned glyphs replace the default triangles; an empty bitmap brings those back.
    void SetUpGlyph(const toolkit::TBitmap& glyph);
    void SetDownGlyph(const toolkit::TBitmap& glyph);
    toolkit::TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(toolkit::TWinControl* control) { m_focusControl = control; }
    // The half that carries the focus mark (the up one at first).
    TsTimerSpeedButton* FocusedButton() const { return m_focusedButton; }

    // The default triangles again, outlined in the spin edit's font colour.
    void MakeGlyphs();

    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                   std::int32_t height) override;
    void WndProc(toolkit::TMessage& message) override;

protected:
    void Paint() override;

private:
    friend class TsBaseSpinEdit;
    friend class TsTimerSpeedButton;
    void Layout();
    void HalfPressed(TsTimerSpeedButton* half);
    void UpdateFocusMarks();

    TsBaseSpinEdit* m_spin;
    TsTimerSpeedButton* m_up = nullptr;
    TsTimerSpeedButton* m_down = nullptr;
    TsTimerSpeedButton* m_focusedButton = nullptr;
    toolkit::TWinControl* m_focusControl = nullptr;
    toolkit::TBitmap m_upGlyph;
    toolkit::TBitmap m_downGlyph;
};

class TsBaseSpinEdit : public TacSkinnedControl<toolkit::TSpinEdit> {
public:
    explicit TsBaseSpinEdit(toolkit::TComponent* owner);
    ~TsBaseSpinEdit() override;

    std::string ClassName() const override { return "TsBaseSpinEdit"; }

    TsBoundLabel& BoundLabel() { return m_skin->BoundLabel(); }
    TacDisabledKind DisabledKind() const { return m_skin->DisabledKind(); }
    void SetDisabledKind(TacDisabledKind kind) { m_skin->SetDisabledKind(kind); }
    TsSpinButton* Button() const { return m_button; }

    platform::Rect ButtonRect() const override;
    void Loaded() override;

protected:
    void CreateParams(toolkit::TCreateParams& params) override;
    void SkinCommand(toolkit::TMessage& message) override;
    void SkinnedWndProc(toolkit::TMessage& message) override;
    void PaintButtons(platform::DeviceContext& dc) override;
    void UpdateFormatRect() override;

private:
    friend class TsSpinButton;
    void PlaceButton();
    // Ends both halves' fades and repaints them on the edit's face; clearHot also takes their
    // hot look off.
    void RefreshButtons(bool clearHot = false);

    std::unique_ptr<TsEditSkin> m_skin;
    TsSpinButton* m_button = nullptr; // a child control, freed with the spin edit's children
};

class TsSpinEdit : public TsBaseSpinEdit {
public:
    using TsBaseSpinEdit::TsBaseSpinEdit;
    std::string ClassName() const override { return "TsSpinEdit"; }
};

} // namespace skinned
