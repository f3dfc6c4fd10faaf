#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// Number text of the system, Portuguese (Portugal): "," before the decimals,
// "." between thousands, money followed by " €". Every text is rounded once,
// half away from zero, on the value's 18-digit decimal expansion (as the
// decimal rounding does), so a screen, a report and a stored row agree.
// A value that rounds to zero is written without a sign; NaN and infinities
// give an empty text.
namespace kv::text {

// Money in the currency format, precision 18: money(1234.5, 2) == "1.234,50 €".
QString money(double value, int decimals);

// Number with thousands separators, precision 18: number(1234.5, 3) == "1.234,500".
QString number(double value, int decimals);

// Fixed-point number without separators, rounded at `decimals` or at the
// `precision`-th significant digit: fixed(12.5, 2) == "12,50".
QString fixed(double value, int decimals, int precision = 15);

// Plain number text: up to 15 significant digits, no trailing zeros, the
// exponent form "1,5E20" for very large or very small values: plain(12.5) == "12,5".
QString plain(double value);

// A percentage as plain number text followed by " %": percent(12.5) == "12,5 %".
QString percent(double value);

// A display format of digit placeholders: "0" always a digit, "#" a digit
// when there is one, "." the decimal point, "," thousands grouping, quoted
// text kept as it stands; up to three sections "positive;negative;zero" (a
// negative section carries its own sign, e.g. parentheses). An empty format
// gives plain().
QString formatted(double value, const QString& format);

// A number of minutes as hours and minutes "hh:mm" (hours at least two
// digits): 90 -> "01:30". Only whole minutes count.
QString minutesText(double minutes);

// A stored time in the h.mm form (minutes as hundredths) as "hh:mm":
// 1.5 -> "01:50", 12.45 -> "12:45".
QString hoursMinutesText(double hoursDotMinutes);

// A typed number: "," or "." before the decimals, "." between thousands
// when a "," follows; an optional sign and exponent; blanks around ignored.
std::optional<double> parseNumber(const QString& text);
// A typed whole number (digits with an optional sign).
std::optional<qint64> parseInteger(const QString& text);

// The messages a form shows when a typed text cannot be read.
QString notANumberMessage(const QString& text);
QString notAnIntegerMessage(const QString& text);

} // namespace kv::text
