#pragma once

#include <QString>

namespace kv::domain {

// A line of a procedure (`PROCDET`): the cost table row it names and the
// names of the table type and of the row as they were when the line was
// added. The type stays as stored, so that a line of an unknown type still
// reads; `tableTypeFromCode` tells what it is.
struct ProcedureLine {
    int procedure = 0; // CODIGO
    int detail = 0; // DETAIL
    int tableType = 0; // TIPOTABELA
    int tableCode = 0; // CODTAB
    QString tableName; // NOMETABELA
    QString designation; // DESTAB
};

} // namespace kv::domain
