#pragma once

#include "quotes/core/QuoteRow.h"

#include <optional>
#include <vector>

namespace kv::quotes {

// The totals of a sub-quote row rebuilt from its class columns: the class
// totals rounded to the price decimals, the value as their sum (a line
// without class drops out here), the unit cost, the client value and price
// following the cost, the order and approval marks reset.
void subQuoteTotals(QuoteRow& row, int priceDecimals);

// Caption of a quantity on the totals page: 2 decimals for thousands, none
// for units ("12,50", "12500").
QString quantityCaption(double quantity, const QString& unit);

// The summary row (99) of a quote rebuilt from its sub-quote rows (0 to 9, in
// SUBCODIGO order): sums through the 4-decimal fixed point, the header from
// sub-quote 0, the VAT code of the worksheet header. Empty when the quote has
// no sub-quote row.
std::optional<QuoteRow> buildSummaryRow(int quoteNumber, const std::vector<QuoteRow>& subQuotes,
                                        const QVariant& vatCode);

} // namespace kv::quotes
