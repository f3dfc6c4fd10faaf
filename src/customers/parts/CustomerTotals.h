#pragma once

#include <QList>
#include <QString>
#include <array>

namespace kv::db {
class Connection;
}

namespace kv::customers {

struct MonthTotal {
    QString year;
    int month = 0;
    double value = 0;
};

struct YearTotal {
    QString year;
    double value = 0;
};

// A customer's receivables by age, as `CLIVALCOB` holds them.
struct Receivables {
    bool found = false;
    // "No Prazo", 0-30, 30-60, 60-90, 90-120, 120-180, +180 days, bills,
    // post-dated cheques.
    std::array<double, 9> amounts{};

    // The seven ages; bills and post-dated cheques are not owed on account.
    double total() const;
};

// The sales and receipts totals of one customer in the user's work tables,
// and the customer's receivables.
class CustomerTotals {
public:
    // Empties the user's rows of the four work tables and refills them with
    // the customer's sales (by month and by year, from the invoices' lines)
    // and receipts (by month and by year), in one transaction. The year is
    // stored as four characters on both engines.
    static void rebuild(kv::db::Connection& invoicing, const QString& user, int customer);

    // The work tables' rows of the user and customer, oldest first.
    static QList<MonthTotal> salesByMonth(kv::db::Connection& invoicing, const QString& user, int customer);
    static QList<YearTotal> salesByYear(kv::db::Connection& invoicing, const QString& user, int customer);
    static QList<MonthTotal> receiptsByMonth(kv::db::Connection& invoicing, const QString& user, int customer);
    static QList<YearTotal> receiptsByYear(kv::db::Connection& invoicing, const QString& user, int customer);

    // The customer's receivables row, read by key. Without the treasury link
    // of the year nothing is read and the customer shows as having none.
    static Receivables receivables(kv::db::Connection& invoicing, int customer, bool treasury);
};

} // namespace kv::customers
