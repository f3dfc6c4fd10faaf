#pragma once

#include <QString>
#include <optional>

namespace kv::domain {

// The cost table a procedure line, a quote cost line or a planned
// consumption line points into (`TIPOTABELA`).
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

// The type of a stored code; nothing when the code names no cost table.
std::optional<TableType> tableTypeFromCode(int storedCode);
inline constexpr int typeCode(TableType type) { return static_cast<int>(type); }
// Whether a stored code is this type.
inline constexpr bool isTableType(int storedCode, TableType type) { return storedCode == typeCode(type); }
// Materials and services priced per line: every type from ink to subcontract.
bool isMaterialType(int storedCode);
// The table that a type's lines point into ("MAQUINAS", ..., "CUSTRANSP").
QString tableName(TableType type);

} // namespace kv::domain
