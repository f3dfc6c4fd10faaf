#include "platform/text/DateText.h"

#include <QRegularExpression>

namespace kv::text {

QString date(const QDate& value) { return value.isValid() ? value.toString(QStringLiteral("dd/MM/yyyy")) : QString(); }

QString dateTime(const QDateTime& value)
{
    return value.isValid() ? value.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : QString();
}

std::optional<QDate> parseDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})[/.-](\\d{1,2})[/.-](\\d{2}|\\d{4})$"));
    QString s = text;
    s.remove(u'_');
    s.remove(u' ');
    const auto match = pattern.match(s);
    if (!match.hasMatch())
        return std::nullopt;
    int year = match.captured(3).toInt();
    if (match.captured(3).size() == 2)
        year += 2000;
    const QDate result(year, match.captured(2).toInt(), match.captured(1).toInt());
    if (!result.isValid())
        return std::nullopt;
    return result;
}

QString notADateMessage(const QString& text) { return QStringLiteral("\"%1\" não é uma data válida.").arg(text); }

} // namespace kv::text
