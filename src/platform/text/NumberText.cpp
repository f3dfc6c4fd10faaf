#include "platform/text/NumberText.h"

#include "platform/text/DecimalDigits.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace kv::text {

namespace {

const QChar kDecimal(u',');
const QChar kGroup(u'.');

DecimalDigits rounded(double value, int decimals, int precision)
{
    DecimalDigits d = DecimalDigits::expand(value);
    d.roundAt(decimals, precision);
    return d;
}

} // namespace

QString money(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    decimals = qBound(0, decimals, 18);
    return rounded(value, decimals, 18).fixedText(decimals, kDecimal, kGroup) + QStringLiteral(" €");
}

QString number(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    decimals = qBound(0, decimals, 18);
    return rounded(value, decimals, 18).fixedText(decimals, kDecimal, kGroup);
}

QString fixed(double value, int decimals, int precision)
{
    if (!std::isfinite(value))
        return {};
    decimals = qBound(0, decimals, 18);
    return rounded(value, decimals, qBound(1, precision, 18)).fixedText(decimals, kDecimal);
}

QString plain(double value)
{
    if (!std::isfinite(value))
        return {};
    const int precision = 15;
    const DecimalDigits d = rounded(value, INT_MAX / 2, precision);
    if (d.isZero())
        return QStringLiteral("0");
    QString out = d.isNegative() ? QStringLiteral("-") : QString();
    const std::string& digits = d.digits();
    if (d.point() > precision || d.point() < -4) {
        out.append(QLatin1Char(digits[0]));
        if (digits.size() > 1)
            out.append(kDecimal).append(QString::fromLatin1(digits.substr(1)));
        return out + QStringLiteral("E%1").arg(d.point() - 1);
    }
    const std::string whole = d.integerDigits();
    out.append(whole.empty() ? QStringLiteral("0") : QString::fromLatin1(whole));
    const int fractionLength = static_cast<int>(digits.size()) - d.point();
    if (fractionLength > 0)
        out.append(kDecimal).append(QString::fromLatin1(d.fractionDigits(fractionLength)));
    return out;
}

QString percent(double value)
{
    const QString text = plain(value);
    return text.isEmpty() ? text : text + QStringLiteral(" %");
}

namespace {

struct FormatToken {
    enum Kind { Zero, Hash, Point, Literal } kind;
    QString text;
};

struct FormatSection {
    std::vector<FormatToken> tokens;
    bool grouping = false;
    int integerPlaces = 0; // placeholders before the point
    int minInteger = 0; // from the first "0" before the point onwards
    int maxFraction = 0;
    int minFraction = 0; // up to the last "0" after the point
};

FormatSection parseSection(const QString& text)
{
    FormatSection s;
    bool afterPoint = false;
    bool seenZero = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"' || c == u'\'') {
            const int end = text.indexOf(c, i + 1);
            const int stop = end < 0 ? text.size() : end;
            s.tokens.push_back({FormatToken::Literal, text.mid(i + 1, stop - i - 1)});
            i = stop;
        } else if (c == u'0' || c == u'#') {
            s.tokens.push_back({c == u'0' ? FormatToken::Zero : FormatToken::Hash, {}});
            if (afterPoint) {
                ++s.maxFraction;
                if (c == u'0')
                    s.minFraction = s.maxFraction;
            } else {
                ++s.integerPlaces;
                if (c == u'0')
                    seenZero = true;
                if (seenZero)
                    ++s.minInteger;
            }
        } else if (c == u'.' && !afterPoint) {
            afterPoint = true;
            s.tokens.push_back({FormatToken::Point, {}});
        } else if (c == u',' && !afterPoint) {
            s.grouping = true;
        } else {
            s.tokens.push_back({FormatToken::Literal, QString(c)});
        }
    }
    return s;
}

QString applySection(const FormatSection& s, const DecimalDigits& d)
{
    std::string whole = d.integerDigits();
    if (static_cast<int>(whole.size()) < s.minInteger)
        whole.insert(0, static_cast<std::size_t>(s.minInteger) - whole.size(), '0');
    std::string fraction = d.fractionDigits(s.maxFraction);
    while (static_cast<int>(fraction.size()) > s.minFraction && fraction.back() == '0')
        fraction.pop_back();

    // Integer digits fill the placeholders from the right; the first one
    // takes whatever does not fit, and grouping is written there in one piece.
    QString out;
    int placeholder = 0;
    int fractionIndex = 0;
    bool pastPoint = false;
    const int spare = static_cast<int>(whole.size()) - s.integerPlaces;
    for (const FormatToken& t : s.tokens) {
        switch (t.kind) {
        case FormatToken::Literal: out.append(t.text); break;
        case FormatToken::Point:
            pastPoint = true;
            if (!fraction.empty())
                out.append(kDecimal);
            break;
        case FormatToken::Zero:
        case FormatToken::Hash:
            if (pastPoint) {
                if (fractionIndex < static_cast<int>(fraction.size()))
                    out.append(QLatin1Char(fraction[static_cast<std::size_t>(fractionIndex)]));
                ++fractionIndex;
            } else if (s.grouping) {
                if (placeholder++ == 0)
                    out.append(groupThousands(whole, kGroup));
            } else {
                const int first = placeholder == 0 ? 0 : spare + placeholder;
                const int last = spare + placeholder + 1;
                for (int i = std::max(first, 0); i < last; ++i)
                    out.append(QLatin1Char(whole[static_cast<std::size_t>(i)]));
                ++placeholder;
            }
            break;
        }
    }
    return out;
}

} // namespace

