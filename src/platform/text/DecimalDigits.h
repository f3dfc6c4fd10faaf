#pragma once

#include <QChar>
#include <QString>
#include <string>

namespace kv::text {

// A finite double written as decimal digits: value = ±0.d1d2d3... x 10^point.
// Every number text of the system and the decimal rounding go through it, so
// a value is rounded the same way on a screen, on a report and in a stored row.
class DecimalDigits {
public:
    // The exact value of `value` taken to `significant` decimal digits, the
    // last one rounded to nearest. Not for NaN or infinities.
    static DecimalDigits expand(double value, int significant = 18);

    // Rounds once, half away from zero, at the given decimal place or at the
    // `precision`-th significant digit, whichever comes first.
    void roundAt(int decimals, int precision);

    bool isZero() const { return m_digits.empty(); }
    bool isNegative() const { return m_negative && !isZero(); }
    const std::string& digits() const { return m_digits; }
    int point() const { return m_point; } // digits before the decimal point (may be <= 0)

    // Digits of the integer part ("" when it is 0) and the first `count`
    // digits after the point (zero-filled).
    std::string integerDigits() const;
    std::string fractionDigits(int count) const;

    // Fixed-point text with `decimals` decimals; `group` separates thousands
    // when not null. A value that rounded to zero has no sign.
    QString fixedText(int decimals, QChar decimalSeparator, QChar group = QChar()) const;

    // The nearest double to the digits.
    double toDouble() const;

private:
    bool m_negative = false;
    std::string m_digits; // no leading or trailing zeros; empty for zero
    int m_point = 0;
    void trim();
};

// Inserts `group` between every three digits counted from the right.
QString groupThousands(const std::string& digits, QChar group);

} // namespace kv::text
