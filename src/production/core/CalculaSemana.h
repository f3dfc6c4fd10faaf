#pragma once

#include <QDate>
#include <QString>

namespace kv::db {
class Connection;
}
namespace kv::notify {
class MessageSink;
}

namespace kv::production {

// The production week and weekday of a date, as the company's calendar
// (`CALENDARIO`, invoicing database) gives them.
struct CalendarWeek {
    bool found = false;
    QString week; // two digits, "07"
    QString weekday; // DIASEM, at most three characters
};

// The week lookup of the production and stock forms: one keyed read of the
// calendar. A date missing from it beeps, says so and leaves both empty.
CalendarWeek CalculaSemana(kv::db::Connection& invoicing, const QDate& date, kv::notify::MessageSink& messages);

} // namespace kv::production
