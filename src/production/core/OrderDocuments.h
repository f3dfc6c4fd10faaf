#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::production {

// Rows of named values, as the documents print them.
struct DocumentRows {
    QStringList fields;
    std::vector<std::vector<QVariant>> rows;

    QVariant value(std::size_t row, const QString& field) const
    {
        return rows[row][static_cast<std::size_t>(fields.indexOf(field))];
    }
};

// A planned-consumption line of an order item.
struct DocumentConsumptionLine {
    QString costClass; // TIPOCUSTO
    int code = 0; // CODTAB
    QString designation; // DESIGN
    double consumption = 0.0; // CONSUMO (machines: h.mm)
};

// What the order documents print for the user's queue, read for the whole
// queue at once. `items` has one row per order item (year, week, number,
// slot and sub-quote), ordered by number, slot and sub-quote; `copies` one
// entry per queue row in REGISTO order, naming its item.
struct OrderDocumentData {
    DocumentRows items;
    struct Copy {
        int registo = 0;
        std::size_t item = 0;
    };
    std::vector<Copy> copies;
    std::vector<std::vector<DocumentConsumptionLine>> consumption; // per item: "MP", "CM", "PS", "MO", "EM" lines
};

// The eleven finishing slots: the texts of the flags that are "S", in the
// flags' order, packed into the slots without gaps (the rest empty).
// `flags` holds FUNDOAUTO, FUNDOSEMIAUTO, TAMPA, COLAGEMLATERAL,
// COLAGEMCANTOS, COLAGEMDUPLA, FUNDO, CAIXA, TABULEIRO, AUTO_ARMAVEL, MANGA.
std::array<QString, 11> finishingSlots(const std::array<QString, 11>& flags);
// The finishing flag columns in the slots' order.
const std::array<const char*, 11>& finishingColumns();

// The texts of deliveries 2 to 5: the first one dated as delivery 1 (a
// free delivery) and every later one are blank.
std::array<QString, 4> laterDeliveryTexts(const QDate& first, const std::array<QDate, 4>& later);

// A packing line: count, units and their product; all blank when the count is 0.
std::array<QString, 3> packingLine(int count, int units);

// The item kind printed beside the order number.
QString itemKind(int subQuote);

// Reads what the four order documents print for `user`'s queue ORDFABIMPR
// with keyed joins: the items with their order row, quote row, customer
// order (by the order's own number) and locality (each postal code by key),
// and their consumption. A missing row leaves its fields empty.
OrderDocumentData readOrderDocuments(kv::db::Connection& application, kv::db::Connection& invoicing,
                                     const QString& user);

// The model-"T" document: one row per queue row (REGISTO order) with the
// order line, its quote row and the designations of its seven materials.
DocumentRows readModelTDocuments(kv::db::Connection& application, const QString& user);

// The columns of the order item the documents print (ORDFABDET and the
// looked-up ones), in the order of `OrderDocumentData::items`.
const QStringList& orderDocumentFields();
const QStringList& modelTDocumentFields();

} // namespace kv::production
