#pragma once

#include "production/core/SelectedOrder.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
}
namespace kv::quotes {
class CostTables;
struct MachineRow;
}

namespace kv::production {

// One planned consumption line of an order item (ORCCONSUMOS).
struct ConsumptionLine {
    int detail = 0;
    int tableType = 0;
    int code = 0;
    QString designation;
    QString unit;
    QString costClass;
    QVariant approvedQuantity; // QTDAPROV
    int passes = 0;
    double perHour = 0; // PRDHOR
    double makeReady = 0; // ACERTO, hours
    double consumption = 0;
    double surface = 0; // SUPIMPRESS, percent
    QVariant deliveryDate; // DATAENT
    QString article;
    int entry = 1; // ENTRADA
};

// The order's own figures every consumption is computed with.
struct OrderFigures {
    double sheetArea = 0; // m², both formats
    double sheets = 0; // NPLANOS
    double quantity = 0; // QUANTFINAL
    QString quoteUnit; // "M" or "U"
    double windowWeight = 0; // PESOJANELAS of the quote row
    QDate delivery; // DATAENT of the order row
};

// A line's consumption from its cost table: the table row's designation,
// cost class and stock article, or the message of a code the table lacks.
struct LineCalculation {
    bool found = true;
    QString message; // the code is missing (empty for finishes)
    QString designation;
    QString costClass;
    QString article;
    double consumption = 0;
};

// The planned consumption lines of one order item: read, added, changed,
// deleted and recomputed by the key of the order's year, number, sub-quote
// and slot, each change in one transaction.
class ConsumptionLines {
public:
    ConsumptionLines(kv::db::Connection& application, SelectedOrder order);

    // The item's lines by table type, order of entry and line number.
    std::vector<ConsumptionLine> read() const;
    // The number a new line takes: the highest of the item plus 1.
    int nextDetail() const;

    // The consumption of a line of a table type and code (types 2 to 8 and
    // 10; any other type is not looked up and gives 0).
    static LineCalculation calculate(const kv::quotes::CostTables& tables, int tableType, int code, double surface,
                                     const OrderFigures& order);
    // Machine time as hours.minutes: (running + make-ready minutes) x passes.
    static double machineTime(const kv::quotes::MachineRow& machine, const OrderFigures& order, int passes,
                              double perHour, double makeReady);

    // A new line of the item: numbered in the same transaction, with the
    // order's quantity and delivery date; returns its number.
    int insert(ConsumptionLine line, const OrderFigures& order);
    void update(const ConsumptionLine& line);
    void remove(int detail);

    // Every "MP" line recomputed from its table with the order's figures, in
    // one transaction; the messages of codes no longer in their tables.
    QStringList recalculate(const kv::quotes::CostTables& tables, const OrderFigures& order);

private:
    kv::db::Connection& m_application;
    SelectedOrder m_order;
};

} // namespace kv::production
