#pragma once

#include "domain/CostClass.h"
#include "domain/MachineType.h"
#include "domain/TableType.h"

#include <QString>

namespace kv::quotes {

// The shared business words, under the names the quote calculation uses.
using domain::CostClass;
using domain::costClassCode;
using domain::costClassFromCode;
using domain::finishCostClass;
using domain::isMachineType;
using domain::isMaterialType;
using domain::isTableType;
using domain::kCostClasses;
using domain::MachineType;
using domain::machineTypeFromCode;
using domain::tableName;
using domain::TableType;
using domain::tableTypeFromCode;
using domain::typeCode;

// Types whose lines carry the second sheet format as well.
bool usesBothSheetFormats(TableType type);

// The quote row column of a class total for quantity n (1 to 3): "VALMP1",
// ..., "VALSUB3"; empty for None.
QString classTotalColumn(CostClass costClass, int quantity);
// Label of the class on the totals page ("Matéria Prima : ", ...).
QString costClassLabel(CostClass costClass);

// The summary row of a quote and the sub-quotes that carry cost lines.
inline constexpr int kSummarySubQuote = 99;
inline constexpr int kMaxSubQuote = 9;

} // namespace kv::quotes
