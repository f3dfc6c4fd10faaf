#include "quotes/approval/core/OrderCalendar.h"

#include "platform/db/Connection.h"

namespace kv::quotes::approval {

CalendarDay readCalendar(kv::db::Connection& invoicing, const QDate& date)
{
    CalendarDay day;
    day.year = QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    // The day as a range: a calendar written with a time of day still holds it.
    const kv::db::QueryResult row = invoicing.query(
        QStringLiteral("SELECT TIPODIA, SEMANA FROM CALENDARIO WHERE DATA >= :FIRST AND DATA < :NEXT"),
        {{QStringLiteral("FIRST"), date.startOfDay()}, {QStringLiteral("NEXT"), date.addDays(1).startOfDay()}});
    if (!date.isValid() || row.isEmpty()) {
        day.status = CalendarDay::Status::NotInCalendar;
        day.statusText = QStringLiteral("Calendário não está parametrizado, ANO = ") + day.year;
        return day;
    }
    if (row.value(0, QStringLiteral("TIPODIA")).toString().trimmed() != QLatin1String("TB")) {
        day.status = CalendarDay::Status::NotWorkingDay;
        day.statusText = QStringLiteral("O Dia seleccionado não é um dia ÚTIL");
        return day;
    }
    day.status = CalendarDay::Status::WorkingDay;
    day.week = QStringLiteral("%1").arg(row.value(0, QStringLiteral("SEMANA")).toInt(), 2, 10, QLatin1Char('0'));
    return day;
}

} // namespace kv::quotes::approval
