#pragma once

#include "platform/db/Connection.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

namespace kv::production {

// The consumption forecast map: the planned consumption of the production
// orders delivered in a date range, summed per article beside the article's
// stock and what is still on order from suppliers in the same range, built
// in the user's rows of IMPCONSUMOS (program "ORCP104").
class ConsumptionForecast {
public:
    static QString program() { return QStringLiteral("ORCP104"); }

    // How far the build is (0 to 100) and the highest production order
    // number of the map.
    using Progress = std::function<void(int percent, int orderNumber)>;

    struct Outcome {
        int articles = 0; // rows written
    };

    ConsumptionForecast(kv::db::Connection& application, kv::db::Connection& invoicing);

    // Replaces the user's rows by the map of deliveries from `first` to
    // `last`, both days whole; other users' rows stay. Machines, finishes,
    // cutting operations and fixed costs (types 1, 7, 9, 10) are left out;
    // an article without a stock row shows 0, and only supplier-order lines
    // not yet delivered (TOTENT "N") count as on order.
    Outcome build(const QString& user, const QDate& first, const QDate& last, const Progress& progress = {});

    // The user's map in article order: ARTIGO, DESIGNACAO, UNIDADE, CONSUMO,
    // EXIQTD, QTDENC.
    kv::db::QueryResult rows(const QString& user);

    // The week ("05") and weekday of a date in the calendar; nothing for a
    // date the calendar lacks.
    struct CalendarDay {
        QString week;
        QString weekday;
    };
    static std::optional<CalendarDay> calendarDay(kv::db::Connection& invoicing, const QDate& date);

private:
    kv::db::Connection& m_application;
    kv::db::Connection& m_invoicing;
};

} // namespace kv::production
