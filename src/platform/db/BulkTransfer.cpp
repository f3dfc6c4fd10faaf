#include "platform/db/BulkTransfer.h"

#include "platform/db/Connection.h"
#include "platform/db/NamedSql.h"
#include "platform/db/engine/NativeConnection.h"

#include <QStringList>
#include <algorithm>

namespace kv::db {

namespace {

// Both engines take at least this many parameters in one statement (SQLite's
// oldest limit).
constexpr int MaxParameters = 999;

NamedSql batchInsert(const QString& table, const QStringList& columns, int rows, Dialect dialect)
{
    QStringList tuples;
    tuples.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QStringList markers;
        for (int c = 0; c < columns.size(); ++c)
            markers << QStringLiteral(":P%1_%2").arg(r).arg(c);
        tuples << QLatin1Char('(') + markers.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return NamedSql(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                        .arg(table, columns.join(QStringLiteral(", ")), tuples.join(QLatin1Char(','))),
                    dialect);
}

} // namespace

void prepareWorkTable(Connection& connection, const QString& table, const std::vector<WorkColumn>& columns)
{
    QStringList parts;
    for (const WorkColumn& c : columns)
        parts << c.name + QLatin1Char(' ') + sql::columnType(connection.dialect(), c.type, c.size);
    connection.exec(
        QStringLiteral("CREATE TEMPORARY TABLE IF NOT EXISTS %1 (%2)").arg(table, parts.join(QStringLiteral(", "))));
    connection.exec(QStringLiteral("DELETE FROM %1").arg(table));
}

void insertRows(Connection& target, const QString& table, const QStringList& columns,
                const std::vector<std::vector<QVariant>>& rows)
{
    if (rows.empty())
        return;
    const int width = static_cast<int>(columns.size());
    const int perBatch = std::max(1, MaxParameters / width);
    const auto total = static_cast<long long>(rows.size());
    NativeConnection& native = target.native();
    native.finishReaders();
    std::unique_ptr<NativeStatement> full;
    std::vector<QVariant> values;
    values.reserve(static_cast<std::size_t>(perBatch) * width);
    for (long long start = 0; start < total; start += perBatch) {
        const int count = static_cast<int>(std::min<long long>(perBatch, total - start));
        values.clear();
        for (int r = 0; r < count; ++r)
            for (const QVariant& v : rows[static_cast<std::size_t>(start + r)])
                values.push_back(v);
        if (count == perBatch) {
            if (!full)
                full = native.prepare(batchInsert(table, columns, perBatch, target.dialect()));
            full->execute(values);
        } else {
            native.prepare(batchInsert(table, columns, count, target.dialect()))->execute(values);
        }
    }
}

long long transferRows(Connection& source, const QString& select, const Params& params, Connection& target,
                       const QString& table)
{
    const QueryResult read = source.query(select, params);
    insertRows(target, table, read.columns, read.rows);
    return static_cast<long long>(read.rows.size());
}

} // namespace kv::db
