#pragma once

#include "platform/db/Params.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace kv::db {
class Connection;
struct QueryResult;
} // namespace kv::db

namespace kv::production {

// The bulk statements the stock maps share: a map's rows come from two
// databases that share no statement, so the invoicing figures are read for
// all the map's articles at once and the rows are written a batch at a time.

// An article code as the text collation compares it (without regard to case).
QString articleKey(const QString& code);

// The key of a map row read with several key columns (customer and article).
QString stockMapKey(const QStringList& parts);

// Adds the rows of a statement that returns its key columns first and one
// number last to `figures`, under stockMapKey of the key columns.
void addFigures(QHash<QString, double>& figures, const kv::db::QueryResult& rows);

// Runs `sql` over `codes` a batch at a time: "%1" in it is replaced by the
// batch's bound parameters (":BATCHCODE0, ..."), `params` are bound as well. The
// statement returns its key columns first and one number last; the result
// maps each row's key (stockMapKey of the key columns) to the sum of its
// numbers (a key read twice adds up).
QHash<QString, double> figuresByArticle(kv::db::Connection& db, const QString& sql, const QStringList& codes,
                                        const kv::db::Params& params = {});

// Inserts `rows` (values in the order of `columns`) into `table`, many rows
// per statement; the caller holds the transaction.
void insertRowBatches(kv::db::Connection& db, const QString& table, const QStringList& columns,
                      const std::vector<std::vector<QVariant>>& rows);

} // namespace kv::production
