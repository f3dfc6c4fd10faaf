#pragma once

#include <QString>
#include <array>

namespace kv::quotes {

// Cost table of a procedure line, a quote cost line and a planned consumption
// line (`TIPOTABELA`).
enum class TableType : int {
    Machine = 1,
    Ink = 2,
    Varnish = 3,
    Glue = 4,
    LaminatingFilm = 5,
    WindowPvc = 6,
    Finish = 7,
    Board = 8,
    CuttingOperation = 9,
    FixedCost = 10,
    Subcontract = 11,
    Transport = 99,
};

// The type for a stored code; false when the code names no cost table.
bool tableTypeFromCode(int code, TableType& type);
// Table that a type's lines point into ("MAQUINAS", ..., "CUSTRANSP").
QString tableName(TableType type);
// Types whose lines carry the second sheet format as well.
bool usesBothSheetFormats(TableType type);

// Cost class of a cost line (`TIPOCUSTO`); None is the empty class of a fixed
// cost without any class flag, counted in no class column.
enum class CostClass { None, RawMaterial, Labour, Subsidiary, Machines, Packaging, Subcontract, Transport };

inline constexpr std::array<CostClass, 7> kCostClasses = {
    CostClass::RawMaterial, CostClass::Labour, CostClass::Subsidiary, CostClass::Machines,
    CostClass::Packaging, CostClass::Subcontract, CostClass::Transport};

QString costClassCode(CostClass costClass);           // "MP", "MO", "PS", "CM", "EM", "SB", "TR", ""
CostClass costClassFromCode(const QString& code);      // unknown or empty text: None
// The quote row column of a class total for quantity n (1 to 3): "VALMP1",
// ..., "VALSUB3"; empty for None.
QString classTotalColumn(CostClass costClass, int quantity);
// Label of the class on the totals page ("Matéria Prima : ", ...).
QString costClassLabel(CostClass costClass);

// The summary row of a quote and the sub-quotes that carry cost lines.
inline constexpr int kSummarySubQuote = 99;
inline constexpr int kMaxSubQuote = 9;

} // namespace kv::quotes
