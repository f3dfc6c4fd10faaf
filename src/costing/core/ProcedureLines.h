#pragma once

#include "costing/core/ListStatement.h"

#include "domain/ProcedureLine.h"
#include "platform/db/Connection.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kv::costing {

// A column of a search list.
struct SearchColumn {
    QString column;
    QString title;
    int width = 0;
};

// How a procedure line names a row of one cost table: the table type, the
// table and its shared dataset, the two search lists and the column copied
// into the line as its designation.
struct TableSearch {
    int type = 0; // TIPOTABELA (a domain::TableType code)
    QString table; // "MAQUINAS"
    QString dataset; // "ZURIVAVEZA.MAQUINAS"
    std::vector<SearchColumn> numeric;
    std::vector<SearchColumn> alphabetic;
    QStringList numericOrder{QStringLiteral("CODIGO")};
    QStringList alphabeticOrder{QStringLiteral("CODIGO")};
    QStringList standardOrder{QStringLiteral("CODIGO")}; // the dataset's statement outside the searches
    QString designation = QStringLiteral("DESIGNACAO");

    // The statement of a search, and the dataset's own statement.
    QString statement(ListOrder order) const;
    QString standardStatement() const;
};

// The twelve cost tables a procedure line can name, in type order.
const std::vector<TableSearch>& tableSearches();
// The search of a table type; nullptr for a type outside the twelve.
const TableSearch* tableSearch(int type);

// What a new line records: the row it names (`tableType`, `tableCode`), and
// the names of the table type and of the row as they are when the line is added.
using domain::ProcedureLine;

// The lines of the current procedure in line order, so that the last line
// read is the highest number.
QString procedureLinesStatement();

// The number a new line of the procedure gets: its highest line number + 1,
// 1 for the first.
int nextLineNumber(kv::db::Connection& application, int procedure);

// Adds a line with the next number, in one transaction; returns its number.
// The names are cut to the width of their columns.
int addProcedureLine(kv::db::Connection& application, int procedure, const ProcedureLine& line);

void deleteProcedureLine(kv::db::Connection& application, int procedure, int detail);

// Deletes a procedure with its lines in one transaction, so that no line is
// left to show under a later procedure of the same number.
void deleteProcedure(kv::db::Connection& application, int procedure);

QString invalidProcedureMessage(int procedure); // "procedimento Inválido c/ o Nº 0"
QString invalidTableTypeMessage(); // "Tipo de Tabela Inválida"
QString tableCodeHint(); // the status text of the table code field
QString tableCodeMessage(); // leaving the table code without a search

} // namespace kv::costing
