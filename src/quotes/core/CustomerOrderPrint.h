#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::quotes {

// One line of a customer order as its print shows it.
struct PrintedOrderLine {
    QString article;
    QString designation;
    QString unit;
    double length = 0;
    double width = 0;
    double height = 0;
    QDate delivery;
    double quantity = 0;
    double quantityCv = 0;
    double price = 0;
    QString discount; // PRCDESCRI
    double value = 0;
    int week = 0;
};

// A customer order with the texts its heading looks up, each on its own: a
// missing customer postal code, payment condition, salesman, agent or
// transport condition leaves only its own text empty.
struct CustomerOrderPrint {
    qint64 number = 0;
    int customer = 0; // CLINRO
    QDate date;
    QString customerOrder; // VOSENC
    QString salesman;
    QString agent1;
    QString agent2;
    QString paymentCondition;
    double financialDiscountPercent = 0; // 0 without a payment condition
    QString transport; // DESIGNFORMA
    QString transportPlace; // DESIGNLOCALIDADE

    QString customerName;
    QString address1;
    QString address2;
    QString postalCode;
    QString locality;
    QString country;
    QString deliveryAddress1;
    QString deliveryAddress2;
    QString deliveryPostalCode;
    QString deliveryLocality;

    double goods = 0; // VALMERC
    double discounts = 0; // VALDESC
    double gross = 0; // VALLIQUIDO
    int quantityDecimals = 0; // the year's DECIMAISQTD
    std::vector<PrintedOrderLine> lines;

    double quantityTotal() const;
    double quantityCvTotal() const;
    double financialDiscount() const;
    double orderTotal() const;

    // "30 Dias em Cheque 5%", or without a discount "30 Dias em Cheque".
    static QString paymentText(double days, const QString& description, double discountPercent);

    // The order `number` and its lines; none when there is no such order.
    static std::optional<CustomerOrderPrint> load(kv::db::Connection& invoicing, qint64 number, const QString& year);

    // One run of the order print: the user's queue holds the one order, and
    // the user's monthly chart rows of `program` in `FACSALDOS` are those of
    // the order's customer from the monthly order values, once, in one
    // transaction.
    static void prepareRun(kv::db::Connection& invoicing, const QString& user, const CustomerOrderPrint& order,
                           const QString& year, const QString& program);
    // The orders of the user's print queue, in order.
    static std::vector<qint64> queued(kv::db::Connection& invoicing, const QString& user);
};

} // namespace kv::quotes
