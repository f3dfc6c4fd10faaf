#pragma once

#include "quotes/core/CostLine.h"
#include "quotes/core/QuoteRow.h"

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

// A line of a chosen procedure (`PROCDET`), in the order the lines are created.
struct ProcedureLine {
    int procedure = 0;       // CODIGO
    int detail = 0;          // DETAIL
    int tableType = 0;       // TIPOTABELA
    int tableCode = 0;       // CODTAB
    QString designation;     // DESTAB
};

} // namespace kv::quotes
