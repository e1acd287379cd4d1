#include "skinned/TsShadow.h"

#include <algorithm>

#include "toolkit/TControl.h"

namespace skinned {

void TsShadow::Changed() {
    if (m_owner)
        m_owner->Invalidate();
}

void TsShadow::SetMode(TsShadowMode mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    Changed();
}

void TsShadow::SetColor(toolkit::TColor color) {
    if (color == m_color)
        return;
    m_color = color;
    StoreBytes(color);
    Changed();
}

void TsShadow::SetBlurCount(std::int32_t count) {
    count = std::max(count, 0);
    if (count == m_blurCount)
        return;
    m_blurCount = count;
    Changed();
}

void TsShadow::SetDistance(std::int32_t distance) {
    distance = std::clamp(distance, -kMaxShadowDistance, kMaxShadowDistance);
    if (distance == m_distance)
        return;
    m_distance = distance;
    Changed();
}

void TsShadow::StoreBytes(toolkit::TColor color) {
    const platform::Color rgb = toolkit::ColorToRGB(color);
    m_r = static_cast<std::uint8_t>(rgb & 0xFF);
    m_g = static_cast<std::uint8_t>((rgb >> 8) & 0xFF);
    m_b = static_cast<std::uint8_t>((rgb >> 16) & 0xFF);
}

void TsKind::SetKindType(TsKindType kind) {
    if (kind == m_kindType)
        return;
    m_kindType = kind;
    if (m_owner)
        m_owner->Invalidate();
}

void TsKind::SetColor(toolkit::TColor color) {
    if (color == m_color)
        return;
    m_color = color;
    if (m_owner)
        m_owner->Invalidate();
}

} // namespace skinned
