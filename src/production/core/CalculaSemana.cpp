#include "production/core/CalculaSemana.h"

#include "platform/db/Connection.h"
#include "platform/notify/MessageSink.h"

namespace kv::production {

CalendarWeek CalculaSemana(kv::db::Connection& invoicing, const QDate& date, kv::notify::MessageSink& messages)
{
    CalendarWeek result;
    kv::db::QueryResult row;
    if (date.isValid()) {
        // The day as a range on the key: a calendar written with a time of
        // day still holds it.
        row = invoicing.query(
            QStringLiteral("SELECT SEMANA, DIASEM FROM CALENDARIO WHERE DATA >= :FIRST AND DATA < :NEXT"),
            {{QStringLiteral("FIRST"), date.startOfDay()}, {QStringLiteral("NEXT"), date.addDays(1).startOfDay()}});
    }
    if (row.isEmpty()) {
        messages.beep();
        messages.information(QStringLiteral("Data Inexistente no Ficheiro de Calendário"));
        return result;
    }
    result.found = true;
    result.week = QStringLiteral("%1").arg(row.value(0, QStringLiteral("SEMANA")).toInt(), 2, 10, QLatin1Char('0'));
    result.weekday = row.value(0, QStringLiteral("DIASEM")).toString().left(3);
    return result;
}

} // namespace kv::production
