#pragma once

#include "production/core/ProductionClosing.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::production {

class StockPosting;

// The selection of the orders a closing lists (both ends included).
struct ClosingLimits {
    qint64 customerFrom = 1;
    qint64 customerTo = 99999999;
    qint64 orderFrom = 1;
    qint64 orderTo = 999999999;
    QDate deliveryFrom;
    QDate deliveryTo;
    QString articleFrom;
    QString articleTo = QString(16, QLatin1Char('Z'));
};

// The closing's transactions and warehouses (`ORCPARGER` row 1; 0 when the
// row is missing).
struct ClosingParameters {
    int entryTransaction = 0; // TRS_ENTRADA
    int issueTransaction = 0; // TRS_SAIDA
    int entryWarehouse = 0; // ARM_ENTRADA
    int issueWarehouse = 0; // ARM_SAIDA
    bool found = false;

    static ClosingParameters read(kv::db::Connection& application);
};

// The closing of `ORDFABDET` orders from typed consumptions: the user's
// order list (`WORKORDFAB`) and consumption list (`WORKORDFABDET`), the
// checks before posting and the orders handed to ProductionClosing. The
// lists carry each order's year and week, so that an order number repeated
// across years closes the right order.
class SlotClosing {
public:
    SlotClosing(kv::db::Connection& application, QString user);

    // Rebuilds both lists from the limits, set-based.
    void rebuild(const ClosingLimits& limits);
    // Clears every tick, produced quantity and typed consumption.
    void cancel();

    // Pass 1: the message that stops the run, empty when none.
    QString checkProduced();
    // Pass 2: every typed consumption names a stock article, and the issue
    // transaction and raw-material warehouse exist. Writes the user's
    // `ACTUALFECHOOF` rows afresh; returns how many were written.
    int checkConsumptions(StockPosting& posting);
    // The listed orders in list order with their consumptions and issues.
    std::vector<ClosingOrder> orders(const QDate& movementDate);

    static QString errorListSql();

    // What a closing form needs before it opens: the working year's stock
    // and commercial parameters, the closing's transactions and warehouses.
    // The messages to show in order, empty when all is there; any message
    // closes the form.
    static QStringList setupProblems(kv::db::Connection& application, kv::db::Connection& invoicing,
                                     StockPosting& posting, const QString& workingYear);

private:
    kv::db::Connection& m_db;
    QString m_user;
};

} // namespace kv::production
