#pragma once

#include "quotes/core/QuoteRow.h"

#include <QString>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::quotes {

// The per-user chart rows behind a pie chart: `SALDOS` (the worksheet, quote
// consultation and production orders) or `SALDOS1` (the second chart of the
// approval list), one row per slice of a user and program id.
class ChartRows {
public:
    enum class Table { Saldos, Saldos1 };

    struct Slice {
        int sequence = 0;
        QString label;
        double value = 0;
    };

    ChartRows(kv::db::Connection& connection, Table table, QString user, QString program);

    // Empties the user's slices of the program id.
    void clear();
    // Adds a slice, the value rounded to the price decimals; a sequence that
    // already has a slice gets the value added to it.
    void addSlice(int sequence, const QString& label, double value, int priceDecimals);
    // The user's slices of the program id in sequence order.
    std::vector<Slice> slices();

    // The worksheet's three slices of a quote summary row, quantity 1: base
    // cost, commercial cost and margin.
    static std::vector<Slice> quoteSlices(const QuoteRow& summary);

private:
    QString tableName() const;
    kv::db::Connection& m_db;
    Table m_table;
    QString m_user;
    QString m_program;
};

} // namespace kv::quotes
