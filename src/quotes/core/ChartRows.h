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
// approval list), one row per slice of a user and program id; `FACSALDOS`
// of the invoicing database holds the months of a customer's orders.
class ChartRows {
public:
    enum class Table { Saldos, Saldos1, FacSaldos };

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
    // The user's slices of the program id replaced by `slices`, each rounded
    // to `decimals`, in one transaction.
    void replace(const std::vector<Slice>& slices, int decimals);
    // The user's slices of the program id in sequence order.
    std::vector<Slice> slices();

    // The worksheet's three slices of a quote summary row, quantity 1: base
    // cost, commercial cost and margin.
    static std::vector<Slice> quoteSlices(const QuoteRow& summary);
    // The approval list's chart sets of a summary row, quantity 1: 1 the
    // base cost by class, 2 transport and the commercial costs, 3 both with
    // the margin. Any other set has no slices.
    static std::vector<Slice> costSlices(int set, const QuoteRow& summary);

private:
    QString tableName() const;
    kv::db::Connection& m_db;
    Table m_table;
    QString m_user;
    QString m_program;
};

} // namespace kv::quotes
