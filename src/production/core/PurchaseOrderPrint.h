#pragma once

#include <QDate>
#include <QString>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::production {

// What the purchase-order print shows of the orders of a run queued for
// the user: one document per queued copy, in order number then copy name,
// each with its order's header, supplier locality, lines (with the
// article's composition) and totals; the year's closing texts.
struct PurchaseOrderPrint {
    struct Line {
        QString supplierReference;
        QString article;
        QString designation;
        QString composition; // empty: one line high
        bool articleKnown = false;
        double quantity = 0;
        QString unit;
        double price = 0;
        QString discountText;
        double gross = 0;
        double net = 0;
        QDate delivery;
        QString week;
    };
    struct Order {
        int number = 0;
        QDate issued;
        int supplier = 0;
        QString supplierName;
        QString address1, address2;
        QString locality; // postal code and locality; empty without both lookups
        bool dressedLetterhead = false; // the supplier and postal code were found
        QString deliveryAddress1, deliveryAddress2, deliveryPostalCode, deliveryLocality;
        double merchandise = 0, discounts = 0, total = 0;
        QString observation1, observation2; // the order's own OBSERV1/2
        std::vector<Line> lines;
    };
    struct Document {
        QString copy;
        int order = 0; // index into `orders`
    };

    std::vector<Order> orders;
    std::vector<Document> documents;
    QString closing1, closing2; // NENCOBSERV1/2 of the working year

    // The user's queued copies of the orders numbered `first` to `last`.
    static PurchaseOrderPrint read(kv::db::Connection& invoicing, const QString& user, int first, int last,
                                   const QString& year);
};

} // namespace kv::production
