#pragma once

#include "platform/db/FieldDef.h"
#include "platform/db/Params.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace kv::db {

class Connection;

// A column of a temporary work table.
struct WorkColumn {
    QString name;
    FieldType type = FieldType::Int32;
    int size = 0; // text only
};

// A table of this connection only, gone when the connection closes: created
// when missing, emptied when present. Text columns take the database's text
// collation, so they join the company's tables without a collation clash.
void prepareWorkTable(Connection& connection, const QString& table, const std::vector<WorkColumn>& columns);

// Moves a keyed set from one database to another (the application's and the
// invoicing database are separate on PostgreSQL, so no statement joins them):
// `select` read once on `source`, its rows inserted into `table` of `target`
// by one prepared multi-row insert, run once per batch of rows. The select's
// column names are the target's. Runs inside the target's transaction when
// one is open. Returns the number of rows moved.
long long transferRows(Connection& source, const QString& select, const Params& params, Connection& target,
                       const QString& table);

// The insert half of a transfer, for rows the caller worked out from the
// read: one prepared multi-row insert of `columns`, run once per batch.
void insertRows(Connection& target, const QString& table, const QStringList& columns,
                const std::vector<std::vector<QVariant>>& rows);

} // namespace kv::db
