#pragma once

#include "quotes/core/CostLine.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/Vocabulary.h"

#include <QString>

namespace kv::quotes {

// Values and consumptions of a cost line for the three quantities, before
// rounding. In every formula `rate` is kilograms per square metre (the
// table's grams / 1000), `area` the sheet area in m², `price` the line's unit
// price and `running` the sub-quote's value so far, per quantity.
struct LineValues {
    Triple value{};
    Triple consumption{};
};

// Boards and papers: by weight (sheets x area x rate) or, with TIPOCALC "2", per sheet.
LineValues boardValues(const QString& calculation, double rate, double price, double area, const Triple& sheets);
// Inks: the printed surface's share of the sheet area.
LineValues inkValues(double surfacePercent, double rate, double price, double area, const Triple& sheets);
// Varnishes and laminating film: sheets x area x rate.
LineValues areaWeightValues(double rate, double price, double area, const Triple& sheets);
// Glues by their rule "1" to "4"; rules "2" and "3" go by the quantity
// (in thousands, or divided by 1000 for a quote in units).
LineValues glueValues(const GlueRow& glue, double rate, double price, double area, const Triple& sheets,
                      const Triple& quantities, const QString& unit);
// Window PVC: window weight x quantity.
LineValues pvcValues(double windowWeight, double price, const Triple& quantities);
// Whether a finish priced per unit or per thousand is converted to the
// quote's unit (the worksheet), or its price taken per unit of the quantity
// as it stands (an approval).
enum class FinishUnits { Converted, AsQuoted };

// Finishes: the fixed cost per unit or thousand, or a percentage of the
// value so far.
LineValues finishValues(const FinishRow& finish, double price, double percentage, const Triple& quantities,
                        const QString& unit, const Triple& running, FinishUnits units = FinishUnits::Converted);
// Cutting operations: per sheet, or per thousand sheets when the
// operation's unit is "M".
LineValues cuttingValues(const CuttingRow& cutting, double price, const Triple& sheets);
// Fixed costs: the price once per quoted quantity.
LineValues fixedCostValues(double price, const Triple& sheets);
// Class of a fixed cost: the last of MATPRIMA, EMBALAGEM, MAOOBRA, PRODSUBSID
// that is "S"; None when none is.
CostClass fixedCostClass(const FixedCostRow& fixedCost);
// Subcontracts by their unit; `unknownUnit` tells that the unit is none of
// the five and the line was priced as one job.
LineValues subcontractValues(const SubcontractRow& subcontract, double price, double area, const Triple& sheets,
                             const Triple& quantities, const QString& unit, bool& unknownUnit);
// Transport: price per km x km, or a percentage of the value so far.
LineValues transportValues(double price, double percentage, double kilometres, const Triple& sheets,
                           const Triple& running);

} // namespace kv::quotes
