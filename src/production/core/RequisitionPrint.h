#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::production {

// What the internal requisition's print shows of one queued requisition:
// the queue's copy names (in copy-name order), the header, the lines with
// the stock article's colour, size and dimensions, and the year's price
// decimals.
struct RequisitionPrint {
    struct Line {
        QString article;
        QString designation;
        double quantity = 0;
        QString unit;
        double price = 0;
        QString currency;
        QString discountText;
        double net = 0;
        QDate delivery;
        QString week;
        bool articleKnown = false; // found in the article file
        QString colour;
        QString size;
        double length = 0;
        double width = 0;
        double height = 0;
    };

    int number = 0;
    QDate issued;
    QString user;
    QString department;
    QStringList copies;
    std::vector<Line> lines;
    int priceDecimals = 2;

    // The requisition `number` of `user` as queued for print now.
    static RequisitionPrint read(kv::db::Connection& invoicing, const QString& user, int number, const QString& year);
};

} // namespace kv::production
