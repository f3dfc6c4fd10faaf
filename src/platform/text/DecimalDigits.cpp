#include "platform/text/DecimalDigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kv::text {

DecimalDigits DecimalDigits::expand(double value, int significant)
{
    DecimalDigits d;
    d.m_negative = std::signbit(value);
    if (value == 0.0 || !std::isfinite(value))
        return d;
    // to_chars gives the correctly rounded expansion "d.ddd...e±xx".
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                   std::clamp(significant, 1, 40) - 1);
    const std::string text(buf, res.ptr);
    const auto e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            d.m_digits.push_back(text[i]);
    d.m_point = std::atoi(text.c_str() + e + 1) + 1;
    d.trim();
    return d;
}

void DecimalDigits::trim()
{
    while (!m_digits.empty() && m_digits.back() == '0')
        m_digits.pop_back();
    if (m_digits.empty())
        m_point = 0;
}

void DecimalDigits::roundAt(int decimals, int precision)
{
    if (m_digits.empty())
        return;
    const long keep = std::min<long>(static_cast<long>(m_point) + decimals, precision);
    if (keep >= static_cast<long>(m_digits.size()))
        return;
    if (keep < 0) {
        m_digits.clear();
        trim();
        return;
    }
    const bool up = m_digits[static_cast<std::size_t>(keep)] >= '5';
    m_digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        auto pos = m_digits.size();
        while (pos > 0 && m_digits[pos - 1] == '9')
            m_digits[--pos] = '0';
        if (pos == 0) {
            m_digits.insert(m_digits.begin(), '1');
            ++m_point;
        } else {
            ++m_digits[pos - 1];
        }
    }
    trim();
}

std::string DecimalDigits::integerDigits() const
{
    if (m_point <= 0)
        return {};
    std::string out = m_digits.substr(0, static_cast<std::size_t>(m_point));
    out.resize(static_cast<std::size_t>(m_point), '0');
    return out;
}

std::string DecimalDigits::fractionDigits(int count) const
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        const long index = static_cast<long>(m_point) + i;
        out.push_back(
            index >= 0 && index < static_cast<long>(m_digits.size()) ? m_digits[static_cast<std::size_t>(index)] : '0');
    }
    return out;
}

QString groupThousands(const std::string& digits, QChar group)
{
    QString out;
    out.reserve(static_cast<int>(digits.size() + digits.size() / 3));
    const auto n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0 && !group.isNull())
            out.append(group);
        out.append(QLatin1Char(digits[i]));
    }
    return out;
}

QString DecimalDigits::fixedText(int decimals, QChar decimalSeparator, QChar group) const
{
    const std::string whole = integerDigits();
    QString out;
    if (isNegative())
        out.append(QLatin1Char('-'));
    if (whole.empty())
        out.append(QLatin1Char('0'));
    else
        out.append(groupThousands(whole, group));
    if (decimals > 0) {
        out.append(decimalSeparator);
        out.append(QString::fromLatin1(fractionDigits(decimals)));
    }
    return out;
}

double DecimalDigits::toDouble() const
{
    if (m_digits.empty())
        return 0.0;
    const std::string text = m_digits + "e" + std::to_string(m_point - static_cast<long>(m_digits.size()));
    double value = 0.0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range) // beyond the double range either way
        value = m_point > 0 ? HUGE_VAL : 0.0;
    return m_negative ? -value : value;
}

} // namespace kv::text
