#pragma once
// The value model that both spin edits (the skinned TsSpinEdit and the plain TSpinEdit) own and
// drive. The control keeps caret and selection; the model keeps the text, which is the only
// storage of the number, and decides what keys, steps, the wheel and focus changes do to it.
//
// - Value reads the text by the integer rules of toolkit/IntText.h; empty or unparsable text
//   reads as MinValue. The result is not clamped.
// - Limits are in force only while MinValue != MaxValue; writes of Value are clamped then.
// - OnChange runs exactly when the text changes, while the change is being made (before the
//   operation that caused it returns). The new text is already in place when it runs, and the
//   model holds no other state, so a handler may read and write Value, which nests a further
//   change; the operation that started it then ends without touching the text again. A handler
//   may also replace or clear OnChange while it runs. Changes made while no handler is set (a
//   control being built) reach nobody.
// - Stepping wraps around in 32 bits: MaxInt + 1 gives MinInt. There is no overflow error, since
//   a spin edit without limits has no number it could refuse.
// - Refused characters and steps of a read-only edit sound the beep hook (the control installs
//   the system beep; without one the refusal is silent).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace toolkit {

// Which characters typing may bring in: the skinned edit takes digits only, the standard one
// also signs and the decimal separator.
enum class SpinCharFilter { Skinned, Standard };

class TSpinEditModel {
public:
    static constexpr int kVkUp = 38;
    static constexpr int kVkDown = 40;
    static constexpr int kWheelDelta = 120;

    explicit TSpinEditModel(SpinCharFilter filter = SpinCharFilter::Skinned,
                            std::string text = "0");

    const std::string& Text() const { return m_text; }
    // Typing, deleting or a program setting the text: notifies when the text differs.
    void SetText(std::string_view text);

    std::int32_t Value() const;
    void SetValue(std::int32_t value);

    std::int32_t MinValue() const { return m_minValue; }
    void SetMinValue(std::int32_t value) { m_minValue = value; }
    std::int32_t MaxValue() const { return m_maxValue; }
    void SetMaxValue(std::int32_t value) { m_maxValue = value; }
    std::int32_t Increment() const { return m_increment; }
    void SetIncrement(std::int32_t value) { m_increment = value; }
    bool EditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool enabled) { m_editorEnabled = enabled; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool LimitsInForce() const { return m_minValue != m_maxValue; }

    SpinCharFilter Filter() const { return m_filter; }
    // The standard filter's decimal separator (the system's; "." unless the control says
    // otherwise).
    void SetDecimalSeparator(char32_t separator) { m_decimalSeparator = separator; }

    void SetOnChange(std::function<void()> handler) { m_onChange = std::move(handler); }
    void SetBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    // Value +/- Increment, or only a beep when ReadOnly.
    void StepUp();
    void StepDown();
    // Arrow keys step; the control passes every key on to its normal handling afterwards.
    void KeyDown(int virtualKey);
    // A typed character (code point). Returns whether the control may insert it; a refused
    // character has already beeped.
    bool KeyPress(char32_t ch);
    // Whether paste and cut may reach the text at all.
    bool CanPasteOrCut() const { return m_editorEnabled && !m_readOnly; }
    // The text a paste or cut would leave, applied only when allowed. Returns whether it was.
    bool PasteOrCut(std::string_view resultingText);
    // A wheel message of the skinned edit: delta is the signed 16-bit wheel distance; a whole
    // notch (120) is one Increment, the division truncating toward zero.
    void Wheel(std::int16_t delta);
    // The focus moved away: a value outside limits in force is written back clamped.
    void FocusLeft();

private:
    std::int32_t Clamped(std::int32_t value) const;
    void Beep() const;

    SpinCharFilter m_filter;
    std::string m_text;
    std::int32_t m_minValue = 0;
    std::int32_t m_maxValue = 0;
    std::int32_t m_increment = 1;
    bool m_editorEnabled = true;
    bool m_readOnly = false;
    char32_t m_decimalSeparator = U'.';
    std::function<void()> m_onChange;
    std::function<void()> m_beep;
};

} // namespace toolkit
