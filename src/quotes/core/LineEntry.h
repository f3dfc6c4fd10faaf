#pragma once

#include "quotes/core/CostLine.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/QuoteRow.h"

#include <optional>

namespace kv::quotes {

// The rules of a cost line typed by hand on the worksheet, apart from its
// calculation: what the table row gives the line once its code is accepted,
// and which field the estimator is asked next.
class LineEntry {
public:
    // The field asked after the table code (or after the machine choices).
    enum class Field { Passes, Grade, Percentage, Price, Calculate };

    // A new line for the row `code` of table type `type`: designation and
    // cost class of the row, its price (and percentage for finishes and
    // transport); a machine line takes its production grade and make-ready
    // choice from the quote row by the machine's kind, and a printing
    // machine its passes from the colours. Empty when the row is missing.
    static std::optional<CostLine> start(const CostTables& tables, const QuoteRow& row, int type, int code);

    // Whether the table row a line names still exists.
    static bool exists(const CostTables& tables, int type, int code);

    // The field the line fields ask first for a line of this type: passes
    // for a printing machine, the grade for the other machines, the
    // percentage for finishes and transport, the price otherwise.
    static Field firstField(const CostTables& tables, const CostLine& line);

    // After the make-ready choice: a machine line is priced by its machine's
    // rate per hour, so it is calculated at once.
    static Field afterMachineChoices(const CostLine& line);

    // Finishes and transport are priced by a percentage first.
    static bool asksPercentage(int type);
};

} // namespace kv::quotes
