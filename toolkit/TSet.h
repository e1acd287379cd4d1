#pragma once
// A small set of the values of an enum class whose values are 0 ... 31 (the toolkit's
// "set of" properties: component state, control style, border icons, font style, shift state).

#include <cstdint>
#include <initializer_list>

namespace toolkit {

template <class E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items)
            m_bits |= Bit(e);
    }

    constexpr bool Contains(E e) const { return (m_bits & Bit(e)) != 0; }
    constexpr bool Empty() const { return m_bits == 0; }
    constexpr TSet& Include(E e) {
        m_bits |= Bit(e);
        return *this;
    }
    constexpr TSet& Exclude(E e) {
        m_bits &= ~Bit(e);
        return *this;
    }
    constexpr TSet& Set(E e, bool on) { return on ? Include(e) : Exclude(e); }
    constexpr std::uint32_t Bits() const { return m_bits; }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.m_bits | b.m_bits); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.m_bits & ~b.m_bits); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.m_bits & b.m_bits); }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr std::uint32_t Bit(E e) { return std::uint32_t{1} << static_cast<int>(e); }
    static constexpr TSet FromBits(std::uint32_t bits) {
        TSet s;
        s.m_bits = bits;
        return s;
    }
    std::uint32_t m_bits = 0;
};

} // namespace toolkit
