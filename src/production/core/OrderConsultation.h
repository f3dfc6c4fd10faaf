#pragma once

#include "platform/db/Params.h"
#include "platform/db/SqlDialect.h"
#include "platform/db/TwoDatabaseWork.h"
#include "platform/db/WindowedList.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::production {

// The production-order model of the company: "T" keeps one `ORDFABRICO` row
// per customer-order line; every other model keeps `ORDFABDET` rows in up to
// five slots per customer order, with their planned consumption.
enum class OrderModel { Slots, PerLine };

// The ranges of the consultation (all bounds included).
struct OrderSelection {
    qint64 customerFrom = 1;
    qint64 customerTo = 99999999;
    qint64 numberFrom = 1;
    qint64 numberTo = 999999999;
    QDate deliveryFrom;
    QDate deliveryTo;
    QDate productionFrom; // the slot model only
    QDate productionTo;
    QString articleFrom;
    QString articleTo = QStringLiteral("ZZZZZZZZZZZZZZZZ");

    // A month back and a year ahead of the working date.
    static OrderSelection defaults(const QDate& workingDate);
};

// One order as the consultation names it: its year, week and number; the
// slot (the customer-order line in model "T") names the row within it.
struct OrderKey {
    QString year;
    QString week; // empty in model "T"
    int number = 0;
    int slot = 0;
};

// What a deletion came to.
struct OrderDeletion {
    enum class Status { Deleted, Gone, Refused, Pending };
    Status status = Status::Deleted;
    QString message; // for the user; empty when deleted
};

// The statements of the production-order consultation: the open orders of a
// range, the planned consumption of one order row, the user's statistics
// per production week with their chart rows, and the deletion of an order.
class OrderConsultation {
public:
    // The program key of the user's chart rows.
    static QString chartProgram() { return QStringLiteral("ORCP101"); }

    static QString tableOf(OrderModel model);
    // The columns the list reads: the grid's, the key and what a change,
    // deletion or quote view needs of the current row.
    static QStringList listColumns(OrderModel model);
    // The list's order, ending with the order row's key.
    static QStringList listOrder(OrderModel model);
    // The list read a window at a time on its index: the orders of a year
    // and those of the years before are never read whole.
    static kv::db::WindowedList::Shape listShape(OrderModel model, const OrderSelection& selection,
                                                 kv::db::Dialect dialect);
    static QString listSql(OrderModel model, const OrderSelection& selection, kv::db::Dialect dialect);
    static kv::db::Params params(OrderModel model, const OrderSelection& selection);
    // Gives the list the selection and opens it on its first row.
    static void open(kv::db::WindowedList& list, OrderModel model, const OrderSelection& selection);
    // Where the list finds an order row again (its values of the list's
    // order), read by key; empty when the row is gone.
    static QVariantList listKey(kv::db::Connection& application, OrderModel model, const OrderKey& key,
                                int subQuote);
    // The number of orders listed, in one COUNT.
    static long long count(kv::db::Connection& application, OrderModel model, const OrderSelection& selection);
    // The same of an open list: its window's rows when they are all.
    static long long count(kv::db::WindowedList& list, OrderModel model, const OrderSelection& selection);

    // The planned consumption of one order row, by key.
    static QString consumptionSql();
    static void openConsumption(kv::db::Dataset& consumption, const QString& year, int number, int subQuote,
                                int slot);

    // The user's statistics of the listed orders: production per year and
    // production week (`OFESTAT`), raw materials per article (`OFCONSUMOS`)
    // and machine time in minutes (`OFTRANSFORM`), with the chart rows of
    // the production (`SALDOS`) and of the times (`SALDOS1`), all replaced
    // in one transaction.
    static void process(kv::db::Connection& application, const QString& user, const OrderSelection& selection);
    // The user's statistics and chart rows emptied.
    static void clearStatistics(kv::db::Connection& application, const QString& user);

    // The texts of a deletion: what goes, the question, and the second
    // question for an order already issued.
    static QString deletionNotice(int number);
    static QString deletionQuestion();
    static QString issuedQuestion();

    // The two-database kind of a deletion: the customer-order lines' marks
    // reset in the invoicing database first, then the order's rows, planned
    // consumption and generation records deleted in the application
    // database; when those cannot go the marks get their values back.
    static QString deletionKindName();
    static kv::db::TwoDatabaseKind deletionKind();
    // Deletes the whole order of `key` (every slot and sub-quote) in its year.
    static OrderDeletion deleteOrder(kv::db::TwoDatabaseWork& work, OrderModel model, const OrderKey& key,
                                     const QString& user);

private:
    static QString where(OrderModel model, const OrderSelection& selection, kv::db::Dialect dialect,
                         const QString& prefix);
};

} // namespace kv::production
