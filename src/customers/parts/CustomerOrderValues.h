#pragma once

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace kv::db {
class Connection;
}

namespace kv::customers {

// The open order lines of a customer in one delivery month.
struct OrderBookMonth {
    int year = 0;
    int month = 0;
    double quantity = 0; // still to deliver
    double value = 0; // still to deliver
};

// A customer's ordered value per month of a year, as `ENCVALCLI` holds it.
struct MonthlyOrderValues {
    std::array<double, 12> months{};
    double total = 0; // ENCOME13
};

// The customer orders as the customer views and the order print see them.
class CustomerOrderValues {
public:
    // "Cart.Encom.": the customer's lines not fully delivered, by delivery
    // month, newest first.
    static QList<OrderBookMonth> orderBook(kv::db::Connection& invoicing, int customer);

    // CreateEncValores: the user's rows of the year in `WORKENCVALCLI` and
    // `ENCVALCLI` replaced, in one transaction, by the ordered value of every
    // customer per month of the year (lines without an article left out),
    // each month rounded to whole units and `ENCOME13` their sum. Other
    // users' rows are never touched. Returns the customers written.
    static int rebuildMonthly(kv::db::Connection& invoicing, const QString& user, const QString& year);

    // The user's `ENCVALCLI` row of the customer and year; none when missing.
    static std::optional<MonthlyOrderValues> monthly(kv::db::Connection& invoicing, const QString& user,
                                                     const QString& year, int customer);
};

} // namespace kv::customers
