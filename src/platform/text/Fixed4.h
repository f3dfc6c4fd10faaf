#pragma once

#include <QString>
#include <QtGlobal>
#include <stdexcept>

namespace kv::text {

// Raised when an amount does not fit the 4-decimal fixed point (about
// ±922 337 203 685 477) or is not a number; text() is the Portuguese message.
class Fixed4Error : public std::range_error {
public:
    explicit Fixed4Error(double value);
    QString text() const { return QString::fromUtf8(what()); }
};

// The 4-decimal fixed point: an amount held as a 64-bit integer of value
// x 10000, so that totals over many rows add up exactly (0.1 + 0.2 + 0.3 is
// exactly 0.6). A double becomes the nearest integer of its exact value
// x 10000, an exact half going to the even integer.
class Fixed4 {
public:
    static constexpr qint64 kScale = 10000;

    constexpr Fixed4() = default;
    static Fixed4 fromDouble(double value); // throws Fixed4Error
    static constexpr Fixed4 fromRaw(qint64 raw)
    {
        Fixed4 f;
        f.m_raw = raw;
        return f;
    }

    constexpr qint64 raw() const { return m_raw; }
    double toDouble() const { return static_cast<double>(m_raw) / static_cast<double>(kScale); }

    // Sums stay exact; an overflowing sum throws Fixed4Error.
    Fixed4& operator+=(Fixed4 other);
    Fixed4& operator-=(Fixed4 other);
    friend Fixed4 operator+(Fixed4 a, Fixed4 b) { return a += b; }
    friend Fixed4 operator-(Fixed4 a, Fixed4 b) { return a -= b; }
    // An amount divided by a quantity, back in fixed point (a unit price from
    // a summed value); a division by zero throws Fixed4Error.
    friend Fixed4 operator/(Fixed4 a, double divisor) { return fromDouble(a.toDouble() / divisor); }

    friend constexpr bool operator==(Fixed4 a, Fixed4 b) { return a.m_raw == b.m_raw; }
    friend constexpr auto operator<=>(Fixed4 a, Fixed4 b) { return a.m_raw <=> b.m_raw; }

private:
    qint64 m_raw = 0;
};

} // namespace kv::text
