#pragma once

#include <QDate>
#include <QString>

namespace kv::db {
class Connection;
}

namespace kv::quotes::approval {

// A date checked against the company's calendar (`CALENDARIO`, invoicing
// database): the order year and week of a working day, or why the date
// cannot be used. Other subsystems check their own dates with it.
struct CalendarDay {
    enum class Status { WorkingDay, NotInCalendar, NotWorkingDay };
    Status status = Status::NotInCalendar;
    QString year; // the date's calendar year, 4 digits
    QString week; // CALENDARIO.SEMANA, 2 digits ("07")
    QString statusText; // what the status bar shows; empty for a working day

    bool workingDay() const { return status == Status::WorkingDay; }
};

CalendarDay readCalendar(kv::db::Connection& invoicing, const QDate& date);

} // namespace kv::quotes::approval
