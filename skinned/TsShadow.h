#pragma once
// The options of an effect label (TsLabelFX): TsShadow says where the drop shadow's colour, blur
// passes and distance come from, TsKind where the text colour comes from. Both belong to their
// label (a non-owning reference) and invalidate it whenever a setter changes a value; setting the
// value already held does nothing. Colours are toolkit colours (red in the low byte).
//
// A negative BlurCount is taken as 0: a shadow cannot be blurred a negative number of times. A
// negative Distance casts the shadow left and up; Distance is held to −64 … 64, as a skin's is.

#include <cstdint>

#include "toolkit/Colors.h"

namespace toolkit {
class TControl;
}

namespace skinned {

inline constexpr std::int32_t kMaxShadowDistance = 64;

enum class TsShadowMode { smNone, smCustom, smSkin1 };
using enum TsShadowMode;

enum class TsKindType { ktStandard, ktCustom, ktSkin };
using enum TsKindType;

// The colour value that means "no shadow colour".
inline constexpr toolkit::TColor kNoShadowColor = 536870911;

class TsShadow {
public:
    explicit TsShadow(toolkit::TControl* owner) : m_owner(owner) { StoreBytes(m_color); }

    TsShadowMode Mode() const { return m_mode; }
    void SetMode(TsShadowMode mode);
    toolkit::TColor Color() const { return m_color; }
    void SetColor(toolkit::TColor color);
    std::int32_t BlurCount() const { return m_blurCount; }
    void SetBlurCount(std::int32_t count);
    std::int32_t Distance() const { return m_distance; }
    void SetDistance(std::int32_t distance);

    // The red, green and blue bytes of the colour last in use (refreshed by the label's paint).
    std::uint8_t R() const { return m_r; }
    std::uint8_t G() const { return m_g; }
    std::uint8_t B() const { return m_b; }
    void StoreBytes(toolkit::TColor color);

private:
    void Changed();

    toolkit::TControl* m_owner;
    TsShadowMode m_mode = smSkin1;
    toolkit::TColor m_color = 0;
    std::int32_t m_blurCount = 4;
    std::int32_t m_distance = 1;
    std::uint8_t m_r = 0, m_g = 0, m_b = 0;
};

class TsKind {
public:
    explicit TsKind(toolkit::TControl* owner) : m_owner(owner) {}

    TsKindType KindType() const { return m_kindType; }
    void SetKindType(TsKindType kind);
    toolkit::TColor Color() const { return m_color; }
    void SetColor(toolkit::TColor color);

private:
    toolkit::TControl* m_owner;
    TsKindType m_kindType = ktSkin;
    toolkit::TColor m_color = 16777215;
};

} // namespace skinned
