#pragma once
// The plain spin edit: a one-line edit holding a whole number, with a pair of small up/down
// buttons drawn at the right edge of its client area.
//
// The edit's text is the only storage of the number. A TSpinEditModel does the arithmetic and
// the key filtering; it mirrors the edit's text (every change of the edit's text is handed to it
// before OnChange runs) and every change it makes is written back through the edit's SetText, so
// OnChange runs once per actual change of the text, whatever the cause.
//
// - Value reads the text (empty or unparsable: MinValue, never clamped); writing it clamps to the
//   limits when MinValue != MaxValue and does nothing when the text would stay the same.
// - Typing: "+", "-", digits, the decimal separator of the user's locale (platform::
//   DecimalSeparator) and control characters other than Enter;
//   anything else is dropped with the system beep. With EditorEnabled false nothing can be
//   typed, deleted, pasted or cut; the buttons and arrow keys still step. ReadOnly (inherited)
//   blocks every change by the user, and a step then only beeps.
// - Up/Down arrow keys step by Increment, then move the caret as in any edit.
// - The button pair is kButtonWidth x kButtonHeight pixels (client coordinates, top right;
//   shorter when the client area is): a press moves the focus to the edit, and releasing it
//   over the same half steps once, up for the upper half, down for the lower one. Holding
//   repeats the step after kFirstRepeatMs, then every kRepeatMs, while the mouse stays captured
//   and over the pressed half.
// - When the focus leaves, a value outside limits in force is written back clamped.
// - A new spin edit shows "0".

#include <cstdint>

#include "toolkit/TCustomEdit.h"
#include "toolkit/TSpinEditModel.h"

namespace toolkit {

class TSpinEdit : public TCustomEdit {
public:
    static constexpr int kButtonWidth = 15;
    static constexpr int kButtonHeight = 17;
    static constexpr unsigned kFirstRepeatMs = 400;
    static constexpr unsigned kRepeatMs = 100;

    enum class SpinButton { None, Up, Down };

    explicit TSpinEdit(TComponent* owner);
    ~TSpinEdit() override;

    std::string ClassName() const override { return "TSpinEdit"; }

    std::int32_t Value() const;
    void SetValue(std::int32_t value);
    std::int32_t MinValue() const { return m_model.MinValue(); }
    void SetMinValue(std::int32_t value) { m_model.SetMinValue(value); }
    std::int32_t MaxValue() const { return m_model.MaxValue(); }
    void SetMaxValue(std::int32_t value) { m_model.SetMaxValue(value); }
    std::int32_t Increment() const { return m_model.Increment(); }
    void SetIncrement(std::int32_t value) { m_model.SetIncrement(value); }
    bool EditorEnabled() const { return m_model.EditorEnabled(); }
    void SetEditorEnabled(bool enabled) { m_model.SetEditorEnabled(enabled); }

    // One step as the buttons and arrow keys make it (only a beep when ReadOnly).
    void StepUp();
    void StepDown();

    // ---- state for painting ----
    // The whole pair and its halves, client coordinates.
    virtual platform::Rect ButtonRect() const;
    platform::Rect UpButtonRect() const;
    platform::Rect DownButtonRect() const;
    // The half held down by the mouse, and whether it is drawn pressed (the mouse is over it).
    SpinButton HeldButton() const { return m_held; }
    bool HeldShownPressed() const { return m_heldShownPressed; }

    void WndProc(TMessage& message) override;

protected:
    // For descendants with another typing rule (the skinned spin edit takes digits only).
    TSpinEdit(TComponent* owner, SpinCharFilter filter);
    // A wheel turn as the model counts it (a whole notch of 120 is one Increment), for
    // descendants that step on the wheel.
    void Wheel(std::int16_t delta);

    void KeyDown(platform::WORD& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void Change() override;
    bool CanEdit() const override;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    void Paint() override;
    // The button pair, drawn after the text so the text never shows under it.
    virtual void PaintButtons(platform::DeviceContext& dc);
    // Lays the text out beside the buttons (on creation and every size change).
    virtual void UpdateFormatRect();

private:
    // Runs a model operation on the current text and writes its result back to the edit.
    template <class Operation> void ThroughModel(Operation operation);
    SpinButton ButtonAt(int x, int y) const;
    void Step(SpinButton button);
    void ReleaseButton();
    void RepeatTick();

    TSpinEditModel m_model;
    SpinButton m_held = SpinButton::None;
    bool m_heldShownPressed = false;
    bool m_timerRunning = false;
    bool m_firstRepeatDone = false;
};

} // namespace toolkit
