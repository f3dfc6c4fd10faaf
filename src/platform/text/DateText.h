#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace kv::text {

// "dd/mm/yyyy"; an invalid date gives "".
QString date(const QDate& date);
// "dd/mm/yyyy hh:mm:ss"; an invalid date-time gives "".
QString dateTime(const QDateTime& dateTime);

// A typed date: day, month and year separated by "/", "-" or "."; a year of
// two digits is taken in 2000-2099. Blanks and the "_" of an input mask that
// was not filled are ignored. Nothing for a date that does not exist.
std::optional<QDate> parseDate(const QString& text);

QString notADateMessage(const QString& text);

} // namespace kv::text
