#pragma once

#include "quotes/core/CostLine.h"
#include "quotes/core/CostTables.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace kv::quotes {

// The waste band of a net sheet count: the first band in code order whose
// inclusive limits hold the (unrounded) count; nullptr when none does.
const WasteBand* findWasteBand(const std::vector<WasteBand>& bands, double netSheets);

// What the sheet count of a job depends on besides its quantity.
struct SheetJob {
    QString unit; // quote unit: "U" units, anything else thousands
    int unitsPerSheet = 1; // UNDPLANO, at least 1
    int colours = 0; // NROCORES
    QString normalFinishing; // ACABNORMAL "S" / "N"
    int passes = 0; // printing passes of the current line
};

// Net sheets of a quantity: quantity (x 1000 unless the unit is "U") over
// the units per sheet, not rounded. The caller guarantees unitsPerSheet >= 1.
double netSheets(double quantity, const QString& unit, int unitsPerSheet);

// The band's finishing waste, then (with colours) its printing waste for the
// number of passes, each as a percentage of the running count; not rounded.
double addWaste(double sheets, const WasteBand& band, const SheetJob& job);

// Sheet count of one quantity: net sheets plus the waste of their band,
// rounded to a whole number (decimal rounding, 10 significant digits).
// Empty when no band holds the net count (the caller keeps its count).
std::optional<double> sheetCount(const std::vector<WasteBand>& bands, const SheetJob& job, double quantity);

// Sheet counts of the three quantities; a quantity whose net count falls in
// no band keeps the count it had. Returns which quantities found a band.
std::array<bool, 3> computeSheetCounts(const std::vector<WasteBand>& bands, const SheetJob& job,
                                       const Triple& quantities, Triple& sheets);

} // namespace kv::quotes
