#include "platform/db/dataset/UpdateApplier.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"
#include "platform/db/dataset/FieldConversion.h"
#include "platform/db/engine/NativeConnection.h"

#include <algorithm>
#include <map>

namespace kv::db {

UpdateApplier::UpdateApplier(const Dataset& dataset, int dataCount, ChangeCache& changes)
    : m_dataset(dataset), m_connection(*dataset.connection()), m_updates(dataset.updateStatements()),
      m_params(dataset.params()), m_dataCount(dataCount), m_changes(changes)
{
}

UpdateApplier::Binder UpdateApplier::makeBinder(const QString& text) const
{
    Binder b{NamedSql(text, m_connection.dialect()), {}};
    for (const QString& name : b.sql.names()) {
        int column = m_dataset.fieldIndex(name);
        bool old = false;
        if (column < 0 && name.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive)) {
            column = m_dataset.fieldIndex(name.mid(4));
            old = true;
        }
        if (column >= m_dataCount)
            column = -1;
        if (column < 0 && !m_params.contains(name))
            throw DbError(DbError::Kind::Statement,
                          QStringLiteral("O parâmetro «%1» da instrução de actualização de «%2» não "
                                         "corresponde a nenhum campo.")
                              .arg(name, m_dataset.name()),
                          text);
        b.sources.emplace_back(column, old);
    }
    return b;
}

std::vector<int> UpdateApplier::tableFieldIndexes() const
{
    std::vector<int> out;
    for (int c = 0; c < m_dataCount; ++c)
        if (m_updates.tableColumns.isEmpty() || m_updates.tableColumns.contains(fieldAt(c).name, Qt::CaseInsensitive))
            out.push_back(c);
    return out;
}

std::vector<int> UpdateApplier::keyFieldIndexes() const
{
    std::vector<int> out;
    for (const QString& key : m_updates.keyColumns) {
        const int c = m_dataset.fieldIndex(key);
        if (c < 0 || c >= m_dataCount)
            throw DbError(DbError::Kind::Statement,
                          QStringLiteral("O conjunto de dados «%1» não tem o campo «%2» da chave da tabela %3.")
                              .arg(m_dataset.name(), key, m_updates.table));
        out.push_back(c);
    }
    if (out.empty())
        throw DbError(DbError::Kind::Statement,
                      QStringLiteral("A tabela %1 não tem chave: o conjunto de dados «%2» não pode gravar "
                                     "alterações.")
                          .arg(m_updates.table, m_dataset.name()));
    return out;
}

// The table's columns whose value in the cache differs from the value read.
std::vector<int> UpdateApplier::changedColumns(RowId id) const
{
    std::vector<int> out;
    const ChangeCache::Entry& entry = m_changes.at(id);
    for (int c : tableFieldIndexes())
        if (!FieldConversion::same(entry.current[std::size_t(c)], m_changes.oldValue(id, c)))
            out.push_back(c);
    return out;
}

// "The column still holds the value read", NULL included, compared
// exactly: letter case counts, and a date compares as a moment whatever
// text SQLite keeps it as.
QString UpdateApplier::stillHolds(int column, const QString& param) const
{
    const Dialect dialect = m_connection.dialect();
    const QString name = sql::identifier(dialect, fieldAt(column).name);
    const FieldType type = fieldAt(column).type;
    if (dialect == Dialect::Sqlite) {
        if (type == FieldType::DateTime)
            return QStringLiteral("julianday(%1) IS julianday(%2)").arg(name, param);
        if (type == FieldType::Text || type == FieldType::Memo)
            return QStringLiteral("%1 IS %2 COLLATE BINARY").arg(name, param);
        return QStringLiteral("%1 IS %2").arg(name, param);
    }
    if (type == FieldType::Text || type == FieldType::Memo)
        return QStringLiteral("(%1 COLLATE \"C\") IS NOT DISTINCT FROM %2").arg(name, param);
    return QStringLiteral("%1 IS NOT DISTINCT FROM %2").arg(name, param);
}

