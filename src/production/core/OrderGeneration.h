#pragma once

#include "production/core/ProductionRepository.h"
#include "quotes/core/QuoteRow.h"

#include <QDate>
#include <QString>
#include <functional>
#include <map>

namespace kv::db {
class Connection;
class Params;
class TwoDatabaseWork;
struct TwoDatabaseKind;
} // namespace kv::db
namespace kv::notify {
class MessageSink;
}

namespace kv::production {

// The ranges the generation lists customer-order lines in.
struct GenerationLimits {
    int customerFrom = 1, customerTo = 99999999;
    int orderFrom = 1, orderTo = 999999999;
    QDate issuedFrom, issuedTo;
    QDate deliveryFrom, deliveryTo;
};

struct GenerationSettings {
    QString user; // WUtil: the work list is this user's
    QDate date; // WData: the orders' issue date
    bool modelT = false; // WTipoOrdFab "T": ORDFABRICO rows without consumption
};

// Reports the whole percentage of rows done.
using GenerationProgress = std::function<void(int percent)>;

// Production-order generation from customer-order lines of approved quotes.
//
// Each work-list row is one two-database operation: the order rows of all
// its sub-quotes, their planned consumption, the line's generation record
// and the removal of the row from the work list are one transaction of the
// application database; the line's ORDFAB mark in the invoicing database
// follows it, and a later recovery completes a mark left undone. A line that
// is marked or recorded is never generated again. A merge locks the merged
// row, and the record's key admits one workstation per line: the other one
// rolls back with a message.
class OrderGeneration {
public:
    OrderGeneration(kv::db::Connection& application, kv::db::Connection& invoicing, kv::db::TwoDatabaseWork& work,
                    kv::notify::MessageSink& messages, GenerationSettings settings);

    // The open lines of the limits (ORCNRO <> 0, not delivered, not
    // cancelled, ORDFAB < 1) in delivery-date and order order.
    kv::db::QueryResult openLines(const GenerationLimits& limits);
    // The user's work list made again from the lines with a quote; returns its rows.
    int buildWorkList(const kv::db::QueryResult& lines, const GenerationProgress& progress = {});
    // Generates every row of the user's work list ticked GERAR; returns the
    // number of order rows inserted (merges are not counted).
    int generate(const GenerationProgress& progress = {});

    // The working year's commercial parameters row (PARGER) exists.
    bool commercialParametersExist(const QString& year);
    // The statement of the open lines, its parameters as `openLineParams` gives them.
    static QString openLinesSql();
    static kv::db::Params openLineParams(const GenerationLimits& limits);

    // The week of a date in the calendar, two digits; empty when missing.
    QString calendarWeek(const QDate& date);

    static QString kindName();
    // The mark of the customer-order line in the invoicing database.
    static kv::db::TwoDatabaseKind kind();

private:
    // A quote's sub-quote rows and their cost lines, read once per run.
    struct QuoteItems {
        std::vector<kv::quotes::QuoteRow> rows;
        std::map<int, std::vector<kv::quotes::CostLine>> lines; // by sub-quote
    };
    enum class RowOutcome { Skipped, Generated };
    RowOutcome generateRow(const WorkListRow& row, const kv::quotes::CostTables& tables,
                           std::map<int, QuoteItems>& quotes, int& created);
    std::optional<OrderLine> line(const WorkListRow& row);
    std::optional<QString> customerShortName(int customer);
    bool markLine(const OrderLine& line);

    kv::db::Connection& m_application;
    kv::db::Connection& m_invoicing;
    kv::db::TwoDatabaseWork& m_work;
    kv::notify::MessageSink& m_messages;
    GenerationSettings m_settings;
    ProductionRepository m_repository;
};

} // namespace kv::production
