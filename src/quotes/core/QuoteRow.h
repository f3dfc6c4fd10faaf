#pragma once

#include "quotes/core/Record.h"

namespace kv::quotes {

// Columns of `ORCMAS` in the order of its insert statement.
const RecordLayout& quoteRowLayout();

// One `ORCMAS` row: a sub-quote (0 to 9) or the summary row (99).
class QuoteRow : public Record {
public:
    QuoteRow() : Record(quoteRowLayout()) {}

    int quoteNumber() const { return static_cast<int>(integer(QStringLiteral("CODIGO"))); }
    int subQuote() const { return static_cast<int>(integer(QStringLiteral("SUBCODIGO"))); }

    double quantity(int n) const; // QTDORCn, n = 1 to 3
};

// Column names of the three quantities of one prefix ("VALORORC" ->
// VALORORC1..3).
inline QString quantityColumn(const char* prefix, int n) { return QString::fromLatin1(prefix) + QString::number(n); }

} // namespace kv::quotes
