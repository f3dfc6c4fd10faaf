#pragma once

#include "quotes/core/CostTables.h"
#include "quotes/core/QuoteRow.h"
#include "quotes/core/SubQuote.h"

namespace kv::quotes::test {

// A small plant: one printing machine (4 colours per pass), a cutting and
// creasing machine, a gluer with its glue, two boards, an ink, a varnish,
// glues, finishes, fixed costs, a cutting operation, a subcontract, a
// transport rate and two waste bands (0 sheets; 1 to 100000 sheets with 5 %
// normal finishing and 10/12/14/16 % printing waste for 1 to 4 passes).
CostTables plantTables();

// Sub-quote 0 of quote 7: 5 and 10 thousand, 4 per sheet, one 100 x 70 cm
// sheet, 2 colours on 50 % of the sheet, cardstock board 1, normal
// finishing, every production grade and make-ready choice 1.
QuoteRow plantQuoteRow();

ProcedureLine procedureLine(int tableType, int tableCode, int detail = 0);

} // namespace kv::quotes::test
