#pragma once

#include "quotes/core/CostLine.h"
#include "quotes/core/QuoteRow.h"

#include "domain/ProcedureLine.h"

#include <vector>

namespace kv::quotes {

// A sub-quote held in memory while it is calculated: its `ORCMAS` row and
// its `ORCDET` lines in `DETAIL` order.
struct SubQuote {
    QuoteRow row;
    std::vector<CostLine> lines;

    int lastDetail() const;
    // Index of the line with this DETAIL (and table type and code when given); -1 when none.
    int find(int detail) const;
    int find(int detail, int tableType, int tableCode) const;
};

using domain::ProcedureLine;

} // namespace kv::quotes