UpdateApplier::Binder UpdateApplier::tableStatement(UpdateKind kind, const std::vector<int>& changed) const
{
    const Dialect dialect = m_connection.dialect();
    Binder b;
    auto name = [&](int c) { return sql::identifier(dialect, fieldAt(c).name); };
    auto param = [&](int c, bool old) {
        b.sources.emplace_back(c, old);
        return QStringLiteral(":V%1").arg(b.sources.size());
    };
    const QString table = sql::identifier(dialect, m_updates.table);
    QString text;
    if (kind == UpdateKind::Inserted) {
        QStringList columns, values;
        for (int c : tableFieldIndexes()) {
            columns << name(c);
            values << param(c, false);
        }
        text = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                   .arg(table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
    } else {
        // Parameters are numbered in the order they appear in the text.
        QStringList sets;
        for (int c : changed)
            sets << name(c) + QStringLiteral(" = ") + param(c, false);
        QStringList conditions;
        const std::vector<int> key = keyFieldIndexes();
        for (int c : key)
            conditions << name(c) + QStringLiteral(" = ") + param(c, true);
        for (int c : changed)
            if (std::find(key.begin(), key.end(), c) == key.end())
                conditions << stillHolds(c, param(c, true));
        const QString where = conditions.join(QStringLiteral(" AND "));
        text = kind == UpdateKind::Modified
                   ? QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table, sets.join(QStringLiteral(", ")), where)
                   : QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, where);
    }
    b.sql = NamedSql(text, dialect);
    return b;
}

// The table's row of a record, found by its key as read; empty when gone.
std::optional<std::vector<QVariant>> UpdateApplier::readRow(RowId id) const
{
    const Dialect dialect = m_connection.dialect();
    const std::vector<int> columns = tableFieldIndexes();
    QStringList names;
    for (int c : columns)
        names << sql::identifier(dialect, fieldAt(c).name);
    QStringList conditions;
    Params keyValues;
    int n = 0;
    for (int c : keyFieldIndexes()) {
        const QString param = QStringLiteral("K%1").arg(++n);
        conditions << QStringLiteral("%1 = :%2").arg(sql::identifier(dialect, fieldAt(c).name), param);
        keyValues.set(param, m_changes.oldValue(id, c));
    }
    const QueryResult result =
        m_connection.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                               .arg(names.join(QStringLiteral(", ")), sql::identifier(dialect, m_updates.table),
                                    conditions.join(QStringLiteral(" AND "))),
                           keyValues);
    if (result.rows.empty())
        return std::nullopt;
    std::vector<QVariant> row = m_changes.values(id);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int c = columns[i];
        try {
            row[std::size_t(c)] = FieldConversion::convert(fieldAt(c), result.rows.front()[i]);
        } catch (const DbError&) {
            row[std::size_t(c)] = FieldConversion::nullOf(fieldAt(c).type);
        }
    }
    return row;
}

// The record's row as another user left it, with this user's changes
// over it: what a retry after a conflict writes.
bool UpdateApplier::rereadRow(RowId id)
{
    const auto fresh = readRow(id);
    if (!fresh)
        return false; // gone: the retry reports it
    const std::vector<int> mine = changedColumns(id);
    std::vector<QVariant> read;
    for (int c = 0; c < m_dataCount; ++c)
        read.push_back(m_changes.oldValue(id, c));
    ChangeCache::Entry& entry = m_changes.at(id);
    for (int c : tableFieldIndexes()) {
        read[std::size_t(c)] = (*fresh)[std::size_t(c)];
        if (std::find(mine.begin(), mine.end(), c) == mine.end())
            entry.current[std::size_t(c)] = (*fresh)[std::size_t(c)];
    }
    entry.old = std::move(read);
    entry.source = ChangeCache::OldSource::Own;
    return true;
}

void UpdateApplier::bindValues(const Binder& b, RowId id, std::vector<QVariant>& values) const
{
    values.clear();
    // Every row with a pending change has its entry: one lookup per record.
    const ChangeCache::Entry* entry = m_changes.find(id);
    for (std::size_t i = 0; i < b.sources.size(); ++i) {
        const auto [column, old] = b.sources[i];
        if (column < 0)
            values.push_back(m_params.value(b.sql.names()[qsizetype(i)]));
        else if (!entry)
            values.push_back(m_changes.storedValue(id, column));
        else if (!old)
            values.push_back(entry->current[std::size_t(column)]);
        else if (entry->source == ChangeCache::OldSource::Own)
            values.push_back(entry->old[std::size_t(column)]);
        else if (entry->source == ChangeCache::OldSource::Null || id < 0)
            values.push_back(FieldConversion::nullOf(fieldAt(column).type));
        else
            values.push_back(m_changes.storedValue(id, column));
    }
}

