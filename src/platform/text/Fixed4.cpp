#include "platform/text/Fixed4.h"

#include "platform/text/NumberText.h"

#include <cmath>
#include <limits>

namespace kv::text {

namespace {

std::string rangeMessage(double value)
{
    const QString shown = std::isfinite(value) ? plain(value) : QStringLiteral("não numérico");
    return QStringLiteral("Valor fora do intervalo dos totais: %1").arg(shown).toStdString();
}

} // namespace

Fixed4Error::Fixed4Error(double value) : std::range_error(rangeMessage(value)) {}

Fixed4 Fixed4::fromDouble(double value)
{
    if (!std::isfinite(value))
        throw Fixed4Error(value);
    if (value == 0.0)
        return {};
    // value = mantissa x 2^exponent exactly; work on mantissa x 10000 in 128
    // bits so that the product is exact and an exact half is seen as such.
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent); // [0.5, 1)
    const auto mantissa = static_cast<unsigned __int128>(std::ldexp(fraction, 53));
    exponent -= 53;
    const unsigned __int128 product = mantissa * static_cast<unsigned __int128>(kScale);
    unsigned __int128 result = 0;
    if (exponent >= 0) {
        if (exponent > 60)
            throw Fixed4Error(value);
        result = product << exponent;
    } else if (exponent > -120) {
        const int shift = -exponent;
        const unsigned __int128 one = 1;
        result = product >> shift;
        const unsigned __int128 rest = product & ((one << shift) - 1);
        const unsigned __int128 half = one << (shift - 1);
        if (rest > half || (rest == half && (result & 1) != 0))
            ++result;
    } // else: far below 1/10000, rounds to 0
    if (result > static_cast<unsigned __int128>(std::numeric_limits<qint64>::max()))
        throw Fixed4Error(value);
    const auto magnitude = static_cast<qint64>(result);
    return fromRaw(value < 0 ? -magnitude : magnitude);
}

Fixed4& Fixed4::operator+=(Fixed4 other)
{
    qint64 sum = 0;
    if (__builtin_add_overflow(m_raw, other.m_raw, &sum))
        throw Fixed4Error(toDouble() + other.toDouble());
    m_raw = sum;
    return *this;
}

Fixed4& Fixed4::operator-=(Fixed4 other)
{
    qint64 difference = 0;
    if (__builtin_sub_overflow(m_raw, other.m_raw, &difference))
        throw Fixed4Error(toDouble() - other.toDouble());
    m_raw = difference;
    return *this;
}

} // namespace kv::text
