#pragma once

#include "platform/db/Dataset.h"
#include "platform/db/NamedSql.h"
#include "platform/db/dataset/ChangeCache.h"

#include <functional>
#include <optional>
#include <vector>

namespace kv::db {

// Writes a dataset's pending changes through its update statements, or
// through statements written from its table's name, columns and key, in one
// transaction and in the order they were made.
class UpdateApplier {
public:
    // Asked for each record the database refuses (the dataset shows that
    // record meanwhile); empty: the error reaches the caller.
    using ErrorHandler = std::function<UpdateAction(RowId, const DbError&, UpdateKind)>;

    UpdateApplier(const Dataset& dataset, int dataCount, ChangeCache& changes);

    // Writes every logged change. On a refused record the handler decides:
    // Retry applies it again (after a conflict over the row as another user
    // left it, rowReread() told of it), Skip leaves it pending, Abort rolls
    // everything back and throws. Returns the log entries skipped.
    std::vector<bool> apply(const ErrorHandler& onError, const std::function<void(RowId)>& rowReread);

private:
    // The values of a statement's parameters for one record: ":COL" the new
    // value, ":OLD_COL" the value as read, other names from the dataset's parameters.
    struct Binder {
        NamedSql sql;
        std::vector<std::pair<int, bool>> sources; // column (or -1), old value?
    };

    const FieldDef& fieldAt(int column) const { return m_dataset.fieldDef(column); }
    Binder makeBinder(const QString& text) const;
    std::vector<int> tableFieldIndexes() const;
    std::vector<int> keyFieldIndexes() const;
    std::vector<int> changedColumns(RowId id) const;
    QString stillHolds(int column, const QString& param) const;
    Binder tableStatement(UpdateKind kind, const std::vector<int>& changed) const;
    std::optional<std::vector<QVariant>> readRow(RowId id) const;
    bool rereadRow(RowId id);
    void bindValues(const Binder& b, RowId id, std::vector<QVariant>& values) const;

    const Dataset& m_dataset;
    Connection& m_connection;
    const UpdateStatements& m_updates;
    const Params& m_params;
    int m_dataCount;
    ChangeCache& m_changes;
};

} // namespace kv::db
