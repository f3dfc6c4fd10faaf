#pragma once

#include <QString>

namespace kv::production {

// The order a consultation hands its filling form and quote view (the
// consultation's current row), set just before either opens.
struct SelectedOrder {
    QString year; // WOfAno, four digits
    QString week; // WOfSemana, two digits
    int orderNumber = 0; // WOfOrdNro
    int detail = 0; // WOfDetail (the slot)
    int quoteNumber = 0; // WOrcNro
    int subQuote = 0; // WSubOrc
};

} // namespace kv::production
