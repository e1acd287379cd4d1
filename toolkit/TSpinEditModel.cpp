#include "toolkit/TSpinEditModel.h"

#include "toolkit/Int32.h"
#include "toolkit/IntText.h"

namespace toolkit {
namespace {

constexpr char32_t kBackspace = 8;
constexpr char32_t kEnter = 13;

bool IsDigit(char32_t ch) {
    return ch >= U'0' && ch <= U'9';
}

} // namespace

TSpinEditModel::TSpinEditModel(SpinCharFilter filter, std::string text)
    : m_filter(filter), m_text(std::move(text)) {}

void TSpinEditModel::SetText(std::string_view text) {
    if (text == m_text)
        return;
    m_text.assign(text);
    // A copy, so that a handler replacing OnChange does not destroy the function it runs in.
    if (auto handler = m_onChange)
        handler();
}

std::int32_t TSpinEditModel::Value() const {
    return TryStrToInt(m_text).value_or(m_minValue);
}

std::int32_t TSpinEditModel::Clamped(std::int32_t value) const {
    if (!LimitsInForce())
        return value;
    if (value < m_minValue)
        return m_minValue;
    if (value > m_maxValue)
        return m_maxValue;
    return value;
}

void TSpinEditModel::SetValue(std::int32_t value) {
    SetText(IntToStr(Clamped(value)));
}

void TSpinEditModel::Beep() const {
    if (m_beep)
        m_beep();
}

void TSpinEditModel::StepUp() {
    if (m_readOnly)
        return Beep();
    SetValue(int32::Add(Value(), m_increment));
}

void TSpinEditModel::StepDown() {
    if (m_readOnly)
        return Beep();
    SetValue(int32::Sub(Value(), m_increment));
}

void TSpinEditModel::KeyDown(int virtualKey) {
    if (virtualKey == kVkUp)
        StepUp();
    else if (virtualKey == kVkDown)
        StepDown();
}

bool TSpinEditModel::KeyPress(char32_t ch) {
    bool valid = IsDigit(ch) || (ch < 32 && ch != kEnter);
    if (m_filter == SpinCharFilter::Standard)
        valid = valid || ch == U'+' || ch == U'-' || ch == m_decimalSeparator;
    if (!m_editorEnabled && (ch >= 32 || ch == kBackspace))
        valid = false;
    if (!valid)
        Beep();
    return valid;
}

bool TSpinEditModel::PasteOrCut(std::string_view resultingText) {
    if (!CanPasteOrCut())
        return false;
    SetText(resultingText);
    return true;
}

void TSpinEditModel::Wheel(std::int16_t delta) {
    // |delta div 120| <= 273, so only the product with Increment needs wrapping.
    const std::int32_t notches = delta / kWheelDelta;
    SetValue(int32::Add(Value(), int32::Mul(notches, m_increment)));
}

void TSpinEditModel::FocusLeft() {
    const std::int32_t value = Value();
    if (Clamped(value) != value)
        SetValue(value);
}

} // namespace toolkit