std::vector<bool> UpdateApplier::apply(const ErrorHandler& onError, const std::function<void(RowId)>& rowReread)
{
    const std::vector<RowId>& log = m_changes.log();
    std::vector<bool> skipped(log.size(), false);
    // Statements are prepared once per apply, and only for kinds that occur.
    std::optional<Binder> binders[3];
    std::unique_ptr<NativeStatement> statements[3];
    auto statementFor = [&](UpdateKind kind) -> std::pair<Binder*, NativeStatement*> {
        const int k = int(kind);
        if (!statements[k]) {
            if (m_updates.writesTable()) {
                binders[k] = tableStatement(kind, {});
                statements[k] = m_connection.native().prepare(binders[k]->sql);
                return {&*binders[k], statements[k].get()};
            }
            const QString& text = kind == UpdateKind::Inserted   ? m_updates.insertSql
                                  : kind == UpdateKind::Modified ? m_updates.modifySql
                                                                 : m_updates.deleteSql;
            if (text.trimmed().isEmpty())
                throw DbError(DbError::Kind::State,
                              QStringLiteral("O conjunto de dados «%1» não tem instrução para %2 registos.")
                                  .arg(m_dataset.name(), kind == UpdateKind::Inserted   ? QStringLiteral("inserir")
                                                         : kind == UpdateKind::Modified ? QStringLiteral("alterar")
                                                                                        : QStringLiteral("eliminar")));
            binders[k] = makeBinder(text);
            statements[k] = m_connection.native().prepare(binders[k]->sql);
        }
        return {&*binders[k], statements[k].get()};
    };
    // A changed row's statement sets only its changed columns: one per set of columns.
    std::map<std::vector<int>, std::pair<Binder, std::unique_ptr<NativeStatement>>> modifies;
    std::vector<QVariant> values;
    auto applyOne = [&](RowId id) {
        const ChangeCache::Entry& entry = m_changes.at(id);
        Binder* binder = nullptr;
        NativeStatement* statement = nullptr;
        const bool ownModify = m_updates.writesTable() && entry.kind == UpdateKind::Modified;
        if (ownModify) {
            const std::vector<int> columns = changedColumns(id);
            if (columns.empty())
                return; // only fields outside the table changed
            auto& [b, s] = modifies[columns];
            if (!s) {
                b = tableStatement(UpdateKind::Modified, columns);
                s = m_connection.native().prepare(b.sql);
            }
            binder = &b;
            statement = s.get();
        } else {
            std::tie(binder, statement) = statementFor(entry.kind);
        }
        bindValues(*binder, id, values);
        const long long changed = statement->execute(values);
        if (changed == 0 && entry.kind != UpdateKind::Inserted) {
            if (ownModify && readRow(id))
                throw DbError(DbError::Kind::Changed, QStringLiteral("O registo foi alterado por outro utilizador."));
            throw DbError(DbError::Kind::NotFound,
                          QStringLiteral("O registo já não existe na base de dados como foi lido: outro "
                                         "utilizador alterou-o ou eliminou-o."));
        }
    };
    // PostgreSQL aborts the whole transaction on an error, so after a first
    // failure the apply starts over with a savepoint around each record.
    const bool needsSavepoints = m_connection.dialect() == Dialect::Postgres;
    bool guarded = false;
    for (;;) {
        Transaction transaction(m_connection);
        try {
            for (std::size_t i = 0; i < log.size(); ++i) {
                const RowId id = log[i];
                for (;;) {
                    std::optional<Transaction> record;
                    if (guarded)
                        record.emplace(m_connection);
                    try {
                        applyOne(id);
                        if (record)
                            record->commit();
                        break;
                    } catch (const DbError& error) {
                        if (needsSavepoints && !guarded && onError)
                            throw; // start over, guarded
                        if (record)
                            record->rollback();
                        if (!onError)
                            throw;
                        const UpdateAction action = onError(id, error, m_changes.at(id).kind);
                        if (action == UpdateAction::Retry) {
                            if (error.kind() == DbError::Kind::Changed && rereadRow(id))
                                rowReread(id);
                            continue;
                        }
                        if (action == UpdateAction::Skip) {
                            skipped[i] = true;
                            break;
                        }
                        throw;
                    }
                }
            }
            transaction.commit();
            return skipped;
        } catch (const DbError&) {
            if (needsSavepoints && !guarded && onError) {
                transaction.rollback();
                guarded = true;
                std::fill(skipped.begin(), skipped.end(), false);
                continue;
            }
            throw;
        }
    }
}

} // namespace kv::db