QString formatted(double value, const QString& format)
{
    if (!std::isfinite(value))
        return {};
    if (format.isEmpty())
        return plain(value);
    // Split on ";" outside quotes.
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.append(current);
            current.clear();
            continue;
        }
        current.append(c);
    }
    sections.append(current);

    FormatSection positive = parseSection(sections[0]);
    DecimalDigits d = DecimalDigits::expand(value);
    d.roundAt(positive.maxFraction, 18);
    if (d.isZero() && sections.size() > 2 && !sections[2].isEmpty()) {
        const FormatSection zero = parseSection(sections[2]);
        return applySection(zero, DecimalDigits::expand(0.0));
    }
    if (d.isNegative() && sections.size() > 1 && !sections[1].isEmpty()) {
        const FormatSection negative = parseSection(sections[1]);
        DecimalDigits n = DecimalDigits::expand(std::fabs(value));
        n.roundAt(negative.maxFraction, 18);
        return applySection(negative, n);
    }
    const QString text = applySection(positive, d);
    return d.isNegative() ? QStringLiteral("-") + text : text;
}

namespace {

QString hoursAndMinutes(long long hours, long long minutes, bool negative)
{
    return QStringLiteral("%1%2:%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'));
}

constexpr double kLargestTime = 1e15; // well inside a 64-bit count of minutes

} // namespace

QString minutesText(double minutes)
{
    if (!std::isfinite(minutes) || std::fabs(minutes) > kLargestTime)
        return {};
    const long long whole = static_cast<long long>(std::trunc(std::fabs(minutes)));
    return hoursAndMinutes(whole / 60, whole % 60, minutes < 0 && whole != 0);
}

QString hoursMinutesText(double hoursDotMinutes)
{
    if (!std::isfinite(hoursDotMinutes) || std::fabs(hoursDotMinutes) > kLargestTime)
        return {};
    // Read the two decimals as written (12.45 is 12.4499... in binary).
    const long long hundredths = std::llround(std::fabs(hoursDotMinutes) * 100.0);
    return hoursAndMinutes(hundredths / 100, hundredths % 100, hoursDotMinutes < 0 && hundredths != 0);
}

namespace {

bool allDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (const QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// "1.234.567" -> "1234567" when the groups are well formed.
std::optional<QString> ungroup(const QString& s)
{
    const QStringList groups = s.split(kGroup);
    for (int i = 0; i < groups.size(); ++i) {
        const QString& g = groups[i];
        if (!allDigits(g) || (i == 0 ? g.size() > 3 : g.size() != 3))
            return std::nullopt;
    }
    return groups.join(QString());
}

} // namespace

std::optional<double> parseNumber(const QString& text)
{
    QString s = text.trimmed();
    QString sign;
    if (s.startsWith(u'-') || s.startsWith(u'+')) {
        sign = s.left(1) == QStringLiteral("-") ? QStringLiteral("-") : QString();
        s = s.mid(1);
    }
    QString exponent;
    const int e = std::max(s.indexOf(u'e'), s.indexOf(u'E'));
    if (e >= 0) {
        exponent = s.mid(e + 1);
        s = s.left(e);
        QString digits = exponent;
        if (digits.startsWith(u'-') || digits.startsWith(u'+'))
            digits = digits.mid(1);
        if (!allDigits(digits))
            return std::nullopt;
    }
    QString whole;
    QString fraction;
    const int commas = s.count(kDecimal);
    const int dots = s.count(kGroup);
    if (commas > 1)
        return std::nullopt;
    if (commas == 1) {
        const int at = s.indexOf(kDecimal);
        whole = s.left(at);
        fraction = s.mid(at + 1);
        if (dots > 0) {
            const auto plainWhole = ungroup(whole);
            if (!plainWhole)
                return std::nullopt;
            whole = *plainWhole;
        }
    } else if (dots == 1) {
        const int at = s.indexOf(kGroup);
        whole = s.left(at);
        fraction = s.mid(at + 1);
    } else if (dots > 1) {
        const auto plainWhole = ungroup(s);
        if (!plainWhole)
            return std::nullopt;
        whole = *plainWhole;
    } else {
        whole = s;
    }
    if ((whole.isEmpty() && fraction.isEmpty()) || (!whole.isEmpty() && !allDigits(whole))
        || (!fraction.isEmpty() && !allDigits(fraction)))
        return std::nullopt;
    const std::string normal = (sign + (whole.isEmpty() ? QStringLiteral("0") : whole)
                                + (fraction.isEmpty() ? QString() : QStringLiteral(".") + fraction)
                                + (exponent.isEmpty() ? QString() : QStringLiteral("e") + exponent))
                                   .toStdString();
    double value = 0.0;
    const auto res = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (res.ec != std::errc() || res.ptr != normal.data() + normal.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint64> parseInteger(const QString& text)
{
    const std::string s = text.trimmed().toStdString();
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first < last && *first == '+' && first + 1 < last && first[1] != '-')
        ++first;
    if (first == last || (*first == '-' && first + 1 == last))
        return std::nullopt;
    qint64 value = 0;
    const auto res = std::from_chars(first, last, value);
    if (res.ec != std::errc() || res.ptr != last)
        return std::nullopt;
    return value;
}

QString notANumberMessage(const QString& text) { return QStringLiteral("\"%1\" não é um número válido.").arg(text); }

QString notAnIntegerMessage(const QString& text)
{
    return QStringLiteral("\"%1\" não é um número inteiro válido.").arg(text);
}

} // namespace kv::text
